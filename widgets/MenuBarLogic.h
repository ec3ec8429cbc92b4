// The menu bar's decisions that need no window: which keys it takes, where the arrow keys
// lead, and which button a mnemonic opens.
#pragma once

#include <string>
#include <vector>

namespace qv::menubar {

// Tracking states of the bar.
constexpr int kStateNone = 0;     // the bar is not selected
constexpr int kStateButtons = 1;  // selected by the keyboard, one button hot
constexpr int kStatePopup = 2;    // a drop-down menu is open

// Virtual-key codes of the keys the bar looks at.
constexpr unsigned kKeyMenu = 0x12;  // Alt
constexpr unsigned kKeyEscape = 0x1B;
constexpr unsigned kKeySpace = 0x20;
constexpr unsigned kKeyLeft = 0x25;
constexpr unsigned kKeyUp = 0x26;
constexpr unsigned kKeyRight = 0x27;
constexpr unsigned kKeyDown = 0x28;
constexpr unsigned kKeyF10 = 0x79;

enum class KeyMessage { KeyDown, SysKeyDown, SysKeyUp, Other };

struct FrameKey {
  KeyMessage message = KeyMessage::Other;
  unsigned key = 0;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool repeat = false;  // the key was already down (auto-repeat)
  int trackingState = kStateNone;
  int mnemonicButton = -1;  // the button whose mnemonic is this key's character, or -1
};

enum class FrameKeyAction {
  PassThrough,         // not the bar's key
  Consume,             // swallowed, nothing changes
  ToggleKeyboardMode,  // and consumed
  EndTracking,         // back to state 0, consumed
  EndTrackingPass,     // back to state 0, not consumed
  TrackHot,            // open the hot button's menu, consumed
  HotPrevious,         // consumed
  HotNext,             // consumed
  TrackMnemonic,       // open mnemonicButton's menu, consumed
  Beep,                // consumed
};

// What the bar does with a key message that the frame is about to translate.
FrameKeyAction ClassifyFrameKey(const FrameKey& key);

enum class MenuKeyAction { PassToMenu, SwitchPrevious, SwitchNext, EscapePressed };

// A key pressed inside an open drop-down: Left and Right switch to the neighbouring menu unless
// they belong to a nested sub-menu (Left closes it, Right opens the highlighted one).
MenuKeyAction ClassifyMenuKey(unsigned key, bool popupItemSelected, bool submenuSelected);

// The neighbouring button, wrapping round at both ends.
int NextButton(int index, bool previous, int count);

// The position of the first text whose mnemonic ("&" before it) is the character, compared
// without regard to ASCII case; -1 when none. Texts are code page 932: a double-byte
// character's trail byte is never read as "&".
int FindMnemonic(const std::vector<std::string>& texts, char character);

}  // namespace qv::menubar
