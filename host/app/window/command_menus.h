// The window's menus from the module's command table: a menu per category, in the order the table
// first names it, and an item per command. A Load command asks for a file and loads it; any other
// runs its main action, what it does to the scene kept as a step for Undo.
#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>
#include <cstddef>
#include <string>

class QMenuBar;

namespace fighost {

class MainWindow;
class ModuleSession;

// The menu title of a command-table category: "BUILD" is "Build", "UTIL" "Utilities", "LOAD"
// "Load", "SAVE" "Save"; any other category in words of its own letters ("EXTRA" "Extra").
QString categoryTitle(const std::string& category);
// A file-dialog filter as the module gives it ("BioVision (*.bvh) |*.bvh||") in the dialog's own
// form ("BioVision (*.bvh)"), each pair on a line of its own, with "All files (*)" last.
QString dialogFilter(const std::string& moduleFilter);

class CommandMenus : public QObject {
  public:
    // The menus of the command table session's module registered, run through window.
    CommandMenus(MainWindow* window, ModuleSession* session);

    // Adds a menu per category to the end of bar; a Load command's item ends in "…".
    void addTo(QMenuBar* bar);
    // Runs the command of row index of the command table as its menu item does; a row past the
    // table does nothing.
    void run(size_t row);

  private:
    MainWindow* window_;
    ModuleSession* session_;
};

}  // namespace fighost
