// Opening a file that must be a plain file: no reparse point (a link, a junction) is followed,
// and a directory is not taken for a file. The service runs as LocalSystem, with rights that a
// link planted in its folder must not borrow.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Cp932.h"
#include "framework/Handles.h"

// Invalid when the path is a reparse point or a directory, or cannot be opened.
inline qv::UniqueFile OpenPlainFile(const std::string& path, DWORD access, DWORD share,
                                    DWORD disposition) {
  qv::UniqueFile file(::CreateFileW(qv::Cp932ToWide(path).c_str(), access, share, nullptr,
                                    disposition,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !::GetFileInformationByHandle(file.Get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return qv::UniqueFile();
  }
  return file;
}
