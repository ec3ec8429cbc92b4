// A directory of its own for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace qvtest {

class TempDir {
 public:
  TempDir() { std::filesystem::create_directories(path_); }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;  // one owner removes the folder

  // A path inside the directory, with the separator of the platform, as the programs build it.
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }
  std::ptrdiff_t Count() const {
    return std::distance(std::filesystem::directory_iterator(path_), {});
  }

 private:
  const std::filesystem::path path_ = std::filesystem::temp_directory_path() /
                                      ("quorvel-test-" + std::to_string(std::random_device()()) +
                                       std::to_string(std::random_device()()));
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace qvtest
