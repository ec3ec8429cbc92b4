// The settings file: the layout Save writes, every layout Load reads, and the recovery from the
// backup when a file ends early.
#include <gtest/gtest.h>

#include "settings/AppSetting.h"
#include "support/SettingsFiles.h"

namespace {

using qvtest::Hex;
using qvtest::Int32Bytes;

const char kPath[] = "dir/qvlset.def";
const char kBackup[] = "dir/qvlset.bak";

// The default settings as the file holds them: version 5, four conditions, 50, 1024, 0, 5.
const char kDefaultFile[] =
    "05000000 04000000"
    "01000000 0a000000 ffffffff ffffffff ffffffff 00000000 ffffffff 0a000000"
    "01000000 00000000 ffffffff ffffffff 00000000 02000000 ffffffff 0a000000"
    "01000000 0b000000 ffffffff ffffffff ffffffff 00000000 3c000000 0a000000"
    "01000000 0b000000 ffffffff ffffffff ffffffff 01000000 50000000 0a000000"
    "32000000 00040000 00000000 05000000";

// A version-1 condition record: mode 1 at 12:34, operation 2, memory load 70, CPU limit 40.
std::string ConditionRecord() {
  return Int32Bytes({1, 1, -1, 12, 34, 2, 70, 40});
}

void ExpectCondition(const COperationTime& c, std::int32_t mode, std::int32_t day,
                     std::int32_t hour, std::int32_t minute, std::int32_t memoryLoad,
                     std::int32_t cpuLimit, std::int32_t operation) {
  EXPECT_EQ(mode, c.m_nExecMode);
  EXPECT_EQ(day, c.m_nDay);
  EXPECT_EQ(hour, c.m_nHour);
  EXPECT_EQ(minute, c.m_nMinute);
  EXPECT_EQ(memoryLoad, c.m_nMemoryLoad);
  EXPECT_EQ(cpuLimit, c.m_nCpuLoadLimit);
  EXPECT_EQ(operation, c.m_nOperation);
}

class SettingsFileTest : public ::testing::Test {
 protected:
  int Load(const std::string& path = kPath) { return setting.Load(path, files, reporter); }

  // Options that a layout does not carry keep these values.
  void PresetOptions() {
    setting.m_nReleaseLevel = 11;
    setting.m_nLogSizeLimit = 22;
    setting.m_nTimerDelay = 33;
    setting.m_nInterval = 44;
  }

  void ExpectOptions(std::int32_t level, std::int32_t logLimit, std::int32_t delay,
                     std::int32_t interval) {
    EXPECT_EQ(level, setting.m_nReleaseLevel);
    EXPECT_EQ(logLimit, setting.m_nLogSizeLimit);
    EXPECT_EQ(delay, setting.m_nTimerDelay);
    EXPECT_EQ(interval, setting.m_nInterval);
  }

  qvtest::MemoryFileStore files;
  qvtest::RecordingReporter reporter;
  CAppSetting setting;
};

TEST_F(SettingsFileTest, DefaultSettingsAreWrittenByteForByte) {
  setting.SetDefaultSetting();
  setting.m_bModified = 1;
  ASSERT_EQ(1, setting.Save(kPath, files));
  EXPECT_EQ(152u, files.files[kPath].size());
  EXPECT_EQ(Hex(kDefaultFile), files.files[kPath]);
  EXPECT_EQ(0, setting.m_bModified);
}

TEST_F(SettingsFileTest, DefaultFileReadsBackEveryField) {
  files.files[kPath] = Hex(kDefaultFile);
  PresetOptions();
  const QvTime lastExecute = setting.m_timeLastExecute = 123456;
  setting.m_bModified = 1;
  ASSERT_EQ(1, Load());
  ASSERT_EQ(4u, setting.m_aOperationTime.size());
  ExpectCondition(*setting.m_aOperationTime[0], 10, -1, -1, -1, -1, 10, 0);
  ExpectCondition(*setting.m_aOperationTime[1], 0, -1, -1, 0, -1, 10, 2);
  ExpectCondition(*setting.m_aOperationTime[2], 11, -1, -1, -1, 60, 10, 0);
  ExpectCondition(*setting.m_aOperationTime[3], 11, -1, -1, -1, 80, 10, 1);
  ExpectOptions(50, 1024, 0, 5);
  // Neither is stored in the file, so Load leaves both alone.
  EXPECT_EQ(lastExecute, setting.m_timeLastExecute);
  EXPECT_EQ(1, setting.m_bModified);
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(SettingsFileTest, RecordWithoutConditionsIs24BytesAndReadsBackEmpty) {
  setting.m_bModified = 1;
  ASSERT_EQ(1, setting.Save(kPath, files));
  EXPECT_EQ(Int32Bytes({5, 0, 50, 1024, 0, 5}), files.files[kPath]);
  setting.SetDefaultSetting();
  ASSERT_EQ(1, Load());
  EXPECT_TRUE(setting.m_aOperationTime.empty());
}

TEST_F(SettingsFileTest, OlderLayoutsCarryTheirOwnFields) {
  // Version 3: two skipped time values, one condition, three options; 60 bytes.
  files.files[kPath] = Int32Bytes({3, 111, 222, 1}) + ConditionRecord() + Int32Bytes({70, 512, 9});
  ASSERT_EQ(60u, files.files[kPath].size());
  PresetOptions();
  ASSERT_EQ(1, Load());
  ASSERT_EQ(1u, setting.m_aOperationTime.size());
  ExpectCondition(*setting.m_aOperationTime[0], 1, -1, 12, 34, 70, 40, 2);
  ExpectOptions(70, 512, 9, 44);

  // Versions 0 to 2 carry fewer options; a negative version reads like version 0.
  files.files[kPath] = Int32Bytes({1, 0, 0, 0, 80});
  PresetOptions();
  ASSERT_EQ(1, Load());
  ExpectOptions(80, 22, 33, 44);
  files.files[kPath] = Int32Bytes({-7, 0, 0, 0});
  PresetOptions();
  ASSERT_EQ(1, Load());
  ExpectOptions(11, 22, 33, 44);
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(SettingsFileTest, Version4SkipsTheValueBeforeTheInterval) {
  files.files[kPath] = Int32Bytes({4, 1}) + ConditionRecord() + Int32Bytes({60, 256, 3, 999, 7});
  PresetOptions();
  ASSERT_EQ(1, Load());
  ASSERT_EQ(1u, setting.m_aOperationTime.size());
  ExpectOptions(60, 256, 3, 7);
}

TEST_F(SettingsFileTest, LaterVersionsReadAsVersion5AndTrailingBytesAreIgnored) {
  files.files[kPath] = Int32Bytes({9, 1}) + ConditionRecord() + Int32Bytes({40, 128, 2, 6}) +
                       "trailing bytes of a later version";
  PresetOptions();
  ASSERT_EQ(1, Load());
  ASSERT_EQ(1u, setting.m_aOperationTime.size());
  ExpectOptions(40, 128, 2, 6);
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(SettingsFileTest, Version0ConditionRecordIs28BytesAndKeepsTheInitialCpuLimit) {
  const std::string oldRecord = Int32Bytes({0, 11, -1, -1, -1, 1, 90});
  ASSERT_EQ(28u, oldRecord.size());
  files.files[kPath] =
      Int32Bytes({5, 2}) + oldRecord + ConditionRecord() + Int32Bytes({30, 64, 1, 2});
  ASSERT_EQ(1, Load());
  ASSERT_EQ(2u, setting.m_aOperationTime.size());
  ExpectCondition(*setting.m_aOperationTime[0], 11, -1, -1, -1, 90, 100, 1);
  ExpectCondition(*setting.m_aOperationTime[1], 1, -1, 12, 34, 70, 40, 2);
  ExpectOptions(30, 64, 1, 2);
}

TEST_F(SettingsFileTest, LoadWithoutAFileOrPathReturns0) {
  setting.SetDefaultSetting();
  EXPECT_EQ(0, Load(""));
  EXPECT_EQ(4u, setting.m_aOperationTime.size()) << "an empty path changes nothing";
  EXPECT_EQ(0, Load("dir/missing.def"));
  EXPECT_TRUE(setting.m_aOperationTime.empty()) << "the list is dropped before the open";
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(SettingsFileTest, TruncatedFileIsReportedOnceAndTheBackupReadInstead) {
  files.files[kPath] = Hex(kDefaultFile).substr(0, 100);
  files.files[kBackup] = Int32Bytes({5, 1}) + ConditionRecord() + Int32Bytes({90, 2048, 4, 8});
  PresetOptions();
  ASSERT_EQ(1, Load());
  ASSERT_EQ(1u, reporter.texts.size());
  EXPECT_EQ("読み込みに失敗しました\r\nバックアップからの回復を図ります", reporter.texts[0]);
  EXPECT_EQ("エラー", reporter.captions[0]);
  ASSERT_EQ(1u, setting.m_aOperationTime.size()) << "conditions read before the end are dropped";
  ExpectCondition(*setting.m_aOperationTime[0], 1, -1, 12, 34, 70, 40, 2);
  ExpectOptions(90, 2048, 4, 8);
}

TEST_F(SettingsFileTest, TruncatedFileWithoutBackupKeepsWhatWasRead) {
  // Version 3 with one condition and the release level, then the data ends.
  files.files[kPath] = Int32Bytes({3, 0, 0, 1}) + ConditionRecord() + Int32Bytes({70, 512});
  files.files[kPath].pop_back();
  PresetOptions();
  ASSERT_EQ(1, Load());
  EXPECT_EQ(1u, reporter.texts.size());
  EXPECT_TRUE(setting.m_aOperationTime.empty()) << "the failed backup read dropped the list";
  ExpectOptions(70, 22, 33, 44);
}

TEST_F(SettingsFileTest, TruncatedBackupIsNotReportedInAnyCase) {
  const std::string truncated = Int32Bytes({5, 3}) + ConditionRecord() + "\x01\x00";
  for (const char* path : {"dir/qvlset.bak", "dir/QVLSET.BAK", "dir/qvlset.Bak"}) {
    files.files[path] = truncated;
    ASSERT_EQ(1, Load(path)) << path;
    // The record that ended early stays in the list, with the fields it could read.
    ASSERT_EQ(2u, setting.m_aOperationTime.size()) << path;
    ExpectCondition(*setting.m_aOperationTime[1], 0, -1, -1, -1, -1, 100, 0);
  }
  EXPECT_TRUE(reporter.texts.empty());

  // A truncated settings file whose backup is truncated too: one message, not two.
  files.files[kPath] = truncated;
  files.files[kBackup] = truncated;
  ASSERT_EQ(1, Load());
  EXPECT_EQ(1u, reporter.texts.size());
  EXPECT_EQ(2u, setting.m_aOperationTime.size());
}

TEST_F(SettingsFileTest, HugeConditionCountInAShortFileReadsOnlyWhatIsThere) {
  // Read as a backup, so that what was read stays in the list.
  files.files[kBackup] = Int32Bytes({5, 0x7fffffff}) + ConditionRecord() + ConditionRecord();
  ASSERT_EQ(1, Load(kBackup));
  EXPECT_EQ(3u, setting.m_aOperationTime.size()) << "two whole records and one begun";
}

TEST_F(SettingsFileTest, SaveWritesOnlyWhileTheSaveFlagIsSet) {
  files.files[kPath] = "old";
  setting.SetDefaultSetting();
  EXPECT_EQ(1, setting.Save(kPath, files));
  EXPECT_EQ("old", files.files[kPath]);
  EXPECT_EQ(0, files.replaceCalls);

  setting.m_bModified = 1;
  EXPECT_EQ(1, setting.Save(kPath, files));
  EXPECT_EQ(1, setting.Save(kPath, files)) << "the first save cleared the flag";
  EXPECT_EQ(1, files.replaceCalls);
  EXPECT_EQ("old", files.files[kBackup]) << "the previous file is kept as the backup";

  setting.m_bModified = 1;
  EXPECT_EQ(0, setting.Save("", files));
  EXPECT_EQ(0, setting.m_bModified) << "the flag is cleared before the path is checked";
}

TEST_F(SettingsFileTest, FailedReplaceReportsTheSaveAsFailed) {
  files.failReplace = true;
  setting.m_bModified = 1;
  EXPECT_EQ(0, setting.Save(kPath, files));
  EXPECT_EQ(0, setting.m_bModified);
}

}  // namespace
