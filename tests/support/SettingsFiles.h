// Settings-file helpers: byte images, an in-memory file store and a recording reporter.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "settings/FileStore.h"
#include "settings/ReadFailureReporter.h"

namespace qvtest {

// Little-endian 32-bit integers, as the settings files hold them.
inline std::string Int32Bytes(std::initializer_list<std::int32_t> values) {
  std::string bytes;
  for (std::int32_t value : values) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>(bits >> shift));
  }
  return bytes;
}

struct MemoryFileStore final : IFileStore {
  std::map<std::string, std::string> files;
  bool failReplace = false;

  struct Reader final : IFileReader {
    explicit Reader(const std::string& bytes) : in(bytes) {}
    std::size_t Read(void* buffer, std::size_t size) override {
      return in.read(static_cast<char*>(buffer), static_cast<std::streamsize>(size)).gcount();
    }
    std::istringstream in;
  };

  std::unique_ptr<IFileReader> OpenForReading(const std::string& path) override {
    auto it = files.find(path);
    return it == files.end() ? nullptr : std::make_unique<Reader>(it->second);
  }

  bool Replace(const std::string& path, const std::string& bytes,
               const std::string& backupPath) override {
    if (failReplace) return false;
    if (files.count(path)) files[backupPath] = files[path];
    files[path] = bytes;
    return true;
  }
};

// Each report as its text, a line break and its caption.
struct RecordingReporter final : IReadFailureReporter {
  std::vector<std::string> texts;
  void ReportReadFailure(const std::string& text, const std::string& caption) override {
    texts.push_back(text + "\n" + caption);
  }
};

}  // namespace qvtest
