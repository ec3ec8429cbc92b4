#include "engine/LogText.h"

namespace logtext {

namespace {

void AppendTwoDigits(std::string& text, int value) {
  text.push_back(static_cast<char>('0' + value / 10 % 10));
  text.push_back(static_cast<char>('0' + value % 10));
}

std::string KilobytesOf(std::uint64_t bytes) {
  return Kilobytes(bytes / 1024);
}

}  // namespace

std::string FormatTime(const CLocalTime& time) {
  std::string text = std::to_string(time.year);
  if (text.size() < 4) text.insert(0, 4 - text.size(), '0');
  for (const auto& [separator, value] : {std::pair<char, int>{'/', time.month},
                                         {'/', time.day},
                                         {' ', time.hour},
                                         {':', time.minute},
                                         {':', time.second}}) {
    text.push_back(separator);
    AppendTwoDigits(text, value);
  }
  return text;
}

std::string CpuLoad(int load) {
  return "CPU負荷 " + std::to_string(load) + " %";
}

std::string CpuLoadRefusal(int load, int limit) {
  return "CPU負荷 " + std::to_string(load) + " % > 設定負荷 " + std::to_string(limit) +
         " % によりオペレーションを中止";
}

std::string AllocationRetry(std::uint64_t kilobytes) {
  return std::to_string(kilobytes) + " KB の領域確保失敗　再確保を行います";
}

std::string AllocationSuccess(std::uint64_t kilobytes) {
  return std::to_string(kilobytes) + " KB の領域確保成功";
}

std::string Kilobytes(std::uint64_t kilobytes) {
  return std::to_string(kilobytes) + " KB";
}

std::string LinesDropped(std::uint64_t count) {
  return "ログ " + std::to_string(count) + " 行を破棄しました";
}

std::string MemoryLoadLine(std::uint32_t percent) {
  return "* メモリ使用率           : " + std::to_string(percent) + " %";
}
std::string TotalPhysLine(std::uint64_t bytes) {
  return "* 全物理メモリ容量       : " + KilobytesOf(bytes);
}
std::string AvailPhysLine(std::uint64_t bytes) {
  return "* 空き物理メモリ容量     : " + KilobytesOf(bytes);
}
std::string TotalPageFileLine(std::uint64_t bytes) {
  return "* 全ページファイル容量   : " + KilobytesOf(bytes);
}
std::string AvailPageFileLine(std::uint64_t bytes) {
  return "* 空きページファイル容量 : " + KilobytesOf(bytes);
}

}  // namespace logtext
