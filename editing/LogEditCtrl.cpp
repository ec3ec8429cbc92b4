#include "editing/LogEditCtrl.h"

namespace {

// Far above anything a log reaches; the control's default would cut it at 32K characters.
constexpr LONG kTextLimit = 0x7FFFFFFE;

}  // namespace

bool CLogEditCtrl::CreateView(HWND parent, UINT id) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE |
                      ES_AUTOVSCROLL | ES_NOHIDESEL | ES_READONLY | ES_WANTRETURN | WS_BORDER;
  if (!Create(parent, style, id, WS_EX_STATICEDGE)) return false;
  ModifyStyle(WS_BORDER, 0);
  ModifyExStyle(WS_EX_STATICEDGE, 0);
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  LimitText(kTextLimit);
  SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  return true;
}
