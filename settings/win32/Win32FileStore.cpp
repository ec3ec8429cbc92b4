// The settings files on Windows: paths in code page 932 go to the wide APIs.
#include <windows.h>

#include <string>

#include "framework/Cp932.h"
#include "framework/Handles.h"
#include "settings/FileStore.h"
#include "settings/win32/PlainFile.h"

namespace {

class HandleReader final : public IFileReader {
 public:
  explicit HandleReader(qv::UniqueFile file) : file_(std::move(file)) {}

  std::size_t Read(void* buffer, std::size_t size) override {
    DWORD read = 0;
    const DWORD wanted = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
    if (!::ReadFile(file_.Get(), buffer, wanted, &read, nullptr)) return 0;
    return read;
  }

 private:
  qv::UniqueFile file_;
};

std::wstring DirectoryOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return L".";
  return path.substr(0, separator + 1);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    left -= written;
  }
  return true;
}

class Win32FileStore final : public IFileStore {
 public:
  std::unique_ptr<IFileReader> OpenForReading(const std::string& path) override {
    // Delete sharing lets the window program put a new file in place while this one is read.
    qv::UniqueFile file =
        OpenPlainFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING);
    if (!file) return nullptr;
    return std::make_unique<HandleReader>(std::move(file));
  }

  bool Replace(const std::string& path, const std::string& bytes,
               const std::string& backupPath) override {
    const std::wstring target = qv::Cp932ToWide(path);
    wchar_t temp[MAX_PATH];
    if (!::GetTempFileNameW(DirectoryOf(target).c_str(), L"qvl", 0, temp)) return false;
    bool written = false;
    {
      qv::UniqueFile file(::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
      written = file && WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get());
    }
    const bool exists = ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (written && exists && !backupPath.empty()) {
      // The backup is secondary: a failure to make it does not stop the save.
      ::CopyFileW(target.c_str(), qv::Cp932ToWide(backupPath).c_str(), FALSE);
    }
    // A rename cannot replace a file that is open, even for a reader that shares delete;
    // ReplaceFileW can, and the reader goes on reading the old data. The old file is moved to a
    // name of ours and deleted (it goes when its last reader lets go).
    const std::wstring previous = std::wstring(temp) + L".old";
    const bool replaced =
        written && (exists ? ::ReplaceFileW(target.c_str(), temp, previous.c_str(),
                                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                           : ::MoveFileExW(temp, target.c_str(),
                                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    if (replaced) {
      ::DeleteFileW(previous.c_str());
      return true;
    }
    // A replace that stopped halfway leaves the old file under our name: it goes back.
    ::MoveFileExW(previous.c_str(), target.c_str(), 0);
    ::DeleteFileW(temp);
    return false;
  }
};

}  // namespace

IFileStore& SystemFileStore() {
  static Win32FileStore store;
  return store;
}
