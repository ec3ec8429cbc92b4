// Exported utility functions: where the programs keep their files, and the memory load.
#pragma once

#include <string>

#include "QuorvelLExport.h"

extern "C" {
// The directory of the running program's executable, without a trailing "\".
QUORVELL_EXPORT std::string GetApplicationPath();
// The logon name of the user running the program, or "defaultuser".
QUORVELL_EXPORT std::string GetWindowsUser();
// Physical memory load in percent, 0 to 100.
QUORVELL_EXPORT unsigned int GetMemoryLoad();
}
