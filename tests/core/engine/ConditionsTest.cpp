// Which conditions hold at a moment, and what the matching ones select together.
#include <gtest/gtest.h>

#include "engine/Conditions.h"
#include "support/Conditions.h"
#include "support/FakeEngineSystem.h"

namespace {

using qvtest::BreakDown;
using qvtest::Condition;
using qvtest::TimeOf;

bool MatchesAt(const COperationTime& c, QvTime time, std::uint32_t load = 0, bool startup = false) {
  return ConditionMatches(c, BreakDown(time), load, startup);
}

TEST(ConditionMatchTest, EveryHourMatchesItsMinuteOnAnyDay) {
  const COperationTime c = Condition(0, -1, -1, 15);
  EXPECT_TRUE(MatchesAt(c, TimeOf(2026, 12, 7, 10, 15)));
  EXPECT_TRUE(MatchesAt(c, TimeOf(2027, 2, 28, 11, 15, 59)));
  EXPECT_FALSE(MatchesAt(c, TimeOf(2026, 12, 7, 10, 16)));
}

TEST(ConditionMatchTest, EveryDayMatchesItsHourAndMinute) {
  const COperationTime c = Condition(1, -1, 23, 5);
  EXPECT_TRUE(MatchesAt(c, TimeOf(2026, 12, 7, 23, 5)));
  EXPECT_FALSE(MatchesAt(c, TimeOf(2026, 12, 7, 22, 5)));
  EXPECT_FALSE(MatchesAt(c, TimeOf(2026, 12, 7, 23, 6)));
}

TEST(ConditionMatchTest, WeekdayModesMatchOnlyTheirDay) {
  // 2026-12-06 is a Sunday; modes 2 to 8 stand for Sunday to Saturday.
  for (std::int32_t mode = 2; mode <= 8; ++mode) {
    const COperationTime c = Condition(mode, -1, 8, 30);
    for (int offset = 0; offset < 7; ++offset) {
      const QvTime time = TimeOf(2026, 12, 6 + offset, 8, 30);
      EXPECT_EQ(offset == mode - 2, MatchesAt(c, time)) << "mode " << mode << " day +" << offset;
    }
    EXPECT_FALSE(MatchesAt(c, TimeOf(2026, 12, 6 + mode - 2, 8, 31)));
  }
}

TEST(ConditionMatchTest, EveryMonthOnThe31stSkipsShortMonths) {
  const COperationTime c = Condition(9, 31, 0, 0);
  EXPECT_TRUE(MatchesAt(c, TimeOf(2026, 12, 31, 0, 0)));
  for (int day = 1; day <= 30; ++day) EXPECT_FALSE(MatchesAt(c, TimeOf(2026, 11, day, 0, 0)));
  EXPECT_FALSE(MatchesAt(c, TimeOf(2026, 12, 1, 0, 0))) << "the day after November 30";
  EXPECT_FALSE(MatchesAt(Condition(9, 30, 0, 0), TimeOf(2026, 12, 31, 0, 0)));
}

TEST(ConditionMatchTest, StartFlagAndMemoryLoadIgnoreTheClock) {
  const COperationTime atStart = Condition(10, -1, -1, -1);
  EXPECT_TRUE(MatchesAt(atStart, TimeOf(2026, 12, 7, 3, 33), 0, true));
  EXPECT_FALSE(MatchesAt(atStart, TimeOf(2026, 12, 7, 3, 33), 0, false));

  const COperationTime load60 = Condition(11, -1, -1, -1, 60);
  EXPECT_TRUE(MatchesAt(load60, TimeOf(2026, 12, 7), 60));
  EXPECT_TRUE(MatchesAt(load60, TimeOf(2026, 12, 7), 100));
  EXPECT_FALSE(MatchesAt(load60, TimeOf(2026, 12, 7), 59));
}

TEST(ConditionMatchTest, UnknownModesAndUnusedFieldsNeverMatch) {
  const QvTime time = TimeOf(2026, 12, 7, 0, 0);
  for (std::int32_t mode : {-1, 12, 100}) {
    EXPECT_FALSE(MatchesAt(Condition(mode, 7, 0, 0, 0), time, 100, true)) << mode;
  }
  EXPECT_FALSE(MatchesAt(Condition(0, -1, -1, -1), time)) << "minute -1";
  EXPECT_FALSE(MatchesAt(Condition(1, -1, -1, 0), time)) << "hour -1";
}

class ConditionSelectionTest : public ::testing::Test {
 protected:
  void Add(std::int32_t operation, std::int32_t cpuLimit, bool matching = true) {
    auto c = std::make_unique<COperationTime>(Condition(11, -1, -1, -1, matching ? 0 : 101));
    c->m_nOperation = operation;
    c->m_nCpuLoadLimit = cpuLimit;
    conditions.push_back(std::move(c));
  }
  CConditionOutcome Evaluate() {
    return EvaluateConditions(conditions, BreakDown(TimeOf(2026, 12, 7)), 50, false);
  }
  COperationTimeArray conditions;
};

TEST_F(ConditionSelectionTest, NoConditionsSelectNothing) {
  const CConditionOutcome outcome = Evaluate();
  EXPECT_EQ(0, outcome.matched);
  EXPECT_EQ(100, outcome.workingSetCpuLoadLimit);
  EXPECT_EQ(100, outcome.wholeMemoryCpuLoadLimit);
}

TEST_F(ConditionSelectionTest, SameOperationTakesTheSmallestLimit) {
  Add(0, 30);
  Add(0, 50);
  Add(0, 10, /*matching=*/false);
  const CConditionOutcome outcome = Evaluate();
  EXPECT_EQ(1, outcome.matched);
  EXPECT_EQ(1, outcome.optimizeWorkingSet);
  EXPECT_EQ(30, outcome.workingSetCpuLoadLimit);
  EXPECT_EQ(0, outcome.optimizeWholeMemory);
  EXPECT_EQ(100, outcome.wholeMemoryCpuLoadLimit);
}

TEST_F(ConditionSelectionTest, BothAndWholeMemoryCombineInEitherOrder) {
  for (bool bothFirst : {true, false}) {
    conditions.clear();
    if (bothFirst) Add(2, 40);
    Add(1, 20);
    if (!bothFirst) Add(2, 40);
    const CConditionOutcome outcome = Evaluate();
    EXPECT_EQ(1, outcome.optimizeWorkingSet);
    EXPECT_EQ(1, outcome.optimizeWholeMemory);
    EXPECT_EQ(40, outcome.workingSetCpuLoadLimit);
    EXPECT_EQ(20, outcome.wholeMemoryCpuLoadLimit);
  }
}

TEST_F(ConditionSelectionTest, UnknownOperationMatchesWithoutSelectingAnything) {
  Add(3, 5);
  Add(-1, 5);
  const CConditionOutcome outcome = Evaluate();
  EXPECT_EQ(1, outcome.matched);
  EXPECT_EQ(0, outcome.optimizeWorkingSet);
  EXPECT_EQ(0, outcome.optimizeWholeMemory);
  EXPECT_EQ(100, outcome.workingSetCpuLoadLimit);
  EXPECT_EQ(100, outcome.wholeMemoryCpuLoadLimit);
}

}  // namespace
