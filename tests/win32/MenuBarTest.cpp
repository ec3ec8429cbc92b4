// The menu bar driven from the keyboard and the mouse, through the message loop and the bar's
// translation, and through the menu's own loop while a drop-down is open.
#include "WindowTestSupport.h"

namespace {

using Check = std::function<void()>;

class MenuBarTest : public qvtest::FrameFixture {
 protected:
  void SetUp() override {
    qvtest::SetHeldKeys({});
    OpenFrame(RECT{100, 100, 600, 400});
    AddMenuBar();
    frame.preTranslate = [this](MSG& msg) { return menuBar.TranslateFrameMessage(msg) != FALSE; };
  }

  HMENU DropDown(int index) const { return ::GetSubMenu(menuBar.GetMenu(), index); }
  // A step of the script: check what the keys so far did, then post the next one.
  void Step(Check check, UINT message, UINT key, bool alt = false, std::vector<int> held = {}) {
    app.Add([this, check, message, key, alt, held] {
      if (check) check();
      qvtest::SetHeldKeys(held);
      qvtest::PostKey(frame, message, key, alt);
    });
  }
  void Press(UINT key, Check check = nullptr) { Step(check, WM_KEYDOWN, key); }
  void PressAlt(Check check = nullptr) { Step(check, WM_SYSKEYDOWN, VK_MENU, true); }
  // Button mode (tracking state 1) with that button hot.
  Check Buttons(int hot, int tracking = 1) {
    return [this, hot, tracking] {
      EXPECT_EQ(tracking, menuBar.GetTrackingState());
      EXPECT_EQ(hot, menuBar.GetHotItem());
    };
  }
  Check Open(HMENU menu) {
    return [this, menu] {
      EXPECT_EQ(2, menuBar.GetTrackingState());
      EXPECT_EQ(menu, frame.openedMenus.empty() ? nullptr : frame.openedMenus.back());
    };
  }
  void ClickButton(int index, bool screen = false) {
    RECT rc{};
    ASSERT_TRUE(menuBar.GetItemRect(index, rc));
    // Inside menu tracking the mouse position comes in screen coordinates.
    if (screen) rc = menuBar.MapRectTo(nullptr, rc);
    ::PostMessageW(menuBar, WM_LBUTTONDOWN, MK_LBUTTON, qvtest::CenterParam(rc));
  }
};

TEST_F(MenuBarTest, AltAndPlainF10EnterAndLeaveButtonMode) {
  const Check idle = Buttons(-1, 0);
  PressAlt();
  Step(Buttons(0), WM_SYSKEYUP, VK_MENU);  // releasing Alt keeps the bar selected
  PressAlt(Buttons(0));
  Step(idle, WM_SYSKEYDOWN, VK_F10);  // the second Alt left button mode
  Step(Buttons(0), WM_SYSKEYDOWN, VK_F10);
  Step(idle, WM_SYSKEYDOWN, VK_F10, false, {VK_SHIFT, VK_LSHIFT});  // Shift+F10 is the frame's
  Press('Q');  // an ordinary key outside button mode too
  app.RunScript();
  EXPECT_EQ(0, menuBar.GetTrackingState());
  const std::vector<std::pair<UINT, WPARAM>> keys{{WM_SYSKEYDOWN, VK_F10}, {WM_KEYDOWN, 'Q'}};
  EXPECT_EQ(keys, frame.keys);
}

TEST_F(MenuBarTest, ArrowsWrapRoundTheButtonsAndTheDropDownsAndOpenSubMenus) {
  const HMENU conditions = ::GetSubMenu(DropDown(0), 0);
  ASSERT_NE(nullptr, conditions);
  PressAlt();
  Press(VK_LEFT);
  Press(VK_RIGHT, Buttons(1));  // Left on the first button: the last
  Press(VK_LEFT, Buttons(0));   // Right on the last: the first
  Press(VK_DOWN);               // opens the last menu
  Press(VK_RIGHT, Open(DropDown(1)));
  Press(VK_LEFT, Open(DropDown(0)));  // Right went from the last menu to the first
  Press(VK_ESCAPE, Open(DropDown(1)));
  Press(VK_RIGHT, Buttons(1));  // Escape in a drop-down: button mode on the same button
  Press(VK_DOWN, Buttons(0));
  Press(VK_DOWN);  // highlights "条件設定(&F)", an item with a sub-menu
  Press(VK_RIGHT);
  Press(VK_LEFT, Open(conditions));  // Right opened the sub-menu; Left closes it, no switch
  Press(VK_ESCAPE, [&] {
    EXPECT_EQ(2, menuBar.GetTrackingState());
    EXPECT_EQ(0, menuBar.GetPopupIndex());
  });
  Press(VK_ESCAPE, Buttons(0));
  app.RunScript();
  EXPECT_EQ((std::vector<HMENU>{DropDown(1), DropDown(0), DropDown(1), DropDown(0), conditions}),
            frame.openedMenus);
  EXPECT_TRUE(frame.keys.empty());
}

TEST_F(MenuBarTest, AClickOpensTheButtonsMenuAndASecondClickClosesIt) {
  app.Add([&] { ClickButton(1); });
  app.Add([&] {
    Open(DropDown(1))();
    ClickButton(1, true);
  });
  app.Add([&] { ::PostMessageW(frame, WM_NULL, 0, 0); });
  app.RunScript();
  EXPECT_EQ(0, menuBar.GetTrackingState());
  EXPECT_EQ((std::vector<HMENU>{DropDown(1)}), frame.openedMenus);
  RECT last{};
  ASSERT_TRUE(menuBar.GetItemRect(1, last));
  EXPECT_LT(menuBar.HitTest(POINT{last.right + 200, last.top}), 0);  // beyond the buttons: none
}

TEST_F(MenuBarTest, MnemonicsOpenTheirMenusAndUnknownLettersAreSwallowed) {
  PressAlt();
  Press('Z');
  Press('H', Buttons(0));  // "ヘルプﾟ(&H)" in button mode
  Press(VK_ESCAPE, Open(DropDown(1)));
  Press(VK_ESCAPE, Buttons(1));
  // Alt+O outside button mode: "操作(&O)".
  Step(nullptr, WM_SYSKEYDOWN, 'O', true, {VK_MENU, VK_LMENU});
  Press(VK_ESCAPE, Open(DropDown(0)));
  Press(VK_ESCAPE);
  app.RunScript();
  EXPECT_EQ(0, menuBar.GetTrackingState());
  EXPECT_EQ((std::vector<HMENU>{DropDown(1), DropDown(0)}), frame.openedMenus);
  EXPECT_TRUE(frame.keys.empty());
}

}  // namespace
