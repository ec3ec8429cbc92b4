// The service loop with the real cleaning engine behind it: what the passes are told, what they
// write to the service log, and what is left alone after a pass has been ended by force.
#include <gtest/gtest.h>

#include "core/service/FakeServiceWorld.h"
#include "engine/MemClean.h"
#include "service/MemCleanEngine.h"
#include "support/FakeEngineSystem.h"

namespace {

constexpr char kLogPath[] = "C:\\Quorvel\\SVC\\vorel.log";
constexpr char kPassStart[] = "--- 実行条件判断によるオペレーション開始 ";
constexpr char kPassEnd[] = "--- オペレーション終了 ";

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

void WriteSettings(qvtest::FakeServiceWorld& world, std::int32_t mode, std::int32_t memoryLoad) {
  CAppSetting settings;
  auto condition = std::make_unique<COperationTime>();
  condition->m_nExecMode = mode;
  condition->m_nMemoryLoad = memoryLoad;
  condition->m_nOperation = 7;  // no operation: start line, memory state, end line
  settings.m_aOperationTime.push_back(std::move(condition));
  settings.m_nInterval = 0;
  world.WriteFile(settings);
}

TEST(ServiceEngineTest, ServicePassesFollowTheStartFlagAndTheSettingsReadLast) {
  qvtest::FakeEngineSystem engineSystem;
  CMemClean clean(CEnginePlatform{&engineSystem, nullptr, nullptr, nullptr});
  CMemCleanServiceEngine engine(clean);
  qvtest::FakeServiceWorld world;
  CVorelService service(world);

  WriteSettings(world, COperationTime::kAtStart, COperationTime::kUnused);
  world.Start(service, 1, &engine);
  EXPECT_EQ(1, clean.m_bServiceMode);
  EXPECT_EQ(1, CountOf(engineSystem.files[kLogPath], kPassStart));
  EXPECT_EQ(1, CountOf(engineSystem.files[kLogPath], kPassEnd));

  world.RunFor(60);
  EXPECT_EQ(0, clean.m_bStartup);
  EXPECT_EQ(1, CountOf(engineSystem.files[kLogPath], kPassStart)) << "the start has passed";

  WriteSettings(world, COperationTime::kMemoryLoad, 0);
  world.Control(service, kControlInterrogate);
  world.RunFor(60);
  EXPECT_EQ(2, CountOf(engineSystem.files[kLogPath], kPassStart));
  EXPECT_EQ(0, clean.m_bRunning);

  world.Control(service, kControlStop);
  EXPECT_EQ(CServiceEnd::kStopped, world.Join());
}

// A pass thread that never ends by itself.
class HangingThread final : public IPassThread {
 public:
  HangingThread(bool& terminated, bool& destroyed)
      : m_terminated(terminated), m_destroyed(destroyed) {}
  ~HangingThread() override { m_destroyed = true; }
  bool Wait(std::uint32_t) override { return m_terminated; }
  void Terminate() override { m_terminated = true; }

 private:
  bool& m_terminated;
  bool& m_destroyed;
};

class HangingThreadSystem final : public qvtest::FakeEngineSystem {
 public:
  bool terminated = false;
  bool destroyed = false;
  IPassThread* thread = nullptr;
  std::unique_ptr<IPassThread> StartThread(std::function<void()>) override {
    auto started = std::make_unique<HangingThread>(terminated, destroyed);
    thread = started.get();
    return started;
  }
};

TEST(ServiceEngineTest, APassEndedByForceKeepsWhatItsThreadHeld) {
  HangingThreadSystem engineSystem;
  CMemClean clean(CEnginePlatform{&engineSystem, nullptr, nullptr, nullptr});
  CMemCleanServiceEngine engine(clean);
  engine.StartPass(CAppSetting(), true);
  EXPECT_TRUE(engine.IsRunning());
  EXPECT_FALSE(engine.WaitForPass(10));

  engine.EndPassByForce();
  EXPECT_TRUE(engineSystem.terminated);
  EXPECT_FALSE(engineSystem.destroyed) << "freeing the thread object may need the heap";
  EXPECT_EQ(nullptr, clean.m_pThread);
  delete engineSystem.thread;
}

}  // namespace
