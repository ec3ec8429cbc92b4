// One cleaning pass: its lines, refusals and prompts; its thread, busy flag and line taking.
#include <gmock/gmock.h>

#include "engine/CpuLoad.h"
#include "engine/MemClean.h"
#include "support/Conditions.h"
#include "support/FakePlatform.h"

namespace {

using qvtest::TimeOf;
using ::testing::ElementsAre;

class PassTest : public ::testing::Test {
 protected:
  PassTest() : clean(fake.Platform()) {
    ResetCpuLoadStateForTesting();
    fake.onSend = [this] { sentAt.push_back(clean.m_aLog.GetCount()); };
  }

  COperationTime& AddCondition(std::int32_t operation = 7, std::int32_t cpuLimit = 100) {
    return *clean.m_appSetting.m_aOperationTime.emplace_back(
        qvtest::AlwaysMatchingCondition(operation, cpuLimit));
  }
  // A condition pass after the last one (0: a fresh start), under a CPU as busy as the test says.
  int ConditionPass(int load = 0, QvTime lastPass = 0) {
    clean.m_aLog.TakeAll();
    sentAt.clear();
    fake.posts = 0;
    clean.m_appSetting.m_timeLastExecute = lastPass;
    fake.blocks = {qvtest::PerfBlock(0, {})};  // no processor object
    fake.idleShare = 100 - load;
    return clean.CleanUp();
  }
  std::vector<std::string> Lines() { return clean.m_aLog.Copy(); }

  qvtest::FakePlatform fake;
  CMemClean clean;
  std::vector<std::size_t> sentAt;  // the number of lines at every notify
};

// A window pass through its thread (the fake's runs at once); no engine, or a thread that cannot
// start, leaves the engine idle.
TEST_F(PassTest, ManualPassWritesStartMemoryStateAndEndAndEndsWithAPrompt) {
  fake.now = TimeOf(2026, 3, 4, 5, 6, 7);
  fake.secondsPerClockRead = 2;
  fake.memory = {100, 64ull << 30, 5ull << 30, 128ull << 30, 4097ull << 20};
  bool idleAtLastPost = false;
  fake.onPost = [&] { idleAtLastPost = clean.m_bRunning == 0; };
  ASSERT_EQ(1, DoCleanUp(&clean));
  EXPECT_EQ(0, clean.m_bRunning);
  EXPECT_TRUE(clean.WaitForPass(0));
  EXPECT_THAT(Lines(), ElementsAre("--- 手動でのオペレーション開始 2026/03/04 05:06:07",
                                   "* メモリ使用率           : 100 %",
                                   "* 全物理メモリ容量       : 67108864 KB",
                                   "* 空き物理メモリ容量     : 5242880 KB",
                                   "* 全ページファイル容量   : 134217728 KB",
                                   "* 空きページファイル容量 : 4195328 KB",
                                   "--- オペレーション終了 2026/03/04 05:06:09"));
  // "開始" in code page 932 ("表" would carry 0x5C as its trail byte).
  EXPECT_NE(std::string::npos, Lines()[0].find("\x8a\x4a\x8e\x6e"));
  // Every line is posted; the start and the end line are also sent and waited for, and so is the
  // end of the pass. The window program takes the lines. A last post finds the engine idle.
  EXPECT_EQ(8, fake.posts);
  EXPECT_TRUE(idleAtLastPost);
  EXPECT_EQ((std::vector<std::size_t>{1, 7, 7}), sentAt);
  EXPECT_EQ(1, fake.ownTrims);
  EXPECT_EQ(CAppSetting().m_timeLastExecute, clean.m_appSetting.m_timeLastExecute)
      << "a manual pass does not count as the last condition pass";
  EXPECT_EQ(1, clean.ShowInfo());

  clean.m_aLog.TakeAll();
  EXPECT_EQ(0, DoCleanUp(nullptr));
  fake.failThreadStart = true;
  EXPECT_EQ(0, DoCleanUp(&clean));
  EXPECT_EQ(0, clean.m_bRunning);
  EXPECT_TRUE(clean.m_aLog.IsEmpty());
}

TEST_F(PassTest, ConditionPassRunsOnlyWhenAConditionHoldsNow) {
  // The clock says Monday 10:15, the memory load as the case says.
  struct Case {
    std::int32_t mode, hour, minute, threshold;
    std::uint32_t load;
    int runs;
  } const cases[] = {
      {COperationTime::kEveryDay, 10, 15, -1, 0, 1},
      {COperationTime::kEveryDay, 10, 16, -1, 0, 0},
      {COperationTime::kMemoryLoad, -1, -1, 60, 60, 1},
      {COperationTime::kMemoryLoad, -1, -1, 60, 59, 0},
  };
  for (const Case& c : cases) {
    clean.m_appSetting.m_aOperationTime.clear();
    COperationTime& condition = AddCondition();
    condition = qvtest::Condition(c.mode, -1, c.hour, c.minute, c.threshold);
    condition.m_nOperation = 7;  // none
    fake.memory.memoryLoad = c.load;
    for (std::int32_t* mode : {&clean.m_bTimerMode, &clean.m_bServiceMode}) {
      *mode = 1;
      EXPECT_EQ(c.runs, ConditionPass()) << c.mode << " " << c.minute << " " << c.load;
      EXPECT_EQ(c.runs ? 7u : 0u, clean.m_aLog.GetCount());
      EXPECT_EQ(c.runs ? 7 : 0, fake.posts);
      EXPECT_EQ(c.runs ? fake.now : 0, clean.m_appSetting.m_timeLastExecute);
      // Posting is the registered window's business; a service pass waits for no window.
      EXPECT_EQ(c.runs && mode == &clean.m_bTimerMode ? 2u : 0u, sentAt.size());
      *mode = 0;
    }
  }
}

TEST_F(PassTest, IntervalRefusesStrictlyWithinItButNotAfterTheClockWasSetBack) {
  AddCondition();
  clean.m_bTimerMode = 1;
  struct Case {
    std::int32_t interval;
    QvTime sinceLast;  // negative: the last pass lies in the future
    int runs;
  } const cases[] = {{5, 5 * 60 - 1, 0}, {5, 5 * 60, 1}, {0, 0, 1}, {5, -3600, 1}, {5, -1, 1}};
  for (const Case& c : cases) {
    clean.m_appSetting.m_nInterval = c.interval;
    const QvTime last = fake.now - c.sinceLast;
    EXPECT_EQ(c.runs, ConditionPass(0, last)) << c.interval << " " << c.sinceLast;
    EXPECT_EQ(c.runs ? fake.now : last, clean.m_appSetting.m_timeLastExecute);
    if (!c.runs) {
      EXPECT_THAT(Lines(),
                  ElementsAre("--- 実行条件判断によるオペレーション開始 2026/12/07 10:15:00",
                              "タイムインターバル設定によるオペレーション中止"));
      EXPECT_EQ(2, fake.posts);
      EXPECT_EQ((std::vector<std::size_t>{1}), sentAt) << "the refusal is not waited for";
    }
  }
  // The pass records the time of its start line: the conditions read the clock at 23:59:58, the
  // start line reads it next.
  fake.now = TimeOf(2026, 12, 7, 23, 59, 58);
  fake.secondsPerClockRead = 3;
  ASSERT_EQ(1, ConditionPass());
  EXPECT_EQ("--- 実行条件判断によるオペレーション開始 2026/12/08 00:00:01", Lines().front());
  EXPECT_EQ("--- オペレーション終了 2026/12/08 00:00:04", Lines().back());
  EXPECT_EQ(TimeOf(2026, 12, 8, 0, 0, 1), clean.m_appSetting.m_timeLastExecute);
}

TEST_F(PassTest, CpuLoadAboveEitherLimitRefusesThePass) {
  // No CPU line: no measurement; no refusal: the pass runs.
  struct Case {
    std::int32_t workingSet, wholeMemory;
    int load;
    const char *cpuLine, *refusal;
  } const cases[] = {
      {100, 100, 99, nullptr, nullptr},
      {30, 100, 30, "CPU負荷 30 %", nullptr},
      {30, 100, 31, "CPU負荷 31 %", "CPU負荷 31 % > 設定負荷 30 % によりオペレーションを中止"},
      {40, 20, 50, "CPU負荷 50 %", "CPU負荷 50 % > 設定負荷 40 % によりオペレーションを中止"},
      {40, 20, 25, "CPU負荷 25 %", "CPU負荷 25 % > 設定負荷 20 % によりオペレーションを中止"},
  };
  clean.m_bTimerMode = 1;
  for (const Case& c : cases) {
    clean.m_appSetting.m_aOperationTime.clear();
    AddCondition(0, c.workingSet);
    AddCondition(1, c.wholeMemory);
    fake.sleeps.clear();
    EXPECT_EQ(c.refusal ? 0 : 1, ConditionPass(c.load)) << c.load;
    EXPECT_EQ(c.cpuLine ? c.cpuLine : "* メモリ使用率           : 54 %", Lines()[1]);
    EXPECT_EQ(c.cpuLine != nullptr, !fake.sleeps.empty()) << "a measurement only for a limit";
    if (!c.cpuLine) continue;
    EXPECT_EQ(2u, sentAt[1]) << "the CPU line is waited for";
    if (c.refusal) {
      EXPECT_EQ((std::vector<std::string>{Lines()[0], c.cpuLine, c.refusal}), Lines());
      EXPECT_EQ((std::vector<std::size_t>{1, 2, 3}), sentAt) << "so is the refusal";
      EXPECT_EQ(3, fake.posts);
      EXPECT_EQ(0, clean.m_appSetting.m_timeLastExecute);
    }
  }
  // Windows 95, or no version at all, measures nothing and gives -1, which exceeds no limit.
  for (const bool known : {true, false}) {
    ResetCpuLoadStateForTesting();
    fake.version = {1, 4};
    fake.versionKnown = known;
    EXPECT_EQ(1, ConditionPass());
    EXPECT_EQ("CPU負荷 -1 %", Lines()[1]);
  }
}

// The pass on a real thread, with the same fakes.
using PassThreadTest = PassTest;

TEST_F(PassThreadTest, EngineIsBusyFromTheStartAndDrainingWhileThePassWritesLosesNothing) {
  // The pass holds at its first prompt until released; each of its three prompts then writes a
  // numbered burst from the pass thread.
  constexpr int kBursts = 3;
  constexpr int kPerBurst = 7000;
  fake.realThreads = true;
  std::atomic<bool> release{false};
  int burst = 0;
  fake.onSend = [&] {
    while (!release) std::this_thread::yield();
    if (burst >= kBursts) return;
    for (int i = 0; i < kPerBurst; ++i) clean.AddLog("#" + std::to_string(burst * kPerBurst + i));
    ++burst;
  };
  ASSERT_EQ(1, DoCleanUp(&clean));
  EXPECT_EQ(1, clean.m_bRunning);
  EXPECT_FALSE(clean.WaitForPass(0));
  release = true;
  std::vector<std::string> taken;
  while (clean.m_bRunning) {
    for (std::string& line : clean.m_aLog.TakeAll()) taken.push_back(std::move(line));
  }
  ASSERT_TRUE(clean.WaitForPass(10000));
  for (std::string& line : clean.m_aLog.TakeAll()) taken.push_back(std::move(line));

  int next = 0;
  for (const std::string& line : taken) {
    if (line[0] != '#') continue;
    ASSERT_EQ("#" + std::to_string(next++), line);
  }
  EXPECT_EQ(kBursts * kPerBurst, next);
}

}  // namespace
