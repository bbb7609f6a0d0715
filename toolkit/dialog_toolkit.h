// The dialog toolkit: modal dialogs and a tabbed property sheet built from dialog templates, file
// dialogs and message boxes. The module's dialogs are written against this interface only; the
// windows themselves live in a library of their own (over Qt Widgets on Linux), which the module
// loads the first time a dialog opens. Nothing here names a type of that library, so the module
// builds, loads and runs without it.
//
// Texts cross this interface as 8-bit strings, one byte per character (Latin-1), so any name read
// from a figure file comes back unchanged; file paths are in the system's own file-name encoding.
#pragma once

#include <cstddef>
#include <cstdint>

namespace toolkit {

// Bumped whenever a class below changes: the library and the module must agree on it.
constexpr int kInterfaceVersion = 3;

// The id of controls that are never referred to (labels, group boxes).
constexpr int kNoId = -1;
// Ids of the standard buttons and the results of a modal run.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
// A modal run that could not show its window.
constexpr int kRunFailed = -1;

enum ControlKind : int32_t {
    kLabel,
    kGroupBox,
    kEdit,
    kPushButton,
    kRadioButton,  // checks itself when clicked and clears its siblings
    kCheckBox,     // toggles itself when clicked
    kTreeView,
    kUpDown,  // steps the number in the edit control just before it in the template
};

// Control states and styles; combined with |. They are the templates' own, each the counterpart
// of a Windows control style, and the native Windows layer reads every one. The Qt layer has
// no use for some: kScrollsHorizontally (a QLineEdit always scrolls), kTreeButtons and
// kTreeLines (a QTreeWidget shows its own expand marks and no lines) and kUpDownSetsNumber (its
// up-down always writes its edit).
enum ControlStyle : uint32_t {
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kReadOnly = 1u << 2,
    kNoBorder = 1u << 3,
    kDefaultButton = 1u << 4,
    kScrollsHorizontally = 1u << 5,
    kTreeButtons = 1u << 6,        // expand buttons beside items with children
    kTreeLines = 1u << 7,          // lines between items
    kTreeLinesAtRoot = 1u << 8,    // lines at the top level too
    kUpDownArrowKeys = 1u << 9,    // the Up and Down keys in the edit step it
    kUpDownSetsNumber = 1u << 10,  // writes its number into the edit
};

// One control of a dialog template. Positions and sizes are in dialog units: a quarter of the
// dialog font's average character width across, an eighth of its height down.
struct ControlTemplate {
    int32_t id;  // kNoId for controls never referred to
    ControlKind kind;
    const char* caption;  // "&" marks the mnemonic; null for none
    int32_t x, y, width, height;
    uint32_t style;  // ControlStyle flags
};

// Read by the native Windows layer for the window's frame; the Qt layer knows a page from a
// dialog by how it is run.
enum DialogStyle : uint32_t {
    kModalFrame = 1u << 0,  // a window of its own with a caption bar and system menu
    kChildPage = 1u << 1,   // a page of a property sheet; the caption names its tab
};

// A dialog layout, as a resource script gives it. Controls are listed in tab order.
struct DialogTemplate {
    int32_t id;
    const char* caption;
    int32_t width, height;  // dialog units
    const char* fontName;
    int32_t fontPoints;
    uint32_t style;  // DialogStyle flags
    const ControlTemplate* controls;
    size_t controlCount;
};

// What happened to a control.
enum Notification : int32_t {
    kClicked,        // a button was pressed (also a radio button or check box)
    kChanged,        // an edit's text changed, by typing, by a step or by the program
    kDoubleClicked,  // a double click in a tree view
};

// Message box styles.
enum MessageStyle : uint32_t {
    kMessageWarning = 0,
    kMessageInformation = 1,
};

// An item of a tree view; kNoItem is the top level.
typedef uintptr_t TreeItem;
constexpr TreeItem kNoItem = 0;

// The window of one dialog or page while it is shown, as its handler sees it. Calls naming a
// control that does not exist do nothing and answer 0 or empty.
class Window {
  public:
    // The control's text; valid until the next call of text on this window.
    virtual const char* text(int id) = 0;
    // Sets the control's text; an edit notifies kChanged only when its text really changes.
    virtual void setText(int id, const char* text) = 0;
    virtual int isChecked(int id) = 0;
    virtual void setChecked(int id, int checked) = 0;
    // Lets the user work the control (1) or greys it out (0), as EnableWindow does.
    virtual void setEnabled(int id, int enabled) = 0;
    // Gives the control the keyboard focus and selects its text.
    virtual void focus(int id) = 0;
    // The range of an up-down control; its Up step goes towards high.
    virtual void setRange(int id, int low, int high) = 0;
    // Edits: the most characters the user can type or paste in; typing more is refused as it is
    // typed (a Windows edit control's EM_LIMITTEXT). 0 lifts the limit. Set it before the text:
    // a longer text set afterwards may or may not be cut, depending on the toolkit.
    virtual void setTextLimit(int id, int maxChars) = 0;
    // Tree views: remove every item; insert an item as the parent's last child, carrying data
    // (not owned), collapsed; the selected item's data, null when nothing is selected.
    virtual void clearTree(int id) = 0;
    virtual TreeItem insertItem(int id, TreeItem parent, const char* text, void* data) = 0;
    virtual void* selectedItemData(int id) = 0;
    // Tree views: whether the item shows its children; shows or hides them (an item without
    // children may ignore it).
    virtual int isExpanded(int id, TreeItem item) = 0;
    virtual void setExpanded(int id, TreeItem item, int expanded) = 0;
    // A modal message box over this window, with an OK button.
    virtual void messageBox(const char* text, uint32_t style) = 0;
    // Closes a modal dialog with result (kIdOk, kIdCancel); pages ignore it.
    virtual void end(int result) = 0;
    // Edits: whether the user can change the text (readOnly 0) or only read and select it.
    virtual void setReadOnly(int id, int readOnly) = 0;

  protected:
    ~Window() = default;
};

// The code behind a dialog or page: told when its window is ready and when a control notifies.
class Handler {
  public:
    // The window exists and shows the template; the handler fills it. For a page this comes the
    // first time the page is shown.
    virtual void initialise(Window& window) = 0;
    // A control notified. In a modal dialog the OK button (or Enter) comes as kIdOk and closing
    // the window (or Escape) as kIdCancel: the handler ends the dialog when it agrees.
    virtual void command(int id, Notification what) = 0;
    // Pages: the page is about to be left, for another page or by OK; 0 keeps it shown.
    virtual int leave() { return 1; }
    // Pages: the page is shown again after having been left.
    virtual void enter() {}

  protected:
    ~Handler() = default;
};

// One page of a property sheet.
struct SheetPage {
    const DialogTemplate* layout;
    Handler* handler;
};

// A file dialog's question. The filter is in "description|pattern|...||" form.
struct FileRequest {
    const char* title;
    const char* filter;
    int save;  // 1: a save dialog, which confirms before it overwrites a file
};

// Room for a chosen path, terminator included.
constexpr int kPathSize = 4096;

struct FileAnswer {
    char path[kPathSize];
    int filterIndex;  // the filter chosen, counted from 1
};

// The toolkit library's one object.
class Toolkit {
  public:
    // Shows a modal dialog built from the layout; kIdOk or kIdCancel as the handler ended it,
    // kRunFailed when no window could be made.
    virtual int runDialog(const DialogTemplate& layout, Handler& handler) = 0;
    // Shows a modal property sheet with OK, Cancel and a disabled Apply button, on the first
    // page; kIdOk or kIdCancel, or kRunFailed.
    virtual int runSheet(const char* caption, const SheetPage* pages, size_t pageCount) = 0;
    // A modal message box with an OK button, over the active window.
    virtual void messageBox(const char* text, const char* caption, uint32_t style) = 0;
    // A modal file dialog; 1 with the answer filled, 0 when cancelled or the path does not fit.
    virtual int chooseFile(const FileRequest& request, FileAnswer* answer) = 0;

  protected:
    ~Toolkit() = default;
};

// The name of the function the toolkit library exports: Toolkit* (int version, const char**
// reason). It answers null, with the reason, when it cannot show windows in this process.
constexpr const char kEntryName[] = "figureDialogToolkit";
typedef Toolkit* (*EntryFunction)(int interfaceVersion, const char** reason);

// The toolkit library's name, without the system's prefix and suffix ("libfigure_toolkit.so",
// "figure_toolkit.dll"), found in the folder of the module's own library.
constexpr const char kLibraryName[] = "figure_toolkit";

// The toolkit, loading its library the first time; once loaded it stays for the life of the
// process. Null when it cannot be loaded, with one line saying why in reason (which may be null).
Toolkit* loadToolkit(char* reason, size_t reasonSize);

}  // namespace toolkit
