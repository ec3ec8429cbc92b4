// The platform's own engine system with single parts replaced by the test: everything not
// overridden goes to the real one.
#pragma once

#include "engine/EngineSystem.h"

namespace qvtest {

class DelegatingEngineSystem : public IEngineSystem {
 public:
  explicit DelegatingEngineSystem(IEngineSystem& base) : m_base(base) {}

  QvTime Now() override { return m_base.Now(); }
  CLocalTime LocalTime(QvTime time) override { return m_base.LocalTime(time); }
  void Sleep(std::uint32_t milliseconds) override { m_base.Sleep(milliseconds); }
  CMemoryStatus MemoryStatus() override { return m_base.MemoryStatus(); }
  void PostNotify() override { m_base.PostNotify(); }
  void SendNotify() override { m_base.SendNotify(); }
  void TrimOwnWorkingSet() override { m_base.TrimOwnWorkingSet(); }
  std::unique_ptr<IPassThread> StartThread(std::function<void()> body) override {
    return m_base.StartThread(std::move(body));
  }
  std::string ApplicationPath() override { return m_base.ApplicationPath(); }
  bool Exists(const std::string& path) override { return m_base.Exists(path); }
  void MakeDirectory(const std::string& path) override { m_base.MakeDirectory(path); }
  std::unique_ptr<IExclusiveFile> OpenExclusive(const std::string& path) override {
    return m_base.OpenExclusive(path);
  }

 private:
  IEngineSystem& m_base;
};

}  // namespace qvtest
