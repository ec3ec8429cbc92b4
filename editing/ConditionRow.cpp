#include "editing/ConditionRow.h"

#include <cstdio>

namespace qv::editing {

namespace {

std::string Format(const char* format, int value) {
  char text[64];
  std::snprintf(text, sizeof(text), format, value);
  return text;
}

std::string ModeLabel(const COperationTime& condition) {
  static const char* const kLabels[] = {
      "毎時　　", "毎日　　", "毎日曜　", "毎月曜　", "毎火曜　", "毎水曜　",
      "毎木曜　", "毎金曜　", "毎土曜　", "毎月　　", "起動時　",
  };
  const int mode = condition.m_nExecMode;
  if (mode >= 0 && mode < static_cast<int>(sizeof(kLabels) / sizeof(kLabels[0])))
    return kLabels[mode];
  if (mode == COperationTime::kMemoryLoad)
    return Format("メモリー使用率が %d %%を超えたら", condition.m_nMemoryLoad);
  return {};
}

}  // namespace

std::string ModeText(const COperationTime& condition) {
  std::string text = ModeLabel(condition);
  if (condition.m_nDay != COperationTime::kUnused) text += Format("%d 日", condition.m_nDay);
  if (condition.m_nHour != COperationTime::kUnused) text += Format("%d 時", condition.m_nHour);
  if (condition.m_nMinute != COperationTime::kUnused) text += Format("%d 分", condition.m_nMinute);
  return text;
}

std::optional<std::string> OperationText(int operation) {
  switch (operation) {
    case COperationTime::kWorkingSet:
      return std::string("各アプリケーションの未開放メモリを開放");
    case COperationTime::kWholeMemory:
      return std::string("物理メモリ領域を強制開放");
    case COperationTime::kBoth:
      return std::string("全て実行");
    default:
      return std::nullopt;
  }
}

std::string CpuLoadText(const COperationTime& condition) {
  return Format("%d", condition.m_nCpuLoadLimit);
}

}  // namespace qv::editing
