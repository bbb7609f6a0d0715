#include "host/app/main_window.h"

#include <QtCore/QSignalBlocker>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtGui/QCloseEvent>
#include <QtGui/QKeySequence>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QSlider>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QStyle>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>
#include <algorithm>
#include <cstdio>

#include "host/app/figure_loading.h"
#include "host/app/figure_summary.h"
#include "host/app/file_menu.h"
#include "host/app/scene_widget.h"
#include "model/figure_data.h"
#include "model/motion_table.h"
#include "toolkit/file_filter.h"

namespace fighost {
namespace {

// Frames are played at this rate.
constexpr int kFramesPerSecond = 30;
// How long a message of the module stays in the status bar, in milliseconds.
constexpr int kMessageTime = 20000;

// The object's figure's frames: the last one a pose can show, 0 when it has no motion to play.
int lastFrameOf(ModuleSession* session, int handle) {
    const FigureData* figure = handle != host::kNoObject ? session->figure(handle) : nullptr;
    if (figure == nullptr || figure->motion == nullptr)
        return 0;
    return std::min(static_cast<int>(figure->motion->frameCount) - 1, kLastFrame);
}

}  // namespace

QString categoryTitle(const std::string& category) {
    static const std::pair<const char*, const char*> kWords[] = {
        {"BUILD", "Build"}, {"UTIL", "Utilities"}, {"LOAD", "Load"}, {"SAVE", "Save"}};
    for (const auto& word : kWords)
        if (category == word.first)
            return QString::fromLatin1(word.second);
    QString title = QString::fromStdString(category).toLower();
    if (!title.isEmpty())
        title[0] = title[0].toUpper();
    return title;
}

QString dialogFilter(const std::string& moduleFilter) {
    QStringList lines;
    for (const toolkit::FileFilter& filter : toolkit::parseFileFilters(moduleFilter.c_str()))
        lines << QString::fromStdString(toolkit::nameFilter(filter));
    lines << QStringLiteral("All files (*)");
    return lines.join(QStringLiteral(";;"));
}

MainWindow::MainWindow(ModuleSession* session, int style) : session_(session), style_(style) {
    setWindowTitle(QStringLiteral("fighost[*]"));
    fileMenu_ = new FileMenu(this, session);
    chooser_ = [this](const QString& caption, const QString& filter) {
        return QFileDialog::getOpenFileName(this, caption, fileMenu_->lastFolder(), filter);
    };
    shower_ = [](QWidget* parent, const QString& text) {
        QMessageBox::warning(parent, QStringLiteral("fighost"), text);
    };
    view_ = new SceneWidget(session);
    view_->setObjectName(QStringLiteral("sceneView"));
    objects_ = new QListWidget;
    objects_->setObjectName(QStringLiteral("objects"));
    auto* splitter = new QSplitter;
    splitter->addWidget(objects_);
    splitter->addWidget(view_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 800});
    setCentralWidget(splitter);
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("objectStatus"));
    statusBar()->addPermanentWidget(status_);
    player_ = new QTimer(this);
    player_->setInterval(1000 / kFramesPerSecond);
    connect(player_, &QTimer::timeout, this, [this] { nextFrame(); });
    connect(objects_, &QListWidget::currentRowChanged, this, [this] { selectionChanged(); });
    buildMenus();
    buildFrameControls();
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

void MainWindow::closeEvent(QCloseEvent* event) {
    setPlaying(false);
    if (fileMenu_->settle(fileMenu_->changedObjects()))
        event->accept();
    else
        event->ignore();
}

void MainWindow::buildMenus() {
    fileMenu_->addTo(menuBar());
    const std::vector<standin::Command>& commands = standin::scene().commands;
    std::vector<std::pair<std::string, QMenu*>> menus;
    for (size_t row = 0; row < commands.size(); ++row) {
        const standin::Command& command = commands[row];
        auto found = std::find_if(menus.begin(), menus.end(),
                                  [&](const auto& menu) { return menu.first == command.category; });
        QMenu* menu = found != menus.end() ? found->second : nullptr;
        if (menu == nullptr) {
            menu = menuBar()->addMenu(categoryTitle(command.category));
            menus.emplace_back(command.category, menu);
        }
        QString label = QString::fromStdString(command.label);
        if (command.category == "LOAD")
            label += QStringLiteral("…");
        QAction* action = menu->addAction(label);
        action->setData(static_cast<qulonglong>(row));
        connect(action, &QAction::triggered, this, [this, row] { runCommand(row); });
    }

    QMenu* object = menuBar()->addMenu(QStringLiteral("Object"));
    QAction* settings =
        object->addAction(QStringLiteral("Settings…"), this, [this] { openSettings(); });
    settings->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    QAction* remove =
        object->addAction(QStringLiteral("Delete"), this, [this] { deleteSelected(); });
    remove->setShortcut(QKeySequence::Delete);

    QMenu* view = menuBar()->addMenu(QStringLiteral("View"));
    const std::pair<const char*, View> kViews[] = {
        {"Front", View::kFront}, {"Side", View::kSide}, {"Top", View::kTop}, {"Iso", View::kIso}};
    int key = 1;
    for (const auto& entry : kViews) {
        View chosen = entry.second;
        view->addAction(QString::fromLatin1(entry.first), this,
                        [this, chosen] { view_->setView(chosen); })
            ->setShortcut(QKeySequence(QStringLiteral("Ctrl+%1").arg(key++)));
    }
    view->addAction(QStringLiteral("Fit"), this, [this] { view_->fitScene(); })
        ->setShortcut(QKeySequence(QStringLiteral("F")));
}

void MainWindow::buildFrameControls() {
    auto* bar = new QToolBar(QStringLiteral("Frames"));
    bar->setObjectName(QStringLiteral("frameControls"));
    bar->setMovable(false);
    play_ = new QToolButton;
    play_->setObjectName(QStringLiteral("play"));
    play_->setCheckable(true);
    play_->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    play_->setToolTip(QStringLiteral("Play or pause at 30 frames a second"));
    connect(play_, &QToolButton::toggled, this, [this](bool on) { setPlaying(on); });
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setObjectName(QStringLiteral("frameSlider"));
    frameNumber_ = new QSpinBox;
    frameNumber_->setObjectName(QStringLiteral("frameNumber"));
    lastFrameLabel_ = new QLabel;
    connect(slider_, &QSlider::valueChanged, this, [this](int frame) { showFrame(frame); });
    connect(frameNumber_, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int frame) { showFrame(frame); });
    bar->addWidget(play_);
    bar->addWidget(new QLabel(QStringLiteral(" Frame ")));
    bar->addWidget(frameNumber_);
    bar->addWidget(lastFrameLabel_);
    bar->addWidget(slider_);
    addToolBar(Qt::BottomToolBarArea, bar);
    QAction* settings = bar->addAction(QStringLiteral("Settings…"));
    connect(settings, &QAction::triggered, this, [this] { openSettings(); });
}

int MainWindow::selectedObject() const {
    QListWidgetItem* item = objects_->currentItem();
    return item != nullptr ? item->data(Qt::UserRole).toInt() : host::kNoObject;
}

void MainWindow::selectObject(int handle) {
    for (int row = 0; row < objects_->count(); ++row)
        if (objects_->item(row)->data(Qt::UserRole).toInt() == handle)
            objects_->setCurrentRow(row);
}

void MainWindow::refreshObjectList() {
    std::vector<std::pair<int, QString>> live;
    for (const standin::SceneObject& object : standin::scene().objects) {
        if (session_->deleted(object.handle))
            continue;
        QString text = QString::fromStdString(object.name.empty() ? "(unnamed)" : object.name);
        if (fileMenu_->changed(object.handle))
            text += QStringLiteral(" *");
        if (!object.boundLabel.empty())
            text += QStringLiteral("  —  ") + QString::fromStdString(object.boundLabel);
        live.emplace_back(object.handle, text);
    }
    bool same = static_cast<int>(live.size()) == objects_->count();
    for (size_t i = 0; same && i < live.size(); ++i) {
        QListWidgetItem* item = objects_->item(static_cast<int>(i));
        same = item->data(Qt::UserRole).toInt() == live[i].first && item->text() == live[i].second;
    }
    if (same)
        return;
    int selected = selectedObject();
    {
        const QSignalBlocker quiet(objects_);
        objects_->clear();
        for (const auto& entry : live) {
            auto* item = new QListWidgetItem(entry.second, objects_);
            item->setData(Qt::UserRole, entry.first);
        }
    }
    if (selected != host::kNoObject)
        selectObject(selected);
    if (objects_->currentRow() < 0 && objects_->count() > 0)
        objects_->setCurrentRow(objects_->count() - 1);
    selectionChanged();
}

void MainWindow::refresh() {
    refreshObjectList();
    setWindowModified(!fileMenu_->changedObjects().empty());
    countFigure();
    updateStatus();
    view_->update();
}

void MainWindow::selectionChanged() {
    setPlaying(false);
    int last = lastFrameOf(session_, selectedObject());
    bool playable = last >= 1;
    frame_ = 0;
    for (QWidget* control : {static_cast<QWidget*>(slider_), static_cast<QWidget*>(frameNumber_),
                             static_cast<QWidget*>(play_)})
        control->setEnabled(playable);
    {
        const QSignalBlocker quietSlider(slider_);
        const QSignalBlocker quietNumber(frameNumber_);
        slider_->setRange(playable ? 1 : 0, std::max(last, 0));
        frameNumber_->setRange(playable ? 1 : 0, std::max(last, 0));
        slider_->setValue(slider_->minimum());
        frameNumber_->setValue(frameNumber_->minimum());
    }
    lastFrameLabel_->setText(QStringLiteral(" of %1 ").arg(std::max(last, 0)));
    countFigure();
    updateStatus();
}

void MainWindow::countFigure() {
    int handle = selectedObject();
    const standin::SceneObject* object = standin::object(handle);
    const FigureData* figure = handle != host::kNoObject ? session_->figure(handle) : nullptr;
    if (object == nullptr) {
        objectStatus_ = QStringLiteral("No object selected");
        return;
    }
    objectStatus_ = QString::fromStdString(object->name);
    if (figure != nullptr) {
        FigureSummary summary = summarizeFigure(*figure, object->name, std::string());
        objectStatus_ += QStringLiteral("  ·  %1 limbs, %2 channels, %3 frames")
                             .arg(summary.limbs.size())
                             .arg(summary.channelCount)
                             .arg(summary.frameCount);
    }
}

void MainWindow::updateStatus() {
    QString text = objectStatus_;
    if (selectedObject() != host::kNoObject)
        text += frame_ > 0 ? QStringLiteral("  ·  frame %1").arg(frame_)
                           : QStringLiteral("  ·  rest pose");
    status_->setText(text);
}

void MainWindow::tell(const QString& message) {
    lastMessage_ = message;
    statusBar()->showMessage(message, kMessageTime);
}

void MainWindow::report(const QString& message) {
    // Named with its file, unless it names it already.
    QString text = messageFile_.isEmpty() || message.contains(messageFile_)
                       ? message
                       : message + QStringLiteral(": ") + messageFile_;
    std::fprintf(stderr, "fighost: %s\n", text.toLocal8Bit().constData());
    tell(text);
    // The box waits until the module has returned: a message box runs events of its own, and the
    // module is not to be called again while it is in the middle of a call.
    if (pendingMessages_.isEmpty())
        QTimer::singleShot(0, this, [this] { showPendingMessages(); });
    pendingMessages_ << text;
}

void MainWindow::showPendingMessages() {
    QString text = pendingMessages_.join(QLatin1Char('\n'));
    pendingMessages_.clear();
    if (text.isEmpty() || !shower_)
        return;
    setPlaying(false);
    // Over the window the person works in: the module's sheet or dialog while one is open.
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr)
        parent = QApplication::activeWindow();
    if (parent == nullptr)
        parent = this;
    shower_(parent, text);
}

int MainWindow::loadFile(const QString& path, const std::string& entry) {
    std::string chosen = entry;
    std::string file = path.toStdString();
    if (chosen.empty()) {
        std::string fallback;
        for (const standin::Command& command : standin::scene().commands) {
            if (command.category != "LOAD")
                continue;
            if (fallback.empty() || command.label == kFigureLoader)
                fallback = command.entry;
            const std::string filters = session_->textResult(command.entry, kMessageFileFilter);
            for (const toolkit::FileFilter& filter : toolkit::parseFileFilters(filters.c_str()))
                if (chosen.empty() && toolkit::matchesFilter(file, filter))
                    chosen = command.entry;
        }
        if (chosen.empty())
            chosen = fallback;
    }
    // The file the loader opens, which its messages are about.
    LoadRequest request;
    request.path = file;
    if (chosen == session_->entryNameFor(kBioVisionLoader))
        request.loader = kBioVisionLoader;
    std::string opened = openedPath(request);
    std::string error;
    int handle = host::kNoObject;
    setMessageFile(QString::fromStdString(opened));
    if (session_->setLimbType(style_, &error))
        handle = session_->loadWith(chosen, file, &error);
    setMessageFile(QString());
    const FigureData* figure = handle != host::kNoObject ? session_->figure(handle) : nullptr;
    if (figure != nullptr && !holdsFigure(*figure)) {
        // Nothing was read: no empty object is kept.
        session_->discard(handle);
        handle = host::kNoObject;
        error = noFigureMessage(opened);
    }
    if (handle == host::kNoObject) {
        // The module's own message has reached the person already; ours only when it said none.
        if (!error.empty())
            report(QString::fromStdString(error));
        refresh();
        return host::kNoObject;
    }
    fileMenu_->loaded(handle, opened, request.loader == kFigureLoader);
    refresh();
    selectObject(handle);
    view_->fitScene();
    return handle;
}

void MainWindow::runCommand(size_t row) {
    const std::vector<standin::Command>& commands = standin::scene().commands;
    if (row >= commands.size())
        return;
    const standin::Command command = commands[row];
    QString label = QString::fromStdString(command.label);
    if (command.category == "LOAD") {
        std::string filter = session_->textResult(command.entry, kMessageFileFilter);
        QString path = chooser_(label, dialogFilter(filter));
        if (!path.isEmpty())
            loadFile(path, command.entry);
        return;
    }
    // The main action wants a call value; the host passes 1, and the object the command is for.
    int answer = session_->send(command.entry, kMessageMainAction, selectedObject(), 1);
    if (answer != 1)
        tell(label + QStringLiteral(": the module did nothing"));
    refresh();
}

void MainWindow::openSettings() {
    setPlaying(false);
    session_->send(session_->objectEntryName(), kMessageSettings, selectedObject(), 0);
    refresh();
}

void MainWindow::deleteSelected() {
    setPlaying(false);
    fileMenu_->closeObject(selectedObject());
}

void MainWindow::discardObject(int handle) {
    if (handle == host::kNoObject)
        return;
    setPlaying(false);
    session_->discard(handle);
    refresh();
}

void MainWindow::showFrame(int frame) {
    int handle = selectedObject();
    int last = lastFrameOf(session_, handle);
    frame = std::min(frame, last);
    if (handle == host::kNoObject || frame < 1)
        return;
    frame_ = frame;
    // The controls follow without sending the frame again.
    {
        const QSignalBlocker quietSlider(slider_);
        const QSignalBlocker quietNumber(frameNumber_);
        slider_->setValue(frame);
        frameNumber_->setValue(frame);
    }
    session_->pose(handle, frame);
    updateStatus();
    view_->update();
}

void MainWindow::setPlaying(bool playing) {
    playing = playing && lastFrameOf(session_, selectedObject()) >= 1;
    if (playing)
        player_->start();
    else
        player_->stop();
    const QSignalBlocker quiet(play_);
    play_->setChecked(playing);
    play_->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}

void MainWindow::nextFrame() {
    int last = lastFrameOf(session_, selectedObject());
    if (last < 1) {
        setPlaying(false);
        return;
    }
    showFrame(frame_ >= last ? 1 : frame_ + 1);
}

void MainWindow::onRedraw(void* context) {
    // The module is still drawing: the list and status follow once it has returned.
    auto* window = static_cast<MainWindow*>(context);
    window->view_->update();
    QTimer::singleShot(0, window, [window] { window->refresh(); });
}

void MainWindow::onError(const std::string& text, void* context) {
    static_cast<MainWindow*>(context)->report(QString::fromStdString(text));
}

}  // namespace fighost
