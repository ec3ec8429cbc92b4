// The condition record and the settings record in memory: comparison, assignment, clearing
// and the initial last-execution time.
#include <gtest/gtest.h>

#include "settings/AppSetting.h"

namespace {

TEST(ConditionRecordTest, EveryFieldTakesPartInTheComparison) {
  std::int32_t COperationTime::*fields[] = {
      &COperationTime::m_nExecMode,   &COperationTime::m_nDay,
      &COperationTime::m_nHour,       &COperationTime::m_nMinute,
      &COperationTime::m_nMemoryLoad, &COperationTime::m_nCpuLoadLimit,
      &COperationTime::m_nOperation};
  for (auto field : fields) {
    COperationTime a, b;
    b.*field += 1;
    EXPECT_EQ(0, a == b);
  }
}

TEST(SettingsRecordTest, AssignmentCopiesConditionsAsSeparateObjects) {
  CAppSetting source;
  source.SetDefaultSetting();
  source.m_nReleaseLevel = 70;
  source.m_nLogSizeLimit = 0;
  source.m_nTimerDelay = 3;
  source.m_nInterval = 9;
  source.m_bModified = 1;
  source.m_timeLastExecute = 1000;

  CAppSetting target;
  target.m_aOperationTime.push_back(std::make_unique<COperationTime>());
  target.m_timeLastExecute = 2000;
  target = source;

  ASSERT_EQ(4u, target.m_aOperationTime.size());
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_NE(source.m_aOperationTime[i].get(), target.m_aOperationTime[i].get());
    EXPECT_EQ(1, *target.m_aOperationTime[i] == *source.m_aOperationTime[i]);
  }
  target.m_aOperationTime[0]->m_nCpuLoadLimit = 99;
  EXPECT_EQ(10, source.m_aOperationTime[0]->m_nCpuLoadLimit);
  EXPECT_EQ(70, target.m_nReleaseLevel);
  EXPECT_EQ(0, target.m_nLogSizeLimit);
  EXPECT_EQ(3, target.m_nTimerDelay);
  EXPECT_EQ(9, target.m_nInterval);
  // Each engine keeps its own last-execution time and save flag.
  EXPECT_EQ(2000, target.m_timeLastExecute);
  EXPECT_EQ(0, target.m_bModified);
}

TEST(SettingsRecordTest, ClearKeepsTheOptionsAndResetsTimeAndFlag) {
  CAppSetting setting;
  const QvTime initial = setting.m_timeLastExecute;
  setting.SetDefaultSetting();
  setting.m_nInterval = 17;
  setting.m_bModified = 1;
  setting.m_timeLastExecute = 5;
  setting.Clear();
  EXPECT_TRUE(setting.m_aOperationTime.empty());
  EXPECT_EQ(initial, setting.m_timeLastExecute);
  EXPECT_EQ(0, setting.m_bModified);
  EXPECT_EQ(17, setting.m_nInterval);
}

TEST(SettingsRecordTest, InitialLastExecuteIsLocalMidnightOfYear2000) {
  const std::time_t initial = static_cast<std::time_t>(CAppSetting().m_timeLastExecute);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &initial);
#else
  localtime_r(&initial, &local);
#endif
  EXPECT_EQ(100, local.tm_year);
  EXPECT_EQ(0, local.tm_mon);
  EXPECT_EQ(1, local.tm_mday);
  EXPECT_EQ(0, local.tm_hour);
  EXPECT_EQ(0, local.tm_min);
}

}  // namespace
