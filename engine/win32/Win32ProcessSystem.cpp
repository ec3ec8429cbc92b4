// The working-set trim's seam on Windows: token and privilege, toolhelp snapshot, process open,
// psapi counters looked up for each call, and the trim.
#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <atomic>

#include "engine/ProcessSystem.h"
#include "engine/win32/Win32Hooks.h"
#include "framework/Cp932.h"
#include "framework/Handles.h"
#include "framework/SystemLibrary.h"

namespace {

std::atomic<const wchar_t*> g_counterLibrary{nullptr};

class Win32AccessToken final : public IAccessToken {
 public:
  explicit Win32AccessToken(qv::UniqueHandle token) : m_token(std::move(token)) {}

  // The system's last error decides, not the success flag of the calls: "not all privileges
  // assigned" counts as failure.
  int EnablePrivilege(const char* name, int enable) override {
    LUID luid{};
    if (!::LookupPrivilegeValueA(nullptr, name, &luid)) return 0;
    TOKEN_PRIVILEGES request{};
    request.PrivilegeCount = 1;
    request.Privileges[0].Luid = luid;
    request.Privileges[0].Attributes = 0;
    TOKEN_PRIVILEGES previous{};
    DWORD previousLength = sizeof(previous);
    ::AdjustTokenPrivileges(m_token.Get(), FALSE, &request, sizeof(request), &previous,
                            &previousLength);
    if (::GetLastError() != ERROR_SUCCESS) return 0;

    previous.PrivilegeCount = 1;
    previous.Privileges[0].Luid = luid;
    if (enable) {
      previous.Privileges[0].Attributes |= SE_PRIVILEGE_ENABLED;
    } else {
      previous.Privileges[0].Attributes &= ~static_cast<DWORD>(SE_PRIVILEGE_ENABLED);
    }
    ::AdjustTokenPrivileges(m_token.Get(), FALSE, &previous, previousLength, nullptr, nullptr);
    return ::GetLastError() == ERROR_SUCCESS ? 1 : 0;
  }

 private:
  qv::UniqueHandle m_token;
};

class Win32ProcessHandle final : public IProcessHandle {
 public:
  explicit Win32ProcessHandle(qv::UniqueHandle process) : m_process(std::move(process)) {}

  bool QueryWorkingSetSize(std::uint64_t& bytes) override {
    // Loaded and unloaded around every query; nothing is kept between processes or passes.
    using Function = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    const wchar_t* library = g_counterLibrary.load();
    const qv::UniqueModule psapi = qv::LoadSystemLibrary(library ? library : L"psapi.dll");
    const auto query = qv::GetEntry<Function>(psapi, "GetProcessMemoryInfo");
    if (!query) return false;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!query(m_process.Get(), &counters, sizeof(counters))) return false;
    bytes = counters.WorkingSetSize;
    return true;
  }

  bool EmptyWorkingSet() override {
    return ::SetProcessWorkingSetSize(m_process.Get(), static_cast<SIZE_T>(-1),
                                      static_cast<SIZE_T>(-1)) != FALSE;
  }

 private:
  qv::UniqueHandle m_process;
};

class Win32ProcessSystem final : public IProcessSystem {
 public:
  std::unique_ptr<IAccessToken> OpenOwnToken() override {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
      return nullptr;
    }
    return std::make_unique<Win32AccessToken>(qv::UniqueHandle(token));
  }

  bool TakeProcessSnapshot(std::vector<CProcessEntry>& processes) override {
    const qv::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0));
    if (!snapshot) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
      processes.push_back({entry.th32ProcessID, qv::WideToCp932(entry.szExeFile)});
    }
    return true;
  }

  std::unique_ptr<IProcessHandle> OpenProcess(std::uint32_t processId) override {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_QUOTA, FALSE, processId);
    if (!process) return nullptr;
    return std::make_unique<Win32ProcessHandle>(qv::UniqueHandle(process));
  }
};

}  // namespace

void SetCounterLibraryForTesting(const wchar_t* fileName) {
  g_counterLibrary.store(fileName);
}

IProcessSystem& Win32Processes() {
  static Win32ProcessSystem processes;
  return processes;
}
