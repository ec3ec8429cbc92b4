// The service log file: appending, cutting at the size limit, refusing links, keeping the lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "engine/MemClean.h"
#include "engine/ServiceLog.h"
#include "settings/FileStore.h"
#include "support/Conditions.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace {

const char kDirectory[] = "C:\\Quorvel\\SVC";
const char kLogPath[] = "C:\\Quorvel\\SVC\\vorel.log";

// Lines of ten bytes each, CR LF included: "A0000000\r\n" style with the given letter.
std::string Lines(char letter, int first, int count) {
  std::string text;
  for (int i = first; i < first + count; ++i)
    text += letter + std::to_string(10000000 + i).substr(1) + "\r\n";
  return text;
}

// The whole file read, the bytes too many cut, then through the first CR LF unless it starts so.
std::string Reference(const std::string& old, const std::string& text, std::uint64_t limit) {
  std::string all = old + text;
  if (limit == 0 || all.size() <= limit) return all;
  all.erase(0, all.size() - limit);
  const std::size_t lineEnd = all.find("\r\n");
  if (lineEnd != std::string::npos && lineEnd > 0) all.erase(0, lineEnd + 2);
  return all;
}

// The file after text was added to old within the limit.
std::string Append(qvtest::FakePlatform& system, const std::string& old, const std::string& text,
                   std::uint64_t limit) {
  system.directories.insert(kDirectory);
  system.files[kLogPath] = old;
  CLogWrite plan;
  EXPECT_TRUE(PlanLogWrite(*system.OpenExclusive(kLogPath), text, limit, plan));
  if (plan.rewrite) return plan.bytes;
  EXPECT_EQ(old.size(), plan.appendAt);
  return old + plan.bytes;
}

TEST(LogFileTest, OldestLinesAreCutAtALineStartReadingNoMoreThanSurvives) {
  // Hand cases pin the cut; random logs hold the engine to the whole-file reference.
  struct Case {
    std::string old, text;
    std::uint64_t limit;
    std::string expected;
  } const cases[] = {
      {Lines('A', 0, 100), Lines('B', 0, 10), 1024, Lines('A', 8, 92) + Lines('B', 0, 10)},
      // Ten bytes too many, exactly the first line: the next goes as well.
      {Lines('A', 0, 100), std::string(32, 'y') + "\r\n", 1024,
       Lines('A', 2, 98) + std::string(32, 'y') + "\r\n"},
      // The rest begins with the first line's CR LF: nothing more goes.
      {Lines('A', 0, 100), std::string(32, 'z'), 1024,
       "\r\n" + Lines('A', 1, 99) + std::string(32, 'z')},
      {Lines('A', 0, 50), "new\r\n", LogSizeLimitBytes(-1), Lines('A', 0, 50) + "new\r\n"},
      {Lines('A', 0, 200000), Lines('B', 0, 3), 1024, Lines('A', 199901, 99) + Lines('B', 0, 3)},
  };
  for (const Case& c : cases) {
    qvtest::FakePlatform system;
    EXPECT_EQ(c.expected, Append(system, c.old, c.text, c.limit)) << c.limit;
    EXPECT_LE(system.bytesRead, c.limit);
  }
  EXPECT_EQ(4194304ull * 1024, LogSizeLimitBytes(4194304));  // 4 GB: 0 in 32 bits
  std::mt19937 random(12345);
  for (int round = 0; round < 2000; ++round) {
    auto randomText = [&](int maxLength) {
      std::string text(random() % maxLength, '\0');
      for (char& c : text) c = "ab\r\n\x82\xa0"[random() % 6];
      return text;
    };
    const std::string old = randomText(300), text = randomText(300);
    const std::uint64_t limit = random() % 400;
    qvtest::FakePlatform system;
    ASSERT_EQ(Reference(old, text, limit), Append(system, old, text, limit))
        << "round " << round << " limit " << limit;
    ASSERT_LE(system.bytesRead, limit);
    if (limit == 0 || old.size() + text.size() <= limit || text.size() >= limit) {
      ASSERT_EQ(0u, system.bytesRead) << "no old line survives or none goes: nothing read";
    }
  }
}

TEST(LogFileTest, LinksAreRefusedAndATrimPutsAWholeNewFileInPlace) {
  qvtest::TempDir dir;
  IEngineSystem& system = *SystemEnginePlatform().system;
  const std::string log = dir.File("vorel.log");
  CLogLines lines;
  lines.Add("new", 1024);
  std::error_code linkError;
  std::filesystem::create_symlink(dir.File("victim"), log, linkError);
  std::filesystem::create_symlink(dir.File("victim"), dir.File("qvlset.def"), linkError);
  if (std::filesystem::is_symlink(log)) {  // Wine makes no links
    qvtest::WriteBytes(dir.File("victim"), "victim");
    EXPECT_EQ(0, WriteLogFile(system, log, lines, 0));
    EXPECT_EQ(nullptr, SystemFileStore().OpenForReading(dir.File("qvlset.def")));
    EXPECT_EQ("victim", qvtest::ReadBytes(dir.File("victim")));
    EXPECT_EQ(1u, lines.GetCount());
  }
  std::filesystem::remove_all(dir.Path());
  std::filesystem::create_directories(dir.Path());
  qvtest::WriteBytes(log, std::string(2000, 'x') + "\r\nold\r\n");
  EXPECT_EQ(1, WriteLogFile(system, log, lines, 16));
  EXPECT_EQ("old\r\nnew\r\n", qvtest::ReadBytes(log));
  EXPECT_EQ(1, dir.Count()) << "no temporary file and no backup are left";
}

TEST(PendingLinesTest, OldestLinesGoPastTheLogLimitAndOneLineSaysHowMany) {
  for (const auto& [limitKb, bound] :
       {std::pair<int, std::uint64_t>{1, 1024}, {0, 1u << 20}, {-5, 1u << 20}}) {
    qvtest::FakePlatform system;
    CMemClean clean(CEnginePlatform{&system, nullptr, nullptr, nullptr});
    clean.m_appSetting.m_nLogSizeLimit = limitKb;
    const int total = static_cast<int>(bound / 10) + 50;
    for (int i = 0; i < total; ++i) clean.AddLog(Lines('A', i, 1).substr(0, 8));
    const std::vector<std::string> lines = clean.m_aLog.Copy();
    std::uint64_t bytes = 0;
    for (const std::string& line : lines) bytes += line.size() + 2;
    EXPECT_LE(bytes, bound);
    EXPECT_GT(bytes, bound - 100) << "no more go than must";
    // "ログ %d 行を破棄しました" in code page 932.
    EXPECT_EQ("\x83\x8d\x83\x4f " + std::to_string(total - (lines.size() - 1)) +
                  " \x8d\x73\x82\xf0\x94\x6a\x8a\xfc\x82\xb5\x82\xdc\x82\xb5\x82\xbd",
              lines[0]);
    EXPECT_EQ(Lines('A', total - 1, 1).substr(0, 8), lines.back());
    EXPECT_EQ('A', lines[1][0]) << "one notice only";
  }
}

class ServiceLogTest : public ::testing::Test {
 protected:
  ServiceLogTest() : clean(CEnginePlatform{&system, nullptr, nullptr, nullptr}) {
    clean.m_bServiceMode = 1;
    setting.m_aOperationTime.push_back(qvtest::AlwaysMatchingCondition(7));
    setting.m_nInterval = 5;
  }

  // One service turn, minutesLater after the last: hand over the settings and run the pass.
  void RunServicePass(QvTime minutesLater = 0) {
    system.now += minutesLater * 60;
    clean.m_appSetting = setting;
    ASSERT_EQ(1, DoCleanUp(&clean));
  }
  std::string LogFile() { return system.files[kLogPath]; }

  qvtest::FakePlatform system;
  CAppSetting setting;
  CMemClean clean;
};

TEST_F(ServiceLogTest, CompletedPassCreatesTheDirectoryAndAppendsItsLines) {
  EXPECT_EQ(0, WriteServiceLog(nullptr));
  RunServicePass();
  const std::string log = LogFile();
  EXPECT_EQ(0u, log.find("--- 実行条件判断によるオペレーション開始 2026/12/07 10:15:00\r\n"));
  EXPECT_EQ(7, std::count(log.begin(), log.end(), '\n'));
  EXPECT_EQ(7, std::count(log.begin(), log.end(), '\r'));
  EXPECT_TRUE(clean.m_aLog.IsEmpty());
  EXPECT_EQ(1, system.ownTrims);

  RunServicePass(1);  // within the interval: the refusal waits for the next completed pass
  EXPECT_EQ(log, LogFile());
  EXPECT_EQ(2u, clean.m_aLog.GetCount());
  RunServicePass(10);
  const std::string next = LogFile();
  const std::size_t refusal = next.find("タイムインターバル設定によるオペレーション中止\r\n");
  ASSERT_NE(std::string::npos, refusal);
  EXPECT_EQ(log.size(), next.find("--- 実行条件判断によるオペレーション開始 2026/12/07 10:16:00"))
      << "appended";
  EXPECT_LT(refusal, next.find("10:26:00"));
}

// A held file is retried ten times; the lines wait for the next pass, in their order.
TEST_F(ServiceLogTest, HeldFileOrFailedTrimmingWriteLeavesTheLogAndTheLinesWaitForTheNextPass) {
  const std::string old = Lines('A', 0, 200);
  system.directories.insert(kDirectory);
  system.files[kLogPath] = old;
  setting.m_nLogSizeLimit = 1;
  system.heldByOthers.insert(kLogPath);
  RunServicePass();
  EXPECT_EQ(11, system.opens);
  EXPECT_EQ(std::vector<std::uint32_t>(10, 500), system.sleeps);
  const std::vector<std::string> kept = clean.m_aLog.Copy();
  ASSERT_EQ(7u, kept.size());

  system.heldByOthers.clear();
  system.failWrites = true;
  RunServicePass(10);
  EXPECT_EQ(old, LogFile());
  EXPECT_EQ(14u, clean.m_aLog.GetCount());

  system.failWrites = false;
  RunServicePass(10);
  const std::string log = LogFile();
  EXPECT_LE(log.size(), 1024u);
  EXPECT_LT(log.find(kept[0] + "\r\n"), log.find("10:25:00")) << "the held lines come first";
  EXPECT_LT(log.find("10:25:00"), log.find("10:35:00"));
  EXPECT_TRUE(clean.m_aLog.IsEmpty());
}

}  // namespace
