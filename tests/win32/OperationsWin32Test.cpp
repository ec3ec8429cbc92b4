// The operations on Windows for real: the working-set trim over the running processes, the
// whole-memory release of a share of a memory status the test makes smaller, and the
// EnablePrivilege and psapi paths behind them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "engine/MemClean.h"
#include "engine/win32/Win32Hooks.h"
#include "framework/Cp932.h"
#include "support/DelegatingEngineSystem.h"

namespace {

class SmallMachine final : public qvtest::DelegatingEngineSystem {
 public:
  using DelegatingEngineSystem::DelegatingEngineSystem;
  CMemoryStatus MemoryStatus() override {
    CMemoryStatus status = DelegatingEngineSystem::MemoryStatus();
    status.totalPhys = 256u << 20;
    return status;
  }
};

// The lines of one operation, run on the platform with a smaller memory status.
class RealOperationsTest : public ::testing::Test {
 protected:
  RealOperationsTest() : system(*SystemEnginePlatform().system), clean(Platform()) {}
  void TearDown() override { SetCounterLibraryForTesting(nullptr); }

  CEnginePlatform Platform() {
    CEnginePlatform platform = SystemEnginePlatform();
    platform.system = &system;
    return platform;
  }
  std::vector<std::string> Lines() { return clean.m_aLog.Copy(); }

  SmallMachine system;
  CMemClean clean;
};

std::string OwnExeName() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring full(path, length);
  return qv::WideToCp932(full.substr(full.rfind(L'\\') + 1));
}

TEST_F(RealOperationsTest, WorkingSetTrimListsTheRunningProcessesWithTheirSizes) {
  ASSERT_EQ(1, clean.OptimizeWorkingSet(1));
  const std::vector<std::string> lines = Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ("プロセスのスナップショットの取得に成功しました", lines[1]);
  const std::regex trimmed("^.+\\.exe" + std::string("の未使用メモリを開放") +
                           " \\d+ KB->\\d+ KB$");
  int withSizes = 0;
  bool own = false;
  for (const std::string& line : lines) {
    if (std::regex_match(line, trimmed)) ++withSizes;
    if (line.rfind(OwnExeName() + "の未使用メモリを開放 ", 0) == 0) own = true;
  }
  EXPECT_GE(withSizes, 2) << "services.exe and the test program at least";
  EXPECT_TRUE(own) << "the own process is trimmed like every other";
  EXPECT_EQ(1, clean.m_appSetting.m_bModified);
}

TEST_F(RealOperationsTest, MissingCounterLibraryShowsErrorForBothSizes) {
  SetCounterLibraryForTesting(L"no-such-counter-library.dll");
  ASSERT_EQ(1, clean.OptimizeWorkingSet(1));
  bool own = false;
  for (const std::string& line : Lines()) {
    if (line.find("KB") != std::string::npos) ADD_FAILURE() << "a size was read: " << line;
    if (line == OwnExeName() + "の未使用メモリを開放 error->error") own = true;
  }
  EXPECT_TRUE(own);
}

TEST_F(RealOperationsTest, WholeMemoryReleaseCommitsFillsAndReleasesForReal) {
  clean.m_appSetting.m_nReleaseLevel = 10;
  ASSERT_EQ(1, clean.OptimizeWholeMemory(1));
  const std::uint64_t size = (std::uint64_t{256} << 20) / 100 * 10;
  const std::vector<std::string> expected = {
      std::to_string(size / 1024) + " KB の領域確保成功",
      "確保メモリを初期化しています...",
      "初期化完了",
      "領域開放成功",
  };
  EXPECT_EQ(expected, Lines());
  EXPECT_EQ(1, clean.m_appSetting.m_bModified);
}

TEST_F(RealOperationsTest, CommitsTheAddressSpaceCannotHoldAreRetriedSmaller) {
  // Far more than the process can commit: the engine shrinks by one percent per attempt.
  class HugeMachine final : public qvtest::DelegatingEngineSystem {
   public:
    using DelegatingEngineSystem::DelegatingEngineSystem;
    CMemoryStatus MemoryStatus() override {
      CMemoryStatus status = DelegatingEngineSystem::MemoryStatus();
      status.totalPhys = std::uint64_t{1} << 60;
      return status;
    }
  } huge(*SystemEnginePlatform().system);
  CEnginePlatform platform = SystemEnginePlatform();
  platform.system = &huge;
  CMemClean engine(platform);
  engine.m_appSetting.m_nReleaseLevel = 50;
  EXPECT_EQ(0, engine.OptimizeWholeMemory(1));
  const std::vector<std::string> lines = engine.m_aLog.Copy();
  // 50 % down to one step of 1 %, every attempt far beyond the address space.
  EXPECT_EQ(50u, lines.size()) << "49 retries, then the failure";
  EXPECT_EQ("領域確保失敗", lines.back());
}

}  // namespace
