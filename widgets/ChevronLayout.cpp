#include "widgets/ChevronLayout.h"

#include <algorithm>

namespace qv::chevron {

Rect VisibleArea(const Rect& band, int chevronWidth) {
  Rect visible = band;
  visible.right -= chevronWidth;
  return visible;
}

bool IsWhollyVisible(const Rect& button, const Rect& visible) {
  // The intersection of the two equals the button itself.
  Rect both{std::max(button.left, visible.left), std::max(button.top, visible.top),
            std::min(button.right, visible.right), std::min(button.bottom, visible.bottom)};
  if (both.right <= both.left || both.bottom <= both.top) both = Rect{};
  return both == button;
}

int PopupRows(int buttonCount) {
  return std::max(1, (buttonCount + 3) / 4);
}

Rect PlacePopup(int x, int y, int width, int height, int screenWidth, int screenHeight) {
  Rect rc{x, y, x + width, y + height};
  if (rc.right > screenWidth) {
    const int excess = rc.right - screenWidth;
    rc.left -= excess;
    rc.right -= excess;
  }
  if (rc.bottom > screenHeight) {
    const int excess = rc.bottom - screenHeight;
    rc.top -= excess;
    rc.bottom -= excess;
  }
  return rc;
}

}  // namespace qv::chevron
