// QuorvelS under the real service control manager (Wine's services.exe), driven as the window
// program drives it; its passes write "\SVC\vorel.log" beside the programs.
#include <windows.h>
#include <winsvc.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "QuorvelWProcess.h"
#include "framework/Cp932.h"
#include "service/win32/VorelControl.h"
#include "settings/AppSetting.h"
#include "settings/Utility.h"
#include "support/Conditions.h"
#include "support/TempDir.h"

namespace {

constexpr DWORD kStateTimeout = 20000;
constexpr char kPassStartLine[] = "--- 実行条件判断によるオペレーション開始 ";
constexpr std::int32_t kNoOperation = 7;

std::string SvcDirectory() {
  return GetApplicationPath() + "\\SVC";
}

void WriteSettings(std::unique_ptr<COperationTime> condition) {
  CAppSetting settings;
  settings.m_aOperationTime.push_back(std::move(condition));
  settings.m_nInterval = 0;
  settings.m_bModified = 1;
  ASSERT_EQ(1, settings.Save(SvcDirectory() + "\\qvlset.def"));
}

// The service log as it is on disk; empty while the service holds it or before it exists.
std::string ReadServiceLog() {
  return qvtest::ReadBytes(SvcDirectory() + "\\vorel.log");
}

// The state number that Wine's own "sc query Vorel" prints, or 0.
DWORD ScQueryState() {
  std::string output;
  qvtest::Run(L"sc.exe query Vorel", 10000, &output);
  const std::size_t colon = output.find(':', output.find("STATE"));
  if (colon == std::string::npos) return 0;
  return static_cast<DWORD>(std::strtoul(output.c_str() + colon + 1, nullptr, 10));
}

DWORD SendControl(DWORD control) {
  SERVICE_STATUS status{};
  EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), qv::vorel::Control(control, status)) << control;
  return status.dwCurrentState;
}

// Pause and continue: the continue starts the next turn of the service at once.
void BringTurnForward() {
  EXPECT_EQ(static_cast<DWORD>(SERVICE_PAUSED), SendControl(SERVICE_CONTROL_PAUSE));
  EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SendControl(SERVICE_CONTROL_CONTINUE));
}

// Brings turns forward until the log holds the given number of pass start lines; a turn that
// finds the engine still busy is skipped, so a few may be needed.
std::string WaitForPasses(std::size_t passes) {
  const ULONGLONG end = ::GetTickCount64() + kStateTimeout;
  for (ULONGLONG nextTurn = 0;; ::Sleep(100)) {
    const std::string log = ReadServiceLog();
    if (qvtest::Count(log, kPassStartLine) >= passes || ::GetTickCount64() >= end) return log;
    if (::GetTickCount64() >= nextTurn) {
      BringTurnForward();
      nextTurn = ::GetTickCount64() + 3000;
    }
  }
}

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TearDown();
    ::CreateDirectoryW(qv::Cp932ToWide(SvcDirectory()).c_str(), nullptr);
    for (const char* name : {"\\qvlset.def", "\\qvlset.bak", "\\vorel.log"})
      ::DeleteFileW(qv::Cp932ToWide(SvcDirectory() + name).c_str());
  }
  void TearDown() override {
    qv::vorel::Remove();
    qvtest::WaitFor([] { return !qv::vorel::Installed(); }, kStateTimeout);
  }

  static std::wstring ServicePath() {
    return qv::Cp932ToWide(GetApplicationPath()) + L"\\QuorvelS.exe";
  }

  void InstallAndStart() {
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), qv::vorel::Install(ServicePath()));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), ScQueryState());
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), qv::vorel::Start());
    ExpectState(SERVICE_RUNNING);
  }

  void ExpectState(DWORD state) {
    SERVICE_STATUS status{};
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              qv::vorel::WaitForState(state, kStateTimeout, status));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS), status.dwServiceType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE),
              status.dwControlsAccepted);
    EXPECT_EQ(0u, status.dwWin32ExitCode);
    EXPECT_EQ(state, ScQueryState()) << "sc query agrees";
  }
};

TEST_F(ServiceTest, RunsPassesFromItsSettingsAndReadsThemAgainWhenInterrogated) {
  auto atStart = qvtest::AlwaysMatchingCondition(kNoOperation);
  atStart->m_nExecMode = COperationTime::kAtStart;
  WriteSettings(std::move(atStart));
  InstallAndStart();

  // The first pass after the start matches the start condition and writes the service log.
  std::string log = WaitForPasses(1);
  ASSERT_EQ(1u, qvtest::Count(log, kPassStartLine)) << log;

  // New settings whose condition always holds: not read without the interrogate control...
  WriteSettings(qvtest::AlwaysMatchingCondition(kNoOperation));
  SendControl(SERVICE_CONTROL_PAUSE);
  ExpectState(SERVICE_PAUSED);
  SendControl(SERVICE_CONTROL_CONTINUE);
  ExpectState(SERVICE_RUNNING);
  ::Sleep(2000);
  EXPECT_EQ(1u, qvtest::Count(ReadServiceLog(), kPassStartLine));

  // ...and followed by the next pass once it has come.
  EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SendControl(SERVICE_CONTROL_INTERROGATE));
  log = WaitForPasses(2);
  EXPECT_LE(2u, qvtest::Count(log, kPassStartLine)) << log;

  EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SendControl(200)) << "an unknown control";
  // A stop while paused ends the service.
  SendControl(SERVICE_CONTROL_PAUSE);
  SendControl(SERVICE_CONTROL_STOP);
  ExpectState(SERVICE_STOPPED);
}

// The pass measures the CPU load for ten seconds; a stop meanwhile is answered at once, and the
// service is stopped once the pass has ended (nothing is logged: the pass may be refused).
TEST_F(ServiceTest, AStopDuringAPassIsAnsweredAtOnceAndTheServiceStopsWhenThePassHasEnded) {
  WriteSettings(qvtest::AlwaysMatchingCondition(COperationTime::kWorkingSet, 99));
  InstallAndStart();
  ::Sleep(1100);  // more than a second after the start: the next turn starts a pass
  BringTurnForward();

  const ULONGLONG sent = ::GetTickCount64();
  SERVICE_STATUS status{};
  ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), qv::vorel::Control(SERVICE_CONTROL_STOP, status));
  EXPECT_LT(::GetTickCount64() - sent, 3000u) << "answered at once";
  EXPECT_EQ(static_cast<DWORD>(SERVICE_STOP_PENDING), status.dwCurrentState);
  EXPECT_LT(0u, status.dwWaitHint);
  EXPECT_EQ(static_cast<DWORD>(SERVICE_STOP_PENDING), ScQueryState());

  ExpectState(SERVICE_STOPPED);
  EXPECT_LE(5000u, ::GetTickCount64() - sent) << "the pass was waited for";
}

// The development tool drives the same service; one round through it is enough.
TEST_F(ServiceTest, TheControlToolInstallsStartsAndRemovesTheService) {
  const std::wstring tool =
      L"\"" + qv::Cp932ToWide(GetApplicationPath()) + L"\\QuorvelSvcCtl.exe\" ";
  for (const std::wstring& command :
       {L"install \"" + ServicePath() + L"\"", std::wstring(L"start"),
        std::wstring(L"wait RUNNING 20000"), std::wstring(L"remove")}) {
    std::string output;
    EXPECT_EQ(0u, qvtest::Run(tool + command, 60000, &output)) << output;
  }
  EXPECT_TRUE(qvtest::WaitFor([] { return !qv::vorel::Installed(); }, kStateTimeout));
  EXPECT_EQ(0u, ScQueryState()) << "sc query agrees";
}

// Started any other way the dispatcher call fails and the program ends with its error, with no
// message box waiting for an answer.
TEST_F(ServiceTest, StartedOutsideTheServiceControlManagerItEndsWithAnError) {
  EXPECT_NE(0u, qvtest::Run(L"\"" + ServicePath() + L"\"", 10000)) << "the dispatcher call failed";
}

}  // namespace
