// A fake system and engine for the service: a clock that moves only when the test lets it,
// events that hand over between the service loop's thread and the test's thread, passes that
// last as long as the test says, and a settings file held in memory.
//
// The service loop runs on a thread of its own; the test's thread plays the dispatcher and
// calls the control handler. The loop parks in its waits (for a command, for a pass to end);
// RunFor moves the clock from one park to the next and Join runs it until the routine is over.
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
  std::size_t conditions;
};

// The clock of every world starts here.
inline constexpr QvTime kFakeServiceStart = 1'700'000'000;

// What the service did, as the test sees it.
struct ServiceRecord {
  QvTime now = kFakeServiceStart;
  std::vector<StatusReport> reports;
  std::vector<std::string> lines;
  std::vector<PassRecord> passes;
  int reloads = 0;
  std::optional<QvTime> forcedAt;
  // Every call into the world once the pass has been ended by force.
  std::vector<std::string> afterForce;
  std::optional<CServiceEnd> end;
  bool processEnded = false;
};

class FakeServiceWorld final : public IServiceSystem, public IServiceEngine {
 public:
  static constexpr QvTime kStart = kFakeServiceStart;

  ~FakeServiceWorld() override { Join(); }

  // --- set-up -------------------------------------------------------------------------------
  void WriteFile(std::int32_t timerDelay, std::size_t conditions) {
    CAppSetting file;
    file.m_nTimerDelay = timerDelay;
    for (std::size_t i = 0; i < conditions; ++i) {
      file.m_aOperationTime.push_back(std::make_unique<COperationTime>());
    }
    WriteFile(file);
  }
  void WriteFile(const CAppSetting& file) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_file = file;
  }
  // Every pass started from now on runs this long; with thenThrow the start of the next one
  // throws once the pass is under way.
  void SetPass(QvTime seconds, bool thenThrow = false) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_passSeconds = seconds;
    m_throwFromPass = thenThrow;
  }
  // Creation number failEvent (0 or 1) of the two events fails; set before the start.
  int failEvent = -1;
  // Called once on the loop's thread while the file is read; set before the start.
  std::function<void()> onReload;

  // --- driving ------------------------------------------------------------------------------
  // Starts the routine on a thread of its own; the start time lies secondsAgo back. The passes
  // go to this world's engine unless another is given.
  void Start(CVorelService& service, QvTime secondsAgo = 0, IServiceEngine* engine = nullptr) {
    IServiceEngine& passes = engine ? *engine : *this;
    m_loop = std::thread([this, &service, &passes, secondsAgo] {
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_loopThread = std::this_thread::get_id();
      }
      const CServiceEnd end = service.ServiceMain(passes, kStart - secondsAgo);
      std::lock_guard<std::mutex> lock(m_mutex);
      m_seen.end = end;
      m_changed.notify_all();
    });
    WaitUntilParked();
  }

  // The control handler on the test's thread; returns once the loop is parked again.
  void Control(CVorelService& service, std::uint32_t control) {
    service.ServiceCtrlHandler(control);
    WaitUntilParked();
  }

  // Lets the clock run: every park of the loop whose time comes within it ends.
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

  void WaitUntilParked() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return Settled(); });
  }

  // Runs the clock until the routine has returned (or ended the process, which leaves its
  // thread parked for good); empty when the process was ended.
  std::optional<CServiceEnd> Join() {
    if (!m_loop.joinable()) return Seen().end;
    for (ServiceRecord seen = Seen(); !seen.end && !seen.processEnded; seen = Seen()) {
      RunFor(kStopGraceSeconds);
    }
    if (Seen().processEnded) {
      m_loop.detach();
    } else {
      m_loop.join();
    }
    return Seen().end;
  }

  ServiceRecord Seen() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
  }

  // --- IServiceSystem -----------------------------------------------------------------------
  QvTime Now() override {
    std::lock_guard<std::mutex> lock(m_mutex);
    Note("now");
    return m_seen.now;
  }
  void Sleep(std::uint32_t milliseconds) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    Note("sleep");
    m_seen.now += milliseconds / 1000;
  }
  void DebugOutput(const std::string& text) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    Note("debug output");
    m_seen.lines.push_back(text);
  }
  void ReportStatus(const CServiceStatus& status) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    Note("report " + std::to_string(status.dwCurrentState));
    m_seen.reports.push_back({m_seen.now, status});
  }
  std::unique_ptr<IServiceEvent> CreateAutoResetEvent(std::uint32_t& error) override {
    if (m_eventsCreated++ == failEvent) {
      error = 8;
      return nullptr;
    }
    return std::make_unique<FakeServiceEvent>(*this);
  }
  void ReloadSettings(CAppSetting& settings) override {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      Note("reload");
      ++m_seen.reloads;
      settings = m_file;
    }
    if (onReload) std::exchange(onReload, nullptr)();
  }
  [[noreturn]] void EndProcess() override {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      Note("end process");
      m_seen.processEnded = true;
      m_changed.notify_all();
    }
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }

  // --- IServiceEngine -----------------------------------------------------------------------
  bool IsRunning() override {
    std::lock_guard<std::mutex> lock(m_mutex);
    Note("is running");
    return m_seen.now < m_busyUntil;
  }
  void StartPass(const CAppSetting& settings, bool startup) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    Note("start pass");
    m_seen.passes.push_back({m_seen.now, startup, settings.m_aOperationTime.size()});
    m_busyUntil = m_seen.now + m_passSeconds;
    if (std::exchange(m_throwFromPass, false)) throw std::runtime_error("pass");
  }
  bool WaitForPass(std::uint32_t milliseconds) override {
    std::unique_lock<std::mutex> lock(m_mutex);
    Note("wait for pass");
    if (m_seen.now < m_busyUntil) {
      Park(lock, std::min<QvTime>(m_busyUntil, m_seen.now + milliseconds / 1000),
           [] { return false; });
    }
    return m_seen.now >= m_busyUntil;
  }
  void EndPassByForce() override {
    std::lock_guard<std::mutex> lock(m_mutex);
    Note("end pass");
    m_seen.forcedAt = m_seen.now;
  }

 private:
  friend class FakeServiceEvent;

  bool Settled() const { return m_parked || m_seen.end || m_seen.processEnded; }
  void Note(const std::string& call) {
    if (m_seen.forcedAt) m_seen.afterForce.push_back(call);
  }
  // The loop's thread waits until woken, or until RunFor brings the clock to the deadline
  // (none: no limit).
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
  bool m_parked = false;
  std::optional<QvTime> m_deadline;
  bool m_timedOut = false;
  std::thread::id m_loopThread;
  std::thread m_loop;

  CAppSetting m_file;
  int m_eventsCreated = 0;
  QvTime m_passSeconds = 0;
  bool m_throwFromPass = false;
  QvTime m_busyUntil = 0;
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
  if (std::this_thread::get_id() != m_world.m_loopThread) {
    // The handler waits for the acknowledgement; the clock does not move for it, and a loop
    // that does not answer fails the test instead of hanging it.
    if (!m_world.m_changed.wait_for(lock, std::chrono::seconds(5),
                                    [this] { return m_signalled; })) {
      ADD_FAILURE() << "the control handler waits for a loop that does not answer";
    }
  } else if (!m_signalled) {
    std::optional<QvTime> deadline;
    if (milliseconds != kWaitInfinite) deadline = m_world.m_seen.now + milliseconds / 1000;
    m_world.Park(lock, deadline, [this] { return m_signalled; });
  }
  return std::exchange(m_signalled, false);
}

}  // namespace qvtest
