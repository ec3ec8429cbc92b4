// The chevron's geometry, without a window.
#include <gtest/gtest.h>

#include "widgets/ChevronLayout.h"

namespace {

using qv::chevron::Rect;

TEST(ChevronLayoutTest, TheVisibleAreaLeavesOutTheChevron) {
  EXPECT_EQ((Rect{10, 2, 176, 24}), qv::chevron::VisibleArea(Rect{10, 2, 190, 24}, 14));
  EXPECT_EQ((Rect{10, 2, 190, 24}), qv::chevron::VisibleArea(Rect{10, 2, 190, 24}, 0));
}

TEST(ChevronLayoutTest, OnlyButtonsWhollyInsideAreVisible) {
  const Rect visible{0, 0, 100, 22};
  EXPECT_TRUE(qv::chevron::IsWhollyVisible(Rect{0, 0, 23, 22}, visible));
  EXPECT_TRUE(qv::chevron::IsWhollyVisible(Rect{77, 0, 100, 22}, visible));  // touching the edge
  EXPECT_FALSE(qv::chevron::IsWhollyVisible(Rect{90, 0, 113, 22}, visible));
  EXPECT_FALSE(qv::chevron::IsWhollyVisible(Rect{120, 0, 143, 22}, visible));
  EXPECT_FALSE(qv::chevron::IsWhollyVisible(Rect{-5, 0, 18, 22}, visible));
}

TEST(ChevronLayoutTest, FourButtonsToARow) {
  const int rows[] = {1, 1, 1, 1, 1, 2, 2, 2, 2, 3};  // for 0 to 9 buttons
  for (int n = 0; n < 10; ++n) EXPECT_EQ(rows[n], qv::chevron::PopupRows(n)) << n;
}

TEST(ChevronLayoutTest, APopupStaysOnTheScreen) {
  EXPECT_EQ((Rect{100, 50, 200, 120}), qv::chevron::PlacePopup(100, 50, 100, 70, 1280, 1024));
  // Past the right edge: moved left until its right edge lies on it.
  EXPECT_EQ((Rect{1180, 50, 1280, 120}), qv::chevron::PlacePopup(1250, 50, 100, 70, 1280, 1024));
  // Past the bottom edge: moved up.
  EXPECT_EQ((Rect{100, 954, 200, 1024}), qv::chevron::PlacePopup(100, 1000, 100, 70, 1280, 1024));
  EXPECT_EQ((Rect{1180, 954, 1280, 1024}),
            qv::chevron::PlacePopup(1275, 1020, 100, 70, 1280, 1024));
}

}  // namespace
