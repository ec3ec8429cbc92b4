// Posts one message to the running QuorvelW's main window, as another program would, for
// scripts that drive it (the screenshots):
//   QuorvelPost.exe command ID      WM_COMMAND with the command
//   QuorvelPost.exe tray MESSAGE    the tray icon's notification with the mouse message
// Waits up to 20 s for the window to have entered its mode; exit code 1 when it does not.
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const std::wstring kind = argv[1];
  const auto value = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10));
  for (int i = 0; i < 200; ++i) {
    const HWND window = ::FindWindowW(L"QuorvelClass", nullptr);
    wchar_t title[128] = {};
    if (window != nullptr && ::GetWindowTextW(window, title, 128) > 0 &&
        std::wcsstr(title, L"Mode") != nullptr) {
      if (kind == L"tray") return ::PostMessageW(window, WM_APP + 100, 1, value) ? 0 : 1;
      return ::PostMessageW(window, WM_COMMAND, value, 0) ? 0 : 1;
    }
    ::Sleep(100);
  }
  return 1;
}
