#include "win32_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/shared_library.h"
#include "window_driver.h"

namespace ui_test {
namespace {

// How long one message to the windows' thread may take before the driver gives up on it.
constexpr UINT kSendTimeoutMs = 10000;
// The id of the message box's text, and of a property sheet's tab control.
constexpr int kMessageTextId = 0xFFFF;
constexpr int kSheetTabs = 0x3020;
// The explorer-style file dialog's file type and file name boxes (cmb1, cmb13).
constexpr int kFileTypeBox = 0x470;
constexpr int kFileNameBox = 0x47C;

// The thread that runs the module's windows, while a script plays.
std::atomic<DWORD> windowThread{0};

LRESULT send(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, w, l, SMTO_NORMAL, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

// Sends without waiting: the message is handled in the order sent, before posted messages, and
// may open a modal window of its own.
void sendAndGoOn(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0) {
    SendNotifyMessageA(window, message, w, l);
}

// Tickets posted to the windows' thread, and the last one a message loop there took. A posted
// message is taken only by a message loop, after the messages sent before it are handled, and not
// while a handler runs or a closed window's call tidies up, so a taken ticket means the thread is
// back in a modal loop: the one it was in, or one that a handler opened.
std::atomic<unsigned> ticketsPosted{0};
std::atomic<unsigned> ticketTaken{0};

UINT ticketMessage() {
    static const UINT message = RegisterWindowMessageA("figure window test: ticket");
    return message;
}

// Watches, on the windows' thread, every message its loops take.
LRESULT CALLBACK watchLoops(int code, WPARAM removed, LPARAM message) {
    const auto* taken = reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removed == PM_REMOVE && taken->message == ticketMessage())
        ticketTaken = static_cast<unsigned>(taken->wParam);
    return CallNextHookEx(nullptr, code, removed, message);
}

// Returns once the windows' thread is back in a message loop: what was sent before is done, or a
// modal window it opened runs its loop.
void settle() {
    unsigned ticket = ++ticketsPosted;
    if (!PostThreadMessageA(windowThread.load(), ticketMessage(), ticket, 0))
        return;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSendTimeoutMs);
    while (ticketTaken.load() < ticket && std::chrono::steady_clock::now() < deadline)
        Sleep(1);
}

std::string windowText(HWND window) {
    if (window == nullptr)
        return std::string();
    LRESULT length = send(window, WM_GETTEXTLENGTH);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT read = send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(read));
    return text;
}

HWND item(HWND window, int id) {
    HWND found = window != nullptr ? GetDlgItem(window, id) : nullptr;
    EXPECT_NE(found, nullptr) << "no control " << id;
    return found;
}

GUITHREADINFO threadInfo() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(windowThread.load(), &info);
    return info;
}

bool matches(const std::string& window, HWND active) {
    bool message = isMessageBox(active);
    if (window == kMessage)
        return message;
    return !message && windowText(active) == window;
}

// A window is ready for its step once it shows and takes input; a file dialog once its boxes
// are there, a sheet once its first page is.
bool ready(HWND window) {
    if (!IsWindowVisible(window) || !IsWindowEnabled(window))
        return false;
    if (isMessageBox(window))
        return true;
    std::string name = windowText(window);
    if (name == "Load Figure Data" || name == "Save Figure Data")
        return GetDlgItem(window, kFileNameBox) != nullptr &&
               GetDlgItem(window, kFileTypeBox) != nullptr;
    if (GetDlgItem(window, kSheetTabs) != nullptr)
        return send(window, PSM_GETCURRENTPAGEHWND) != 0;
    return true;
}

// Pumps this thread's messages until done is set.
void pumpUntil(const std::atomic<bool>& done) {
    while (!done.load()) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(1);
    }
}

BOOL CALLBACK describeWindow(HWND window, LPARAM context) {
    if (IsWindowVisible(window))
        *reinterpret_cast<std::string*>(context) +=
            "[" + className(window) + " \"" + windowText(window) + "\"" +
            (IsWindowEnabled(window) ? "" : " disabled") +
            (window == threadInfo().hwndActive ? " active" : "") + "]";
    return TRUE;
}

BOOL CALLBACK noteShown(HWND window, LPARAM shown) {
    *reinterpret_cast<bool*>(shown) |= IsWindowVisible(window) != FALSE;
    return TRUE;
}

// The visible top-level windows of the windows' thread, for a failure's message.
std::string threadWindows() {
    std::string out;
    EnumThreadWindows(windowThread.load(), &describeWindow, reinterpret_cast<LPARAM>(&out));
    return out;
}

HWND tree(HWND page) {
    return item(page, 1006);
}

std::string itemText(HWND tree, LRESULT handle) {
    char text[256] = "";
    TVITEMA entry{};
    entry.mask = TVIF_TEXT;
    entry.hItem = reinterpret_cast<HTREEITEM>(handle);
    entry.pszText = text;
    entry.cchTextMax = sizeof text;
    send(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
    return text;
}

void appendItems(HWND tree, LRESULT first, std::string* out) {
    for (LRESULT at = first; at != 0;) {
        *out += itemText(tree, at);
        LRESULT child = send(tree, TVM_GETNEXTITEM, TVGN_CHILD, at);
        if (child != 0) {
            *out += "[";
            appendItems(tree, child, out);
            *out += "]";
        }
        at = send(tree, TVM_GETNEXTITEM, TVGN_NEXT, at);
        if (at != 0)
            *out += ",";
    }
}

void appendOpenItems(HWND tree, LRESULT first, std::string* out) {
    for (LRESULT at = first; at != 0; at = send(tree, TVM_GETNEXTITEM, TVGN_NEXT, at)) {
        if (send(tree, TVM_GETITEMSTATE, at, TVIS_EXPANDED) & TVIS_EXPANDED)
            *out += itemText(tree, at) + " ";
        appendOpenItems(tree, send(tree, TVM_GETNEXTITEM, TVGN_CHILD, at), out);
    }
}

LRESULT findItem(HWND tree, LRESULT first, const std::string& text) {
    for (LRESULT at = first; at != 0; at = send(tree, TVM_GETNEXTITEM, TVGN_NEXT, at)) {
        if (itemText(tree, at) == text)
            return at;
        if (LRESULT found = findItem(tree, send(tree, TVM_GETNEXTITEM, TVGN_CHILD, at), text))
            return found;
    }
    return 0;
}

HWND tabControl(HWND sheet) {
    return reinterpret_cast<HWND>(send(sheet, PSM_GETTABCONTROL));
}

}  // namespace

const Module& module() {
    // From the program's own folder, where the Windows build puts every library.
    static const Module loaded =
        loadModule(platform::folderOfCode(reinterpret_cast<const void*>(&module)) + "figure.dll");
    return loaded;
}

std::string className(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool isMessageBox(HWND window) {
    // A dialog with a text and buttons only: no edit, no file boxes, no pages.
    return window != nullptr && className(window) == "#32770" &&
           GetDlgItem(window, kMessageTextId) != nullptr &&
           FindWindowExA(window, nullptr, "Edit", nullptr) == nullptr &&
           GetDlgItem(window, kFileNameBox) == nullptr && GetDlgItem(window, kSheetTabs) == nullptr;
}

HWND ownerOf(HWND window) {
    return GetWindow(window, GW_OWNER);
}

Script& Script::on(const std::string& window, std::function<void(HWND)> action) {
    steps_.push_back(Step{window, std::move(action)});
    return *this;
}

int Script::run(const std::function<int()>& call) {
    windowThread = GetCurrentThreadId();
    HHOOK watch = SetWindowsHookExA(WH_GETMESSAGE, &watchLoops, nullptr, GetCurrentThreadId());
    EXPECT_NE(watch, nullptr) << "no message hook: " << GetLastError();
    std::atomic<bool> called{false};
    std::atomic<bool> finished{false};
    size_t next = 0;
    std::thread driver([&] {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds_);
        bool timedOut = false;
        HWND lastSeen = nullptr;
        while (!called.load()) {
            HWND active = threadInfo().hwndActive;
            if (!timedOut && std::chrono::steady_clock::now() > deadline) {
                timedOut = true;
                ADD_FAILURE() << "time limit of " << seconds_ << " s: still open: "
                              << (active ? windowText(active) : std::string("nothing"))
                              << "; steps run: " << next << " of " << steps_.size()
                              << "; windows: " << threadWindows();
            }
            if (timedOut) {
                // Every window is closed, innermost first, until the call returns.
                if (active != nullptr)
                    PostMessageA(active, WM_CLOSE, 0, 0);
                Sleep(20);
                continue;
            }
            if (active == nullptr || !ready(active)) {
                Sleep(2);
                continue;
            }
            if (active != lastSeen) {
                lastSeen = active;
                if (isMessageBox(active))
                    messages_.push_back(windowText(active) + ": " +
                                        windowText(GetDlgItem(active, kMessageTextId)));
            }
            if (next < steps_.size() && matches(steps_[next].window, active)) {
                // What the thread does on coming back to the window (a closed message box's
                // caller setting the focus) is done before the step looks.
                settle();
                std::function<void(HWND)> action = steps_[next++].action;
                action(active);
                continue;
            }
            Sleep(2);
        }
        finished = true;
    });
    int result = call();
    called = true;
    // The driver may be waiting on a message to this thread.
    pumpUntil(finished);
    driver.join();
    if (watch != nullptr)
        UnhookWindowsHookEx(watch);
    EXPECT_EQ(next, steps_.size())
        << "a step's window never came: " << steps_[std::min(next, steps_.size() - 1)].window;
    return result;
}

std::string text(HWND window, int id) {
    return windowText(item(window, id));
}

bool isChecked(HWND window, int id) {
    HWND control = item(window, id);
    return control != nullptr && send(control, BM_GETCHECK) == BST_CHECKED;
}

bool isEnabled(HWND window, int id) {
    HWND control = item(window, id);
    return control != nullptr && IsWindowEnabled(control);
}

bool isVisible(HWND window, int id) {
    HWND control = item(window, id);
    return control != nullptr && IsWindowVisible(control);
}

bool isReadOnly(HWND window, int id) {
    HWND control = item(window, id);
    return control != nullptr && (GetWindowLongA(control, GWL_STYLE) & ES_READONLY) != 0;
}

bool hasFocus(HWND window, int id) {
    HWND control = item(window, id);
    return control != nullptr && threadInfo().hwndFocus == control;
}

void click(HWND window, int id) {
    HWND control = item(window, id);
    if (control == nullptr)
        return;
    sendAndGoOn(control, BM_CLICK);
    settle();
}

void type(HWND window, int id, const std::string& typed) {
    HWND control = item(window, id);
    if (control == nullptr)
        return;
    send(GetAncestor(control, GA_ROOT), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    sendAndGoOn(control, EM_SETSEL, 0, -1);
    if (typed.empty())
        sendAndGoOn(control, WM_CHAR, VK_BACK, 1);
    for (char c : typed)
        sendAndGoOn(control, WM_CHAR, static_cast<unsigned char>(c), 1);
    settle();
}

void press(HWND window, int id, Key key, int times) {
    HWND control = item(window, id);
    if (control == nullptr)
        return;
    WPARAM code = key == Key::Up ? VK_UP : VK_DOWN;
    for (int i = 0; i < times; ++i) {
        sendAndGoOn(control, WM_KEYDOWN, code, 1);
        sendAndGoOn(control, WM_KEYUP, code, 1 | (1u << 30) | (1u << 31));
    }
    settle();
}

void clickArrow(HWND window, int id, Key arrow, int times) {
    HWND control = item(window, id);
    if (control == nullptr)
        return;
    // A vertical up-down: its upper half is the up arrow.
    RECT area{};
    GetClientRect(control, &area);
    const int x = (area.right - area.left) / 2;
    const int y =
        arrow == Key::Up ? (area.bottom - area.top) / 4 : (area.bottom - area.top) * 3 / 4;
    const LPARAM at = MAKELPARAM(x, y);
    for (int i = 0; i < times; ++i) {
        sendAndGoOn(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
        sendAndGoOn(control, WM_LBUTTONUP, 0, at);
        settle();
    }
}

std::string pageTabs(HWND sheet) {
    HWND tabs = tabControl(sheet);
    std::string out;
    LRESULT count = send(tabs, TCM_GETITEMCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        char name[64] = "";
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = name;
        tab.cchTextMax = sizeof name;
        send(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
        out += (i > 0 ? "," : "") + std::string(name);
    }
    return out;
}

std::string currentPage(HWND sheet) {
    HWND page = reinterpret_cast<HWND>(send(sheet, PSM_GETCURRENTPAGEHWND));
    return windowText(page);
}

HWND openPage(HWND sheet, const std::string& tab) {
    std::string tabs = pageTabs(sheet) + ",";
    int index = 0;
    for (size_t at = 0; at < tabs.size();) {
        size_t end = tabs.find(',', at);
        if (tabs.substr(at, end - at) == tab)
            break;
        ++index;
        at = end + 1;
    }
    HWND page = reinterpret_cast<HWND>(send(sheet, PSM_INDEXTOHWND, static_cast<WPARAM>(index)));
    // A click on the tab of the page shown changes nothing.
    if (page == nullptr || page != reinterpret_cast<HWND>(send(sheet, PSM_GETCURRENTPAGEHWND))) {
        sendAndGoOn(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        settle();
        page = reinterpret_cast<HWND>(send(sheet, PSM_INDEXTOHWND, static_cast<WPARAM>(index)));
    }
    EXPECT_NE(page, nullptr) << "no page " << tab;
    return page;
}

void clickSheetButton(HWND sheet, int id) {
    click(sheet, id);
}

bool isSheetButtonEnabled(HWND sheet, int id) {
    return isEnabled(sheet, id);
}

std::string limbList(HWND page) {
    HWND limbs = tree(page);
    std::string out;
    if (limbs != nullptr)
        appendItems(limbs, send(limbs, TVM_GETNEXTITEM, TVGN_ROOT), &out);
    return out;
}

std::string selectedLimb(HWND page) {
    HWND limbs = tree(page);
    LRESULT selected = limbs != nullptr ? send(limbs, TVM_GETNEXTITEM, TVGN_CARET) : 0;
    return selected != 0 ? itemText(limbs, selected) : std::string();
}

void clickLimb(HWND page, const std::string& name, bool twice) {
    HWND limbs = tree(page);
    if (limbs == nullptr)
        return;
    LRESULT found = findItem(limbs, send(limbs, TVM_GETNEXTITEM, TVGN_ROOT), name);
    ASSERT_NE(found, 0) << "no item " << name;
    for (LRESULT up = send(limbs, TVM_GETNEXTITEM, TVGN_PARENT, found); up != 0;
         up = send(limbs, TVM_GETNEXTITEM, TVGN_PARENT, up))
        send(limbs, TVM_EXPAND, TVE_EXPAND, up);
    send(limbs, TVM_ENSUREVISIBLE, 0, found);
    RECT area{};
    // The item goes in, in the rectangle's place.
    HTREEITEM asked = reinterpret_cast<HTREEITEM>(found);
    std::memcpy(&area, &asked, sizeof asked);
    ASSERT_NE(send(limbs, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&area)), 0);
    LPARAM where = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    // Mouse input is posted, as the system posts it.
    PostMessageA(limbs, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(limbs, WM_LBUTTONUP, 0, where);
    if (twice) {
        PostMessageA(limbs, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        PostMessageA(limbs, WM_LBUTTONUP, 0, where);
        return;
    }
    for (int wait = 0; wait < 500 && send(limbs, TVM_GETNEXTITEM, TVGN_CARET) != found; ++wait)
        Sleep(2);
    EXPECT_EQ(selectedLimb(page), name);
}

std::string openLimbs(HWND page) {
    HWND limbs = tree(page);
    std::string open;
    if (limbs != nullptr)
        appendOpenItems(limbs, send(limbs, TVM_GETNEXTITEM, TVGN_ROOT), &open);
    return open;
}

std::string messageText(HWND box) {
    return windowText(GetDlgItem(box, kMessageTextId));
}

void acceptMessage(HWND box) {
    click(box, IDOK);
}

std::string caption(HWND window) {
    return windowText(window);
}

std::vector<std::string> fileFilters(HWND dialog) {
    HWND types = item(dialog, kFileTypeBox);
    std::vector<std::string> filters;
    LRESULT count = types != nullptr ? send(types, CB_GETCOUNT) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        std::string name(static_cast<size_t>(send(types, CB_GETLBTEXTLEN, i)) + 1, '\0');
        name.resize(
            static_cast<size_t>(send(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&name[0]))));
        filters.push_back(name);
    }
    return filters;
}

void chooseFile(HWND dialog, int filter, const std::string& path) {
    HWND types = item(dialog, kFileTypeBox);
    HWND name = item(dialog, kFileNameBox);
    ASSERT_TRUE(types && name);
    // The filter first, picked as a person picks it: the choice, then its confirmation.
    send(types, CB_SETCURSEL, static_cast<WPARAM>(filter - 1));
    send(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeBox, CBN_SELCHANGE),
         reinterpret_cast<LPARAM>(types));
    send(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeBox, CBN_SELENDOK),
         reinterpret_cast<LPARAM>(types));
    send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    click(dialog, IDOK);
}

bool anyWindowShown() {
    bool shown = false;
    EnumThreadWindows(GetCurrentThreadId(), &noteShown, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

// The window as it shows on the screen, as a 24-bit bottom-up BMP file.
std::string savePicture(HWND window, const std::string& folder, const std::string& name) {
    // Let the last change paint.
    Sleep(400);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
    RECT area{};
    GetWindowRect(window, &area);
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return std::string();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::string path = folder + "\\" + name + "-windows.bmp";
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return out.good() ? path : std::string();
}

int runWindowTests(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace ui_test
