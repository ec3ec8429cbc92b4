// Conditions that tests put into settings.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "settings/OperationTime.h"

namespace qvtest {

// A condition of the mode with its time fields (-1 for one the mode does not use).
inline COperationTime Condition(std::int32_t mode, std::int32_t day, std::int32_t hour,
                                std::int32_t minute, std::int32_t memoryLoad = -1) {
  COperationTime c;
  c.m_nExecMode = mode;
  c.m_nDay = day;
  c.m_nHour = hour;
  c.m_nMinute = minute;
  c.m_nMemoryLoad = memoryLoad;
  return c;
}

// Mode, day, hour, minute, memory load, CPU limit, operation.
inline std::vector<std::int32_t> Fields(const COperationTime& c) {
  return {c.m_nExecMode,   c.m_nDay,          c.m_nHour,     c.m_nMinute,
          c.m_nMemoryLoad, c.m_nCpuLoadLimit, c.m_nOperation};
}

// Holds at every moment (memory load at or above 0 %); operations outside 0 to 2 run none.
inline std::unique_ptr<COperationTime> AlwaysMatchingCondition(std::int32_t operation,
                                                               std::int32_t cpuLimit = 100) {
  auto condition =
      std::make_unique<COperationTime>(Condition(COperationTime::kMemoryLoad, -1, -1, -1, 0));
  condition->m_nOperation = operation;
  condition->m_nCpuLoadLimit = cpuLimit;
  return condition;
}

}  // namespace qvtest
