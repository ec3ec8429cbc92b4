// Installs and controls the service "Vorel" through the service control manager: the one way
// the window program, the development tool and the tests register it. Each call opens the
// manager and the service with only the rights it needs, so that a user who is not an
// administrator can still see whether the service is there and runs.
#pragma once

#include <windows.h>
#include <winsvc.h>

#include <string>

namespace qv::vorel {

inline constexpr wchar_t kServiceName[] = L"Vorel";

// The command line that is registered: the path in quotes, so that a path with spaces cannot
// be taken for a program at its first space.
std::wstring QuotedCommandLine(const std::wstring& executablePath);

// Each returns ERROR_SUCCESS or the platform's error code.
// Own process, automatic start, normal error control, the local system account; not started.
DWORD Install(const std::wstring& executablePath);
// Stops the service first when it runs (or is paused), then deletes it.
DWORD Remove();
DWORD Start();
// Whether the service can be opened (to query its status).
bool Installed();
// Sends a control code (1 stop, 2 pause, 3 continue, 4 interrogate, or any other).
DWORD Control(DWORD control, SERVICE_STATUS& status);
DWORD Query(SERVICE_STATUS& status);
// Polls the state until it is the one asked for; ERROR_TIMEOUT when it is not within the time.
DWORD WaitForState(DWORD state, DWORD timeoutMilliseconds, SERVICE_STATUS& status);

// "STOPPED", "RUNNING", "PAUSED", ... as the service control manager names the states.
const char* StateName(DWORD state);

}  // namespace qv::vorel
