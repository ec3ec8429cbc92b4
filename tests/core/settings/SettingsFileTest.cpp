// The settings record in memory, and its file: what Save writes, what Load reads, the recovery.
#include <gtest/gtest.h>

#include <ctime>
#include <tuple>

#include "settings/AppSetting.h"
#include "support/Conditions.h"
#include "support/SettingsFiles.h"

namespace {

using qvtest::Fields;
using qvtest::Int32Bytes;
using Values = std::vector<std::int32_t>;

const char kPath[] = "dir/qvlset.def";
const char kBackup[] = "dir/qvlset.bak";

// The default settings as the file holds them: version 5, four conditions, 50, 1024, 0, 5.
const std::string kDefaultFile =
    Int32Bytes({5, 4}) + Int32Bytes({1, 10, -1, -1, -1, 0, -1, 10}) +
    Int32Bytes({1, 0, -1, -1, 0, 2, -1, 10}) + Int32Bytes({1, 11, -1, -1, -1, 0, 60, 10}) +
    Int32Bytes({1, 11, -1, -1, -1, 1, 80, 10}) + Int32Bytes({50, 1024, 0, 5});

// The read-failure message, a line break and its caption, in code page 932.
const char kReadFailureReport[] =
    "\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD"
    "\r\n\x83\x6F\x83\x62\x83\x4E\x83\x41\x83\x62\x83\x76\x82\xA9\x82\xE7\x82\xCC\x89\xF1\x95\x9C"
    "\x82\xF0\x90\x7D\x82\xE8\x82\xDC\x82\xB7\n\x83\x47\x83\x89\x81\x5B";

// A version-1 condition record: mode 1 at 12:34, operation 2, memory load 70, CPU limit 40.
std::string ConditionRecord(std::int32_t minute = 34) {
  return Int32Bytes({1, 1, -1, 12, minute, 2, 70, 40});
}
const Values kRecordCondition = {1, -1, 12, 34, 70, 40, 2};

std::vector<Values> AllFields(const CAppSetting& s) {
  std::vector<Values> all;
  for (const auto& condition : s.m_aOperationTime) all.push_back(Fields(*condition));
  return all;
}

// Release level, log size limit, timer delay and interval.
Values Options(const CAppSetting& s) {
  return {s.m_nReleaseLevel, s.m_nLogSizeLimit, s.m_nTimerDelay, s.m_nInterval};
}
void SetOptions(CAppSetting& s, const Values& v) {
  std::tie(s.m_nReleaseLevel, s.m_nLogSizeLimit, s.m_nTimerDelay, s.m_nInterval) =
      std::tie(v[0], v[1], v[2], v[3]);
}

// Options that a layout does not carry keep these values.
const Values kPreset = {11, 22, 33, 44};

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() { SetOptions(setting, kPreset); }
  int Load(const std::string& path = kPath) { return setting.Load(path, files, reporter); }

  qvtest::MemoryFileStore files;
  qvtest::RecordingReporter reporter;
  CAppSetting setting;
};

TEST_F(SettingsFileTest, DefaultSettingsAreWrittenByteForByteAndReadBackAndAMissingFileGives0) {
  CAppSetting written;
  written.m_aOperationTime.push_back(std::make_unique<COperationTime>());
  written.SetDefaultSetting();  // replaces what the list held
  written.m_bModified = 1;
  ASSERT_EQ(1, written.Save(kPath, files));
  EXPECT_EQ(kDefaultFile, files.files[kPath]);

  const QvTime lastExecute = setting.m_timeLastExecute = 123456;
  setting.m_bModified = 1;
  ASSERT_EQ(1, Load());
  EXPECT_EQ(AllFields(written), AllFields(setting));
  EXPECT_EQ(Options(written), Options(setting));
  // Neither is stored in the file, so Load leaves both alone.
  EXPECT_EQ(lastExecute, setting.m_timeLastExecute);
  EXPECT_EQ(1, setting.m_bModified);

  EXPECT_EQ(0, Load(""));
  EXPECT_EQ(4u, setting.m_aOperationTime.size()) << "an empty path changes nothing";
  EXPECT_EQ(0, Load("dir/missing.def"));
  EXPECT_TRUE(setting.m_aOperationTime.empty()) << "the list is dropped before the open";
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(SettingsFileTest, EveryLayoutCarriesItsOwnFields) {
  const std::string r = ConditionRecord();
  const std::vector<Values> one = {kRecordCondition};
  const struct {
    const char* layout;
    std::string bytes;
    std::vector<Values> conditions;
    Values options;
  } cases[] = {
      // Version 3: two skipped time values, one condition, three options.
      {"3", Int32Bytes({3, 111, 222, 1}) + r + Int32Bytes({70, 512, 9}), one, {70, 512, 9, 44}},
      {"1", Int32Bytes({1, 0, 0, 0, 80}), {}, {80, 22, 33, 44}},
      {"negative reads as 0", Int32Bytes({-7, 0, 0, 0}), {}, kPreset},
      // Version 4 skips the value before the interval.
      {"4", Int32Bytes({4, 1}) + r + Int32Bytes({60, 256, 3, 999, 7}), one, {60, 256, 3, 7}},
      // Later versions read as 5; bytes after the last option are ignored.
      {"9", Int32Bytes({9, 1}) + r + Int32Bytes({40, 128, 2, 6}) + "tail", one, {40, 128, 2, 6}},
      // A version-0 condition record is 28 bytes and keeps the initial CPU limit.
      {"record 0",
       Int32Bytes({5, 2, 0, 11, -1, -1, -1, 1, 90}) + r + Int32Bytes({30, 64, 1, 2}),
       {{11, -1, -1, -1, 90, 100, 1}, kRecordCondition},
       {30, 64, 1, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    files.files[kPath] = c.bytes;
    SetOptions(setting, kPreset);
    ASSERT_EQ(1, Load());
    EXPECT_EQ(c.conditions, AllFields(setting));
    EXPECT_EQ(c.options, Options(setting));
  }
  EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(SettingsFileTest, FileLongerThanTheReadBufferReadsEveryRecordInOrder) {
  std::string bytes = Int32Bytes({5, 300});
  for (std::int32_t i = 0; i < 300; ++i) bytes += ConditionRecord(i);
  files.files[kPath] = bytes + Int32Bytes({30, 64, 1, 2});
  ASSERT_EQ(1, Load());
  ASSERT_EQ(300u, setting.m_aOperationTime.size());
  for (std::int32_t i = 0; i < 300; ++i) ASSERT_EQ(i, setting.m_aOperationTime[i]->m_nMinute);
  EXPECT_EQ((Values{30, 64, 1, 2}), Options(setting));
}

TEST_F(SettingsFileTest, TruncatedFileIsReportedOnceAndTheBackupReadInstead) {
  files.files[kPath] = kDefaultFile.substr(0, 100);
  files.files[kBackup] = Int32Bytes({5, 1}) + ConditionRecord() + Int32Bytes({90, 2048, 4, 8});
  ASSERT_EQ(1, Load());
  EXPECT_EQ(std::vector<std::string>{kReadFailureReport}, reporter.texts);
  EXPECT_EQ(std::vector<Values>{kRecordCondition}, AllFields(setting))
      << "conditions read before the end are dropped";
  EXPECT_EQ((Values{90, 2048, 4, 8}), Options(setting));

  // Without a backup, what was read before the end stands.
  files.files.erase(kBackup);
  files.files[kPath] = Int32Bytes({3, 0, 0, 1}) + ConditionRecord() + Int32Bytes({70, 512});
  files.files[kPath].pop_back();
  SetOptions(setting, kPreset);
  ASSERT_EQ(1, Load());
  EXPECT_EQ(2u, reporter.texts.size());
  EXPECT_TRUE(setting.m_aOperationTime.empty()) << "the failed backup read dropped the list";
  EXPECT_EQ((Values{70, 22, 33, 44}), Options(setting));
}

TEST_F(SettingsFileTest, TruncatedBackupIsNotReportedInAnyCase) {
  const std::string truncated = Int32Bytes({5, 3}) + ConditionRecord() + "\x01\x00";
  for (const char* path : {"dir/qvlset.bak", "dir/QVLSET.BAK", "dir/qvlset.Bak"}) {
    files.files[path] = truncated;
    ASSERT_EQ(1, Load(path)) << path;
    // The record that ended early stays in the list, with the fields it could read.
    EXPECT_EQ((std::vector<Values>{kRecordCondition, {0, -1, -1, -1, -1, 100, 0}}),
              AllFields(setting))
        << path;
  }
  EXPECT_TRUE(reporter.texts.empty());

  // A truncated settings file whose backup is truncated too: one message, not two.
  files.files[kPath] = truncated;
  files.files[kBackup] = truncated;
  ASSERT_EQ(1, Load());
  EXPECT_EQ(1u, reporter.texts.size());

  // A huge count in a short file reads only what is there: two whole records and one begun.
  files.files[kBackup] = Int32Bytes({5, 0x7fffffff}) + ConditionRecord() + ConditionRecord();
  ASSERT_EQ(1, Load(kBackup));
  EXPECT_EQ(3u, setting.m_aOperationTime.size());
}

TEST_F(SettingsFileTest, SaveWritesOnlyWhileTheSaveFlagIsSet) {
  files.files[kPath] = "old";
  setting.SetDefaultSetting();
  EXPECT_EQ(1, setting.Save(kPath, files));
  EXPECT_EQ("old", files.files[kPath]);

  setting.m_bModified = 1;
  EXPECT_EQ(1, setting.Save(kPath, files));
  EXPECT_EQ("old", files.files[kBackup]) << "the previous file is kept as the backup";
  files.files.clear();
  EXPECT_EQ(1, setting.Save(kPath, files));
  EXPECT_TRUE(files.files.empty()) << "the first save cleared the flag";

  setting.m_bModified = 1;
  EXPECT_EQ(0, setting.Save("", files));
  EXPECT_EQ(0, setting.m_bModified) << "the flag is cleared before the path is checked";

  files.failReplace = true;
  setting.m_bModified = 1;
  EXPECT_EQ(0, setting.Save(kPath, files)) << "a failed replace is a failed save";
}

TEST(SettingsRecordTest, AssignmentCopiesConditionsAsSeparateObjectsThatCompareByEveryField) {
  CAppSetting source;
  source.SetDefaultSetting();
  SetOptions(source, {70, 0, 3, 9});
  source.m_bModified = 1;
  source.m_timeLastExecute = 1000;

  CAppSetting target;
  target.m_aOperationTime.push_back(std::make_unique<COperationTime>());
  target.m_timeLastExecute = 2000;
  target = source;

  EXPECT_EQ(AllFields(source), AllFields(target));
  target.m_aOperationTime[0]->m_nCpuLoadLimit = 99;  // separate objects
  EXPECT_EQ(10, source.m_aOperationTime[0]->m_nCpuLoadLimit);
  for (auto field :
       {&COperationTime::m_nExecMode, &COperationTime::m_nDay, &COperationTime::m_nHour,
        &COperationTime::m_nMinute, &COperationTime::m_nMemoryLoad,
        &COperationTime::m_nCpuLoadLimit, &COperationTime::m_nOperation}) {
    COperationTime changed = *target.m_aOperationTime[1];
    EXPECT_EQ(1, changed == *source.m_aOperationTime[1]);
    changed.*field += 1;
    EXPECT_EQ(0, changed == *source.m_aOperationTime[1]) << "every field takes part in ==";
  }
  EXPECT_EQ((Values{70, 0, 3, 9}), Options(target));
  // Each engine keeps its own last-execution time and save flag.
  EXPECT_EQ(2000, target.m_timeLastExecute);
  EXPECT_EQ(0, target.m_bModified);
}

// The initial last-execution time is local midnight of 1 January 2000.
TEST(SettingsRecordTest, ClearKeepsTheOptionsAndResetsTimeAndFlag) {
  std::tm midnight{};
  midnight.tm_year = 100;
  midnight.tm_mday = 1;
  midnight.tm_isdst = -1;
  CAppSetting setting;
  EXPECT_EQ(std::mktime(&midnight), setting.m_timeLastExecute);
  setting.SetDefaultSetting();
  setting.m_nInterval = 17;
  setting.m_bModified = 1;
  setting.m_timeLastExecute = 5;
  setting.Clear();
  EXPECT_TRUE(setting.m_aOperationTime.empty());
  EXPECT_EQ(std::mktime(&midnight), setting.m_timeLastExecute);
  EXPECT_EQ(0, setting.m_bModified);
  EXPECT_EQ(17, setting.m_nInterval);
}

}  // namespace
