// One fake of the engine's four seams: system (UTC clock), processes, memory, performance data.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/EngineSystem.h"
#include "engine/PerformanceData.h"
#include "engine/ProcessSystem.h"
#include "engine/StdPassThread.h"
#include "engine/VirtualMemory.h"
#include "support/SettingsFiles.h"

namespace qvtest {

// Seconds since 1970 of a UTC date and time (days past the month's end roll over), and back.
inline QvTime TimeOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  const int y = year - (month <= 2 ? 1 : 0);  // years from 1 March of year 0, in 400-year eras
  const int era = y / 400, yearOfEra = y % 400;
  const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const QvTime days =
      era * 146097LL + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
  return ((days * 24 + hour) * 60 + minute) * 60 + second;
}

// With the reentrant calls: passes may read the clock on threads of their own.
inline CLocalTime BreakDown(QvTime time) {
  std::tm t{};
#ifdef _WIN32
  const __time64_t value = time;
  _gmtime64_s(&t, &value);
#else
  const std::time_t value = static_cast<std::time_t>(time);
  gmtime_r(&value, &t);
#endif
  return LocalTimeOf(t);
}

struct FakeProcess {
  std::uint32_t id = 0;
  std::string name;
  std::uint64_t before = 100 * 1024 + 1023;  // working set in bytes before and after the trim
  std::uint64_t after = 10 * 1024;
  bool opens = true, trims = true;
  bool countersBefore = true, countersAfter = true;
};

// A performance object: two other counters, then the one sought, without instances or with them.
struct PerfObject {
  std::int32_t titleIndex, counterIndex;
  std::int64_t value;
  std::vector<std::pair<std::u16string, std::int64_t>> instances;
};

inline std::string Int64Bytes(std::int64_t value) {
  return Int32Bytes({static_cast<std::int32_t>(value), static_cast<std::int32_t>(value >> 32)});
}

// A performance data block in the system's published layout, as the registry returns it.
inline std::string PerfBlock(std::int64_t time100ns, const std::vector<PerfObject>& objects) {
  auto counters = [](std::int64_t value) {  // block length, two other values, the one sought
    return Int32Bytes({32, 0}) + Int64Bytes(1000) + Int64Bytes(1001) + Int64Bytes(value);
  };
  std::string block =
      Int32Bytes({0, 0, 0, 0, 0, 0, 88, static_cast<std::int32_t>(objects.size())}) +
      std::string(40, '\0') + Int64Bytes(time100ns) + std::string(8, '\0');
  for (const PerfObject& o : objects) {
    std::string data = o.instances.empty() ? counters(o.value) : "";
    for (const auto& [name, value] : o.instances) {
      std::string utf16;
      for (char16_t c : name + u'\0') utf16 += {static_cast<char>(c), static_cast<char>(c >> 8)};
      utf16.resize((utf16.size() + 7) / 8 * 8, '\0');
      data += Int32Bytes({static_cast<std::int32_t>(24 + utf16.size()), 0, 0, 0, 24, 0}) + utf16 +
              counters(value);
    }
    // Lengths of the whole object and of its definitions, the header's length, three counters.
    const auto instances = static_cast<std::int32_t>(o.instances.size());
    block += Int32Bytes({static_cast<std::int32_t>(184 + data.size()), 184, 64, o.titleIndex, 0, 0,
                         0, 0, 3, 0, instances ? instances : -1, 0, 0, 0, 0, 0});
    for (std::int32_t i = 0; i < 3; ++i) {
      block += Int32Bytes({40, i == 2 ? o.counterIndex : 9000 + i, 0, 0, 0, 0, 0, 0, 0, 8 + 8 * i});
    }
    block += data;
  }
  return block;
}

class FakePlatform : public IEngineSystem,
                     public IProcessSystem,
                     public IVirtualMemory,
                     public IPerformanceData {
 public:
  CEnginePlatform Platform() { return {this, this, this, this}; }

  // The system.
  QvTime now = TimeOf(2026, 12, 7, 10, 15, 0);  // a Monday
  QvTime secondsPerClockRead = 0;               // the clock moves on by this at every read
  std::vector<std::uint32_t> sleeps;
  CMemoryStatus memory{54, 512ull << 20, 200ull << 20, 1024ull << 20, 800ull << 20};
  std::atomic<int> posts{0}, sends{0}, ownTrims{0};
  std::function<void()> onSend, onPost;
  bool realThreads = false, failThreadStart = false;
  std::set<std::string> directories;
  std::map<std::string, std::string> files;
  std::set<std::string> heldByOthers;  // opens of these paths fail
  bool failWrites = false;             // the disk is full
  int opens = 0;
  std::uint64_t bytesRead = 0;

  QvTime Now() override { return std::exchange(now, now + secondsPerClockRead); }
  CLocalTime LocalTime(QvTime time) override { return BreakDown(time); }
  void Sleep(std::uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
  CMemoryStatus MemoryStatus() override { return memory; }
  void PostNotify() override {
    ++posts;
    if (onPost) onPost();
  }
  void SendNotify() override {
    ++sends;
    if (onSend) onSend();
  }
  void TrimOwnWorkingSet() override { ++ownTrims; }

  std::unique_ptr<IPassThread> StartThread(std::function<void()> body) override {
    if (failThreadStart) return nullptr;
    if (realThreads) return std::make_unique<CStdPassThread>(std::move(body));
    body();  // then an ended thread
    struct Ended final : IPassThread {
      bool Wait(std::uint32_t) override { return true; }
      void Terminate() override {}
    };
    return std::make_unique<Ended>();
  }

  std::string ApplicationPath() override { return "C:\\Quorvel"; }
  bool Exists(const std::string& path) override {
    return directories.count(path) > 0 || files.count(path) > 0;
  }
  void MakeDirectory(const std::string& path) override { directories.insert(path); }
  std::unique_ptr<IExclusiveFile> OpenExclusive(const std::string& path) override {
    ++opens;
    const std::string folder = path.substr(0, path.rfind('\\'));
    if (heldByOthers.count(path) || !directories.count(folder)) return nullptr;
    return std::make_unique<File>(*this, files[path]);
  }
  bool ReplaceFile(const std::string& path, const std::string& bytes) override {
    if (!failWrites) files[path] = bytes;
    return !failWrites;
  }

  // The processes.
  bool tokenOpens = true, privilegeEnabled = true, snapshotTaken = true;
  std::vector<FakeProcess> processes;
  std::vector<std::uint32_t> opened, trimmed;  // ids, in the order opened and trimmed
  std::vector<std::string> privilegesAsked;

  std::unique_ptr<IAccessToken> OpenOwnToken() override {
    return tokenOpens ? std::make_unique<Token>(*this) : nullptr;
  }
  bool TakeProcessSnapshot(std::vector<CProcessEntry>& entries) override {
    for (const FakeProcess& p : processes) entries.push_back({p.id, p.name});
    return snapshotTaken;
  }
  std::unique_ptr<IProcessHandle> OpenProcess(std::uint32_t id) override {
    opened.push_back(id);
    for (const FakeProcess& p : processes) {
      if (p.id == id && p.opens) return std::make_unique<Handle>(*this, p);
    }
    return nullptr;
  }

  // Virtual memory: commits succeed up to a size, in real memory so that the fill can be checked.
  std::uint64_t largestCommit = 1u << 20;
  bool decommits = true, releases = true;
  std::vector<std::pair<std::uint64_t, bool>> attempts;  // size, top-down
  int releaseCalls = 0;
  bool filledWithZeros = false;

  void* Commit(std::uint64_t size, bool topDown) override {
    attempts.push_back({size, topDown});
    if (size == 0 || size > largestCommit) return nullptr;
    m_block.assign(static_cast<std::size_t>(size), '\xAB');
    return m_block.data();
  }
  bool Decommit(void* block, std::uint64_t size) override {
    filledWithZeros = block == m_block.data() && size == m_block.size() &&
                      m_block.find_first_not_of('\0') == std::string::npos;
    return decommits;
  }
  bool Release(void* block) override {
    ++releaseCalls;
    return releases && block == m_block.data();
  }

  // Performance data: blocks, one per sample (the last one repeats; a measurement needs one), and
  // processor times that move by 1000 per query with the idle share asked for (percent).
  COsVersion version{2, 10};
  bool versionKnown = true;
  std::vector<std::string> blocks;
  std::vector<std::uint32_t> querySizes;  // the buffer size offered at every query
  std::vector<std::string> valueNames;
  bool keysOpen = true;
  std::map<std::string, std::uint32_t> written;  // key path -> value
  int counterWrites = 0;
  std::uint64_t idleShare = 100, idle = 0, busy = 0;
  int timesQueries = 0;

  bool QueryVersion(COsVersion& v) override {
    v = version;
    return versionKnown;
  }
  long QueryData(const std::string& valueName, unsigned char* buffer,
                 std::uint32_t& size) override {
    valueNames.push_back(valueName);
    querySizes.push_back(size);
    const std::string& block = blocks.at(std::min(m_nextBlock, blocks.size() - 1));
    const bool fits = block.size() <= size;
    size = static_cast<std::uint32_t>(block.size());
    if (!fits) return kMoreData;
    std::memcpy(buffer, block.data(), block.size());
    ++m_nextBlock;
    return 0;
  }
  bool WriteCountersDisabled(const std::string& keyPath, std::uint32_t disabled) override {
    ++counterWrites;
    if (keysOpen) written[keyPath] = disabled;
    return keysOpen;
  }
  bool QuerySystemTimes(std::uint64_t& i, std::uint64_t& kernel, std::uint64_t& user) override {
    ++timesQueries;
    idle += 10 * idleShare;
    busy += 1000 - 10 * idleShare;
    i = kernel = idle;  // the kernel time holds the idle time
    user = busy;
    return true;
  }

 private:
  struct File final : IExclusiveFile {
    File(FakePlatform& owner, std::string& bytes) : platform(owner), data(bytes) {}
    bool Size(std::uint64_t& size) override {
      size = data.size();
      return true;
    }
    bool ReadAt(std::uint64_t offset, std::size_t length, std::string& bytes) override {
      if (offset + length > data.size()) return false;
      bytes = data.substr(static_cast<std::size_t>(offset), length);
      platform.bytesRead += length;
      return true;
    }
    bool WriteAt(std::uint64_t offset, const std::string& bytes) override {
      if (platform.failWrites) return false;
      data.resize(std::max<std::size_t>(data.size(), offset + bytes.size()));
      data.replace(static_cast<std::size_t>(offset), bytes.size(), bytes);
      return true;
    }
    FakePlatform& platform;
    std::string& data;
  };
  struct Token final : IAccessToken {
    explicit Token(FakePlatform& owner) : platform(owner) {}
    int EnablePrivilege(const char* name, int enable) override {
      platform.privilegesAsked.push_back(std::string(name) + (enable ? "+" : "-"));
      return platform.privilegeEnabled ? 1 : 0;
    }
    FakePlatform& platform;
  };
  struct Handle final : IProcessHandle {
    Handle(FakePlatform& owner, const FakeProcess& fake) : platform(owner), process(fake) {}
    bool QueryWorkingSetSize(std::uint64_t& bytes) override {
      bytes = trimmed ? process.after : process.before;
      return trimmed ? process.countersAfter : process.countersBefore;
    }
    bool EmptyWorkingSet() override {
      if (!process.trims) return false;
      platform.trimmed.push_back(process.id);
      return trimmed = true;
    }
    FakePlatform& platform;
    FakeProcess process;
    bool trimmed = false;
  };

  std::string m_block;
  std::size_t m_nextBlock = 0;
};

}  // namespace qvtest
