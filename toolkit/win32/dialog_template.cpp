#include "toolkit/win32/dialog_template.h"

#include <commctrl.h>

#include <cstring>

namespace win32_toolkit {

using namespace toolkit;

const char* controlClass(ControlKind kind) {
    switch (kind) {
        case kLabel:
            return "Static";
        case kEdit:
            return "Edit";
        case kTreeView:
            return WC_TREEVIEWA;
        case kUpDown:
            return UPDOWN_CLASSA;
        case kGroupBox:
        case kPushButton:
        case kRadioButton:
        case kCheckBox:
            break;
    }
    return "Button";
}

DWORD controlStyle(const ControlTemplate& c, const ControlTemplate* previous) {
    DWORD style = WS_CHILD;
    if ((c.style & kHidden) == 0)
        style |= WS_VISIBLE;
    if (c.style & kDisabled)
        style |= WS_DISABLED;
    switch (c.kind) {
        case kLabel:
            style |= SS_LEFT | WS_GROUP;
            break;
        case kGroupBox:
            style |= BS_GROUPBOX | WS_GROUP;
            break;
        case kEdit:
            style |= ES_LEFT | WS_TABSTOP | WS_GROUP;
            if ((c.style & kNoBorder) == 0)
                style |= WS_BORDER;
            if (c.style & kScrollsHorizontally)
                style |= ES_AUTOHSCROLL;
            if (c.style & kReadOnly)
                style |= ES_READONLY;
            break;
        case kPushButton:
            style |= ((c.style & kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP |
                     WS_GROUP;
            break;
        case kRadioButton:
            // A run of radio buttons is one group: the first starts it and is its tab stop.
            style |= BS_AUTORADIOBUTTON;
            if (previous == nullptr || previous->kind != kRadioButton)
                style |= WS_GROUP | WS_TABSTOP;
            break;
        case kCheckBox:
            style |= BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP;
            break;
        case kTreeView:
            // The selection stays visible while a button has the focus.
            style |= WS_BORDER | WS_TABSTOP | WS_GROUP | TVS_SHOWSELALWAYS;
            if (c.style & kTreeButtons)
                style |= TVS_HASBUTTONS;
            if (c.style & kTreeLines)
                style |= TVS_HASLINES;
            if (c.style & kTreeLinesAtRoot)
                style |= TVS_LINESATROOT;
            break;
        case kUpDown:
            // Its buddy is the control made just before it: the edit it steps.
            style |= UDS_AUTOBUDDY | UDS_NOTHOUSANDS;
            if (c.style & kUpDownArrowKeys)
                style |= UDS_ARROWKEYS;
            if (c.style & kUpDownSetsNumber)
                style |= UDS_SETBUDDYINT;
            break;
    }
    return style;
}

DWORD dialogStyle(const DialogTemplate& layout) {
    DWORD style = DS_SETFONT | DS_3DLOOK;
    if (layout.style & kChildPage)
        style |= WS_CHILD | WS_CAPTION;
    else
        style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    return style;
}

void DialogResource::addDword(DWORD value) {
    add(LOWORD(value));
    add(HIWORD(value));
}

void DialogResource::addText(const char* text) {
    if (text == nullptr || *text == '\0') {
        add(0);
        return;
    }
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::vector<WCHAR> wide(length > 0 ? static_cast<size_t>(length) : 1u, 0);
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    for (WCHAR c : wide)
        add(static_cast<WORD>(c));
    if (wide.back() != 0)
        add(0);
}

void DialogResource::alignToDword() {
    if (words_.size() % 2 != 0)
        add(0);
}

DialogResource::DialogResource(const DialogTemplate& layout) {
    // DLGTEMPLATE: style, extended style, item count, x, y, cx, cy; then menu, class, caption
    // and, with DS_SETFONT, the point size and the typeface.
    addDword(dialogStyle(layout));
    addDword(0);
    add(static_cast<WORD>(layout.controlCount));
    add(0);
    add(0);
    add(static_cast<WORD>(layout.width));
    add(static_cast<WORD>(layout.height));
    add(0);
    add(0);
    addText(layout.caption);
    add(static_cast<WORD>(layout.fontPoints > 0 ? layout.fontPoints : 8));
    addText(layout.fontName != nullptr ? layout.fontName : "MS Shell Dlg");
    const ControlTemplate* previous = nullptr;
    for (size_t i = 0; i < layout.controlCount; ++i) {
        const ControlTemplate& c = layout.controls[i];
        // DLGITEMTEMPLATE, on a DWORD boundary: style, extended style, x, y, cx, cy, id; then
        // the class, the caption and the size of creation data (none).
        alignToDword();
        addDword(controlStyle(c, previous));
        addDword(0);
        add(static_cast<WORD>(c.x));
        add(static_cast<WORD>(c.y));
        add(static_cast<WORD>(c.width));
        add(static_cast<WORD>(c.height));
        add(static_cast<WORD>(c.id));  // kNoId is 0xFFFF, the resource compiler's IDC_STATIC
        addText(controlClass(c.kind));
        addText(c.caption);
        add(0);
        previous = &c;
    }
}

}  // namespace win32_toolkit
