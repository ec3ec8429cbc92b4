// Saving through the real file system: one-step replace, the backup, a failed write's old file.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/AppSetting.h"
#include "support/SettingsFiles.h"
#include "support/TempDir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

class SettingsSaveTest : public ::testing::Test {
 protected:
  int SaveDefaults(const std::string& path) {
    CAppSetting setting;
    setting.SetDefaultSetting();
    setting.m_nReleaseLevel = ++level;
    setting.m_bModified = 1;
    return setting.Save(path);
  }

  qvtest::TempDir dir;
  std::int32_t level = 20;
};

TEST_F(SettingsSaveTest, SaveReplacesTheFileAndKeepsThePreviousAsBackup) {
  EXPECT_EQ(0, SaveDefaults(dir.File("missing/qvlset.def")));
  const std::string path = dir.File("qvlset.def");
  ASSERT_EQ(1, SaveDefaults(path));
  const std::string first = qvtest::ReadBytes(path);
  EXPECT_EQ(152u, first.size());
  EXPECT_EQ(1, dir.Count()) << "no backup of a file that did not exist";

  ASSERT_EQ(1, SaveDefaults(path));
  EXPECT_EQ(first, qvtest::ReadBytes(dir.File("qvlset.bak")));
  // The release level, the first option after the four conditions, is one more.
  EXPECT_EQ(first.substr(0, 136) + qvtest::Int32Bytes({level}) + first.substr(140),
            qvtest::ReadBytes(path));
  EXPECT_EQ(2, dir.Count()) << "no temporary file is left behind";
}

TEST_F(SettingsSaveTest, FailedWriteLeavesTheOldFileIntact) {
  const std::string path = dir.File("qvlset.def");
  const std::string old = qvtest::Int32Bytes({5, 0, 50, 1024, 0, 5});
  qvtest::WriteBytes(path, old);

#ifdef _WIN32
  // The file cannot be replaced while another program holds it open without sharing.
  HANDLE held = ::CreateFileW(std::filesystem::path(path).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_EQ(0, SaveDefaults(path));
  ::CloseHandle(held);
#else
  // A full disk: the process may write no more than 64 bytes to any file.
  rlimit saved{};
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  const rlimit small{64, saved.rlim_max};
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
  const int result = SaveDefaults(path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(0, result);
#endif

  EXPECT_EQ(old, qvtest::ReadBytes(path));
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "qvlset.def" || name == "qvlset.bak") << "left behind: " << name;
  }
}

}  // namespace
