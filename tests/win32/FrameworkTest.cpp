// The framework under the widgets: idle processing, the frame's layout, command routing with
// its update rules, and dialogs from their templates.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "framework/Dialog.h"
#include "framework/FrameworkIds.h"
#include "framework/RichEdit.h"
#include "framework/StatusBar.h"
#include "framework/SystemLibrary.h"
#include "framework/ToolBar.h"
#include "framework/WorkerThread.h"
#include "resources/resource.h"
#include "widgets/MyReBar.h"

namespace {

// Counts idle bursts: each ends with the call that returns false.
class IdleCountingApp : public qv::CApplication {
 public:
  std::vector<long> calls;
  int bursts = 0;
  std::function<void(int)> onBurstEnd;

  bool OnIdle(long count) override {
    calls.push_back(count);
    const bool more = qv::CApplication::OnIdle(count);
    if (!more) {
      ++bursts;
      if (onBurstEnd) onBurstEnd(bursts);
    }
    return more;
  }
};

TEST(IdleProcessingTest, KickIdleMakesTheIdleProcessingRunOncePerBurst) {
  qvtest::TestFrame frame;
  ASSERT_TRUE(frame.Open(RECT{10, 10, 210, 110}));
  IdleCountingApp app;
  app.SetMainWindow(&frame);
  app.onBurstEnd = [&](int burst) {
    switch (burst) {
      case 1:  // three kicks in one burst
        for (int i = 0; i < 3; ++i) frame.PostMessage(QV_WM_KICKIDLE);
        break;
      case 2:  // a mouse move to a new point starts idle processing again
        frame.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        break;
      case 3:  // the same point again, a paint and the caret's blink do not
        frame.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        frame.PostMessage(WM_PAINT);
        frame.PostMessage(0x0118);
        ::PostQuitMessage(0);
        break;
      default:
        ADD_FAILURE() << "an idle burst too many";
        ::PostQuitMessage(1);
    }
  };
  EXPECT_EQ(0, app.Run());
  EXPECT_EQ(3, app.bursts);
  // Each burst counts up from 0 until the idle processing has nothing more to do.
  EXPECT_EQ((std::vector<long>{0, 1, 0, 1, 0, 1}), app.calls);
}

TEST(IdleProcessingTest, AKickFromAWorkerThreadWakesTheWindowThread) {
  qvtest::TestFrame frame;
  ASSERT_TRUE(frame.Open(RECT{10, 10, 210, 110}));
  IdleCountingApp app;
  app.SetMainWindow(&frame);
  qv::CWorkerThread worker;
  app.onBurstEnd = [&](int burst) {
    if (burst == 1) {
      const HWND target = frame.Handle();
      ASSERT_TRUE(worker.Start([target] { ::PostMessageW(target, QV_WM_KICKIDLE, 0, 0); }));
    } else {
      ::PostQuitMessage(0);
    }
  };
  EXPECT_EQ(0, app.Run());
  EXPECT_TRUE(worker.Wait(5000));
  EXPECT_EQ(2, app.bursts);
}

// Records whether its handlers still run.
class WatchedWindow : public qv::CWindowBase {
 public:
  explicit WatchedWindow(int& destroyed) : m_destroyed(destroyed) {}
  ~WatchedWindow() override { m_alive = false; }

 protected:
  void OnDestroy() override {
    EXPECT_TRUE(m_alive) << "a handler ran on a half-destroyed object";
    ++m_destroyed;
    Default();
  }

 private:
  int& m_destroyed;
  bool m_alive = true;
};

TEST(WindowBaseTest, ObjectsAndWindowsLetGoOfEachOther) {
  qvtest::TestFrame frame;
  ASSERT_TRUE(frame.Open(RECT{10, 10, 210, 110}));
  int destroyed = 0;

  // The window goes first (its parent destroys it): the object hears of it and lets go.
  WatchedWindow first(destroyed);
  ASSERT_TRUE(qv::CreateControl(first, L"Static", frame, WS_CHILD, 1));
  const HWND firstHandle = first.Handle();
  EXPECT_EQ(&first, qv::CWindowBase::FromHandle(firstHandle));
  ::DestroyWindow(firstHandle);
  EXPECT_EQ(1, destroyed);
  EXPECT_EQ(nullptr, first.Handle());
  EXPECT_EQ(nullptr, qv::CWindowBase::FromHandle(firstHandle));

  // The object goes first: its window goes with it, and no handler reaches the object.
  auto* second = new WatchedWindow(destroyed);
  ASSERT_TRUE(qv::CreateControl(*second, L"Static", frame, WS_CHILD, 2));
  const HWND secondHandle = second->Handle();
  delete second;
  EXPECT_FALSE(::IsWindow(secondHandle));
  EXPECT_EQ(1, destroyed);
}

TEST(ControlsTest, TheRichEditAppendsCodePage932Text) {
  const qv::UniqueModule library = qv::LoadSystemLibrary(L"riched20.dll");
  ASSERT_TRUE(library);
  qvtest::TestFrame frame;
  ASSERT_TRUE(frame.Open(RECT{10, 10, 310, 210}));
  qv::CRichEditCtrl log;
  ASSERT_TRUE(log.Create(frame, WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, 0xE901));
  log.AppendText("--- 開始\r\n");
  log.AppendText("物理メモリの状態\r\n");
  std::string text = log.GetWindowText();
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\r");
  EXPECT_EQ("--- 開始\r物理メモリの状態\r", text);
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(frame.Open(RECT{20, 20, 420, 320}));
    ASSERT_TRUE(rebar.Create(frame, RBS_BANDBORDERS, 0xE804));
    ASSERT_TRUE(toolBar.Create(
        frame,
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
        0xE800));
    ASSERT_TRUE(toolBar.LoadToolBar(IDR_MAINFRAME));
    ASSERT_TRUE(rebar.AddBar(toolBar, 0x285));
    ASSERT_TRUE(status.Create(frame, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0xE801));
    static const UINT indicators[] = {QV_ID_INDICATOR_KANA, QV_ID_INDICATOR_CAPS,
                                      QV_ID_INDICATOR_NUM, QV_ID_INDICATOR_SCRL};
    ASSERT_TRUE(status.SetIndicators(indicators, 4));
    ASSERT_TRUE(qv::CreateControl(pane, L"Static", frame, WS_CHILD | WS_VISIBLE, qv::kFirstPaneId));
    frame.SetReBar(rebar);
    frame.SetStatusBar(&status);
    frame.AddUpdateToolBar(toolBar);
    frame.RecalcLayout();
  }

  qvtest::TestFrame frame;
  qvtest::ScriptedApp app{frame};
  CMyReBar rebar;
  qv::CToolBar toolBar;
  qv::CStatusBar status;
  qv::CWindowBase pane;
};

TEST_F(FrameTest, TheMainPaneFillsTheSpaceBetweenTheReBarAndTheStatusBar) {
  const RECT client = frame.GetClientRect();
  const RECT bar = rebar.MapRectTo(frame, rebar.GetClientRect());
  const RECT bottom = status.MapRectTo(frame, status.GetClientRect());
  const RECT middle = pane.MapRectTo(frame, pane.GetClientRect());
  EXPECT_EQ(0, bar.top);
  EXPECT_GT(bar.bottom, 15);
  EXPECT_EQ(client.bottom, bottom.bottom);
  EXPECT_EQ(bar.bottom, middle.top);
  EXPECT_EQ(bottom.top, middle.bottom);
  EXPECT_EQ(client.right, middle.right);

  frame.SetWindowPos(nullptr, 0, 0, 300, 500, SWP_NOMOVE | SWP_NOZORDER);
  const RECT resized = pane.MapRectTo(frame, pane.GetClientRect());
  EXPECT_EQ(frame.GetClientRect().right, resized.right);
  EXPECT_EQ(status.MapRectTo(frame, status.GetClientRect()).top, resized.bottom);
}

TEST_F(FrameTest, TheStatusBarShowsTheIdleTextAndThePromptsOfCommands) {
  EXPECT_EQ("ﾚﾃﾞｨ", status.GetText(0));
  EXPECT_EQ(5, status.GetParts());
  frame.ShowPrompt(ID_CLEAN_WHOLE_MEMORY);
  EXPECT_EQ("物理メモリ領域を強制開放", status.GetText(0));
  // The menu closing brings the idle text back.
  frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ("ﾚﾃﾞｨ", status.GetText(0));
}

TEST_F(FrameTest, IndicatorsShowTheirTextsWhileTheirKeysAreOn) {
  BYTE keys[256] = {};
  keys[VK_CAPITAL] = 1;  // toggled on
  ::SetKeyboardState(keys);
  frame.OnIdleUpdate();
  EXPECT_EQ("", status.GetText(1));  // kana
  EXPECT_EQ("CAP", status.GetText(2));
  EXPECT_EQ("", status.GetText(3));
  keys[VK_CAPITAL] = 0;
  keys[VK_SCROLL] = 1;
  ::SetKeyboardState(keys);
  frame.OnIdleUpdate();
  EXPECT_EQ("", status.GetText(2));
  EXPECT_EQ("SCRL", status.GetText(4));
  qvtest::SetHeldKeys({});
  EXPECT_EQ("QuorvelW", app.Title());  // the caption of the program's message boxes
}

TEST_F(FrameTest, UpdateRulesEnableAndCheckMenuItemsWhenAMenuOpens) {
  int level = 80;
  frame.Commands().AddRange(
      ID_RELEASE_LEVEL_10, ID_RELEASE_LEVEL_100,
      [&](UINT id) { level = static_cast<int>(id - ID_RELEASE_LEVEL_10 + 1) * 10; },
      [&](qv::CCommandUI& ui) {
        ui.Enable(true);
        ui.SetCheck(static_cast<int>(ui.Id() - ID_RELEASE_LEVEL_10 + 1) * 10 == level);
      });
  frame.Commands().Add(
      ID_SHOW_INFO, [](UINT) {}, [](qv::CCommandUI& ui) { ui.Enable(false); });
  frame.Commands().Add(ID_CLEAN_WORKING_SET, [](UINT) {});

  qv::UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)));
  const HMENU operations = ::GetSubMenu(menu.Get(), 0);
  const HMENU levels = ::GetSubMenu(operations, 6);  // "開放レベル"
  auto state = [](HMENU m, UINT id) { return ::GetMenuState(m, id, MF_BYCOMMAND); };

  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(levels), 6);
  EXPECT_TRUE(state(levels, ID_RELEASE_LEVEL_80) & MF_CHECKED);
  EXPECT_FALSE(state(levels, ID_RELEASE_LEVEL_90) & MF_CHECKED);

  frame.SendMessage(WM_COMMAND, ID_RELEASE_LEVEL_30, 0);  // a menu command
  EXPECT_EQ(30, level);
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(levels), 6);
  EXPECT_TRUE(state(levels, ID_RELEASE_LEVEL_30) & MF_CHECKED);
  EXPECT_FALSE(state(levels, ID_RELEASE_LEVEL_80) & MF_CHECKED);

  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(operations), 0);
  EXPECT_TRUE(state(operations, ID_SHOW_INFO) & MF_GRAYED);           // its rule disables it
  EXPECT_FALSE(state(operations, ID_CLEAN_WORKING_SET) & MF_GRAYED);  // handled, no rule
  EXPECT_TRUE(state(operations, ID_SHOW_SERVICE_LOG) & MF_GRAYED);    // nobody handles it
}

TEST_F(FrameTest, ToolBarButtonsFollowTheUpdateRulesAtIdleTime) {
  bool busy = false;
  frame.Commands().Add(
      ID_CLEAN_WHOLE_MEMORY, [](UINT) {}, [&](qv::CCommandUI& ui) { ui.Enable(!busy); });
  app.Add([&] {
    EXPECT_TRUE(toolBar.IsButtonEnabled(ID_CLEAN_WHOLE_MEMORY));
    EXPECT_FALSE(toolBar.IsButtonEnabled(ID_CONDITION_ADD));
    busy = true;
    frame.PostMessage(QV_WM_KICKIDLE);
  });
  app.Add([&] {
    EXPECT_FALSE(toolBar.IsButtonEnabled(ID_CLEAN_WHOLE_MEMORY));
    ::PostQuitMessage(0);
  });
  app.RunScript();
}

TEST_F(FrameTest, AToolBarClickRunsTheCommandThroughTheFrame) {
  int runs = 0;
  frame.Commands().Add(ID_SHOW_INFO, [&](UINT) { ++runs; });
  RECT button{};
  ASSERT_TRUE(toolBar.GetItemRect(2, button));
  toolBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, qvtest::PointParam(qvtest::Center(button)));
  toolBar.SendMessage(WM_LBUTTONUP, 0, qvtest::PointParam(qvtest::Center(button)));
  EXPECT_EQ(1, runs);
}

// The condition dialog's template: its combo boxes filled from the template's initial data,
// and data exchange with its edits.
class ConditionTemplateDialog : public qv::CDialog {
 public:
  ConditionTemplateDialog() : qv::CDialog(IDD_CONDITION) {}
  int modes = 0;
  int operations = 0;
  std::string lastMode;
  std::string okText;
  int minute = 42;
  int cpu = 0;

 protected:
  bool OnInitDialog() override {
    const HWND mode = GetDlgItem(IDC_CONDITION_MODE);
    modes = static_cast<int>(::SendMessageW(mode, CB_GETCOUNT, 0, 0));
    operations =
        static_cast<int>(::SendMessageW(GetDlgItem(IDC_CONDITION_OPERATION), CB_GETCOUNT, 0, 0));
    wchar_t text[64] = {};
    ::SendMessageW(mode, CB_GETLBTEXT, 11, reinterpret_cast<LPARAM>(text));
    lastMode = qv::WideToCp932(text);
    okText = qv::CWindow(GetDlgItem(IDOK)).GetWindowText();
    qv::CDialog::OnInitDialog();
    qv::CWindow(GetDlgItem(IDC_CONDITION_CPU_LOAD)).SetWindowText("1.5");
    PostMessage(WM_COMMAND, IDOK, 0);
    return true;
  }
  void DoDataExchange(qv::CDataExchange& dx) override {
    qv::ExchangeText(dx, IDC_CONDITION_MINUTE, minute);
    if (dx.Saving()) qv::ExchangeText(dx, IDC_CONDITION_CPU_LOAD, cpu);
  }
};

TEST(DialogTest, TheConditionTemplateFillsItsComboBoxesAndExchangesData) {
  ConditionTemplateDialog dialog;
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ(12, dialog.modes);
  EXPECT_EQ(3, dialog.operations);
  EXPECT_EQ("メモリー使用率が", dialog.lastMode);
  EXPECT_EQ("追加", dialog.okText);
  EXPECT_EQ(42, dialog.minute);
  EXPECT_EQ(1, dialog.cpu);  // read the way atoi reads
}

}  // namespace
