#include "settings/FileStore.h"

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
