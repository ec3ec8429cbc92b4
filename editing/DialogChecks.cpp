#include "editing/DialogChecks.h"

#include "framework/DecimalText.h"

namespace qv::editing {

namespace {

bool InRange(int value, int low, int high) {
  return value >= low && value <= high;
}

}  // namespace

bool CheckStep::operator==(const CheckStep& other) const {
  return kind == other.kind && std::string(text) == other.text;
}

ConditionInputs ConditionInputsForMode(int mode) {
  ConditionInputs on;
  if (mode >= COperationTime::kEveryHour && mode <= COperationTime::kEveryMonth) {
    on.minute = true;
    on.hour = mode != COperationTime::kEveryHour;
    on.day = mode == COperationTime::kEveryMonth;
  }
  on.memoryLoad = mode == COperationTime::kMemoryLoad;
  return on;
}

std::string ConditionFieldText(std::int32_t value) {
  return value == COperationTime::kUnused ? std::string() : std::to_string(value);
}

ConditionCheck CheckCondition(const ConditionInput& input) {
  ConditionCheck check;
  COperationTime& c = check.condition;
  c.m_nExecMode = input.mode;
  c.m_nDay = ReadDecimal(input.day);
  c.m_nHour = ReadDecimal(input.hour);
  c.m_nMinute = ReadDecimal(input.minute);
  c.m_nMemoryLoad = ReadDecimal(input.memoryLoad);
  c.m_nCpuLoadLimit = ReadDecimal(input.cpuLoad);
  c.m_nOperation = input.operation;

  auto fail = [&check](const char* text) {
    check.steps.push_back({CheckStep::Error, text});
    return check;
  };
  const bool badMinute = input.minute.empty() || !InRange(c.m_nMinute, 0, 59);
  const bool badHour = input.hour.empty() || !InRange(c.m_nHour, 0, 23);
  const int mode = input.mode;
  if (mode < 0 || mode > COperationTime::kMemoryLoad) {
    // Nothing selected: stored as it is, the condition would never run.
    return fail(kModeMissing);
  }
  if (mode <= COperationTime::kEveryMonth) {
    if (badMinute || (mode != COperationTime::kEveryHour && badHour)) return fail(kTimeInvalid);
    if (mode == COperationTime::kEveryMonth) {
      // A day of 0 (or less) would never come.
      if (input.day.empty() || !InRange(c.m_nDay, 1, 31)) return fail(kTimeInvalid);
      if (c.m_nDay > 30) check.steps.push_back({CheckStep::Question, kSomeMonthsSkipped});
      if (c.m_nDay > 28) check.steps.push_back({CheckStep::Question, kFebruaryOnlyInLeapYears});
    } else {
      c.m_nDay = COperationTime::kUnused;
    }
    if (mode == COperationTime::kEveryHour) c.m_nHour = COperationTime::kUnused;
    c.m_nMemoryLoad = COperationTime::kUnused;
  } else {
    c.m_nDay = c.m_nHour = c.m_nMinute = COperationTime::kUnused;
    if (mode == COperationTime::kAtStart) {
      c.m_nMemoryLoad = COperationTime::kUnused;
    } else if (input.memoryLoad.empty() || !InRange(c.m_nMemoryLoad, 0, 100)) {
      return fail(kMemoryInvalid);
    }
  }
  if (!InRange(c.m_nCpuLoadLimit, 0, 100)) return fail(kCpuInvalid);
  if (input.operation < COperationTime::kWorkingSet || input.operation > COperationTime::kBoth) {
    return fail(kOperationMissing);
  }
  return check;
}

OptionCheck CheckOptions(const OptionInput& input) {
  OptionCheck check;
  check.logSizeLimit = ReadDecimal(input.logSizeLimit);
  check.timerDelay = ReadDecimal(input.timerDelay);
  if (!InRange(check.timerDelay, 0, 59)) {
    check.error = kDelayInvalid;
    return check;
  }
  check.interval = ReadDecimal(input.interval);
  if (!InRange(check.interval, 0, 59)) check.error = kIntervalInvalid;
  return check;
}

}  // namespace qv::editing
