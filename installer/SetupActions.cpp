// QuorvelSetup.dll: the installer's own steps, run by the system from inside the package, for
// what the installer's tables cannot express: the rights of the application folder and of the
// service folder "SVC", and the service "Vorel" kept across an upgrade but deleted on removal.
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>
#include <vector>

#include "framework/Handles.h"
#include "settings/SafeFolders.h"

namespace {

// A deferred step sees no property but its action data: here the application folder.
bool ActionData(MSIHANDLE install, std::wstring& value) {
  wchar_t none[1] = L"";
  DWORD size = 0;
  if (::MsiGetPropertyW(install, L"CustomActionData", none, &size) != ERROR_MORE_DATA) {
    return false;
  }
  value.assign(size + 1, L'\0');
  size += 1;
  if (::MsiGetPropertyW(install, L"CustomActionData", &value[0], &size) != ERROR_SUCCESS) {
    return false;
  }
  value.resize(size);
  return true;
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall SecureFolders(MSIHANDLE install) {
  std::wstring folder;
  if (!ActionData(install, folder)) return ERROR_INSTALL_FAILURE;
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  if (folder.empty()) return ERROR_INSTALL_FAILURE;
  if (!qv::SecureApplicationFolderW(folder) || !qv::CreateServiceFolderW(folder + L"\\SVC")) {
    return ERROR_INSTALL_FAILURE;
  }
  return ERROR_SUCCESS;
}

namespace {

qv::UniqueServiceHandle OpenVorel(DWORD access) {
  const qv::UniqueServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return qv::UniqueServiceHandle();
  return qv::UniqueServiceHandle(::OpenServiceW(manager.Get(), L"Vorel", access));
}

}  // namespace

// On removal (not on the removal of an older version by an upgrade): the service "Vorel",
// already stopped, is deleted when it is there.
extern "C" __declspec(dllexport) UINT __stdcall RemoveVorel(MSIHANDLE) {
  const qv::UniqueServiceHandle service = OpenVorel(DELETE);
  if (service) ::DeleteService(service.Get());
  return ERROR_SUCCESS;
}

// After an upgrade: the service, stopped so that its files could be replaced, starts again
// when it is installed to start with the system.
extern "C" __declspec(dllexport) UINT __stdcall RestartVorel(MSIHANDLE) {
  const qv::UniqueServiceHandle service = OpenVorel(SERVICE_QUERY_CONFIG | SERVICE_START);
  if (!service) return ERROR_SUCCESS;
  DWORD size = 0;
  ::QueryServiceConfigW(service.Get(), nullptr, 0, &size);
  std::vector<QUERY_SERVICE_CONFIGW> config(size / sizeof(QUERY_SERVICE_CONFIGW) + 1);
  size = static_cast<DWORD>(config.size() * sizeof(QUERY_SERVICE_CONFIGW));
  if (::QueryServiceConfigW(service.Get(), config.data(), size, &size) &&
      config[0].dwStartType == SERVICE_AUTO_START) {
    ::StartServiceW(service.Get(), 0, nullptr);
  }
  return ERROR_SUCCESS;
}
