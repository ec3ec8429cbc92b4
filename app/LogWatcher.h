// Watches the service's folder while the program is in service mode: every change of a file's
// last-write time there (the service appending to its log) is passed on to the window thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "framework/Handles.h"
#include "framework/WorkerThread.h"

class CLogWatcher {
 public:
  // How long the watcher waits before it tries again to watch a folder it could not watch.
  static constexpr DWORD kRetryMilliseconds = 3000;
  // How long a stop waits for the thread before it ends it by force.
  static constexpr DWORD kStopMilliseconds = 2000;

  CLogWatcher() = default;
  ~CLogWatcher() { StopLogWatcher(); }
  CLogWatcher(const CLogWatcher&) = delete;
  CLogWatcher& operator=(const CLogWatcher&) = delete;

  // Starts watching directory (code page 932); a watcher that runs already is stopped and
  // replaced. onChange runs on the watcher's thread: it may only post to a window.
  bool StartLogWatcher(const std::string& directory, std::function<void()> onChange);
  // Stops the watcher, if one runs, within kStopMilliseconds.
  void StopLogWatcher();

  bool IsRunning() const { return m_pThread != nullptr; }
  // The watcher's thread, for measuring what it costs; null when none runs.
  HANDLE ThreadHandle() const { return m_pThread ? m_pThread->Handle() : nullptr; }

 private:
  void LogWatcherThreadProc();

  qv::UniqueHandle m_hStopEvent;
  std::atomic<bool> m_bStop{false};
  std::wstring m_strDirectory;
  std::function<void()> m_onChange;
  std::unique_ptr<qv::CWorkerThread> m_pThread;
};
