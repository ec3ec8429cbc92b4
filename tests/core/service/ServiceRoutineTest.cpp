// The service routine and its control handler, driven through minutes and hours of fake time.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/service/FakeServiceWorld.h"
#include "service/ServiceRoutine.h"

namespace {

using qvtest::FakeServiceWorld;
using ::testing::ElementsAre;

constexpr QvTime kMinute = 60;
constexpr QvTime kStart = FakeServiceWorld::kStart;

class ServiceRoutineTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (!started) return;
    const auto seen = world.Seen();
    if (!seen.end && !seen.processEnded) world.Control(service, kControlStop);
    world.Join();
  }

  void Start(QvTime secondsAgo = 0) {
    started = true;
    world.Start(service, secondsAgo);
  }

  std::uint32_t LastReportedState() {
    const auto reports = world.Seen().reports;
    return reports.empty() ? 0 : reports.back().status.dwCurrentState;
  }

  FakeServiceWorld world;
  CVorelService service{world};
  bool started = false;
};

// --- start, status reports and the handler ------------------------------------------------

TEST_F(ServiceRoutineTest, StartReportsRunningWithTheFixedStatusFields) {
  Start();
  const auto seen = world.Seen();
  ASSERT_EQ(1u, seen.reports.size());
  const CServiceStatus& status = seen.reports[0].status;
  EXPECT_EQ(0x10u, status.dwServiceType);
  EXPECT_EQ(kServiceRunning, status.dwCurrentState);
  EXPECT_EQ(3u, status.dwControlsAccepted);
  EXPECT_EQ(0u, status.dwWin32ExitCode + status.dwServiceSpecificExitCode);
  EXPECT_EQ(0u, status.dwCheckPoint + status.dwWaitHint);
  EXPECT_THAT(seen.lines, ElementsAre("Vorelサービスが開始しました。\n"));
  EXPECT_EQ(1, seen.reloads) << "the first turn reads the settings file";
}

TEST_F(ServiceRoutineTest, InterrogateAndUnknownControlsAnswerWithOneReportOfTheCurrentState) {
  world.WriteFile(0, 1);
  Start(1);
  for (const std::uint32_t state : {kServiceRunning, kServicePaused}) {
    if (state == kServicePaused) world.Control(service, kControlPause);
    for (const std::uint32_t control : {kControlInterrogate, 0u, 200u}) {
      const std::size_t before = world.Seen().reports.size();
      world.Control(service, control);
      const auto reports = world.Seen().reports;
      ASSERT_EQ(before + 1, reports.size()) << "control " << control;
      EXPECT_EQ(state, reports.back().status.dwCurrentState) << "control " << control;
    }
  }
  const auto seen = world.Seen();
  EXPECT_EQ(1u, seen.passes.size()) << "the loop is not woken";
  EXPECT_EQ(1, seen.reloads);
  EXPECT_EQ(2u, seen.lines.size()) << "only the start and the pause are told";
}

TEST_F(ServiceRoutineTest, EventsThatCannotBeCreatedEndTheServiceWithAnError) {
  world.failEvent = 1;
  Start();
  EXPECT_EQ(CServiceEnd::kEventsFailed, world.Join());
  auto seen = world.Seen();
  ASSERT_EQ(1u, seen.reports.size());
  EXPECT_EQ(kServiceStopped, seen.reports[0].status.dwCurrentState);
  EXPECT_EQ(8u, seen.reports[0].status.dwWin32ExitCode);
  EXPECT_TRUE(seen.passes.empty());
  EXPECT_TRUE(seen.lines.empty());

  // A control that still comes in is answered and does not wait for a loop that is gone.
  for (const std::uint32_t control : {kControlStop, kControlPause}) {
    service.ServiceCtrlHandler(control);
    EXPECT_EQ(kServiceStopped, LastReportedState());
  }
}

// --- turns, the start delay and the first-pass flag ----------------------------------------

// A pass starts once more than the delay has passed since the start (with no delay: at least
// one second); only the first pass is the start-up pass, even if the engine refused it.
TEST(ServiceTurnTest, TheStartDelayHoldsPassesBackAndOnlyTheFirstIsTheStartupPass) {
  struct Case {
    std::int32_t delayMinutes;
    QvTime secondsAgo;
    QvTime runMinutes;
    std::vector<QvTime> passMinutes;
  };
  const Case cases[] = {{0, 0, 1, {1}}, {0, 1, 0, {0}}, {5, 0, 5, {}}, {5, 0, 8, {6, 7, 8}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.delayMinutes << " " << c.secondsAgo << " " << c.runMinutes);
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

// --- reloading the settings -----------------------------------------------------------------

TEST_F(ServiceRoutineTest, ABusyEngineSkipsTheTurnAndAnInterrogateIsServedAtTheFirstIdleTurn) {
  world.WriteFile(0, 1);
  world.SetPass(150);
  Start(1);
  world.RunFor(10);
  world.WriteFile(0, 3);
  world.Control(service, kControlInterrogate);
  world.RunFor(2 * kMinute - 10);
  EXPECT_EQ(1, world.Seen().reloads) << "the turns at one and two minutes find the engine busy";
  world.RunFor(kMinute);
  const auto seen = world.Seen();
  EXPECT_EQ(2, seen.reloads);
  ASSERT_EQ(2u, seen.passes.size());
  EXPECT_EQ(3 * kMinute, seen.passes[1].time - kStart);
  EXPECT_EQ(3u, seen.passes[1].conditions);
}

TEST_F(ServiceRoutineTest, AnInterrogateThatComesInDuringTheReadIsNotLost) {
  world.WriteFile(0, 1);
  // The window program saves again while the service is still reading the previous file.
  world.onReload = [this] {
    world.WriteFile(0, 4);
    service.ServiceCtrlHandler(kControlInterrogate);
  };
  Start(1);
  EXPECT_EQ(1u, world.Seen().passes.back().conditions);
  world.RunFor(kMinute);
  EXPECT_EQ(2, world.Seen().reloads);
  EXPECT_EQ(4u, world.Seen().passes.back().conditions);
}

// --- pause, continue and stop -----------------------------------------------------------------

TEST_F(ServiceRoutineTest, AContinueWhileRunningStartsTheNextTurnAtOnce) {
  world.WriteFile(0, 1);
  Start(1);
  world.RunFor(20);
  world.Control(service, kControlContinue);
  const auto seen = world.Seen();
  ASSERT_EQ(2u, seen.passes.size());
  EXPECT_EQ(20, seen.passes[1].time - kStart);
  EXPECT_EQ(kServiceRunning, LastReportedState());
  EXPECT_EQ("サービスを再開します。\n", seen.lines.back());
  // The turns go on a minute after the one brought forward.
  world.RunFor(kMinute);
  EXPECT_EQ(20 + kMinute, world.Seen().passes.back().time - kStart);
}

TEST_F(ServiceRoutineTest, APausedServiceNeitherReadsNorStartsPassesUntilItIsContinued) {
  world.WriteFile(0, 1);
  Start(1);
  world.Control(service, kControlPause);
  EXPECT_EQ(kServicePaused, LastReportedState());
  EXPECT_EQ(kServicePaused, service.CurrentState());
  EXPECT_EQ("サービスを一時停止します。\n", world.Seen().lines.back());
  world.Control(service, kControlInterrogate);
  world.Control(service, kControlPause);
  world.RunFor(30 * kMinute);
  EXPECT_EQ(1u, world.Seen().passes.size());
  EXPECT_EQ(1, world.Seen().reloads);

  world.Control(service, kControlContinue);
  EXPECT_EQ(kServiceRunning, LastReportedState());
  EXPECT_EQ(2u, world.Seen().passes.size());
  EXPECT_EQ(2, world.Seen().reloads) << "the interrogate sent while paused is served now";
}

TEST_F(ServiceRoutineTest, AStopWhilePausedEndsTheService) {
  Start(1);
  world.Control(service, kControlPause);
  world.Control(service, kControlStop);
  EXPECT_EQ(CServiceEnd::kStopped, world.Join());
  const auto seen = world.Seen();
  EXPECT_EQ(kServiceStopped, seen.reports.back().status.dwCurrentState);
  EXPECT_EQ(kStart, seen.reports.back().time) << "with no pass running the service ends at once";
  EXPECT_THAT(seen.lines,
              ElementsAre("Vorelサービスが開始しました。\n", "サービスを一時停止します。\n",
                          "サービスを停止します。\n", "Vorelサービスが停止しました。\n"));
}

// The handler answers a stop at once with the stop-pending state; the loop then looks at the
// pass every few seconds, each time with the next check point, and reports the stopped state
// when the pass has ended, or ends it by force after more than a minute and then the process,
// with nothing but the stopped state reported in between.
TEST(ServiceStopTest, AStopIsAnsweredAtOnceAndTheStopReportsRisingCheckPointsUntilStopped) {
  for (const QvTime passSeconds : {QvTime{45}, QvTime{24 * 60 * kMinute}}) {
    SCOPED_TRACE(passSeconds);
    const bool forced = passSeconds > kStopGraceSeconds;
    FakeServiceWorld world;
    CVorelService service(world);
    world.WriteFile(0, 1);
    world.SetPass(passSeconds);
    world.Start(service, 1);
    world.RunFor(5);
    world.Control(service, kControlStop);
    EXPECT_FALSE(world.Seen().end) << "the pass still runs";
    EXPECT_EQ(kServiceStopPending, service.CurrentState());
    // Neither of these may wait for the loop or change the state while it stops.
    world.Control(service, kControlInterrogate);
    world.Control(service, kControlPause);
    EXPECT_EQ(forced ? std::nullopt : std::optional(CServiceEnd::kStopped), world.Join());

    const auto seen = world.Seen();
    const auto& r = seen.reports;
    ASSERT_LE(5u, r.size());
    EXPECT_EQ(5, r[1].time - kStart);
    for (std::size_t i = 1; i + 1 < r.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(kServiceStopPending, r[i].status.dwCurrentState);
      EXPECT_EQ(kStopWaitHintMilliseconds, r[i].status.dwWaitHint);
      const std::uint32_t previous = i == 1 ? 0 : r[i - 1].status.dwCheckPoint;
      EXPECT_EQ(previous + (r[i].time > r[i - 1].time || i == 1 ? 1 : 0), r[i].status.dwCheckPoint);
      EXPECT_LE(r[i].time - r[i - 1].time, kStopWaitHintMilliseconds / 1000);
    }
    EXPECT_EQ(kServiceStopped, r.back().status.dwCurrentState);
    EXPECT_EQ(0u, r.back().status.dwWin32ExitCode + r.back().status.dwCheckPoint);
    EXPECT_EQ("Vorelサービスが停止しました。\n", seen.lines.back());
    if (!forced) {
      EXPECT_EQ(passSeconds, r.back().time - kStart) << "stopped as soon as the pass has ended";
      EXPECT_FALSE(seen.forcedAt);
      continue;
    }
    ASSERT_TRUE(seen.forcedAt);
    EXPECT_GT(*seen.forcedAt - kStart - 5, kStopGraceSeconds);
    EXPECT_LE(*seen.forcedAt - kStart - 5, kStopGraceSeconds + kStopPollMilliseconds / 1000);
    EXPECT_THAT(seen.afterForce, ElementsAre("report 1", "end process"));
  }
}

// A failure in the loop must not leave a pass running on an engine that is about to go: the
// service stops as on a request and says why.
TEST_F(ServiceRoutineTest, AFailingLoopWaitsForTheRunningPassAndReportsTheFailure) {
  world.WriteFile(0, 1);
  world.SetPass(45, true);
  Start(1);
  EXPECT_FALSE(world.Seen().end) << "the pass still runs";
  EXPECT_EQ(CServiceEnd::kLoopFailed, world.Join());
  const auto seen = world.Seen();
  EXPECT_EQ(kCannotContinueLine, seen.lines.at(1));
  EXPECT_EQ(kServiceStopped, LastReportedState());
  EXPECT_EQ(kExceptionInService, seen.reports.back().status.dwWin32ExitCode);
  EXPECT_EQ(45, seen.reports.back().time - kStart) << "not before the pass has ended";
}

}  // namespace
