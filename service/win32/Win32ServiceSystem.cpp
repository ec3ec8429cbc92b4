#include "service/win32/Win32ServiceSystem.h"

#include <ctime>

#include "framework/Cp932.h"
#include "framework/Handles.h"
#include "settings/Utility.h"

namespace {

class CWin32Event final : public IServiceEvent {
 public:
  explicit CWin32Event(qv::UniqueHandle handle) : m_handle(std::move(handle)) {}
  void Set() override { ::SetEvent(m_handle.Get()); }
  bool Wait(std::uint32_t milliseconds) override {
    return ::WaitForSingleObject(m_handle.Get(), milliseconds) == WAIT_OBJECT_0;
  }

 private:
  qv::UniqueHandle m_handle;
};

}  // namespace

CWin32ServiceSystem::CWin32ServiceSystem() : m_reporter(*this) {}

QvTime CWin32ServiceSystem::Now() {
  return static_cast<QvTime>(std::time(nullptr));
}

void CWin32ServiceSystem::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

void CWin32ServiceSystem::DebugOutput(const std::string& text) {
  ::OutputDebugStringW(qv::Cp932ToWide(text).c_str());
}

void CWin32ServiceSystem::ReportStatus(const CServiceStatus& status) {
  const SERVICE_STATUS_HANDLE handle = m_statusHandle.load();
  if (!handle) return;
  SERVICE_STATUS report{};
  report.dwServiceType = status.dwServiceType;
  report.dwCurrentState = status.dwCurrentState;
  report.dwControlsAccepted = status.dwControlsAccepted;
  report.dwWin32ExitCode = status.dwWin32ExitCode;
  report.dwServiceSpecificExitCode = status.dwServiceSpecificExitCode;
  report.dwCheckPoint = status.dwCheckPoint;
  report.dwWaitHint = status.dwWaitHint;
  ::SetServiceStatus(handle, &report);
}

std::unique_ptr<IServiceEvent> CWin32ServiceSystem::CreateAutoResetEvent(std::uint32_t& error) {
  qv::UniqueHandle handle(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!handle) {
    error = ::GetLastError();
    return nullptr;
  }
  return std::make_unique<CWin32Event>(std::move(handle));
}

void CWin32ServiceSystem::ReloadSettings(CAppSetting& settings) {
  ReloadServiceSettings(settings, ServiceSettingsPath(GetApplicationPath()), SystemFileStore(),
                        *this);
}

void CWin32ServiceSystem::EndProcess() {
  ::TerminateProcess(::GetCurrentProcess(), 0);
  // Not reached: the call ends every thread of the process, this one included.
  for (;;) ::Sleep(INFINITE);
}
