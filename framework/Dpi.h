// The DPI a window is drawn at, and what the program makes for it: the 96-DPI sizes scaled,
// the small icon's size, the default GUI font. Systems before Windows 10 have one DPI for every
// window: the functions that tell a window's own are looked up at run time.
#pragma once

#include <windows.h>

#include "framework/DpiScale.h"
#include "framework/UserHandles.h"

namespace qv {

// The window's DPI (GetDpiForWindow), else the LOGPIXELSY of its device context; the screen's
// for a null window.
UINT WindowDpi(HWND window);

// The 96-DPI value at this window's DPI.
inline int ScaleToWindow(HWND window, int value) {
  return dpi::Scale(value, static_cast<int>(WindowDpi(window)));
}

// The small icon's width (SM_CXSMICON) at a DPI.
int SmallIconSize(UINT dpi);

// The default GUI font at a DPI: the stock one is made for the system's DPI only.
UniqueFont CreateGuiFont(UINT dpi);

}  // namespace qv
