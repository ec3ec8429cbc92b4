// Processor load from the registry's performance data: the idle-time counter of the processor
// object, sampled once a second.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class IPerformanceData;

// The system kinds the measurement knows.
enum OsKind : int {
  kOsNt4 = 0,         // object 2 (System), counter 240, no instance
  kOsNt5OrLater = 1,  // object 238 (Processor), counter 6, instance "_Total"
  kOs95Family = 2,    // not supported
  kOsUnknown = 3,     // version query failed, or another platform: not supported
};

int GetOsKind(IPerformanceData& performance);

// Switches the processor and process counters on (enable) or off in the registry; 1 on success
// or when there is nothing to do, 0 when a key cannot be opened.
int EnablePerformanceCounters(IPerformanceData& performance, int enable);

// One reading of a performance data block. Every offset and length in it is checked against the
// bytes actually returned; anything that points outside ends the walk as not found.
struct CCounterReading {
  bool objectFound = false;
  std::int64_t value = 0;  // the counter's raw value; -1 when the instance or counter is missing
  std::int64_t time100ns = 0;  // the block's 100-ns time stamp
};
CCounterReading ReadCounter(const unsigned char* data, std::size_t size, std::uint32_t objectIndex,
                            std::uint32_t counterIndex, const char* instanceName);

// The counter value of an object (at objectOffset in the block), from its instance of that name
// (null: the object has no instances); -1 when not found.
std::int64_t FindCounterValue(const unsigned char* data, std::size_t size, std::size_t objectOffset,
                              std::uint32_t counterIndex, const char* instanceName);

// Load in percent from the change of an inverse 100-ns timer over a time span: rounded half up,
// 0 when negative or not a number, not capped at 100.
int LoadFromCounterChange(std::int64_t valueChange, double timeChange);

// One measurement's samples. The system kind and the data buffer are kept for the process.
class CCpuLoadSampler {
 public:
  explicit CCpuLoadSampler(IPerformanceData& performance);
  virtual ~CCpuLoadSampler();
  CCpuLoadSampler(const CCpuLoadSampler&) = delete;
  CCpuLoadSampler& operator=(const CCpuLoadSampler&) = delete;

  // Percent since the previous sample; 0 for the first (the baseline), -1 when unsupported.
  int GetSample();

 private:
  enum class Source { kPerformanceData, kSystemTimes };

  IPerformanceData& m_performance;
  bool m_bFirstSample = true;
  std::int64_t m_nPreviousValue = 0;
  std::int64_t m_nPreviousTime = 0;
  Source m_source = Source::kPerformanceData;
};

// The process-wide state starts afresh (tests with other systems).
void ResetCpuLoadStateForTesting();
std::size_t PerformanceBufferSizeForTesting();
