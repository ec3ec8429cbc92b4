// The rebar's chevrons: the pop-up toolbar of a toolbar band and the menu of the menu bar's band,
// opened the way the rebar opens them (RB_PUSHCHEVRON sends the chevron notification).
#include "WindowTestSupport.h"

namespace {

using ChevronTest = qvtest::FrameFixture;

TEST_F(ChevronTest, NineHiddenButtonsGiveAPopupToolBarOfThreeRowsOnTheScreen) {
  // A band too narrow for any button, in the screen's bottom right corner.
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  OpenFrame(RECT{width - 40, height - 40, width, height});
  AddToolBar(3);
  rebar.PushChevron(0);
  CChevronPopup* popup = rebar.GetChevronPopup();
  ASSERT_NE(nullptr, popup);
  EXPECT_TRUE(popup->IsWindowVisible());
  EXPECT_TRUE(popup->IsActive());
  EXPECT_EQ(9, popup->GetToolBar().GetButtonCount());
  EXPECT_EQ(3, popup->GetToolBar().GetRows());
  // It would cross the right and bottom edges: shifted back onto the screen.
  const RECT placed = popup->GetWindowRect();
  EXPECT_EQ(width, placed.right);
  EXPECT_EQ(height, placed.bottom);

  // A button of the pop-up reaches the frame as the command it stands for: the third hidden one.
  qvtest::ClickToolBarButton(popup->GetToolBar(), 2);
  EXPECT_EQ(1, frame.CountCommands(ID_SHOW_INFO));

  // Escape hides it; the next push shows it again with a new toolbar.
  popup->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(popup->IsWindowVisible());
  EXPECT_FALSE(popup->IsActive());
  rebar.PushChevron(0);
  EXPECT_TRUE(popup->IsWindowVisible());
  EXPECT_EQ(9, popup->GetToolBar().GetButtonCount());

  // Once the band is wide enough for every button, a push shows nothing.
  popup->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  ::SetWindowPos(frame, nullptr, 0, 0, 900, 200, SWP_NOMOVE | SWP_NOZORDER);  // lays it out
  rebar.PushChevron(0);
  EXPECT_FALSE(popup->IsWindowVisible());
  EXPECT_FALSE(popup->IsActive());  // the frame's caption is not held active either
}

TEST_F(ChevronTest, TheMenuBarsChevronListsTheHiddenMenusAndLeavesThemWhole) {
  OpenFrame(RECT{50, 50, 80, 250});  // too narrow for either menu
  AddMenuBar();
  const HMENU menu = menuBar.GetMenu();
  const std::vector<std::string> operations = qvtest::MenuTexts(::GetSubMenu(menu, 0));
  const std::vector<std::string> help = qvtest::MenuTexts(::GetSubMenu(menu, 1));

  qvtest::PostKey(frame, WM_KEYDOWN, VK_ESCAPE);  // closes the menu once it is open
  rebar.PushChevron(0);
  qvtest::DrainQueue();

  EXPECT_EQ((std::vector<std::vector<std::string>>{{"操作(&O)", "ヘルプﾟ(&H)"}}),
            frame.openedMenuTexts);
  ASSERT_EQ(2, ::GetMenuItemCount(menu));
  EXPECT_EQ(operations, qvtest::MenuTexts(::GetSubMenu(menu, 0)));
  EXPECT_EQ(help, qvtest::MenuTexts(::GetSubMenu(menu, 1)));
}

TEST_F(ChevronTest, GetBandPosOfAWindowInNoBandGivesTheBandCount) {
  OpenFrame(RECT{50, 50, 750, 250});
  AddToolBar(0);
  AddMenuBar();
  EXPECT_EQ(0u, rebar.GetBandPos(toolBar));
  EXPECT_EQ(1u, rebar.GetBandPos(menuBar));
  EXPECT_EQ(2u, rebar.GetBandPos(qv::CWindow(frame)));
  EXPECT_EQ(2u, rebar.GetBandPos(qv::CWindow()));
}

}  // namespace
