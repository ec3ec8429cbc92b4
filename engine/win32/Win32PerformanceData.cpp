// The CPU measurement's seam on Windows: version, registry performance data, the counter
// switches, and the processor times.
#include <windows.h>

#include "engine/PerformanceData.h"
#include "framework/Handles.h"

namespace {

class Win32PerformanceData final : public IPerformanceData {
 public:
  bool QueryVersion(COsVersion& version) override {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // the reported version is all that is asked for
#endif
    if (!::GetVersionExW(&info)) return false;
    version.platformId = info.dwPlatformId;
    version.majorVersion = info.dwMajorVersion;
    return true;
  }

  long QueryData(const std::string& valueName, unsigned char* buffer,
                 std::uint32_t& size) override {
    DWORD length = size;
    const LONG answer = ::RegQueryValueExA(HKEY_PERFORMANCE_DATA, valueName.c_str(), nullptr,
                                           nullptr, buffer, &length);
    size = length;
    return answer;
  }

  bool WriteCountersDisabled(const std::string& keyPath, std::uint32_t disabled) override {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_ALL_ACCESS, &opened) !=
        ERROR_SUCCESS) {
      return false;
    }
    const qv::UniqueRegKey key(opened);
    const DWORD value = disabled;
    ::RegSetValueExA(key.Get(), "Disable Performance Counters", 0, REG_DWORD,
                     reinterpret_cast<const BYTE*>(&value), sizeof(value));
    return true;
  }

  bool QuerySystemTimes(std::uint64_t& idle, std::uint64_t& kernel, std::uint64_t& user) override {
    FILETIME idleTime{}, kernelTime{}, userTime{};
    if (!::GetSystemTimes(&idleTime, &kernelTime, &userTime)) return false;
    auto value = [](const FILETIME& t) {
      return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
    };
    idle = value(idleTime);
    kernel = value(kernelTime);
    user = value(userTime);
    return true;
  }
};

}  // namespace

IPerformanceData& Win32Performance() {
  static Win32PerformanceData performance;
  return performance;
}
