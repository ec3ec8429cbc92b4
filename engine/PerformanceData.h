// The seam of the CPU load measurement: the system version, the registry's performance data,
// the values that switch performance counters on, and the system's processor times.
#pragma once

#include <cstdint>
#include <string>

#include "QuorvelLExport.h"

struct COsVersion {
  std::uint32_t platformId = 0;  // 1: the Windows 95 family, 2: NT
  std::uint32_t majorVersion = 0;
};

class QUORVELL_EXPORT IPerformanceData {
 public:
  static constexpr long kMoreData = 234;  // the query's answer when the buffer is too small

  virtual ~IPerformanceData();
  virtual bool QueryVersion(COsVersion& version) = 0;
  // The value of that name under the registry's performance data, into buffer; size is the
  // buffer's size on entry and what the query reports on return. The query's error code.
  virtual long QueryData(const std::string& valueName, unsigned char* buffer,
                         std::uint32_t& size) = 0;
  // Writes the 4-byte value "Disable Performance Counters" under that key of the local machine;
  // false when the key cannot be opened.
  virtual bool WriteCountersDisabled(const std::string& keyPath, std::uint32_t disabled) = 0;
  // Idle, kernel (idle included) and user time of all processors, in 100 ns.
  virtual bool QuerySystemTimes(std::uint64_t& idle, std::uint64_t& kernel,
                                std::uint64_t& user) = 0;
};
