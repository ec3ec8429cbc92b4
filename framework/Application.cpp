#include "framework/Application.h"

#include <algorithm>

#include "framework/Cp932.h"
#include "framework/Frame.h"
#include "framework/FrameworkIds.h"
#include "framework/WindowBase.h"

namespace qv {

namespace {

CApplication* g_application = nullptr;

// The caret of an edit control blinks with this system timer.
constexpr UINT kCaretBlinkTimer = 0x0118;

}  // namespace

std::string LoadResourceString(UINT id) {
  const wchar_t* text = nullptr;
  // With a zero buffer size the call hands out a pointer to the resource itself.
  const int length =
      ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
  if (length <= 0 || text == nullptr) return {};
  return WideToCp932(std::wstring(text, static_cast<std::size_t>(length)));
}

int AppMessageBox(const std::string& text, UINT type, HWND owner) {
  if (CApplication* app = CApplication::Current()) return app->MessageBox(text, type, owner);
  return ::MessageBoxW(owner, Cp932ToWide(text).c_str(), L"QuorvelW", type);
}

CApplication::CApplication() {
  if (g_application == nullptr) g_application = this;
}

CApplication::~CApplication() {
  if (g_application == this) g_application = nullptr;
}

CApplication* CApplication::Current() {
  return g_application;
}

HWND CApplication::MainWindowHandle() const {
  return m_mainWindow != nullptr ? m_mainWindow->Handle() : nullptr;
}

void CApplication::AddMessageFilter(CMessageFilter* filter) {
  m_filters.push_back(filter);
}

void CApplication::RemoveMessageFilter(CMessageFilter* filter) {
  m_filters.erase(std::remove(m_filters.begin(), m_filters.end(), filter), m_filters.end());
}

void CApplication::OnWindowDestroyed(CWindowBase* window) {
  if (window == nullptr || window != m_mainWindow) return;
  m_mainWindow = nullptr;
  ::PostQuitMessage(0);
}

std::string CApplication::Title() const {
  std::string title = LoadResourceString(QV_IDS_APP_TITLE);
  return title.empty() ? std::string("QuorvelW") : title;
}

int CApplication::MessageBox(const std::string& text, UINT type, HWND owner) const {
  if (owner == nullptr) owner = MainWindowHandle();
  return ::MessageBoxW(owner, Cp932ToWide(text).c_str(), Cp932ToWide(Title()).c_str(), type);
}

bool CApplication::OnIdle(long count) {
  if (count == 0) {
    if (auto* frame = dynamic_cast<CFrameWindow*>(m_mainWindow)) frame->OnIdleUpdate();
  }
  return count < 1;
}

bool CApplication::PreTranslateMessage(MSG& msg) {
  // Filters may remove themselves while they run.
  const std::vector<CMessageFilter*> filters = m_filters;
  for (CMessageFilter* filter : filters) {
    if (filter->PreTranslateMessage(msg)) return true;
  }
  if (auto* frame = dynamic_cast<CFrameWindow*>(m_mainWindow))
    return frame->PreTranslateMessage(msg);
  return false;
}

// Repeated mouse moves at one point, paints and the caret's blink do not start idle
// processing again; every other message does.
bool CApplication::IsIdleMessage(const MSG& msg) {
  if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
    const bool same = msg.message == m_lastMouseMessage && msg.pt.x == m_lastMousePoint.x &&
                      msg.pt.y == m_lastMousePoint.y;
    m_lastMouseMessage = msg.message;
    m_lastMousePoint = msg.pt;
    return !same;
  }
  return msg.message != WM_PAINT && msg.message != kCaretBlinkTimer;
}

int CApplication::Run() {
  MSG msg{};
  bool idle = true;
  long count = 0;
  for (;;) {
    while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      bool more = false;
      try {
        more = OnIdle(count++);
      } catch (...) {
        ReportCallbackFailure("idle processing");
      }
      if (!more) idle = false;
    }
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got < 0) return -1;
    bool consumed = false;
    try {
      consumed = PreTranslateMessage(msg);
    } catch (...) {
      ReportCallbackFailure("message filter");
    }
    if (!consumed) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (IsIdleMessage(msg)) {
      idle = true;
      count = 0;
    }
  }
}

}  // namespace qv
