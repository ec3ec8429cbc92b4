// QuorvelS: the program of the Windows service "Vorel". Started by the service control manager
// it runs the service; started any other way it ends at once, without a window.
#include <windows.h>
#include <winsvc.h>

#include <atomic>
#include <memory>

#include "engine/MemClean.h"
#include "service/MemCleanEngine.h"
#include "service/ServiceRoutine.h"
#include "service/win32/Win32ServiceSystem.h"
#include "settings/ReadFailureReporter.h"

namespace {

wchar_t g_serviceName[] = L"Vorel";

// Live for the whole process: the handler may be called until the dispatcher returns.
CWin32ServiceSystem g_system;
CVorelService g_service(g_system);
std::atomic<bool> g_passEndedByForce{false};

void WINAPI ServiceCtrlHandler(DWORD control) {
  try {
    g_service.ServiceCtrlHandler(control);
  } catch (...) {
    g_system.DebugOutput("Vorelサービスの制御に失敗しました。\n");
  }
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
  try {
    auto clean = std::make_unique<CMemClean>();
    const QvTime startTime = g_system.Now();
    const SERVICE_STATUS_HANDLE handle =
        ::RegisterServiceCtrlHandlerW(g_serviceName, ServiceCtrlHandler);
    if (!handle) return;
    g_system.SetStatusHandle(handle);
    CMemCleanServiceEngine engine(*clean);
    if (g_service.ServiceMain(engine, startTime) == CServiceEnd::kPassEndedByForce) {
      // The killed pass thread may have held the engine's lock or the heap: the engine is
      // neither destroyed nor touched again, and the process ends without cleaning up.
      static_cast<void>(clean.release());
      g_passEndedByForce.store(true);
    }
  } catch (...) {
    g_system.DebugOutput("Vorelサービスを続けられません。\n");
    g_system.ReportStatus(MakeServiceStatus(kServiceStopped, ERROR_EXCEPTION_IN_SERVICE));
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // A settings file that cannot be read in full must not wait for an answer nobody can give.
  SetReadFailureReporter(&g_system.ReadFailureReporter());

  const SERVICE_TABLE_ENTRYW table[] = {{g_serviceName, ServiceMain}, {nullptr, nullptr}};
  if (!::StartServiceCtrlDispatcherW(table)) {
    const DWORD error = ::GetLastError();
    return error != 0 ? static_cast<int>(error) : 1;
  }
  if (g_passEndedByForce.load()) ::TerminateProcess(::GetCurrentProcess(), 0);
  SetReadFailureReporter(nullptr);
  return 0;
}
