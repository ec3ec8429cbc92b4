#include "settings/FileStore.h"

#include "settings/Archive.h"
#include "settings/ReadFailureReporter.h"

IFileReader::~IFileReader() = default;
IFileStore::~IFileStore() = default;

std::string BackupPathOf(const std::string& path) {
  // "." is never the trail byte of a double-byte character, so a byte search is safe.
  return path.substr(0, path.rfind('.')) + ".bak";
}

bool IsBackupPath(const std::string& path) {
  static const char kExtension[] = ".bak";
  constexpr std::size_t kLength = sizeof(kExtension) - 1;
  if (path.size() < kLength) return false;
  for (std::size_t i = 0; i < kLength; ++i) {
    char c = path[path.size() - kLength + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kExtension[i]) return false;
  }
  return true;
}

int LoadSettingsFile(const std::string& path, IFileStore& files, IReadFailureReporter& reporter,
                     const std::function<void()>& beforeOpen,
                     const std::function<bool(CArchiveReader&)>& readFields) {
  if (path.empty()) return 0;
  if (beforeOpen) beforeOpen();
  bool complete = false;
  {
    std::unique_ptr<IFileReader> file = files.OpenForReading(path);
    if (!file) return 0;
    CArchiveReader ar(*file);
    complete = readFields(ar);
  }
  if (complete || IsBackupPath(path)) return 1;
  reporter.ReportReadFailure(kReadFailureText, kReadFailureCaption);
  LoadSettingsFile(BackupPathOf(path), files, reporter, beforeOpen, readFields);
  return 1;
}
