// The window tests' driver for both toolkits: the Qt layer on Linux (ui_driver.h) and the native
// layer on Windows (win32_driver.h) each give Module, Script and WindowHandle; the functions below
// act on any window of either as a person does, so that one scenario runs against both.
#pragma once

#include <string>
#include <vector>

#ifdef _WIN32
#include "win32_driver.h"
#else
#include "ui_driver.h"
namespace ui_test {
using WindowHandle = QWidget*;
}
#endif

namespace ui_test {

enum class Key { Up, Down };

// Texts read and typed are the module's own 8-bit strings, one byte a character: what the
// toolkit interface carries, shown by Qt as Latin-1 and by Windows in its code page.

// The control with that id in window (a dialog or a page); each fails the test when it is missing.
std::string text(WindowHandle window, int id);
bool isChecked(WindowHandle window, int id);
bool isEnabled(WindowHandle window, int id);
bool isVisible(WindowHandle window, int id);
// Whether the edit refuses typing.
bool isReadOnly(WindowHandle window, int id);
// Whether the control has the keyboard focus.
bool hasFocus(WindowHandle window, int id);
void click(WindowHandle window, int id);
// Selects everything in the edit and types text over it.
void type(WindowHandle window, int id, const std::string& text);
// Presses and releases the key in the control, times over.
void press(WindowHandle window, int id, Key key, int times = 1);
// Clicks the up (Key::Up) or down arrow of the up-down control, times over.
void clickArrow(WindowHandle window, int id, Key arrow, int times = 1);

// The sheet's pages: their tab texts in order, the shown one, and a page (shown first).
std::string pageTabs(WindowHandle sheet);
std::string currentPage(WindowHandle sheet);
WindowHandle openPage(WindowHandle sheet, const std::string& tab);
// The sheet's own buttons: OK 1, Cancel 2, Apply 12321.
void clickSheetButton(WindowHandle sheet, int id);
bool isSheetButtonEnabled(WindowHandle sheet, int id);

// The limb list 1006 of the page: its items as text ("Hips[Chest[Neck],LeftUpLeg]"), the
// selected item's text (empty for none), a click on an item (twice: a double click).
std::string limbList(WindowHandle page);
std::string selectedLimb(WindowHandle page);
void clickLimb(WindowHandle page, const std::string& text, bool twice = false);
// The texts of the list's items whose branches are open, in list order, each followed by a space.
std::string openLimbs(WindowHandle page);

// Message boxes: the text, and its OK button.
std::string messageText(WindowHandle box);
void acceptMessage(WindowHandle box);
// The window's caption.
std::string caption(WindowHandle window);

// The file dialog's filters as its list of file types shows them, in order.
std::vector<std::string> fileFilters(WindowHandle fileDialog);
// Chooses, in the file dialog, the filter at position filter (from 1) and the file at path, and
// accepts it.
void chooseFile(WindowHandle fileDialog, int filter, const std::string& path);

// Whether a window of the module is still shown (after a script, none should be).
bool anyWindowShown();

// Writes a picture of the window as it shows into folder: name with the toolkit's own ending
// (".png" on Qt, "-windows.bmp" on Windows). The path written; empty when it could not be.
std::string savePicture(WindowHandle window, const std::string& folder, const std::string& name);

// Starts what the toolkit needs (Qt: an application, on the offscreen platform unless
// QT_QPA_PLATFORM names another) and runs the tests; the program's exit code.
int runWindowTests(int argc, char** argv);

}  // namespace ui_test
