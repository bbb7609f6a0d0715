// The window's Edit menu: Undo and Redo over the steps that changed scene objects (a Settings
// session that changed a figure, Delete and Close object, the builder), each object kept as a
// snapshot through the module's own writer and made again through its loader.
#include <QtGui/QAction>
#include <QtGui/QKeySequence>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <algorithm>
#include <set>

#include "host/app/core/figure_loading.h"
#include "host/app/window/file_menu.h"
#include "host/app/window/main_window.h"
#include "host/app/window/scene_widget.h"
#include "model/figure_data.h"

namespace fighost {
namespace {

// The live scene objects that hold a figure.
std::set<int> figureObjects(ModuleSession* session) {
    std::set<int> handles;
    for (const standin::SceneObject& object : standin::scene().objects)
        if (session->figure(object.handle) != nullptr)
            handles.insert(object.handle);
    return handles;
}

QString sceneObjectName(int handle) {
    const standin::SceneObject* object = standin::object(handle);
    return object != nullptr && !object->name.empty() ? QString::fromStdString(object->name)
                                                      : QStringLiteral("(unnamed)");
}

}  // namespace

void MainWindow::buildEditMenu() {
    QMenu* edit = menuBar()->addMenu(QStringLiteral("Edit"));
    undoAction_ = edit->addAction(QStringLiteral("Undo"), this, [this] { undo(); });
    undoAction_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    redoAction_ = edit->addAction(QStringLiteral("Redo"), this, [this] { redo(); });
    redoAction_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    updateEditMenu();
}

void MainWindow::updateEditMenu() {
    if (undoAction_ == nullptr)
        return;
    const QString undoName = QString::fromStdString(undo_.undoName());
    const QString redoName = QString::fromStdString(undo_.redoName());
    undoAction_->setText(undoName.isEmpty() ? QStringLiteral("Undo")
                                            : QStringLiteral("Undo ") + undoName);
    redoAction_->setText(redoName.isEmpty() ? QStringLiteral("Redo")
                                            : QStringLiteral("Redo ") + redoName);
    undoAction_->setEnabled(undo_.canUndo());
    redoAction_->setEnabled(undo_.canRedo());
}

bool MainWindow::snapshotOf(int handle, int key, std::optional<ObjectSnapshot>* snapshot,
                            std::string* error) {
    snapshot->reset();
    FigureData* figure = handle != host::kNoObject ? session_->figure(handle) : nullptr;
    if (figure == nullptr)
        return true;
    ObjectSnapshot taken;
    if (!writeFigureFile(figure, &taken.figureFile, error))
        return false;
    if (const standin::SceneObject* object = standin::object(handle))
        taken.name = object->name;
    taken.traits = traitsOf(*figure);
    taken.frame = frameOf(handle);
    taken.hasFile = fileMenu_->fileOf(handle, &taken.path, &taken.saveable);
    auto facts = files_.find(handle);
    if (facts != files_.end()) {
        taken.hasFacts = true;
        taken.facts = facts->second;
    }
    // An object as its file holds it: coming back to this is coming back to no unsaved change.
    if (taken.hasFile && !fileMenu_->changed(handle))
        undo_.setSavedFigure(key, taken.figureFile);
    *snapshot = std::move(taken);
    return true;
}

bool MainWindow::recordChange(const QString& what, int handle,
                              const std::function<void()>& change) {
    fileMenu_->recheck();
    const std::set<int> before = figureObjects(session_);
    std::string error;
    UndoStack::Step step;
    bool kept = true;
    int key = 0;
    std::optional<ObjectSnapshot> was;
    if (before.count(handle) != 0) {
        key = undo_.keyOf(handle);
        kept = snapshotOf(handle, key, &was, &error);
    }
    const QString name = sceneObjectName(handle);
    change();
    fileMenu_->recheck();
    const std::set<int> after = figureObjects(session_);
    QString stepName = name;
    if (kept && key != 0) {
        UndoStack::Change changed{key, std::move(was), std::nullopt};
        kept = snapshotOf(handle, key, &changed.after, &error);
        if (!changed.after)
            undo_.moved(key, host::kNoObject);
        if (kept && !sameObject(changed.before, changed.after))
            step.changes.push_back(std::move(changed));
    }
    for (int made : after) {
        if (!kept || before.count(made) != 0)
            continue;
        UndoStack::Change added{undo_.keyOf(made), std::nullopt, std::nullopt};
        kept = snapshotOf(made, added.key, &added.after, &error);
        if (step.changes.empty())
            stepName = sceneObjectName(made);
        step.changes.push_back(std::move(added));
    }
    refresh();
    if (!kept) {
        undo_.clear();
        updateEditMenu();
        report(QStringLiteral("%1 cannot be undone: %2")
                   .arg(what.arg(name), QString::fromStdString(error)));
        return false;
    }
    if (step.changes.empty())
        return false;
    step.name = what.arg(stepName).toStdString();
    undo_.push(std::move(step));
    updateEditMenu();
    return true;
}

bool MainWindow::applySnapshot(int key, const std::optional<ObjectSnapshot>& target,
                               std::string* error) {
    int current = undo_.handleOf(key);
    if (current != host::kNoObject && session_->figure(current) == nullptr)
        current = host::kNoObject;
    // What the object is tied to now (a Save As since the snapshot) goes on with it.
    std::string path;
    bool saveable = false, hasFile = false, hasFacts = false;
    FileFacts facts;
    if (target) {
        hasFile = target->hasFile;
        path = target->path;
        saveable = target->saveable;
        hasFacts = target->hasFacts;
        facts = target->facts;
    }
    if (current != host::kNoObject) {
        hasFile = fileMenu_->fileOf(current, &path, &saveable) || hasFile;
        auto known = files_.find(current);
        if (known != files_.end()) {
            hasFacts = true;
            facts = known->second;
        }
    }
    // The object is made again before the one it replaces goes, so that a failure loses nothing.
    int made = host::kNoObject;
    if (target) {
        made = loadFigureFile(session_, target->figureFile, target->name, target->traits, error);
        if (made == host::kNoObject)
            return false;
    }
    if (current != host::kNoObject) {
        session_->discard(current);
        fileMenu_->forget(current);
        files_.erase(current);
        frames_.erase(current);
    }
    undo_.moved(key, made);
    relinkMaps(session_);
    if (made == host::kNoObject)
        return true;
    if (hasFile) {
        const std::string* saved = undo_.savedFigure(key);
        fileMenu_->restored(made, path, saveable, saved == nullptr || *saved != target->figureFile);
    }
    if (hasFacts)
        files_[made] = facts;
    const FigureData* figure = session_->figure(made);
    const int last = figure->motion != nullptr
                         ? std::min(static_cast<int>(figure->motion->frameCount) - 1, kLastFrame)
                         : 0;
    const int frame = std::min(target->frame, last);
    frames_[made] = std::max(frame, 0);
    if (frame >= 1)
        session_->pose(made, frame);
    return true;
}

bool MainWindow::applyStep(bool undoing) {
    const UndoStack::Step* found = undoing ? undo_.undoStep() : undo_.redoStep();
    if (found == nullptr)
        return false;
    setPlaying(false);
    const UndoStack::Step step = *found;
    std::string error;
    int shown = host::kNoObject;
    bool done = true;
    for (size_t i = 0; i < step.changes.size() && done; ++i) {
        // Taken back last change first.
        const UndoStack::Change& change = step.changes[undoing ? step.changes.size() - 1 - i : i];
        done = applySnapshot(change.key, undoing ? change.before : change.after, &error);
        if (done && undo_.handleOf(change.key) != host::kNoObject)
            shown = undo_.handleOf(change.key);
    }
    const QString name = QString::fromStdString(step.name);
    if (done) {
        if (undoing)
            undo_.undone();
        else
            undo_.redone();
        tell((undoing ? QStringLiteral("Undid ") : QStringLiteral("Redid ")) + name);
    } else {
        // What was made again stays; the steps no longer lead back from here.
        undo_.clear();
        report(QStringLiteral("cannot %1 %2: %3")
                   .arg(undoing ? QStringLiteral("undo") : QStringLiteral("redo"), name,
                        QString::fromStdString(error)));
    }
    updateEditMenu();
    refresh();
    if (shown != host::kNoObject)
        selectObject(shown);
    selectionChanged();
    view_->update();
    return done;
}

bool MainWindow::undo() {
    return applyStep(true);
}

bool MainWindow::redo() {
    return applyStep(false);
}

void MainWindow::figureSaved(int handle) {
    std::optional<ObjectSnapshot> snapshot;
    std::string error;
    // Unknown when it cannot be written: the unsaved mark then stays after an Undo that comes
    // back here, which loses nothing.
    snapshotOf(handle, undo_.keyOf(handle), &snapshot, &error);
}

}  // namespace fighost
