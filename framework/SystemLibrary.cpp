#include "framework/SystemLibrary.h"

#include <string>
#include <vector>

namespace qv {

UniqueModule LoadSystemLibrary(const wchar_t* fileName) {
  wchar_t directory[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return UniqueModule();
  std::wstring path(directory, length);
  path += L'\\';
  path += fileName;
  // A full path: the loader does not search; altered search path keeps the library's own
  // dependencies in the system directory too.
  return UniqueModule(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

std::wstring RunningProgramPath() {
  // Grows past MAX_PATH so that a long path is never cut.
  std::vector<wchar_t> name(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) return std::wstring(name.data(), length);
    name.resize(name.size() * 2);
  }
}

}  // namespace qv
