// The engine's adapters on Windows for real, and the settings file replaced while it is read.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "engine/MemClean.h"
#include "engine/win32/Win32Hooks.h"
#include "framework/Cp932.h"
#include "framework/SystemLibrary.h"
#include "settings/FileStore.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace {

// The platform's processes and memory, with a memory status of the test's choosing.
class RealOperationsTest : public ::testing::Test {
 protected:
  RealOperationsTest() : clean(Platform(256u << 20)) {}
  void TearDown() override { SetCounterLibraryForTesting(nullptr); }

  CEnginePlatform Platform(std::uint64_t physical) {
    system.memory.totalPhys = physical;
    CEnginePlatform platform = SystemEnginePlatform();
    platform.system = &system;
    return platform;
  }

  qvtest::FakePlatform system;
  CMemClean clean;
};

std::string OwnExeName() {
  const std::wstring full = qv::RunningProgramPath();
  return qv::WideToCp932(full.substr(full.rfind(L'\\') + 1));
}

TEST_F(RealOperationsTest, WorkingSetTrimListsTheRunningProcessesWithTheirSizes) {
  ASSERT_EQ(1, clean.OptimizeWorkingSet(1));
  const std::vector<std::string> lines = clean.m_aLog.Copy();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ("プロセスのスナップショットの取得に成功しました", lines[1]);
  const std::regex trimmed("^.+\\.exeの未使用メモリを開放 \\d+ KB->\\d+ KB$");
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
  for (const std::string& line : clean.m_aLog.Copy()) {
    if (line.find("KB") != std::string::npos) ADD_FAILURE() << "a size was read: " << line;
    if (line == OwnExeName() + "の未使用メモリを開放 error->error") own = true;
  }
  EXPECT_TRUE(own);
}

TEST_F(RealOperationsTest, CommitsTheAddressSpaceCannotHoldAreRetriedSmaller) {
  CMemClean huge(Platform(std::uint64_t{1} << 60));
  huge.m_appSetting.m_nReleaseLevel = 50;
  EXPECT_EQ(0, huge.OptimizeWholeMemory(1));
  // 50 % down to one step of 1 %, every attempt far beyond the address space.
  EXPECT_EQ(50u, huge.m_aLog.GetCount()) << "49 retries, then the failure";
  EXPECT_EQ("領域確保失敗", huge.m_aLog.Copy().back());
}

TEST(SettingsFileWin32Test, SaveReplacesTheFileWhileTheServiceReadsIt) {
  qvtest::TempDir dir;
  const std::string path = dir.File("qvlset.def");
  CAppSetting setting;
  setting.m_nInterval = 7;
  setting.m_bModified = 1;
  ASSERT_EQ(1, setting.Save(path));
  {
    const std::unique_ptr<IFileReader> reading = SystemFileStore().OpenForReading(path);
    ASSERT_NE(nullptr, reading);
    setting.m_nInterval = 9;
    setting.m_bModified = 1;
    EXPECT_EQ(1, setting.Save(path)) << "a reader does not hold up the window program's save";
    char version = 0;
    EXPECT_EQ(1u, reading->Read(&version, 1));
    EXPECT_EQ(5, version) << "and reads on undisturbed";
  }
  CAppSetting loaded;
  ASSERT_EQ(1, loaded.Load(path));
  EXPECT_EQ(9, loaded.m_nInterval);
  ASSERT_EQ(1, loaded.Load(dir.File("qvlset.bak")));
  EXPECT_EQ(7, loaded.m_nInterval) << "the previous file is the backup";
}

}  // namespace
