// The rebar's chevrons: the pop-up toolbar of a toolbar band, and the menu of the menu bar's
// band, opened the way the rebar opens them (RB_PUSHCHEVRON sends the chevron notification).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "framework/ToolBar.h"
#include "resources/resource.h"
#include "widgets/MenuBar.h"
#include "widgets/MyReBar.h"

namespace {

constexpr DWORD kChevronBand = 0x285;

class ChevronTest : public ::testing::Test {
 protected:
  // A frame with one rebar band: the toolbar of resource 128 (six buttons), plus extra buttons.
  void OpenWithToolBar(const RECT& rc, int extraButtons) {
    ASSERT_TRUE(frame.Open(rc));
    ASSERT_TRUE(rebar.Create(frame, RBS_BANDBORDERS, 0xE804));
    ASSERT_TRUE(toolBar.Create(
        frame,
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
        0xE800));
    ASSERT_TRUE(toolBar.LoadToolBar(IDR_MAINFRAME));
    for (int i = 0; i < extraButtons; ++i) {
      TBBUTTON button{i % 6, 40000 + i, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1};
      ASSERT_TRUE(toolBar.AddButtons(1, &button));
    }
    ASSERT_TRUE(rebar.AddBar(toolBar, kChevronBand));
    frame.SetReBar(rebar);
    frame.RecalcLayout();
  }

  void OpenWithMenuBar(const RECT& rc) {
    ASSERT_TRUE(frame.Open(rc));
    ASSERT_TRUE(rebar.Create(frame, RBS_BANDBORDERS, 0xE804));
    ASSERT_TRUE(menuBar.Create(frame, 0x50001854, 0x8000));
    ASSERT_TRUE(menuBar.LoadMenuBar(IDR_MAINFRAME));
    ASSERT_TRUE(rebar.AddBar(menuBar, kChevronBand));
    frame.SetReBar(rebar);
    frame.RecalcLayout();
  }

  const qv::CToolBarCtrl& PopupToolBar() { return rebar.GetChevronPopup()->GetToolBar(); }

  qvtest::TestFrame frame;
  qvtest::ScriptedApp app{frame};
  CMyReBar rebar;
  qv::CToolBar toolBar;
  CMenuBar menuBar;
};

TEST_F(ChevronTest, NineHiddenButtonsGiveAPopupToolBarOfThreeRows) {
  // A band too narrow for any button: all nine are hidden.
  OpenWithToolBar(RECT{50, 50, 90, 250}, 3);
  rebar.PushChevron(0);
  CChevronPopup* popup = rebar.GetChevronPopup();
  ASSERT_NE(nullptr, popup);
  EXPECT_TRUE(popup->IsWindowVisible());
  EXPECT_TRUE(popup->IsActive());
  EXPECT_EQ(9, PopupToolBar().GetButtonCount());
  EXPECT_EQ(3, PopupToolBar().GetRows());
  TBBUTTON first{};
  ASSERT_TRUE(PopupToolBar().GetButton(0, first));
  EXPECT_EQ(ID_CLEAN_WORKING_SET, first.idCommand);

  // A button of the pop-up reaches the frame as the command it stands for.
  RECT button{};
  ASSERT_TRUE(PopupToolBar().GetItemRect(2, button));
  PopupToolBar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                             qvtest::PointParam(qvtest::Center(button)));
  PopupToolBar().SendMessage(WM_LBUTTONUP, 0, qvtest::PointParam(qvtest::Center(button)));
  EXPECT_EQ(1, frame.CountCommands(ID_SHOW_INFO));

  // Escape hides it; the next push shows it again with a new toolbar.
  popup->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(popup->IsWindowVisible());
  EXPECT_FALSE(popup->IsActive());
  rebar.PushChevron(0);
  EXPECT_EQ(popup, rebar.GetChevronPopup());
  EXPECT_TRUE(popup->IsWindowVisible());
  EXPECT_EQ(9, PopupToolBar().GetButtonCount());

  // Once the band is wide enough for every button, a push shows nothing.
  popup->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  ::SetWindowPos(frame, nullptr, 0, 0, 900, 200, SWP_NOMOVE | SWP_NOZORDER);
  frame.RecalcLayout();
  rebar.PushChevron(0);
  EXPECT_FALSE(popup->IsWindowVisible());
  EXPECT_FALSE(popup->IsActive());  // the frame's caption is not held active either
}

TEST_F(ChevronTest, APopupCrossingTheRightOrBottomScreenEdgeIsShiftedBackOntoIt) {
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  OpenWithToolBar(RECT{screenWidth - 40, screenHeight - 40, screenWidth, screenHeight}, 3);
  rebar.PushChevron(0);
  CChevronPopup* popup = rebar.GetChevronPopup();
  ASSERT_NE(nullptr, popup);
  ASSERT_TRUE(popup->IsWindowVisible());
  const RECT placed = popup->GetWindowRect();
  EXPECT_EQ(screenWidth, placed.right);
  EXPECT_EQ(screenHeight, placed.bottom);
  EXPECT_GT(placed.right - placed.left, 40);
}

TEST_F(ChevronTest, TheMenuBarsChevronListsTheHiddenMenusAndLeavesThemWhole) {
  OpenWithMenuBar(RECT{50, 50, 80, 250});  // too narrow for either menu
  const HMENU menu = menuBar.GetMenu();
  std::vector<int> itemCounts;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
    itemCounts.push_back(::GetMenuItemCount(::GetSubMenu(menu, i)));

  qvtest::PostKey(frame, WM_KEYDOWN, VK_ESCAPE);  // closes the menu once it is open
  rebar.PushChevron(0);
  qvtest::DrainQueue();

  ASSERT_EQ(1u, frame.openedMenuTexts.size());
  EXPECT_EQ((std::vector<std::string>{"操作(&O)", "ヘルプﾟ(&H)"}), frame.openedMenuTexts[0]);
  ASSERT_EQ(2, ::GetMenuItemCount(menu));
  for (int i = 0; i < 2; ++i) {
    const HMENU dropDown = ::GetSubMenu(menu, i);
    EXPECT_TRUE(::IsMenu(dropDown));
    EXPECT_EQ(itemCounts[static_cast<std::size_t>(i)], ::GetMenuItemCount(dropDown));
  }
}

TEST_F(ChevronTest, GetBandPosOfAWindowInNoBandGivesTheBandCount) {
  OpenWithToolBar(RECT{50, 50, 750, 250}, 0);
  ASSERT_TRUE(menuBar.Create(frame, 0x50001854, 0x8000));
  ASSERT_TRUE(menuBar.LoadMenuBar(IDR_MAINFRAME));
  ASSERT_TRUE(rebar.AddBar(menuBar, kChevronBand));
  EXPECT_EQ(0u, rebar.GetBandPos(toolBar));
  EXPECT_EQ(1u, rebar.GetBandPos(menuBar));
  qv::CWindow stranger(frame);
  EXPECT_EQ(2u, rebar.GetBandPos(stranger));
  EXPECT_EQ(2u, rebar.GetBandPos(qv::CWindow()));
}

}  // namespace
