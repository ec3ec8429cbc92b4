// The service's system and engine; the clock moves only in RunFor, the test plays the dispatcher.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "service/ServiceRoutine.h"
#include "settings/AppSetting.h"

namespace qvtest {

inline constexpr QvTime kStart = 1'700'000'000;  // when the service was started

struct StatusReport {
  QvTime time;
  CServiceStatus status;
};

struct PassRecord {
  QvTime time;
  bool startup;
  std::size_t conditions;
};

// What the service did, as the test sees it.
struct ServiceRecord {
  QvTime now = kStart;
  std::vector<StatusReport> reports;
  std::vector<std::string> lines;
  std::vector<PassRecord> passes;
  int reloads = 0;
  std::optional<QvTime> forcedAt;
  std::vector<std::string> afterForce;  // every call into the world after the forced end
  std::optional<CServiceEnd> end;
  bool processEnded = false;
};

class FakeServiceWorld final : public IServiceSystem, public IServiceEngine {
 public:
  FakeServiceWorld() { WriteFile(0, 1); }  // the settings file: no start delay, one condition
  ~FakeServiceWorld() override { Join(); }

  void WriteFile(std::int32_t timerDelay, std::size_t conditions) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_file.m_nTimerDelay = timerDelay;
    m_file.m_aOperationTime.resize(conditions);
    for (auto& condition : m_file.m_aOperationTime) condition = std::make_unique<COperationTime>();
  }
  // Set before Start.
  QvTime passSeconds = 0;          // every pass runs this long
  bool throwFromPass = false;      // the first start of a pass throws after starting it
  int failEvent = -1;              // this creation (0 or 1) of an event fails
  std::function<void()> onReload;  // called once on the loop's thread during a reload

  // Starts the routine with the start time secondsAgo back.
  void Start(CVorelService& service, QvTime secondsAgo = 0) {
    std::unique_lock<std::mutex> lock(m_mutex);  // the loop waits until m_loop is set
    m_loop = std::thread([this, &service, secondsAgo] {
      const CServiceEnd end = service.ServiceMain(*this, kStart - secondsAgo);
      std::lock_guard<std::mutex> ended(m_mutex);
      m_seen.end = end;
      m_changed.notify_all();
    });
    m_changed.wait(lock, [this] { return Settled(); });
  }

  // The handler as the dispatcher calls it; returns once the loop is parked again.
  void Control(CVorelService& service, std::uint32_t control) {
    service.ServiceCtrlHandler(control);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return Settled(); });
  }

  void RunFor(QvTime seconds) {
    std::unique_lock<std::mutex> lock(m_mutex);
    const QvTime target = m_seen.now + seconds;
    for (;;) {
      m_changed.wait(lock, [this] { return Settled(); });
      if (!m_parked || !m_deadline || *m_deadline > target) break;
      m_seen.now = *m_deadline;
      m_timedOut = true;
      m_parked = false;
      m_changed.notify_all();
    }
    m_seen.now = std::max(m_seen.now, target);
  }

  // Runs the clock until the routine has returned; empty when it ended the process instead.
  std::optional<CServiceEnd> Join() {
    if (!m_loop.joinable()) return Seen().end;
    while (!Seen().end && !Seen().processEnded) RunFor(kStopGraceSeconds);
    Seen().processEnded ? m_loop.detach() : m_loop.join();
    return Seen().end;
  }

  ServiceRecord Seen() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
  }

  QvTime Now() override {
    auto lock = Enter("now");
    return m_seen.now;
  }
  void Sleep(std::uint32_t milliseconds) override {
    auto lock = Enter("sleep");
    m_seen.now += milliseconds / 1000;
  }
  void DebugOutput(const std::string& text) override {
    auto lock = Enter("debug output");
    m_seen.lines.push_back(text);
  }
  void ReportStatus(const CServiceStatus& status) override {
    auto lock = Enter("report " + std::to_string(status.dwCurrentState));
    m_seen.reports.push_back({m_seen.now, status});
  }
  std::unique_ptr<IServiceEvent> CreateAutoResetEvent(std::uint32_t& error) override {
    if (m_eventsCreated++ != failEvent) return std::make_unique<Event>(*this);
    error = 8;
    return nullptr;
  }
  void ReloadSettings(CAppSetting& settings) override {
    {
      auto lock = Enter("reload");
      ++m_seen.reloads;
      settings = m_file;
    }
    if (onReload) std::exchange(onReload, nullptr)();
  }
  [[noreturn]] void EndProcess() override {
    {
      auto lock = Enter("end process");
      m_seen.processEnded = true;
      m_changed.notify_all();  // under the lock: the world may go once the test has seen it
    }
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }

  bool IsRunning() override {
    auto lock = Enter("is running");
    return m_seen.now < m_busyUntil;
  }
  void StartPass(const CAppSetting& settings, bool startup) override {
    auto lock = Enter("start pass");
    m_seen.passes.push_back({m_seen.now, startup, settings.m_aOperationTime.size()});
    m_busyUntil = m_seen.now + passSeconds;
    if (std::exchange(throwFromPass, false)) throw std::runtime_error("pass");
  }
  bool WaitForPass(std::uint32_t milliseconds) override {
    auto lock = Enter("wait for pass");
    const QvTime deadline = std::min<QvTime>(m_busyUntil, m_seen.now + milliseconds / 1000);
    if (m_seen.now < deadline) Park(lock, deadline, [] { return false; });
    return m_seen.now >= m_busyUntil;
  }
  void EndPassByForce() override {
    auto lock = Enter("end pass");
    m_seen.forcedAt = m_seen.now;
  }

 private:
  struct Event final : IServiceEvent {
    explicit Event(FakeServiceWorld& owner) : world(owner) {}
    void Set() override {
      std::lock_guard<std::mutex> lock(world.m_mutex);
      signalled = true;
      world.m_parked = false;  // from this moment on, so that nobody sees a stale wait
      world.m_changed.notify_all();
    }
    bool Wait(std::uint32_t milliseconds) override { return world.Wait(signalled, milliseconds); }
    FakeServiceWorld& world;
    bool signalled = false;  // guarded by the world's mutex
  };

  bool Settled() const { return m_parked || m_seen.end || m_seen.processEnded; }
  // The loop parks until woken or RunFor reaches the deadline; the handler waits real seconds.
  bool Wait(bool& signalled, std::uint32_t milliseconds) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (std::this_thread::get_id() != m_loop.get_id()) {
      if (!m_changed.wait_for(lock, std::chrono::seconds(5), [&] { return signalled; })) {
        ADD_FAILURE() << "the control handler waits for a loop that does not answer";
      }
    } else if (!signalled) {
      std::optional<QvTime> deadline;
      if (milliseconds != kWaitInfinite) deadline = m_seen.now + milliseconds / 1000;
      Park(lock, deadline, [&] { return signalled; });
    }
    return std::exchange(signalled, false);
  }
  // Takes the lock for a call into the world, and notes the call after a forced end.
  std::unique_lock<std::mutex> Enter(const std::string& call) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_seen.forcedAt) m_seen.afterForce.push_back(call);
    return lock;
  }
  void Park(std::unique_lock<std::mutex>& lock, std::optional<QvTime> deadline,
            const std::function<bool()>& woken) {
    m_parked = true;
    m_timedOut = false;
    m_deadline = deadline;
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return woken() || m_timedOut; });
    m_parked = false;
  }

  std::mutex m_mutex;
  std::condition_variable m_changed;
  ServiceRecord m_seen;
  bool m_parked = false, m_timedOut = false;
  std::optional<QvTime> m_deadline;
  std::thread m_loop;
  CAppSetting m_file;
  int m_eventsCreated = 0;
  QvTime m_busyUntil = 0;
};

}  // namespace qvtest
