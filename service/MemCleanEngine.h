// The cleaning engine of QuorvelL behind the service's engine interface.
#pragma once

#include "engine/MemClean.h"
#include "service/ServiceRoutine.h"

class CMemCleanServiceEngine final : public IServiceEngine {
 public:
  explicit CMemCleanServiceEngine(CMemClean& clean) : m_clean(clean) {}

  bool IsRunning() override;
  void StartPass(const CAppSetting& settings, bool startup) override;
  bool WaitForPass(std::uint32_t milliseconds) override;
  void EndPassByForce() override;

 private:
  CMemClean& m_clean;
};
