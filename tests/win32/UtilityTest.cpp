// The exported utility functions of the library, on Windows for real.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "settings/DrawingByDLL.h"
#include "settings/Utility.h"

namespace {

// Wine shows the Unix root as drive Z: with backslashes.
std::string AsWinePath(std::string unixPath) {
  for (char& c : unixPath) {
    if (c == '/') c = '\\';
  }
  return "Z:" + unixPath;
}

TEST(UtilityTest, ApplicationPathIsTheDirectoryOfTheTestProgram) {
  const std::string path = GetApplicationPath();
  EXPECT_EQ(AsWinePath(QV_TEST_BIN_DIR), path);
  EXPECT_NE('\\', path.back());
}

TEST(UtilityTest, WindowsUserIsTheUserWineRunsAs) {
  const char* unixUser = std::getenv("USER");
  const std::string user = GetWindowsUser();
  EXPECT_FALSE(user.empty());
  if (unixUser && *unixUser) {
    EXPECT_EQ(unixUser, user);
  }
}

TEST(UtilityTest, MemoryLoadIsAPercentage) {
  const unsigned int load = GetMemoryLoad();
  EXPECT_LE(load, 100u);
}

class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = ::GetDC(nullptr);
    source = ::CreateCompatibleDC(screen);
    target = ::CreateCompatibleDC(screen);
    sourceBitmap = ::CreateCompatibleBitmap(screen, 8, 8);
    targetBitmap = ::CreateCompatibleBitmap(screen, 8, 8);
    ::SelectObject(source, sourceBitmap);
    ::SelectObject(target, targetBitmap);
  }
  void TearDown() override {
    SetImageLibraryForTesting(nullptr);
    ::DeleteDC(source);
    ::DeleteDC(target);
    ::DeleteObject(sourceBitmap);
    ::DeleteObject(targetBitmap);
    ::ReleaseDC(nullptr, screen);
  }

  BOOL Gradient() {
    TRIVERTEX vertices[2] = {{0, 0, 0xff00, 0, 0, 0}, {8, 8, 0, 0, 0xff00, 0}};
    GRADIENT_RECT rect = {0, 1};
    return GradientFillByDLL(target, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_H);
  }
  BOOL Transparent() {
    return TransparentBltByDLL(target, 0, 0, 8, 8, source, 0, 0, 8, 8, RGB(255, 0, 255));
  }
  BOOL Alpha() {
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 128, 0};
    return AlphaBlendByDLL(target, 0, 0, 8, 8, source, 0, 0, 8, 8, blend);
  }

  HDC screen = nullptr;
  HDC source = nullptr;
  HDC target = nullptr;
  HBITMAP sourceBitmap = nullptr;
  HBITMAP targetBitmap = nullptr;
};

TEST_F(DrawingTest, EntriesOfTheImageLibraryAreCalled) {
  EXPECT_NE(FALSE, Gradient());
  EXPECT_NE(FALSE, Transparent());
  EXPECT_NE(FALSE, Alpha());
}

TEST_F(DrawingTest, MissingLibraryGives0) {
  SetImageLibraryForTesting(L"no-such-image-library.dll");
  EXPECT_EQ(FALSE, Gradient());
  EXPECT_EQ(FALSE, Transparent());
  EXPECT_EQ(FALSE, Alpha());
}

TEST_F(DrawingTest, MissingEntryGives0) {
  // A system library that has none of the three entries.
  SetImageLibraryForTesting(L"version.dll");
  EXPECT_EQ(FALSE, Gradient());
  EXPECT_EQ(FALSE, Transparent());
  EXPECT_EQ(FALSE, Alpha());
}

}  // namespace
