// The settings files on a POSIX file system (the native build of the portable core).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "settings/FileStore.h"
#include "settings/posix/PlainFile.h"

namespace {

class FdReader final : public IFileReader {
 public:
  explicit FdReader(int fd) : fd_(fd) {}
  ~FdReader() override { ::close(fd_); }
  FdReader(const FdReader&) = delete;
  FdReader& operator=(const FdReader&) = delete;

  std::size_t Read(void* buffer, std::size_t size) override {
    for (;;) {
      const ssize_t n = ::read(fd_, buffer, size);
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno != EINTR) return 0;
    }
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The backup is secondary: a failure to make it does not stop the save.
void KeepAsBackup(const std::string& path, const std::string& backupPath) {
  ::unlink(backupPath.c_str());
  if (::link(path.c_str(), backupPath.c_str()) == 0) return;
  const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return;
  const int out = ::open(backupPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out >= 0) {
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(in, buffer, sizeof(buffer))) > 0) {
      if (!WriteAll(out, buffer, static_cast<std::size_t>(n))) break;
    }
    ::close(out);
  }
  ::close(in);
}

class PosixFileStore final : public IFileStore {
 public:
  std::unique_ptr<IFileReader> OpenForReading(const std::string& path) override {
    const int fd = OpenPlainFile(path, O_RDONLY);
    if (fd < 0) return nullptr;
    return std::make_unique<FdReader>(fd);
  }

  bool Replace(const std::string& path, const std::string& bytes,
               const std::string& backupPath) override {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool written = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    written = (::close(fd) == 0) && written;
    if (!written) {
      ::unlink(temp.c_str());
      return false;
    }
    struct stat existing {};
    if (!backupPath.empty() && ::stat(path.c_str(), &existing) == 0) {
      KeepAsBackup(path, backupPath);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
      ::unlink(temp.c_str());
      return false;
    }
    const int dir = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
    return true;
  }
};

}  // namespace

IFileStore& SystemFileStore() {
  static PosixFileStore store;
  return store;
}
