// A non-owning view of a window handle: one-line wrappers over the window functions.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

class CWindow {
 public:
  CWindow() = default;
  explicit CWindow(HWND hwnd) : m_hWnd(hwnd) {}

  HWND Handle() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }
  void AttachHandle(HWND hwnd) { m_hWnd = hwnd; }
  bool IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd) != FALSE; }

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam) != FALSE;
  }

  bool ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command) != FALSE; }
  bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
  bool MoveWindow(const RECT& rc, bool repaint = true) const {
    return ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                        repaint ? TRUE : FALSE) != FALSE;
  }
  bool SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const {
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags) != FALSE;
  }
  bool EnableWindow(bool enable) const { return ::EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
  void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
  HWND SetFocus() const { return ::SetFocus(m_hWnd); }
  bool DestroyWindow() const { return ::DestroyWindow(m_hWnd) != FALSE; }

  RECT GetClientRect() const {
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
  }
  RECT GetWindowRect() const {
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    return rc;
  }
  POINT ScreenToClient(POINT pt) const {
    ::ScreenToClient(m_hWnd, &pt);
    return pt;
  }
  POINT ClientToScreen(POINT pt) const {
    ::ClientToScreen(m_hWnd, &pt);
    return pt;
  }
  // A rectangle in this window's client coordinates, seen from another window (null: the screen).
  RECT MapRectTo(HWND to, RECT rc) const {
    ::MapWindowPoints(m_hWnd, to, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }

  HWND GetParent() const { return ::GetParent(m_hWnd); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int id) const {
    return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, id));
  }
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
  void ModifyStyle(DWORD remove, DWORD add) const {
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (GetStyle() & ~remove) | add);
  }
  void ModifyExStyle(DWORD remove, DWORD add) const {
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, (GetExStyle() & ~remove) | add);
  }

  void SetFont(HFONT font, bool redraw = true) const {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
  }
  HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }

  // Texts are code page 932 inside the program.
  void SetWindowText(const std::string& text) const;
  std::string GetWindowText() const;

 protected:
  HWND m_hWnd = nullptr;
};

}  // namespace qv
