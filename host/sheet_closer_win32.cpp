// The sheet is found among this process's windows by its caption; its page and its buttons are
// reached by the ids the native toolkit keeps fixed, and pressed with messages sent without
// waiting, since each may run a modal loop of its own.
#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "host/sheet_closer.h"

namespace session {
namespace {

constexpr int kLineSegments = 1096;  // the first of the Settings page's three style buttons

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK findSheet(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char caption[32] = "";
    if (process != search->process || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
        GetWindowTextA(window, caption, sizeof caption) == 0 || lstrcmpA(caption, "Settings") != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND sheetWindow() {
    Search search{GetCurrentProcessId(), nullptr};
    EnumWindows(&findSheet, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LRESULT send(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, w, l, SMTO_NORMAL, 5000, &result);
    return static_cast<LRESULT>(result);
}

}  // namespace

struct SheetCloser::State {
    std::thread thread;
    std::atomic<bool> pressed{false};
    std::atomic<bool> callReturned{false};  // the module's call ended: no sheet is coming
    std::string reason;
};

SheetCloser::SheetCloser(int style, int seconds) : state_(new State) {
    State* state = state_;
    state->thread = std::thread([state, style, seconds] {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        auto late = [&] { return std::chrono::steady_clock::now() > deadline; };
        HWND sheet = nullptr;
        while (!late() && !state->callReturned && (sheet = sheetWindow()) == nullptr)
            Sleep(10);
        if (sheet == nullptr) {
            state->reason = "no Settings sheet came";
            return;
        }
        SendNotifyMessageA(sheet, PSM_SETCURSEL, 1, 0);
        HWND page = nullptr;
        while (!late() &&
               (page = reinterpret_cast<HWND>(send(sheet, PSM_INDEXTOHWND, 1))) == nullptr)
            Sleep(10);
        HWND button = page != nullptr ? GetDlgItem(page, kLineSegments + style) : nullptr;
        HWND ok = GetDlgItem(sheet, IDOK);
        if (button == nullptr || ok == nullptr) {
            state->reason = "the Settings page or the OK button is missing";
            PostMessageA(sheet, WM_CLOSE, 0, 0);
            return;
        }
        SendNotifyMessageA(button, BM_CLICK, 0, 0);
        SendNotifyMessageA(ok, BM_CLICK, 0, 0);
        while (!late() && IsWindow(sheet))
            Sleep(10);
        if (IsWindow(sheet)) {
            state->reason = "the sheet stayed open after OK";
            PostMessageA(sheet, WM_CLOSE, 0, 0);
            return;
        }
        state->pressed = true;
    });
}

SheetCloser::~SheetCloser() {
    if (state_->thread.joinable())
        state_->thread.join();
    delete state_;
}

bool SheetCloser::finish(std::string* reason) {
    state_->callReturned = true;
    if (state_->thread.joinable())
        state_->thread.join();
    if (!state_->pressed && reason != nullptr)
        *reason = state_->reason;
    return state_->pressed;
}

}  // namespace session
