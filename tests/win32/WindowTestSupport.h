// Helpers for the tests that drive windows with real messages under Wine.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Cp932.h"
#include "framework/Frame.h"
#include "framework/ToolBar.h"
#include "resources/resource.h"
#include "widgets/MenuBar.h"
#include "widgets/MyReBar.h"

namespace qvtest {

// The item texts of a menu, as the user sees them.
inline std::vector<std::string> MenuTexts(HMENU menu) {
  std::vector<std::string> texts;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    texts.push_back(qv::WideToCp932(text));
  }
  return texts;
}

// A frame that records what reaches it.
class TestFrame : public qv::CFrameWindow {
 public:
  static constexpr UINT_PTR kWatchdogTimer = 77;

  bool Open(const RECT& rc) {
    return CreateFrame(L"QuorvelTestFrame", "QuorvelW test",
                       WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rc);
  }
  int CountCommands(UINT id) const {
    return static_cast<int>(std::count_if(commands.begin(), commands.end(),
                                          [id](const auto& c) { return c.first == id; }));
  }
  bool PreTranslateMessage(MSG& msg) override { return preTranslate && preTranslate(msg); }

  std::vector<std::pair<UINT, LPARAM>> commands;  // id and lParam of every WM_COMMAND
  std::vector<HMENU> openedMenus;                 // menus opened with this frame as owner
  std::vector<std::vector<std::string>> openedMenuTexts;
  std::vector<std::pair<UINT, WPARAM>> keys;  // key messages nothing consumed before the frame
  std::function<bool(MSG&)> preTranslate;
  std::function<void()> onEnterIdle;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_COMMAND:
        commands.emplace_back(LOWORD(wParam), lParam);
        break;
      case WM_INITMENUPOPUP:
        openedMenus.push_back(reinterpret_cast<HMENU>(wParam));
        openedMenuTexts.push_back(MenuTexts(openedMenus.back()));
        break;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
      case WM_SYSKEYUP:
        keys.emplace_back(message, wParam);
        return 0;  // no system menu or other side effects in a test
      case WM_ENTERIDLE:
        if (onEnterIdle) onEnterIdle();
        return 0;
      case WM_TIMER:
        if (wParam != kWatchdogTimer) break;
        ADD_FAILURE() << "the script stalled";
        ::EndMenu();
        ::PostQuitMessage(1);
        return 0;
      default:
        break;
    }
    return qv::CFrameWindow::WindowProc(message, wParam, lParam);
  }
};

// Runs one step each time the program waits (end of an idle burst, or an open menu waiting for
// input). A step posts input; after the last one the loop ends. A watchdog fails a stalled run.
class ScriptedApp : public qv::CApplication {
 public:
  explicit ScriptedApp(TestFrame& frame) : m_frame(frame) {
    SetMainWindow(&frame);
    frame.onEnterIdle = [this] { Next(); };
  }
  ~ScriptedApp() override { m_frame.onEnterIdle = nullptr; }  // the frame may outlive the script

  std::vector<long> idleCalls;  // the count of every idle call, bursts counting up from 0

  void Add(std::function<void()> step) { m_steps.push_back(std::move(step)); }

  void RunScript() {
    ::SetTimer(m_frame.Handle(), TestFrame::kWatchdogTimer, 20000, nullptr);
    Run();
    ::KillTimer(m_frame.Handle(), TestFrame::kWatchdogTimer);
    EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " steps did not run";
  }

  bool OnIdle(long count) override {
    idleCalls.push_back(count);
    const bool more = qv::CApplication::OnIdle(count);
    if (!more) Next();
    return more;
  }

 private:
  void Next() {
    if (m_steps.empty()) return ::PostQuitMessage(0);
    std::function<void()> step = std::move(m_steps.front());
    m_steps.pop_front();
    step();
  }

  TestFrame& m_frame;
  std::deque<std::function<void()>> m_steps;
};

// A key message as the system posts it.
inline void PostKey(HWND hwnd, UINT message, UINT key, bool altContext = false) {
  LPARAM lParam = 1 | (static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16);
  if (altContext) lParam |= 1L << 29;
  if (message == WM_KEYUP || message == WM_SYSKEYUP) lParam |= (1L << 30) | (1L << 31);
  ::PostMessageW(hwnd, message, key, lParam);
}

// Which keys the thread sees held down (GetKeyState), or toggled with state 1.
inline void SetHeldKeys(const std::vector<int>& held, BYTE keyState = 0x80) {
  BYTE state[256] = {};
  for (int key : held) state[key] = keyState;
  ::SetKeyboardState(state);
}

// Dispatches everything left in the thread's queue.
inline void DrainQueue() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
    ::DispatchMessageW(&msg);
}

// The middle of a rectangle as the lParam of a mouse message.
inline LPARAM CenterParam(const RECT& rc) {
  return MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

// Presses and releases the left button on a toolbar's button.
inline void ClickToolBarButton(HWND toolBar, int index) {
  RECT rc{};
  ASSERT_TRUE(::SendMessageW(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(&rc)));
  ::SendMessageW(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, CenterParam(rc));
  ::SendMessageW(toolBar, WM_LBUTTONUP, 0, CenterParam(rc));
}

// A frame with a rebar along its top; the tests add its bands.
class FrameFixture : public ::testing::Test {
 protected:
  void TearDown() override { SetHeldKeys({}); }
  void OpenFrame(const RECT& rc) {
    ASSERT_TRUE(frame.Open(rc));
    ASSERT_TRUE(rebar.Create(frame, RBS_BANDBORDERS, 0xE804));
    frame.SetReBar(rebar);
  }
  // The toolbar of resource 128 (six buttons), plus extra buttons.
  void AddToolBar(int extraButtons = 0) {
    ASSERT_TRUE(toolBar.Create(
        frame,
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
        0xE800));
    ASSERT_TRUE(toolBar.LoadToolBar(IDR_MAINFRAME));
    for (int i = 0; i < extraButtons; ++i) {
      TBBUTTON button{i % 6, 40000 + i, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1};
      ASSERT_TRUE(toolBar.AddButtons(1, &button));
    }
    ASSERT_TRUE(rebar.AddBar(toolBar, kBandStyle));
    frame.RecalcLayout();
  }
  void AddMenuBar() {
    ASSERT_TRUE(menuBar.Create(frame, 0x50001854, 0x8000));
    ASSERT_TRUE(menuBar.LoadMenuBar(IDR_MAINFRAME));
    ASSERT_TRUE(rebar.AddBar(menuBar, kBandStyle));
    frame.RecalcLayout();
  }

  static constexpr DWORD kBandStyle = 0x285;  // with a chevron
  TestFrame frame;
  ScriptedApp app{frame};
  CMyReBar rebar;
  qv::CToolBar toolBar;
  CMenuBar menuBar;
};

}  // namespace qvtest
