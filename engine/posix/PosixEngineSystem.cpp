// The engine's seam in the native build: the clock, sleeping and threads are real; there is no
// window program, no service log directory and no memory status to read.
#include <ctime>
#include <thread>

#include "engine/EngineSystem.h"
#include "engine/StdPassThread.h"

namespace {

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
  std::unique_ptr<IExclusiveFile> OpenExclusive(const std::string&) override { return nullptr; }
};

}  // namespace

CEnginePlatform SystemEnginePlatform() {
  static PosixEngineSystem system;
  return CEnginePlatform{&system, nullptr, nullptr, nullptr};
}

void SetEngineNotifyWindow(void*) {}
