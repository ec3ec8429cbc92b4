#include "service/MemCleanEngine.h"

bool CMemCleanServiceEngine::IsRunning() {
  return m_clean.m_bRunning.load() != 0;
}

void CMemCleanServiceEngine::StartPass(const CAppSetting& settings, bool startup) {
  m_clean.m_appSetting = settings;
  m_clean.m_bServiceMode = 1;
  m_clean.m_bStartup = startup ? 1 : 0;
  DoCleanUp(&m_clean);
}

bool CMemCleanServiceEngine::WaitForPass(std::uint32_t milliseconds) {
  m_clean.WaitForPass(milliseconds);
  return !IsRunning();
}

void CMemCleanServiceEngine::EndPassByForce() {
  m_clean.TerminatePass();
}
