// The CPU measurement on Windows for real; it runs alone, so that the machine is as idle or as
// busy as the test makes it.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine/CpuLoad.h"
#include "engine/MemClean.h"

namespace {

TEST(RealCpuLoadTest, IdleMachineIsNearZero) {
  ResetCpuLoadStateForTesting();
  CMemClean clean;
  const int load = clean.GetCpuLoad();
  EXPECT_GE(load, 0);
  EXPECT_LE(load, 20);
}

TEST(RealCpuLoadTest, OneOfTwoProcessorsBusyIsNearFifty) {
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  if (info.dwNumberOfProcessors != 2) GTEST_SKIP() << "made for a machine with two processors";
  ResetCpuLoadStateForTesting();
  std::atomic<bool> stop{false};
  std::thread busy([&] {
    volatile std::uint64_t spin = 0;
    while (!stop) ++spin;
  });
  CMemClean clean;
  const int load = clean.GetCpuLoad();
  stop = true;
  busy.join();
  EXPECT_GE(load, 35);
  EXPECT_LE(load, 70);
}

}  // namespace
