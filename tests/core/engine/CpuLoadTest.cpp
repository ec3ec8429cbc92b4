// CPU load from performance data that the tests build in the system's layout.
#include <gtest/gtest.h>

#include <climits>

#include "engine/CpuLoad.h"
#include "engine/MemClean.h"
#include "support/FakePlatform.h"

namespace {

using qvtest::PerfBlock;

constexpr std::int64_t kSecond = 10000000;  // in 100 ns

// A processor object with an instance of that name among others, its idle counter at idle.
std::string ProcessorBlock(std::int64_t time, std::int64_t idle, const char16_t* total = u"_total",
                           std::int32_t counter = 6) {
  return PerfBlock(time,
                   {{230, 6, 0, {}}, {238, counter, 0, {{u"0", 1}, {total, idle}, {u"1", 2}}}});
}

class CpuLoadTest : public ::testing::Test {
 protected:
  CpuLoadTest() : clean(fake.Platform()) { ResetCpuLoadStateForTesting(); }

  qvtest::FakePlatform fake;
  CMemClean clean;
};

TEST_F(CpuLoadTest, ReadsTheProcessorTotalOnNt5AndTheSystemObjectOnNt4) {
  // NT 5: 25 % busy, the "_total" instance matched without regard to case; NT 4: 50 % busy.
  for (const bool nt5 : {true, false}) {
    ResetCpuLoadStateForTesting();
    qvtest::FakePlatform platform;
    CMemClean engine(platform.Platform());
    if (!nt5) platform.version = {2, 4};
    for (int i = 0; i < 10; ++i) {
      platform.blocks.push_back(nt5 ? ProcessorBlock(i * kSecond, i * kSecond * 3 / 4)
                                    : PerfBlock(i * kSecond, {{2, 240, i * kSecond / 2, {}}}));
    }
    EXPECT_EQ(nt5 ? 25 : 50, engine.GetCpuLoad());
    EXPECT_EQ(std::vector<std::uint32_t>(10, 1000), platform.sleeps);
    EXPECT_EQ(nt5 ? "238" : "2", platform.valueNames.front());
    EXPECT_EQ(0, platform.timesQueries) << "the counter was there";
    EXPECT_EQ(nt5 ? 2 : 0, platform.counterWrites) << "switched on only from NT 5 on";
  }
}

TEST_F(CpuLoadTest, BlockWithoutTheTotalCounterFallsBackToProcessorTimes) {
  // Wine answers with a block without objects; others lack the instance or the counter (-1).
  for (const std::string& block :
       {PerfBlock(0, {}), ProcessorBlock(0, 0, u"_Other"), ProcessorBlock(0, 0, u"_Total", 7)}) {
    ResetCpuLoadStateForTesting();
    fake.blocks = {block};
    fake.idleShare = 60;
    fake.timesQueries = 0;
    EXPECT_EQ(40, clean.GetCpuLoad());
    EXPECT_EQ(10, fake.timesQueries);
  }
}

TEST(CpuLoadArithmeticTest, RoundsHalfUpAndNeverGoesNegative) {
  EXPECT_EQ(1, LoadFromCounterChange(995, 1000.0));   // 0.5 %
  EXPECT_EQ(0, LoadFromCounterChange(1004, 1000.0));  // -0.4 %
  EXPECT_EQ(0, LoadFromCounterChange(2000, 1000.0));  // the counter ran ahead of the clock
  EXPECT_EQ(0, LoadFromCounterChange(0, 0.0));        // 0 / 0
  EXPECT_EQ(0, LoadFromCounterChange(5, 0.0));        // -inf
  EXPECT_EQ(100, LoadFromCounterChange(0, 1000.0));
  EXPECT_EQ(200, LoadFromCounterChange(-1000, 1000.0)) << "not capped at 100";
  EXPECT_EQ(INT_MAX, LoadFromCounterChange(-1, 1e-300));
}

TEST_F(CpuLoadTest, CountersAreSwitchedOnAtTheFirstSampleOfEveryMeasurement) {
  const std::string os = "SYSTEM\\CurrentControlSet\\Services\\PerfOS\\Performance";
  const std::string proc = "SYSTEM\\CurrentControlSet\\Services\\PerfProc\\Performance";
  fake.blocks = {ProcessorBlock(0, 0)};
  clean.GetCpuLoad();
  clean.GetCpuLoad();
  EXPECT_EQ(4, fake.counterWrites);
  EXPECT_EQ((std::map<std::string, std::uint32_t>{{os, 0}, {proc, 0}}), fake.written);
  EXPECT_EQ(1, EnablePerformanceCounters(fake, 0));
  EXPECT_EQ((std::map<std::string, std::uint32_t>{{os, 1}, {proc, 1}}), fake.written);
  fake.keysOpen = false;
  EXPECT_EQ(0, EnablePerformanceCounters(fake, 1));
}

TEST_F(CpuLoadTest, LargeDataGrowsTheBufferWhichTheNextSampleKeepsWithinABound) {
  std::string large = ProcessorBlock(0, 0);
  large.resize(150000, '\0');
  fake.blocks = {large};
  CCpuLoadSampler sampler(fake);
  EXPECT_EQ(0, sampler.GetSample());
  sampler.GetSample();
  EXPECT_EQ((std::vector<std::uint32_t>{102400, 160240, 160240}), fake.querySizes)
      << "grown by the reported size and 10240 bytes; the next sample starts with it";
  fake.blocks = {std::string(200u << 20, '\0')};  // more than is ever offered
  EXPECT_EQ(0, sampler.GetSample()) << "a system that always wants more does not hang it";
  EXPECT_LE(PerformanceBufferSizeForTesting(), 64u << 20);
}

TEST(PerformanceDataLayoutTest, TruncatedBlocksEndAsNotFound) {
  // The whole block is read by the load tests above.
  const std::string block = ProcessorBlock(5 * kSecond, 3 * kSecond);
  for (std::size_t size = 0; size < block.size(); ++size) {
    const std::vector<unsigned char> copy(block.begin(), block.begin() + size);  // exactly
    const CCounterReading reading = ReadCounter(copy.data(), size, 238, 6, "_Total");
    ASSERT_FALSE(reading.objectFound && reading.value != -1) << "size " << size;
  }
}

}  // namespace
