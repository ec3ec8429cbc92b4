// CPU load from performance data built by the tests: the counter of each system kind, the
// rounding, the growing buffer, the fallback to the system's processor times, and buffers that
// lie about their own layout.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "engine/CpuLoad.h"
#include "engine/MemClean.h"
#include "support/FakePlatform.h"

namespace {

using qvtest::PerfDataBuilder;

constexpr std::int64_t kSecond = 10000000;  // in 100 ns

// A processor object with a "_total" instance among others, its idle counter at value.
std::string ProcessorBlock(std::int64_t time, std::int64_t idle,
                           const char16_t* total = u"_total") {
  PerfDataBuilder builder;
  builder.time100ns = time;
  PerfDataBuilder::Object other{230, 6, 0, true, {}, 2};
  PerfDataBuilder::Object processor{238, 6, 0, false, {{u"0", 1}, {total, idle}, {u"1", 2}}, 3};
  builder.objects = {other, processor};
  return builder.Build();
}

class CpuLoadTest : public ::testing::Test {
 protected:
  CpuLoadTest() : clean(fake.Platform()) { ResetCpuLoadStateForTesting(); }
  ~CpuLoadTest() override { ResetCpuLoadStateForTesting(); }

  qvtest::FakePlatform fake;
  CMemClean clean;
};

TEST_F(CpuLoadTest, Nt5ReadsTheTotalInstanceOfTheProcessorObjectWithoutRegardToCase) {
  // 25 % busy: the idle counter grows by three quarters of the time.
  for (int i = 0; i < 10; ++i) {
    fake.performance.blocks.push_back(ProcessorBlock(i * kSecond, i * kSecond * 3 / 4));
  }
  EXPECT_EQ(25, clean.GetCpuLoad());
  EXPECT_EQ(std::vector<std::uint32_t>(10, 1000), fake.system.sleeps);
  EXPECT_EQ("238", fake.performance.valueNames.front());
  EXPECT_EQ(0, fake.performance.timesQueries) << "the object was there";
}

TEST_F(CpuLoadTest, Nt4ReadsTheSystemObjectWithoutInstance) {
  fake.performance.version = {2, 4};
  for (int i = 0; i < 10; ++i) {
    PerfDataBuilder builder;
    builder.time100ns = i * kSecond;
    builder.objects = {{2, 240, i * kSecond / 2, true, {}, 1}};
    fake.performance.blocks.push_back(builder.Build());
  }
  EXPECT_EQ(50, clean.GetCpuLoad());
  EXPECT_EQ("2", fake.performance.valueNames.front());
  EXPECT_EQ(0, fake.performance.counterWrites)
      << "the counters are switched only on NT 5 and later";
}

TEST_F(CpuLoadTest, MissingInstanceGivesMinusOneAsTheDesignedValue) {
  fake.performance.blocks = {ProcessorBlock(0, 0, u"_Other")};
  const std::string block = fake.performance.blocks[0];
  const CCounterReading reading = ReadCounter(reinterpret_cast<const unsigned char*>(block.data()),
                                              block.size(), 238, 6, "_Total");
  EXPECT_TRUE(reading.objectFound);
  EXPECT_EQ(-1, reading.value);
  const CCounterReading noCounter = ReadCounter(
      reinterpret_cast<const unsigned char*>(block.data()), block.size(), 238, 7, "_Total");
  EXPECT_EQ(-1, noCounter.value) << "a counter that is not there is not found either";
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

TEST_F(CpuLoadTest, UnsupportedPlatformsGiveMinusOne) {
  fake.performance.version = {1, 4};
  EXPECT_EQ(-1, clean.GetCpuLoad());
  ResetCpuLoadStateForTesting();
  fake.performance.versionKnown = false;
  EXPECT_EQ(-1, clean.GetCpuLoad());
  EXPECT_TRUE(fake.performance.valueNames.empty());
}

TEST_F(CpuLoadTest, CountersAreSwitchedOnAtTheFirstSampleOfEveryMeasurement) {
  fake.performance.blocks = {ProcessorBlock(0, 0)};
  clean.GetCpuLoad();
  clean.GetCpuLoad();
  EXPECT_EQ(4, fake.performance.counterWrites);
  EXPECT_EQ(0u,
            fake.performance.written["SYSTEM\\CurrentControlSet\\Services\\PerfOS\\Performance"]);
  EXPECT_EQ(0u,
            fake.performance.written["SYSTEM\\CurrentControlSet\\Services\\PerfProc\\Performance"]);
  EXPECT_EQ(1, EnablePerformanceCounters(fake.performance, 0));
  EXPECT_EQ(1u,
            fake.performance.written["SYSTEM\\CurrentControlSet\\Services\\PerfOS\\Performance"]);
  fake.performance.keysOpen = false;
  EXPECT_EQ(0, EnablePerformanceCounters(fake.performance, 1));
}

TEST_F(CpuLoadTest, LargeDataGrowsTheBufferWhichTheNextSampleKeeps) {
  std::string large = ProcessorBlock(0, 0);
  large.resize(150000, '\0');
  fake.performance.blocks = {large};
  CCpuLoadSampler sampler(fake.performance);
  EXPECT_EQ(0, sampler.GetSample());
  ASSERT_EQ(2u, fake.performance.querySizes.size());
  EXPECT_EQ(102400u, fake.performance.querySizes[0]);
  EXPECT_EQ(150000u + 10240u, fake.performance.querySizes[1]);
  EXPECT_EQ(160240u, PerformanceBufferSizeForTesting());
  sampler.GetSample();
  EXPECT_EQ(160240u, fake.performance.querySizes[2])
      << "the next sample starts with the grown size";
}

TEST_F(CpuLoadTest, BlockWithoutProcessorObjectFallsBackToProcessorTimes) {
  // Wine and some systems answer with a valid block that holds no objects.
  PerfDataBuilder empty;
  fake.performance.blocks = {empty.Build()};
  fake.performance.idleShareOnNextTimes = 60;
  EXPECT_EQ(40, clean.GetCpuLoad());
  EXPECT_EQ(10, fake.performance.timesQueries);
}

TEST_F(CpuLoadTest, SystemThatAlwaysWantsMoreDataDoesNotHangTheSample) {
  fake.performance.blocks = {std::string(200u << 20, '\0')};  // more than is ever offered
  fake.performance.idleShareOnNextTimes = 100;
  CCpuLoadSampler sampler(fake.performance);
  EXPECT_EQ(0, sampler.GetSample());
  EXPECT_LE(PerformanceBufferSizeForTesting(), 64u << 20);
}

TEST(PerformanceDataLayoutTest, TruncatedBlocksEndAsNotFound) {
  const std::string block = ProcessorBlock(5 * kSecond, 3 * kSecond);
  const auto* data = reinterpret_cast<const unsigned char*>(block.data());
  const CCounterReading whole = ReadCounter(data, block.size(), 238, 6, "_Total");
  ASSERT_TRUE(whole.objectFound);
  EXPECT_EQ(3 * kSecond, whole.value);
  EXPECT_EQ(5 * kSecond, whole.time100ns);
  for (std::size_t size = 0; size < block.size(); ++size) {
    std::vector<unsigned char> copy(data, data + size);  // exactly the bytes, for the sanitizers
    const CCounterReading reading = ReadCounter(copy.data(), size, 238, 6, "_Total");
    ASSERT_FALSE(reading.objectFound && reading.value != -1) << "size " << size;
  }
}

TEST(PerformanceDataLayoutTest, LyingLengthsAndCountsNeverReadOutside) {
  const std::string original = ProcessorBlock(5 * kSecond, 3 * kSecond);
  std::mt19937 random(2024);
  const std::uint32_t lies[] = {0,  1,          3,          4,          23,        24,
                                40, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFF0};
  for (int round = 0; round < 20000; ++round) {
    std::string block = original;
    for (int edits = 1 + random() % 4; edits > 0; --edits) {
      const std::size_t at = (random() % (block.size() / 4)) * 4;
      PerfDataBuilder::Put32(block, at, lies[random() % (sizeof(lies) / sizeof(lies[0]))]);
    }
    std::vector<unsigned char> copy(block.begin(), block.end());
    const CCounterReading reading = ReadCounter(copy.data(), copy.size(), 238, 6, "_Total");
    (void)reading;  // any answer will do, as long as nothing outside was read
  }
}

}  // namespace
