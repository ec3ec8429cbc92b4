// The texts of one row of the condition list: the mode with its day, hour and minute, the
// operation, and the CPU load limit.
#pragma once

#include <optional>
#include <string>

#include "settings/OperationTime.h"

namespace qv::editing {

// The label of the mode (padded to four characters with ideographic spaces), then "%d 日",
// "%d 時" and "%d 分" for each time field that is in use.
std::string ModeText(const COperationTime& condition);
// Nothing for an operation without a name: the cell is then left as it is.
std::optional<std::string> OperationText(int operation);
std::string CpuLoadText(const COperationTime& condition);

}  // namespace qv::editing
