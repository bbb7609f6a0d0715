// The main window, wiring its pieces together: the menus, the scene view, the object list, the
// frame bar and the selected object's frames, Settings and the module's messages.
#include "host/app/window/main_window.h"

#include <QtCore/QFileInfo>
#include <QtCore/QMimeData>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtGui/QAction>
#include <QtGui/QCloseEvent>
#include <QtGui/QDragEnterEvent>
#include <QtGui/QDropEvent>
#include <QtGui/QKeySequence>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QVBoxLayout>
#include <algorithm>

#include "host/app/window/command_menus.h"
#include "host/app/window/file_loading.h"
#include "host/app/window/file_menu.h"
#include "host/app/window/frame_bar.h"
#include "host/app/window/object_list.h"
#include "host/app/window/play_keys.h"
#include "host/app/window/scene_widget.h"
#include "host/app/window/view_menu.h"
#include "host/app/window/window_settings.h"
#include "model/figure_data.h"
#include "model/motion_table.h"

namespace fighost {
namespace {

// The object's figure's frames: the last one a pose can show, 0 when it has no motion to play.
int lastFrameOf(ModuleSession* session, int handle) {
    const FigureData* figure = handle != host::kNoObject ? session->figure(handle) : nullptr;
    if (figure == nullptr || figure->motion == nullptr)
        return 0;
    return std::min(static_cast<int>(figure->motion->frameCount) - 1, kLastFrame);
}

}  // namespace

MainWindow::MainWindow(ModuleSession* session, int style) : session_(session), style_(style) {
    setWindowTitle(QStringLiteral("fighost[*]"));
    fileMenu_ = new FileMenu(this, session);
    commandMenus_ = new CommandMenus(this, session);
    chooser_ = [this](const QString& caption, const QString& filter) {
        // The folder last opened from or saved to in this window, else the one kept from before.
        QString start = fileMenu_->lastFolder().isEmpty() ? folder_ : fileMenu_->lastFolder();
        QString path = QFileDialog::getOpenFileName(this, caption, start, filter);
        if (!path.isEmpty())
            folder_ = QFileInfo(path).absolutePath();
        return path;
    };
    filesChooser_ = [this](const QString& caption, const QString& filter) {
        QString start = fileMenu_->lastFolder().isEmpty() ? folder_ : fileMenu_->lastFolder();
        QStringList paths = QFileDialog::getOpenFileNames(this, caption, start, filter);
        if (!paths.isEmpty())
            folder_ = QFileInfo(paths.last()).absolutePath();
        return paths;
    };
    messages_ = new WindowMessages(this, statusBar(), [this] { setPlaying(false); });
    view_ = new SceneWidget(session);
    view_->setObjectName(QStringLiteral("sceneView"));
    view_->setFrameSource([this](int handle) { return frameOf(handle); });
    view_->setPicked([this](int handle) { selectObject(handle); });
    objects_ = new ObjectList(
        this, session, [this](int handle) { return fileMenu_->changed(handle); },
        [this] { selectionChanged(); });
    splitter_ = new QSplitter;
    splitter_->addWidget(objects_->list());
    splitter_->addWidget(view_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({220, 800});
    setCentralWidget(splitter_);
    fitToScreen(this);
    statusBar()->addPermanentWidget(objects_->statusLabel());
    buildMenus();
    buildPlayMenu();
    buildFrameControls();
    buildStartHint();
    setAcceptDrops(true);
    standin::setRedrawListener(&MainWindow::onRedraw, this);
    standin::setErrorListener(&MainWindow::onError, this);
    // The window says the module's messages on stderr itself, with the file they are about.
    standin::setEchoErrors(false);
    refresh();
}

MainWindow::~MainWindow() {
    standin::setRedrawListener(nullptr, nullptr);
    standin::setErrorListener(nullptr, nullptr);
    standin::setEchoErrors(true);
}

void MainWindow::buildMenus() {
    fileMenu_->addTo(menuBar());
    buildEditMenu();
    commandMenus_->addTo(menuBar());

    QMenu* object = menuBar()->addMenu(QStringLiteral("Object"));
    QAction* settings =
        object->addAction(QStringLiteral("Settings…"), this, [this] { openSettings(); });
    settings->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    QAction* remove =
        object->addAction(QStringLiteral("Delete"), this, [this] { deleteSelected(); });
    remove->setShortcut(QKeySequence::Delete);

    posingItem_ = addViewMenu(menuBar(), view_, [this](bool on) {
        setPosingOfSelected(on ? kPosingCaptured : kPosingWorldAxes);
    });
    showPosing();
}

void MainWindow::setPosing(int posing) {
    posing_ = posing;
    showPosing();
}

void MainWindow::setPosingOfSelected(int posing) {
    setPosing(posing);
    if (remembers_)
        keepPosing(posing);
    const int handle = selectedObject();
    FigureData* figure = handle != host::kNoObject ? session_->figure(handle) : nullptr;
    if (figure == nullptr)
        return;
    if (figure->posing == posing)
        return;
    recordChange(QStringLiteral("Posing of %1"), handle, [this, handle, figure, posing] {
        figure->posing = posing;
        // The rest pose is the same in both posings; any other frame is drawn again.
        if (frameOf(handle) > 0)
            session_->pose(handle, frameOf(handle));
    });
    showPosing();
    view_->update();
}

void MainWindow::showPosing() {
    const int handle = selectedObject();
    const FigureData* figure = handle != host::kNoObject ? session_->figure(handle) : nullptr;
    posingItem_->setChecked((figure != nullptr ? figure->posing : posing_) == kPosingCaptured);
}

void MainWindow::buildPlayMenu() {
    Player player;
    player.playing = [this] { return frameBar_->playing(); };
    player.setPlaying = [this](bool on) { setPlaying(on); };
    player.frame = [this] { return frame_; };
    player.showFrame = [this](int frame) { showFrame(frame); };
    addPlayMenu(menuBar(), player);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
}

void MainWindow::dropEvent(QDropEvent* event) {
    // Each file is loaded as its name says, as files named on the command line are.
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            loadFile(url.toLocalFile());
    event->acceptProposedAction();
}

void MainWindow::rememberSettings() {
    remembers_ = true;
    folder_ = restoreWindow(this, splitter_);
    // The files opened before (from the command line) come first, then those kept from before.
    QStringList recent = fileMenu_->recentFiles();
    for (const QString& kept : keptRecentFiles())
        if (!recent.contains(kept))
            recent << kept;
    fileMenu_->setRecentFiles(recent);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    setPlaying(false);
    // Changed figures are saved or discarded as the person answers, or the window stays.
    refresh();
    if (!fileMenu_->settle(fileMenu_->changedObjects())) {
        event->ignore();
        return;
    }
    if (remembers_) {
        // The folder of the last file opened or saved through the File menu, else the last
        // one a Load command chose from.
        saveWindow(this, splitter_,
                   fileMenu_->lastFolder().isEmpty() ? folder_ : fileMenu_->lastFolder());
        keepRecentFiles(fileMenu_->recentFiles());
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::buildFrameControls() {
    FrameBar::Handlers handlers;
    handlers.frameChosen = [this](int frame) { showFrame(frame); };
    handlers.playChosen = [this](bool on) { setPlaying(on); };
    handlers.speedChosen = [this](double speed) { setSpeed(speed); };
    handlers.tick = [this] { nextFrame(); };
    // Return ends the typing: the view takes the keys again, so that Space plays.
    handlers.typingFinished = [this] { view_->setFocus(Qt::OtherFocusReason); };
    auto* bar = frameBar_ = new FrameBar(std::move(handlers));
    addToolBar(Qt::BottomToolBarArea, bar);
    QAction* settings = bar->addAction(QStringLiteral("Settings…"));
    connect(settings, &QAction::triggered, this, [this] { openSettings(); });
}

int MainWindow::selectedObject() const {
    return objects_->selected();
}

void MainWindow::selectObject(int handle) {
    objects_->select(handle);
}

void MainWindow::refreshObjectList() {
    if (objects_->update())
        selectionChanged();
}

void MainWindow::setFileChooser(FileChooser chooser) {
    chooser_ = std::move(chooser);
    filesChooser_ = [this](const QString& caption, const QString& filter) {
        QString path = chooser_(caption, filter);
        return path.isEmpty() ? QStringList() : QStringList{path};
    };
}

void MainWindow::buildStartHint() {
    startHint_ = new QLabel(
        QStringLiteral("Open a .fig or .bvh file with File > Open… (Ctrl+O) or drop one here,\n"
                       "or make a figure with Build > Figure builder."),
        view_);
    startHint_->setObjectName(QStringLiteral("startHint"));
    startHint_->setAlignment(Qt::AlignCenter);
    startHint_->setWordWrap(true);
    // The view beneath still takes the clicks and the files dropped.
    startHint_->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(view_);
    // The words do not make the view any larger than it would be.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(startHint_, 0, Qt::AlignCenter);
}

void MainWindow::updateStartHint() {
    if (startHint_ != nullptr)
        startHint_->setVisible(objects_->empty());
}

void MainWindow::refresh() {
    fileMenu_->recheck();
    refreshObjectList();
    updateStartHint();
    setWindowModified(!fileMenu_->changedObjects().empty());
    countFigure();
    updateStatus();
    view_->update();
}

void MainWindow::selectionChanged() {
    setPlaying(false);
    const int handle = selectedObject();
    view_->setSelected(handle);
    int last = lastFrameOf(session_, handle);
    frame_ = std::min(frameOf(handle), std::max(last, 0));
    frameBar_->setFrames(last, frame_);
    showPosing();
    countFigure();
    updateStatus();
}

void MainWindow::countFigure() {
    auto file = files_.find(selectedObject());
    objects_->describe(file != files_.end() ? &file->second : nullptr);
}

int MainWindow::frameOf(int handle) const {
    auto found = frames_.find(handle);
    return found != frames_.end() ? found->second : 0;
}

double MainWindow::frameTimeOf(int handle) const {
    auto file = files_.find(handle);
    return file != files_.end() && file->second.frameTime > 0 ? file->second.frameTime
                                                              : kDefaultFrameTime;
}

void MainWindow::updateStatus() {
    const double seconds = frame_ * frameTimeOf(selectedObject());
    frameBar_->showTime(seconds);
    objects_->showFrame(frame_);
}

void MainWindow::tell(const QString& message) {
    messages_->tell(message);
}

void MainWindow::report(const QString& message) {
    messages_->report(message);
}

int MainWindow::loadFile(const QString& path, const std::string& entry) {
    const LoadedFile loaded = loadWindowFile(session_, path, entry, style_, posing_, messages_);
    const int handle = loaded.handle;
    if (handle == host::kNoObject) {
        refresh();
        return host::kNoObject;
    }
    files_[handle] = loaded.facts;
    fileMenu_->loaded(handle, loaded.opened, loaded.saveable, loaded.facts);
    refresh();
    selectObject(handle);
    // A figure with motion opens at its first frame, so the frame bar, the status and the picture
    // agree from the start (the module cannot go back to the rest pose once posed).
    showFrame(1);
    countFigure();
    updateStatus();
    view_->fitScene();
    return handle;
}

void MainWindow::runCommand(size_t row) {
    commandMenus_->run(row);
}

void MainWindow::openSettings() {
    setPlaying(false);
    const int handle = selectedObject();
    recordChange(QStringLiteral("Settings of %1"), handle, [this, handle] {
        session_->send(session_->objectEntryName(), kMessageSettings, handle, 0);
        // What the sheet changed (limbs, the style) shows at the frame the object was at,
        // clamped to the frames its motion now holds.
        const int last = lastFrameOf(session_, handle);
        if (handle != host::kNoObject && session_->figure(handle) != nullptr &&
            frameOf(handle) > 0 && last >= 1)
            session_->pose(handle, frames_[handle] = std::min(frameOf(handle), last));
    });
    refresh();
    selectionChanged();
}

void MainWindow::deleteSelected() {
    setPlaying(false);
    fileMenu_->deleteObject(selectedObject());
}

void MainWindow::discardObject(int handle, const QString& what) {
    if (handle == host::kNoObject)
        return;
    setPlaying(false);
    recordChange(what + QStringLiteral(" %1"), handle,
                 [this, handle] { session_->discard(handle); });
    refresh();
}

void MainWindow::showFrame(int frame) {
    int handle = selectedObject();
    int last = lastFrameOf(session_, handle);
    frame = std::min(frame, last);
    if (handle == host::kNoObject || frame < 1)
        return;
    frame_ = frame;
    frames_[handle] = frame;
    // The controls follow without sending the frame again.
    frameBar_->showFrame(frame);
    // The module redraws the object as it poses it; that changes nothing but the picture.
    posingFrame_ = true;
    session_->pose(handle, frame);
    posingFrame_ = false;
    updateStatus();
    view_->update();
}

void MainWindow::setPlaying(bool playing) {
    playing = playing && lastFrameOf(session_, selectedObject()) >= 1;
    if (playing)
        frameBar_->startPlaying(std::max(frame_, 1), frameTimeOf(selectedObject()));
    else
        frameBar_->stopPlaying();
    view_->setPlaying(playing);
    frameBar_->showPlaying(playing);
}

void MainWindow::setTimeSource(TimeSource source) {
    frameBar_->setTimeSource(std::move(source));
}

void MainWindow::setSpeed(double speed) {
    frameBar_->setSpeed(speed);
}

void MainWindow::nextFrame() {
    int last = lastFrameOf(session_, selectedObject());
    if (last < 1) {
        setPlaying(false);
        return;
    }
    // The frame due now; those due while the last one was drawn are passed over.
    const int due = frameBar_->frameDue(last);
    if (due != frame_)
        showFrame(due);
}

void MainWindow::onRedraw(void* context) {
    // The module is still drawing: the list and status follow once it has returned.
    auto* window = static_cast<MainWindow*>(context);
    window->view_->update();
    if (window->posingFrame_)
        return;
    QTimer::singleShot(0, window, [window] { window->refresh(); });
}

void MainWindow::onError(const std::string& text, void* context) {
    static_cast<MainWindow*>(context)->report(QString::fromStdString(text));
}

}  // namespace fighost
