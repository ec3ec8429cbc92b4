// QuorvelSetup.dll: the installer's own step, run by the system from inside the package after
// the files are in place. It gives the application folder and the service folder "SVC" their
// rights, which the installer's tables cannot express.
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>

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
