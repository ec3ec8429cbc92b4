// The service's system on Win32: the clock, the debug output, status reports to the service
// control manager, kernel events and the settings file in "\SVC".
#pragma once

#include <windows.h>
#include <winsvc.h>

#include <atomic>

#include "service/ServiceRoutine.h"
#include "service/ServiceSettings.h"

class CWin32ServiceSystem final : public IServiceSystem {
 public:
  CWin32ServiceSystem();

  // Status reports go nowhere until the control handler has been registered.
  void SetStatusHandle(SERVICE_STATUS_HANDLE handle) { m_statusHandle.store(handle); }
  IReadFailureReporter& ReadFailureReporter() { return m_reporter; }

  QvTime Now() override;
  void Sleep(std::uint32_t milliseconds) override;
  void DebugOutput(const std::string& text) override;
  void ReportStatus(const CServiceStatus& status) override;
  std::unique_ptr<IServiceEvent> CreateAutoResetEvent(std::uint32_t& error) override;
  void ReloadSettings(CAppSetting& settings) override;
  [[noreturn]] void EndProcess() override;

 private:
  std::atomic<SERVICE_STATUS_HANDLE> m_statusHandle{nullptr};
  CDebugOutputReadFailureReporter m_reporter;
};
