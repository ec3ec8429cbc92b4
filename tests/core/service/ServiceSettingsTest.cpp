// The service's reload: nothing waits for an answer, an unopened file keeps the settings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "core/service/FakeServiceWorld.h"
#include "service/ServiceSettings.h"
#include "support/SettingsFiles.h"

namespace {

constexpr char kPath[] = "C:\\Quorvel\\SVC\\qvlset.def";
constexpr char kBackup[] = "C:\\Quorvel\\SVC\\qvlset.bak";
constexpr char kCutLine[] = "エラー: 読み込みに失敗しました\r\nバックアップからの回復を図ります\n";

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

TEST(ServiceSettingsTest, AReloadTakesOverWhatAnOpenedFileGaveAndKeepsTheSettingsOtherwise) {
  struct Case {
    const char* what;
    std::optional<std::string> file;
    std::optional<std::string> backup;
    std::size_t conditions;
    std::int32_t timerDelay;
    const char* line;
  };
  // The settings in force before the reload: one condition, a delay of 9 minutes.
  const Case cases[] = {
      {"no file (or one locked for a moment)", std::nullopt, SettingsBytes(2, 4), 1, 9,
       kSettingsKeptLine},
      {"a whole file", SettingsBytes(3, 7), std::nullopt, 3, 7, nullptr},
      {"a cut file, its backup read instead", SettingsBytes(3, 7).substr(0, 40),
       SettingsBytes(2, 4), 2, 4, kCutLine},
      // Without a backup the conditions go; options read before the cut are taken.
      {"cut after the delay, no backup", SettingsBytes(0, 7).substr(0, 20), std::nullopt, 0, 7,
       kCutLine},
      {"cut before the delay, no backup", SettingsBytes(0, 7).substr(0, 12), std::nullopt, 0, 9,
       kCutLine},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    qvtest::FakeServiceWorld world;
    qvtest::MemoryFileStore store;
    if (c.file) store.files[kPath] = *c.file;
    if (c.backup) store.files[kBackup] = *c.backup;
    CAppSetting settings;
    settings.m_nTimerDelay = 9;
    settings.m_aOperationTime.push_back(std::make_unique<COperationTime>());

    ReloadServiceSettings(settings, kPath, store, world);
    EXPECT_EQ(c.conditions, settings.m_aOperationTime.size());
    EXPECT_EQ(c.timerDelay, settings.m_nTimerDelay);
    const auto lines = world.Seen().lines;
    if (c.line) {
      EXPECT_THAT(lines, ::testing::ElementsAre(c.line));
    } else {
      EXPECT_TRUE(lines.empty());
    }
  }
}

}  // namespace
