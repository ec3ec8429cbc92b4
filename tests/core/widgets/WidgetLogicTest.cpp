// The menu bar's key decisions and mnemonics and the chevron's geometry, without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/ChevronLayout.h"
#include "widgets/MenuBarLogic.h"

namespace {

using namespace qv::menubar;
using qv::chevron::Rect;

using A = FrameKeyAction;
using M = KeyMessage;

// mods: s(hift), c(trl), a(lt) held, r(epeat) of a held key.
FrameKey Key(M message, unsigned key, int state = kStateNone, std::string mods = "",
             int mnemonic = -1) {
  auto held = [&](char c) { return mods.find(c) != std::string::npos; };
  return {message, key, held('s'), held('c'), held('a'), held('r'), state, mnemonic};
}

TEST(MenuBarKeysTest, AFreshAltOrPlainF10TogglesAndIsAlwaysConsumedAndButtonModeKeys) {
  for (unsigned key : {kKeyMenu, kKeyF10}) {
    for (int state : {kStateNone, kStateButtons}) {
      EXPECT_EQ(A::ToggleKeyboardMode, ClassifyFrameKey(Key(M::SysKeyDown, key, state)));
      EXPECT_EQ(A::Consume, ClassifyFrameKey(Key(M::KeyDown, key, state)));
      EXPECT_EQ(A::Consume, ClassifyFrameKey(Key(M::SysKeyUp, key, state)));
    }
  }
  for (M message : {M::KeyDown, M::SysKeyDown}) {
    EXPECT_EQ(A::EndTracking, ClassifyFrameKey(Key(message, kKeyEscape, kStateButtons)));
    for (unsigned key : {kKeySpace, kKeyUp, kKeyDown})
      EXPECT_EQ(A::TrackHot, ClassifyFrameKey(Key(message, key, kStateButtons)));
    EXPECT_EQ(A::HotPrevious, ClassifyFrameKey(Key(message, kKeyLeft, kStateButtons)));
    EXPECT_EQ(A::HotNext, ClassifyFrameKey(Key(message, kKeyRight, kStateButtons)));
  }
}

TEST(MenuBarKeysTest, ModifiersLettersAndOtherKeys) {
  const std::vector<std::pair<FrameKey, A>> cases = {
      // A held Alt repeats its key-down message; that must not flip the bar back and forth.
      {Key(M::SysKeyDown, kKeyMenu, kStateNone, "r"), A::Consume},
      {Key(M::SysKeyDown, kKeyF10, kStateNone, "c"), A::PassThrough},
      {Key(M::SysKeyDown, kKeyF10, kStateButtons, "a"), A::EndTrackingPass},
      // Button-mode keys outside button mode are the frame's; other keys end button mode.
      {Key(M::KeyDown, kKeyDown), A::PassThrough},
      {Key(M::KeyDown, 0x70 /* F1 */, kStateButtons), A::EndTrackingPass},
      {Key(M::SysKeyUp, 'X', kStateButtons), A::EndTrackingPass},
      {Key(M::Other, kKeyMenu), A::PassThrough},
      // In button mode a mnemonic opens its menu, any other letter or digit beeps.
      {Key(M::KeyDown, 'Z', kStateButtons), A::Beep},
      {Key(M::KeyDown, '7', kStateButtons), A::Beep},
      // With Alt from any state a mnemonic opens its menu; without, letters are typing.
      {Key(M::SysKeyDown, 'Z', kStateNone, "a"), A::PassThrough},
      {Key(M::KeyDown, 'O', kStateNone, "", 0), A::PassThrough},
  };
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(cases[i].second, ClassifyFrameKey(cases[i].first)) << "case " << i;
}

// The plain cases, the wrap at both ends and Escape are driven through real menus in the
// Windows tests; these are the ones the two-menu bar there cannot reach.
TEST(MenuBarKeysTest, ArrowsInsideADropDownAndBetweenButtons) {
  // Right on an item that opens a sub-menu opens it; Left inside a sub-menu closes it.
  EXPECT_EQ(MenuKeyAction::PassToMenu, ClassifyMenuKey(kKeyRight, true, false));
  EXPECT_EQ(MenuKeyAction::PassToMenu, ClassifyMenuKey(kKeyLeft, false, true));
  EXPECT_EQ(MenuKeyAction::SwitchNext, ClassifyMenuKey(kKeyRight, false, true));
  EXPECT_EQ(MenuKeyAction::SwitchPrevious, ClassifyMenuKey(kKeyLeft, true, false));
  EXPECT_EQ(2, NextButton(0, true, 3));
  EXPECT_EQ(0, NextButton(0, false, 1));
  EXPECT_EQ(-1, NextButton(0, false, 0));
}

TEST(MenuBarMnemonicTest, FindsTheCharacterAfterTheAmpersand) {
  const std::vector<std::string> menus = {"操作(&O)", "ヘルプﾟ(&H)"};
  EXPECT_EQ(0, FindMnemonic(menus, 'O'));
  EXPECT_EQ(0, FindMnemonic(menus, 'o'));
  EXPECT_EQ(1, FindMnemonic(menus, 'H'));
  EXPECT_EQ(-1, FindMnemonic(menus, 'Z'));
  EXPECT_EQ(-1, FindMnemonic({}, 'O'));
  // A lead byte takes the next byte with it, as the system's character walk does: the "&"
  // after a lone lead byte is no mnemonic mark.
  EXPECT_EQ(-1, FindMnemonic({"\x81&S"}, 'S'));
  EXPECT_EQ(0, FindMnemonic({"\x81\x40&S"}, 'S'));
  EXPECT_EQ(-1, FindMnemonic({"A&&B"}, 'B'));
  EXPECT_EQ(-1, FindMnemonic({"終了&"}, '\0'));
  EXPECT_EQ(-1, FindMnemonic({"no mnemonic"}, 'N'));
}

TEST(ChevronLayoutTest, TheVisibleAreaLeavesOutTheChevronAndHidesButtonsCutByIt) {
  EXPECT_EQ((Rect{10, 2, 176, 24}), qv::chevron::VisibleArea(Rect{10, 2, 190, 24}, 14));
  EXPECT_EQ((Rect{10, 2, 190, 24}), qv::chevron::VisibleArea(Rect{10, 2, 190, 24}, 0));
  // Only buttons wholly inside are visible.
  const Rect visible{0, 0, 100, 22};
  EXPECT_TRUE(qv::chevron::IsWhollyVisible(Rect{0, 0, 23, 22}, visible));
  EXPECT_TRUE(qv::chevron::IsWhollyVisible(Rect{77, 0, 100, 22}, visible));  // touching the edge
  EXPECT_FALSE(qv::chevron::IsWhollyVisible(Rect{90, 0, 113, 22}, visible));
  EXPECT_FALSE(qv::chevron::IsWhollyVisible(Rect{120, 0, 143, 22}, visible));
  EXPECT_FALSE(qv::chevron::IsWhollyVisible(Rect{-5, 0, 18, 22}, visible));
}

TEST(ChevronLayoutTest, FourButtonsToARowInAPopupThatStaysOnTheScreen) {
  const int rows[] = {1, 1, 1, 1, 1, 2, 2, 2, 2, 3};  // for 0 to 9 buttons
  for (int n = 0; n < 10; ++n) EXPECT_EQ(rows[n], qv::chevron::PopupRows(n)) << n;
  // The pop-up stays on the screen.
  EXPECT_EQ((Rect{100, 50, 200, 120}), qv::chevron::PlacePopup(100, 50, 100, 70, 1280, 1024));
  // Past the right edge: moved left until its right edge lies on it.
  EXPECT_EQ((Rect{1180, 50, 1280, 120}), qv::chevron::PlacePopup(1250, 50, 100, 70, 1280, 1024));
  // Past the bottom edge: moved up. Past both: ChevronTest opens one in the screen's corner.
  EXPECT_EQ((Rect{100, 954, 200, 1024}), qv::chevron::PlacePopup(100, 1000, 100, 70, 1280, 1024));
}

}  // namespace
