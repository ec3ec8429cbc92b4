// The least a tray-resident program can be, which the idle benchmark measures QuorvelW against:
// one hidden window with the system's own procedure and one tray icon, until its process is ended.
#include <windows.h>

#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"QuorvelMinimalTray";
  if (!::RegisterClassW(&wc)) return 1;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = ::CreateWindowW(wc.lpszClassName, L"Minimal", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, instance, nullptr);
  if (data.hWnd == nullptr) return 1;
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_APP + 100;
  data.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(data.szTip, L"Minimal", 128);
  ::Shell_NotifyIconW(NIM_ADD, &data);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
