// The service "Vorel" apart from the platform: the control handler, the service loop with its
// one-minute turns, and the stop sequence. The Win32 program connects it to the service control
// manager; tests drive it with a fake clock, fake events and a fake engine.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "settings/AppSetting.h"

// Service states and control codes, numbered as the service control manager numbers them.
inline constexpr std::uint32_t kServiceStopped = 1;
inline constexpr std::uint32_t kServiceStopPending = 3;
inline constexpr std::uint32_t kServiceRunning = 4;
inline constexpr std::uint32_t kServicePaused = 7;

inline constexpr std::uint32_t kControlStop = 1;
inline constexpr std::uint32_t kControlPause = 2;
inline constexpr std::uint32_t kControlContinue = 3;
inline constexpr std::uint32_t kControlInterrogate = 4;

inline constexpr std::uint32_t kWaitInfinite = 0xFFFFFFFF;
// One turn of the loop: the settings are read when asked and a pass is offered to the engine.
inline constexpr std::uint32_t kTurnMilliseconds = 60000;
// After a stop request a running pass is looked at this often, and ended by force once it has
// had more than kStopGraceSeconds. Every look reports the next check point of the stop; the wait
// hint covers the longest time between two looks (a wait and a sleep) with room to spare.
inline constexpr std::uint32_t kStopPollMilliseconds = 5000;
inline constexpr QvTime kStopGraceSeconds = 60;
inline constexpr std::uint32_t kStopWaitHintMilliseconds = 3 * kStopPollMilliseconds;
// The exit code reported when the service loop failed (ERROR_EXCEPTION_IN_SERVICE).
inline constexpr std::uint32_t kExceptionInService = 1064;

// The status reported to the service control manager.
struct CServiceStatus {
  std::uint32_t dwServiceType;
  std::uint32_t dwCurrentState;
  std::uint32_t dwControlsAccepted;
  std::uint32_t dwWin32ExitCode;
  std::uint32_t dwServiceSpecificExitCode;
  std::uint32_t dwCheckPoint;
  std::uint32_t dwWaitHint;
};

// Own process (0x10); stop, pause and continue accepted (3).
CServiceStatus MakeServiceStatus(std::uint32_t state, std::uint32_t win32ExitCode = 0,
                                 std::uint32_t checkPoint = 0, std::uint32_t waitHint = 0);

// An auto-reset event, initially not signalled.
class IServiceEvent {
 public:
  virtual ~IServiceEvent();
  virtual void Set() = 0;
  // True when the event was signalled within the time (kWaitInfinite: no limit); the signal is
  // taken.
  virtual bool Wait(std::uint32_t milliseconds) = 0;
};

// The cleaning engine as the service uses it.
class IServiceEngine {
 public:
  virtual ~IServiceEngine();
  // A pass has been started and has not ended yet.
  virtual bool IsRunning() = 0;
  // Hands the settings to the engine and starts a service pass on the engine's own thread.
  virtual void StartPass(const CAppSetting& settings, bool startup) = 0;
  // Waits at most the time, less when the pass ends first; true when no pass runs any more.
  virtual bool WaitForPass(std::uint32_t milliseconds) = 0;
  // Ends the running pass by force. Whatever its thread held stays held: the service makes no
  // further call into the engine.
  virtual void EndPassByForce() = 0;
};

// What the service reaches outside itself.
class IServiceSystem {
 public:
  virtual ~IServiceSystem();
  // Seconds since 1970, one-second resolution.
  virtual QvTime Now() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // A line for the platform's debug output, in code page 932.
  virtual void DebugOutput(const std::string& text) = 0;
  virtual void ReportStatus(const CServiceStatus& status) = 0;
  // Null when the event cannot be created; error then holds the platform's error code.
  virtual std::unique_ptr<IServiceEvent> CreateAutoResetEvent(std::uint32_t& error) = 0;
  // Reads the service's settings file into the record; a file that cannot be opened leaves the
  // record as it was, and both that and a file that cannot be read in full are reported through
  // the debug output.
  virtual void ReloadSettings(CAppSetting& settings) = 0;
  // Ends the process at once: no destructor, exit handler or other thread of the process runs
  // any further. Used after a pass thread has been ended by force, when the heap may be held.
  [[noreturn]] virtual void EndProcess() = 0;
};

// The debug output lines of the service.
inline constexpr char kStartedLine[] = "Vorelサービスが開始しました。\n";
inline constexpr char kStoppedLine[] = "Vorelサービスが停止しました。\n";
inline constexpr char kStopLine[] = "サービスを停止します。\n";
inline constexpr char kPauseLine[] = "サービスを一時停止します。\n";
inline constexpr char kContinueLine[] = "サービスを再開します。\n";
inline constexpr char kCannotContinueLine[] = "Vorelサービスを続けられません。\n";

// How the service routine ended.
// A pass that had to be ended by force does not come back here: the process is ended instead.
enum class CServiceEnd {
  kStopped,       // stopped on request, no pass left running
  kEventsFailed,  // the events could not be created; the stopped state has been reported
  kLoopFailed,    // the loop failed; stopped as on request, with kExceptionInService reported
};

// One service in one process. The handler and the loop meet through the current state, the
// reload flag and two auto-reset events; the handler blocks on pause and continue until the
// loop has seen the new state. A stop is answered at once with the stop-pending state, and the
// loop reports the stop's progress and its end.
class CVorelService {
 public:
  explicit CVorelService(IServiceSystem& system);
  CVorelService(const CVorelService&) = delete;
  CVorelService& operator=(const CVorelService&) = delete;
  ~CVorelService();

  // The service routine once its control handler is registered: reports the running state,
  // runs the loop until a stop request (or a failure of the loop), then waits for a running
  // pass (60 to 65 seconds at most) and reports the stopped state. A pass still running then is
  // ended by force, and the process with it. startTime is the time at which the service
  // started, from which the start delay counts.
  CServiceEnd ServiceMain(IServiceEngine& engine, QvTime startTime);

  // The control handler, on the dispatcher's thread.
  void ServiceCtrlHandler(std::uint32_t control);

  std::uint32_t CurrentState() const { return m_dwCurrentState.load(); }

 private:
  void Command(const char* line, std::uint32_t state);
  // Enters the stop-pending state from running or paused and reports its first check point;
  // false when the service is not running or already stopping.
  bool BeginStop();
  void ReportCurrentStatus();
  // Reports the current state; with the check point and the wait hint while stopping.
  void ReportLocked(std::uint32_t exitCode);
  void RunLoop(IServiceEngine& engine, QvTime startTime);
  // Leaves the loop once a stop has been seen; false to go on with the next turn.
  bool HandleWakeUp();
  CServiceEnd StopSequence(IServiceEngine& engine, std::uint32_t exitCode);

  IServiceSystem& m_system;
  // Every change of the state and every status report hold the lock, so that the reports go
  // out in the order of the changes and the check points only rise.
  std::mutex m_statusMutex;
  std::atomic<std::uint32_t> m_dwCurrentState{kServiceStopped};
  std::uint32_t m_dwCheckPoint = 0;
  // Set by the interrogate control; the loop takes it before it reads the file, so a request
  // that comes in during the read is served by the next read.
  std::atomic<std::int32_t> m_bReload{1};
  // Live as long as the object: a handler may still be returning from its wait when the loop
  // has ended.
  std::unique_ptr<IServiceEvent> m_pCommandEvent;
  std::unique_ptr<IServiceEvent> m_pAckEvent;
};
