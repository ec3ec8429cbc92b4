// What the condition and options dialogs decide without a window: which inputs a mode uses,
// the texts the edits open with, and the checks and questions of their OK buttons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/OperationTime.h"

namespace qv::editing {

inline constexpr char kTimeInvalid[] = "時間設定が不適切です";
inline constexpr char kMemoryInvalid[] = "メモリー設定が不適切です";
inline constexpr char kCpuInvalid[] = "CPU負荷設定が不適切です";
inline constexpr char kModeMissing[] = "実行する条件を選んでください";
inline constexpr char kOperationMissing[] = "実行する操作を選んでください";
inline constexpr char kSomeMonthsSkipped[] = "実行されない月があることになりますがいいですか？";
inline constexpr char kFebruaryOnlyInLeapYears[] =
    "実行されない月があり、２月は閏年にしか実行されませんがいいですか？";
inline constexpr char kDelayInvalid[] = "遅延時間設定は0-59までです";
inline constexpr char kIntervalInvalid[] = "タイムインターバル設定は0-59までです";

// The time and memory inputs a mode enables; the operation and the CPU limit are always on.
struct ConditionInputs {
  bool day = false;
  bool hour = false;
  bool minute = false;
  bool memoryLoad = false;
};
ConditionInputs ConditionInputsForMode(int mode);

// The text an edit opens with: the number, or nothing for an unused field (-1).
std::string ConditionFieldText(std::int32_t value);

// The condition dialog's inputs as the user left them. A combo box without a selection is -1.
struct ConditionInput {
  int mode = -1;
  int operation = -1;
  std::string day, hour, minute, memoryLoad, cpuLoad;
};

// One step of an OK button: a question (OK goes on, Cancel keeps the dialog open) or an error
// (shown, and the dialog stays open). Steps run in order; with no error the dialog ends.
struct CheckStep {
  enum Kind { Question, Error } kind;
  const char* text;
  bool operator==(const CheckStep& other) const;
};

struct ConditionCheck {
  std::vector<CheckStep> steps;
  // The condition the dialog stores, fields the mode does not use set to -1.
  COperationTime condition;
};
ConditionCheck CheckCondition(const ConditionInput& input);

// The options dialog's three numbers; each check gives its error text or null.
struct OptionInput {
  std::string logSizeLimit, timerDelay, interval;
};
struct OptionCheck {
  const char* error = nullptr;
  std::int32_t logSizeLimit = 0;
  std::int32_t timerDelay = 0;
  std::int32_t interval = 0;
};
OptionCheck CheckOptions(const OptionInput& input);

}  // namespace qv::editing
