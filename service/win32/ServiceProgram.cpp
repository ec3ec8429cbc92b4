// QuorvelS: the program of the Windows service "Vorel". Started by the service control manager
// it runs the service; started any other way it ends at once, without a window.
#include <windows.h>
#include <winsvc.h>

#include <atomic>
#include <memory>

#include "engine/MemClean.h"
#include "framework/Handles.h"
#include "service/MemCleanEngine.h"
#include "service/ServiceRoutine.h"
#include "service/win32/Win32ServiceSystem.h"
#include "settings/ReadFailureReporter.h"

namespace {

wchar_t g_serviceName[] = L"Vorel";

// Live for the whole process: the handler may be called until the dispatcher returns.
CWin32ServiceSystem g_system;
CVorelService g_service(g_system);
// The stopped state goes out before ServiceMain has let go of the engine; the program leaves
// only once ServiceMain has returned (after a forced end it never does: the process is ended).
std::atomic<bool> g_serviceMainEntered{false};
qv::UniqueHandle g_serviceMainReturned;

void WINAPI ServiceCtrlHandler(DWORD control) {
  try {
    g_service.ServiceCtrlHandler(control);
  } catch (...) {
    g_system.DebugOutput("Vorelサービスの制御に失敗しました。\n");
  }
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
  g_serviceMainEntered.store(true);
  // Outside the try: unwinding must not destroy the engine while a pass may still run on it.
  std::unique_ptr<CMemClean> clean;
  try {
    clean = std::make_unique<CMemClean>();
    const QvTime startTime = g_system.Now();
    const SERVICE_STATUS_HANDLE handle =
        ::RegisterServiceCtrlHandlerW(g_serviceName, ServiceCtrlHandler);
    if (handle) {
      g_system.SetStatusHandle(handle);
      CMemCleanServiceEngine engine(*clean);
      // Returns only when no pass runs; a pass that had to be ended by force ends the process.
      g_service.ServiceMain(engine, startTime);
    }
  } catch (...) {
    // The routine keeps the failures of its loop to itself: this one came from its start or its
    // stop, and a pass may still run. The engine is left alone and the process ended.
    g_system.ReportStatus(MakeServiceStatus(kServiceStopped, ERROR_EXCEPTION_IN_SERVICE));
    g_system.EndProcess();
  }
  clean.reset();
  ::SetEvent(g_serviceMainReturned.Get());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // A settings file that cannot be read in full must not wait for an answer nobody can give.
  SetReadFailureReporter(&g_system.ReadFailureReporter());
  g_serviceMainReturned.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));

  const SERVICE_TABLE_ENTRYW table[] = {{g_serviceName, ServiceMain}, {nullptr, nullptr}};
  if (!::StartServiceCtrlDispatcherW(table)) {
    const DWORD error = ::GetLastError();
    return error != 0 ? static_cast<int>(error) : 1;
  }
  if (g_serviceMainEntered.load()) ::WaitForSingleObject(g_serviceMainReturned.Get(), INFINITE);
  SetReadFailureReporter(nullptr);
  return 0;
}
