// Posts one message to the running QuorvelW's main window, as another program would, for
// scripts that drive it (the screenshots, the idle benchmark):
//   QuorvelPost.exe command ID      WM_COMMAND with the command
//   QuorvelPost.exe tray MESSAGE    the tray icon's notification with the mouse message
//   QuorvelPost.exe dropdown ID     a click on the drop-down arrow of the toolbar button
//   QuorvelPost.exe key VK          a key pressed and let go (Escape, 27, closes an open menu)
//   QuorvelPost.exe pointer X Y     the mouse pointer moved to a point of the screen
// Waits up to 20 s for the window to have entered its mode; exit code 1 when it does not.
#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <string>

namespace {

// The button's rectangle on the screen; a toolbar answers TB_GETRECT only with memory of its
// own process.
bool ButtonOnScreen(HWND toolbar, UINT id, RECT& rc) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(toolbar, &processId);
  const HANDLE process =
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return false;
  void* remote = ::VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  const bool got = remote != nullptr &&
                   ::SendMessageW(toolbar, TB_GETRECT, id, reinterpret_cast<LPARAM>(remote)) &&
                   ::ReadProcessMemory(process, remote, &rc, sizeof(rc), nullptr);
  if (remote != nullptr) ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  ::CloseHandle(process);
  if (got) ::MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  return got;
}

bool ClickDropDown(HWND window, UINT id) {
  const HWND toolbar =
      ::GetDlgItem(::FindWindowExW(window, nullptr, L"ReBarWindow32", nullptr), 0xE800);
  RECT rc{};
  if (toolbar == nullptr || !ButtonOnScreen(toolbar, id, rc)) return false;
  ::SetForegroundWindow(window);
  ::SetCursorPos(rc.right - 4, (rc.top + rc.bottom) / 2);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  return ::SendInput(2, clicks, sizeof(INPUT)) == 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"pointer") {
    return ::SetCursorPos(static_cast<int>(std::wcstol(argv[2], nullptr, 10)),
                          static_cast<int>(std::wcstol(argv[3], nullptr, 10)))
               ? 0
               : 1;
  }
  if (argc != 3) return 2;
  const std::wstring kind = argv[1];
  const auto value = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10));
  for (int i = 0; i < 200; ++i) {
    const HWND window = ::FindWindowW(L"QuorvelClass", nullptr);
    wchar_t title[128] = {};
    if (window != nullptr && ::GetWindowTextW(window, title, 128) > 0 &&
        std::wcsstr(title, L"Mode") != nullptr) {
      if (kind == L"tray") return ::PostMessageW(window, WM_APP + 100, 1, value) ? 0 : 1;
      if (kind == L"dropdown") return ClickDropDown(window, value) ? 0 : 1;
      if (kind == L"key") {
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = static_cast<WORD>(value);
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        return ::SendInput(2, keys, sizeof(INPUT)) == 2 ? 0 : 1;
      }
      return ::PostMessageW(window, WM_COMMAND, value, 0) ? 0 : 1;
    }
    ::Sleep(100);
  }
  return 1;
}
