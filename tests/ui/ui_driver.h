// Driving the module's windows the way a person does, from a test: the module loaded with dlopen
// as the host loads it, its entry points, and scripts of steps for the modal windows it opens.
//
// A modal window runs its own event loop, so the test cannot act on it after the call that opens
// it returns. A Script queues the steps first: each step names the window it acts on and runs as
// soon as that window is the active modal window (a window opened over it from within a step
// lets the next step run there). A time limit closes whatever is still open and fails the test
// instead of hanging it.
#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QString>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "module_access.h"

namespace ui_test {

// The module library, loaded once for the process.
const Module& module();

// The window a step acts on: a window title, or kMessage for any message box.
constexpr const char kMessage[] = "<message box>";

class Script {
  public:
    // Steps must all have run within seconds of run's start.
    explicit Script(int seconds = 20) : seconds_(seconds) {}
    Script& on(const std::string& window, std::function<void(QWidget*)> action);
    // Runs call (which opens the windows) while the steps play; fails the test when a step
    // never ran or the time ran out. The call's result.
    int run(const std::function<int()>& call);
    // The titles of the message boxes that were shown, with their texts ("title: text").
    const std::vector<std::string>& messages() const { return messages_; }

  private:
    struct Step {
        std::string window;
        std::function<void(QWidget*)> action;
    };
    std::vector<Step> steps_;
    std::vector<std::string> messages_;
    int seconds_;
};

// The control with that id inside widget; fails the test when there is none.
QWidget* control(QWidget* widget, int id);
QLineEdit* edit(QWidget* widget, int id);
QAbstractButton* button(QWidget* widget, int id);
QTreeWidget* tree(QWidget* widget);

// The sheet's page whose tab has that text; makes it the shown page by clicking its tab.
QWidget* showPage(QWidget* sheet, const QString& tab);
// The sheet's page with that tab text, without changing pages.
QWidget* page(QWidget* sheet, const QString& tab);

void click(QAbstractButton* button);
// Selects everything in the edit and types text over it (an empty text clears it).
void type(QLineEdit* edit, const QString& text);
// Clicks the tree's item with that text (opening its parents first); double-clicks with twice.
void clickItem(QTreeWidget* tree, const QString& text, bool twice = false);
// The tree's items as text: names (one byte a character, as the module keeps them), children in
// brackets ("Hips[Chest[Neck],LeftUpLeg]").
std::string treeText(QTreeWidget* tree);

}  // namespace ui_test
