#include "widgets/MenuBarLogic.h"

namespace qv::menubar {

namespace {

bool IsLetterOrDigit(unsigned key) {
  return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
}

bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The character after the first single "&" of the text, or 0.
char MnemonicOf(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c)) {
      ++i;
      continue;
    }
    if (c != '&') continue;
    if (text[i + 1] != '&') return text[i + 1];
    ++i;  // "&&" is a literal ampersand
  }
  return 0;
}

}  // namespace

FrameKeyAction ClassifyFrameKey(const FrameKey& key) {
  if (key.message == KeyMessage::Other) return FrameKeyAction::PassThrough;

  const bool plainF10 = key.key == kKeyF10 && !key.shift && !key.ctrl && !key.alt;
  if (key.key == kKeyMenu || plainF10) {
    // Only a fresh press toggles: a held key repeats its key-down message.
    if (key.message == KeyMessage::SysKeyDown && !key.repeat)
      return FrameKeyAction::ToggleKeyboardMode;
    return FrameKeyAction::Consume;
  }
  if (key.message == KeyMessage::SysKeyUp) {
    return key.trackingState > kStateNone ? FrameKeyAction::EndTrackingPass
                                          : FrameKeyAction::PassThrough;
  }

  if (key.trackingState == kStateButtons) {
    switch (key.key) {
      case kKeyEscape:
        return FrameKeyAction::EndTracking;
      case kKeySpace:
      case kKeyUp:
      case kKeyDown:
        return FrameKeyAction::TrackHot;
      case kKeyLeft:
        return FrameKeyAction::HotPrevious;
      case kKeyRight:
        return FrameKeyAction::HotNext;
      default:
        break;
    }
  }
  if ((key.alt || key.trackingState == kStateButtons) && IsLetterOrDigit(key.key)) {
    if (key.mnemonicButton >= 0) return FrameKeyAction::TrackMnemonic;
    if (key.trackingState == kStateButtons && !key.alt) return FrameKeyAction::Beep;
  }
  return key.trackingState > kStateNone ? FrameKeyAction::EndTrackingPass
                                        : FrameKeyAction::PassThrough;
}

MenuKeyAction ClassifyMenuKey(unsigned key, bool popupItemSelected, bool submenuSelected) {
  if (key == kKeyRight && !popupItemSelected) return MenuKeyAction::SwitchNext;
  if (key == kKeyLeft && !submenuSelected) return MenuKeyAction::SwitchPrevious;
  if (key == kKeyEscape) return MenuKeyAction::EscapePressed;
  return MenuKeyAction::PassToMenu;
}

int NextButton(int index, bool previous, int count) {
  if (count <= 0) return -1;
  if (previous) return index - 1 < 0 ? count - 1 : index - 1;
  return index + 1 >= count ? 0 : index + 1;
}

int FindMnemonic(const std::vector<std::string>& texts, char character) {
  const char wanted = UpperAscii(character);
  if (wanted == 0) return -1;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (UpperAscii(MnemonicOf(texts[i])) == wanted) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace qv::menubar
