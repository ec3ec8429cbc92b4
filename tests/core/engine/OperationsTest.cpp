// The working-set trim and the whole-memory release: their lines and the save flag.
#include <gmock/gmock.h>

#include "engine/MemClean.h"
#include "support/FakePlatform.h"

namespace {

using ::testing::ElementsAre;

class OperationsTest : public ::testing::Test {
 protected:
  OperationsTest() : clean(fake.Platform()) {}

  qvtest::FakeProcess& AddProcess(std::uint32_t id, const std::string& name) {
    fake.processes.push_back({id, name});
    return fake.processes.back();
  }
  std::vector<std::string> Lines() { return clean.m_aLog.Copy(); }

  qvtest::FakePlatform fake;
  CMemClean clean;
};

TEST_F(OperationsTest, WorkingSetTrimReportsEveryProcessButTheFirst) {
  AddProcess(0, "[System Process]");
  AddProcess(4, "explorer.exe") = {4, "explorer.exe", 987 * 1024 + 1023, 312 * 1024};
  AddProcess(8, "gone.exe").opens = false;
  AddProcess(9, "stubborn.exe").trims = false;
  AddProcess(12, "テスト.exe") = {12, "テスト.exe", 5000000ull * 1024, 0};
  AddProcess(13, "a.exe").countersBefore = false;
  AddProcess(14, "b.exe").countersAfter = false;

  EXPECT_EQ(1, clean.OptimizeWorkingSet(1));
  EXPECT_THAT(Lines(), ElementsAre("システム特権の取得に成功",
                                   "プロセスのスナップショットの取得に成功しました",
                                   "explorer.exeの未使用メモリを開放 987 KB->312 KB",
                                   "gone.exeのプロセスを開くことができませんでした",
                                   "stubborn.exeの未使用メモリの開放に失敗",
                                   "テスト.exeの未使用メモリを開放 5000000 KB->0 KB",
                                   "a.exeの未使用メモリを開放 error->10 KB",
                                   "b.exeの未使用メモリを開放 100 KB->error"));
  EXPECT_EQ((std::vector<std::uint32_t>{4, 8, 9, 12, 13, 14}), fake.opened)
      << "the first entry, the idle process, is never opened";
  EXPECT_EQ((std::vector<std::uint32_t>{4, 12, 13, 14}), fake.trimmed);
  EXPECT_EQ((std::vector<std::string>{"SeDebugPrivilege+"}), fake.privilegesAsked);
  EXPECT_EQ(1, clean.m_appSetting.m_bModified);
  EXPECT_EQ(8, fake.sends) << "every line is followed by a notify";

  clean.m_aLog.TakeAll();
  fake.sends = 0;
  fake.posts = 0;
  EXPECT_EQ(1, clean.OptimizeWorkingSet(0));
  EXPECT_TRUE(clean.m_aLog.IsEmpty());
  EXPECT_EQ(0, fake.sends + fake.posts) << "no lines and no notify without bLog";
  EXPECT_EQ(8u, fake.trimmed.size());
}

TEST_F(OperationsTest, AFailedSnapshotStopsTheTrimsAndAPrivilegeOrTokenFailureDoesNot) {
  AddProcess(0, "idle");
  AddProcess(4, "a.exe");
  fake.snapshotTaken = false;
  EXPECT_EQ(0, clean.OptimizeWorkingSet(1));
  EXPECT_THAT(Lines(), ElementsAre("システム特権の取得に成功",
                                   "プロセスのスナップショットの取得に失敗しました"));
  EXPECT_TRUE(fake.opened.empty());
  EXPECT_EQ(0, clean.m_appSetting.m_bModified);

  fake.snapshotTaken = true;
  fake.privilegeEnabled = false;
  EXPECT_EQ(1, clean.OptimizeWorkingSet(1));
  EXPECT_EQ("システム特権の取得に失敗", Lines()[2]);
  fake.tokenOpens = false;
  EXPECT_EQ(1, clean.OptimizeWorkingSet(1));
  EXPECT_EQ("アクセストークンの取得に失敗", Lines()[5]);
  EXPECT_EQ((std::vector<std::uint32_t>{4, 4}), fake.trimmed);
}

TEST_F(OperationsTest, FailedAttemptShrinksByOnePercentAndOnlyTheFirstIsTopDown) {
  fake.memory.totalPhys = 512u << 20;
  clean.m_appSetting.m_nReleaseLevel = 50;
  fake.largestCommit = 263066741;
  EXPECT_EQ(1, clean.OptimizeWholeMemory(1));
  EXPECT_THAT(fake.attempts, ElementsAre(std::pair(268435450, true), std::pair(263066741, false)));
  EXPECT_THAT(Lines(),
              ElementsAre("262143 KB の領域確保失敗　再確保を行います", "256901 KB の領域確保成功",
                          "確保メモリを初期化しています...", "初期化完了", "領域開放成功"));
  EXPECT_TRUE(fake.filledWithZeros);
  EXPECT_EQ(1, clean.m_appSetting.m_bModified);
  EXPECT_EQ(4, fake.sends) << "the retry line is not followed by a notify";
}

TEST_F(OperationsTest, ReleaseLevelClaimsItsShareAndAtMostAllMemoryInAtMost100Retries) {
  // Above 100 the level is taken as 100 for the pass; below 100 bytes a step is 0. The attempts
  // end at one step or less with a failure line, and without bLog with no lines at all.
  struct Case {
    std::int32_t level;
    std::uint64_t physical, first;
    std::size_t attempts;
  } const cases[] = {{100, 512u << 20, 512u << 20, 101},
                     {50, 64ull << 30, 34359738350ull, 50},
                     {101, 512u << 20, 512u << 20, 101},
                     {1000, 100007, 100007, 101},
                     {3, 100u << 20, 3 * ((100u << 20) / 100), 3},
                     {100, 50, 50, 1},
                     {50, 0, 0, 1}};
  fake.largestCommit = 0;
  for (const Case& c : cases) {
    for (const int bLog : {0, 1}) {
      fake.attempts.clear();
      clean.m_aLog.TakeAll();
      fake.sends = 0;
      fake.memory.totalPhys = c.physical;
      clean.m_appSetting.m_nReleaseLevel = c.level;
      EXPECT_EQ(0, clean.OptimizeWholeMemory(bLog));
      EXPECT_EQ(c.first, fake.attempts[0].first) << c.level;
      EXPECT_EQ(c.attempts, fake.attempts.size()) << c.level;
      EXPECT_EQ(c.first - c.physical / 100, fake.attempts[c.attempts > 1].first) << c.level;
      EXPECT_EQ(c.level, clean.m_appSetting.m_nReleaseLevel) << "the settings keep their level";
      EXPECT_EQ(bLog ? c.attempts : 0, clean.m_aLog.GetCount()) << c.level;
      EXPECT_EQ(bLog ? 1 : 0, fake.sends) << "only the failure line is followed by a notify";
      if (bLog) {
        EXPECT_EQ("領域確保失敗", Lines().back());
      }
    }
  }
  EXPECT_EQ(0, clean.m_appSetting.m_bModified);
}

TEST_F(OperationsTest, FailedDecommitOrReleaseIsReportedAndTheBlockStillReleased) {
  fake.memory.totalPhys = 1u << 20;  // the share of the default level fits in one commit
  for (const bool decommits : {false, true}) {
    fake.decommits = decommits;
    fake.releases = !decommits;
    EXPECT_EQ(0, clean.OptimizeWholeMemory(1));
    EXPECT_EQ("領域開放失敗", Lines().back());
    EXPECT_EQ(decommits ? 2 : 1, fake.releaseCalls) << "a committed block would hold its memory";
  }
  EXPECT_EQ(0, clean.m_appSetting.m_bModified);
}

TEST_F(OperationsTest, PassRunsTheTrimBeforeTheReleaseAndGoesOnAfterFailures) {
  AddProcess(0, "idle");
  AddProcess(4, "a.exe");
  fake.memory.totalPhys = 1u << 20;
  clean.m_bOptimizeWorkingSet = 1;
  clean.m_bOptimizeWholeMemory = 1;
  EXPECT_EQ(1, clean.CleanUp());
  std::vector<std::string> lines = Lines();
  const std::vector<std::string> order = {"各プロセスのワーキングセットの最適化を開始",
                                          "a.exeの未使用メモリを開放 100 KB->10 KB",
                                          "各プロセスのワーキングセットの最適化成功",
                                          "物理メモリーの最適化を開始", "物理メモリーの最適化成功"};
  auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line); };
  for (std::size_t i = 1; i < order.size(); ++i) EXPECT_LT(at(order[i - 1]), at(order[i]));
  EXPECT_EQ(1u + 5 + 1 + 3 + 1 + 5 + 1 + 4 + 1 + 5 + 1, lines.size());

  clean.m_aLog.TakeAll();
  fake.snapshotTaken = false;
  fake.memory.totalPhys = 0;
  EXPECT_EQ(1, clean.CleanUp());
  lines = Lines();
  EXPECT_NE(lines.end(), at("各プロセスのワーキングセットの最適化失敗"));
  EXPECT_NE(lines.end(), at("物理メモリーの最適化失敗"));
  EXPECT_EQ(0u, lines.back().find("--- オペレーション終了 "));
}

}  // namespace
