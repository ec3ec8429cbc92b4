// QuorvelSvcCtl: installs, controls and removes the service "Vorel" during development and
// tests. The service program itself takes no options.
//
//   QuorvelSvcCtl install [path of QuorvelS.exe]   (default: QuorvelS.exe beside this program)
//   QuorvelSvcCtl remove | start | stop | pause | continue | interrogate | query
//   QuorvelSvcCtl control <code>
//   QuorvelSvcCtl wait <STOPPED|RUNNING|PAUSED> [milliseconds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "framework/SystemLibrary.h"
#include "service/win32/VorelControl.h"

namespace {

std::wstring DefaultServicePath() {
  const std::wstring path = qv::RunningProgramPath();
  return path.substr(0, path.rfind(L'\\') + 1) + L"QuorvelS.exe";
}

int Usage() {
  std::fputs(
      "usage: QuorvelSvcCtl install [path] | remove | start | stop | pause | continue |\n"
      "       interrogate | query | control <code> | wait <STOPPED|RUNNING|PAUSED> [ms]\n",
      stderr);
  return ERROR_INVALID_PARAMETER;
}

int Finish(DWORD error, const SERVICE_STATUS* status) {
  if (status) {
    std::printf("Vorel: %s (%lu)\n", qv::vorel::StateName(status->dwCurrentState),
                status->dwCurrentState);
  }
  if (error != ERROR_SUCCESS) std::fprintf(stderr, "error %lu\n", error);
  std::fflush(stdout);
  return static_cast<int>(error);
}

bool StateFromName(const std::wstring& name, DWORD& state) {
  for (DWORD candidate = SERVICE_STOPPED; candidate <= SERVICE_PAUSED; ++candidate) {
    const char* known = qv::vorel::StateName(candidate);
    if (name.size() == std::strlen(known) &&
        std::equal(name.begin(), name.end(), known,
                   [](wchar_t a, char b) { return a == static_cast<wchar_t>(b); })) {
      state = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];
  SERVICE_STATUS status{};

  if (command == L"install") {
    return Finish(qv::vorel::Install(argc > 2 ? argv[2] : DefaultServicePath()), nullptr);
  }
  if (command == L"remove") return Finish(qv::vorel::Remove(), nullptr);
  if (command == L"start") return Finish(qv::vorel::Start(), nullptr);
  if (command == L"query") {
    const DWORD error = qv::vorel::Query(status);
    return Finish(error, error == ERROR_SUCCESS ? &status : nullptr);
  }

  DWORD control = 0;
  if (command == L"stop") {
    control = SERVICE_CONTROL_STOP;
  } else if (command == L"pause") {
    control = SERVICE_CONTROL_PAUSE;
  } else if (command == L"continue") {
    control = SERVICE_CONTROL_CONTINUE;
  } else if (command == L"interrogate") {
    control = SERVICE_CONTROL_INTERROGATE;
  } else if (command == L"control" && argc > 2) {
    control = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 0));
  } else if (command == L"wait" && argc > 2) {
    DWORD state = 0;
    if (!StateFromName(argv[2], state)) return Usage();
    const DWORD timeout = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 0)) : 30000;
    const DWORD error = qv::vorel::WaitForState(state, timeout, status);
    return Finish(error, &status);
  } else {
    return Usage();
  }
  const DWORD error = qv::vorel::Control(control, status);
  return Finish(error, error == ERROR_SUCCESS ? &status : nullptr);
}
