// The menu bar's key decisions and mnemonics, without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/MenuBarLogic.h"

namespace {

using namespace qv::menubar;

FrameKey Key(KeyMessage message, unsigned key, int state = kStateNone) {
  FrameKey k;
  k.message = message;
  k.key = key;
  k.trackingState = state;
  return k;
}

TEST(MenuBarKeysTest, AFreshAltOrPlainF10TogglesAndIsAlwaysConsumed) {
  for (unsigned key : {kKeyMenu, kKeyF10}) {
    for (int state : {kStateNone, kStateButtons}) {
      EXPECT_EQ(FrameKeyAction::ToggleKeyboardMode,
                ClassifyFrameKey(Key(KeyMessage::SysKeyDown, key, state)));
      EXPECT_EQ(FrameKeyAction::Consume, ClassifyFrameKey(Key(KeyMessage::KeyDown, key, state)));
      EXPECT_EQ(FrameKeyAction::Consume, ClassifyFrameKey(Key(KeyMessage::SysKeyUp, key, state)));
    }
  }
  // A held key repeats its key-down message; that must not flip the bar back and forth.
  FrameKey held = Key(KeyMessage::SysKeyDown, kKeyMenu);
  held.repeat = true;
  EXPECT_EQ(FrameKeyAction::Consume, ClassifyFrameKey(held));
}

TEST(MenuBarKeysTest, F10WithShiftCtrlOrAltIsNotTheBars) {
  FrameKey shifted = Key(KeyMessage::SysKeyDown, kKeyF10);
  shifted.shift = true;
  EXPECT_EQ(FrameKeyAction::PassThrough, ClassifyFrameKey(shifted));
  FrameKey ctrl = Key(KeyMessage::SysKeyDown, kKeyF10);
  ctrl.ctrl = true;
  EXPECT_EQ(FrameKeyAction::PassThrough, ClassifyFrameKey(ctrl));
  FrameKey alt = Key(KeyMessage::SysKeyDown, kKeyF10, kStateButtons);
  alt.alt = true;
  EXPECT_EQ(FrameKeyAction::EndTrackingPass, ClassifyFrameKey(alt));
}

TEST(MenuBarKeysTest, ButtonModeKeys) {
  for (KeyMessage message : {KeyMessage::KeyDown, KeyMessage::SysKeyDown}) {
    EXPECT_EQ(FrameKeyAction::EndTracking,
              ClassifyFrameKey(Key(message, kKeyEscape, kStateButtons)));
    for (unsigned key : {kKeySpace, kKeyUp, kKeyDown}) {
      EXPECT_EQ(FrameKeyAction::TrackHot, ClassifyFrameKey(Key(message, key, kStateButtons)));
    }
    EXPECT_EQ(FrameKeyAction::HotPrevious, ClassifyFrameKey(Key(message, kKeyLeft, kStateButtons)));
    EXPECT_EQ(FrameKeyAction::HotNext, ClassifyFrameKey(Key(message, kKeyRight, kStateButtons)));
  }
  // The same keys outside button mode belong to the frame.
  EXPECT_EQ(FrameKeyAction::PassThrough, ClassifyFrameKey(Key(KeyMessage::KeyDown, kKeyDown)));
  // Any other key ends button mode and goes on to the frame.
  EXPECT_EQ(FrameKeyAction::EndTrackingPass,
            ClassifyFrameKey(Key(KeyMessage::KeyDown, 0x70 /* F1 */, kStateButtons)));
  EXPECT_EQ(FrameKeyAction::EndTrackingPass,
            ClassifyFrameKey(Key(KeyMessage::SysKeyUp, 'X', kStateButtons)));
  EXPECT_EQ(FrameKeyAction::PassThrough, ClassifyFrameKey(Key(KeyMessage::Other, kKeyMenu)));
}

TEST(MenuBarKeysTest, LettersAndDigits) {
  FrameKey known = Key(KeyMessage::KeyDown, 'H', kStateButtons);
  known.mnemonicButton = 1;
  EXPECT_EQ(FrameKeyAction::TrackMnemonic, ClassifyFrameKey(known));

  // Unknown in button mode: a beep, and the bar stays selected.
  EXPECT_EQ(FrameKeyAction::Beep, ClassifyFrameKey(Key(KeyMessage::KeyDown, 'Z', kStateButtons)));
  EXPECT_EQ(FrameKeyAction::Beep, ClassifyFrameKey(Key(KeyMessage::KeyDown, '7', kStateButtons)));

  // With Alt held a mnemonic opens its menu from any state; an unknown one is the frame's.
  FrameKey altKnown = Key(KeyMessage::SysKeyDown, 'O');
  altKnown.alt = true;
  altKnown.mnemonicButton = 0;
  EXPECT_EQ(FrameKeyAction::TrackMnemonic, ClassifyFrameKey(altKnown));
  FrameKey altUnknown = Key(KeyMessage::SysKeyDown, 'Z');
  altUnknown.alt = true;
  EXPECT_EQ(FrameKeyAction::PassThrough, ClassifyFrameKey(altUnknown));

  // Without Alt and outside button mode letters are typing.
  FrameKey typed = Key(KeyMessage::KeyDown, 'O');
  typed.mnemonicButton = 0;
  EXPECT_EQ(FrameKeyAction::PassThrough, ClassifyFrameKey(typed));
}

TEST(MenuBarKeysTest, ArrowsInsideADropDown) {
  EXPECT_EQ(MenuKeyAction::SwitchNext, ClassifyMenuKey(kKeyRight, false, false));
  EXPECT_EQ(MenuKeyAction::SwitchPrevious, ClassifyMenuKey(kKeyLeft, false, false));
  // Right on an item that opens a sub-menu opens it; Left inside a sub-menu closes it.
  EXPECT_EQ(MenuKeyAction::PassToMenu, ClassifyMenuKey(kKeyRight, true, false));
  EXPECT_EQ(MenuKeyAction::PassToMenu, ClassifyMenuKey(kKeyLeft, false, true));
  EXPECT_EQ(MenuKeyAction::SwitchNext, ClassifyMenuKey(kKeyRight, false, true));
  EXPECT_EQ(MenuKeyAction::SwitchPrevious, ClassifyMenuKey(kKeyLeft, true, false));
  EXPECT_EQ(MenuKeyAction::EscapePressed, ClassifyMenuKey(kKeyEscape, true, true));
  EXPECT_EQ(MenuKeyAction::PassToMenu, ClassifyMenuKey(kKeyDown, false, false));
}

TEST(MenuBarKeysTest, NextButtonWrapsAtBothEnds) {
  EXPECT_EQ(1, NextButton(0, false, 3));
  EXPECT_EQ(0, NextButton(2, false, 3));
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
}

TEST(MenuBarMnemonicTest, DoubleByteCharactersAndLiteralAmpersands) {
  // A lead byte takes the next byte with it, as the system's character walk does: the "&"
  // after a lone lead byte is no mnemonic mark.
  EXPECT_EQ(-1, FindMnemonic({"\x81&S"}, 'S'));
  EXPECT_EQ(0, FindMnemonic({"\x81\x40&S"}, 'S'));
  EXPECT_EQ(-1, FindMnemonic({"A&&B"}, 'B'));
  EXPECT_EQ(-1, FindMnemonic({"終了&"}, '\0'));
  EXPECT_EQ(-1, FindMnemonic({"no mnemonic"}, 'N'));
}

}  // namespace
