// The log view: a read-only wide rich edit control that shows the log lines. Lines arrive in
// code page 932 and are converted explicitly, so that they read right whatever the system's
// own code page is; the text limit is raised so that a long log is never cut. The view is the
// first target of the main window's commands: copy and select all work on it, and a context
// menu offers them.
#pragma once

#include <string>

#include "framework/Command.h"
#include "framework/RichEdit.h"

class CLogEditCtrl : public qv::CRichEditCtrl, public qv::CCommandTarget {
 public:
  // "すべて選択" of the context menu.
  static constexpr UINT kSelectAllCommand = 32771;

  // The view as a child with its styles, borderless, in the default GUI font in black.
  bool CreateView(HWND parent, UINT id);
  // Makes the font and the colour the view's default character format.
  void SetLogFont(const LOGFONTW& font, COLORREF color);
  // The view's font, in black.
  void SetLogFont(HFONT font);
  // The line and "\r\n" at the end of the text, not undoable. The empty selection (-1, -1)
  // is the end of the text without counting it, which a long log would make slow.
  void AppendLine(const std::string& line) const {
    SetSel(-1, -1);
    ReplaceSel(line + "\r\n");
  }
  // The whole text replaced by these code page 932 bytes, the caret at the end.
  void SetLogText(const std::string& text) const;
  // Ctrl+V becomes a paste of plain text; the key itself never reaches the control.
  bool PreTranslateMessage(const MSG& msg) const;

  bool OnCommand(UINT id) override;
  bool OnUpdateCommand(qv::CCommandUI& ui) override;
  bool HasCommand(UINT id) const override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnRButtonDown(UINT flags, POINT pt) override;

 private:
  void ShowContextMenu(POINT clientPoint);
  void EraseBackground(HDC dc);

  LOGFONTW m_logFont{};
  CHARFORMAT2W m_charFormat{};
  COLORREF m_crBackground = RGB(255, 255, 255);
};
