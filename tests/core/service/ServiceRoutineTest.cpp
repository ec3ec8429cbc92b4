// The service routine and its control handler, driven through minutes and hours of fake time.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/service/FakeServiceWorld.h"
#include "service/ServiceRoutine.h"

namespace {

using qvtest::FakeServiceWorld;
using ::testing::ElementsAre;

constexpr QvTime kMinute = 60;

class ServiceRoutineTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (started && !world.LoopEnded()) world.Control(service, kControlStop);
    if (started) world.Join();
  }

  void Start(QvTime secondsAgo = 0) {
    started = true;
    world.Start(service, secondsAgo);
  }

  std::uint32_t LastReportedState() {
    const auto reports = world.Reports();
    return reports.empty() ? 0 : reports.back().status.dwCurrentState;
  }

  FakeServiceWorld world;
  CVorelService service{world};
  bool started = false;
};

// --- start, status reports and the handler ------------------------------------------------

TEST_F(ServiceRoutineTest, StartReportsRunningWithTheFixedStatusFields) {
  Start();
  const auto reports = world.Reports();
  ASSERT_EQ(1u, reports.size());
  const CServiceStatus& status = reports[0].status;
  EXPECT_EQ(0x10u, status.dwServiceType);
  EXPECT_EQ(kServiceRunning, status.dwCurrentState);
  EXPECT_EQ(3u, status.dwControlsAccepted);
  EXPECT_EQ(0u, status.dwWin32ExitCode);
  EXPECT_EQ(0u, status.dwServiceSpecificExitCode);
  EXPECT_EQ(0u, status.dwCheckPoint);
  EXPECT_EQ(0u, status.dwWaitHint);
  EXPECT_THAT(world.DebugLines(), ElementsAre("Vorelサービスが開始しました。\n"));
  EXPECT_EQ(1, world.Reloads()) << "the first turn reads the settings file";
}

TEST_F(ServiceRoutineTest, AnUnknownControlOnlyReportsTheCurrentStatus) {
  world.WriteFile(0, 1);
  Start(1);
  world.Control(service, 200);
  world.Control(service, 0);
  EXPECT_EQ(3u, world.Reports().size());
  EXPECT_EQ(kServiceRunning, LastReportedState());
  EXPECT_EQ(1u, world.DebugLines().size());
  EXPECT_EQ(1u, world.Passes().size()) << "the loop is not woken";
  EXPECT_EQ(1, world.Reloads());

  world.Control(service, kControlPause);
  world.Control(service, 129);
  EXPECT_EQ(kServicePaused, LastReportedState());
}

TEST_F(ServiceRoutineTest, EventsThatCannotBeCreatedEndTheServiceWithAnError) {
  world.FailEventCreation(1);
  Start();
  EXPECT_EQ(CServiceEnd::kEventsFailed, world.Join());
  const auto reports = world.Reports();
  ASSERT_EQ(1u, reports.size());
  EXPECT_EQ(kServiceStopped, reports[0].status.dwCurrentState);
  EXPECT_EQ(8u, reports[0].status.dwWin32ExitCode);
  EXPECT_TRUE(world.Passes().empty());
  EXPECT_TRUE(world.DebugLines().empty());

  // A control that still comes in is answered and does not wait for a loop that is gone.
  service.ServiceCtrlHandler(kControlStop);
  EXPECT_EQ(kServiceStopped, LastReportedState());
}

// --- turns, the start delay and the first-pass flag ----------------------------------------

TEST_F(ServiceRoutineTest, WithoutDelayTheFirstTurnStartsAPassOnlyAfterOneSecond) {
  world.WriteFile(0, 1);
  Start(0);
  EXPECT_TRUE(world.Passes().empty()) << "no time has passed since the start";
  world.RunFor(kMinute);
  const auto passes = world.Passes();
  ASSERT_EQ(1u, passes.size());
  EXPECT_EQ(kMinute, passes[0].time - FakeServiceWorld::kStart);
  EXPECT_TRUE(passes[0].startup);
}

TEST_F(ServiceRoutineTest, WithoutDelayAPassStartsAtTheFirstTurnOnceASecondHasPassed) {
  world.WriteFile(0, 1);
  Start(1);
  const auto passes = world.Passes();
  ASSERT_EQ(1u, passes.size());
  EXPECT_EQ(FakeServiceWorld::kStart, passes[0].time);
  EXPECT_TRUE(passes[0].startup);
  EXPECT_EQ(1u, passes[0].conditions) << "the settings read from the file are handed over";
}

TEST_F(ServiceRoutineTest, AStartDelayHoldsPassesBackAndOnlyTheFirstPassIsTheStartupPass) {
  world.WriteFile(5, 1);
  Start(0);
  world.RunFor(5 * kMinute);
  EXPECT_TRUE(world.Passes().empty()) << "five minutes are not more than the delay";
  world.RunFor(3 * kMinute);
  const auto passes = world.Passes();
  ASSERT_EQ(3u, passes.size());
  EXPECT_EQ(6 * kMinute, passes[0].time - FakeServiceWorld::kStart);
  EXPECT_TRUE(passes[0].startup);
  // The engine may have refused the first pass; the service does not ask and never sets the
  // flag again.
  EXPECT_FALSE(passes[1].startup);
  EXPECT_FALSE(passes[2].startup);
  EXPECT_EQ(8 * kMinute, passes[2].time - FakeServiceWorld::kStart);
}

TEST_F(ServiceRoutineTest, ABusyEngineSkipsTheTurn) {
  world.WriteFile(0, 1);
  world.SetPassSeconds(90);
  Start(1);
  world.RunFor(2 * kMinute);
  const auto passes = world.Passes();
  ASSERT_EQ(2u, passes.size()) << "the turn at one minute finds the pass still running";
  EXPECT_EQ(2 * kMinute, passes[1].time - FakeServiceWorld::kStart);
}

// --- reloading the settings -----------------------------------------------------------------

TEST_F(ServiceRoutineTest, AnInterrogateWhileTheEngineIsBusyReloadsAtTheFirstIdleTurn) {
  world.WriteFile(0, 1);
  world.SetPassSeconds(150);
  Start(1);
  world.RunFor(10);
  world.WriteFile(0, 3);
  world.Control(service, kControlInterrogate);
  world.RunFor(2 * kMinute - 10);
  EXPECT_EQ(1, world.Reloads()) << "the turns at one and two minutes find the engine busy";
  world.RunFor(kMinute);
  EXPECT_EQ(2, world.Reloads());
  const auto passes = world.Passes();
  ASSERT_EQ(2u, passes.size());
  EXPECT_EQ(3 * kMinute, passes[1].time - FakeServiceWorld::kStart);
  EXPECT_EQ(3u, passes[1].conditions);
}

TEST_F(ServiceRoutineTest, AnInterrogateThatComesInDuringTheReadIsNotLost) {
  world.WriteFile(0, 1);
  // The window program saves again while the service is still reading the previous file.
  world.OnReload([this] {
    world.WriteFile(0, 4);
    service.ServiceCtrlHandler(kControlInterrogate);
  });
  Start(1);
  EXPECT_EQ(1u, world.Passes().back().conditions);
  world.RunFor(kMinute);
  EXPECT_EQ(2, world.Reloads());
  EXPECT_EQ(4u, world.Passes().back().conditions);
}

// --- pause, continue and stop -----------------------------------------------------------------

TEST_F(ServiceRoutineTest, AContinueWhileRunningStartsTheNextTurnAtOnce) {
  world.WriteFile(0, 1);
  Start(1);
  world.RunFor(20);
  world.Control(service, kControlContinue);
  const auto passes = world.Passes();
  ASSERT_EQ(2u, passes.size());
  EXPECT_EQ(20, passes[1].time - FakeServiceWorld::kStart);
  EXPECT_EQ(kServiceRunning, LastReportedState());
  EXPECT_EQ("サービスを再開します。\n", world.DebugLines().back());
  // The turns go on a minute after the one brought forward.
  world.RunFor(kMinute);
  EXPECT_EQ(20 + kMinute, world.Passes().back().time - FakeServiceWorld::kStart);
}

TEST_F(ServiceRoutineTest, APausedServiceNeitherReadsNorStartsPassesUntilItIsContinued) {
  world.WriteFile(0, 1);
  Start(1);
  world.Control(service, kControlPause);
  EXPECT_EQ(kServicePaused, LastReportedState());
  EXPECT_EQ(kServicePaused, service.CurrentState());
  EXPECT_EQ("サービスを一時停止します。\n", world.DebugLines().back());
  world.Control(service, kControlInterrogate);
  EXPECT_EQ(kServicePaused, LastReportedState());
  world.Control(service, kControlPause);
  EXPECT_EQ(kServicePaused, LastReportedState());
  world.RunFor(30 * kMinute);
  EXPECT_EQ(1u, world.Passes().size());
  EXPECT_EQ(1, world.Reloads());

  world.Control(service, kControlContinue);
  EXPECT_EQ(kServiceRunning, LastReportedState());
  EXPECT_EQ(2u, world.Passes().size());
  EXPECT_EQ(2, world.Reloads()) << "the interrogate sent while paused is served now";
}

TEST_F(ServiceRoutineTest, AStopWhilePausedEndsTheService) {
  Start(1);
  world.Control(service, kControlPause);
  world.Control(service, kControlStop);
  EXPECT_EQ(CServiceEnd::kStopped, world.Join());
  EXPECT_EQ(kServiceStopped, LastReportedState());
  EXPECT_EQ(0, world.Elapsed()) << "with no pass running the service ends at once";
  EXPECT_THAT(world.DebugLines(),
              ElementsAre("Vorelサービスが開始しました。\n", "サービスを一時停止します。\n",
                          "サービスを停止します。\n", "Vorelサービスが停止しました。\n"));
}

TEST_F(ServiceRoutineTest, APassThatEndsWithinTheGraceTimeIsWaitedFor) {
  world.WriteFile(0, 1);
  world.SetPassSeconds(45);
  Start(1);
  world.RunFor(5);
  world.Control(service, kControlStop);
  EXPECT_EQ(CServiceEnd::kStopped, world.Join());
  EXPECT_FALSE(world.ForcedEndAt());
  const auto reports = world.Reports();
  EXPECT_EQ(kServiceStopped, reports.back().status.dwCurrentState);
  EXPECT_EQ(45, reports.back().time - FakeServiceWorld::kStart)
      << "stopped is reported when the pass has ended, not at the next poll";
}

TEST_F(ServiceRoutineTest, APassStillRunningAfterTheStopIsEndedByForceWithin60To70Seconds) {
  world.WriteFile(0, 1);
  world.SetPassSeconds(24 * 60 * kMinute);
  Start(1);
  world.RunFor(5);
  world.Control(service, kControlStop);
  EXPECT_EQ(CServiceEnd::kPassEndedByForce, world.Join());

  const auto forcedAt = world.ForcedEndAt();
  ASSERT_TRUE(forcedAt);
  const QvTime afterStop = *forcedAt - FakeServiceWorld::kStart - 5;
  EXPECT_GT(afterStop, 60);
  EXPECT_LE(afterStop, 70);
  EXPECT_EQ(0, world.CallsAfterForcedEnd()) << "nothing touches the engine after the kill";

  const auto reports = world.Reports();
  EXPECT_EQ(kServiceStopped, reports.back().status.dwCurrentState);
  EXPECT_EQ(*forcedAt, reports.back().time);
  EXPECT_EQ("Vorelサービスが停止しました。\n", world.DebugLines().back());
}

}  // namespace
