// The two operations of a pass: the working-set trim of every process and the whole-memory
// release, with their lines and their effect on the save flag.
#include <gtest/gtest.h>

#include "engine/MemClean.h"
#include "support/FakePlatform.h"

namespace {

class OperationsTest : public ::testing::Test {
 protected:
  OperationsTest() : clean(fake.Platform()) {}

  void AddProcess(std::uint32_t id, const std::string& name, std::uint64_t beforeKb = 100,
                  std::uint64_t afterKb = 10) {
    qvtest::FakeProcess process;
    process.id = id;
    process.name = name;
    process.before = beforeKb * 1024 + 1023;  // sizes are shown rounded down
    process.after = afterKb * 1024;
    fake.processes.processes.push_back(process);
  }
  std::vector<std::string> Lines() { return clean.m_aLog.Copy(); }

  qvtest::FakePlatform fake;
  CMemClean clean;
};

TEST_F(OperationsTest, WorkingSetTrimReportsEveryProcessButTheFirst) {
  AddProcess(0, "[System Process]");
  AddProcess(4, "explorer.exe", 987, 312);
  AddProcess(8, "gone.exe");
  AddProcess(9, "stubborn.exe");
  AddProcess(12, "テスト.exe", 5000000, 0);
  fake.processes.processes[2].opens = false;
  fake.processes.processes[3].trims = false;

  EXPECT_EQ(1, clean.OptimizeWorkingSet(1));
  const std::vector<std::string> expected = {
      "システム特権の取得に成功",
      "プロセスのスナップショットの取得に成功しました",
      "explorer.exeの未使用メモリを開放 987 KB->312 KB",
      "gone.exeのプロセスを開くことができませんでした",
      "stubborn.exeの未使用メモリの開放に失敗",
      "テスト.exeの未使用メモリを開放 5000000 KB->0 KB",
  };
  EXPECT_EQ(expected, Lines());
  EXPECT_EQ((std::vector<std::uint32_t>{4, 8, 9, 12}), fake.processes.opened)
      << "the first entry, the idle process, is never opened";
  EXPECT_EQ((std::vector<std::uint32_t>{4, 12}), fake.processes.trimmed);
  EXPECT_EQ((std::vector<std::string>{"SeDebugPrivilege+"}), fake.processes.privilegesAsked);
  EXPECT_EQ(1, clean.m_appSetting.m_bModified);
  EXPECT_EQ(6, fake.system.sends) << "every line is followed by a notify";
}

TEST_F(OperationsTest, WorkingSetTrimWithoutLogWritesAndSendsNothing) {
  AddProcess(0, "idle");
  AddProcess(4, "a.exe");
  EXPECT_EQ(1, clean.OptimizeWorkingSet(0));
  EXPECT_TRUE(clean.m_aLog.IsEmpty());
  EXPECT_EQ(0, fake.system.sends + fake.system.posts);
  EXPECT_EQ((std::vector<std::uint32_t>{4}), fake.processes.trimmed);
}

TEST_F(OperationsTest, MissingCountersShowErrorInPlaceOfTheSizes) {
  AddProcess(0, "idle");
  AddProcess(4, "a.exe");
  AddProcess(5, "b.exe");
  fake.processes.processes[1].countersBefore = false;
  fake.processes.processes[1].countersAfter = false;
  fake.processes.processes[2].countersBefore = false;
  EXPECT_EQ(1, clean.OptimizeWorkingSet(1));
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(4u, lines.size());
  EXPECT_EQ("a.exeの未使用メモリを開放 error->error", lines[2]);
  EXPECT_EQ("b.exeの未使用メモリを開放 error->10 KB", lines[3]);
}

TEST_F(OperationsTest, PrivilegeOrTokenFailureDoesNotStopTheTrims) {
  AddProcess(0, "idle");
  AddProcess(4, "a.exe");
  fake.processes.privilegeEnabled = false;
  EXPECT_EQ(1, clean.OptimizeWorkingSet(1));
  EXPECT_EQ("システム特権の取得に失敗", Lines()[0]);
  EXPECT_EQ((std::vector<std::uint32_t>{4}), fake.processes.trimmed);

  clean.m_aLog.TakeAll();
  fake.processes.tokenOpens = false;
  EXPECT_EQ(1, clean.OptimizeWorkingSet(1));
  EXPECT_EQ("アクセストークンの取得に失敗", Lines()[0]);
  EXPECT_EQ((std::vector<std::uint32_t>{4, 4}), fake.processes.trimmed);
}

TEST_F(OperationsTest, FailedSnapshotTouchesNoProcessAndLeavesTheSaveFlag) {
  AddProcess(0, "idle");
  AddProcess(4, "a.exe");
  fake.processes.snapshotTaken = false;
  EXPECT_EQ(0, clean.OptimizeWorkingSet(1));
  EXPECT_EQ((std::vector<std::string>{"システム特権の取得に成功",
                                      "プロセスのスナップショットの取得に失敗しました"}),
            Lines());
  EXPECT_TRUE(fake.processes.opened.empty());
  EXPECT_EQ(0, clean.m_appSetting.m_bModified);
}

class WholeMemoryTest : public OperationsTest {
 protected:
  void SetPhysical(std::uint64_t bytes, std::int32_t level) {
    fake.system.memory.totalPhys = bytes;
    clean.m_appSetting.m_nReleaseLevel = level;
  }
  const std::vector<qvtest::FakeVirtualMemory::Attempt>& Attempts() { return fake.memory.attempts; }
};

TEST_F(WholeMemoryTest, FailedAttemptShrinksByOnePercentAndOnlyTheFirstIsTopDown) {
  SetPhysical(512u << 20, 50);
  fake.memory.largestCommit = 263066741;
  EXPECT_EQ(1, clean.OptimizeWholeMemory(1));
  ASSERT_EQ(2u, Attempts().size());
  EXPECT_EQ(268435450u, Attempts()[0].size);
  EXPECT_TRUE(Attempts()[0].topDown);
  EXPECT_EQ(263066741u, Attempts()[1].size);
  EXPECT_FALSE(Attempts()[1].topDown);
  const std::vector<std::string> expected = {
      "262143 KB の領域確保失敗　再確保を行います",
      "256901 KB の領域確保成功",
      "確保メモリを初期化しています...",
      "初期化完了",
      "領域開放成功",
  };
  EXPECT_EQ(expected, Lines());
  EXPECT_TRUE(fake.memory.filledWithZeros);
  EXPECT_EQ(1, clean.m_appSetting.m_bModified);
  EXPECT_EQ(4, fake.system.sends) << "the retry line is not followed by a notify";
}

TEST_F(WholeMemoryTest, AttemptAtOneStepOrLessEndsTheRelease) {
  SetPhysical(100u << 20, 3);  // three steps of one percent
  fake.memory.largestCommit = 0;
  EXPECT_EQ(0, clean.OptimizeWholeMemory(1));
  const std::uint64_t step = (100u << 20) / 100;
  ASSERT_EQ(3u, Attempts().size());
  EXPECT_EQ(3 * step, Attempts()[0].size);
  EXPECT_EQ(step, Attempts()[2].size);
  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ(std::to_string(3 * step / 1024) + " KB の領域確保失敗　再確保を行います", lines[0]);
  EXPECT_EQ(std::to_string(2 * step / 1024) + " KB の領域確保失敗　再確保を行います", lines[1]);
  EXPECT_EQ("領域確保失敗", lines[2]);
  EXPECT_EQ(0, clean.m_appSetting.m_bModified);
}

TEST_F(WholeMemoryTest, LevelHundredClaimsAllAndLargeMachinesGetTheirShare) {
  SetPhysical(512u << 20, 100);
  fake.memory.largestCommit = 0;
  clean.OptimizeWholeMemory(0);
  EXPECT_EQ(512u << 20, Attempts()[0].size);

  fake.memory.attempts.clear();
  SetPhysical(64ull << 30, 50);
  clean.OptimizeWholeMemory(0);
  ASSERT_GE(Attempts().size(), 2u);
  EXPECT_EQ(34359738350ull, Attempts()[0].size);
  EXPECT_EQ(34359738350ull - 687194767ull, Attempts()[1].size);
  EXPECT_TRUE(clean.m_aLog.IsEmpty()) << "no lines without bLog, and the retries still shrink";
  EXPECT_EQ(0, fake.system.sends);
}

TEST_F(WholeMemoryTest, FailedDecommitOrReleaseIsReportedAndTheBlockStillReleased) {
  SetPhysical(1u << 20, 50);
  fake.memory.decommits = false;
  EXPECT_EQ(0, clean.OptimizeWholeMemory(1));
  EXPECT_EQ("領域開放失敗", Lines().back());
  EXPECT_EQ(1, fake.memory.releaseCalls) << "a block that stays committed would hold its memory";

  clean.m_aLog.TakeAll();
  fake.memory.decommits = true;
  fake.memory.releases = false;
  EXPECT_EQ(0, clean.OptimizeWholeMemory(1));
  EXPECT_EQ("領域開放失敗", Lines().back());
  EXPECT_EQ(0, clean.m_appSetting.m_bModified);
}

TEST_F(WholeMemoryTest, TinyOrMissingMemoryStatusEndsWithoutLooping) {
  SetPhysical(50, 100);  // one percent of it is 0 bytes
  fake.memory.largestCommit = 0;
  EXPECT_EQ(0, clean.OptimizeWholeMemory(1));
  EXPECT_EQ(1u, Attempts().size());
  SetPhysical(0, 50);
  EXPECT_EQ(0, clean.OptimizeWholeMemory(1));
  EXPECT_EQ("領域確保失敗", Lines().back());
}

TEST_F(OperationsTest, PassRunsTheTrimBeforeTheReleaseWithTheirLines) {
  AddProcess(0, "idle");
  AddProcess(4, "a.exe");
  fake.system.memory.totalPhys = 1u << 20;
  clean.m_bOptimizeWorkingSet = 1;
  clean.m_bOptimizeWholeMemory = 1;
  EXPECT_EQ(1, clean.CleanUp());
  const std::vector<std::string> lines = Lines();
  auto at = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  };
  EXPECT_LT(at("各プロセスのワーキングセットの最適化を開始"),
            at("a.exeの未使用メモリを開放 100 KB->10 KB"));
  EXPECT_LT(at("各プロセスのワーキングセットの最適化成功"), at("物理メモリーの最適化を開始"));
  EXPECT_LT(at("物理メモリーの最適化を開始"), at("物理メモリーの最適化成功"));
  EXPECT_EQ(1 + 5 + 1 + 3 + 1 + 5 + 1 + 4 + 1 + 5 + 1, static_cast<int>(lines.size()));
}

TEST_F(OperationsTest, FailedOperationsAreReportedAndThePassGoesOn) {
  fake.processes.snapshotTaken = false;
  fake.system.memory.totalPhys = 0;
  clean.m_bOptimizeWorkingSet = 1;
  clean.m_bOptimizeWholeMemory = 1;
  EXPECT_EQ(1, clean.CleanUp());
  const std::vector<std::string> lines = Lines();
  EXPECT_NE(lines.end(),
            std::find(lines.begin(), lines.end(), "各プロセスのワーキングセットの最適化失敗"));
  EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "物理メモリーの最適化失敗"));
  EXPECT_EQ(0u, lines.back().find("--- オペレーション終了 "));
}

}  // namespace
