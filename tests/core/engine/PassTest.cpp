// One cleaning pass: what a manual and a condition pass write, when a condition pass is
// refused, and how the pass prompts the window program.
#include <gtest/gtest.h>

#include "engine/CpuLoad.h"
#include "engine/MemClean.h"
#include "support/Conditions.h"
#include "support/FakeEngineSystem.h"
#include "support/FakePlatform.h"

namespace {

using qvtest::TimeOf;

class PassTest : public ::testing::Test {
 protected:
  PassTest() : clean(CEnginePlatform{&system, nullptr, nullptr, nullptr}) {}

  // A condition that holds at every minute of the hour, with no operation.
  void AddAlwaysMatchingCondition(std::int32_t operation = 7) {
    clean.m_appSetting.m_aOperationTime.push_back(qvtest::AlwaysMatchingCondition(operation));
  }

  std::vector<std::string> Lines() { return clean.m_aLog.Copy(); }

  qvtest::FakeEngineSystem system;
  CMemClean clean;
};

TEST_F(PassTest, ManualPassWithoutOperationsWritesStartMemoryStateAndEnd) {
  system.now = TimeOf(2026, 3, 4, 5, 6, 7);
  system.secondsPerClockRead = 2;
  EXPECT_EQ(1, clean.CleanUp());
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(7u, lines.size());
  EXPECT_EQ("--- 手動でのオペレーション開始 2026/03/04 05:06:07", lines[0]);
  EXPECT_EQ("* メモリ使用率           : 54 %", lines[1]);
  EXPECT_EQ("* 全物理メモリ容量       : 524288 KB", lines[2]);
  EXPECT_EQ("* 空き物理メモリ容量     : 204800 KB", lines[3]);
  EXPECT_EQ("* 全ページファイル容量   : 1048576 KB", lines[4]);
  EXPECT_EQ("* 空きページファイル容量 : 819200 KB", lines[5]);
  EXPECT_EQ("--- オペレーション終了 2026/03/04 05:06:09", lines[6]);
  // Every line is posted; the start and the end line are also sent and waited for.
  EXPECT_EQ(7, system.posts);
  EXPECT_EQ(2, system.sends);
  EXPECT_EQ(clean.m_appSetting.m_timeLastExecute, CAppSetting().m_timeLastExecute)
      << "a manual pass does not count as the last condition pass";
}

TEST_F(PassTest, ConditionPassWhenNothingMatchesWritesNothing) {
  auto condition = std::make_unique<COperationTime>();
  condition->m_nExecMode = COperationTime::kEveryHour;
  condition->m_nMinute = 16;  // the clock says 10:15
  clean.m_appSetting.m_aOperationTime.push_back(std::move(condition));
  const QvTime lastExecute = clean.m_appSetting.m_timeLastExecute;
  for (int* mode : {&clean.m_bTimerMode, &clean.m_bServiceMode}) {
    *mode = 1;
    EXPECT_EQ(0, clean.CleanUp());
    *mode = 0;
  }
  EXPECT_TRUE(clean.m_aLog.IsEmpty());
  EXPECT_EQ(0, system.posts + system.sends);
  EXPECT_EQ(lastExecute, clean.m_appSetting.m_timeLastExecute);
}

TEST_F(PassTest, ConditionPassRecordsTheTimeOfItsStartLine) {
  AddAlwaysMatchingCondition();
  clean.m_bTimerMode = 1;
  system.now = TimeOf(2026, 12, 7, 23, 59, 58);
  system.secondsPerClockRead = 3;
  ASSERT_EQ(1, clean.CleanUp());
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(7u, lines.size());
  // The conditions read the clock at 23:59:58; the start line reads it next.
  EXPECT_EQ("--- 実行条件判断によるオペレーション開始 2026/12/08 00:00:01", lines[0]);
  EXPECT_EQ("--- オペレーション終了 2026/12/08 00:00:04", lines[6]);
  EXPECT_EQ(TimeOf(2026, 12, 8, 0, 0, 1), clean.m_appSetting.m_timeLastExecute);
}

TEST_F(PassTest, IntervalRefusesStrictlyWithinTheInterval) {
  AddAlwaysMatchingCondition();
  clean.m_bServiceMode = 1;
  clean.m_appSetting.m_nInterval = 5;
  const QvTime last = system.now - 5 * 60 + 1;
  clean.m_appSetting.m_timeLastExecute = last;
  EXPECT_EQ(0, clean.CleanUp());
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ("--- 実行条件判断によるオペレーション開始 2026/12/07 10:15:00", lines[0]);
  EXPECT_EQ("タイムインターバル設定によるオペレーション中止", lines[1]);
  EXPECT_EQ(last, clean.m_appSetting.m_timeLastExecute);

  // Exactly five minutes after the last pass it runs.
  clean.m_aLog.TakeAll();
  clean.m_appSetting.m_timeLastExecute = system.now - 5 * 60;
  EXPECT_EQ(1, clean.CleanUp());
  EXPECT_EQ(system.now, clean.m_appSetting.m_timeLastExecute);
}

TEST_F(PassTest, IntervalZeroNeverRefuses) {
  AddAlwaysMatchingCondition();
  clean.m_bTimerMode = 1;
  clean.m_appSetting.m_nInterval = 0;
  EXPECT_EQ(1, clean.CleanUp());
  EXPECT_EQ(1, clean.CleanUp()) << "the same second as the last pass";
}

TEST_F(PassTest, ServicePassSendsNothing) {
  AddAlwaysMatchingCondition();
  clean.m_bServiceMode = 1;
  ASSERT_EQ(1, clean.CleanUp());
  EXPECT_EQ(0, system.sends);
  EXPECT_EQ(7, system.posts) << "posting is the registered window's business";
}

TEST_F(PassTest, MemoryStateLinesAreAlignedAndShowLargeMachines) {
  system.memory = {100, 64ull << 30, 5ull << 30, 128ull << 30, 4097ull << 20};
  EXPECT_EQ(1, clean.ShowInfo());
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(5u, lines.size());
  for (const std::string& line : lines) EXPECT_EQ(':', line[25]) << line;
  EXPECT_EQ("* メモリ使用率           : 100 %", lines[0]);
  EXPECT_EQ("* 全物理メモリ容量       : 67108864 KB", lines[1]);
  EXPECT_EQ("* 空き物理メモリ容量     : 5242880 KB", lines[2]);
  EXPECT_EQ("* 全ページファイル容量   : 134217728 KB", lines[3]);
  EXPECT_EQ("* 空きページファイル容量 : 4195328 KB", lines[4]);
  EXPECT_EQ(0, system.sends);
}

TEST_F(PassTest, LinesAreCodePage932) {
  // "開始" in code page 932; "表" would carry 0x5C as its trail byte.
  ASSERT_TRUE(clean.CleanUp());
  const std::string start = Lines()[0];
  EXPECT_NE(std::string::npos, start.find("\x8a\x4a\x8e\x6e"));
}

}  // namespace

namespace {

// Condition passes measured against a CPU that is as busy as the test says.
class CpuGateTest : public ::testing::Test {
 protected:
  CpuGateTest() : clean(fake.Platform()) {
    ResetCpuLoadStateForTesting();
    clean.m_bTimerMode = 1;
    fake.performance.blocks = {qvtest::PerfDataBuilder().Build()};  // no processor object
  }
  ~CpuGateTest() override { ResetCpuLoadStateForTesting(); }

  void AddCondition(std::int32_t operation, std::int32_t cpuLimit) {
    clean.m_appSetting.m_aOperationTime.push_back(
        qvtest::AlwaysMatchingCondition(operation, cpuLimit));
  }
  void SetLoad(int percent) { fake.performance.idleShareOnNextTimes = 100 - percent; }
  std::vector<std::string> Lines() { return clean.m_aLog.Copy(); }

  qvtest::FakePlatform fake;
  CMemClean clean;
};

TEST_F(CpuGateTest, NoLimitBelowHundredMeansNoMeasurement) {
  AddCondition(9, 100);
  EXPECT_EQ(1, clean.CleanUp());
  for (const std::string& line : Lines()) EXPECT_EQ(std::string::npos, line.find("CPU"));
  EXPECT_TRUE(fake.system.sleeps.empty());
  EXPECT_TRUE(fake.performance.valueNames.empty());
}

TEST_F(CpuGateTest, LoadAtTheLimitRunsAndAboveItRefuses) {
  AddCondition(0, 30);
  SetLoad(30);
  EXPECT_EQ(1, clean.CleanUp());
  EXPECT_EQ("CPU負荷 30 %", Lines()[1]);
  EXPECT_EQ(10u, fake.system.sleeps.size()) << "ten one-second samples";

  clean.m_aLog.TakeAll();
  clean.m_appSetting.m_timeLastExecute = 0;
  SetLoad(31);
  const QvTime lastExecute = clean.m_appSetting.m_timeLastExecute;
  EXPECT_EQ(0, clean.CleanUp());
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ("CPU負荷 31 % > 設定負荷 30 % によりオペレーションを中止", lines[2]);
  EXPECT_EQ(lastExecute, clean.m_appSetting.m_timeLastExecute);
}

TEST_F(CpuGateTest, BothLimitsExceededNamesTheWorkingSetLimit) {
  AddCondition(0, 40);
  AddCondition(1, 20);
  SetLoad(50);
  EXPECT_EQ(0, clean.CleanUp());
  EXPECT_EQ("CPU負荷 50 % > 設定負荷 40 % によりオペレーションを中止", Lines().back());

  // A load above only the whole-memory limit refuses the whole pass, too.
  clean.m_aLog.TakeAll();
  SetLoad(25);
  EXPECT_EQ(0, clean.CleanUp());
  EXPECT_EQ("CPU負荷 25 % > 設定負荷 20 % によりオペレーションを中止", Lines().back());
}

TEST_F(CpuGateTest, UnsupportedMeasurementRunsThePass) {
  AddCondition(0, 10);
  fake.performance.version = {1, 4};
  EXPECT_EQ(1, clean.CleanUp());
  EXPECT_EQ("CPU負荷 -1 %", Lines()[1]);
}

}  // namespace
