// The window's File menu and the care for unsaved work behind it: Open…, Save, Save As…, Close
// object and Quit, and the Save / Discard / Cancel question before a changed figure is closed.
#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtWidgets/QMessageBox>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "host/app/core/figure_files.h"
#include "host/app/core/file_facts.h"

class QMenu;
class QMenuBar;

namespace fighost {

class MainWindow;
class ModuleSession;

class FileMenu : public QObject {
  public:
    // Asks where to save: (caption, suggested path, filter) → path, empty when cancelled.
    using SaveChooser = std::function<QString(const QString&, const QString&, const QString&)>;
    // Asks the person a question about unsaved work: (text) → Save, Discard or Cancel.
    using Question = std::function<QMessageBox::StandardButton(const QString& text)>;
    // Asks the person to confirm a step that cannot be undone: (text) → whether to go on.
    using Confirmation = std::function<bool(const QString& text)>;

    FileMenu(MainWindow* window, ModuleSession* session);

    // Puts the File menu first on the menu bar.
    void addTo(QMenuBar* bar);

    // The object's figure was loaded from path by the Figure loader (saveable) or another one;
    // facts are what the file held. Save goes back to path only when it is saveable and the
    // figure holds all of it.
    void loaded(int handle, const std::string& path, bool saveable, const FileFacts& facts);
    // Whether the object's figure changed since it was loaded or saved, as last looked at: by
    // recheck, or by a load, save or Undo of the object.
    bool changed(int handle) const { return changed_.count(handle) != 0; }
    // The objects whose figures changed, in the scene's order.
    std::vector<int> changedObjects() const;
    // Looks again at every figure of the scene, after something may have changed one (the
    // module's sheet or builder, Undo and Redo). Playing frames changes none.
    void recheck();

    // The file of the object's figure, for a snapshot of it: false when it has none.
    bool fileOf(int handle, std::string* path, bool* saveable) const {
        return files_.fileOf(handle, path, saveable);
    }
    // The object was made again from a snapshot; see FigureFiles::restored.
    void restored(int handle, const std::string& path, bool saveable, bool unsaved);
    // The object is gone from the scene without a question (Undo and Redo).
    void forget(int handle) {
        files_.forget(handle);
        changed_.erase(handle);
    }

    // Asks for files and loads each by its extension.
    void open();
    // Saves the object's figure to the .fig it came from, or as Save As does when it has none.
    // True once saved.
    bool save(int handle);
    // Asks for a .fig file, in the folder last used, and saves the object's figure there.
    bool saveAs(int handle);
    // Asks Save / Discard / Cancel when any of the objects changed; true when the person chose
    // to go on and every save asked for worked.
    bool settle(const std::vector<int>& handles);
    // Closes the object (discards its figure) once its changes are settled; false when kept.
    // what names the step for Undo ("Close", "Delete").
    bool closeObject(int handle, const QString& what = QStringLiteral("Close"));
    // Deletes the object from the scene: a changed figure asks as Close object does, any other
    // asks to be confirmed first. False when kept.
    bool deleteObject(int handle);

    // The files last opened or saved, newest first (at most kRecentFiles), shown under
    // File > Recent files; setRecentFiles puts back a list kept from before.
    static constexpr int kRecentFiles = 8;
    const QStringList& recentFiles() const { return recent_; }
    void setRecentFiles(const QStringList& files);

    // The folder last opened from or saved to.
    const QString& lastFolder() const { return lastFolder_; }
    void setSaveChooser(SaveChooser chooser) { saveChooser_ = std::move(chooser); }
    void setQuestion(Question question) { question_ = std::move(question); }
    void setConfirmation(Confirmation confirmation) { confirmation_ = std::move(confirmation); }

  private:
    // The object's name, for the person.
    QString nameOf(int handle) const;
    // Keeps path's folder as the last one used and path as the newest recent file.
    void remember(const std::string& path);
    void fillRecentMenu();
    // Saves the object's figure to target through its own save; true once saved.
    bool saveTo(int handle, const std::string& target);
    // Looks again at the object's figure alone.
    void recheck(int handle);

    MainWindow* window_;
    ModuleSession* session_;
    FigureFiles files_;
    std::set<int> changed_;  // the objects whose figures changed, when last looked at
    QString lastFolder_;
    SaveChooser saveChooser_;
    Question question_;
    Confirmation confirmation_;
    QStringList recent_;
    QMenu* recentMenu_ = nullptr;
};

}  // namespace fighost
