#include "engine/StdPassThread.h"

#include <chrono>

CStdPassThread::CStdPassThread(std::function<void()> body)
    : m_thread([this, body = std::move(body)] {
        body();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bEnded = true;
        m_ended.notify_all();
      }) {}

CStdPassThread::~CStdPassThread() {
  if (m_thread.joinable()) m_thread.join();
}

bool CStdPassThread::Wait(std::uint32_t milliseconds) {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_ended.wait_for(lock, std::chrono::milliseconds(milliseconds),
                          [this] { return m_bEnded; });
}
