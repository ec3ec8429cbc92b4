// The status bar control, and the framework's status bar: a message pane followed by key
// indicators whose strings give their texts.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/Controls.h"

namespace qv {

class CStatusBarCtrl : public CWindowBase {
 public:
  bool Create(HWND parent, DWORD style, UINT id);

  bool SetParts(int count, const int* rightEdges) const {
    return SendMessage(SB_SETPARTS, count, reinterpret_cast<LPARAM>(rightEdges)) != 0;
  }
  int GetParts() const { return static_cast<int>(SendMessage(SB_GETPARTS)); }
  void SetText(int pane, const std::string& text) const;
  std::string GetText(int pane) const;
};

class CStatusBar : public CStatusBarCtrl {
 public:
  // Pane 0 is the message pane; each further identifier is an indicator (kana 59142, caps
  // 59137, num 59138, scroll 59139) whose string is its text.
  bool SetIndicators(const UINT* ids, int count);
  void ResizePanes(int width);
  void SetMessageText(const std::string& text) const { SetText(0, text); }
  // String 57345.
  void ShowIdleText() const;
  // Shows each indicator's text while its key is on.
  void UpdateIndicators();

 private:
  struct Indicator {
    UINT id;
    std::string text;
    int width;
    bool on;
  };
  std::vector<Indicator> m_indicators;
};

}  // namespace qv
