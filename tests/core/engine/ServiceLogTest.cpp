// The service log file: appending, cutting the oldest lines at the size limit, and keeping the
// lines while another program holds the file.
#include <gtest/gtest.h>

#include <random>

#include "engine/MemClean.h"
#include "engine/ServiceLog.h"
#include "support/Conditions.h"
#include "support/FakeEngineSystem.h"

namespace {

const char kDirectory[] = "C:\\Quorvel\\SVC";
const char kLogPath[] = "C:\\Quorvel\\SVC\\vorel.log";

// Lines of ten bytes each, CR LF included: "A000000\r\n" style with the given letter.
std::string Lines(char letter, int first, int count) {
  std::string text;
  for (int i = first; i < first + count; ++i) {
    std::string number = std::to_string(i);
    text += letter + std::string(7 - number.size(), '0') + number + "\r\n";
  }
  return text;
}

// The result as a reference: the whole file read, the first bytes too many cut, then up to and
// including the first CR LF unless the rest begins with it.
std::string Reference(const std::string& old, const std::string& text, std::uint64_t limit) {
  std::string all = old + text;
  if (limit == 0 || all.size() <= limit) return all;
  all.erase(0, all.size() - limit);
  const std::size_t lineEnd = all.find("\r\n");
  if (lineEnd != std::string::npos && lineEnd > 0) all.erase(0, lineEnd + 2);
  return all;
}

class LogFileTest : public ::testing::Test {
 protected:
  std::string Append(const std::string& old, const std::string& text, std::uint64_t limit) {
    std::string bytes = old;
    qvtest::FakeFile file(bytes, bytesRead);
    EXPECT_TRUE(AppendWithinLimit(file, text, limit));
    return bytes;
  }
  std::uint64_t bytesRead = 0;
};

TEST_F(LogFileTest, NewLinesPastTheLimitCutTheOldestAtALineStart) {
  const std::string old = Lines('A', 0, 100);  // 1000 bytes
  const std::string text = Lines('B', 0, 10);  // 100 bytes
  const std::string result = Append(old, text, 1024);
  EXPECT_LE(result.size(), 1024u);
  EXPECT_EQ('A', result[0]);
  EXPECT_EQ(0u, (result.size()) % 10) << "whole lines only";
  EXPECT_EQ(text, result.substr(result.size() - text.size()));
  EXPECT_EQ(Reference(old, text, 1024), result);
  EXPECT_LE(bytesRead, 1024u);
}

TEST_F(LogFileTest, ExactFillIsAppendedWithoutCut) {
  const std::string old = Lines('A', 0, 100);
  const std::string text(24, 'x');
  EXPECT_EQ(old + text, Append(old, text, 1024));
  EXPECT_EQ(0u, bytesRead);
}

TEST_F(LogFileTest, PassLongerThanTheLimitKeepsItsNewestLines) {
  const std::string old = Lines('A', 0, 50);
  const std::string text = Lines('B', 0, 300);  // 3000 bytes
  const std::string result = Append(old, text, 1024);
  EXPECT_EQ(Lines('B', 198, 102), result);
  EXPECT_EQ(0u, bytesRead) << "nothing of the old file survives, so nothing of it is read";
}

TEST_F(LogFileTest, CutRightAfterALineEndDropsTheNextLineToo) {
  // 1000 + 34 bytes under 1024: ten bytes too many, exactly the first line.
  const std::string old = Lines('A', 0, 100);
  const std::string text = "0123456789ABCDEFGHIJKLMNOPQRSTUV\r\n";
  const std::string result = Append(old, text, 1024);
  EXPECT_EQ(Lines('A', 2, 98) + text, result);
}

TEST_F(LogFileTest, CutRightBeforeALineEndKeepsTheEmptyLine) {
  // Eight bytes too many: the rest begins with the first line's CR LF, and nothing more goes.
  const std::string old = Lines('A', 0, 100);
  const std::string text(32, 'z');
  EXPECT_EQ("\r\n" + Lines('A', 1, 99) + text, Append(old, text, 1024));
}

TEST_F(LogFileTest, NoLimitNeverCuts) {
  const std::string old = Lines('A', 0, 5000);
  EXPECT_EQ(old + "new\r\n", Append(old, "new\r\n", 0));
  EXPECT_EQ(old + "new\r\n", Append(old, "new\r\n", LogSizeLimitBytes(-1)));
  EXPECT_EQ(0u, bytesRead);
}

TEST_F(LogFileTest, LargeLimitsDoNotWrap) {
  EXPECT_EQ(2147483647ull * 1024, LogSizeLimitBytes(2147483647));
  EXPECT_EQ(4194304ull * 1024, LogSizeLimitBytes(4194304));  // 4 GB: 0 in 32 bits
  EXPECT_EQ(1048576u, LogSizeLimitBytes(1024));
}

TEST_F(LogFileTest, HugeOldLogIsReadOnlyUpToTheLimit) {
  const std::string old = Lines('A', 0, 200000);  // 2 MB, grown while the limit was 0
  const std::string result = Append(old, Lines('B', 0, 3), 1024);
  EXPECT_LE(bytesRead, 1024u);
  EXPECT_EQ(Reference(old, Lines('B', 0, 3), 1024), result);
}

TEST_F(LogFileTest, AgreesWithTheWholeFileReferenceOnRandomLogs) {
  std::mt19937 random(12345);
  for (int round = 0; round < 2000; ++round) {
    auto randomText = [&](int maxLength) {
      std::string text(random() % maxLength, '\0');
      for (char& c : text) c = "ab\r\n\x82\xa0"[random() % 6];
      return text;
    };
    const std::string old = randomText(300);
    const std::string text = randomText(300);
    const std::uint64_t limit = random() % 400;
    bytesRead = 0;
    ASSERT_EQ(Reference(old, text, limit), Append(old, text, limit))
        << "round " << round << " limit " << limit;
    if (limit != 0) {
      ASSERT_LE(bytesRead, limit);
    }
  }
}

class ServiceLogTest : public ::testing::Test {
 protected:
  ServiceLogTest() : clean(CEnginePlatform{&system, nullptr, nullptr, nullptr}) {
    clean.m_bServiceMode = 1;
    setting.m_aOperationTime.push_back(qvtest::AlwaysMatchingCondition(7));
    setting.m_nInterval = 5;
  }

  // One service turn: hand over the settings and run the pass thread to its end.
  void RunServicePass() {
    clean.m_appSetting = setting;
    ASSERT_EQ(1, DoCleanUp(&clean));
    ASSERT_EQ(0, clean.m_bRunning);
  }

  std::string LogFile() { return system.files[kLogPath]; }

  qvtest::FakeEngineSystem system;
  CAppSetting setting;
  CMemClean clean;
};

TEST_F(ServiceLogTest, CompletedPassCreatesTheDirectoryAndAppendsItsLines) {
  RunServicePass();
  EXPECT_TRUE(system.directories.count(kDirectory));
  const std::string log = LogFile();
  EXPECT_EQ(0u, log.find("--- 実行条件判断によるオペレーション開始 2026/12/07 10:15:00\r\n"));
  EXPECT_EQ(7u * 2, static_cast<std::size_t>(std::count(log.begin(), log.end(), '\r') +
                                             std::count(log.begin(), log.end(), '\n')));
  EXPECT_TRUE(clean.m_aLog.IsEmpty());
  EXPECT_EQ(0, system.sends);
  EXPECT_EQ(1, system.ownTrims);

  system.now += 10 * 60;
  RunServicePass();
  EXPECT_EQ(0u, LogFile().find(log)) << "the second pass is appended";
  EXPECT_GT(LogFile().size(), log.size());
}

TEST_F(ServiceLogTest, HeldFileIsRetriedTenTimesAndTheLinesWaitForTheNextPass) {
  system.heldByOthers.insert(kLogPath);
  RunServicePass();
  EXPECT_EQ(11, system.opens);
  EXPECT_EQ(std::vector<std::uint32_t>(10, 500), system.sleeps);
  const std::vector<std::string> kept = clean.m_aLog.Copy();
  ASSERT_EQ(7u, kept.size());

  system.heldByOthers.clear();
  system.now += 10 * 60;
  RunServicePass();
  const std::string log = LogFile();
  EXPECT_EQ(0u, log.find(kept[0] + "\r\n")) << "the held lines come first";
  EXPECT_NE(std::string::npos, log.find("2026/12/07 10:25:00"));
  EXPECT_LT(log.find("10:15:00"), log.find("10:25:00"));
  EXPECT_TRUE(clean.m_aLog.IsEmpty());
}

TEST_F(ServiceLogTest, RefusedPassWritesNothingUntilTheNextCompletedPass) {
  RunServicePass();
  const std::string first = LogFile();
  system.now += 60;  // within the interval
  RunServicePass();
  EXPECT_EQ(first, LogFile());
  EXPECT_EQ(2u, clean.m_aLog.GetCount());

  system.now += 10 * 60;
  RunServicePass();
  const std::string log = LogFile();
  const std::size_t refusal = log.find("タイムインターバル設定によるオペレーション中止\r\n");
  ASSERT_NE(std::string::npos, refusal);
  EXPECT_EQ(first.size(), log.find("--- 実行条件判断によるオペレーション開始 2026/12/07 10:16:00"));
  EXPECT_LT(refusal, log.find("10:26:00"));
}

TEST_F(ServiceLogTest, NullEngineWritesNothing) {
  EXPECT_EQ(0, WriteServiceLog(nullptr));
}

}  // namespace
