// Dialog templates in memory, built from the module's own layouts: the DLGTEMPLATE a resource
// script's DIALOG statement would compile to, for DialogBoxIndirectParamA and property pages of
// PSP_DLGINDIRECT. Positions and sizes stay in dialog units; the system turns them into pixels
// with the template's font (or the font it substitutes for it).
#pragma once

#include <windows.h>

#include <vector>

#include "toolkit/dialog_toolkit.h"

namespace win32_toolkit {

// The system's window class of each control kind, as a name.
const char* controlClass(toolkit::ControlKind kind);
// The window styles of a control of the template (WS_*, ES_*, BS_*, TVS_*, UDS_*); previous is
// the control before it in tab order (null for the first), which decides where radio buttons
// start a group.
DWORD controlStyle(const toolkit::ControlTemplate& control,
                   const toolkit::ControlTemplate* previous);
// The window styles of the dialog itself.
DWORD dialogStyle(const toolkit::DialogTemplate& layout);

// One DLGTEMPLATE with its items, aligned as the system reads it. Texts are turned into the
// system's wide characters from its code page.
class DialogResource {
  public:
    explicit DialogResource(const toolkit::DialogTemplate& layout);
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void add(WORD word) { words_.push_back(word); }
    void addDword(DWORD value);
    void addText(const char* text);
    void alignToDword();

    std::vector<WORD> words_;
};

}  // namespace win32_toolkit
