// Helpers for the tests that drive windows with real messages under Wine: a frame that
// records what reaches it, and an application whose message loop runs a script of steps, one
// each time the program waits for input (in its own loop or inside a menu).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Cp932.h"
#include "framework/Frame.h"

namespace qvtest {

class TestFrame : public qv::CFrameWindow {
 public:
  bool Open(const RECT& rc, DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN) {
    return CreateFrame(L"QuorvelTestFrame", "QuorvelW test", style, rc);
  }

  struct Command {
    UINT id;
    LPARAM param;
  };
  std::vector<Command> commands;   // every WM_COMMAND that reached the frame
  std::vector<HMENU> openedMenus;  // every menu that opened with this frame as owner
  std::vector<std::vector<std::string>> openedMenuTexts;
  std::vector<MSG> keys;  // key messages that reached the frame (not consumed before)
  std::function<bool(MSG&)> preTranslate;
  std::function<void()> onEnterIdle;
  std::function<void()> onWatchdog;

  int CountCommands(UINT id) const {
    int n = 0;
    for (const Command& c : commands) n += c.id == id ? 1 : 0;
    return n;
  }

  bool PreTranslateMessage(MSG& msg) override { return preTranslate && preTranslate(msg); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_COMMAND:
        commands.push_back(Command{LOWORD(wParam), lParam});
        break;
      case WM_INITMENUPOPUP:
        RecordMenu(reinterpret_cast<HMENU>(wParam));
        break;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
      case WM_SYSKEYUP:
        keys.push_back(MSG{m_hWnd, message, wParam, lParam, 0, {}});
        return 0;  // no system menu or other side effects in a test
      case WM_ENTERIDLE:
        if (onEnterIdle) onEnterIdle();
        return 0;
      case WM_TIMER:
        if (wParam == kWatchdogTimer) {
          ::KillTimer(m_hWnd, kWatchdogTimer);
          if (onWatchdog) onWatchdog();
          return 0;
        }
        break;
      default:
        break;
    }
    return qv::CFrameWindow::WindowProc(message, wParam, lParam);
  }

 public:
  static constexpr UINT_PTR kWatchdogTimer = 77;

 private:
  void RecordMenu(HMENU menu) {
    openedMenus.push_back(menu);
    std::vector<std::string> texts;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
      wchar_t text[256] = {};
      ::GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
      texts.push_back(qv::WideToCp932(text));
    }
    openedMenuTexts.push_back(texts);
  }
};

// Runs one step each time the program waits: at the end of an idle burst of its own loop, and
// when an open menu waits for input. A step must post input (or end the run); the last step
// ends the loop. A watchdog fails the test and ends the run if a step never comes.
class ScriptedApp : public qv::CApplication {
 public:
  explicit ScriptedApp(TestFrame& frame) : m_frame(frame) {
    SetMainWindow(&frame);
    frame.onEnterIdle = [this] { Next(); };
    frame.onWatchdog = [] {
      ADD_FAILURE() << "the script stalled";
      ::EndMenu();
      ::PostQuitMessage(1);
    };
  }
  ~ScriptedApp() override {
    m_frame.onEnterIdle = nullptr;
    m_frame.onWatchdog = nullptr;
  }

  void Add(std::function<void()> step) { m_steps.push_back(std::move(step)); }

  int RunScript() {
    ::SetTimer(m_frame.Handle(), TestFrame::kWatchdogTimer, 20000, nullptr);
    const int code = Run();
    ::KillTimer(m_frame.Handle(), TestFrame::kWatchdogTimer);
    EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " steps did not run";
    return code;
  }

  bool OnIdle(long count) override {
    const bool more = qv::CApplication::OnIdle(count);
    if (!more) Next();
    return more;
  }

 private:
  void Next() {
    if (m_steps.empty()) {
      ::PostQuitMessage(0);
      return;
    }
    std::function<void()> step = std::move(m_steps.front());
    m_steps.pop_front();
    step();
  }

  TestFrame& m_frame;
  std::deque<std::function<void()>> m_steps;
};

// Key messages as the system posts them.
inline void PostKey(HWND hwnd, UINT message, UINT key, bool altContext = false) {
  LPARAM lParam = 1 | (static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16);
  if (altContext) lParam |= 1L << 29;
  if (message == WM_KEYUP || message == WM_SYSKEYUP) lParam |= (1L << 30) | (1L << 31);
  ::PostMessageW(hwnd, message, key, lParam);
}

// Which keys the thread sees held down (GetKeyState).
inline void SetHeldKeys(std::initializer_list<int> held) {
  BYTE state[256] = {};
  for (int key : held) state[key] = 0x80;
  ::SetKeyboardState(state);
}

// Removes everything left in the thread's queue.
inline void DrainQueue() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) break;
    ::DispatchMessageW(&msg);
  }
}

inline POINT Center(const RECT& rc) {
  return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

inline LPARAM PointParam(POINT pt) {
  return MAKELPARAM(pt.x, pt.y);
}

}  // namespace qvtest
