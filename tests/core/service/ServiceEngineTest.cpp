// The service's engine interface on the real cleaning engine: what is left alone after a pass has
// been ended by force. (What the passes are told and write is seen under the service control
// manager, in the service test of the Windows program.)
#include <gtest/gtest.h>

#include "engine/MemClean.h"
#include "service/MemCleanEngine.h"
#include "support/FakeEngineSystem.h"

namespace {

// An engine system whose pass thread never ends by itself and tells whether it was ended and
// whether it was freed.
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
