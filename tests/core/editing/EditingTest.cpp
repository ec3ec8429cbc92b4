// The condition list's row texts and the condition and options dialogs' decisions.
#include <gtest/gtest.h>

#include <climits>

#include "editing/ConditionRow.h"
#include "editing/DialogChecks.h"
#include "framework/DecimalText.h"
#include "settings/AppSetting.h"
#include "support/Conditions.h"

namespace {

using namespace qv::editing;
using qvtest::Condition;

// The texts in code page 932, as the message boxes receive them.
const char kTime[] =
    "\x8E\x9E\x8A\xD4\x90\xDD\x92\xE8\x82\xAA\x95\x73\x93\x4B\x90\xD8\x82\xC5\x82\xB7";
const char kMemory[] =
    "\x83\x81\x83\x82\x83\x8A\x81\x5B\x90\xDD\x92\xE8\x82\xAA\x95\x73\x93\x4B\x90\xD8\x82\xC5\x82"
    "\xB7";

TEST(DialogChecksTest, NumbersAreReadAsAtoiReadsThemWithoutOverflow) {
  const char* const texts[] = {"",    "1.5",   "  42",        "+7",           "-5",
                               "abc", "12abc", "99999999999", "-99999999999", "2147483647"};
  const int values[] = {0, 1, 42, 7, -5, 0, 12, INT_MAX, INT_MIN, INT_MAX};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(values[i], qv::ReadDecimal(texts[i])) << texts[i];
}

TEST(DialogChecksTest, EachModeEnablesItsOwnInputs) {
  const struct {
    int mode;
    bool day, hour, minute, memory;
  } cases[] = {{0, false, false, true, false},   {1, false, true, true, false},
               {8, false, true, true, false},    {9, true, true, true, false},
               {10, false, false, false, false}, {11, false, false, false, true},
               {-1, false, false, false, false}};
  for (const auto& c : cases) {
    const ConditionInputs on = ConditionInputsForMode(c.mode);
    EXPECT_EQ((std::vector<bool>{c.day, c.hour, c.minute, c.memory}),
              (std::vector<bool>{on.day, on.hour, on.minute, on.memoryLoad}))
        << c.mode;
  }
  EXPECT_EQ("", ConditionFieldText(-1));
  EXPECT_EQ("0", ConditionFieldText(0));
}

TEST(DialogChecksTest, ChecksAndQuestionsComeInTheirOrder) {
  const CheckStep time{CheckStep::Error, kTime};
  const CheckStep allMonths{CheckStep::Question, kSomeMonthsSkipped};
  const CheckStep february{CheckStep::Question, kFebruaryOnlyInLeapYears};
  const struct {
    const char* what;
    ConditionInput input;
    std::vector<CheckStep> steps;
  } cases[] = {
      {"every hour, minute 0", {0, 0, "", "", "0", "", "100"}, {}},
      {"minute empty", {0, 0, "", "", "", "", "100"}, {time}},
      {"minute 60", {0, 0, "", "", "60", "", "100"}, {time}},
      {"pasted negative minute", {0, 0, "", "", "-1", "", "100"}, {time}},
      {"hour 23", {1, 0, "", "23", "59", "", "100"}, {}},
      {"hour 24", {2, 0, "", "24", "0", "", "100"}, {time}},
      {"hour empty", {8, 0, "", "", "0", "", "100"}, {time}},
      {"day 28", {9, 0, "28", "1", "0", "", "100"}, {}},
      {"day 29", {9, 0, "29", "1", "0", "", "100"}, {february}},
      {"day 30", {9, 0, "30", "1", "0", "", "100"}, {february}},
      {"day 31", {9, 0, "31", "1", "0", "", "100"}, {allMonths, february}},
      {"day 32", {9, 0, "32", "1", "0", "", "100"}, {time}},
      {"day 0 never comes", {9, 0, "0", "1", "0", "", "100"}, {time}},
      {"day empty", {9, 0, "", "1", "0", "", "100"}, {time}},
      {"time before the day", {9, 0, "31", "24", "0", "", "100"}, {time}},
      {"memory 100", {11, 1, "", "", "", "100", "100"}, {}},
      {"memory 101", {11, 1, "", "", "", "101", "100"}, {{CheckStep::Error, kMemory}}},
      {"memory empty", {11, 1, "", "", "", "", "100"}, {{CheckStep::Error, kMemory}}},
      {"cpu empty is 0", {10, 2, "", "", "", "", ""}, {}},
      {"cpu 101 after the questions",
       {9, 0, "31", "1", "0", "", "101"},
       {allMonths, february, {CheckStep::Error, kCpuInvalid}}},
      {"no mode", {-1, 0, "", "", "0", "", "100"}, {{CheckStep::Error, kModeMissing}}},
      {"no operation", {10, -1, "", "", "", "", "100"}, {{CheckStep::Error, kOperationMissing}}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.steps, CheckCondition(c.input).steps) << c.what;
}

TEST(DialogChecksTest, FieldsTheModeDoesNotUseAreStoredAsMinus1) {
  auto stored = [](int mode) {
    return qvtest::Fields(CheckCondition({mode, 2, "31", "23", "1.5", "70", ""}).condition);
  };
  EXPECT_EQ((std::vector<std::int32_t>{0, -1, -1, 1, -1, 0, 2}), stored(0));
  EXPECT_EQ((std::vector<std::int32_t>{3, -1, 23, 1, -1, 0, 2}), stored(3));
  EXPECT_EQ((std::vector<std::int32_t>{9, 31, 23, 1, -1, 0, 2}), stored(9));
  EXPECT_EQ((std::vector<std::int32_t>{10, -1, -1, -1, -1, 0, 2}), stored(10));
  EXPECT_EQ((std::vector<std::int32_t>{11, -1, -1, -1, 70, 0, 2}), stored(11));
}

TEST(DialogChecksTest, OptionsRefuseTheDelayFirstAndNeverTheLogSize) {
  const struct {
    OptionInput input;
    const char* error;
  } cases[] = {{{"999999", "59", ""}, nullptr},
               {{"", "60", "60"}, kDelayInvalid},
               {{"", "0", "60"}, kIntervalInvalid},
               {{"", "-1", "0"}, kDelayInvalid}};
  for (const auto& c : cases)
    EXPECT_STREQ(c.error, CheckOptions(c.input).error)
        << c.input.timerDelay << "/" << c.input.interval;
  const OptionCheck accepted = CheckOptions({"999999", "59", ""});
  EXPECT_EQ(999999, accepted.logSizeLimit);
  EXPECT_EQ(59, accepted.timerDelay);
  EXPECT_EQ(0, accepted.interval);
}

TEST(ConditionRowTest, TheDefaultSettingsGiveTheFourDefaultRows) {
  CAppSetting setting;
  setting.SetDefaultSetting();
  const std::vector<std::vector<std::string>> expected = {
      {"起動時　", "各アプリケーションの未開放メモリを開放", "10"},
      {"毎時　　0 分", "全て実行", "10"},
      {"メモリー使用率が 60 %を超えたら", "各アプリケーションの未開放メモリを開放", "10"},
      {"メモリー使用率が 80 %を超えたら", "物理メモリ領域を強制開放", "10"},
  };
  std::vector<std::vector<std::string>> rows;
  for (const auto& c : setting.m_aOperationTime)
    rows.push_back({ModeText(*c), OperationText(c->m_nOperation).value_or("?"), CpuLoadText(*c)});
  EXPECT_EQ(expected, rows);
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
  // An operation without a name leaves its cell alone.
  EXPECT_FALSE(OperationText(3).has_value());
  EXPECT_FALSE(OperationText(-1).has_value());
}

}  // namespace
