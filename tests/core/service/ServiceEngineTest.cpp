// The service's engine interface on the real engine, after a pass has been ended by force.
#include <gtest/gtest.h>

#include "engine/MemClean.h"
#include "service/MemCleanEngine.h"
#include "support/FakeEngineSystem.h"

namespace {

// A pass thread that never ends by itself and tells whether it was ended and freed.
struct HangingPassSystem final : qvtest::FakeEngineSystem {
  struct Thread final : IPassThread {
    explicit Thread(HangingPassSystem& owner) : system(owner) {}
    ~Thread() override { system.freed = true; }
    bool Wait(std::uint32_t) override { return system.terminated; }
    void Terminate() override { system.terminated = true; }
    HangingPassSystem& system;
  };
  std::unique_ptr<IPassThread> StartThread(std::function<void()>) override {
    auto started = std::make_unique<Thread>(*this);
    thread = started.get();
    return started;
  }
  bool terminated = false;
  bool freed = false;
  IPassThread* thread = nullptr;
};

TEST(ServiceEngineTest, APassEndedByForceKeepsWhatItsThreadHeld) {
  HangingPassSystem engineSystem;
  CMemClean clean(CEnginePlatform{&engineSystem, nullptr, nullptr, nullptr});
  CMemCleanServiceEngine engine(clean);
  engine.StartPass(CAppSetting(), true);
  EXPECT_TRUE(engine.IsRunning());
  EXPECT_FALSE(engine.WaitForPass(10));

  engine.EndPassByForce();
  EXPECT_TRUE(engineSystem.terminated);
  EXPECT_FALSE(engineSystem.freed) << "freeing the thread object may need the heap";
  EXPECT_FALSE(engine.IsRunning());
  delete engineSystem.thread;
}

}  // namespace
