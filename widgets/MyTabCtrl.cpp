#include "widgets/MyTabCtrl.h"

#include "framework/Cp932.h"
#include "framework/Frame.h"
#include "framework/UserHandles.h"

namespace {

qv::UniqueFont CopyFont(HFONT font) {
  LOGFONTW description{};
  if (font == nullptr || ::GetObjectW(font, sizeof(description), &description) == 0)
    return qv::UniqueFont();
  return qv::UniqueFont(::CreateFontIndirectW(&description));
}

LONG FontHeight(HFONT font) {
  LOGFONTW description{};
  if (font == nullptr || ::GetObjectW(font, sizeof(description), &description) == 0) return 0;
  return description.lfHeight;
}

}  // namespace

int CMyTabCtrl::AddHandle(qv::CWindowBase* window, int position) {
  const int count = GetItemCount();
  for (int i = 0; i < count; ++i) {
    if (GetItemData(i) == reinterpret_cast<LPARAM>(window)) return -1;
  }
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_PARAM;
  wchar_t empty[] = L"";
  item.pszText = empty;
  item.lParam = reinterpret_cast<LPARAM>(window);
  const int index = InsertItem(position == -1 ? count : position, item);
  NotifyTabCountChange();
  return index;
}

void CMyTabCtrl::RemoveHandle(const qv::CWindowBase* window) {
  const int index = GetItemPos(window);
  if (index >= 0) DeleteItem(index);
}

void CMyTabCtrl::SetItemText(int index, const std::string& text) {
  std::wstring wide = qv::Cp932ToWide(text);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = wide.data();
  SetItem(index, item);
  Invalidate();
}

BOOL CMyTabCtrl::SetItemData(int index, LPARAM data) {
  if (index < 0 || index >= GetItemCount()) return FALSE;
  TCITEMW item{};
  item.mask = TCIF_PARAM;
  item.lParam = data;
  return SetItem(index, item) ? TRUE : FALSE;
}

LPARAM CMyTabCtrl::GetItemData(int index) const {
  TCITEMW item{};
  item.mask = TCIF_PARAM;
  if (index < 0 || !GetItem(index, item)) return 0;
  return item.lParam;
}

int CMyTabCtrl::GetItemPos(const qv::CWindowBase* window) const {
  const int count = GetItemCount();
  for (int i = 0; i < count; ++i) {
    if (GetItemData(i) == reinterpret_cast<LPARAM>(window)) return i;
  }
  return -1;
}

qv::CWindowBase* CMyTabCtrl::WindowAt(int index) const {
  return reinterpret_cast<qv::CWindowBase*>(GetItemData(index));
}

int CMyTabCtrl::SetCurSelEx(qv::CWindowBase* window) {
  const int index = GetItemPos(window);
  return index < 0 ? -1 : SetCurSelEx(index);
}

int CMyTabCtrl::SetCurSelEx(int index) {
  if (index < 0 || index >= GetItemCount()) return -1;
  const int previous = SetCurSel(index);
  ActivateWindow(WindowAt(index));
  return previous;
}

BOOL CMyTabCtrl::ActivateWindow(qv::CWindowBase* window) {
  if (window == nullptr || !window->IsWindow()) return FALSE;
  qv::CFrameWindow* frame = qv::GetParentFrame(m_hWnd);
  if (frame == nullptr) return FALSE;
  const HWND pane = frame->GetDlgItem(qv::kFirstPaneId);
  if (pane == window->Handle()) return FALSE;

  frame->SetActiveView(nullptr, true);
  window->SetWindowPos(HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
  // The two windows swap identifiers: the new pane takes 59648, the old one the new pane's.
  const int previousId = window->SetDlgCtrlID(qv::kFirstPaneId);
  if (pane != nullptr) {
    ::SetWindowPos(pane, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW);
    qv::CWindow(pane).SetDlgCtrlID(previousId);
  }
  frame->RecalcLayout(true);
  if (m_wParamAfterActivate != 0) {
    frame->SendMessage(WM_COMMAND, m_wParamAfterActivate, reinterpret_cast<LPARAM>(window));
  }
  return TRUE;
}

void CMyTabCtrl::CloseItem(int index) {
  if (index < 1 || index >= GetItemCount()) return;  // tab 0 is never closed
  if (GetCurSel() == index && SetCurSelEx(index - 1) < 0) return;
  qv::CWindowBase* window = WindowAt(index);
  DeleteItem(index);
  if (window == nullptr) return;
  if (window->IsWindow()) window->SendMessage(WM_CLOSE);
  delete window;
  NotifyTabCountChange();
}

void CMyTabCtrl::SetFonts(HFONT first, HFONT second) {
  m_font1 = CopyFont(first);
  m_font2 = CopyFont(second);
  SetFont(FontHeight(first) > FontHeight(second) ? m_font1.Get() : m_font2.Get(), true);
}

void CMyTabCtrl::NotifyTabCountChange() {
  if (m_wParamAfterTabCountChange == 0) return;
  if (qv::CFrameWindow* frame = qv::GetParentFrame(m_hWnd))
    frame->SendMessage(WM_COMMAND, m_wParamAfterTabCountChange, 0);
}

LRESULT CMyTabCtrl::OnSize(UINT, int, int) {
  const LRESULT result = Default();
  NotifyTabCountChange();
  return result;
}

LRESULT CMyTabCtrl::OnSizing(UINT, RECT*) {
  const LRESULT result = Default();
  NotifyTabCountChange();
  return result;
}

bool CMyTabCtrl::OnReflectedNotify(NMHDR* header, LRESULT& result) {
  if (header->code != TCN_SELCHANGE) return false;
  const int selection = GetCurSel();
  if (selection >= 0) SetCurSelEx(selection);
  result = 0;
  return true;
}

LRESULT CMyTabCtrl::OnLButtonDblClk(UINT, POINT pt) {
  if (m_bStaticTabMode) return 0;
  const int index = HitTest(pt);
  if (index >= 0) CloseItem(index);
  return 0;
}

LRESULT CMyTabCtrl::OnMButtonDown(UINT, POINT pt) {
  if (!m_bStaticTabMode) {
    const int index = HitTest(pt);
    if (index >= 0) CloseItem(index);
  }
  return Default();
}

LRESULT CMyTabCtrl::OnRButtonDown(UINT, POINT pt) {
  const int index = HitTest(pt);
  if (index < 0) return 0;
  SetCurSelEx(index);
  if (index == 0) return 0;

  qv::UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return Default();
  if (!m_bStaticTabMode) {
    ::AppendMenuW(menu.Get(), MF_STRING, kCommandClose, qv::Cp932ToWide("閉じる").c_str());
    ::AppendMenuW(menu.Get(), MF_STRING, kCommandCloseAll, qv::Cp932ToWide("全て閉じる").c_str());
  }
  const POINT screen = ClientToScreen(pt);
  ::SetForegroundWindow(::GetAncestor(m_hWnd, GA_ROOT));
  const UINT command = static_cast<UINT>(
      ::TrackPopupMenu(menu.Get(), TPM_RETURNCMD, screen.x, screen.y, 0, m_hWnd, nullptr));
  PostMessage(WM_NULL);
  if (command == kCommandClose) {
    CloseItem(GetCurSel());
  } else if (command == kCommandCloseAll) {
    while (GetItemCount() >= 2) {
      const int before = GetItemCount();
      CloseItem(1);
      if (GetItemCount() == before) break;  // a tab that cannot be closed ends the loop
    }
  }
  return Default();
}
