// The cleaning engine: one object per owner (the window program's frame, the service), which
// runs one cleaning pass at a time on a worker thread of its own.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "QuorvelLExport.h"
#include "engine/EngineSystem.h"
#include "settings/AppSetting.h"

// The log lines a pass has written and nobody has taken yet, in the order of writing. The
// pass thread appends; the owner's thread takes them away. Every access holds the lock.
class QUORVELL_EXPORT CLogLines {
 public:
  CLogLines();
  ~CLogLines();
  CLogLines(const CLogLines&) = delete;
  CLogLines& operator=(const CLogLines&) = delete;

  // Appends the line. When the lines (as the log file holds them, CR LF included) grow past
  // limitBytes, the oldest go, and the first line says how many went since the list was taken.
  // The newest line always stays.
  void Add(std::string line, std::uint64_t limitBytes);
  // All pending lines at once, oldest first; the list is empty afterwards.
  std::vector<std::string> TakeAll();
  // A copy of the pending lines, which stay.
  std::vector<std::string> Copy() const;
  // Drops the oldest count lines (those that have been written elsewhere).
  void RemoveFirst(std::size_t count);
  std::size_t GetCount() const;
  bool IsEmpty() const { return GetCount() == 0; }

 private:
  void PopFront();

  mutable std::mutex m_mutex;
  std::deque<std::string> m_lines;
  std::uint64_t m_nBytes = 0;
  std::size_t m_nDropped = 0;  // non-zero: the first line is the notice of the dropped lines
};

class CMemClean;

// Starts one pass of the engine on its own thread and returns at once. 0 for a null engine
// (or when no thread can be started), else 1.
extern "C" QUORVELL_EXPORT int DoCleanUp(CMemClean* clean);

class QUORVELL_EXPORT CMemClean {
 public:
  // The engine on the platform the library runs on.
  CMemClean();
  // The engine on the given platform (tests pass fakes).
  explicit CMemClean(const CEnginePlatform& platform);
  CMemClean(const CMemClean&) = delete;
  CMemClean& operator=(const CMemClean&) = delete;
  // Neither waits for nor stops a running pass; the owner does that.
  virtual ~CMemClean();

  // One pass; called by the pass thread. 1 when it ran to its end, 0 when it was refused.
  int CleanUp();
  // Five lines on the memory state. Always 1.
  int ShowInfo();
  // Appends the line and prompts the window program, if there is one.
  void AddLog(std::string line);
  // Processor load of the machine over about ten seconds, in percent; -1 when unsupported.
  int GetCpuLoad();
  // Empties the working set of every process. Non-zero when the process list could be taken.
  int OptimizeWorkingSet(int bLog);
  // Commits, zero-fills and releases a block of the release level's share of physical memory.
  int OptimizeWholeMemory(int bLog);

  // Starts a pass on a thread of its own (DoCleanUp of this engine).
  int StartPass();
  // Ends the pass thread by force (exit code -1) and lets go of it. The log list may be left as
  // the killed thread had it: owners end after this.
  void TerminatePass();
  // True when no pass thread runs any more after waiting up to the given time.
  bool WaitForPass(std::uint32_t milliseconds);
  const CEnginePlatform& Platform() const { return m_platform; }

  std::int32_t m_bTimerMode;
  std::int32_t m_bServiceMode;
  CLogLines m_aLog;
  std::int32_t m_bOptimizeWholeMemory;
  std::int32_t m_bOptimizeWorkingSet;
  CAppSetting m_appSetting;
  std::atomic<std::int32_t> m_bRunning;
  std::int32_t m_bStartup;
  std::unique_ptr<IPassThread> m_pThread;
  std::int32_t m_nWorkingSetCpuLoadLimit;
  std::int32_t m_nWholeMemoryCpuLoadLimit;

 protected:
  // 1 when at least one condition matches now; selects the operations and their CPU limits.
  int ReferModeSetting();

 private:
  // The synchronous message 874 of a window-program pass.
  void Notify();
  // AddLog followed by Notify.
  void Report(std::string line);
  void RunPassThread();

  CEnginePlatform m_platform;
};

// Appends the engine's pending lines to the service log file "SVC\vorel.log" beside the
// program, trimmed to the size limit. 1 when written; 0 for a null engine or when the file
// cannot be opened or written (the lines stay).
QUORVELL_EXPORT int WriteServiceLog(CMemClean* clean);
