// 96-DPI sizes at other DPIs, the toolbar drawing chosen, the first window rectangle.
#include <gtest/gtest.h>

#include "framework/DpiScale.h"

namespace {

using qv::dpi::Box;

TEST(DpiScaleTest, SizesRoundToTheNearestPixelAndTakeTheNearestLargerDrawing) {
  // The value 15, and the drawing chosen among 16x15, 24x23 and 32x30 with its size. A failed
  // DPI query (0 or less) counts as 96.
  const struct {
    int dpi, scaled, set, cx, cy;
  } cases[] = {{96, 15, 0, 16, 15},  {0, 15, 0, 16, 15},   {-1, 15, 0, 16, 15},
               {72, 11, 0, 12, 11},  {120, 19, 1, 20, 19}, {144, 23, 1, 24, 23},
               {168, 26, 2, 28, 26}, {192, 30, 2, 32, 30}, {288, 45, 2, 48, 45}};
  const qv::dpi::ImageSize sets[] = {{16, 15}, {24, 23}, {32, 30}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.scaled, qv::dpi::Scale(15, c.dpi)) << c.dpi;
    const qv::dpi::ImageChoice choice = qv::dpi::ChooseImageSet(sets, 3, c.dpi);
    EXPECT_EQ(c.set, choice.set) << c.dpi;
    EXPECT_EQ(std::make_pair(c.cx, c.cy), std::make_pair(choice.size.cx, choice.size.cy)) << c.dpi;
  }
  EXPECT_EQ(-23, qv::dpi::Scale(-15, 144));
  EXPECT_EQ(40000000, qv::dpi::Scale(20000000, 192));  // a product beyond int
}

TEST(DpiScaleTest, TheFirstWindowIsScaledAndKeptInsideTheWorkArea) {
  const Box at96{100, 100, 740, 580};
  EXPECT_EQ((Box{100, 100, 1060, 820}), qv::dpi::ScaleWindowBox(at96, 144, Box{0, 0, 1280, 1024}));
  EXPECT_EQ((Box{0, 64, 1280, 1024}), qv::dpi::ScaleWindowBox(at96, 192, Box{0, 0, 1280, 1024}));
  EXPECT_EQ((Box{0, 30, 1024, 738}), qv::dpi::ScaleWindowBox(at96, 192, Box{0, 30, 1024, 738}));
  EXPECT_EQ((Box{1280, 100, 1920, 580}),
            qv::dpi::ScaleWindowBox(at96, 96, Box{1280, 0, 2560, 1024}));
}

}  // namespace
