#include "framework/Dpi.h"

#include "framework/SystemLibrary.h"

namespace qv {

namespace {

const UniqueModule& User32() {
  static const UniqueModule user32 = LoadSystemLibrary(L"user32.dll");
  return user32;
}

UINT DeviceDpi(HWND window) {
  HDC dc = ::GetDC(window);
  if (dc == nullptr) return dpi::kDefaultDpi;
  const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::ReleaseDC(window, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : dpi::kDefaultDpi;
}

}  // namespace

UINT WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow =
      GetEntry<GetDpiForWindowFunction>(User32(), "GetDpiForWindow");
  if (window != nullptr && getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return dpi;
  }
  return DeviceDpi(window);
}

int SmallIconSize(UINT dpi) {
  using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
  static const auto getSystemMetricsForDpi =
      GetEntry<GetSystemMetricsForDpiFunction>(User32(), "GetSystemMetricsForDpi");
  const int size = getSystemMetricsForDpi != nullptr ? getSystemMetricsForDpi(SM_CXSMICON, dpi)
                                                     : ::GetSystemMetrics(SM_CXSMICON);
  return size > 0 ? size : dpi::Scale(16, static_cast<int>(dpi));
}

UniqueFont CreateGuiFont(UINT dpi) {
  LOGFONTW font{};
  if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font) == 0)
    return UniqueFont();
  font.lfHeight =
      ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(DeviceDpi(nullptr)));
  return UniqueFont(::CreateFontIndirectW(&font));
}

}  // namespace qv
