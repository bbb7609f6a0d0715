// fighost's main window, playing the modelling host: a menu per category of the command table the
// module registered, the scene view, the list of scene objects, frame controls that pose the
// selected object, the module's Settings, and the module's messages in the status bar. The window
// wires its pieces together: the menus from the command table are in command_menus.h, the View
// menu in view_menu.h, loading a file in file_loading.h, the Play menu's keys in play_keys.h, the
// frame bar and its player in frame_bar.h, the object list and status in object_list.h, the
// messages in window_messages.h, the File menu in file_menu.h, Undo and Redo in
// main_window_undo.cpp.
#pragma once

#include <QtCore/QStringList>
#include <QtWidgets/QMainWindow>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "host/app/core/file_facts.h"
#include "host/app/core/module_session.h"
#include "host/app/core/playback_clock.h"
#include "host/app/core/scene_view.h"
#include "host/app/core/undo_stack.h"
#include "host/app/window/window_messages.h"

class QAction;
class QCloseEvent;
class QLabel;
class QListWidget;
class QSplitter;

namespace fighost {

class CommandMenus;
class FileMenu;
class FrameBar;
class ObjectList;
class SceneWidget;

class MainWindow : public QMainWindow {
  public:
    // Asks the person for a file to load: (caption, filter) → path, empty when none was chosen.
    using FileChooser = std::function<QString(const QString& caption, const QString& filter)>;
    // Asks the person for files to load at once: (caption, filter) → paths, empty for none.
    using FilesChooser = std::function<QStringList(const QString& caption, const QString& filter)>;

    // The window over a session whose module is started; style is the "LimbType" given to the
    // figures its Load commands make.
    MainWindow(ModuleSession* session, int style);
    ~MainWindow() override;

    // Loads path as the Load command of that entry does; by the extension its filter names when
    // entry is empty. The new object's handle, selected; -1 after telling the person why.
    int loadFile(const QString& path, const std::string& entry = std::string());
    // Runs the command of row index of the command table as its menu action does.
    void runCommand(size_t row);
    // Sends the settings message for the selected object.
    void openSettings();
    // Closes the selected object as File → Close object does: a changed figure is saved or
    // discarded as the person answers, then the object's figure is discarded and the object freed.
    void deleteSelected();
    // Discards the object's figure and frees the object, without a question; a step for Undo
    // named "WHAT NAME" ("Close walk").
    void discardObject(int handle, const QString& what = QStringLiteral("Close"));

    // Undo and Redo. Runs change, which may change the object under handle (its figure, its
    // traits, or delete it) and make new objects, and keeps what it did as a step for Undo named
    // what with %1 the object's name ("Settings of %1"). False when it changed nothing, or when
    // the step could not be kept (the person is told; the steps kept before are forgotten, as
    // they no longer lead back).
    bool recordChange(const QString& what, int handle, const std::function<void()>& change);
    // Takes back the last step, or does again the last one taken back; false when there is none
    // or the objects could not be made again (the person is told, and nothing is lost).
    bool undo();
    bool redo();
    // The object's figure was saved: the state its file now holds, for the unsaved mark.
    void figureSaved(int handle);
    const UndoStack& undoStack() const { return undo_; }
    // Poses the selected object at frame (1 to the last frame it stores) and shows it.
    void showFrame(int frame);
    // Plays the selected object's motion at its file's frame time and the chosen speed, round
    // and round, skipping frames that come due while one is drawn.
    void setPlaying(bool playing);
    // Plays speed times faster than captured (0.25 to 4).
    void setSpeed(double speed);
    // Playback reads the time from source from now on (the steady clock by default).
    void setTimeSource(TimeSource source);
    // The frame the object was last shown at in this window; 0 for its rest pose.
    int frameOf(int handle) const;

    // The selected object; -1 when none.
    int selectedObject() const;
    void selectObject(int handle);
    // The chooser of one file also chooses for File > Open, one file at a time, until
    // setFilesChooser gives another.
    void setFileChooser(FileChooser chooser);
    void setFilesChooser(FilesChooser chooser) { filesChooser_ = std::move(chooser); }
    QString chooseFile(const QString& caption, const QString& filter) {
        return chooser_(caption, filter);
    }
    QStringList chooseFiles(const QString& caption, const QString& filter) {
        return filesChooser_(caption, filter);
    }
    // Shows a message over a window: (parent, text). By default a message box; null shows none.
    using MessageShower = WindowMessages::Shower;
    void setMessageShower(MessageShower shower) { messages_->setShower(std::move(shower)); }
    // The file the next messages are about, named in them; empty for none.
    void setMessageFile(const QString& file) { messages_->setFile(file); }
    // Tells the person in the status bar.
    void tell(const QString& message);
    // Tells the person of a failure: in a message box over the active window (the module's
    // sheet while it is open), in the status bar and on stderr, naming the file it is about.
    void report(const QString& message);
    FileMenu* fileMenu() const { return fileMenu_; }
    // Brings the object list, frame controls and status bar up to date with the scene, after
    // something may have changed it (a load, the module's sheet or builder, a save, Undo). A
    // frame shown changes nothing of it but the picture and the frame.
    void refresh();
    // Comes back at the size, place, layout and folder the window was last left with, and keeps
    // them when it closes; without this the window keeps nothing.
    void rememberSettings();
    // How frames turn the limbs of the figures loaded from now on: a PosingMode, given to the
    // module as the "Posing" property before each load.
    int posing() const { return posing_; }
    void setPosing(int posing);
    // View > Pose as captured: gives the selected object's figure that posing (through the
    // figure record), poses it again at its frame and makes it the posing of the next files,
    // kept for the next time when the window remembers its settings.
    void setPosingOfSelected(int posing);
    // The last message shown to the person.
    const QString& lastMessage() const { return messages_->last(); }
    SceneWidget* sceneWidget() const { return view_; }

  protected:
    // Files dropped on the window are loaded.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void buildPlayMenu();
    void buildFrameControls();
    void buildEditMenu();
    void updateEditMenu();
    // The object as a snapshot; none for an object without a figure. False with a reason.
    bool snapshotOf(int handle, int key, std::optional<ObjectSnapshot>* snapshot,
                    std::string* error);
    // Makes the object of key what target says: made again from it, or gone when there is none.
    bool applySnapshot(int key, const std::optional<ObjectSnapshot>& target, std::string* error);
    bool applyStep(bool undoing);
    // The words over the empty view that say how to begin, shown while the scene has no object.
    void buildStartHint();
    void updateStartHint();
    void refreshObjectList();
    void selectionChanged();
    // Seconds a frame of the object's motion: its file's frame time, else 30 frames a second.
    double frameTimeOf(int handle) const;
    // Counts the selected figure's limbs, channels and frames for the status bar.
    void countFigure();
    void updateStatus();
    void nextFrame();
    // Checks View > Pose as captured when the selected figure, else the next one, poses so.
    void showPosing();

    static void onRedraw(void* context);
    static void onError(const std::string& text, void* context);

    ModuleSession* session_;
    int style_;
    int posing_ = 1;  // as captured
    QAction* posingItem_ = nullptr;
    SceneWidget* view_ = nullptr;
    ObjectList* objects_ = nullptr;  // the list of objects and the selected one's status
    QSplitter* splitter_ = nullptr;
    QString folder_;                // where the file dialog opens
    bool remembers_ = false;        // keeps its settings when it closes
    FrameBar* frameBar_ = nullptr;  // the frame controls and the player
    FileChooser chooser_;
    FilesChooser filesChooser_;
    QLabel* startHint_ = nullptr;
    UndoStack undo_;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    WindowMessages* messages_ = nullptr;
    FileMenu* fileMenu_ = nullptr;
    CommandMenus* commandMenus_ = nullptr;  // the menus from the command table
    // What each object's file held, by handle: loaded from a file in this window.
    std::map<int, FileFacts> files_;
    int frame_ = 0;              // the frame the selected object was last posed at; 0 for none
    std::map<int, int> frames_;  // each object's frame, by handle, kept while another is selected
    bool posingFrame_ = false;   // showFrame is posing: the module's redraws are of the frame
};

}  // namespace fighost
