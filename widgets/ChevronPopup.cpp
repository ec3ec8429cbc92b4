#include "widgets/ChevronPopup.h"

#include <algorithm>
#include <vector>

#include "framework/Application.h"
#include "widgets/ChevronLayout.h"

namespace {

constexpr wchar_t kPopupClass[] = L"QuorvelChevronPopup";
constexpr DWORD kPopupStyle = 0x80800000;    // WS_POPUP | WS_BORDER
constexpr DWORD kToolBarStyle = 0x40000b40;  // child, flat, wrappable, tool tips, no divider

qv::chevron::Rect ToRect(const RECT& rc) {
  return {rc.left, rc.top, rc.right, rc.bottom};
}

HWND MainWindow() {
  qv::CApplication* app = qv::CApplication::Current();
  return app != nullptr ? app->MainWindowHandle() : nullptr;
}

}  // namespace

bool CChevronPopup::CreatePopup(HWND rebar) {
  if (!RegisterWindowClass(kPopupClass, CS_HREDRAW | CS_VREDRAW)) return false;
  return Create(kPopupClass, rebar, std::string(), kPopupStyle, WS_EX_TOOLWINDOW, RECT{0, 0, 0, 0},
                0);
}

void CChevronPopup::ShowPopup(HWND frame, const qv::CToolBarCtrl& source, const RECT& visible,
                              POINT point) {
  if (HWND main = MainWindow()) ::SetFocus(main);
  m_bActive = TRUE;
  if (m_toolBar.Handle() != nullptr) m_toolBar.DestroyWindow();
  m_imageList.Reset();
  m_disabledImageList.Reset();

  if (!m_toolBar.Create(m_hWnd, kToolBarStyle, kToolBarId)) {
    m_bActive = FALSE;
    return;
  }
  m_toolBar.SetExtendedStyle(source.GetExtendedStyle());
  m_imageList.Reset(::ImageList_Duplicate(source.GetImageList()));
  m_disabledImageList.Reset(::ImageList_Duplicate(source.GetDisabledImageList()));
  m_toolBar.SetImageList(m_imageList.Get());
  m_toolBar.SetDisabledImageList(m_disabledImageList.Get());
  m_hWndOwner = frame;

  std::vector<TBBUTTON> hidden;
  const int count = source.GetButtonCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    RECT rc{};
    if (!source.GetButton(i, button) || (button.fsStyle & BTNS_SEP)) continue;
    if (!source.GetItemRect(i, rc)) continue;
    if (qv::chevron::IsWhollyVisible(ToRect(rc), ToRect(visible))) continue;
    TBBUTTON copy{};
    copy.iBitmap = button.iBitmap;
    copy.idCommand = button.idCommand;
    copy.fsState = button.fsState;
    copy.fsStyle = button.fsStyle;
    copy.iString = -1;
    hidden.push_back(copy);
  }
  if (hidden.empty() || !m_toolBar.AddButtons(static_cast<int>(hidden.size()), hidden.data())) {
    // Nothing to show: the frame's caption must not stay drawn active.
    m_bActive = FALSE;
    return;
  }

  // The pop-up starts as wide as one row of buttons: a toolbar that wraps its buttons by the
  // width it gets from its parent would otherwise put each button on a row of its own.
  const int rows = qv::chevron::PopupRows(static_cast<int>(hidden.size()));
  const int perRow = (static_cast<int>(hidden.size()) + rows - 1) / rows;
  const DWORD buttonSize = m_toolBar.GetButtonSize();
  SetWindowPos(nullptr, 0, 0, perRow * LOWORD(buttonSize) + LOWORD(m_toolBar.GetPadding()),
               HIWORD(buttonSize), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_toolBar.AutoSize();
  RECT bounds{};
  m_toolBar.SetRows(rows, true, bounds);
  const DWORD padding = m_toolBar.GetPadding();
  int width = bounds.right - bounds.left;
  if (width == 0) width = m_toolBar.GetMaxSize().cx;
  width += LOWORD(padding);
  const int height = bounds.bottom - bounds.top + HIWORD(padding);

  const qv::chevron::Rect placed =
      qv::chevron::PlacePopup(point.x, point.y, width, height, ::GetSystemMetrics(SM_CXSCREEN),
                              ::GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(nullptr, placed.left, placed.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  m_toolBar.SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  m_toolBar.ShowWindow(SW_SHOW);
  ShowWindow(SW_SHOW);
}

void CChevronPopup::HidePopup() {
  m_bActive = FALSE;
  if (HWND main = MainWindow()) ::SendMessageW(main, WM_NCACTIVATE, FALSE, 0);
  SetWindowPos(nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

LRESULT CChevronPopup::OnKillFocus(HWND) {
  HidePopup();
  return Default();
}

LRESULT CChevronPopup::OnKeyDown(UINT key, UINT, UINT) {
  if (key != VK_ESCAPE) return Default();
  HidePopup();
  return 0;
}

LRESULT CChevronPopup::OnNcPaint(HRGN) {
  HDC dc = ::GetWindowDC(m_hWnd);
  const RECT window = GetWindowRect();
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  HPEN light = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  HPEN dark = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ old = ::SelectObject(dc, light);
  ::MoveToEx(dc, 0, height - 1, nullptr);
  ::LineTo(dc, 0, 0);
  ::LineTo(dc, width - 1, 0);
  ::SelectObject(dc, dark);
  ::LineTo(dc, width - 1, height - 1);
  ::LineTo(dc, 0, height - 1);
  ::SelectObject(dc, old);
  ::DeleteObject(light);
  ::DeleteObject(dark);
  ::ReleaseDC(m_hWnd, dc);
  return 0;
}

void CChevronPopup::OnDestroy() {
  if (m_toolBar.Handle() != nullptr) m_toolBar.DestroyWindow();
  m_imageList.Reset();
  m_disabledImageList.Reset();
  Default();
}

LRESULT CChevronPopup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The toolbar's commands and notifications go on to the frame unchanged.
  if ((message == WM_COMMAND || message == WM_NOTIFY) && m_hWndOwner != nullptr)
    return ::SendMessageW(m_hWndOwner, message, wParam, lParam);
  return qv::CWindowBase::WindowProc(message, wParam, lParam);
}
