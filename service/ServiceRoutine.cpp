#include "service/ServiceRoutine.h"

namespace {
constexpr std::uint32_t kOwnProcess = 0x10;
constexpr std::uint32_t kAcceptStopPauseContinue = 3;
// Reported when an event cannot be created and the platform gave no reason.
constexpr std::uint32_t kUnknownFailure =
    31;  // "a device attached to the system is not functioning"
}  // namespace

CServiceStatus MakeServiceStatus(std::uint32_t state, std::uint32_t win32ExitCode) {
  return CServiceStatus{kOwnProcess, state, kAcceptStopPauseContinue, win32ExitCode, 0, 0, 0};
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
    m_dwCurrentState.store(kServiceStopped);
    m_system.ReportStatus(MakeServiceStatus(kServiceStopped, error ? error : kUnknownFailure));
    return CServiceEnd::kEventsFailed;
  }

  m_dwCurrentState.store(kServiceRunning);
  m_bLoopAnswers.store(true);
  ReportCurrentStatus();
  m_system.DebugOutput(kStartedLine);

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
    if (HandleWakeUp()) break;
  }
  return StopSequence(engine);
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
  return state == kServiceStopped;
}

CServiceEnd CVorelService::StopSequence(IServiceEngine& engine) {
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
  }
  // The line goes out before the pass is ended by force: writing it may allocate, and the
  // killed thread may hold the heap.
  m_system.DebugOutput(kStoppedLine);
  if (endByForce) engine.EndPassByForce();
  m_bLoopAnswers.store(false);
  m_pAckEvent->Set();
  return endByForce ? CServiceEnd::kPassEndedByForce : CServiceEnd::kStopped;
}

void CVorelService::ServiceCtrlHandler(std::uint32_t control) {
  switch (control) {
    case kControlStop:
      Command(kStopLine, kServiceStopped);
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
  if (!m_bLoopAnswers.load()) return;
  m_system.DebugOutput(line);
  m_dwCurrentState.store(state);
  m_pCommandEvent->Set();
  m_pAckEvent->Wait(kWaitInfinite);
}

void CVorelService::ReportCurrentStatus() {
  m_system.ReportStatus(MakeServiceStatus(m_dwCurrentState.load()));
}
