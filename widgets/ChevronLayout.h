// The chevron's geometry that needs no window: which buttons a band hides, how many rows the
// pop-up toolbar takes, and where the pop-up goes on the screen.
#pragma once

namespace qv::chevron {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// The part of a band that shows its child: the band without the chevron at its right end.
Rect VisibleArea(const Rect& band, int chevronWidth);

// A button is hidden unless it lies wholly inside the visible area.
bool IsWhollyVisible(const Rect& button, const Rect& visible);

// Four buttons to a row, at least one row.
int PopupRows(int buttonCount);

// The pop-up's rectangle with its top-left corner at the point, moved left and up as far as
// needed to keep it on a screen of the given size.
Rect PlacePopup(int x, int y, int width, int height, int screenWidth, int screenHeight);

}  // namespace qv::chevron
