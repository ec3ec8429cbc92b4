#include "framework/WorkerThread.h"

#include <process.h>

#include "framework/WindowBase.h"

namespace qv {

CWorkerThread::~CWorkerThread() {
  Wait(INFINITE);
}

bool CWorkerThread::Start(std::function<void()> body) {
  if (Running()) return false;
  m_body = std::move(body);
  unsigned id = 0;
  m_thread.Reset(
      reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, &CWorkerThread::Entry, this, 0, &id)));
  m_nThreadId = id;
  return static_cast<bool>(m_thread);
}

bool CWorkerThread::Wait(DWORD milliseconds) const {
  if (!m_thread) return true;
  return ::WaitForSingleObject(m_thread.Get(), milliseconds) == WAIT_OBJECT_0;
}

unsigned __stdcall CWorkerThread::Entry(void* parameter) {
  try {
    static_cast<CWorkerThread*>(parameter)->m_body();
    return 0;
  } catch (...) {
    ReportCallbackFailure("worker thread");
  }
  return 1;
}

}  // namespace qv
