// Sizes written for 96 DPI at other DPIs, the toolbar drawing chosen for a DPI, and the window's
// first rectangle, without a window.
#include <gtest/gtest.h>

#include "framework/DpiScale.h"

namespace {

using qv::dpi::Box;

TEST(DpiScaleTest, ValuesRoundToTheNearestPixelAndAFailedDpiCountsAs96) {
  struct Case {
    int value;
    int dpi;
    int expected;
  };
  const Case cases[] = {
      {20, 96, 20},  {20, 144, 30}, {20, 192, 40},   {15, 144, 23},  // 22.5 rounds up
      {15, 120, 19}, {7, 120, 9},   {-15, 144, -23}, {12, 0, 12},   {12, -1, 12}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, qv::dpi::Scale(c.value, c.dpi)) << c.value << " at " << c.dpi;
  }
  EXPECT_EQ(40000000, qv::dpi::Scale(20000000, 192));  // a product beyond int
}

TEST(DpiScaleTest, TheNearestLargerDrawingIsChosenAndScaledToTheDpi) {
  const qv::dpi::ImageSize sets[] = {{16, 15}, {24, 23}, {32, 30}};
  struct Case {
    int dpi;
    int set;
    int cx;
    int cy;
  };
  const Case cases[] = {
      {96, 0, 16, 15},  {72, 0, 12, 11},   // smaller: the 96-DPI drawing scaled down
      {120, 1, 20, 19}, {144, 1, 24, 23},  // 150 % exactly, 125 % scaled down from it
      {168, 2, 28, 26}, {192, 2, 32, 30},  // 175 % from the 200 % drawing
      {288, 2, 48, 45},                    // beyond the largest: it, scaled up
  };
  for (const Case& c : cases) {
    const qv::dpi::ImageChoice choice = qv::dpi::ChooseImageSet(sets, 3, c.dpi);
    EXPECT_EQ(c.set, choice.set) << c.dpi;
    EXPECT_EQ(c.cx, choice.size.cx) << c.dpi;
    EXPECT_EQ(c.cy, choice.size.cy) << c.dpi;
  }
}

TEST(DpiScaleTest, TheFirstWindowIsScaledAndKeptInsideTheWorkArea) {
  const Box at96{100, 100, 740, 580};
  EXPECT_EQ((Box{100, 100, 740, 580}), qv::dpi::ScaleWindowBox(at96, 96, Box{0, 0, 1280, 1024}));
  EXPECT_EQ((Box{100, 100, 1060, 820}), qv::dpi::ScaleWindowBox(at96, 144, Box{0, 0, 1280, 1024}));
  // Moved left and up to fit, then cut to the work area.
  EXPECT_EQ((Box{0, 64, 1280, 1024}), qv::dpi::ScaleWindowBox(at96, 192, Box{0, 0, 1280, 1024}));
  EXPECT_EQ((Box{0, 30, 1024, 738}), qv::dpi::ScaleWindowBox(at96, 192, Box{0, 30, 1024, 738}));
  // A work area to the right of the place moves the window into it.
  EXPECT_EQ((Box{1280, 100, 1920, 580}),
            qv::dpi::ScaleWindowBox(at96, 96, Box{1280, 0, 2560, 1024}));
}

}  // namespace
