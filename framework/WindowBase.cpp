#include "framework/WindowBase.h"

#include <windowsx.h>

#include <exception>

#include "framework/Application.h"
#include "framework/Cp932.h"

namespace qv {

namespace {

// Marks a window as one of ours and holds its object, for lookups from other windows.
constexpr wchar_t kObjectProperty[] = L"qv.CWindowBase";

POINT PointOf(LPARAM lParam) {
  return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

CWindowBase* ObjectOf(HWND hwnd) {
  return reinterpret_cast<CWindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace

void ReportCallbackFailure(const char* where) noexcept {
  std::string text = "Quorvel: exception stopped at ";
  text += where;
  try {
    throw;
  } catch (const std::exception& e) {
    text += ": ";
    text += e.what();
  } catch (...) {
  }
  text += "\n";
  ::OutputDebugStringA(text.c_str());
}

void CWindow::SetWindowText(const std::string& text) const {
  ::SetWindowTextW(m_hWnd, Cp932ToWide(text).c_str());
}

std::string CWindow::GetWindowText() const {
  const int length = ::GetWindowTextLengthW(m_hWnd);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return WideToCp932(text);
}

CWindowBase::~CWindowBase() {
  if (m_hWnd == nullptr) return;
  // The window may still send messages while it goes: they must not reach this object, whose
  // derived parts are already destroyed.
  const HWND hwnd = m_hWnd;
  Unbind();
  ::DestroyWindow(hwnd);
}

bool CWindowBase::RegisterWindowClass(const wchar_t* className, UINT classStyle, HBRUSH background,
                                      HICON icon, HICON smallIcon) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (::GetClassInfoExW(instance, className, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = classStyle;
  wc.lpfnWndProc = &CWindowBase::ClassProcedure;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = smallIcon;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  return ::RegisterClassExW(&wc) != 0;
}

bool CWindowBase::Create(const wchar_t* className, HWND parent, const std::string& title,
                         DWORD style, DWORD exStyle, const RECT& rc, UINT_PTR idOrMenu) {
  if (m_hWnd != nullptr) return false;
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  const bool ours = ::GetClassInfoExW(instance, className, &info) &&
                    info.lpfnWndProc == &CWindowBase::ClassProcedure;
  const HWND hwnd =
      ::CreateWindowExW(exStyle, className, Cp932ToWide(title).c_str(), style, rc.left, rc.top,
                        rc.right - rc.left, rc.bottom - rc.top, parent,
                        reinterpret_cast<HMENU>(idOrMenu), instance, ours ? this : nullptr);
  if (hwnd == nullptr) {
    m_hWnd = nullptr;  // a failed WM_CREATE has already unbound it
    return false;
  }
  if (!ours) return Subclass(hwnd);
  return true;
}

bool CWindowBase::Subclass(HWND hwnd) {
  if (m_hWnd != nullptr || hwnd == nullptr || FromHandle(hwnd) != nullptr) return false;
  Bind(hwnd);
  m_previousProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowBase::SubclassProcedure)));
  if (m_previousProc != nullptr) return true;
  Unbind();  // the window keeps its own procedure
  return false;
}

HWND CWindowBase::Detach() {
  const HWND hwnd = m_hWnd;
  if (hwnd != nullptr) Unbind();
  return hwnd;
}

CWindowBase* CWindowBase::FromHandle(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  return static_cast<CWindowBase*>(::GetPropW(hwnd, kObjectProperty));
}

void CWindowBase::Bind(HWND hwnd) {
  m_hWnd = hwnd;
  ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetPropW(hwnd, kObjectProperty, this);
}

void CWindowBase::Unbind() {
  ::RemovePropW(m_hWnd, kObjectProperty);
  ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
  if (m_previousProc != nullptr) {
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
    m_previousProc = nullptr;
  }
  m_hWnd = nullptr;
}

LRESULT CALLBACK CWindowBase::ClassProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  try {
    CWindowBase* self = ObjectOf(hwnd);
    if (self == nullptr && message == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
      self = static_cast<CWindowBase*>(cs->lpCreateParams);
      if (self != nullptr) self->Bind(hwnd);
    }
    if (self != nullptr) return self->Dispatch(message, wParam, lParam);
  } catch (...) {
    ReportCallbackFailure("window procedure");
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindowBase::SubclassProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  CWindowBase* self = ObjectOf(hwnd);
  // Unbind puts the control's own procedure back before it clears the object, so a control
  // without an object no longer comes here.
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return self->Dispatch(message, wParam, lParam);
  } catch (...) {
    ReportCallbackFailure("control procedure");
  }
  return ::CallWindowProcW(self->m_previousProc, hwnd, message, wParam, lParam);
}

LRESULT CWindowBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  const CurrentMessage saved = m_current;
  m_current = CurrentMessage{message, wParam, lParam};
  LRESULT result = 0;
  if (message == WM_NCDESTROY) {
    result = Default();
    Unbind();
    m_current = saved;
    OnFinalMessage();  // may delete this object
    return result;
  }
  result = WindowProc(message, wParam, lParam);
  m_current = saved;
  return result;
}

LRESULT CWindowBase::Default() {
  return DefaultWith(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWindowBase::DefaultWith(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_previousProc != nullptr)
    return ::CallWindowProcW(m_previousProc, m_hWnd, message, wParam, lParam);
  return DefaultWindowProc(message, wParam, lParam);
}

LRESULT CWindowBase::DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

bool CWindowBase::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr) return false;
    CWindowBase* from = FromHandle(header->hwndFrom);
    return from != nullptr && from != this && from->OnReflectedNotify(header, result);
  }
  const HWND control = reinterpret_cast<HWND>(lParam);
  if (control == nullptr || !::IsWindow(control)) return false;
  CWindowBase* from = FromHandle(control);
  return from != nullptr && from != this && from->OnReflectedCommand(HIWORD(wParam), result);
}

LRESULT CWindowBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_SIZE:
      return OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_SIZING:
      return OnSizing(static_cast<UINT>(wParam), reinterpret_cast<RECT*>(lParam));
    case WM_CLOSE:
      return OnClose();
    case WM_TIMER:
      return OnTimer(wParam);
    case WM_CONTEXTMENU:
      return OnContextMenu(reinterpret_cast<HWND>(wParam), PointOf(lParam));
    case WM_MOUSEMOVE:
      return OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam));
    case WM_LBUTTONDOWN:
      return OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
    case WM_LBUTTONDBLCLK:
      return OnLButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
    case WM_RBUTTONDOWN:
      return OnRButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
    case WM_MBUTTONDOWN:
      return OnMButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
    case WM_KEYDOWN:
      return OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_KILLFOCUS:
      return OnKillFocus(reinterpret_cast<HWND>(wParam));
    case WM_NCPAINT:
      return OnNcPaint(reinterpret_cast<HRGN>(wParam));
    case WM_INITMENUPOPUP:
      return OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam) != 0);
    case WM_MENUSELECT:
      return OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
    case WM_COMMAND: {
      LRESULT result = 0;
      if (Reflect(message, wParam, lParam, result)) return result;
      if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
      return Default();
    }
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (Reflect(message, wParam, lParam, result)) return result;
      if (OnNotify(reinterpret_cast<NMHDR*>(lParam), result)) return result;
      return Default();
    }
    default:
      return Default();
  }
}

LRESULT CWindowBase::OnCreate(CREATESTRUCTW*) {
  return Default();
}
LRESULT CWindowBase::OnSize(UINT, int, int) {
  return Default();
}
LRESULT CWindowBase::OnSizing(UINT, RECT*) {
  return Default();
}
LRESULT CWindowBase::OnTimer(UINT_PTR) {
  return Default();
}
LRESULT CWindowBase::OnContextMenu(HWND, POINT) {
  return Default();
}
LRESULT CWindowBase::OnMouseMove(UINT, POINT) {
  return Default();
}
LRESULT CWindowBase::OnLButtonDown(UINT, POINT) {
  return Default();
}
LRESULT CWindowBase::OnLButtonDblClk(UINT, POINT) {
  return Default();
}
LRESULT CWindowBase::OnRButtonDown(UINT, POINT) {
  return Default();
}
LRESULT CWindowBase::OnMButtonDown(UINT, POINT) {
  return Default();
}
LRESULT CWindowBase::OnKeyDown(UINT, UINT, UINT) {
  return Default();
}
LRESULT CWindowBase::OnKillFocus(HWND) {
  return Default();
}
LRESULT CWindowBase::OnNcPaint(HRGN) {
  return Default();
}
LRESULT CWindowBase::OnInitMenuPopup(HMENU, UINT, bool) {
  return Default();
}
LRESULT CWindowBase::OnMenuSelect(UINT, UINT, HMENU) {
  return Default();
}
bool CWindowBase::OnCommand(UINT, UINT, HWND) {
  return false;
}
bool CWindowBase::OnNotify(NMHDR*, LRESULT&) {
  return false;
}
bool CWindowBase::OnReflectedCommand(UINT, LRESULT&) {
  return false;
}
bool CWindowBase::OnReflectedNotify(NMHDR*, LRESULT&) {
  return false;
}

}  // namespace qv
