// The framework under the widgets: idle processing, layout, command routing and update rules.
#include "WindowTestSupport.h"
#include "framework/FrameworkIds.h"
#include "framework/StatusBar.h"
#include "framework/WorkerThread.h"

namespace {

TEST(IdleProcessingTest, KicksAndNewMouseMovesStartOneBurstEach) {
  qvtest::TestFrame frame;
  ASSERT_TRUE(frame.Open(RECT{10, 10, 210, 110}));
  qvtest::ScriptedApp app(frame);
  app.Add([&] {
    for (int i = 0; i < 3; ++i) frame.PostMessage(QV_WM_KICKIDLE);  // three kicks, one burst
  });
  qv::CWorkerThread worker;  // a kick from another thread wakes the loop
  app.Add([&] { EXPECT_TRUE(worker.Start([&] { frame.PostMessage(QV_WM_KICKIDLE); })); });
  app.Add([&] { frame.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); });  // a new point
  app.Add([&] {
    // The same point again, a paint and the caret's blink start no burst.
    frame.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    frame.PostMessage(WM_PAINT);
    frame.PostMessage(0x0118);
    ::PostQuitMessage(0);
  });
  app.RunScript();
  EXPECT_TRUE(worker.Wait(5000));
  // Each burst counts up from 0 until the idle processing has nothing more to do.
  EXPECT_EQ((std::vector<long>{0, 1, 0, 1, 0, 1, 0, 1}), app.idleCalls);
}

// Counts the destructions its handler hears of.
int g_destroyed = 0;
class WatchedWindow : public qv::CWindowBase {
 protected:
  void OnDestroy() override {
    ++g_destroyed;
    Default();
  }
};

TEST(WindowBaseTest, ObjectsAndWindowsLetGoOfEachOther) {
  qvtest::TestFrame frame;
  ASSERT_TRUE(frame.Open(RECT{10, 10, 210, 110}));
  // The window goes first: the object hears of it and lets go.
  WatchedWindow first;
  ASSERT_TRUE(qv::CreateControl(first, L"Static", frame, WS_CHILD, 1));
  const HWND firstHandle = first.Handle();
  ::DestroyWindow(firstHandle);
  EXPECT_EQ(1, g_destroyed);
  EXPECT_EQ(nullptr, first.Handle());
  EXPECT_EQ(nullptr, qv::CWindowBase::FromHandle(firstHandle));

  // The object goes first: its window goes with it, and no handler reaches the half-destroyed
  // object.
  auto* second = new WatchedWindow;
  ASSERT_TRUE(qv::CreateControl(*second, L"Static", frame, WS_CHILD, 2));
  const HWND secondHandle = second->Handle();
  delete second;
  EXPECT_FALSE(::IsWindow(secondHandle));
  EXPECT_EQ(1, g_destroyed);
}

class FrameTest : public qvtest::FrameFixture {
 protected:
  void SetUp() override {
    OpenFrame(RECT{20, 20, 420, 320});
    AddToolBar();
    ASSERT_TRUE(status.Create(frame, WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0xE801));
    static const UINT indicators[] = {QV_ID_INDICATOR_KANA, QV_ID_INDICATOR_CAPS,
                                      QV_ID_INDICATOR_NUM, QV_ID_INDICATOR_SCRL};
    ASSERT_TRUE(status.SetIndicators(indicators, 4));
    ASSERT_TRUE(qv::CreateControl(pane, L"Static", frame, WS_CHILD | WS_VISIBLE, qv::kFirstPaneId));
    frame.SetStatusBar(&status);
    frame.AddUpdateToolBar(toolBar);
    frame.RecalcLayout();
  }

  qv::CStatusBar status;
  qv::CWindowBase pane;
};

TEST_F(FrameTest, TheMainPaneFillsTheSpaceBetweenTheReBarAndTheStatusBar) {
  auto placed = [&](const qv::CWindow& w) { return w.MapRectTo(frame, w.GetClientRect()); };
  for (int pass = 0; pass < 2; ++pass) {  // as created, then resized
    const RECT client = frame.GetClientRect();
    const RECT bar = placed(rebar);
    const RECT bottom = placed(status);
    const RECT middle = placed(pane);
    EXPECT_EQ(0, bar.top);
    EXPECT_GT(bar.bottom, 15);
    EXPECT_EQ(client.bottom, bottom.bottom);
    EXPECT_EQ(bar.bottom, middle.top);
    EXPECT_EQ(bottom.top, middle.bottom);
    EXPECT_EQ(client.right, middle.right);
    frame.SetWindowPos(nullptr, 0, 0, 300, 500, SWP_NOMOVE | SWP_NOZORDER);
  }
}

TEST_F(FrameTest, TheStatusBarShowsPromptsAndTheIndicatorsOfToggledKeys) {
  EXPECT_EQ("ﾚﾃﾞｨ", status.GetText(0));
  frame.ShowPrompt(ID_CLEAN_WHOLE_MEMORY);
  EXPECT_EQ("物理メモリ領域を強制開放", status.GetText(0));
  frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // the menu closed
  EXPECT_EQ("ﾚﾃﾞｨ", status.GetText(0));

  // Parts 1 to 4 hold kana, caps, num and scroll lock; each shows only while its key is on.
  const std::vector<std::pair<int, std::string>> keys = {
      {VK_CAPITAL, "CAP"}, {VK_NUMLOCK, "NUM"}, {VK_SCROLL, "SCRL"}};
  for (std::size_t on = 0; on < keys.size(); ++on) {
    qvtest::SetHeldKeys({keys[on].first}, 1);  // toggled
    frame.OnIdleUpdate();
    EXPECT_EQ("", status.GetText(1));
    for (std::size_t i = 0; i < keys.size(); ++i)
      EXPECT_EQ(i == on ? keys[i].second : "", status.GetText(static_cast<int>(i) + 2)) << on;
  }
}

// Menus apply the update rules when they open, toolbars at idle time.
TEST_F(FrameTest, UpdateRulesEnableAndCheckMenuItemsAndToolBarButtons) {
  int level = 80;
  frame.Commands().AddRange(
      ID_RELEASE_LEVEL_10, ID_RELEASE_LEVEL_100,
      [&](UINT id) { level = static_cast<int>(id - ID_RELEASE_LEVEL_10 + 1) * 10; },
      [&](qv::CCommandUI& ui) {
        ui.Enable(true);
        ui.SetCheck(static_cast<int>(ui.Id() - ID_RELEASE_LEVEL_10 + 1) * 10 == level);
      });
  bool busy = false;
  frame.Commands().Add(
      ID_SHOW_INFO, [](UINT) {}, [&](qv::CCommandUI& ui) { ui.Enable(!busy); });
  int runs = 0;
  frame.Commands().Add(ID_CLEAN_WORKING_SET, [&](UINT) { ++runs; });
  app.Add([&] {
    EXPECT_TRUE(toolBar.IsButtonEnabled(ID_SHOW_INFO));
    EXPECT_FALSE(toolBar.IsButtonEnabled(ID_CONDITION_ADD));  // nobody handles it
    busy = true;
    frame.PostMessage(QV_WM_KICKIDLE);
  });
  app.Add([&] {
    EXPECT_FALSE(toolBar.IsButtonEnabled(ID_SHOW_INFO));
    ::PostQuitMessage(0);
  });
  app.RunScript();
  qvtest::ClickToolBarButton(toolBar, 0);  // a toolbar click runs its command
  EXPECT_EQ(1, runs);

  qv::UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)));
  const HMENU operations = ::GetSubMenu(menu.Get(), 0);
  const HMENU levels = ::GetSubMenu(operations, 6);  // "開放レベル"
  auto checked = [&](UINT id) {
    frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(levels), 6);
    return (::GetMenuState(levels, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  EXPECT_TRUE(checked(ID_RELEASE_LEVEL_80));
  frame.SendMessage(WM_COMMAND, ID_RELEASE_LEVEL_30, 0);  // a menu command
  EXPECT_EQ(30, level);
  EXPECT_TRUE(checked(ID_RELEASE_LEVEL_30));
  EXPECT_FALSE(checked(ID_RELEASE_LEVEL_80));

  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(operations), 0);
  auto grayed = [&](UINT id) { return (::GetMenuState(operations, id, MF_BYCOMMAND) & MF_GRAYED); };
  EXPECT_TRUE(grayed(ID_SHOW_INFO));           // its rule disables it
  EXPECT_FALSE(grayed(ID_CLEAN_WORKING_SET));  // handled, no rule
  EXPECT_TRUE(grayed(ID_SHOW_SERVICE_LOG));    // nobody handles it
}

}  // namespace
