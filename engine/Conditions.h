// Matching the execution conditions against the local time, the start flag and the memory
// load, and what the matching ones select.
#pragma once

#include <cstdint>

#include "engine/EngineSystem.h"
#include "settings/AppSetting.h"

struct CConditionOutcome {
  int matched = 0;  // at least one condition holds
  int optimizeWorkingSet = 0;
  int optimizeWholeMemory = 0;
  std::int32_t workingSetCpuLoadLimit = 100;  // the smallest limit among the selecting ones
  std::int32_t wholeMemoryCpuLoadLimit = 100;
};

bool ConditionMatches(const COperationTime& condition, const CLocalTime& now,
                      std::uint32_t memoryLoad, bool startup);

CConditionOutcome EvaluateConditions(const COperationTimeArray& conditions, const CLocalTime& now,
                                     std::uint32_t memoryLoad, bool startup);
