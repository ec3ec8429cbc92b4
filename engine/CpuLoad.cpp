#include "engine/CpuLoad.h"

#include <climits>
#include <cmath>
#include <mutex>
#include <vector>

#include "engine/MemClean.h"
#include "engine/PerformanceData.h"

namespace {

// The published layout of the performance data, little-endian, the same in 32 and 64 bits.
namespace layout {
constexpr std::size_t kBlockHeaderLength = 24;
constexpr std::size_t kBlockNumObjectTypes = 28;
constexpr std::size_t kBlockPerfTime100nSec = 72;
constexpr std::size_t kBlockMinimum = 80;

constexpr std::size_t kObjectTotalByteLength = 0;
constexpr std::size_t kObjectDefinitionLength = 4;
constexpr std::size_t kObjectHeaderLength = 8;
constexpr std::size_t kObjectNameTitleIndex = 12;
constexpr std::size_t kObjectNumCounters = 32;
constexpr std::size_t kObjectNumInstances = 40;
constexpr std::size_t kObjectMinimum = 44;

constexpr std::size_t kCounterByteLength = 0;
constexpr std::size_t kCounterNameTitleIndex = 4;
constexpr std::size_t kCounterOffset = 36;
constexpr std::size_t kCounterMinimum = 40;

constexpr std::size_t kInstanceByteLength = 0;
constexpr std::size_t kInstanceNameOffset = 16;
constexpr std::size_t kInstanceMinimum = 24;

constexpr std::size_t kBlockByteLength = 0;
constexpr std::size_t kBlockMinimumLength = 4;
}  // namespace layout

constexpr std::size_t kInitialBufferSize = 102400;
constexpr std::size_t kGrowth = 10240;
// A system that keeps asking for more is not followed past this.
constexpr std::size_t kMaximumBufferSize = 64u << 20;
constexpr std::int32_t kNoInstances = -1;

// A view of the bytes that came back, which refuses every read outside them.
class DataView {
 public:
  DataView(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

  bool Holds(std::size_t offset, std::size_t length, std::size_t end) const {
    return end <= m_size && offset <= end && length <= end - offset;
  }
  bool U32(std::size_t offset, std::size_t end, std::uint32_t& value) const {
    if (!Holds(offset, 4, end)) return false;
    value = 0;
    for (int i = 3; i >= 0; --i)
      value = (value << 8) | m_data[offset + static_cast<std::size_t>(i)];
    return true;
  }
  bool I64(std::size_t offset, std::size_t end, std::int64_t& value) const {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (!U32(offset, end, low) || !U32(offset + 4, end, high)) return false;
    value = static_cast<std::int64_t>((std::uint64_t{high} << 32) | low);
    return true;
  }
  // The zero-terminated UTF-16 name at offset equals the wanted one, without regard to case.
  // Names beyond ASCII never equal the instance names the measurement asks for.
  bool NameEquals(std::size_t offset, std::size_t end, const char* wanted) const {
    for (std::size_t i = 0;; ++i) {
      if (!Holds(offset, 2 * (i + 1), end)) return false;
      const unsigned unit = m_data[offset + 2 * i] | (m_data[offset + 2 * i + 1] << 8);
      if (unit == 0) return wanted[i] == '\0';
      if (unit >= 0x80 || wanted[i] == '\0') return false;
      if (Lower(static_cast<char>(unit)) != Lower(wanted[i])) return false;
    }
  }
  std::size_t Size() const { return m_size; }

 private:
  static char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

  const unsigned char* m_data;
  std::size_t m_size;
};

// Adds without wrapping; false when the sum does not fit.
bool Advance(std::size_t& offset, std::uint64_t by) {
  if (by > SIZE_MAX - offset) return false;
  offset += static_cast<std::size_t>(by);
  return true;
}

struct SharedState {
  std::mutex mutex;
  int osKind = -1;
  std::vector<unsigned char> buffer;
};

SharedState& Shared() {
  static SharedState state;
  return state;
}

}  // namespace

int GetOsKind(IPerformanceData& performance) {
  COsVersion version;
  if (!performance.QueryVersion(version)) return kOsUnknown;
  if (version.platformId == 1) return kOs95Family;
  if (version.platformId == 2) return version.majorVersion == 4 ? kOsNt4 : kOsNt5OrLater;
  return kOsUnknown;
}

int EnablePerformanceCounters(IPerformanceData& performance, int enable) {
  if (GetOsKind(performance) != kOsNt5OrLater) return 1;
  const std::uint32_t disabled = enable ? 0 : 1;
  for (const char* key : {"SYSTEM\\CurrentControlSet\\Services\\PerfOS\\Performance",
                          "SYSTEM\\CurrentControlSet\\Services\\PerfProc\\Performance"}) {
    if (!performance.WriteCountersDisabled(key, disabled)) return 0;
  }
  return 1;
}

std::int64_t FindCounterValue(const unsigned char* data, std::size_t size, std::size_t objectOffset,
                              std::uint32_t counterIndex, const char* instanceName) {
  using namespace layout;
  const DataView view(data, size);
  std::uint32_t total = 0, definitionLength = 0, headerLength = 0, counters = 0, instances = 0;
  if (!view.U32(objectOffset + kObjectTotalByteLength, size, total)) return -1;
  std::size_t end = objectOffset;
  if (!Advance(end, total) || end > size) return -1;
  if (!view.U32(objectOffset + kObjectDefinitionLength, end, definitionLength) ||
      !view.U32(objectOffset + kObjectHeaderLength, end, headerLength) ||
      !view.U32(objectOffset + kObjectNumCounters, end, counters) ||
      !view.U32(objectOffset + kObjectNumInstances, end, instances)) {
    return -1;
  }

  // The counter definition with the title index sought.
  std::size_t definition = objectOffset;
  if (!Advance(definition, headerLength)) return -1;
  bool found = false;
  std::uint32_t counterOffset = 0;
  for (std::uint32_t i = 0; i < counters; ++i) {
    std::uint32_t length = 0, titleIndex = 0;
    if (!view.Holds(definition, kCounterMinimum, end) ||
        !view.U32(definition + kCounterByteLength, end, length) ||
        !view.U32(definition + kCounterNameTitleIndex, end, titleIndex)) {
      break;
    }
    if (titleIndex == counterIndex) {
      found = view.U32(definition + kCounterOffset, end, counterOffset);
      break;
    }
    if (length == 0 || !Advance(definition, length)) break;
  }
  if (!found) return -1;

  // The counter block: after the definitions, or after the instance of that name.
  std::size_t block = objectOffset;
  if (!Advance(block, definitionLength)) return -1;
  if (static_cast<std::int32_t>(instances) != kNoInstances) {
    if (!instanceName) return -1;
    bool matched = false;
    std::size_t instance = block;
    for (std::uint32_t i = 0; i < instances && static_cast<std::int32_t>(i) >= 0; ++i) {
      std::uint32_t length = 0, nameOffset = 0, blockLength = 0;
      if (!view.Holds(instance, kInstanceMinimum, end) ||
          !view.U32(instance + kInstanceByteLength, end, length) ||
          !view.U32(instance + kInstanceNameOffset, end, nameOffset) || length < kInstanceMinimum) {
        break;
      }
      std::size_t counterBlock = instance;
      std::size_t name = instance;
      if (!Advance(counterBlock, length) || !Advance(name, nameOffset) ||
          !view.U32(counterBlock + kBlockByteLength, end, blockLength)) {
        break;
      }
      if (view.NameEquals(name, end, instanceName)) {
        block = counterBlock;
        matched = true;
        break;
      }
      instance = counterBlock;
      if (blockLength < kBlockMinimumLength || !Advance(instance, blockLength)) break;
    }
    if (!matched) return -1;
  }
  std::int64_t value = 0;
  if (!Advance(block, counterOffset) || !view.I64(block, end, value)) return -1;
  return value;
}

CCounterReading ReadCounter(const unsigned char* data, std::size_t size, std::uint32_t objectIndex,
                            std::uint32_t counterIndex, const char* instanceName) {
  using namespace layout;
  CCounterReading reading;
  const DataView view(data, size);
  std::uint32_t headerLength = 0, objects = 0;
  if (size < kBlockMinimum || !view.I64(kBlockPerfTime100nSec, size, reading.time100ns) ||
      !view.U32(kBlockHeaderLength, size, headerLength) ||
      !view.U32(kBlockNumObjectTypes, size, objects)) {
    return reading;
  }
  std::size_t object = headerLength;
  for (std::uint32_t i = 0; i < objects; ++i) {
    std::uint32_t total = 0, titleIndex = 0;
    if (!view.Holds(object, kObjectMinimum, size) ||
        !view.U32(object + kObjectTotalByteLength, size, total) ||
        !view.U32(object + kObjectNameTitleIndex, size, titleIndex) || total < kObjectMinimum ||
        !view.Holds(object, total, size)) {
      break;
    }
    if (titleIndex == objectIndex) {
      reading.objectFound = true;
      reading.value = FindCounterValue(data, size, object, counterIndex, instanceName);
      break;
    }
    object += total;
  }
  return reading;
}

int LoadFromCounterChange(std::int64_t valueChange, double timeChange) {
  const double load = (1.0 - static_cast<double>(valueChange) / timeChange) * 100.0;
  const double rounded = load + 0.5;
  if (!(rounded > 0.0)) return 0;  // negative, or not a number
  if (rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(rounded);
}

CCpuLoadSampler::CCpuLoadSampler(IPerformanceData& performance) : m_performance(performance) {}
CCpuLoadSampler::~CCpuLoadSampler() = default;

int CCpuLoadSampler::GetSample() {
  SharedState& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  if (shared.osKind < 0) shared.osKind = GetOsKind(m_performance);
  if (m_bFirstSample) EnablePerformanceCounters(m_performance, 1);

  std::uint32_t objectIndex = 0;
  std::uint32_t counterIndex = 0;
  const char* instance = nullptr;
  switch (shared.osKind) {
    case kOsNt4:
      objectIndex = 2;
      counterIndex = 240;
      break;
    case kOsNt5OrLater:
      objectIndex = 238;
      counterIndex = 6;
      instance = "_Total";
      break;
    default:
      return -1;
  }

  std::vector<unsigned char>& buffer = shared.buffer;
  if (buffer.empty()) buffer.resize(kInitialBufferSize);
  std::fill(buffer.begin(), buffer.end(), 0);
  const std::string valueName = std::to_string(objectIndex);
  std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
  long answer = m_performance.QueryData(valueName, buffer.data(), size);
  while (answer == IPerformanceData::kMoreData && buffer.size() < kMaximumBufferSize) {
    // Grows by what the query reported plus a margin, and always by the margin at least.
    const std::size_t grown = std::max<std::size_t>(size, buffer.size()) + kGrowth;
    buffer.resize(std::min(grown, kMaximumBufferSize));
    size = static_cast<std::uint32_t>(buffer.size());
    answer = m_performance.QueryData(valueName, buffer.data(), size);
  }
  const std::size_t returned =
      answer == 0 ? std::min<std::size_t>(size, buffer.size()) : buffer.size();
  CCounterReading reading =
      ReadCounter(buffer.data(), returned, objectIndex, counterIndex, instance);

  Source source = Source::kPerformanceData;
  if (!reading.objectFound || reading.value == -1) {
    // Some systems return a block without the processor object, or without its "_Total"
    // instance or idle counter: the system's own processor times give the same idle share.
    std::uint64_t idle = 0, kernel = 0, user = 0;
    if (m_performance.QuerySystemTimes(idle, kernel, user)) {
      source = Source::kSystemTimes;
      reading.value = static_cast<std::int64_t>(idle);
      reading.time100ns = static_cast<std::int64_t>(kernel + user);
    } else {
      reading.value = 0;
    }
  }

  const bool baseline = m_bFirstSample || source != m_source;
  const std::int64_t valueChange = static_cast<std::int64_t>(
      static_cast<std::uint64_t>(reading.value) - static_cast<std::uint64_t>(m_nPreviousValue));
  const double timeChange = static_cast<double>(static_cast<std::int64_t>(
      static_cast<std::uint64_t>(reading.time100ns) - static_cast<std::uint64_t>(m_nPreviousTime)));
  m_bFirstSample = false;
  m_source = source;
  m_nPreviousValue = reading.value;
  m_nPreviousTime = reading.time100ns;
  return baseline ? 0 : LoadFromCounterChange(valueChange, timeChange);
}

void ResetCpuLoadStateForTesting() {
  SharedState& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  shared.osKind = -1;
  std::vector<unsigned char>().swap(shared.buffer);
}

std::size_t PerformanceBufferSizeForTesting() {
  SharedState& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  return shared.buffer.size();
}

int CMemClean::GetCpuLoad() {
  IEngineSystem& system = *m_platform.system;
  CCpuLoadSampler sampler(*m_platform.performance);
  std::int64_t sum = 0;
  for (int i = 0; i < 10; ++i) {
    system.Sleep(1000);
    sum += sampler.GetSample();
  }
  // The first sample is the baseline: the mean of the nine loads after it.
  return static_cast<int>(
      std::max<std::int64_t>(INT_MIN, std::min<std::int64_t>(INT_MAX, sum / 9)));
}
