// The window program's window-free decisions (command line, "-q", tray, timer gate), its file.
#include <gtest/gtest.h>

#include <tuple>

#include "app/CommandLine.h"
#include "app/FrameLogic.h"
#include "app/WindowSetting.h"
#include "support/SettingsFiles.h"

namespace {

using namespace qv::app;

TEST(CommandLineTest, TokensAndTheirFirstTwoCharacters) {
  const struct {
    const char* text;
    bool workingSet, wholeMemory, quit;
    int level;
  } cases[] = {
      {"-c", true, false, false, 0},
      {"-p", false, true, false, 0},
      {"-p30", false, true, false, 30},
      {"-p0", false, true, false, 0},
      {"-p100", false, true, false, 100},
      {"-p101", false, true, false, 0},
      {"-p-5", false, true, false, 0},
      {"-pabc", false, true, false, 0},
      {"-p99999999999999999999", false, true, false, 0},
      {"-C", true, false, false, 0},
      {"-Q", false, false, true, 0},
      {"/c", false, false, false, 0},
      {"-cx", true, false, false, 0},
      {"-P80", false, true, false, 80},
      {"   -c    -p10   -q  ", true, true, true, 10},
      {"-c\t-q", true, false, false, 0},
      {"- -x c q", false, false, false, 0},
      {"", false, false, false, 0},
  };
  for (const auto& c : cases) {
    const CCommandLineOptions o = ParseCommandLine(c.text);
    EXPECT_EQ(std::make_tuple(c.workingSet, c.wholeMemory, c.quit, c.level),
              std::make_tuple(o.workingSet, o.wholeMemory, o.quitAfterPass, o.releaseLevel))
        << c.text;
  }
}

TEST(CommandLinePassTest, QuitWaitsForThePassAndClosesOnce) {
  CCommandLinePass pass;
  EXPECT_FALSE(pass.OnIdle(false));  // nothing begun
  pass.Begin(false);
  EXPECT_FALSE(pass.OnIdle(true));
  EXPECT_TRUE(pass.Unsettled());  // timer passes wait while the pass runs
  EXPECT_FALSE(pass.OnIdle(false));
  EXPECT_FALSE(pass.Unsettled());
  pass.Begin(true);
  EXPECT_FALSE(pass.OnIdle(true));
  EXPECT_FALSE(pass.OnIdle(true));
  EXPECT_TRUE(pass.OnIdle(false));
  EXPECT_FALSE(pass.Unsettled());
  EXPECT_FALSE(pass.OnIdle(false));  // once only
  pass.Begin(true);
  EXPECT_FALSE(pass.OnIdle(false));  // a close was asked for already
}

TEST(TrayTest, TitlesAndTipsOfEveryMode) {
  const struct {
    RunMode mode;
    const char* program;
    const char* state;
  } cases[] = {
      {RunMode::kTimerRunning, "QuorvelW", "Timer Mode - Running"},
      {RunMode::kTimerStopped, "QuorvelW", "Timer Mode - Stopped"},
      {RunMode::kServiceRunning, "VorelW", "Service Mode - Running"},
      {RunMode::kServiceStopped, "VorelW", "Service Mode - Stopped"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::string(c.program) + " - " + c.state, ModeTitle(c.mode));
    EXPECT_EQ(std::string("QuorvelW - ") + c.state + " - メモリ使用率 : 42 %",
              TrayTipText(c.mode, 42));
  }
}

TEST(TrayTest, TheMenuOpensOnTheTaskbarsInnerEdge) {
  const Rect desktop{0, 0, 1280, 1024};
  const Point cursor{600, 500};
  const struct {
    Rect taskbar;
    Point expected;
  } cases[] = {
      {{0, 994, 1280, 1024}, {600, 994}},    // bottom
      {{-2, -2, 1282, 30}, {600, 30}},       // top
      {{0, 0, 60, 1024}, {60, 500}},         // left
      {{1220, 0, 1280, 1024}, {1220, 500}},  // right
      {{100, 994, 900, 1024}, {600, 500}},   // spans neither
      {{0, 400, 1280, 600}, {600, 500}},     // full width, touching neither edge
  };
  for (const auto& c : cases) {
    const Point p = TrayMenuPoint(cursor, desktop, c.taskbar);
    EXPECT_EQ(std::make_pair(c.expected.x, c.expected.y), std::make_pair(p.x, p.y))
        << c.taskbar.left << "," << c.taskbar.top;
  }
}

TEST(TimerGateTest, APassStartsOnlyWhenNothingHoldsItOff) {
  const struct {
    CTimerTick tick;
    bool due;
  } cases[] = {
      {{false, false, false, 60000, 0}, true},
      {{false, false, false, 0, 0}, false},  // strictly greater than the delay
      {{false, false, false, 60000, 1}, false},
      {{false, false, false, 60001, 1}, true},
      {{false, false, false, 59ull * 60000 + 1, 59}, true},
      {{true, false, false, 600000, 0}, false},  // command-line pass unsettled
      {{false, true, false, 600000, 0}, false},  // a pass runs
      {{false, false, true, 600000, 0}, false},  // a tick under way
      {{false, false, false, 1ull << 40, 59}, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.due, TimerPassDue(c.tick))
        << c.tick.elapsedMilliseconds << " " << c.tick.delayMinutes;
}

TEST(ReleaseLevelTest, ExactlyOneItemIsCheckedForMultiplesOfTen) {
  for (int level = -10; level <= 110; ++level) {
    int checked = 0;
    for (unsigned id = kFirstReleaseLevelCommand; id <= kLastReleaseLevelCommand; ++id) {
      if (ReleaseLevelChecked(id, level)) {
        ++checked;
        EXPECT_EQ(level, ReleaseLevelOfCommand(id));
      }
    }
    EXPECT_EQ(level >= 10 && level <= 100 && level % 10 == 0 ? 1 : 0, checked) << level;
  }
  EXPECT_EQ(10, ReleaseLevelOfCommand(32782));
  EXPECT_EQ(100, ReleaseLevelOfCommand(32791));
  EXPECT_EQ(0, ReleaseLevelOfCommand(32781));
}

using qvtest::Int32Bytes;
using Values = std::vector<std::int32_t>;

const char kPath[] = "dir/wndset.def";

// Every field apart from the version, in file order.
Values Fields(const CWindowSetting& w) {
  return {w.m_rcWindow.left,      w.m_rcWindow.top,    w.m_rcWindow.right,
          w.m_rcWindow.bottom,    w.m_bandMenuBar.cx,  w.m_bandMenuBar.wID,
          w.m_bandMenuBar.fStyle, w.m_bandToolBar.cx,  w.m_bandToolBar.wID,
          w.m_bandToolBar.fStyle, w.m_bandTab.cx,      w.m_bandTab.wID,
          w.m_bandTab.fStyle,     w.m_bStatusBar,      w.m_nSpare,
          w.m_nColumnWidth[0],    w.m_nColumnWidth[1], w.m_nColumnWidth[2],
          w.m_bMinimizeOnClose};
}

const Values kDefaults = {0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 2, 1, 1, 1, 250, 250, 100, 0};

class WindowSettingTest : public ::testing::Test {
 protected:
  int Load() { return loaded.Load(kPath, files, reporter); }

  qvtest::MemoryFileStore files;
  qvtest::RecordingReporter reporter;
  CWindowSetting loaded;
};

TEST_F(WindowSettingTest, SaveWritesVersion3AndLoadGivesBackEveryField) {
  EXPECT_EQ(kDefaults, Fields(loaded));
  const Values fields = {-8,  10, 1200, 900,        300, 2,   9,  120, 0, 0,
                         400, 1,  1,    0x10000000, 7,   310, -1, 90,  1};
  std::string file = Int32Bytes({3});
  for (std::int32_t field : fields) file += Int32Bytes({field});
  files.files[kPath] = file;
  ASSERT_EQ(1, Load());
  EXPECT_EQ(fields, Fields(loaded));
  loaded.m_nVersion = 0;
  ASSERT_TRUE(loaded.Save("dir/saved.def", files));
  EXPECT_EQ(file, files.files["dir/saved.def"]) << "version 3, every field in its place";
  EXPECT_EQ(3, loaded.m_nVersion);
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(WindowSettingTest, OlderLayoutsLeaveTheFieldsTheyDoNotCarry) {
  const std::string rectAndTwoBands = Int32Bytes({1, 2, 3, 4, 50, 1, 0, 60, 0, 8});
  // Version 0: no tab band and no column widths.
  files.files[kPath] = Int32Bytes({0}) + rectAndTwoBands + Int32Bytes({0, 5});
  ASSERT_EQ(1, Load());
  EXPECT_EQ((Values{1, 2, 3, 4, 50, 1, 0, 60, 0, 8, 0, 2, 1, 0, 5, 250, 250, 100, 0}),
            Fields(loaded));
  // Version 2: 72 bytes, without the third width and the close-button option.
  files.files[kPath] =
      Int32Bytes({2}) + rectAndTwoBands + Int32Bytes({70, 0, 9, 0x10000000, 1, 200, 180});
  ASSERT_EQ(1, Load());
  EXPECT_EQ((Values{1, 2, 3, 4, 50, 1, 0, 60, 0, 8, 70, 0, 9, 0x10000000, 1, 200, 180, 100, 0}),
            Fields(loaded));
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(WindowSettingTest, AFileCutAfterTheRectangleIsReportedOnceAndAFailedWriteLeavesIt) {
  files.files[kPath] = Int32Bytes({3, 10, 20, 810, 620});
  ASSERT_EQ(1, Load());
  EXPECT_EQ(1u, reporter.texts.size());
  Values expected = {10, 20, 810, 620};
  expected.insert(expected.end(), kDefaults.begin() + 4, kDefaults.end());
  EXPECT_EQ(expected, Fields(loaded)) << "the rectangle read before the end stands";
  EXPECT_EQ(0, loaded.Load("", files, reporter));
  EXPECT_EQ(0, loaded.Load("dir/missing.def", files, reporter));
  EXPECT_FALSE(CWindowSetting().Save("", files));
  files.failReplace = true;
  EXPECT_FALSE(CWindowSetting().Save(kPath, files)) << "an injected failed write";
  EXPECT_EQ(Int32Bytes({3, 10, 20, 810, 620}), files.files[kPath]) << "leaves the old file";
}

}  // namespace
