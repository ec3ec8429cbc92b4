// The engine's seam in the native build: the clock, sleeping, threads and the log file are
// real; there is no window program, no service log directory and no memory status to read.
#include <sys/file.h>

#include <cerrno>
#include <ctime>
#include <thread>

#include "engine/EngineSystem.h"
#include "engine/StdPassThread.h"
#include "settings/FileStore.h"
#include "settings/posix/PlainFile.h"

namespace {

// Held under an exclusive lock, which other writers of the log honour.
class PosixExclusiveFile final : public IExclusiveFile {
 public:
  explicit PosixExclusiveFile(int fd) : m_fd(fd) {}
  ~PosixExclusiveFile() override { ::close(m_fd); }
  PosixExclusiveFile(const PosixExclusiveFile&) = delete;
  PosixExclusiveFile& operator=(const PosixExclusiveFile&) = delete;

  bool Size(std::uint64_t& size) override {
    struct stat status {};
    if (::fstat(m_fd, &status) != 0) return false;
    size = static_cast<std::uint64_t>(status.st_size);
    return true;
  }
  bool ReadAt(std::uint64_t offset, std::size_t length, std::string& bytes) override {
    bytes.resize(length);
    for (std::size_t done = 0; done < length;) {
      const ssize_t n =
          ::pread(m_fd, &bytes[done], length - done, static_cast<off_t>(offset + done));
      if (n == 0 || (n < 0 && errno != EINTR)) return false;
      if (n > 0) done += static_cast<std::size_t>(n);
    }
    return true;
  }
  bool WriteAt(std::uint64_t offset, const std::string& bytes) override {
    for (std::size_t done = 0; done < bytes.size();) {
      const ssize_t n = ::pwrite(m_fd, bytes.data() + done, bytes.size() - done,
                                 static_cast<off_t>(offset + done));
      if (n == 0 || (n < 0 && errno != EINTR)) return false;
      if (n > 0) done += static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  int m_fd;
};

class PosixEngineSystem final : public IEngineSystem {
 public:
  QvTime Now() override { return static_cast<QvTime>(std::time(nullptr)); }

  CLocalTime LocalTime(QvTime time) override {
    const std::time_t value = static_cast<std::time_t>(time);
    std::tm local{};
    if (!localtime_r(&value, &local)) return CLocalTime();
    return LocalTimeOf(local);
  }

  void Sleep(std::uint32_t milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  CMemoryStatus MemoryStatus() override { return {}; }
  void PostNotify() override {}
  void SendNotify() override {}
  void TrimOwnWorkingSet() override {}
  std::unique_ptr<IPassThread> StartThread(std::function<void()> body) override {
    return std::make_unique<CStdPassThread>(std::move(body));
  }
  std::string ApplicationPath() override { return "."; }
  bool Exists(const std::string&) override { return false; }
  void MakeDirectory(const std::string&) override {}

  std::unique_ptr<IExclusiveFile> OpenExclusive(const std::string& path) override {
    const int fd = OpenPlainFile(path, O_RDWR | O_CREAT, 0644);
    if (fd < 0) return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixExclusiveFile>(fd);
  }

  bool ReplaceFile(const std::string& path, const std::string& bytes) override {
    return SystemFileStore().Replace(path, bytes, std::string());
  }
};

}  // namespace

CEnginePlatform SystemEnginePlatform() {
  static PosixEngineSystem system;
  return CEnginePlatform{&system, nullptr, nullptr, nullptr};
}

void SetEngineNotifyWindow(void*) {}
