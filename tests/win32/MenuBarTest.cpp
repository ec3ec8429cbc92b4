// The menu bar driven from the keyboard and the mouse: key messages go through the message
// loop and the bar's translation, and through the menu's own loop while a drop-down is open.
#include <windows.h>

#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "resources/resource.h"
#include "widgets/MenuBar.h"
#include "widgets/MyReBar.h"

namespace {

using qvtest::PostKey;

class MenuBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qvtest::SetHeldKeys({});
    ASSERT_TRUE(frame.Open(RECT{100, 100, 600, 400}));
    ASSERT_TRUE(rebar.Create(frame, RBS_BANDBORDERS, 0xE804));
    ASSERT_TRUE(bar.Create(frame, 0x50001854, 0x8000));
    ASSERT_TRUE(bar.LoadMenuBar(IDR_MAINFRAME));
    ASSERT_TRUE(rebar.AddBar(bar, 0x285));
    frame.SetReBar(rebar);
    frame.RecalcLayout();
    frame.preTranslate = [this](MSG& msg) { return bar.TranslateFrameMessage(msg) != FALSE; };
  }
  void TearDown() override { qvtest::SetHeldKeys({}); }

  HMENU DropDown(int index) const { return ::GetSubMenu(bar.GetMenu(), index); }
  void Key(UINT message, UINT key, bool alt = false) { PostKey(frame, message, key, alt); }
  void ExpectButtonMode(int hot) {
    EXPECT_EQ(1, bar.GetTrackingState());
    EXPECT_EQ(hot, bar.GetHotItem());
  }

  qvtest::TestFrame frame;
  qvtest::ScriptedApp app{frame};
  CMyReBar rebar;
  CMenuBar bar;
};

TEST_F(MenuBarTest, LoadsOneButtonPerMenuOfMenu128) {
  EXPECT_EQ(2, bar.GetMenuCount());
  EXPECT_EQ(2, bar.GetButtonCount());
  RECT first{};
  RECT second{};
  ASSERT_TRUE(bar.GetItemRect(0, first));
  ASSERT_TRUE(bar.GetItemRect(1, second));
  EXPECT_EQ(0, bar.HitTest(qvtest::Center(first)));
  EXPECT_EQ(1, bar.HitTest(qvtest::Center(second)));
  EXPECT_LT(bar.HitTest(POINT{second.right + 200, second.top}), 0);
}

TEST_F(MenuBarTest, AltAndF10EnterAndLeaveButtonMode) {
  app.Add([&] { Key(WM_SYSKEYDOWN, VK_MENU, true); });
  app.Add([&] {
    ExpectButtonMode(0);
    Key(WM_SYSKEYUP, VK_MENU);  // releasing Alt keeps the bar selected
  });
  app.Add([&] {
    ExpectButtonMode(0);
    Key(WM_SYSKEYDOWN, VK_MENU, true);
  });
  app.Add([&] {
    EXPECT_EQ(0, bar.GetTrackingState());
    EXPECT_EQ(-1, bar.GetHotItem());
    Key(WM_SYSKEYDOWN, VK_F10);
  });
  app.Add([&] {
    ExpectButtonMode(0);
    Key(WM_SYSKEYDOWN, VK_F10);
  });
  app.Add([&] {
    EXPECT_EQ(0, bar.GetTrackingState());
    Key(WM_KEYDOWN, 'Q');  // an ordinary key outside button mode is the frame's
  });
  app.RunScript();
  ASSERT_EQ(1u, frame.keys.size());
  EXPECT_EQ(static_cast<WPARAM>('Q'), frame.keys[0].wParam);
}

TEST_F(MenuBarTest, F10WithShiftPassesThroughToTheFrame) {
  app.Add([&] {
    qvtest::SetHeldKeys({VK_SHIFT, VK_LSHIFT});
    Key(WM_SYSKEYDOWN, VK_F10);
  });
  app.Add([&] {
    qvtest::SetHeldKeys({});
    EXPECT_EQ(0, bar.GetTrackingState());
    Key(WM_SYSKEYDOWN, VK_F10);  // without Shift it is the bar's again
  });
  app.Add([&] {
    ExpectButtonMode(0);
    Key(WM_KEYDOWN, VK_ESCAPE);
  });
  app.RunScript();
  ASSERT_EQ(1u, frame.keys.size());
  EXPECT_EQ(static_cast<UINT>(WM_SYSKEYDOWN), frame.keys[0].message);
  EXPECT_EQ(static_cast<WPARAM>(VK_F10), frame.keys[0].wParam);
  EXPECT_EQ(0, bar.GetTrackingState());
}

TEST_F(MenuBarTest, ArrowsWrapRoundTheButtonsAndTheDropDowns) {
  app.Add([&] { Key(WM_SYSKEYDOWN, VK_MENU, true); });
  app.Add([&] { Key(WM_KEYDOWN, VK_LEFT); });
  app.Add([&] {
    ExpectButtonMode(1);  // Left on the first button: the last
    Key(WM_KEYDOWN, VK_RIGHT);
  });
  app.Add([&] {
    ExpectButtonMode(0);  // Right on the last: the first
    Key(WM_KEYDOWN, VK_LEFT);
  });
  app.Add([&] { Key(WM_KEYDOWN, VK_DOWN); });  // opens the last menu
  app.Add([&] {
    EXPECT_EQ(2, bar.GetTrackingState());
    EXPECT_EQ(1, bar.GetPopupIndex());
    ASSERT_FALSE(frame.openedMenus.empty());
    EXPECT_EQ(DropDown(1), frame.openedMenus.back());
    Key(WM_KEYDOWN, VK_RIGHT);  // from the last menu to the first
  });
  app.Add([&] {
    EXPECT_EQ(0, bar.GetPopupIndex());
    EXPECT_EQ(DropDown(0), frame.openedMenus.back());
    Key(WM_KEYDOWN, VK_LEFT);  // and back to the last
  });
  app.Add([&] {
    EXPECT_EQ(1, bar.GetPopupIndex());
    EXPECT_EQ(DropDown(1), frame.openedMenus.back());
    Key(WM_KEYDOWN, VK_ESCAPE);
  });
  app.Add([&] {
    ExpectButtonMode(1);  // Escape in a drop-down: button mode on the same button
    Key(WM_KEYDOWN, VK_ESCAPE);
  });
  app.RunScript();
  EXPECT_EQ(0, bar.GetTrackingState());
  EXPECT_EQ(3u, frame.openedMenus.size());
  EXPECT_TRUE(frame.keys.empty());
}

TEST_F(MenuBarTest, RightOnAnItemWithASubMenuOpensTheSubMenu) {
  const HMENU conditions = ::GetSubMenu(DropDown(0), 0);  // "条件設定(&F)"
  ASSERT_NE(nullptr, conditions);
  app.Add([&] { Key(WM_SYSKEYDOWN, VK_MENU, true); });
  app.Add([&] { Key(WM_KEYDOWN, VK_DOWN); });
  app.Add([&] { Key(WM_KEYDOWN, VK_DOWN); });  // highlights "条件設定(&F)"
  app.Add([&] { Key(WM_KEYDOWN, VK_RIGHT); });
  app.Add([&] {
    EXPECT_EQ(conditions, frame.openedMenus.back());
    EXPECT_EQ(0, bar.GetPopupIndex());
    Key(WM_KEYDOWN, VK_LEFT);  // inside the sub-menu: closes it, no switch
  });
  app.Add([&] {
    EXPECT_EQ(2, bar.GetTrackingState());
    EXPECT_EQ(0, bar.GetPopupIndex());
    Key(WM_KEYDOWN, VK_ESCAPE);
  });
  app.Add([&] {
    ExpectButtonMode(0);
    Key(WM_KEYDOWN, VK_ESCAPE);
  });
  app.RunScript();
  ASSERT_EQ(2u, frame.openedMenus.size());
  EXPECT_EQ(DropDown(0), frame.openedMenus[0]);
  EXPECT_EQ(conditions, frame.openedMenus[1]);
}

TEST_F(MenuBarTest, ClickingTheOpenMenusButtonClosesItAndOpensNone) {
  app.Add([&] { Key(WM_SYSKEYDOWN, VK_MENU, true); });
  app.Add([&] { Key(WM_KEYDOWN, VK_DOWN); });
  app.Add([&] {
    EXPECT_EQ(0, bar.GetPopupIndex());
    RECT button{};
    bar.GetItemRect(0, button);
    // Inside menu tracking the mouse position comes in screen coordinates.
    const POINT screen = bar.ClientToScreen(qvtest::Center(button));
    ::PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, qvtest::PointParam(screen));
  });
  app.Add([&] { ::PostMessageW(frame, WM_NULL, 0, 0); });
  app.RunScript();
  EXPECT_EQ(0, bar.GetTrackingState());
  EXPECT_EQ(1u, frame.openedMenus.size());
}

TEST_F(MenuBarTest, AClickOnAButtonOpensItsMenu) {
  app.Add([&] {
    RECT button{};
    bar.GetItemRect(1, button);
    ::PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, qvtest::PointParam(qvtest::Center(button)));
  });
  app.Add([&] {
    EXPECT_EQ(2, bar.GetTrackingState());
    EXPECT_EQ(1, bar.GetPopupIndex());
    Key(WM_KEYDOWN, VK_ESCAPE);
  });
  app.Add([&] { Key(WM_KEYDOWN, VK_ESCAPE); });
  app.RunScript();
  ASSERT_EQ(1u, frame.openedMenus.size());
  EXPECT_EQ(DropDown(1), frame.openedMenus[0]);
}

TEST_F(MenuBarTest, AnUnknownLetterInButtonModeBeepsAndStays) {
  app.Add([&] { Key(WM_SYSKEYDOWN, VK_MENU, true); });
  app.Add([&] { Key(WM_KEYDOWN, 'Z'); });
  app.Add([&] {
    ExpectButtonMode(0);
    Key(WM_KEYDOWN, VK_ESCAPE);
  });
  app.RunScript();
  EXPECT_EQ(0, bar.GetTrackingState());
  EXPECT_TRUE(frame.keys.empty());  // the letter was consumed
  EXPECT_TRUE(frame.openedMenus.empty());
}

TEST_F(MenuBarTest, AMnemonicOpensItsMenu) {
  app.Add([&] { Key(WM_SYSKEYDOWN, VK_MENU, true); });
  app.Add([&] { Key(WM_KEYDOWN, 'H'); });  // "ヘルプﾟ(&H)" in button mode
  app.Add([&] {
    EXPECT_EQ(1, bar.GetPopupIndex());
    Key(WM_KEYDOWN, VK_ESCAPE);
  });
  app.Add([&] {
    ExpectButtonMode(1);
    Key(WM_KEYDOWN, VK_ESCAPE);
  });
  app.Add([&] {
    qvtest::SetHeldKeys({VK_MENU, VK_LMENU});
    Key(WM_SYSKEYDOWN, 'O', true);  // Alt+O from outside button mode: "操作(&O)"
  });
  app.Add([&] {
    qvtest::SetHeldKeys({});
    EXPECT_EQ(0, bar.GetPopupIndex());
    Key(WM_KEYDOWN, VK_ESCAPE);
  });
  app.Add([&] { Key(WM_KEYDOWN, VK_ESCAPE); });
  app.RunScript();
  ASSERT_EQ(2u, frame.openedMenus.size());
  EXPECT_EQ(DropDown(1), frame.openedMenus[0]);
  EXPECT_EQ(DropDown(0), frame.openedMenus[1]);
}

}  // namespace
