// The window-settings file: what a save writes and a load gives back, the older layouts, and a
// file that ends early or cannot be written.
#include <gtest/gtest.h>

#include "app/WindowSetting.h"
#include "support/SettingsFiles.h"

namespace {

using qvtest::Int32Bytes;

const char kPath[] = "dir/wndset.def";

// Every field apart from the version, in file order.
std::vector<std::int32_t> Fields(const CWindowSetting& w) {
  return {w.m_rcWindow.left,      w.m_rcWindow.top,    w.m_rcWindow.right,
          w.m_rcWindow.bottom,    w.m_bandMenuBar.cx,  w.m_bandMenuBar.wID,
          w.m_bandMenuBar.fStyle, w.m_bandToolBar.cx,  w.m_bandToolBar.wID,
          w.m_bandToolBar.fStyle, w.m_bandTab.cx,      w.m_bandTab.wID,
          w.m_bandTab.fStyle,     w.m_bStatusBar,      w.m_nSpare,
          w.m_nColumnWidth[0],    w.m_nColumnWidth[1], w.m_nColumnWidth[2],
          w.m_bMinimizeOnClose};
}

const std::vector<std::int32_t> kDefaults = {0, 0, 0, 0, 0, 0,   1,   0,   1, 1,
                                             0, 2, 1, 1, 1, 250, 250, 100, 0};

class WindowSettingTest : public ::testing::Test {
 protected:
  int Load() { return loaded.Load(kPath, files, reporter); }

  qvtest::MemoryFileStore files;
  qvtest::RecordingReporter reporter;
  CWindowSetting loaded;
};

TEST_F(WindowSettingTest, SaveWritesVersion3AndLoadGivesBackEveryField) {
  EXPECT_EQ(kDefaults, Fields(loaded));
  CWindowSetting saved;
  saved.m_rcWindow = {-8, 10, 1200, 900};
  saved.m_bandMenuBar = {9, 300, 2};
  saved.m_bandToolBar = {0, 120, 0};
  saved.m_bandTab = {1, 400, 1};
  saved.m_bStatusBar = CWindowSetting::kStatusBarVisible;
  saved.m_nSpare = 7;
  saved.m_nColumnWidth[0] = 310;
  saved.m_nColumnWidth[1] = -1;
  saved.m_nColumnWidth[2] = 90;
  saved.m_bMinimizeOnClose = 1;
  ASSERT_TRUE(saved.Save(kPath, files));
  EXPECT_EQ(3, saved.m_nVersion);
  const std::string& bytes = files.files[kPath];
  ASSERT_EQ(80u, bytes.size());
  EXPECT_EQ(Int32Bytes({3, -8, 10, 1200, 900, 300, 2, 9}), bytes.substr(0, 32));
  EXPECT_EQ(Int32Bytes({0x10000000, 7, 310, -1, 90, 1}), bytes.substr(56));

  ASSERT_EQ(1, Load());
  EXPECT_EQ(3, loaded.m_nVersion);
  EXPECT_EQ(Fields(saved), Fields(loaded));
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(WindowSettingTest, OlderLayoutsLeaveTheFieldsTheyDoNotCarry) {
  const std::string rectAndTwoBands = Int32Bytes({1, 2, 3, 4, 50, 1, 0, 60, 0, 8});
  // Version 0: no tab band and no column widths.
  files.files[kPath] = Int32Bytes({0}) + rectAndTwoBands + Int32Bytes({0, 5});
  ASSERT_EQ(1, Load());
  EXPECT_EQ(
      (std::vector<std::int32_t>{1, 2, 3, 4, 50, 1, 0, 60, 0, 8, 0, 2, 1, 0, 5, 250, 250, 100, 0}),
      Fields(loaded));
  // Version 2: 72 bytes, without the third width and the close-button option.
  files.files[kPath] =
      Int32Bytes({2}) + rectAndTwoBands + Int32Bytes({70, 0, 9, 0x10000000, 1, 200, 180});
  ASSERT_EQ(72u, files.files[kPath].size());
  CWindowSetting fresh;
  ASSERT_EQ(1, fresh.Load(kPath, files, reporter));
  EXPECT_EQ((std::vector<std::int32_t>{1, 2, 3, 4, 50, 1, 0, 60, 0, 8, 70, 0, 9, 0x10000000, 1, 200,
                                       180, 100, 0}),
            Fields(fresh));
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(WindowSettingTest, AFileCutAfterTheRectangleIsReportedOnceAndKeepsTheRestAtTheirDefaults) {
  files.files[kPath] = Int32Bytes({3, 10, 20, 810, 620});
  ASSERT_EQ(1, Load());
  EXPECT_EQ(1u, reporter.texts.size());
  std::vector<std::int32_t> expected = kDefaults;
  expected[0] = 10;
  expected[1] = 20;
  expected[2] = 810;
  expected[3] = 620;
  EXPECT_EQ(expected, Fields(loaded)) << "the rectangle read before the end stands";
  EXPECT_EQ(0, loaded.Load("", files, reporter));
  EXPECT_EQ(0, loaded.Load("dir/missing.def", files, reporter));
}

TEST_F(WindowSettingTest, AFailedWriteLeavesTheOldFileIntact) {
  files.files[kPath] = "old";
  files.failReplace = true;
  EXPECT_FALSE(CWindowSetting().Save(kPath, files));
  EXPECT_EQ("old", files.files[kPath]);
  EXPECT_FALSE(CWindowSetting().Save("", files));
}

}  // namespace
