// The edit control of the condition and options dialogs that takes only digits, ".",
// backspace and tab as typed characters; the clipboard and undo shortcuts go with the rest.
#pragma once

#include "framework/WindowBase.h"

class CNumEdit : public qv::CWindowBase {
 public:
  // True for the characters the control lets through.
  static bool IsAccepted(WPARAM character);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
