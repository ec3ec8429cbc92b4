// The service routine and its handler over fake time, its reload, and its engine after a force.
#include <gmock/gmock.h>

#include <optional>

#include "core/service/FakeServiceWorld.h"
#include "engine/MemClean.h"
#include "service/MemCleanEngine.h"
#include "service/ServiceRoutine.h"
#include "service/ServiceSettings.h"
#include "support/FakePlatform.h"
#include "support/SettingsFiles.h"

namespace {

using qvtest::FakeServiceWorld;
using ::testing::_;
using ::testing::ElementsAre;
using ::testing::FieldsAre;

constexpr QvTime kMinute = 60;
using qvtest::kStart;

class ServiceRoutineTest : public ::testing::Test {
 protected:
  // Every test starts the service.
  void TearDown() override {
    if (!world.Seen().end) world.Control(service, kControlStop);
    world.Join();  // before the service goes: the stop may still wait for a pass
  }

  std::uint32_t LastReportedState() {
    const auto reports = world.Seen().reports;
    return reports.empty() ? 0 : reports.back().status.dwCurrentState;
  }

  FakeServiceWorld world;
  CVorelService service{world};
};

// An interrogate or an unknown control wakes nothing and is answered with one report.
TEST_F(ServiceRoutineTest, StartReportsRunningAndOtherControlsAreAnsweredWithOneReport) {
  world.Start(service, 1);
  EXPECT_THAT(world.Seen().reports.at(0).status,
              FieldsAre(0x10u, kServiceRunning, 3u, 0u, 0u, 0u, 0u));
  for (const std::uint32_t state : {kServiceRunning, kServicePaused}) {
    if (state == kServicePaused) world.Control(service, kControlPause);
    for (const std::uint32_t control : {kControlInterrogate, 0u, 200u}) {
      const std::size_t before = world.Seen().reports.size();
      world.Control(service, control);
      ASSERT_EQ(before + 1, world.Seen().reports.size()) << "control " << control;
      EXPECT_EQ(state, LastReportedState()) << "control " << control;
    }
  }
  const auto seen = world.Seen();
  EXPECT_EQ(1u, seen.passes.size()) << "the loop is not woken";
  EXPECT_EQ(1, seen.reloads) << "the first turn reads the settings file, and only it";
  EXPECT_THAT(seen.lines,
              ElementsAre("Vorelサービスが開始しました。\n", "サービスを一時停止します。\n"));
}

TEST_F(ServiceRoutineTest, EventsThatCannotBeCreatedEndTheServiceWithAnError) {
  world.failEvent = 1;
  world.Start(service);
  EXPECT_EQ(CServiceEnd::kEventsFailed, world.Join());
  const auto seen = world.Seen();
  ASSERT_EQ(1u, seen.reports.size());
  EXPECT_THAT(seen.reports[0].status, FieldsAre(_, kServiceStopped, _, 8u, _, _, _));
  EXPECT_TRUE(seen.passes.empty() && seen.lines.empty());

  // A control that still comes in is answered and does not wait for a loop that is gone.
  for (const std::uint32_t control : {kControlStop, kControlPause}) {
    service.ServiceCtrlHandler(control);
    EXPECT_EQ(kServiceStopped, LastReportedState());
  }
}

// No delay still means more than a second; the first pass is the start-up one even if refused.
TEST(ServiceTurnTest, TheStartDelayHoldsPassesBackAndOnlyTheFirstIsTheStartupPass) {
  struct Case {
    std::int32_t delayMinutes;
    QvTime secondsAgo, runMinutes;
    std::vector<QvTime> passMinutes;
  } const cases[] = {{0, 0, 1, {1}}, {0, 1, 0, {0}}, {5, 0, 5, {}}, {5, 0, 8, {6, 7, 8}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    FakeServiceWorld world;
    CVorelService service(world);
    world.WriteFile(c.delayMinutes, 1);
    world.Start(service, c.secondsAgo);
    world.RunFor(c.runMinutes * kMinute);
    const auto passes = world.Seen().passes;
    ASSERT_EQ(c.passMinutes.size(), passes.size());
    for (std::size_t i = 0; i < passes.size(); ++i) {
      EXPECT_EQ(c.passMinutes[i] * kMinute, passes[i].time - kStart);
      EXPECT_EQ(i == 0, passes[i].startup);
      EXPECT_EQ(1u, passes[i].conditions) << "the settings read from the file are handed over";
    }
    world.Control(service, kControlStop);
  }
}

TEST_F(ServiceRoutineTest, ABusyEngineSkipsTheTurnAndAnInterrogateIsServedAtTheFirstIdleTurn) {
  world.passSeconds = 150;
  world.Start(service, 1);
  world.RunFor(10);
  world.WriteFile(0, 3);
  world.Control(service, kControlInterrogate);
  world.RunFor(2 * kMinute - 10);
  EXPECT_EQ(1, world.Seen().reloads) << "the turns at one and two minutes find the engine busy";
  world.RunFor(kMinute);
  EXPECT_EQ(2, world.Seen().reloads);
  EXPECT_THAT(world.Seen().passes, ElementsAre(_, FieldsAre(kStart + 3 * kMinute, false, 3u)));
}

TEST_F(ServiceRoutineTest, AnInterrogateThatComesInDuringTheReadIsNotLost) {
  // The window program saves again while the service is still reading the previous file.
  world.onReload = [this] {
    world.WriteFile(0, 4);
    service.ServiceCtrlHandler(kControlInterrogate);
  };
  world.Start(service, 1);
  EXPECT_EQ(1u, world.Seen().passes.back().conditions);
  world.RunFor(kMinute);
  EXPECT_EQ(2, world.Seen().reloads);
  EXPECT_EQ(4u, world.Seen().passes.back().conditions);
}

// While paused the loop neither reads nor starts passes, and an interrogate waits for the continue.
TEST_F(ServiceRoutineTest, AContinueStartsTheNextTurnAtOnceAndAPausedServiceDoesNothing) {
  world.Start(service, 1);
  world.RunFor(20);
  world.Control(service, kControlContinue);
  EXPECT_EQ(20, world.Seen().passes.back().time - kStart);
  EXPECT_EQ("サービスを再開します。\n", world.Seen().lines.back());

  world.Control(service, kControlPause);
  world.Control(service, kControlInterrogate);
  world.RunFor(30 * kMinute);
  EXPECT_EQ(2u, world.Seen().passes.size());
  EXPECT_EQ(1, world.Seen().reloads);

  world.Control(service, kControlContinue);
  EXPECT_EQ(kServiceRunning, LastReportedState());
  world.RunFor(kMinute);
  const auto seen = world.Seen();
  EXPECT_THAT(seen.passes, ElementsAre(_, _, FieldsAre(kStart + 20 + 30 * kMinute, false, 1u),
                                       FieldsAre(kStart + 20 + 31 * kMinute, false, 1u)));
  EXPECT_EQ(2, seen.reloads) << "the interrogate sent while paused is served now";
}

// After a pass that outlives the grace the forced end reports only the stopped state, then ends.
TEST(ServiceStopTest, AStopIsAnsweredAtOnceAndTheStopReportsRisingCheckPointsUntilStopped) {
  for (const auto& [passSeconds, pausedFirst] :
       {std::pair<QvTime, bool>{0, true}, {45, false}, {24 * 60 * kMinute, false}}) {
    SCOPED_TRACE(passSeconds);
    const bool forced = passSeconds > kStopGraceSeconds;
    FakeServiceWorld world;
    CVorelService service(world);
    world.passSeconds = passSeconds;
    world.Start(service, 1);
    world.RunFor(5);
    if (pausedFirst) world.Control(service, kControlPause);
    const std::size_t stop = world.Seen().reports.size();
    world.Control(service, kControlStop);
    if (!world.Seen().end) {
      EXPECT_EQ(kServiceStopPending, service.CurrentState());
      // Neither may wait for the loop or change the state while it stops.
      world.Control(service, kControlInterrogate);
      world.Control(service, kControlPause);
    }
    EXPECT_EQ(forced ? std::nullopt : std::optional(CServiceEnd::kStopped), world.Join());

    const auto seen = world.Seen();
    const auto& r = seen.reports;
    ASSERT_LT(stop + 1, r.size());
    EXPECT_EQ(5, r[stop].time - kStart);
    for (std::size_t i = stop; i + 1 < r.size(); ++i) {
      EXPECT_EQ(kServiceStopPending, r[i].status.dwCurrentState) << i;
      EXPECT_EQ(kStopWaitHintMilliseconds, r[i].status.dwWaitHint) << i;
      const bool later = i == stop || r[i].time > r[i - 1].time;
      const std::uint32_t previous = i == stop ? 0 : r[i - 1].status.dwCheckPoint;
      EXPECT_EQ(previous + (later ? 1 : 0), r[i].status.dwCheckPoint) << i;
      EXPECT_LE(r[i].time - r[i - 1].time, kStopWaitHintMilliseconds / 1000) << i;
    }
    EXPECT_THAT(r.back().status, FieldsAre(_, kServiceStopped, _, 0u, _, 0u, _));
    std::vector<std::string> lines{kStartedLine, kStopLine, kStoppedLine};
    if (pausedFirst) lines.insert(lines.begin() + 1, kPauseLine);
    EXPECT_EQ(lines, seen.lines);
    ASSERT_EQ(forced, seen.forcedAt.has_value());
    if (!forced) {
      EXPECT_EQ(std::max<QvTime>(5, passSeconds), r.back().time - kStart);
      continue;
    }
    EXPECT_GT(*seen.forcedAt - kStart - 5, kStopGraceSeconds);
    EXPECT_LE(*seen.forcedAt - kStart - 5, kStopGraceSeconds + kStopPollMilliseconds / 1000);
    EXPECT_THAT(seen.afterForce, ElementsAre("report 1", "end process"));
  }
}

// A failure must not leave a pass running on an engine that is about to go.
TEST_F(ServiceRoutineTest, AFailingLoopWaitsForTheRunningPassAndReportsTheFailure) {
  world.passSeconds = 45;
  world.throwFromPass = true;
  world.Start(service, 1);
  EXPECT_FALSE(world.Seen().end) << "the pass still runs";
  EXPECT_EQ(CServiceEnd::kLoopFailed, world.Join());
  const auto seen = world.Seen();
  EXPECT_EQ(kCannotContinueLine, seen.lines.at(1));
  EXPECT_THAT(seen.reports.back().status,
              FieldsAre(_, kServiceStopped, _, kExceptionInService, _, _, _));
  EXPECT_EQ(45, seen.reports.back().time - kStart) << "not before the pass has ended";
}

constexpr char kPath[] = "C:\\Quorvel\\SVC\\qvlset.def";
constexpr char kBackup[] = "C:\\Quorvel\\SVC\\qvlset.bak";
constexpr char kCutLine[] = "エラー: 読み込みに失敗しました\r\nバックアップからの回復を図ります\n";

// A version-5 file of empty conditions, the timer delay among the default options.
std::string SettingsBytes(std::int32_t conditions, std::int32_t timerDelay) {
  std::string bytes = qvtest::Int32Bytes({5, conditions});
  for (std::int32_t i = 0; i < conditions; ++i)
    bytes += qvtest::Int32Bytes({1, 0, 0, 0, 0, 0, 0, 0});
  return bytes + qvtest::Int32Bytes({50, 1024, timerDelay, 5});
}

TEST(ServiceSettingsTest, AReloadTakesOverWhatAnOpenedFileGaveAndKeepsTheSettingsOtherwise) {
  // The settings in force before the reload: one condition, a delay of 9 minutes.
  struct Case {
    const char* what;
    std::optional<std::string> file, backup;
    std::size_t conditions;
    std::int32_t timerDelay;
    const char* line;
  } const cases[] = {
      {"no file (or one locked for a moment)", std::nullopt, SettingsBytes(2, 4), 1, 9,
       kSettingsKeptLine},
      {"a whole file", SettingsBytes(3, 7), std::nullopt, 3, 7, nullptr},
      {"a cut file, its backup read instead", SettingsBytes(3, 7).substr(0, 40),
       SettingsBytes(2, 4), 2, 4, kCutLine},
      // Without a backup the conditions go; options read before the cut are taken.
      {"cut after the delay, no backup", SettingsBytes(0, 7).substr(0, 20), std::nullopt, 0, 7,
       kCutLine},
      {"cut before the delay, no backup", SettingsBytes(0, 7).substr(0, 12), std::nullopt, 0, 9,
       kCutLine},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    qvtest::FakeServiceWorld world;
    qvtest::MemoryFileStore store;
    if (c.file) store.files[kPath] = *c.file;
    if (c.backup) store.files[kBackup] = *c.backup;
    CAppSetting settings;
    settings.m_nTimerDelay = 9;
    settings.m_aOperationTime.push_back(std::make_unique<COperationTime>());

    ReloadServiceSettings(settings, kPath, store, world);
    EXPECT_EQ(c.conditions, settings.m_aOperationTime.size());
    EXPECT_EQ(c.timerDelay, settings.m_nTimerDelay);
    EXPECT_EQ(c.line ? std::vector<std::string>{c.line} : std::vector<std::string>{},
              world.Seen().lines);
  }
}

// A pass thread that never ends by itself and tells whether it was ended and freed.
struct HangingPassSystem final : qvtest::FakePlatform {
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
  bool terminated = false, freed = false;
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
