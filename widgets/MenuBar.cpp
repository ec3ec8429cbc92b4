#include "widgets/MenuBar.h"

#include <windowsx.h>

#include "framework/Application.h"
#include "framework/Cp932.h"
#include "widgets/MenuBarLogic.h"

namespace {

namespace mb = qv::menubar;

// While a drop-down of a bar is open: the hooks and the bar they serve. One bar at a time.
qv::UniqueHook g_filterHook;
qv::UniqueHook g_selectHook;
CMenuBar* g_hookBar = nullptr;

bool KeyDown(int key) {
  return ::GetKeyState(key) < 0;
}

HWND OwnerWindow(HWND bar) {
  qv::CApplication* app = qv::CApplication::Current();
  HWND main = app != nullptr ? app->MainWindowHandle() : nullptr;
  return main != nullptr ? main : ::GetAncestor(bar, GA_ROOT);
}

std::string MenuText(HMENU menu, int position) {
  wchar_t buffer[256] = {};
  const int length =
      ::GetMenuStringW(menu, static_cast<UINT>(position), buffer, 256, MF_BYPOSITION);
  return length > 0 ? qv::WideToCp932(std::wstring(buffer, static_cast<std::size_t>(length)))
                    : std::string();
}

mb::KeyMessage KindOf(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
      return mb::KeyMessage::KeyDown;
    case WM_SYSKEYDOWN:
      return mb::KeyMessage::SysKeyDown;
    case WM_SYSKEYUP:
      return mb::KeyMessage::SysKeyUp;
    default:
      return mb::KeyMessage::Other;
  }
}

}  // namespace

BOOL CMenuBar::LoadMenuBar(UINT menuId) {
  SetBitmapSize(0, 0);
  qv::UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId)));
  if (!menu) return FALSE;
  while (GetButtonCount() > 0) DeleteButton(0);
  m_menu = std::move(menu);
  m_nMenuCount = ::GetMenuItemCount(m_menu.Get());
  m_texts.clear();
  for (int i = 0; i < m_nMenuCount; ++i) {
    m_texts.push_back(MenuText(m_menu.Get(), i));
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = i;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_AUTOSIZE;
    button.iString = AddString(qv::Cp932ToWide(m_texts.back()));
    if (!AddButtons(1, &button)) return FALSE;
  }
  AutoSize();
  return TRUE;
}

int CMenuBar::HitTest(POINT pt) const {
  const int hit = qv::CToolBarCtrl::HitTest(pt);
  const RECT client = GetClientRect();
  // A point outside the bar is on none of its buttons.
  if (hit >= 0 && !::PtInRect(&client, pt)) return -1;
  return hit;
}

int CMenuBar::GetNextButton(int index, BOOL previous) const {
  return mb::NextButton(index, previous != FALSE, GetButtonCount());
}

void CMenuBar::SetTrackingState(int state, int index) {
  if (state == m_nTrackingState) return;
  if (state == mb::kStateNone) index = -1;
  SetHotItem(index);
  if (state == mb::kStatePopup) {
    m_bEscapePressed = FALSE;
    m_nPopup = index;
  }
  m_nTrackingState = state;
}

void CMenuBar::CancelMenuAndTrack(int index) {
  if (index == m_nPopup) return;
  ::PostMessageW(OwnerWindow(m_hWnd), WM_CANCELMODE, 0, 0);
  m_nNextPopup = index;
}

void CMenuBar::ToggleKeyboardMode() {
  if (m_nTrackingState == mb::kStateNone) {
    SetTrackingState(mb::kStateButtons, 0);
  } else if (m_nTrackingState == mb::kStateButtons) {
    SetTrackingState(mb::kStateNone, -1);
  }
}

void CMenuBar::TrackPopup(int index) {
  while (index >= 0) {
    m_nNextPopup = -1;
    SetTrackingState(mb::kStatePopup, index);
    PressButton(index, true);

    const DWORD thread = ::GetCurrentThreadId();
    g_filterHook.Reset(
        ::SetWindowsHookExW(WH_MSGFILTER, &CMenuBar::MessageFilterHook, nullptr, thread));
    // The drop-down reports its highlighted item to its owner, not through the filter.
    g_selectHook.Reset(
        ::SetWindowsHookExW(WH_CALLWNDPROC, &CMenuBar::MenuSelectHook, nullptr, thread));
    g_hookBar = this;

    RECT button{};
    GetItemRect(index, button);
    const RECT screen = MapRectTo(nullptr, button);
    const HMENU popup = ::GetSubMenu(m_menu.Get(), index);
    m_bSubmenuSelected = FALSE;
    m_bPopupItemSelected = FALSE;
    // The program runs on systems that all animate menus this way.
    if (popup != nullptr) {
      ::TrackPopupMenu(popup, TPM_VERPOSANIMATION, screen.left, screen.bottom, 0,
                       OwnerWindow(m_hWnd), nullptr);
    }

    PressButton(index, false);
    g_filterHook.Reset();
    g_selectHook.Reset();
    g_hookBar = nullptr;
    SetTrackingState(m_bEscapePressed ? mb::kStateButtons : mb::kStateNone, index);
    index = m_nNextPopup;
  }
}

LRESULT CALLBACK CMenuBar::MessageFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  try {
    if (code == MSGF_MENU && g_hookBar != nullptr &&
        g_hookBar->OnMenuInput(*reinterpret_cast<MSG*>(lParam))) {
      return 1;
    }
  } catch (...) {
    qv::ReportCallbackFailure("menu bar filter hook");
  }
  return ::CallNextHookEx(g_filterHook.Get(), code, wParam, lParam);
}

LRESULT CALLBACK CMenuBar::MenuSelectHook(int code, WPARAM wParam, LPARAM lParam) {
  try {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_hookBar != nullptr && sent->message == WM_MENUSELECT) {
      MSG msg{sent->hwnd, sent->message, sent->wParam, sent->lParam, 0, {}};
      g_hookBar->OnMenuInput(msg);
    }
  } catch (...) {
    qv::ReportCallbackFailure("menu bar selection hook");
  }
  return ::CallNextHookEx(g_selectHook.Get(), code, wParam, lParam);
}

BOOL CMenuBar::OnMenuInput(const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN: {
      const mb::MenuKeyAction action =
          mb::ClassifyMenuKey(static_cast<unsigned>(msg.wParam), m_bPopupItemSelected != FALSE,
                              m_bSubmenuSelected != FALSE);
      if (action == mb::MenuKeyAction::EscapePressed) {
        m_bEscapePressed = TRUE;
        return FALSE;
      }
      if (action == mb::MenuKeyAction::PassToMenu) return FALSE;
      CancelMenuAndTrack(
          GetNextButton(m_nPopup, action == mb::MenuKeyAction::SwitchPrevious ? TRUE : FALSE));
      return TRUE;
    }
    case WM_MOUSEMOVE: {
      // Inside menu tracking the mouse position comes in screen coordinates.
      const POINT pt = ScreenToClient(POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
      if (pt.x != m_ptLastMouse.x || pt.y != m_ptLastMouse.y) {
        const int hit = HitTest(pt);
        if (IsValidButton(hit) && hit != m_nPopup) CancelMenuAndTrack(hit);
        m_ptLastMouse = pt;
      }
      return FALSE;
    }
    case WM_LBUTTONDOWN: {
      const POINT pt = ScreenToClient(POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
      if (HitTest(pt) != m_nPopup) return FALSE;
      // A click on the open menu's own button closes it and opens none.
      CancelMenuAndTrack(-1);
      return TRUE;
    }
    case WM_MENUSELECT:
      NoteMenuSelection(HIWORD(msg.wParam), reinterpret_cast<HMENU>(msg.lParam));
      return FALSE;
    default:
      return FALSE;
  }
}

void CMenuBar::NoteMenuSelection(UINT flags, HMENU menu) {
  if (flags == 0xFFFF && menu == nullptr) return;  // the drop-down is closing
  m_bSubmenuSelected = FALSE;
  m_bPopupItemSelected = FALSE;
  const HMENU dropDown = ::GetSubMenu(m_menu.Get(), GetHotItem());
  if (menu != dropDown) m_bSubmenuSelected = TRUE;
  if (flags & MF_POPUP) m_bPopupItemSelected = TRUE;
}

BOOL CMenuBar::TranslateFrameMessage(MSG& msg) {
  const UINT message = msg.message;
  if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK && msg.hwnd != m_hWnd &&
      m_nTrackingState > mb::kStateNone) {
    SetTrackingState(mb::kStateNone, -1);
    return FALSE;
  }
  const mb::KeyMessage kind = KindOf(message);
  if (kind == mb::KeyMessage::Other) return FALSE;

  mb::FrameKey key;
  key.message = kind;
  key.key = static_cast<unsigned>(msg.wParam);
  key.shift = KeyDown(VK_SHIFT);
  key.ctrl = KeyDown(VK_CONTROL);
  key.alt = KeyDown(VK_MENU);
  key.repeat = (msg.lParam & (1L << 30)) != 0;
  key.trackingState = m_nTrackingState;
  key.mnemonicButton = mb::FindMnemonic(m_texts, static_cast<char>(msg.wParam & 0xFF));

  switch (mb::ClassifyFrameKey(key)) {
    case mb::FrameKeyAction::PassThrough:
      return FALSE;
    case mb::FrameKeyAction::Consume:
      return TRUE;
    case mb::FrameKeyAction::ToggleKeyboardMode:
      ToggleKeyboardMode();
      return TRUE;
    case mb::FrameKeyAction::EndTracking:
      SetTrackingState(mb::kStateNone, -1);
      return TRUE;
    case mb::FrameKeyAction::EndTrackingPass:
      SetTrackingState(mb::kStateNone, -1);
      return FALSE;
    case mb::FrameKeyAction::TrackHot:
      TrackPopup(GetHotItem());
      return TRUE;
    case mb::FrameKeyAction::HotPrevious:
      SetHotItem(GetNextButton(GetHotItem(), TRUE));
      return TRUE;
    case mb::FrameKeyAction::HotNext:
      SetHotItem(GetNextButton(GetHotItem(), FALSE));
      return TRUE;
    case mb::FrameKeyAction::TrackMnemonic:
      TrackPopup(key.mnemonicButton);
      return TRUE;
    case mb::FrameKeyAction::Beep:
      ::MessageBeep(0);
      return TRUE;
  }
  return FALSE;
}

LRESULT CMenuBar::OnMouseMove(UINT, POINT pt) {
  if (m_nTrackingState == mb::kStateButtons) {
    const int hit = HitTest(pt);
    if (IsValidButton(hit) && (pt.x != m_ptLastMouse.x || pt.y != m_ptLastMouse.y)) SetHotItem(hit);
    return 0;
  }
  m_ptLastMouse = pt;
  return Default();
}

LRESULT CMenuBar::OnLButtonDown(UINT, POINT pt) {
  PressButton(GetHotItem(), false);
  const int hit = HitTest(pt);
  if (IsValidButton(hit)) {
    TrackPopup(hit);
    return 0;
  }
  return Default();
}
