#include "editing/NumEdit.h"

bool CNumEdit::IsAccepted(WPARAM character) {
  return character == 8 || character == 9 || character == '.' ||
         (character >= '0' && character <= '9');
}

LRESULT CNumEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR && !IsAccepted(wParam)) return 0;
  return qv::CWindowBase::WindowProc(message, wParam, lParam);
}
