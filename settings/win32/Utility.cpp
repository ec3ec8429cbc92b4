#include <windows.h>

#include <lmcons.h>

#include <atomic>
#include <string>
#include <vector>

#include "framework/Cp932.h"
#include "framework/SystemLibrary.h"
#include "settings/DrawingByDLL.h"
#include "settings/Utility.h"

std::string GetApplicationPath() {
  const std::wstring full = qv::RunningProgramPath();
  const std::size_t separator = full.rfind(L'\\');
  if (separator == std::wstring::npos) return {};
  return qv::WideToCp932(full.substr(0, separator));
}

std::string GetWindowsUser() {
  wchar_t name[UNLEN + 1];
  DWORD size = UNLEN + 1;
  if (!::GetUserNameW(name, &size) || size == 0) return "defaultuser";
  return qv::WideToCp932(std::wstring(name, size - 1));  // size counts the terminating zero
}

unsigned int GetMemoryLoad() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (!::GlobalMemoryStatusEx(&status)) return 0;
  return status.dwMemoryLoad;
}

namespace {

std::atomic<const wchar_t*> g_imageLibrary{nullptr};

// Loads the library for this one call and unloads it again; nothing is cached.
template <typename Function, typename... Args>
BOOL CallImageEntry(const char* entry, Args... args) {
  const wchar_t* library = g_imageLibrary.load();
  qv::UniqueModule module = qv::LoadSystemLibrary(library ? library : L"msimg32.dll");
  const auto function = qv::GetEntry<Function>(module, entry);
  return function ? function(args...) : FALSE;
}

}  // namespace

void SetImageLibraryForTesting(const wchar_t* fileName) {
  g_imageLibrary.store(fileName);
}

BOOL GradientFillByDLL(HDC hdc, PTRIVERTEX vertices, ULONG vertexCount, PVOID mesh, ULONG meshCount,
                       ULONG mode) {
  using Function = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
  return CallImageEntry<Function>("GradientFill", hdc, vertices, vertexCount, mesh, meshCount,
                                  mode);
}

BOOL TransparentBltByDLL(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc,
                         int xSrc, int ySrc, int wSrc, int hSrc, UINT transparent) {
  using Function = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
  return CallImageEntry<Function>("TransparentBlt", hdcDest, xDest, yDest, wDest, hDest, hdcSrc,
                                  xSrc, ySrc, wSrc, hSrc, transparent);
}

BOOL AlphaBlendByDLL(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
                     int ySrc, int wSrc, int hSrc, BLENDFUNCTION blend) {
  using Function = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
  return CallImageEntry<Function>("AlphaBlend", hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc,
                                  ySrc, wSrc, hSrc, blend);
}
