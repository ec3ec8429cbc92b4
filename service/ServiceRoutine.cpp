#include "service/ServiceRoutine.h"

namespace {
constexpr std::uint32_t kOwnProcess = 0x10;
constexpr std::uint32_t kAcceptStopPauseContinue = 3;
// Reported when an event cannot be created and the platform gave no reason.
constexpr std::uint32_t kUnknownFailure =
    31;  // "a device attached to the system is not functioning"

bool IsRunningOrPaused(std::uint32_t state) {
  return state == kServiceRunning || state == kServicePaused;
}
}  // namespace

CServiceStatus MakeServiceStatus(std::uint32_t state, std::uint32_t win32ExitCode,
                                 std::uint32_t checkPoint, std::uint32_t waitHint) {
  return CServiceStatus{kOwnProcess, state,   kAcceptStopPauseContinue, win32ExitCode, 0,
                        checkPoint,  waitHint};
}

IServiceEvent::~IServiceEvent() = default;
IServiceEngine::~IServiceEngine() = default;
IServiceSystem::~IServiceSystem() = default;

CVorelService::CVorelService(IServiceSystem& system) : m_system(system) {}

CVorelService::~CVorelService() = default;

CServiceEnd CVorelService::ServiceMain(IServiceEngine& engine, QvTime startTime) {
  std::uint32_t error = 0;
  m_pCommandEvent = m_system.CreateAutoResetEvent(error);
  if (m_pCommandEvent) m_pAckEvent = m_system.CreateAutoResetEvent(error);
  if (!m_pCommandEvent || !m_pAckEvent) {
    m_system.ReportStatus(MakeServiceStatus(kServiceStopped, error ? error : kUnknownFailure));
    return CServiceEnd::kEventsFailed;
  }

  {
    std::lock_guard<std::mutex> lock(m_statusMutex);
    m_dwCurrentState.store(kServiceRunning);
    ReportLocked(0);
  }
  m_system.DebugOutput(kStartedLine);

  std::uint32_t exitCode = 0;
  try {
    RunLoop(engine, startTime);
  } catch (...) {
    // A pass may still run on the engine: it is waited for, or ended, as on a stop request.
    BeginStop();
    exitCode = kExceptionInService;
    m_system.DebugOutput(kCannotContinueLine);
  }
  return StopSequence(engine, exitCode);
}

void CVorelService::RunLoop(IServiceEngine& engine, QvTime startTime) {
  // The record lives only as long as the loop: nothing of it is left to free after a pass has
  // been ended by force.
  CAppSetting settings;
  bool firstPass = true;
  for (;;) {
    // A busy engine skips the whole turn, a pending reload included.
    if (!engine.IsRunning()) {
      if (m_bReload.exchange(0) != 0) m_system.ReloadSettings(settings);
      const QvTime delay = static_cast<QvTime>(settings.m_nTimerDelay) * 60;
      if (m_system.Now() - startTime > delay) {
        engine.StartPass(settings, firstPass);
        firstPass = false;
      }
    }
    if (!m_pCommandEvent->Wait(kTurnMilliseconds)) continue;
    if (HandleWakeUp()) return;
  }
}

bool CVorelService::HandleWakeUp() {
  while (m_dwCurrentState.load() == kServicePaused) {
    m_pAckEvent->Set();
    m_pCommandEvent->Wait(kWaitInfinite);
  }
  const std::uint32_t state = m_dwCurrentState.load();
  if (state == kServiceRunning) {
    // A continue brings the next turn forward.
    m_pAckEvent->Set();
    return false;
  }
  return state == kServiceStopPending;
}

CServiceEnd CVorelService::StopSequence(IServiceEngine& engine, std::uint32_t exitCode) {
  const QvTime begin = m_system.Now();
  bool endByForce = false;
  while (engine.IsRunning()) {
    if (m_system.Now() - begin > kStopGraceSeconds) {
      endByForce = true;
      break;
    }
    // The wait ends early when the pass does; a busy flag that outlives its thread still waits
    // the whole poll, so that this never spins.
    if (engine.WaitForPass(kStopPollMilliseconds) && engine.IsRunning()) {
      m_system.Sleep(kStopPollMilliseconds);
    }
    std::lock_guard<std::mutex> lock(m_statusMutex);
    ++m_dwCheckPoint;
    ReportLocked(0);
  }
  // The line goes out before the pass is ended by force: writing it may allocate, and the
  // killed thread may hold the heap.
  m_system.DebugOutput(kStoppedLine);
  if (endByForce) engine.EndPassByForce();
  {
    std::lock_guard<std::mutex> lock(m_statusMutex);
    m_dwCurrentState.store(kServiceStopped);
    ReportLocked(exitCode);
  }
  // Nothing may be freed or run down after a forced end, not even by the program's exit.
  if (endByForce) m_system.EndProcess();
  // A handler that still waits for the loop is let go.
  m_pAckEvent->Set();
  return exitCode == 0 ? CServiceEnd::kStopped : CServiceEnd::kLoopFailed;
}

void CVorelService::ServiceCtrlHandler(std::uint32_t control) {
  switch (control) {
    case kControlStop:
      // Answered at once; the loop runs the stop sequence and reports its progress and end.
      if (BeginStop()) {
        m_system.DebugOutput(kStopLine);
        m_pCommandEvent->Set();
        return;
      }
      break;
    case kControlPause:
      Command(kPauseLine, kServicePaused);
      break;
    case kControlContinue:
      Command(kContinueLine, kServiceRunning);
      break;
    case kControlInterrogate:
      // The settings file has changed; the loop reads it at its next idle turn.
      m_bReload.store(1);
      break;
    default:
      break;
  }
  ReportCurrentStatus();
}

void CVorelService::Command(const char* line, std::uint32_t state) {
  {
    std::lock_guard<std::mutex> lock(m_statusMutex);
    if (!IsRunningOrPaused(m_dwCurrentState.load())) return;
    m_system.DebugOutput(line);
    m_dwCurrentState.store(state);
  }
  m_pCommandEvent->Set();
  m_pAckEvent->Wait(kWaitInfinite);
}

bool CVorelService::BeginStop() {
  std::lock_guard<std::mutex> lock(m_statusMutex);
  if (!IsRunningOrPaused(m_dwCurrentState.load())) return false;
  m_dwCurrentState.store(kServiceStopPending);
  m_dwCheckPoint = 1;
  ReportLocked(0);
  return true;
}

void CVorelService::ReportCurrentStatus() {
  std::lock_guard<std::mutex> lock(m_statusMutex);
  ReportLocked(0);
}

void CVorelService::ReportLocked(std::uint32_t exitCode) {
  const std::uint32_t state = m_dwCurrentState.load();
  if (state != kServiceStopPending) {
    m_system.ReportStatus(MakeServiceStatus(state, exitCode));
    return;
  }
  m_system.ReportStatus(
      MakeServiceStatus(state, exitCode, m_dwCheckPoint, kStopWaitHintMilliseconds));
}
