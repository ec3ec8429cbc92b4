// How the service reads its settings file: nothing may wait for an answer, and the service goes
// on with whatever the file gave.
#include <gtest/gtest.h>

#include "core/service/FakeServiceWorld.h"
#include "service/ServiceSettings.h"
#include "support/SettingsFiles.h"

namespace {

constexpr char kPath[] = "C:\\Quorvel\\SVC\\qvlset.def";
constexpr char kBackup[] = "C:\\Quorvel\\SVC\\qvlset.bak";

std::string SettingsBytes(std::size_t conditions, std::int32_t timerDelay) {
  CAppSetting record;
  for (std::size_t i = 0; i < conditions; ++i) {
    record.m_aOperationTime.push_back(std::make_unique<COperationTime>());
  }
  record.m_nTimerDelay = timerDelay;
  record.m_bModified = 1;
  qvtest::MemoryFileStore store;
  record.Save("x.def", store);
  return store.files["x.def"];
}

TEST(ServiceSettingsTest, AFileThatEndsEarlyIsReportedOnTheDebugOutputAndTheBackupIsRead) {
  qvtest::FakeServiceWorld world;
  CDebugOutputReadFailureReporter reporter(world);
  qvtest::MemoryFileStore store;
  store.files[kPath] = SettingsBytes(3, 7).substr(0, 40);
  store.files[kBackup] = SettingsBytes(2, 4);

  CAppSetting settings;
  settings.m_aOperationTime.push_back(std::make_unique<COperationTime>());
  ReloadServiceSettings(settings, kPath, store, reporter);

  ASSERT_EQ(1u, world.Seen().lines.size());
  EXPECT_EQ("エラー: 読み込みに失敗しました\r\nバックアップからの回復を図ります\n",
            world.Seen().lines[0]);
  EXPECT_EQ(2u, settings.m_aOperationTime.size());
  EXPECT_EQ(4, settings.m_nTimerDelay);
}

TEST(ServiceSettingsTest, TheServiceGoesOnWithWhatTheFilesGave) {
  qvtest::FakeServiceWorld world;
  CDebugOutputReadFailureReporter reporter(world);
  qvtest::MemoryFileStore store;
  CAppSetting settings;
  settings.m_nTimerDelay = 9;
  settings.m_aOperationTime.push_back(std::make_unique<COperationTime>());

  // No file: no conditions, the options as they were.
  ReloadServiceSettings(settings, kPath, store, reporter);
  EXPECT_TRUE(settings.m_aOperationTime.empty());
  EXPECT_EQ(9, settings.m_nTimerDelay);

  // A short file without a backup: the options read before the end, and no conditions, as the
  // failed attempt at the backup drops them.
  settings.m_aOperationTime.push_back(std::make_unique<COperationTime>());
  store.files[kPath] = SettingsBytes(0, 7).substr(0, 20);
  ReloadServiceSettings(settings, kPath, store, reporter);
  EXPECT_TRUE(settings.m_aOperationTime.empty());
  EXPECT_EQ(7, settings.m_nTimerDelay);
  EXPECT_EQ(1u, world.Seen().lines.size());
}

}  // namespace
