// The seam between the cleaning engine and the system it runs on: clock, memory status, the
// window program's notification, the own process, the pass thread and the service log file.
// The library's default calls Win32; tests pass fakes that fail on purpose.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "QuorvelLExport.h"
#include "settings/AppSetting.h"

// Memory status in bytes; 64-bit so that machines with more than 4 GB are shown right.
struct CMemoryStatus {
  std::uint32_t memoryLoad = 0;  // percent
  std::uint64_t totalPhys = 0;
  std::uint64_t availPhys = 0;
  std::uint64_t totalPageFile = 0;
  std::uint64_t availPageFile = 0;
};

// A time broken down in local time, as conditions are matched and log lines stamped.
struct CLocalTime {
  int year = 2000;
  int month = 1;    // 1-12
  int day = 1;      // 1-31
  int weekday = 6;  // 0 = Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The breakdown of the C library's local time.
QUORVELL_EXPORT CLocalTime LocalTimeOf(const std::tm& local);

// The thread of one pass, owned by the engine for as long as anyone may use it.
class QUORVELL_EXPORT IPassThread {
 public:
  virtual ~IPassThread();
  // True when the thread has ended within the time (0: just look).
  virtual bool Wait(std::uint32_t milliseconds) = 0;
  // Ends the thread by force, exit code -1. Whatever it held stays held.
  virtual void Terminate() = 0;
};

// A plain file opened for reading and writing without sharing.
class QUORVELL_EXPORT IExclusiveFile {
 public:
  virtual ~IExclusiveFile();
  virtual bool Size(std::uint64_t& size) = 0;
  virtual bool ReadAt(std::uint64_t offset, std::size_t length, std::string& bytes) = 0;
  virtual bool WriteAt(std::uint64_t offset, const std::string& bytes) = 0;
};

class QUORVELL_EXPORT IEngineSystem {
 public:
  virtual ~IEngineSystem();

  // Seconds since 1970, one-second resolution, and its local breakdown.
  virtual QvTime Now() = 0;
  virtual CLocalTime LocalTime(QvTime time) = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  virtual CMemoryStatus MemoryStatus() = 0;

  // Message 874 to the registered main window: posted after every line, sent (and waited
  // for) at every notify. Nothing happens when no window is registered.
  virtual void PostNotify() = 0;
  virtual void SendNotify() = 0;
  // Empties the working set of the own process.
  virtual void TrimOwnWorkingSet() = 0;
  // Null when the thread cannot be started.
  virtual std::unique_ptr<IPassThread> StartThread(std::function<void()> body) = 0;

  // The service log: the directory of the running program, a find-first on a path, the
  // service folder made writable by administrators and the system only, and the exclusive open
  // (created when missing; null when another program holds it, and when the path is a link or
  // anything but a plain file: the service may run with rights that a planted link must not
  // borrow).
  virtual std::string ApplicationPath() = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual void MakeDirectory(const std::string& path) = 0;
  virtual std::unique_ptr<IExclusiveFile> OpenExclusive(const std::string& path) = 0;
  // Puts a file of these bytes in place of path in one step, written beside it first; on
  // failure path is left as it was.
  virtual bool ReplaceFile(const std::string& path, const std::string& bytes) = 0;
};

class IProcessSystem;
class IVirtualMemory;
class IPerformanceData;

// Everything the engine reaches outside itself.
struct CEnginePlatform {
  IEngineSystem* system;
  IProcessSystem* processes;
  IVirtualMemory* memory;
  IPerformanceData* performance;
};

// The platform the library runs on (Win32 in QuorvelL.dll).
QUORVELL_EXPORT CEnginePlatform SystemEnginePlatform();

// The window program registers its main window here, so that passes can prompt it with
// message 874; a service registers none. Null unregisters.
extern "C" QUORVELL_EXPORT void SetEngineNotifyWindow(void* window);
