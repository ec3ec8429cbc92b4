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

// The read-failure message and its caption, in code page 932.
const char kReadFailureText[] =
    "\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD"
    "\r\n\x83\x6F\x83\x62\x83\x4E\x83\x41\x83\x62\x83\x76\x82\xA9\x82\xE7\x82\xCC\x89\xF1\x95\x9C"
    "\x82\xF0\x90\x7D\x82\xE8\x82\xDC\x82\xB7";
const char kReadFailureCaption[] = "\x83\x47\x83\x89\x81\x5B";

// A version-1 condition record: mode 1 at 12:34, operation 2, memory load 70, CPU limit 40.
std::string ConditionRecord(std::int32_t minute = 34) {
  return Int32Bytes({1, 1, -1, 12, minute, 2, 70, 40});
}

struct Condition {
  std::int32_t mode, day, hour, minute, memoryLoad, cpuLimit, operation;
};

void ExpectCondition(const Condition& expected, const COperationTime& c) {
  EXPECT_EQ(expected.mode, c.m_nExecMode);
  EXPECT_EQ(expected.day, c.m_nDay);
  EXPECT_EQ(expected.hour, c.m_nHour);
  EXPECT_EQ(expected.minute, c.m_nMinute);
  EXPECT_EQ(expected.memoryLoad, c.m_nMemoryLoad);
  EXPECT_EQ(expected.cpuLimit, c.m_nCpuLoadLimit);
  EXPECT_EQ(expected.operation, c.m_nOperation);
}

const Condition kRecordCondition = {1, -1, 12, 34, 70, 40, 2};

struct Options {
  std::int32_t level, logLimit, delay, interval;
};

// Options that a layout does not carry keep these values.
const Options kPreset = {11, 22, 33, 44};

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() {
    setting.m_nReleaseLevel = kPreset.level;
    setting.m_nLogSizeLimit = kPreset.logLimit;
    setting.m_nTimerDelay = kPreset.delay;
    setting.m_nInterval = kPreset.interval;
  }

  int Load(const std::string& path = kPath) { return setting.Load(path, files, reporter); }

  void ExpectOptions(const Options& o) {
    EXPECT_EQ(o.level, setting.m_nReleaseLevel);
    EXPECT_EQ(o.logLimit, setting.m_nLogSizeLimit);
    EXPECT_EQ(o.delay, setting.m_nTimerDelay);
    EXPECT_EQ(o.interval, setting.m_nInterval);
  }

  qvtest::MemoryFileStore files;
  qvtest::RecordingReporter reporter;
  CAppSetting setting;
};

TEST_F(SettingsFileTest, DefaultSettingsAreWrittenByteForByteAndReadBack) {
  CAppSetting written;
  written.m_aOperationTime.push_back(std::make_unique<COperationTime>());
  written.SetDefaultSetting();  // replaces what the list held
  written.m_bModified = 1;
  ASSERT_EQ(1, written.Save(kPath, files));
  EXPECT_EQ(Hex(kDefaultFile), files.files[kPath]);
  EXPECT_EQ(0, written.m_bModified);

  CAppSetting loaded;
  const QvTime lastExecute = loaded.m_timeLastExecute = 123456;
  loaded.m_bModified = 1;
  ASSERT_EQ(1, loaded.Load(kPath, files, reporter));
  const Condition expected[] = {{10, -1, -1, -1, -1, 10, 0},
                                {0, -1, -1, 0, -1, 10, 2},
                                {11, -1, -1, -1, 60, 10, 0},
                                {11, -1, -1, -1, 80, 10, 1}};
  ASSERT_EQ(4u, loaded.m_aOperationTime.size());
  for (std::size_t i = 0; i < 4; ++i) ExpectCondition(expected[i], *loaded.m_aOperationTime[i]);
  EXPECT_EQ(50, loaded.m_nReleaseLevel);
  EXPECT_EQ(1024, loaded.m_nLogSizeLimit);
  EXPECT_EQ(0, loaded.m_nTimerDelay);
  EXPECT_EQ(5, loaded.m_nInterval);
  // Neither is stored in the file, so Load leaves both alone.
  EXPECT_EQ(lastExecute, loaded.m_timeLastExecute);
  EXPECT_EQ(1, loaded.m_bModified);
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(SettingsFileTest, EveryLayoutCarriesItsOwnFields) {
  const std::string record = ConditionRecord();
  const struct {
    const char* layout;
    std::string bytes;
    std::size_t conditions;
    Options options;
  } cases[] = {
      // Version 3: two skipped time values, one condition, three options.
      {"3", Int32Bytes({3, 111, 222, 1}) + record + Int32Bytes({70, 512, 9}), 1, {70, 512, 9, 44}},
      {"1", Int32Bytes({1, 0, 0, 0, 80}), 0, {80, 22, 33, 44}},
      {"negative reads as 0", Int32Bytes({-7, 0, 0, 0}), 0, kPreset},
      // Version 4 skips the value before the interval.
      {"4", Int32Bytes({4, 1}) + record + Int32Bytes({60, 256, 3, 999, 7}), 1, {60, 256, 3, 7}},
      {"later versions read as 5, trailing bytes ignored",
       Int32Bytes({9, 1}) + record + Int32Bytes({40, 128, 2, 6}) + "trailing bytes",
       1,
       {40, 128, 2, 6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    files.files[kPath] = c.bytes;
    setting.m_nReleaseLevel = kPreset.level;
    setting.m_nLogSizeLimit = kPreset.logLimit;
    setting.m_nTimerDelay = kPreset.delay;
    setting.m_nInterval = kPreset.interval;
    ASSERT_EQ(1, Load());
    ASSERT_EQ(c.conditions, setting.m_aOperationTime.size());
    if (c.conditions) ExpectCondition(kRecordCondition, *setting.m_aOperationTime[0]);
    ExpectOptions(c.options);
  }
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(SettingsFileTest, Version0ConditionRecordIs28BytesAndKeepsTheInitialCpuLimit) {
  const std::string oldRecord = Int32Bytes({0, 11, -1, -1, -1, 1, 90});
  files.files[kPath] =
      Int32Bytes({5, 2}) + oldRecord + ConditionRecord() + Int32Bytes({30, 64, 1, 2});
  ASSERT_EQ(1, Load());
  ASSERT_EQ(2u, setting.m_aOperationTime.size());
  ExpectCondition({11, -1, -1, -1, 90, 100, 1}, *setting.m_aOperationTime[0]);
  ExpectCondition(kRecordCondition, *setting.m_aOperationTime[1]);
  ExpectOptions({30, 64, 1, 2});
}

TEST_F(SettingsFileTest, FileLongerThanTheReadBufferReadsEveryRecordInOrder) {
  std::string bytes = Int32Bytes({5, 300});
  for (std::int32_t i = 0; i < 300; ++i) bytes += ConditionRecord(i);
  files.files[kPath] = bytes + Int32Bytes({30, 64, 1, 2});
  ASSERT_EQ(1, Load());
  ASSERT_EQ(300u, setting.m_aOperationTime.size());
  for (std::int32_t i = 0; i < 300; ++i) {
    ASSERT_EQ(i, setting.m_aOperationTime[i]->m_nMinute);
    ASSERT_EQ(40, setting.m_aOperationTime[i]->m_nCpuLoadLimit);
  }
  ExpectOptions({30, 64, 1, 2});
  EXPECT_TRUE(reporter.texts.empty());
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
  ASSERT_EQ(1, Load());
  ASSERT_EQ(1u, reporter.texts.size());
  EXPECT_EQ(kReadFailureText, reporter.texts[0]);
  EXPECT_EQ(kReadFailureCaption, reporter.captions[0]);
  ASSERT_EQ(1u, setting.m_aOperationTime.size()) << "conditions read before the end are dropped";
  ExpectCondition(kRecordCondition, *setting.m_aOperationTime[0]);
  ExpectOptions({90, 2048, 4, 8});
}

TEST_F(SettingsFileTest, TruncatedFileWithoutBackupKeepsWhatWasRead) {
  // Version 3 with one condition and the release level, then the data ends.
  files.files[kPath] = Int32Bytes({3, 0, 0, 1}) + ConditionRecord() + Int32Bytes({70, 512});
  files.files[kPath].pop_back();
  ASSERT_EQ(1, Load());
  EXPECT_EQ(1u, reporter.texts.size());
  EXPECT_TRUE(setting.m_aOperationTime.empty()) << "the failed backup read dropped the list";
  ExpectOptions({70, 22, 33, 44});
}

TEST_F(SettingsFileTest, TruncatedBackupIsNotReportedInAnyCase) {
  const std::string truncated = Int32Bytes({5, 3}) + ConditionRecord() + "\x01\x00";
  for (const char* path : {"dir/qvlset.bak", "dir/QVLSET.BAK", "dir/qvlset.Bak"}) {
    files.files[path] = truncated;
    ASSERT_EQ(1, Load(path)) << path;
    // The record that ended early stays in the list, with the fields it could read.
    ASSERT_EQ(2u, setting.m_aOperationTime.size()) << path;
    ExpectCondition({0, -1, -1, -1, -1, 100, 0}, *setting.m_aOperationTime[1]);
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

  files.failReplace = true;
  setting.m_bModified = 1;
  EXPECT_EQ(0, setting.Save(kPath, files)) << "a failed replace is a failed save";
}

}  // namespace
