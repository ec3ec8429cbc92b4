#include "app/LogWatcher.h"

#include "framework/Cp932.h"

bool CLogWatcher::StartLogWatcher(const std::string& directory, std::function<void()> onChange) {
  StopLogWatcher();
  m_hStopEvent.Reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!m_hStopEvent) return false;
  m_strDirectory = qv::Cp932ToWide(directory);
  m_onChange = std::move(onChange);
  m_bStop = false;
  auto thread = std::make_unique<qv::CWorkerThread>();
  if (!thread->Start([this] { LogWatcherThreadProc(); })) return false;
  m_pThread = std::move(thread);
  return true;
}

void CLogWatcher::StopLogWatcher() {
  if (!m_pThread) return;
  m_bStop = true;
  ::SetEvent(m_hStopEvent.Get());
  if (!m_pThread->Wait(kStopMilliseconds)) ::TerminateThread(m_pThread->Handle(), 0xFFFFFFFF);
  m_pThread.reset();
}

void CLogWatcher::LogWatcherThreadProc() {
  qv::UniqueFile change;
  while (!m_bStop) {
    if (!change) {
      change.Reset(::FindFirstChangeNotificationW(m_strDirectory.c_str(), FALSE,
                                                  FILE_NOTIFY_CHANGE_LAST_WRITE));
    }
    if (!change) {
      // The folder is missing or cannot be watched: try again later, never spin.
      ::WaitForSingleObject(m_hStopEvent.Get(), kRetryMilliseconds);
      continue;
    }
    const HANDLE handles[] = {m_hStopEvent.Get(), change.Get()};
    const DWORD woken = ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (m_bStop) break;
    if (woken == WAIT_OBJECT_0 + 1 && m_onChange) m_onChange();
    if (woken != WAIT_OBJECT_0 + 1 || !::FindNextChangeNotification(change.Get())) {
      change.Reset();  // set up afresh, after the pause above
      ::WaitForSingleObject(m_hStopEvent.Get(), kRetryMilliseconds);
    }
  }
}
