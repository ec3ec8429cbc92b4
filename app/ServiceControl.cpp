#include "app/ServiceControl.h"

#include <windows.h>
#include <winsvc.h>

#include "framework/Handles.h"

namespace qv::app {

namespace {

constexpr wchar_t kServiceName[] = L"Vorel";

// The manager must stay open while the service handle is used.
struct OpenService {
  UniqueServiceHandle manager;
  UniqueServiceHandle service;
};

OpenService OpenVorel(DWORD access) {
  OpenService open;
  open.manager.Reset(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (open.manager) open.service.Reset(::OpenServiceW(open.manager.Get(), kServiceName, access));
  return open;
}

}  // namespace

int CServiceControl::IsServiceInstalled() const {
  return OpenVorel(SERVICE_QUERY_STATUS).service ? 1 : 0;
}

int CServiceControl::IsServiceRunning() const {
  const OpenService open = OpenVorel(SERVICE_QUERY_STATUS);
  SERVICE_STATUS status{};
  if (!open.service || !::QueryServiceStatus(open.service.Get(), &status)) return 0;
  return (status.dwCurrentState & 4) != 0 ? 1 : 0;
}

int CServiceControl::NotifyService() const {
  const OpenService open = OpenVorel(SERVICE_INTERROGATE);
  SERVICE_STATUS status{};
  return open.service && ::ControlService(open.service.Get(), SERVICE_CONTROL_INTERROGATE, &status)
             ? 1
             : 0;
}

}  // namespace qv::app
