// Sizes are written as pixels at 96 DPI and scaled to the DPI of the window that uses them.
// The arithmetic makes no platform calls, so it is tested anywhere; framework/Dpi.h finds a
// window's DPI.
#pragma once

#include <algorithm>

namespace qv::dpi {

constexpr int kDefaultDpi = 96;

// The 96-DPI value at the given DPI, rounded to the nearest pixel with halves away from zero
// (as MulDiv rounds). A DPI of 0 or less, as a failed query gives, counts as 96.
constexpr int Scale(int value, int dpi) {
  if (dpi <= 0) dpi = kDefaultDpi;
  const long long product = static_cast<long long>(value) * dpi;
  const long long half = kDefaultDpi / 2;
  return static_cast<int>((product >= 0 ? product + half : product - half) / kDefaultDpi);
}

struct ImageSize {
  int cx = 0;
  int cy = 0;
};

// Which drawing of a set of images to use at a DPI. The sets are listed smallest first, the
// first one drawn for 96 DPI: the images are shown at the first set's size scaled to the DPI,
// taken from the smallest set at least that large (scaled down when it is larger), or from
// the largest set, scaled up, when none is.
struct ImageChoice {
  int set = 0;
  ImageSize size;
};

inline ImageChoice ChooseImageSet(const ImageSize* sets, int count, int dpi) {
  ImageChoice choice;
  if (sets == nullptr || count <= 0) return choice;
  choice.size = ImageSize{Scale(sets[0].cx, dpi), Scale(sets[0].cy, dpi)};
  choice.set = count - 1;
  for (int i = 0; i < count; ++i) {
    if (sets[i].cx >= choice.size.cx && sets[i].cy >= choice.size.cy) {
      choice.set = i;
      break;
    }
  }
  return choice;
}

struct Box {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Box& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// A window's first rectangle: its place as given, its 96-DPI size scaled to the DPI, moved up
// and left (or down and right) as far as it must to lie inside the work area, and no larger
// than the work area.
inline Box ScaleWindowBox(const Box& at96, int dpi, const Box& work) {
  const int width = Scale(at96.right - at96.left, dpi);
  const int height = Scale(at96.bottom - at96.top, dpi);
  Box box{at96.left, at96.top, at96.left + width, at96.top + height};
  const auto fit = [](int& low, int& high, int areaLow, int areaHigh) {
    const int size = std::min(high - low, areaHigh - areaLow);
    low = std::clamp(low, areaLow, areaHigh - size);
    high = low + size;
  };
  if (work.right > work.left && work.bottom > work.top) {
    fit(box.left, box.right, work.left, work.right);
    fit(box.top, box.bottom, work.top, work.bottom);
  }
  return box;
}

}  // namespace qv::dpi
