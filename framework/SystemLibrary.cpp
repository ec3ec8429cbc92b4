#include "framework/SystemLibrary.h"

#include <string>

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

}  // namespace qv
