// A pass thread on std::thread, for platforms without a thread handle that can be ended by
// force (the native build and its tests).
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/EngineSystem.h"

class CStdPassThread final : public IPassThread {
 public:
  explicit CStdPassThread(std::function<void()> body);
  // Joins: the body may still use the engine that owns this thread.
  ~CStdPassThread() override;

  bool Wait(std::uint32_t milliseconds) override;
  // std::thread cannot be ended by force; this only stops waiting for it.
  void Terminate() override {}

 private:
  std::mutex m_mutex;
  std::condition_variable m_ended;
  bool m_bEnded = false;
  std::thread m_thread;
};
