#include "app/ServiceControl.h"

#include <windows.h>

#include <string>

#include "framework/SystemLibrary.h"
#include "service/win32/VorelControl.h"

namespace qv::app {

namespace {

int Succeeded(DWORD error) {
  return error == ERROR_SUCCESS ? 1 : 0;
}

// The running program's path with every "QuorvelW.exe" turned into "QuorvelS.exe": the
// service program lies beside the window program.
std::wstring ServiceProgramPath() {
  std::wstring path = RunningProgramPath();
  const std::wstring from = L"QuorvelW.exe";
  for (std::size_t at = path.find(from); at != std::wstring::npos;
       at = path.find(from, at + from.size())) {
    path.replace(at, from.size(), L"QuorvelS.exe");
  }
  return path;
}

}  // namespace

int CServiceControl::InstallService() const {
  return Succeeded(vorel::Install(ServiceProgramPath()));
}

int CServiceControl::UninstallService() const {
  return Succeeded(vorel::Remove());
}

int CServiceControl::StartServiceProgram() const {
  return Succeeded(vorel::Start());
}

int CServiceControl::StopServiceProgram() const {
  SERVICE_STATUS status{};
  return Succeeded(vorel::Control(SERVICE_CONTROL_STOP, status));
}

int CServiceControl::IsServiceInstalled() const {
  return vorel::Installed() ? 1 : 0;
}

int CServiceControl::IsServiceRunning() const {
  SERVICE_STATUS status{};
  return vorel::Query(status) == ERROR_SUCCESS && (status.dwCurrentState & 4) != 0 ? 1 : 0;
}

int CServiceControl::NotifyService() const {
  SERVICE_STATUS status{};
  return Succeeded(vorel::Control(SERVICE_CONTROL_INTERROGATE, status));
}

}  // namespace qv::app
