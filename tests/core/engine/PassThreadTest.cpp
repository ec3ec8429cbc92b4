// Starting a pass: the thread, the busy flag, the last prompt, lines taken while the pass writes.
#include <gtest/gtest.h>

#include "engine/MemClean.h"
#include "support/FakeEngineSystem.h"

namespace {

class PassThreadTest : public ::testing::Test {
 protected:
  PassThreadTest() : clean(CEnginePlatform{&system, nullptr, nullptr, nullptr}) {}
  qvtest::FakeEngineSystem system;
  CMemClean clean;
};

TEST_F(PassThreadTest, WindowPassEndsWithAPromptAndTrimsTheOwnProcess) {
  ASSERT_EQ(1, DoCleanUp(&clean));
  EXPECT_EQ(0, clean.m_bRunning);
  EXPECT_EQ(3, system.sends) << "start line, end line and the end of the pass";
  EXPECT_EQ(1, system.ownTrims);
  EXPECT_EQ(7u, clean.m_aLog.GetCount()) << "the window program takes the lines";
  EXPECT_TRUE(clean.WaitForPass(0));
}

TEST_F(PassThreadTest, NullEngineOrAThreadThatCannotStartLeavesTheEngineIdle) {
  EXPECT_EQ(0, DoCleanUp(nullptr));
  system.failThreadStart = true;
  EXPECT_EQ(0, DoCleanUp(&clean));
  EXPECT_EQ(0, clean.m_bRunning);
  EXPECT_TRUE(clean.m_aLog.IsEmpty());
}

TEST_F(PassThreadTest, EngineIsBusyFromTheMomentThePassIsStarted) {
  system.realThreads = true;
  std::atomic<bool> release{false};
  system.onSend = [&] {
    while (!release) std::this_thread::yield();
  };
  ASSERT_EQ(1, DoCleanUp(&clean));
  EXPECT_EQ(1, clean.m_bRunning);
  EXPECT_FALSE(clean.WaitForPass(0));
  release = true;
  EXPECT_TRUE(clean.WaitForPass(10000));
  EXPECT_EQ(0, clean.m_bRunning);
}

TEST_F(PassThreadTest, DrainingWhileThePassWritesLosesAndReordersNothing) {
  // Each of the three prompts of the pass writes a numbered burst from the pass thread.
  constexpr int kBursts = 3;
  constexpr int kPerBurst = 7000;
  system.realThreads = true;
  int burst = 0;
  system.onSend = [&] {
    if (burst >= kBursts) return;
    for (int i = 0; i < kPerBurst; ++i) clean.AddLog("#" + std::to_string(burst * kPerBurst + i));
    ++burst;
  };
  std::vector<std::string> taken;
  ASSERT_EQ(1, DoCleanUp(&clean));
  while (clean.m_bRunning) {
    for (std::string& line : clean.m_aLog.TakeAll()) taken.push_back(std::move(line));
  }
  ASSERT_TRUE(clean.WaitForPass(10000));
  for (std::string& line : clean.m_aLog.TakeAll()) taken.push_back(std::move(line));

  int next = 0;
  for (const std::string& line : taken) {
    if (line[0] != '#') continue;
    ASSERT_EQ("#" + std::to_string(next), line);
    ++next;
  }
  EXPECT_EQ(kBursts * kPerBurst, next);
}

}  // namespace
