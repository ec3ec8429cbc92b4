// A system for the engine that tests steer: a clock that reads UTC as local time, a memory
// status, counted notifications, files in memory that can be held by "another program", and
// threads that run at once or for real.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/EngineSystem.h"
#include "engine/StdPassThread.h"

namespace qvtest {

// Seconds since 1970 of a UTC date and time.
inline QvTime TimeOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  const int y = year - (month <= 2);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t days = std::int64_t{era} * 146097 + doe - 719468;
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

inline CLocalTime BreakDown(QvTime time) {
  std::int64_t days = time / 86400;
  std::int64_t seconds = time % 86400;
  if (seconds < 0) {
    seconds += 86400;
    --days;
  }
  CLocalTime local;
  local.weekday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  local.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  local.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  local.year = static_cast<int>(yoe + era * 400 + (local.month <= 2));
  local.hour = static_cast<int>(seconds / 3600);
  local.minute = static_cast<int>(seconds / 60 % 60);
  local.second = static_cast<int>(seconds % 60);
  return local;
}

class FakeFile;

class FakeEngineSystem : public IEngineSystem {
 public:
  // Clock
  QvTime now = TimeOf(2026, 12, 7, 10, 15, 0);  // a Monday
  QvTime secondsPerClockRead = 0;               // the clock moves on by this at every read
  std::vector<std::uint32_t> sleeps;
  CMemoryStatus memory{54, 512ull << 20, 200ull << 20, 1024ull << 20, 800ull << 20};

  // Window program
  std::atomic<int> posts{0};
  std::atomic<int> sends{0};
  std::function<void()> onSend;
  std::atomic<int> ownTrims{0};
  bool realThreads = false;
  bool failThreadStart = false;

  // Service log
  std::string applicationPath = "C:\\Quorvel";
  std::set<std::string> directories;
  std::map<std::string, std::string> files;
  std::set<std::string> heldByOthers;  // opens of these paths fail
  int opens = 0;
  std::uint64_t bytesRead = 0;

  QvTime Now() override {
    const QvTime current = now;
    now += secondsPerClockRead;
    return current;
  }
  CLocalTime LocalTime(QvTime time) override { return BreakDown(time); }
  void Sleep(std::uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
  CMemoryStatus MemoryStatus() override { return memory; }
  void PostNotify() override { ++posts; }
  void SendNotify() override {
    ++sends;
    if (onSend) onSend();
  }
  void TrimOwnWorkingSet() override { ++ownTrims; }

  std::unique_ptr<IPassThread> StartThread(std::function<void()> body) override {
    if (failThreadStart) return nullptr;
    if (realThreads) return std::make_unique<CStdPassThread>(std::move(body));
    body();
    return std::make_unique<EndedThread>();
  }

  std::string ApplicationPath() override { return applicationPath; }
  bool Exists(const std::string& path) override {
    return directories.count(path) > 0 || files.count(path) > 0;
  }
  void MakeDirectory(const std::string& path) override { directories.insert(path); }
  std::unique_ptr<IExclusiveFile> OpenExclusive(const std::string& path) override;

 private:
  class EndedThread final : public IPassThread {
   public:
    bool Wait(std::uint32_t) override { return true; }
    void Terminate() override {}
  };
};

// A file of FakeEngineSystem::files, open without sharing.
class FakeFile final : public IExclusiveFile {
 public:
  FakeFile(std::string& bytes, std::uint64_t& bytesRead) : m_bytes(bytes), m_bytesRead(bytesRead) {}

  bool Size(std::uint64_t& size) override {
    size = m_bytes.size();
    return true;
  }
  bool ReadAt(std::uint64_t offset, std::size_t length, std::string& bytes) override {
    if (offset + length > m_bytes.size()) return false;
    bytes = m_bytes.substr(static_cast<std::size_t>(offset), length);
    m_bytesRead += length;
    return true;
  }
  bool SetLength(std::uint64_t length) override {
    m_bytes.resize(static_cast<std::size_t>(length));
    return true;
  }
  bool WriteAt(std::uint64_t offset, const std::string& bytes) override {
    const auto at = static_cast<std::size_t>(offset);
    if (m_bytes.size() < at + bytes.size()) m_bytes.resize(at + bytes.size());
    m_bytes.replace(at, bytes.size(), bytes);
    return true;
  }

 private:
  std::string& m_bytes;
  std::uint64_t& m_bytesRead;
};

inline std::unique_ptr<IExclusiveFile> FakeEngineSystem::OpenExclusive(const std::string& path) {
  ++opens;
  if (heldByOthers.count(path)) return nullptr;
  const std::string directory = path.substr(0, path.rfind('\\'));
  if (!directories.count(directory)) return nullptr;
  return std::make_unique<FakeFile>(files[path], bytesRead);
}

}  // namespace qvtest
