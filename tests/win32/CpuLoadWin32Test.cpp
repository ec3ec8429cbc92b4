// The CPU measurement on Windows for real; it runs alone, so that the machine is as idle or as
// busy as the test makes it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine/CpuLoad.h"
#include "engine/MemClean.h"

namespace {

TEST(RealCpuLoadTest, IdleMachineIsNearZero) {
  ResetCpuLoadStateForTesting();
  EXPECT_THAT(CMemClean().GetCpuLoad(), ::testing::AllOf(::testing::Ge(0), ::testing::Le(20)));
}

TEST(RealCpuLoadTest, OneOfTwoProcessorsBusyIsNearFifty) {
  if (std::thread::hardware_concurrency() != 2) GTEST_SKIP() << "made for two processors";
  ResetCpuLoadStateForTesting();
  std::atomic<bool> stop{false};
  std::thread busy([&] {
    volatile std::uint64_t spin = 0;
    while (!stop) ++spin;
  });
  const int load = CMemClean().GetCpuLoad();
  stop = true;
  busy.join();
  EXPECT_THAT(load, ::testing::AllOf(::testing::Ge(35), ::testing::Le(70)));
}

}  // namespace
