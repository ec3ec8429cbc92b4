// The log view: a read-only wide rich edit control that shows the log lines. Lines arrive in
// code page 932 and are converted explicitly, so that they read right whatever the system's
// own code page is; the text limit is raised so that a long log is never cut.
#pragma once

#include <string>

#include "framework/RichEdit.h"

class CLogEditCtrl : public qv::CRichEditCtrl {
 public:
  // The view as a child with its styles, borderless, in the default GUI font.
  bool CreateView(HWND parent, UINT id);
  // The line and "\r\n" at the end of the text, not undoable. The empty selection (-1, -1)
  // is the end of the text without counting it, which a long log would make slow.
  void AppendLine(const std::string& line) const {
    SetSel(-1, -1);
    ReplaceSel(line + "\r\n");
  }
};
