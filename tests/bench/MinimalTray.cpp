// The least a tray-resident program can be, which the idle benchmark measures QuorvelW against.
#include <windows.h>

#include <shellapi.h>

namespace {

constexpr UINT kTrayMessage = WM_APP + 100;

NOTIFYICONDATAW Icon(HWND hwnd) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(data.szTip, L"Minimal", 128);
  return data;
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    NOTIFYICONDATAW data = Icon(hwnd);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"QuorvelMinimalTray";
  if (!::RegisterClassW(&wc)) return 1;
  const HWND hwnd = ::CreateWindowW(wc.lpszClassName, L"Minimal", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                    100, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) return 1;
  NOTIFYICONDATAW data = Icon(hwnd);
  ::Shell_NotifyIconW(NIM_ADD, &data);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
