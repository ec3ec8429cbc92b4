#include "engine/MemClean.h"

#include <iterator>
#include <utility>

#include "engine/Conditions.h"
#include "engine/LogText.h"
#include "engine/ServiceLog.h"

CLogLines::CLogLines() = default;
CLogLines::~CLogLines() = default;

void CLogLines::PopFront() {
  m_nBytes -= m_lines.front().size() + 2;
  m_lines.pop_front();
}

void CLogLines::Add(std::string line, std::uint64_t limitBytes) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_nBytes += line.size() + 2;
  m_lines.push_back(std::move(line));
  if (m_nBytes <= limitBytes) return;
  if (m_nDropped > 0) PopFront();  // the old notice; one with the new count takes its place
  constexpr std::uint64_t kNoticeRoom = 64;
  while (m_lines.size() > 1 && m_nBytes + kNoticeRoom > limitBytes) {
    PopFront();
    ++m_nDropped;
  }
  std::string notice = logtext::LinesDropped(m_nDropped);
  m_nBytes += notice.size() + 2;
  m_lines.push_front(std::move(notice));
}

std::vector<std::string> CLogLines::TakeAll() {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<std::string> taken(std::make_move_iterator(m_lines.begin()),
                                 std::make_move_iterator(m_lines.end()));
  // Gives the storage back, as an emptied list should.
  std::deque<std::string>().swap(m_lines);
  m_nBytes = 0;
  m_nDropped = 0;
  return taken;
}

std::vector<std::string> CLogLines::Copy() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return {m_lines.begin(), m_lines.end()};
}

void CLogLines::RemoveFirst(std::size_t count) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (count == 0) return;
  m_nDropped = 0;  // the notice, if any, was the first line
  if (count >= m_lines.size()) {
    std::deque<std::string>().swap(m_lines);
    m_nBytes = 0;
    return;
  }
  while (count-- > 0) PopFront();
}

std::size_t CLogLines::GetCount() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_lines.size();
}

CMemClean::CMemClean() : CMemClean(SystemEnginePlatform()) {}

CMemClean::CMemClean(const CEnginePlatform& platform)
    : m_bTimerMode(0),
      m_bServiceMode(0),
      m_bOptimizeWholeMemory(0),
      m_bOptimizeWorkingSet(0),
      m_bRunning(0),
      m_bStartup(0),
      m_nWorkingSetCpuLoadLimit(100),
      m_nWholeMemoryCpuLoadLimit(100),
      m_platform(platform) {}

CMemClean::~CMemClean() = default;

void CMemClean::AddLog(std::string line) {
  m_aLog.Add(std::move(line), PendingLogLimitBytes(m_appSetting.m_nLogSizeLimit));
  m_platform.system->PostNotify();
}

void CMemClean::Notify() {
  if (!m_bServiceMode) m_platform.system->SendNotify();
}

void CMemClean::Report(std::string line) {
  AddLog(std::move(line));
  Notify();
}

int CMemClean::ShowInfo() {
  const CMemoryStatus status = m_platform.system->MemoryStatus();
  AddLog(logtext::MemoryLoadLine(status.memoryLoad));
  AddLog(logtext::TotalPhysLine(status.totalPhys));
  AddLog(logtext::AvailPhysLine(status.availPhys));
  AddLog(logtext::TotalPageFileLine(status.totalPageFile));
  AddLog(logtext::AvailPageFileLine(status.availPageFile));
  return 1;
}

int CMemClean::ReferModeSetting() {
  IEngineSystem& system = *m_platform.system;
  const std::uint32_t memoryLoad = system.MemoryStatus().memoryLoad;
  const CLocalTime now = system.LocalTime(system.Now());
  const CConditionOutcome outcome =
      EvaluateConditions(m_appSetting.m_aOperationTime, now, memoryLoad, m_bStartup != 0);
  m_bOptimizeWorkingSet = outcome.optimizeWorkingSet;
  m_bOptimizeWholeMemory = outcome.optimizeWholeMemory;
  m_nWorkingSetCpuLoadLimit = outcome.workingSetCpuLoadLimit;
  m_nWholeMemoryCpuLoadLimit = outcome.wholeMemoryCpuLoadLimit;
  return outcome.matched;
}

int CMemClean::CleanUp() {
  IEngineSystem& system = *m_platform.system;
  if (m_bTimerMode || m_bServiceMode) {
    if (!ReferModeSetting()) return 0;
    const QvTime start = system.Now();
    Report(logtext::kConditionPassStart + logtext::FormatTime(system.LocalTime(start)));
    // Strict: a pass exactly m_nInterval minutes after the last one runs. A last pass in the
    // future (the clock was set back) counts as long ago, or every pass would wait for the clock.
    const QvTime elapsed = start - m_appSetting.m_timeLastExecute;
    if (elapsed >= 0 && elapsed < QvTime{m_appSetting.m_nInterval} * 60) {
      AddLog(logtext::kIntervalRefusal);
      return 0;
    }
    int load = 0;
    if (m_nWorkingSetCpuLoadLimit < 100 || m_nWholeMemoryCpuLoadLimit < 100) {
      load = GetCpuLoad();
      Report(logtext::CpuLoad(load));
    }
    for (const std::int32_t limit : {m_nWorkingSetCpuLoadLimit, m_nWholeMemoryCpuLoadLimit}) {
      if (load > limit) {
        Report(logtext::CpuLoadRefusal(load, limit));
        return 0;
      }
    }
    m_appSetting.m_timeLastExecute = start;
  } else {
    Report(logtext::kManualPassStart + logtext::FormatTime(system.LocalTime(system.Now())));
  }

  ShowInfo();
  if (m_bOptimizeWorkingSet) {
    Report(logtext::kWorkingSetStart);
    const int trimmed = OptimizeWorkingSet(1);
    Report(trimmed ? logtext::kWorkingSetSuccess : logtext::kWorkingSetFailure);
    ShowInfo();
  }
  if (m_bOptimizeWholeMemory) {
    Report(logtext::kWholeMemoryStart);
    const int released = OptimizeWholeMemory(1);
    Report(released ? logtext::kWholeMemorySuccess : logtext::kWholeMemoryFailure);
    ShowInfo();
  }
  Report(logtext::kPassEnd + logtext::FormatTime(system.LocalTime(system.Now())));
  return 1;
}

void CMemClean::RunPassThread() {
  IEngineSystem& system = *m_platform.system;
  m_bRunning = 1;
  try {
    if (CleanUp() && m_bServiceMode) {
      // The window program may hold the log file open: retry ten more times, 500 ms apart.
      // After the last failure the lines stay for the next completed pass.
      constexpr int kRetries = 10;
      for (int attempt = 0; !WriteServiceLog(this) && attempt < kRetries; ++attempt) {
        system.Sleep(500);
      }
    }
    Notify();
  } catch (...) {
    // Out of memory inside a pass ends the pass; the owner sees the engine idle again.
  }
  system.TrimOwnWorkingSet();
  m_bRunning = 0;
  // The last notify came while the pass still counted as running: wake the owner once more, or
  // its commands stay disabled until some other message arrives.
  system.PostNotify();
}

bool CMemClean::WaitForPass(std::uint32_t milliseconds) {
  return !m_pThread || m_pThread->Wait(milliseconds);
}

void CMemClean::TerminatePass() {
  if (!m_pThread) return;
  m_pThread->Terminate();
  // The killed thread may have held the heap's lock: the thread object is left, not freed.
  m_pThread.release();
  m_bRunning = 0;
}

int CMemClean::StartPass() {
  // Marked busy before the thread exists, so that an owner that tests the flag right after
  // this call never starts a second pass.
  m_bRunning = 1;
  try {
    std::unique_ptr<IPassThread> thread =
        m_platform.system->StartThread([this] { RunPassThread(); });
    if (thread) {
      m_pThread = std::move(thread);
      return 1;
    }
  } catch (...) {
  }
  m_bRunning = 0;
  return 0;
}

int DoCleanUp(CMemClean* clean) {
  return clean ? clean->StartPass() : 0;
}
