// The texts of the condition list's rows.
#include <gtest/gtest.h>

#include "editing/ConditionRow.h"
#include "settings/AppSetting.h"
#include "support/Conditions.h"

namespace {

using qv::editing::CpuLoadText;
using qv::editing::ModeText;
using qv::editing::OperationText;
using qvtest::Condition;

TEST(ConditionRowTest, TheDefaultSettingsGiveTheFourDefaultRows) {
  CAppSetting setting;
  setting.SetDefaultSetting();
  const char* const expected[][3] = {
      {"起動時　", "各アプリケーションの未開放メモリを開放", "10"},
      {"毎時　　0 分", "全て実行", "10"},
      {"メモリー使用率が 60 %を超えたら", "各アプリケーションの未開放メモリを開放", "10"},
      {"メモリー使用率が 80 %を超えたら", "物理メモリ領域を強制開放", "10"},
  };
  ASSERT_EQ(4u, setting.m_aOperationTime.size());
  for (std::size_t i = 0; i < 4; ++i) {
    const COperationTime& condition = *setting.m_aOperationTime[i];
    EXPECT_EQ(expected[i][0], ModeText(condition)) << i;
    EXPECT_EQ(expected[i][1], OperationText(condition.m_nOperation).value_or("?")) << i;
    EXPECT_EQ(expected[i][2], CpuLoadText(condition)) << i;
  }
}

TEST(ConditionRowTest, EveryModeHasItsLabelAndTimeParts) {
  const struct {
    COperationTime condition;
    const char* text;
  } cases[] = {
      {Condition(0, -1, -1, 5), "毎時　　5 分"},
      {Condition(1, -1, 3, 0), "毎日　　3 時0 分"},
      {Condition(2, -1, 23, 59), "毎日曜　23 時59 分"},
      {Condition(3, -1, 0, 0), "毎月曜　0 時0 分"},
      {Condition(4, -1, 1, 2), "毎火曜　1 時2 分"},
      {Condition(5, -1, 1, 2), "毎水曜　1 時2 分"},
      {Condition(6, -1, 1, 2), "毎木曜　1 時2 分"},
      {Condition(7, -1, 1, 2), "毎金曜　1 時2 分"},
      {Condition(8, -1, 1, 2), "毎土曜　1 時2 分"},
      {Condition(9, 15, 12, 30), "毎月　　15 日12 時30 分"},
      {Condition(10, -1, -1, -1), "起動時　"},
      {Condition(11, -1, -1, -1, 80), "メモリー使用率が 80 %を超えたら"},
      {Condition(12, -1, -1, 7), "7 分"},
      {Condition(-1, 1, -1, -1), "1 日"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, ModeText(c.condition)) << c.text;
  // The ideographic space is the two bytes 0x81 0x40.
  EXPECT_EQ(std::string("\x96\x88\x8E\x9E\x81\x40\x81\x40", 8), ModeText(Condition(0, -1, -1, -1)));
}

TEST(ConditionRowTest, AnOperationWithoutANameLeavesTheCellAlone) {
  EXPECT_EQ("各アプリケーションの未開放メモリを開放", OperationText(0));
  EXPECT_EQ("物理メモリ領域を強制開放", OperationText(1));
  EXPECT_EQ("全て実行", OperationText(2));
  EXPECT_FALSE(OperationText(3).has_value());
  EXPECT_FALSE(OperationText(-1).has_value());
}

}  // namespace
