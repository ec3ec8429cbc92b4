// The exported utility functions of the library, on Windows for real.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "settings/DrawingByDLL.h"
#include "settings/Utility.h"

namespace {

TEST(UtilityTest, WindowsUserIsTheUserWineRunsAs) {
  const char* unixUser = std::getenv("USER");
  const std::string user = GetWindowsUser();
  EXPECT_FALSE(user.empty());
  if (unixUser && *unixUser) {
    EXPECT_EQ(unixUser, user);
  }
}

// Each drawing call succeeds through the image library, and gives 0 when the library or its
// entry is missing.
TEST(DrawingTest, CallsGoThroughTheImageLibraryOrGive0) {
  // Drawn from the bitmap's right half into its left half.
  const HDC screen = ::GetDC(nullptr);
  const HDC dc = ::CreateCompatibleDC(screen);
  const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 8);
  ::SelectObject(dc, bitmap);
  // The default library, none at all, and a system library without the three entries.
  for (const wchar_t* library :
       {static_cast<const wchar_t*>(nullptr), L"no-such-image-library.dll", L"version.dll"}) {
    SetImageLibraryForTesting(library);
    const bool expected = library == nullptr;
    TRIVERTEX vertices[2] = {{0, 0, 0xff00, 0, 0, 0}, {8, 8, 0, 0, 0xff00, 0}};
    GRADIENT_RECT rect = {0, 1};
    EXPECT_EQ(expected, GradientFillByDLL(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_H) != 0);
    EXPECT_EQ(expected, TransparentBltByDLL(dc, 0, 0, 8, 8, dc, 8, 0, 8, 8, RGB(255, 0, 255)) != 0);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 128, 0};
    EXPECT_EQ(expected, AlphaBlendByDLL(dc, 0, 0, 8, 8, dc, 8, 0, 8, 8, blend) != 0);
  }
  SetImageLibraryForTesting(nullptr);
  ::DeleteDC(dc);
  ::DeleteObject(bitmap);
  ::ReleaseDC(nullptr, screen);
}

}  // namespace
