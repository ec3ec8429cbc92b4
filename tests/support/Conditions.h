// Conditions that tests put into settings.
#pragma once

#include <cstdint>
#include <memory>

#include "settings/OperationTime.h"

namespace qvtest {

// Holds at every moment (memory load at or above 0 %); operations outside 0 to 2 run none.
inline std::unique_ptr<COperationTime> AlwaysMatchingCondition(std::int32_t operation,
                                                               std::int32_t cpuLimit = 100) {
  auto condition = std::make_unique<COperationTime>();
  condition->m_nExecMode = COperationTime::kMemoryLoad;
  condition->m_nMemoryLoad = 0;
  condition->m_nOperation = operation;
  condition->m_nCpuLoadLimit = cpuLimit;
  return condition;
}

}  // namespace qvtest
