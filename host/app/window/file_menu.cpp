// The File menu and the care for unsaved work: Open, Save, Save As, Close, Delete, Quit.
#include "host/app/window/file_menu.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtGui/QAction>
#include <QtGui/QKeySequence>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>

#include "host/app/core/module_session.h"
#include "host/app/window/main_window.h"
#include "model/figure_data.h"
#include "toolkit/file_filter.h"

namespace fighost {

FileMenu::FileMenu(MainWindow* window, ModuleSession* session)
    : QObject(window), window_(window), session_(session) {
    saveChooser_ = [this](const QString& caption, const QString& suggested, const QString& filter) {
        return QFileDialog::getSaveFileName(window_, caption, suggested, filter);
    };
    question_ = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("fighost"), text,
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window_);
        box.setInformativeText(QStringLiteral("Changes not saved are lost."));
        box.setDefaultButton(QMessageBox::Save);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
    confirmation_ = [this](const QString& text) {
        return QMessageBox::question(window_, QStringLiteral("fighost"), text,
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
}

void FileMenu::addTo(QMenuBar* bar) {
    auto* menu = new QMenu(QStringLiteral("File"), bar);
    QAction* first = bar->actions().isEmpty() ? nullptr : bar->actions().first();
    bar->insertMenu(first, menu);
    menu->addAction(QStringLiteral("Open…"), this, [this] { open(); })
        ->setShortcut(QKeySequence::Open);
    recentMenu_ = menu->addMenu(QStringLiteral("Recent files"));
    fillRecentMenu();
    menu->addAction(QStringLiteral("Save"), this, [this] { save(window_->selectedObject()); })
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    menu->addAction(QStringLiteral("Save As…"), this, [this] { saveAs(window_->selectedObject()); })
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    menu->addSeparator();
    menu->addAction(QStringLiteral("Close object"), this,
                    [this] { closeObject(window_->selectedObject()); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Quit"), window_, [this] { window_->close(); })
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
}

void FileMenu::remember(const std::string& path) {
    const QFileInfo file(QString::fromStdString(path));
    lastFolder_ = file.absolutePath();
    QStringList files = recent_;
    files.removeAll(file.absoluteFilePath());
    files.prepend(file.absoluteFilePath());
    setRecentFiles(files);
}

void FileMenu::setRecentFiles(const QStringList& files) {
    recent_ = files.mid(0, kRecentFiles);
    fillRecentMenu();
}

void FileMenu::fillRecentMenu() {
    if (recentMenu_ == nullptr)
        return;
    recentMenu_->clear();
    for (int i = 0; i < recent_.size(); ++i) {
        const QString path = recent_[i];
        // "&1 walk.fig", the folder beside it as a tip.
        QAction* item = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), this,
            [this, path] { window_->loadFile(path); });
        item->setToolTip(path);
        item->setStatusTip(path);
    }
    recentMenu_->setEnabled(!recent_.isEmpty());
}

void FileMenu::loaded(int handle, const std::string& path, bool saveable, const FileFacts& facts) {
    remember(path);
    const FigureData* figure = session_->figure(handle);
    if (figure == nullptr)
        return;
    // A figure keeps at most kMaxChannels channels and kMaxFrames frames of its file: saved back
    // over a file that held more, it would cut the rest away. Save then asks for a file, as for
    // a capture. A file of exactly as many frames as a figure keeps is held whole.
    const MotionTable* motion = figure->motion;
    bool whole =
        motion == nullptr || (motion->columnCount() == motion->channelCount() &&
                              facts.frames <= static_cast<long long>(motion->frameCount) &&
                              facts.channels <= static_cast<long long>(motion->channelCount()));
    if (saveable && !whole)
        window_->tell(QStringLiteral("%1 keeps only part of %2: Save asks for a new file")
                          .arg(nameOf(handle), QString::fromStdString(path)));
    files_.loaded(handle, path, saveable && whole, *figure);
    recheck(handle);
}

void FileMenu::recheck(int handle) {
    const FigureData* figure = handle != host::kNoObject ? session_->figure(handle) : nullptr;
    if (figure != nullptr && files_.changed(handle, *figure))
        changed_.insert(handle);
    else
        changed_.erase(handle);
}

void FileMenu::recheck() {
    changed_.clear();
    for (const standin::SceneObject& object : standin::scene().objects)
        recheck(object.handle);
}

std::vector<int> FileMenu::changedObjects() const {
    std::vector<int> handles;
    for (const standin::SceneObject& object : standin::scene().objects)
        if (changed(object.handle))
            handles.push_back(object.handle);
    return handles;
}

QString FileMenu::nameOf(int handle) const {
    const standin::SceneObject* object = standin::object(handle);
    QString name = object != nullptr ? QString::fromStdString(object->name) : QString();
    return name.isEmpty() ? QStringLiteral("(unnamed)") : name;
}

void FileMenu::open() {
    // Every loader's own filter, after one line that takes the files of all of them.
    QStringList lines, patterns;
    for (const standin::Command& command : standin::scene().commands) {
        if (command.category != "LOAD")
            continue;
        std::string text = session_->textResult(command.entry, kMessageFileFilter);
        for (const toolkit::FileFilter& filter : toolkit::parseFileFilters(text.c_str())) {
            lines << QString::fromStdString(toolkit::nameFilter(filter));
            patterns << QString::fromStdString(filter.pattern)
                            .replace(QLatin1Char(';'), QLatin1Char(' '));
        }
    }
    if (patterns.size() > 1)
        lines.prepend(QStringLiteral("Figures (%1)").arg(patterns.join(QLatin1Char(' '))));
    lines << QStringLiteral("All files (*)");
    // Several files may be chosen at once; each is loaded in turn, as if opened one by one.
    const QStringList paths =
        window_->chooseFiles(QStringLiteral("Open"), lines.join(QStringLiteral(";;")));
    for (const QString& path : paths)
        window_->loadFile(path);
}

bool FileMenu::save(int handle) {
    if (session_->figure(handle) == nullptr) {
        window_->tell(QStringLiteral("No figure selected to save"));
        return false;
    }
    std::string target = files_.saveTarget(handle);
    return target.empty() ? saveAs(handle) : saveTo(handle, target);
}

bool FileMenu::saveAs(int handle) {
    if (session_->figure(handle) == nullptr) {
        window_->tell(QStringLiteral("No figure selected to save"));
        return false;
    }
    QString folder = lastFolder_.isEmpty() ? QDir::currentPath() : lastFolder_;
    QString suggested = QDir(folder).filePath(nameOf(handle) + QStringLiteral(".fig"));
    QString chosen = saveChooser_(QStringLiteral("Save %1 As").arg(nameOf(handle)), suggested,
                                  QStringLiteral("Figure File (*.fig);;All files (*)"));
    if (chosen.isEmpty())
        return false;
    // The module adds ".fig" to a name without an extension, as the host's AddExt does.
    return saveTo(handle, AddExt(chosen.toStdString().c_str(), ".fig"));
}

bool FileMenu::saveTo(int handle, const std::string& target) {
    FigureData* figure = session_->figure(handle);
    window_->setMessageFile(QString::fromStdString(target));
    bool done = figure->save(target.c_str()) == 1;
    window_->setMessageFile(QString());
    if (!done)
        return false;
    files_.saved(handle, target, *figure);
    recheck(handle);
    window_->figureSaved(handle);
    remember(target);
    window_->tell(
        QStringLiteral("Saved %1 to %2").arg(nameOf(handle), QString::fromStdString(target)));
    window_->refresh();
    return true;
}

bool FileMenu::settle(const std::vector<int>& handles) {
    recheck();
    QStringList names;
    std::vector<int> unsaved;
    for (int handle : handles)
        if (changed(handle)) {
            unsaved.push_back(handle);
            names << nameOf(handle);
        }
    if (unsaved.empty())
        return true;
    QString list = names.size() == 1 ? names[0]
                                     : names.mid(0, names.size() - 1).join(QStringLiteral(", ")) +
                                           QStringLiteral(" and ") + names.last();
    QString text = QStringLiteral("Save the changes to %1 before closing?").arg(list);
    switch (question_(text)) {
        case QMessageBox::Discard:
            return true;
        case QMessageBox::Save:
            for (int handle : unsaved)
                if (!save(handle))
                    return false;
            return true;
        default:
            return false;
    }
}

bool FileMenu::deleteObject(int handle) {
    if (handle == host::kNoObject)
        return false;
    recheck(handle);
    if (!changed(handle) &&
        !confirmation_(QStringLiteral("Delete %1 from the scene?").arg(nameOf(handle))))
        return false;
    return closeObject(handle, QStringLiteral("Delete"));
}

bool FileMenu::closeObject(int handle, const QString& what) {
    if (handle == host::kNoObject || !settle({handle}))
        return false;
    window_->discardObject(handle, what);
    files_.forget(handle);
    return true;
}

void FileMenu::restored(int handle, const std::string& path, bool saveable, bool unsaved) {
    if (const FigureData* figure = session_->figure(handle))
        files_.restored(handle, path, saveable, unsaved, *figure);
    recheck(handle);
}

}  // namespace fighost
