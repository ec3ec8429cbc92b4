// Which conditions hold at a moment, and what the matching ones select together.
#include <gmock/gmock.h>

#include "engine/Conditions.h"
#include "support/Conditions.h"
#include "support/FakePlatform.h"

namespace {

using qvtest::Condition;
using qvtest::TimeOf;
using ::testing::FieldsAre;

TEST(ConditionMatchTest, ModesMatchTheirMomentOnly) {
  const QvTime midnight = TimeOf(2026, 12, 7);
  const struct {
    const char* name;
    COperationTime condition;
    QvTime at;
    std::uint32_t load;
    bool startup, matches;
  } cases[] = {
      {"hourly at its minute", Condition(0, -1, -1, 15), TimeOf(2026, 12, 7, 10, 15), 0, 0, 1},
      {"hourly, any day", Condition(0, -1, -1, 15), TimeOf(2027, 2, 28, 11, 15, 59), 0, 0, 1},
      {"hourly, next minute", Condition(0, -1, -1, 15), TimeOf(2026, 12, 7, 10, 16), 0, 0, 0},
      {"daily", Condition(1, -1, 23, 5), TimeOf(2026, 12, 7, 23, 5), 0, 0, 1},
      {"daily, other hour", Condition(1, -1, 23, 5), TimeOf(2026, 12, 7, 22, 5), 0, 0, 0},
      {"daily, other minute", Condition(1, -1, 23, 5), TimeOf(2026, 12, 7, 23, 6), 0, 0, 0},
      {"monthly on the 31st", Condition(9, 31, 0, 0), TimeOf(2026, 12, 31), 0, 0, 1},
      {"31st, in November", Condition(9, 31, 0, 0), TimeOf(2026, 11, 30), 0, 0, 0},
      {"31st, the day after", Condition(9, 31, 0, 0), TimeOf(2026, 12, 1), 0, 0, 0},
      {"30th, on the 31st", Condition(9, 30, 0, 0), TimeOf(2026, 12, 31), 0, 0, 0},
      {"at start, any time", Condition(10, -1, -1, -1), TimeOf(2026, 12, 7, 3, 33), 0, 1, 1},
      {"at start, later", Condition(10, -1, -1, -1), TimeOf(2026, 12, 7, 3, 33), 0, 0, 0},
      {"load at the threshold", Condition(11, -1, -1, -1, 60), midnight, 60, 0, 1},
      {"load above", Condition(11, -1, -1, -1, 60), midnight, 100, 0, 1},
      {"load below", Condition(11, -1, -1, -1, 60), midnight, 59, 0, 0},
      {"mode -1", Condition(-1, 7, 0, 0, 0), midnight, 100, 1, 0},
      {"mode 12", Condition(12, 7, 0, 0, 0), midnight, 100, 1, 0},
      {"minute unused", Condition(0, -1, -1, -1), midnight, 0, 0, 0},
      {"hour unused", Condition(1, -1, -1, 0), midnight, 0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.matches, ConditionMatches(c.condition, qvtest::BreakDown(c.at), c.load, c.startup))
        << c.name;
  }
}

TEST(ConditionMatchTest, WeekdayModesMatchOnlyTheirDay) {
  // 2026-12-06 is a Sunday; modes 2 to 8 stand for Sunday to Saturday.
  for (std::int32_t mode = 2; mode <= 8; ++mode) {
    const COperationTime c = Condition(mode, -1, 8, 30);
    for (int offset = 0; offset < 7; ++offset) {
      const CLocalTime at = qvtest::BreakDown(TimeOf(2026, 12, 6 + offset, 8, 30));
      EXPECT_EQ(offset == mode - 2, ConditionMatches(c, at, 0, false)) << mode << " +" << offset;
    }
    const CLocalTime late = qvtest::BreakDown(TimeOf(2026, 12, 6 + mode - 2, 8, 31));
    EXPECT_FALSE(ConditionMatches(c, late, 0, false));
  }
}

TEST(ConditionSelectionTest, MatchingConditionsCombine) {
  struct Selecting {
    std::int32_t operation, cpuLimit;
    bool matching;
  };
  const struct {
    const char* name;
    std::vector<Selecting> conditions;
    ::testing::Matcher<CConditionOutcome> expected;
  } cases[] = {
      {"none", {}, FieldsAre(0, 0, 0, 100, 100)},
      {"smallest limit of the same operation",
       {{0, 30, 1}, {0, 50, 1}, {0, 10, 0}},
       FieldsAre(1, 1, 0, 30, 100)},
      {"both, then whole memory", {{2, 40, 1}, {1, 20, 1}}, FieldsAre(1, 1, 1, 40, 20)},
      {"whole memory, then both", {{1, 20, 1}, {2, 40, 1}}, FieldsAre(1, 1, 1, 40, 20)},
      {"unknown operations", {{3, 5, 1}, {-1, 5, 1}}, FieldsAre(1, 0, 0, 100, 100)},
  };
  for (const auto& c : cases) {
    COperationTimeArray conditions;
    for (const Selecting& s : c.conditions) {
      conditions.push_back(qvtest::AlwaysMatchingCondition(s.operation, s.cpuLimit));
      if (!s.matching) conditions.back()->m_nMemoryLoad = 101;
    }
    EXPECT_THAT(EvaluateConditions(conditions, qvtest::BreakDown(0), 50, false), c.expected)
        << c.name;
  }
}

}  // namespace
