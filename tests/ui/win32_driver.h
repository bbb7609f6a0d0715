// Driving the module's native Windows windows the way a person does, from a test: the module
// loaded from figure.dll as the host loads it, and scripts of steps for the modal windows it
// opens, played from a second thread with SendMessage and PostMessage (the windows' own thread is
// inside the module's modal loops meanwhile; a message hook there tells when a loop takes a
// message again).
//
// A Script queues the steps first: each step names the window it acts on and runs as soon as
// that window is the active window of the thread that opened it and that thread is back in a
// message loop. Actions that may open another modal window return as soon as the thread takes
// messages again (the action done, or a new modal loop running), so the next step can answer
// that window. A time limit closes
// whatever is still open and fails the test instead of hanging it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "module_access.h"

namespace ui_test {

using WindowHandle = HWND;

// The module library, loaded once for the process from the program's own folder.
const Module& module();

// The window a step acts on: a window caption, or kMessage for any message box.
constexpr const char kMessage[] = "<message box>";

class Script {
  public:
    // Steps must all have run within seconds of run's start.
    explicit Script(int seconds = 20) : seconds_(seconds) {}
    Script& on(const std::string& window, std::function<void(HWND)> action);
    // Runs call (which opens the windows) on this thread while the steps play on another; fails
    // the test when a step never ran or the time ran out. The call's result.
    int run(const std::function<int()>& call);
    // The captions of the message boxes that were shown, with their texts ("caption: text").
    const std::vector<std::string>& messages() const { return messages_; }

  private:
    struct Step {
        std::string window;
        std::function<void(HWND)> action;
    };
    std::vector<Step> steps_;
    std::vector<std::string> messages_;
    int seconds_;
};

// Whether window is a message box of the system.
bool isMessageBox(HWND window);
// The window that owns window (a modal window's owner); null for none.
HWND ownerOf(HWND window);
// The window's class name.
std::string className(HWND window);

}  // namespace ui_test
