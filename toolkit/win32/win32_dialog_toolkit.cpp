// The dialog toolkit over the system's own dialogs and common controls (user32, comctl32,
// comdlg32): dialogs and property pages made from templates built in memory, a modal property
// sheet, the common file dialogs and message boxes. Built as figure_toolkit.dll, which the module
// loads from its own folder the first time a window opens; it needs only system libraries.
//
// Other programs drive these windows as a person does, so what they can see is kept fixed: the
// sheet is a PropertySheetA with the standard OK (1), Cancel (2) and Apply (0x3021, disabled)
// buttons and no Help button; every control with an id is a child window of its page or dialog
// with that id; modal dialogs and message boxes are owned by the window they open over, which
// is disabled meanwhile. Everything runs on the thread that opened the first window, in modal
// loops; other threads may drive the windows with SendMessage and PostMessage.
#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <string>
#include <vector>

#include "toolkit/dialog_toolkit.h"
#include "toolkit/win32/dialog_template.h"

namespace {

using namespace toolkit;
using win32_toolkit::DialogResource;

// The toolkit's windows that are open on this thread, innermost last: the owner of the next
// window to open. Valid while the outermost modal call runs.
std::vector<HWND> openWindows;

// The window that a new modal window opens over.
HWND ownerWindow() {
    for (auto it = openWindows.rbegin(); it != openWindows.rend(); ++it)
        if (IsWindow(*it))
            return *it;
    return GetActiveWindow();
}

// The library's own instance, for the windows it makes.
HINSTANCE thisInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&ownerWindow), &module);
    return module;
}

// The procedure of tree views before they were subclassed (the class's own, the same for all),
// and whether a tree view is taking the focus just now.
WNDPROC treeViewProcedure = nullptr;
int treeTakingFocus = 0;

// A tree view that takes the focus with nothing selected selects its first item by itself; the
// selection here is the user's choice only, so that selection is refused (see TVN_SELCHANGING).
LRESULT CALLBACK treeViewSubclass(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message != WM_SETFOCUS)
        return CallWindowProcA(treeViewProcedure, window, message, w, l);
    ++treeTakingFocus;
    LRESULT result = CallWindowProcA(treeViewProcedure, window, message, w, l);
    --treeTakingFocus;
    return result;
}

void showMessage(HWND owner, const char* text, const char* caption, uint32_t style) {
    UINT icon = style == kMessageInformation ? MB_ICONINFORMATION : MB_ICONWARNING;
    MessageBoxA(owner, text != nullptr ? text : "", caption != nullptr ? caption : "",
                MB_OK | icon);
}

// The window text of a window, whole.
std::string windowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    int read = GetWindowTextA(window, &text[0], length + 1);
    text.resize(read > 0 ? static_cast<size_t>(read) : 0u);
    return text;
}

// One dialog or property page while it is shown: its controls as the handler sees them.
class TemplateWindow final : public Window {
  public:
    TemplateWindow(const DialogTemplate& layout, Handler& handler, bool modal)
        : layout_(layout), resource_(layout), handler_(handler), modal_(modal) {}

    const DLGTEMPLATE* resource() const { return resource_.get(); }
    Handler& handler() { return handler_; }
    HWND window() const { return window_; }

    // The window exists: its controls are set up and the handler fills them.
    void attach(HWND window) {
        window_ = window;
        HWND lastEdit = nullptr;
        for (size_t i = 0; i < layout_.controlCount; ++i) {
            const ControlTemplate& c = layout_.controls[i];
            HWND control = c.id != kNoId ? GetDlgItem(window, c.id) : nullptr;
            if (control == nullptr)
                continue;
            if (c.kind == kEdit)
                lastEdit = control;
            if (c.kind == kUpDown && lastEdit != nullptr)
                SendMessageA(control, UDM_SETBUDDY, reinterpret_cast<WPARAM>(lastEdit), 0);
            if (c.kind == kTreeView) {
                WNDPROC before = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                    control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&treeViewSubclass)));
                if (before != &treeViewSubclass)
                    treeViewProcedure = before;
            }
        }
        handler_.initialise(*this);
    }

    // A control's notification as the handler's; false when the handler does not hear of it.
    bool command(int id, int code) {
        if (modal_ && (id == IDOK || id == IDCANCEL)) {
            // The buttons, Enter, Escape and the close box all come here.
            handler_.command(id, kClicked);
            return true;
        }
        const ControlTemplate* c = find(id);
        if (c == nullptr)
            return false;
        if (c->kind == kEdit && code == EN_CHANGE) {
            handler_.command(id, kChanged);
            return true;
        }
        if ((c->kind == kPushButton || c->kind == kRadioButton || c->kind == kCheckBox) &&
            code == BN_CLICKED) {
            handler_.command(id, kClicked);
            return true;
        }
        return false;
    }

    // A control's WM_NOTIFY; true with *result set when it is answered here.
    bool notify(const NMHDR& header, LRESULT* result) {
        const ControlTemplate* c = find(static_cast<int>(header.idFrom));
        if (c == nullptr || c->kind != kTreeView)
            return false;
        if (header.code == TVN_SELCHANGINGA || header.code == TVN_SELCHANGINGW) {
            // Refused only when the tree selects by itself as it takes the focus.
            *result = treeTakingFocus > 0 ? TRUE : FALSE;
            return true;
        }
        if (header.code == NM_DBLCLK) {
            handler_.command(c->id, kDoubleClicked);
            *result = 0;
            return true;
        }
        return false;
    }

    const char* text(int id) override {
        HWND control = GetDlgItem(window_, id);
        buffer_ = control != nullptr ? windowText(control) : std::string();
        return buffer_.c_str();
    }
    void setText(int id, const char* text) override {
        HWND control = GetDlgItem(window_, id);
        if (control == nullptr)
            return;
        // An edit notifies a change for every text set, the same or not.
        if (windowText(control) == (text != nullptr ? text : ""))
            return;
        SetWindowTextA(control, text != nullptr ? text : "");
    }
    int isChecked(int id) override {
        HWND control = GetDlgItem(window_, id);
        return control != nullptr && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void setChecked(int id, int checked) override {
        if (HWND control = GetDlgItem(window_, id))
            SendMessageA(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void setEnabled(int id, int enabled) override {
        if (HWND control = GetDlgItem(window_, id))
            EnableWindow(control, enabled ? TRUE : FALSE);
    }
    void focus(int id) override {
        HWND control = GetDlgItem(window_, id);
        if (control == nullptr)
            return;
        // Through the dialog manager of the top window, which keeps the default button right.
        SendMessageA(GetAncestor(window_, GA_ROOT), WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(control), TRUE);
        const ControlTemplate* c = find(id);
        if (c != nullptr && c->kind == kEdit)
            SendMessageA(control, EM_SETSEL, 0, -1);
    }
    void setRange(int id, int low, int high) override {
        if (HWND control = GetDlgItem(window_, id))
            SendMessageA(control, UDM_SETRANGE32, static_cast<WPARAM>(low),
                         static_cast<LPARAM>(high));
    }
    void setTextLimit(int id, int maxChars) override {
        // 0 lifts the limit, as it does for the edit control itself.
        if (HWND control = GetDlgItem(window_, id))
            SendMessageA(control, EM_LIMITTEXT, static_cast<WPARAM>(maxChars > 0 ? maxChars : 0),
                         0);
    }
    void clearTree(int id) override {
        if (HWND control = GetDlgItem(window_, id))
            SendMessageA(control, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    }
    TreeItem insertItem(int id, TreeItem parent, const char* text, void* data) override {
        HWND control = GetDlgItem(window_, id);
        if (control == nullptr)
            return kNoItem;
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent == kNoItem ? TVI_ROOT : reinterpret_cast<HTREEITEM>(parent);
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(text != nullptr ? text : "");
        insert.item.lParam = reinterpret_cast<LPARAM>(data);
        LRESULT item = SendMessageA(control, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
        // Items come only from a rebuild of the list, after which nothing is selected.
        if (SendMessageA(control, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0)
            SendMessageA(control, TVM_SELECTITEM, TVGN_CARET, 0);
        return static_cast<TreeItem>(item);
    }
    void* selectedItemData(int id) override {
        HWND control = GetDlgItem(window_, id);
        if (control == nullptr)
            return nullptr;
        LRESULT selected = SendMessageA(control, TVM_GETNEXTITEM, TVGN_CARET, 0);
        if (selected == 0)
            return nullptr;
        TVITEMA item{};
        item.mask = TVIF_PARAM;
        item.hItem = reinterpret_cast<HTREEITEM>(selected);
        if (!SendMessageA(control, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
            return nullptr;
        return reinterpret_cast<void*>(item.lParam);
    }
    int isExpanded(int id, TreeItem item) override {
        HWND control = GetDlgItem(window_, id);
        if (control == nullptr || item == kNoItem)
            return 0;
        LRESULT state =
            SendMessageA(control, TVM_GETITEMSTATE, static_cast<WPARAM>(item), TVIS_EXPANDED);
        return (state & TVIS_EXPANDED) != 0 ? 1 : 0;
    }
    void setExpanded(int id, TreeItem item, int expanded) override {
        HWND control = GetDlgItem(window_, id);
        if (control != nullptr && item != kNoItem)
            SendMessageA(control, TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE,
                         static_cast<LPARAM>(item));
    }
    void messageBox(const char* text, uint32_t style) override {
        HWND top = GetAncestor(window_, GA_ROOT);
        showMessage(top, text, windowText(top).c_str(), style);
    }
    void end(int result) override {
        if (modal_ && window_ != nullptr) {
            EndDialog(window_, result);
            // Wakes the dialog's modal loop, as for the sheet (see wakeSheet).
            PostMessageA(window_, WM_NULL, 0, 0);
        }
    }
    void setReadOnly(int id, int readOnly) override {
        if (HWND control = GetDlgItem(window_, id))
            SendMessageA(control, EM_SETREADONLY, readOnly != 0 ? TRUE : FALSE, 0);
    }

  private:
    const ControlTemplate* find(int id) const {
        if (id == kNoId)
            return nullptr;
        for (size_t i = 0; i < layout_.controlCount; ++i)
            if (layout_.controls[i].id == id)
                return &layout_.controls[i];
        return nullptr;
    }

    const DialogTemplate& layout_;
    DialogResource resource_;
    Handler& handler_;
    bool modal_;
    HWND window_ = nullptr;
    std::string buffer_;
};

// A dialog procedure's answer to WM_NOTIFY.
INT_PTR answer(HWND dialog, LRESULT result) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

TemplateWindow* windowOf(HWND dialog) {
    return reinterpret_cast<TemplateWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        auto* window = reinterpret_cast<TemplateWindow*>(l);
        SetWindowLongPtrA(dialog, DWLP_USER, l);
        openWindows.push_back(dialog);
        window->attach(dialog);
        return TRUE;
    }
    TemplateWindow* window = windowOf(dialog);
    if (window == nullptr)
        return FALSE;
    if (message == WM_COMMAND)
        return window->command(LOWORD(w), HIWORD(w)) ? TRUE : FALSE;
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (window->notify(*reinterpret_cast<NMHDR*>(l), &result))
            return answer(dialog, result);
    }
    return FALSE;
}

// What one run of a property sheet keeps for its pages.
struct SheetRun {
    std::vector<TemplateWindow*> pages;
    std::vector<bool> entered;  // a page's first activation follows its initialisation
    bool ok = false;
};

struct PageLink {
    SheetRun* run;
    size_t index;
};

// The sheet's modal loop notices that it has ended only when it takes a posted message; when
// OK or Cancel came as a message sent from another thread, none may follow, so one is posted.
void wakeSheet(HWND page) {
    PostMessageA(GetParent(page), WM_NULL, 0, 0);
}

INT_PTR CALLBACK pageProcedure(HWND page, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(l);
        auto* link = reinterpret_cast<PageLink*>(sheetPage->lParam);
        SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(link));
        HWND sheet = GetParent(page);
        if (openWindows.empty() || openWindows.back() != sheet)
            openWindows.push_back(sheet);
        link->run->pages[link->index]->attach(page);
        // The sheet gives the focus to the page's first tab stop.
        return FALSE;
    }
    auto* link = reinterpret_cast<PageLink*>(GetWindowLongPtrA(page, DWLP_USER));
    if (link == nullptr)
        return FALSE;
    TemplateWindow* window = link->run->pages[link->index];
    if (message == WM_COMMAND)
        return window->command(LOWORD(w), HIWORD(w)) ? TRUE : FALSE;
    if (message != WM_NOTIFY)
        return FALSE;
    const NMHDR& header = *reinterpret_cast<NMHDR*>(l);
    switch (header.code) {
        case PSN_SETACTIVE:
            if (link->run->entered[link->index])
                window->handler().enter();
            link->run->entered[link->index] = true;
            return answer(page, 0);
        case PSN_KILLACTIVE:
            // Leaving is refused (TRUE) when a field does not read; the page keeps the focus.
            return answer(page, window->handler().leave() != 0 ? FALSE : TRUE);
        case PSN_APPLY:
            // Apply stays disabled, so this is OK.
            link->run->ok = true;
            wakeSheet(page);
            return answer(page, PSNRET_NOERROR);
        case PSN_RESET:
            wakeSheet(page);
            return answer(page, 0);
        default: {
            LRESULT result = 0;
            if (window->notify(header, &result))
                return answer(page, result);
            return FALSE;
        }
    }
}

// The "description|pattern|...||" filter as the common dialogs take it: parts ended by nulls,
// the whole by a second null.
std::vector<char> systemFilter(const char* filter) {
    std::vector<char> parts;
    for (const char* c = filter != nullptr ? filter : ""; *c != '\0'; ++c)
        parts.push_back(*c == '|' ? '\0' : *c);
    parts.push_back('\0');
    parts.push_back('\0');
    return parts;
}

class Win32Toolkit : public Toolkit {
  public:
    int runDialog(const DialogTemplate& layout, Handler& handler) override {
        TemplateWindow window(layout, handler, true);
        size_t open = openWindows.size();
        INT_PTR result =
            DialogBoxIndirectParamA(thisInstance(), window.resource(), ownerWindow(),
                                    &dialogProcedure, reinterpret_cast<LPARAM>(&window));
        openWindows.resize(open);
        if (result == -1 || result == 0)
            return result == -1 ? kRunFailed : kIdCancel;
        return static_cast<int>(result);
    }

    int runSheet(const char* caption, const SheetPage* pages, size_t count) override {
        SheetRun run;
        std::vector<PageLink> links;
        std::vector<PROPSHEETPAGEA> sheetPages(count);
        run.pages.reserve(count);
        links.reserve(count);
        for (size_t i = 0; i < count; ++i) {
            run.pages.push_back(new TemplateWindow(*pages[i].layout, *pages[i].handler, false));
            run.entered.push_back(false);
            links.push_back(PageLink{&run, i});
        }
        for (size_t i = 0; i < count; ++i) {
            PROPSHEETPAGEA& page = sheetPages[i];
            page = PROPSHEETPAGEA{};
            page.dwSize = sizeof page;
            page.dwFlags = PSP_DLGINDIRECT;
            page.hInstance = thisInstance();
            page.pResource = run.pages[i]->resource();
            page.pfnDlgProc = &pageProcedure;
            page.lParam = reinterpret_cast<LPARAM>(&links[i]);
        }
        PROPSHEETHEADERA header{};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP;
        header.hwndParent = ownerWindow();
        header.hInstance = thisInstance();
        header.pszCaption = caption;
        header.nPages = static_cast<UINT>(count);
        header.nStartPage = 0;
        header.ppsp = sheetPages.data();
        size_t open = openWindows.size();
        INT_PTR result = PropertySheetA(&header);
        openWindows.resize(open);
        for (TemplateWindow* page : run.pages)
            delete page;
        if (result < 0)
            return kRunFailed;
        return run.ok ? kIdOk : kIdCancel;
    }

    void messageBox(const char* text, const char* caption, uint32_t style) override {
        showMessage(ownerWindow(), text, caption, style);
    }

    int chooseFile(const FileRequest& request, FileAnswer* answer) override {
        std::vector<char> filter = systemFilter(request.filter);
        std::vector<char> path(kPathSize, '\0');
        OPENFILENAMEA dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = ownerWindow();
        dialog.lpstrFilter = filter.data();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = path.data();
        dialog.nMaxFile = kPathSize;
        dialog.lpstrTitle = request.title;
        // The host's current folder stays as it is.
        dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        BOOL chosen = FALSE;
        if (request.save) {
            dialog.Flags |= OFN_OVERWRITEPROMPT;
            chosen = GetSaveFileNameA(&dialog);
        } else {
            dialog.Flags |= OFN_FILEMUSTEXIST;
            chosen = GetOpenFileNameA(&dialog);
        }
        if (!chosen || path[0] == '\0')
            return 0;
        size_t length = std::strlen(path.data());
        if (length >= sizeof answer->path)
            return 0;
        std::memcpy(answer->path, path.data(), length + 1);
        answer->filterIndex = dialog.nFilterIndex > 0 ? static_cast<int>(dialog.nFilterIndex) : 1;
        return 1;
    }
};

// Why windows cannot be shown in this process; null when they can.
const char* startControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES;
    if (!InitCommonControlsEx(&controls))
        return "the system's common controls cannot be started";
    // A window that cannot be made now (no desktop, out of resources) will not be made later.
    HWND probe = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 thisInstance(), nullptr);
    if (probe == nullptr)
        return "there is no desktop to show windows on";
    DestroyWindow(probe);
    return nullptr;
}

}  // namespace

extern "C" __declspec(dllexport) Toolkit* figureDialogToolkit(int version, const char** reason) {
    if (version != kInterfaceVersion) {
        if (reason != nullptr)
            *reason = "it was built for another version of the module";
        return nullptr;
    }
    const char* problem = startControls();
    if (problem != nullptr) {
        if (reason != nullptr)
            *reason = problem;
        return nullptr;
    }
    static Win32Toolkit toolkit;
    return &toolkit;
}
