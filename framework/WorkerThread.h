// A worker thread that owns its handle. Workers never touch a window: they post to one.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/Handles.h"

namespace qv {

class CWorkerThread {
 public:
  CWorkerThread() = default;
  // Waits for the thread: tell it to stop before the owner goes.
  ~CWorkerThread();
  CWorkerThread(const CWorkerThread&) = delete;
  CWorkerThread& operator=(const CWorkerThread&) = delete;

  // Starts the body on a new thread; false when one runs already or it cannot start.
  bool Start(std::function<void()> body);
  // True when the thread has ended (or never started) within the time.
  bool Wait(DWORD milliseconds) const;
  bool Running() const { return m_thread && !Wait(0); }
  HANDLE Handle() const { return m_thread.Get(); }
  DWORD Id() const { return m_nThreadId; }

 private:
  static unsigned __stdcall Entry(void* parameter);

  std::function<void()> m_body;
  UniqueHandle m_thread;
  DWORD m_nThreadId = 0;
};

}  // namespace qv
