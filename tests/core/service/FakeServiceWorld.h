// A fake system for the service: a clock that moves only when the test lets it, events that
// hand over between the service loop's thread and the test's thread, an engine whose passes
// last as long as the test says, and a settings file held in memory.
//
// The service loop runs on a thread of its own; the test's thread plays the dispatcher and
// calls the control handler. Time stands still while the loop is busy and while the test looks;
// RunFor lets it move from one wait of the loop to the next.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "service/ServiceRoutine.h"
#include "settings/AppSetting.h"

namespace qvtest {

class FakeServiceWorld;

class FakeServiceEvent final : public IServiceEvent {
 public:
  explicit FakeServiceEvent(FakeServiceWorld& world) : m_world(world) {}
  void Set() override;
  bool Wait(std::uint32_t milliseconds) override;

 private:
  FakeServiceWorld& m_world;
  bool m_signalled = false;  // guarded by the world's mutex
};

struct StatusReport {
  QvTime time;
  CServiceStatus status;
};

struct PassRecord {
  QvTime time;
  bool startup;
  std::int32_t timerDelay;
  std::size_t conditions;
};

class FakeServiceWorld final : public IServiceSystem, public IServiceEngine {
 public:
  static constexpr QvTime kStart = 1'700'000'000;

  FakeServiceWorld() { m_file.m_nTimerDelay = 0; }
  ~FakeServiceWorld() override {
    if (m_loop.joinable()) m_loop.join();
  }

  // --- what the test sets up before the service starts -------------------------------------
  // The settings file: its timer delay and its number of conditions.
  void WriteFile(std::int32_t timerDelay, std::size_t conditions) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_file.m_nTimerDelay = timerDelay;
    m_file.m_aOperationTime.clear();
    for (std::size_t i = 0; i < conditions; ++i) {
      m_file.m_aOperationTime.push_back(std::make_unique<COperationTime>());
    }
  }
  void WriteFile(const CAppSetting& file) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_file = file;
  }
  // How long every pass started from now on runs.
  void SetPassSeconds(QvTime seconds) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_passSeconds = seconds;
  }
  // Creation number n (0 or 1) of the two events fails.
  void FailEventCreation(int n) { m_failEvent = n; }
  // Called on the loop's thread while the file is being read.
  void OnReload(std::function<void()> hook) { m_onReload = std::move(hook); }

  // --- driving ------------------------------------------------------------------------------
  // Starts the service routine on a thread of its own; the start time lies secondsAgo back. The
  // passes go to the fake engine of this world unless another engine is given.
  void Start(CVorelService& service, QvTime secondsAgo = 0, IServiceEngine* engine = nullptr) {
    IServiceEngine& passes = engine ? *engine : *this;
    m_loop = std::thread([this, &service, &passes, secondsAgo] {
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_loopThread = std::this_thread::get_id();
      }
      const CServiceEnd end = service.ServiceMain(passes, kStart - secondsAgo);
      std::lock_guard<std::mutex> lock(m_mutex);
      m_end = end;
      m_changed.notify_all();
    });
    WaitUntilParked();
  }

  // The control handler on the test's thread, as the dispatcher calls it; returns once the
  // loop is waiting again (or has ended).
  void Control(CVorelService& service, std::uint32_t control) {
    service.ServiceCtrlHandler(control);
    WaitUntilParked();
  }

  // Lets the clock run for the given time: every wait of the loop that times out within it
  // ends, and the loop runs its turn.
  void RunFor(QvTime seconds) {
    std::unique_lock<std::mutex> lock(m_mutex);
    const QvTime target = m_now + seconds;
    for (;;) {
      m_changed.wait(lock, [this] { return m_parked || m_end.has_value(); });
      if (m_end || !m_deadline || *m_deadline > target) break;
      m_now = *m_deadline;
      m_timedOut = true;
      m_parked = false;
      m_changed.notify_all();
    }
    m_now = std::max(m_now, target);
  }

  void WaitUntilParked() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_parked || m_end.has_value(); });
  }

  // Waits for the routine to return.
  CServiceEnd Join() {
    if (m_loop.joinable()) m_loop.join();
    std::lock_guard<std::mutex> lock(m_mutex);
    return *m_end;
  }

  // --- what the test looks at (after WaitUntilParked, Control, RunFor or Join) ---------------
  QvTime Elapsed() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_now - kStart;
  }
  std::vector<PassRecord> Passes() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_passes;
  }
  int Reloads() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_reloads;
  }
  std::vector<StatusReport> Reports() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_reports;
  }
  std::vector<std::string> DebugLines() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_debugLines;
  }
  std::optional<QvTime> ForcedEndAt() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_forcedAt;
  }
  // Calls into the engine after it ended a pass by force.
  int CallsAfterForcedEnd() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_callsAfterForce;
  }
  bool LoopEnded() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_end.has_value();
  }

  // --- IServiceSystem -----------------------------------------------------------------------
  QvTime Now() override {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_now;
  }
  void Sleep(std::uint32_t milliseconds) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_now += milliseconds / 1000;
  }
  void DebugOutput(const std::string& text) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_debugLines.push_back(text);
  }
  void ReportStatus(const CServiceStatus& status) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_reports.push_back({m_now, status});
  }
  std::unique_ptr<IServiceEvent> CreateAutoResetEvent(std::uint32_t& error) override {
    if (m_eventsCreated++ == m_failEvent) {
      error = 8;
      return nullptr;
    }
    return std::make_unique<FakeServiceEvent>(*this);
  }
  void ReloadSettings(CAppSetting& settings) override {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      ++m_reloads;
      settings.Clear();
      settings = m_file;
    }
    if (m_onReload) {
      auto hook = std::move(m_onReload);
      m_onReload = nullptr;
      hook();
    }
  }

  // --- IServiceEngine -----------------------------------------------------------------------
  bool IsRunning() override {
    std::lock_guard<std::mutex> lock(m_mutex);
    CountCallAfterForce();
    return m_now < m_busyUntil;
  }
  void StartPass(const CAppSetting& settings, bool startup) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    CountCallAfterForce();
    m_passes.push_back({m_now, startup, settings.m_nTimerDelay, settings.m_aOperationTime.size()});
    m_busyUntil = m_now + m_passSeconds;
  }
  bool WaitForPass(std::uint32_t milliseconds) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    CountCallAfterForce();
    if (m_now < m_busyUntil) m_now = std::min<QvTime>(m_busyUntil, m_now + milliseconds / 1000);
    return m_now >= m_busyUntil;
  }
  void EndPassByForce() override {
    std::lock_guard<std::mutex> lock(m_mutex);
    CountCallAfterForce();
    m_forcedAt = m_now;
  }

 private:
  friend class FakeServiceEvent;

  void CountCallAfterForce() {
    if (m_forcedAt) ++m_callsAfterForce;
  }
  bool OnLoopThread() const { return std::this_thread::get_id() == m_loopThread; }

  std::mutex m_mutex;
  std::condition_variable m_changed;
  QvTime m_now = kStart;

  // The loop's wait: parked (with a deadline unless it waits without limit) until an event or
  // RunFor wakes it.
  bool m_parked = false;
  std::optional<QvTime> m_deadline;
  bool m_timedOut = false;
  std::thread::id m_loopThread;
  std::thread m_loop;
  std::optional<CServiceEnd> m_end;

  CAppSetting m_file;
  int m_reloads = 0;
  std::function<void()> m_onReload;
  int m_eventsCreated = 0;
  int m_failEvent = -1;

  QvTime m_passSeconds = 0;
  QvTime m_busyUntil = 0;
  std::vector<PassRecord> m_passes;
  std::optional<QvTime> m_forcedAt;
  int m_callsAfterForce = 0;

  std::vector<StatusReport> m_reports;
  std::vector<std::string> m_debugLines;
};

inline void FakeServiceEvent::Set() {
  std::lock_guard<std::mutex> lock(m_world.m_mutex);
  m_signalled = true;
  // The loop is no longer parked from this moment on, so that nobody sees a stale wait.
  m_world.m_parked = false;
  m_world.m_changed.notify_all();
}

inline bool FakeServiceEvent::Wait(std::uint32_t milliseconds) {
  std::unique_lock<std::mutex> lock(m_world.m_mutex);
  if (!m_world.OnLoopThread()) {
    // The handler waits for the acknowledgement; the clock does not move for it.
    m_world.m_changed.wait(lock, [this] { return m_signalled; });
    m_signalled = false;
    return true;
  }
  if (!m_signalled) {
    m_world.m_parked = true;
    m_world.m_timedOut = false;
    m_world.m_deadline.reset();
    if (milliseconds != kWaitInfinite) m_world.m_deadline = m_world.m_now + milliseconds / 1000;
    m_world.m_changed.notify_all();
    m_world.m_changed.wait(lock, [this] { return m_signalled || m_world.m_timedOut; });
    m_world.m_parked = false;
  }
  const bool signalled = m_signalled;
  m_signalled = false;
  return signalled;
}

}  // namespace qvtest
