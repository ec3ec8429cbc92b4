#include "framework/Frame.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Application.h"
#include "framework/Cp932.h"
#include "framework/StatusBar.h"

namespace qv {

namespace {

constexpr wchar_t kFrameClass[] = L"QuorvelFrame";

int Height(const RECT& rc) {
  return rc.bottom - rc.top;
}

}  // namespace

CFrameWindow* GetParentFrame(HWND hwnd) {
  for (HWND parent = ::GetParent(hwnd); parent != nullptr; parent = ::GetParent(parent)) {
    if (auto* frame = dynamic_cast<CFrameWindow*>(CWindowBase::FromHandle(parent))) return frame;
  }
  return nullptr;
}

bool CFrameWindow::CreateFrame(const wchar_t* className, const std::string& title, DWORD style,
                               const RECT& rc, DWORD exStyle, HICON icon) {
  if (className == nullptr) className = kFrameClass;
  if (!RegisterWindowClass(className, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                           icon)) {
    return false;
  }
  return Create(className, nullptr, title, style, exStyle, rc, 0);
}

void CFrameWindow::RecalcLayout(bool) {
  // Sizing the rebar can change its height, which it reports while it is being sized: the
  // layout under way already reads the new height.
  if (m_hWnd == nullptr || m_bInRecalcLayout) return;
  m_bInRecalcLayout = true;
  RECT client = GetClientRect();
  const int width = client.right - client.left;
  if (m_hWndReBar != nullptr && ::IsWindowVisible(m_hWndReBar)) {
    // The rebar keeps its own height and takes the width of the client area.
    const int height = Height(CWindow(m_hWndReBar).GetWindowRect());
    ::SetWindowPos(m_hWndReBar, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    client.top += Height(CWindow(m_hWndReBar).GetWindowRect());
  }
  if (m_pStatusBar != nullptr && m_pStatusBar->IsWindow() && m_pStatusBar->IsWindowVisible()) {
    // A status bar places itself at the bottom of its parent.
    m_pStatusBar->SendMessage(WM_SIZE, 0, 0);
    m_pStatusBar->ResizePanes(width);
    client.bottom -= Height(m_pStatusBar->GetWindowRect());
  }
  if (client.bottom < client.top) client.bottom = client.top;
  if (HWND pane = GetDlgItem(kFirstPaneId)) {
    ::SetWindowPos(pane, nullptr, client.left, client.top, width, client.bottom - client.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  m_bInRecalcLayout = false;
}

void CFrameWindow::SetActiveView(CWindowBase* view, bool notify) {
  m_pActiveView = view;
  if (notify && view != nullptr && view->IsWindow()) view->SetFocus();
}

bool CFrameWindow::RouteCommand(UINT id) {
  for (CCommandTarget* target : m_targets) {
    if (target->OnCommand(id)) return true;
  }
  if (m_commands.OnCommand(id)) return true;
  CApplication* app = CApplication::Current();
  return app != nullptr && app->OnCommand(id);
}

void CFrameWindow::RouteUpdate(CCommandUI& ui) {
  CApplication* app = CApplication::Current();
  for (CCommandTarget* target : m_targets) {
    if (target->OnUpdateCommand(ui)) return;
  }
  if (m_commands.OnUpdateCommand(ui)) return;
  if (app != nullptr && app->OnUpdateCommand(ui)) return;
  bool handled = m_commands.HasCommand(ui.Id()) || (app != nullptr && app->HasCommand(ui.Id()));
  for (CCommandTarget* target : m_targets) handled = handled || target->HasCommand(ui.Id());
  ui.Enable(handled);
}

void CFrameWindow::OnIdleUpdate() {
  for (HWND toolBar : m_updateToolBars) {
    if (!::IsWindow(toolBar)) continue;
    const int count = static_cast<int>(::SendMessageW(toolBar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      TBBUTTON button{};
      if (!::SendMessageW(toolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button))) continue;
      if (button.fsStyle & BTNS_SEP) continue;
      CToolButtonUI ui(toolBar, static_cast<UINT>(button.idCommand));
      RouteUpdate(ui);
    }
  }
  if (m_pStatusBar != nullptr && m_pStatusBar->IsWindow()) m_pStatusBar->UpdateIndicators();
}

bool CFrameWindow::PreTranslateMessage(MSG&) {
  return false;
}

void CFrameWindow::ShowPrompt(UINT id) {
  if (m_pStatusBar == nullptr || !m_pStatusBar->IsWindow()) return;
  if (id == 0) {
    m_pStatusBar->ShowIdleText();
    return;
  }
  const std::string text = LoadResourceString(id);
  m_pStatusBar->SetMessageText(text.substr(0, text.find('\n')));
}

LRESULT CFrameWindow::OnSize(UINT, int, int) {
  RecalcLayout();
  return 0;
}

void CFrameWindow::OnDestroy() {
  Default();
  if (CApplication* app = CApplication::Current()) app->OnWindowDestroyed(this);
}

LRESULT CFrameWindow::OnInitMenuPopup(HMENU menu, UINT, bool systemMenu) {
  if (systemMenu) return Default();
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if ((info.fType & MFT_SEPARATOR) || info.hSubMenu != nullptr) continue;
    CMenuItemUI ui(menu, info.wID);
    RouteUpdate(ui);
  }
  return 0;
}

LRESULT CFrameWindow::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
  if (flags == 0xFFFF && menu == nullptr) {
    ShowPrompt(0);  // the menu has closed
  } else if (!(flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU))) {
    ShowPrompt(item);
  }
  return 0;
}

bool CFrameWindow::OnCommand(UINT id, UINT code, HWND control) {
  // Menus, accelerators and toolbar buttons; other controls' notifications are not commands.
  if (control != nullptr && code != 0 && ::IsWindow(control)) return false;
  return RouteCommand(id);
}

bool CFrameWindow::OnNotify(NMHDR* header, LRESULT& result) {
  switch (header->code) {
    case TTN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
      if (info->uFlags & TTF_IDISHWND) return false;
      const std::string text = LoadResourceString(static_cast<UINT>(header->idFrom));
      const std::size_t split = text.find('\n');
      m_tipText = Cp932ToWide(split == std::string::npos ? text : text.substr(split + 1));
      info->lpszText = m_tipText.data();
      result = 0;
      return true;
    }
    case TBN_HOTITEMCHANGE: {
      auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
      if (std::find(m_updateToolBars.begin(), m_updateToolBars.end(), header->hwndFrom) ==
          m_updateToolBars.end()) {
        return false;  // buttons that do not stand for commands (the menu bar's)
      }
      ShowPrompt((hot->dwFlags & HICF_LEAVING) ? 0 : static_cast<UINT>(hot->idNew));
      return false;
    }
    case RBN_HEIGHTCHANGE:
      RecalcLayout();
      return false;
    default:
      return false;
  }
}

}  // namespace qv
