#include "service/win32/VorelControl.h"

#include "framework/Handles.h"

namespace qv::vorel {

namespace {

constexpr DWORD kPollMilliseconds = 50;

// Opens the manager (connect only) and the service with the access asked for; error set on
// failure.
UniqueServiceHandle OpenVorel(DWORD access, UniqueServiceHandle& manager, DWORD& error) {
  manager.Reset(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) {
    error = ::GetLastError();
    return {};
  }
  UniqueServiceHandle service(::OpenServiceW(manager.Get(), kServiceName, access));
  error = service ? ERROR_SUCCESS : ::GetLastError();
  return service;
}

}  // namespace

std::wstring QuotedCommandLine(const std::wstring& executablePath) {
  return L"\"" + executablePath + L"\"";
}

DWORD Install(const std::wstring& executablePath) {
  UniqueServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
  if (!manager) return ::GetLastError();
  const std::wstring commandLine = QuotedCommandLine(executablePath);
  UniqueServiceHandle service(
      ::CreateServiceW(manager.Get(), kServiceName, kServiceName, SERVICE_QUERY_STATUS,
                       SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                       commandLine.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
  return service ? ERROR_SUCCESS : ::GetLastError();
}

DWORD Remove() {
  SERVICE_STATUS status{};
  // Running, continue pending, pause pending and paused all have the bit of value 4.
  if (Query(status) == ERROR_SUCCESS && (status.dwCurrentState & 4) != 0) {
    Control(SERVICE_CONTROL_STOP, status);
  }
  UniqueServiceHandle manager;
  DWORD error = ERROR_SUCCESS;
  UniqueServiceHandle service = OpenVorel(DELETE, manager, error);
  if (!service) return error;
  return ::DeleteService(service.Get()) ? ERROR_SUCCESS : ::GetLastError();
}

bool Installed() {
  UniqueServiceHandle manager;
  DWORD error = ERROR_SUCCESS;
  return static_cast<bool>(OpenVorel(SERVICE_QUERY_STATUS, manager, error));
}

DWORD Start() {
  UniqueServiceHandle manager;
  DWORD error = ERROR_SUCCESS;
  UniqueServiceHandle service = OpenVorel(SERVICE_START, manager, error);
  if (!service) return error;
  return ::StartServiceW(service.Get(), 0, nullptr) ? ERROR_SUCCESS : ::GetLastError();
}

DWORD Control(DWORD control, SERVICE_STATUS& status) {
  DWORD access = SERVICE_USER_DEFINED_CONTROL;
  switch (control) {
    case SERVICE_CONTROL_STOP:
      access = SERVICE_STOP;
      break;
    case SERVICE_CONTROL_PAUSE:
    case SERVICE_CONTROL_CONTINUE:
      access = SERVICE_PAUSE_CONTINUE;
      break;
    case SERVICE_CONTROL_INTERROGATE:
      access = SERVICE_INTERROGATE;
      break;
    default:
      break;
  }
  UniqueServiceHandle manager;
  DWORD error = ERROR_SUCCESS;
  UniqueServiceHandle service = OpenVorel(access, manager, error);
  if (!service) return error;
  return ::ControlService(service.Get(), control, &status) ? ERROR_SUCCESS : ::GetLastError();
}

DWORD Query(SERVICE_STATUS& status) {
  UniqueServiceHandle manager;
  DWORD error = ERROR_SUCCESS;
  UniqueServiceHandle service = OpenVorel(SERVICE_QUERY_STATUS, manager, error);
  if (!service) return error;
  return ::QueryServiceStatus(service.Get(), &status) ? ERROR_SUCCESS : ::GetLastError();
}

DWORD WaitForState(DWORD state, DWORD timeoutMilliseconds, SERVICE_STATUS& status) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMilliseconds;
  for (;;) {
    const DWORD error = Query(status);
    if (error != ERROR_SUCCESS) return error;
    if (status.dwCurrentState == state) return ERROR_SUCCESS;
    if (::GetTickCount64() >= end) return ERROR_TIMEOUT;
    ::Sleep(kPollMilliseconds);
  }
}

const char* StateName(DWORD state) {
  switch (state) {
    case SERVICE_STOPPED:
      return "STOPPED";
    case SERVICE_START_PENDING:
      return "START_PENDING";
    case SERVICE_STOP_PENDING:
      return "STOP_PENDING";
    case SERVICE_RUNNING:
      return "RUNNING";
    case SERVICE_CONTINUE_PENDING:
      return "CONTINUE_PENDING";
    case SERVICE_PAUSE_PENDING:
      return "PAUSE_PENDING";
    case SERVICE_PAUSED:
      return "PAUSED";
    default:
      return "UNKNOWN";
  }
}

}  // namespace qv::vorel
