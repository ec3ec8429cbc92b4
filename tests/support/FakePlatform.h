// Fakes of the engine's process, virtual-memory and performance-data seams, and a builder of
// performance data blocks in the system's published layout.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/PerformanceData.h"
#include "engine/ProcessSystem.h"
#include "engine/VirtualMemory.h"
#include "support/FakeEngineSystem.h"

namespace qvtest {

struct FakeProcess {
  std::uint32_t id = 0;
  std::string name;
  bool opens = true;
  bool trims = true;
  std::uint64_t before = 0;  // working set in bytes before and after the trim
  std::uint64_t after = 0;
  bool countersBefore = true;
  bool countersAfter = true;
};

class FakeProcessSystem final : public IProcessSystem {
 public:
  bool tokenOpens = true;
  bool privilegeEnabled = true;
  bool snapshotTaken = true;
  std::vector<FakeProcess> processes;
  std::vector<std::uint32_t> opened;   // ids, in the order opened
  std::vector<std::uint32_t> trimmed;  // ids, in the order trimmed
  std::vector<std::string> privilegesAsked;

  std::unique_ptr<IAccessToken> OpenOwnToken() override {
    if (!tokenOpens) return nullptr;
    return std::make_unique<Token>(*this);
  }
  bool TakeProcessSnapshot(std::vector<CProcessEntry>& entries) override {
    if (!snapshotTaken) return false;
    for (const FakeProcess& p : processes) entries.push_back({p.id, p.name});
    return true;
  }
  std::unique_ptr<IProcessHandle> OpenProcess(std::uint32_t id) override {
    opened.push_back(id);
    for (const FakeProcess& p : processes) {
      if (p.id == id && p.opens) return std::make_unique<Handle>(*this, p);
    }
    return nullptr;
  }

 private:
  class Token final : public IAccessToken {
   public:
    explicit Token(FakeProcessSystem& system) : m_system(system) {}
    int EnablePrivilege(const char* name, int enable) override {
      m_system.privilegesAsked.push_back(std::string(name) + (enable ? "+" : "-"));
      return m_system.privilegeEnabled ? 1 : 0;
    }

   private:
    FakeProcessSystem& m_system;
  };
  class Handle final : public IProcessHandle {
   public:
    Handle(FakeProcessSystem& system, const FakeProcess& process)
        : m_system(system), m_process(process) {}
    bool QueryWorkingSetSize(std::uint64_t& bytes) override {
      if (!(m_trimmed ? m_process.countersAfter : m_process.countersBefore)) return false;
      bytes = m_trimmed ? m_process.after : m_process.before;
      return true;
    }
    bool EmptyWorkingSet() override {
      if (!m_process.trims) return false;
      m_system.trimmed.push_back(m_process.id);
      m_trimmed = true;
      return true;
    }

   private:
    FakeProcessSystem& m_system;
    FakeProcess m_process;
    bool m_trimmed = false;
  };
};

// Commits succeed up to a size; the blocks are real memory so that the fill can be checked.
class FakeVirtualMemory final : public IVirtualMemory {
 public:
  std::uint64_t largestCommit = 1u << 20;
  bool decommits = true;
  bool releases = true;
  struct Attempt {
    std::uint64_t size;
    bool topDown;
  };
  std::vector<Attempt> attempts;
  int decommitCalls = 0;
  int releaseCalls = 0;
  bool filledWithZeros = false;

  void* Commit(std::uint64_t size, bool topDown) override {
    attempts.push_back({size, topDown});
    if (size == 0 || size > largestCommit) return nullptr;
    m_block.assign(static_cast<std::size_t>(size), '\xAB');
    return m_block.data();
  }
  bool Decommit(void* block, std::uint64_t size) override {
    ++decommitCalls;
    filledWithZeros = block == m_block.data() && size == m_block.size() &&
                      m_block.find_first_not_of('\0') == std::string::npos;
    return decommits;
  }
  bool Release(void* block) override {
    ++releaseCalls;
    return releases && block == m_block.data();
  }

 private:
  std::string m_block;
};

// A performance data block as the registry returns it.
class PerfDataBuilder {
 public:
  struct Instance {
    std::u16string name;
    std::int64_t value;
  };
  struct Object {
    std::uint32_t titleIndex;
    std::uint32_t counterIndex;
    std::int64_t value;  // used when instances is empty and noInstances is set
    bool noInstances = true;
    std::vector<Instance> instances;
    std::uint32_t extraCounters = 1;  // other counters before the one sought
  };

  std::int64_t time100ns = 0;
  std::vector<Object> objects;
  std::size_t padding = 0;  // bytes after the last object

  std::string Build() const {
    std::string block(88, '\0');
    Put32(block, 24, 88);  // header length
    Put32(block, 28, static_cast<std::uint32_t>(objects.size()));
    Put64(block, 72, time100ns);
    for (const Object& object : objects) block += BuildObject(object);
    Put32(block, 20, static_cast<std::uint32_t>(block.size()));
    block.append(padding, '\0');
    return block;
  }

  static void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
  }
  static void Put64(std::string& bytes, std::size_t at, std::int64_t value) {
    Put32(bytes, at, static_cast<std::uint32_t>(value));
    Put32(bytes, at + 4, static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) >> 32));
  }

 private:
  static std::string BuildObject(const Object& object) {
    const std::uint32_t counters = object.extraCounters + 1;
    std::string header(64, '\0');
    Put32(header, 8, 64);  // header length
    Put32(header, 12, object.titleIndex);
    Put32(header, 32, counters);
    Put32(header, 40,
          object.noInstances ? 0xFFFFFFFFu : static_cast<std::uint32_t>(object.instances.size()));
    std::string definitions;
    for (std::uint32_t i = 0; i < counters; ++i) {
      std::string definition(40, '\0');
      Put32(definition, 0, 40);
      const bool sought = i == object.extraCounters;
      Put32(definition, 4, sought ? object.counterIndex : 9000 + i);
      Put32(definition, 32, 8);
      Put32(definition, 36, 8 + 8 * i);  // after the block length and its padding
      definitions += definition;
    }
    auto counterBlock = [&](std::int64_t value) {
      std::string block(8 + 8 * counters, '\0');
      Put32(block, 0, static_cast<std::uint32_t>(block.size()));
      for (std::uint32_t i = 0; i < counters; ++i) Put64(block, 8 + 8 * i, 1000 + i);
      Put64(block, 8 + 8 * object.extraCounters, value);
      return block;
    };
    std::string body;
    if (object.noInstances) {
      body = counterBlock(object.value);
    } else {
      for (const Instance& instance : object.instances) {
        std::string name;
        for (char16_t c : instance.name + u'\0') {
          name.push_back(static_cast<char>(c & 0xFF));
          name.push_back(static_cast<char>(c >> 8));
        }
        while (name.size() % 8) name.push_back('\0');
        std::string definition(24, '\0');
        Put32(definition, 0, static_cast<std::uint32_t>(24 + name.size()));
        Put32(definition, 16, 24);
        Put32(definition, 20, static_cast<std::uint32_t>(2 * (instance.name.size() + 1)));
        body += definition + name + counterBlock(instance.value);
      }
    }
    std::string result = header + definitions + body;
    Put32(result, 0, static_cast<std::uint32_t>(result.size()));
    Put32(result, 4, static_cast<std::uint32_t>(header.size() + definitions.size()));
    return result;
  }
};

// Answers the queries with prepared blocks, one per sample, or with system times.
class FakePerformanceData final : public IPerformanceData {
 public:
  bool versionKnown = true;
  COsVersion version{2, 10};
  std::vector<std::string> blocks;  // one per query; the last one repeats
  std::size_t nextBlock = 0;
  std::vector<std::uint32_t> querySizes;  // the buffer size offered at every query
  std::vector<std::string> valueNames;
  bool keysOpen = true;
  std::map<std::string, std::uint32_t> written;  // key path -> value
  int counterWrites = 0;
  bool systemTimes = true;
  std::uint64_t idle = 0, kernel = 0, user = 0;
  int idleShareOnNextTimes = -1;  // when >= 0, every times query adds 1000 with that idle share
  int timesQueries = 0;

  bool QueryVersion(COsVersion& v) override {
    v = version;
    return versionKnown;
  }
  long QueryData(const std::string& valueName, unsigned char* buffer,
                 std::uint32_t& size) override {
    valueNames.push_back(valueName);
    querySizes.push_back(size);
    if (blocks.empty()) {
      size = 0;
      return 0;
    }
    const std::string& block = blocks[std::min(nextBlock, blocks.size() - 1)];
    if (block.size() > size) {
      size = static_cast<std::uint32_t>(block.size());
      return kMoreData;
    }
    ++nextBlock;
    std::memcpy(buffer, block.data(), block.size());
    size = static_cast<std::uint32_t>(block.size());
    return 0;
  }
  bool WriteCountersDisabled(const std::string& keyPath, std::uint32_t disabled) override {
    ++counterWrites;
    if (!keysOpen) return false;
    written[keyPath] = disabled;
    return true;
  }
  bool QuerySystemTimes(std::uint64_t& i, std::uint64_t& k, std::uint64_t& u) override {
    ++timesQueries;
    if (!systemTimes) return false;
    if (idleShareOnNextTimes >= 0) {
      idle += 10 * static_cast<std::uint64_t>(idleShareOnNextTimes);
      kernel += 10 * static_cast<std::uint64_t>(idleShareOnNextTimes) + 300;
      user += 700 - 10 * static_cast<std::uint64_t>(idleShareOnNextTimes);
    }
    i = idle;
    k = kernel;
    u = user;
    return true;
  }
};

// The whole platform of fakes, handed to a CMemClean.
struct FakePlatform {
  FakeEngineSystem system;
  FakeProcessSystem processes;
  FakeVirtualMemory memory;
  FakePerformanceData performance;
  CEnginePlatform Platform() { return {&system, &processes, &memory, &performance}; }
};

}  // namespace qvtest
