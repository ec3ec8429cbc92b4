#include "engine/Conditions.h"

#include <algorithm>

bool ConditionMatches(const COperationTime& condition, const CLocalTime& now,
                      std::uint32_t memoryLoad, bool startup) {
  // A field that holds -1 (not used) never equals a time value.
  const bool atTime = condition.m_nHour == now.hour && condition.m_nMinute == now.minute;
  const std::int32_t mode = condition.m_nExecMode;
  switch (mode) {
    case COperationTime::kEveryHour:
      return condition.m_nMinute == now.minute;
    case COperationTime::kEveryDay:
      return atTime;
    case COperationTime::kEveryMonth:
      return condition.m_nDay == now.day && atTime;
    case COperationTime::kAtStart:
      return startup;
    case COperationTime::kMemoryLoad:
      return static_cast<std::int64_t>(memoryLoad) >= condition.m_nMemoryLoad;
    default:
      // Sunday to Saturday.
      return mode >= COperationTime::kEverySunday && mode <= COperationTime::kEverySaturday &&
             now.weekday == mode - COperationTime::kEverySunday && atTime;
  }
}

CConditionOutcome EvaluateConditions(const COperationTimeArray& conditions, const CLocalTime& now,
                                     std::uint32_t memoryLoad, bool startup) {
  CConditionOutcome outcome;
  for (const auto& condition : conditions) {
    if (!ConditionMatches(*condition, now, memoryLoad, startup)) continue;
    outcome.matched = 1;
    const std::int32_t operation = condition->m_nOperation;
    const std::int32_t limit = condition->m_nCpuLoadLimit;
    if (operation == COperationTime::kWorkingSet || operation == COperationTime::kBoth) {
      outcome.optimizeWorkingSet = 1;
      outcome.workingSetCpuLoadLimit = std::min(outcome.workingSetCpuLoadLimit, limit);
    }
    if (operation == COperationTime::kWholeMemory || operation == COperationTime::kBoth) {
      outcome.optimizeWholeMemory = 1;
      outcome.wholeMemoryCpuLoadLimit = std::min(outcome.wholeMemoryCpuLoadLimit, limit);
    }
  }
  return outcome;
}
