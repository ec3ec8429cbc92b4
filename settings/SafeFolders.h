// The rights of the folders that the service trusts. The service runs as LocalSystem and
// reads its settings and writes its log in "SVC" beside the programs, so only administrators
// and the system may write there; everybody may read it (the window program of an ordinary
// user shows the service log).
#pragma once

#include <string>

#include "QuorvelLExport.h"

// The service folder's rights, and those of the application folder under Program Files:
// ordinary users may create folders in it (a user's settings folder, full control for its
// creator and nobody else but administrators and the system) and read the program files.
namespace qv {
extern const wchar_t kServiceFolderRights[];
extern const wchar_t kApplicationFolderRights[];

bool CreateServiceFolderW(const std::wstring& path);
bool SecureApplicationFolderW(const std::wstring& path);
}  // namespace qv

extern "C" {
// Creates the service folder `path` (code page 932) with the service folder's rights, or gives
// an existing one those rights. False when the folder could not be made or secured.
QUORVELL_EXPORT bool CreateServiceFolder(const std::string& path);
}
