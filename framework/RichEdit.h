// The rich edit control (version 2, from RICHED20.DLL, which the program loads first).
#pragma once

#include <windows.h>

#include <richedit.h>

#include <string>

#include "framework/Controls.h"

namespace qv {

class CRichEditCtrl : public CWindowBase {
 public:
  bool Create(HWND parent, DWORD style, UINT id, DWORD exStyle = 0);

  // In characters as the selection counts them (a line break is one).
  LONG GetTextLength() const {
    GETTEXTLENGTHEX how{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<LONG>(SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how)));
  }
  void SetSel(LONG start, LONG end) const {
    CHARRANGE range{start, end};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  }
  void ReplaceSel(const std::string& text, bool canUndo = false) const;
  void LimitText(LONG limit) const { SendMessage(EM_EXLIMITTEXT, 0, limit); }
  void SetReadOnly(bool on) const { SendMessage(EM_SETREADONLY, on ? TRUE : FALSE); }
  // Moves the caret to the end and appends the text there.
  void AppendText(const std::string& text) const;
};

}  // namespace qv
