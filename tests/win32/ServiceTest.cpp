// QuorvelS under the real service control manager (Wine's services.exe): installed, started,
// paused, continued, told to read its settings again, stopped and removed, as the window
// program will do it; its passes write "\SVC\vorel.log" beside the programs.
#include <windows.h>
#include <winsvc.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Cp932.h"
#include "framework/Handles.h"
#include "settings/AppSetting.h"
#include "settings/Utility.h"
#include "tools/servicectl/VorelControl.h"

namespace {

constexpr DWORD kStateTimeout = 20000;
constexpr char kPassStartLine[] = "--- 実行条件判断によるオペレーション開始 ";
constexpr char kMemoryLoadLine[] = "* メモリ使用率           : ";
constexpr char kPassEndLine[] = "--- オペレーション終了 ";
// No such operation: the pass writes its start line, the memory state and its end line.
constexpr std::int32_t kNoOperation = 7;

std::wstring Wide(const std::string& cp932) {
  return qv::Cp932ToWide(cp932);
}

std::string BinDirectory() {
  return GetApplicationPath();
}

std::string SvcDirectory() {
  return BinDirectory() + "\\SVC";
}

void WriteSettings(std::int32_t mode, std::int32_t memoryLoad) {
  CAppSetting settings;
  auto condition = std::make_unique<COperationTime>();
  condition->m_nExecMode = mode;
  condition->m_nMemoryLoad = memoryLoad;
  condition->m_nCpuLoadLimit = 100;
  condition->m_nOperation = kNoOperation;
  settings.m_aOperationTime.push_back(std::move(condition));
  settings.m_nTimerDelay = 0;
  settings.m_nInterval = 0;
  settings.m_bModified = 1;
  ASSERT_EQ(1, settings.Save(SvcDirectory() + "\\qvlset.def"));
}

// The service log as it is on disk; empty while the service holds it or before it exists.
std::string ReadServiceLog() {
  qv::UniqueFile file(::CreateFileW(Wide(SvcDirectory() + "\\vorel.log").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// Runs a program and returns what it wrote to its standard output.
std::string RunAndCapture(std::wstring commandLine, DWORD* exitCode = nullptr) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {};
  qv::UniqueHandle reader(readEnd);
  qv::UniqueHandle writer(writeEnd);
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = nullptr;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process)) {
    return {};
  }
  qv::UniqueHandle processHandle(process.hProcess);
  qv::UniqueHandle threadHandle(process.hThread);
  writer.Reset();

  std::string output;
  char buffer[1024];
  DWORD read = 0;
  while (::ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    output.append(buffer, read);
  }
  ::WaitForSingleObject(process.hProcess, kStateTimeout);
  if (exitCode) ::GetExitCodeProcess(process.hProcess, exitCode);
  return output;
}

// The state number that Wine's own "sc query Vorel" prints, or 0.
DWORD ScQueryState() {
  const std::string output = RunAndCapture(L"sc.exe query Vorel");
  const std::size_t label = output.find("STATE");
  if (label == std::string::npos) return 0;
  const std::size_t colon = output.find(':', label);
  if (colon == std::string::npos) return 0;
  return static_cast<DWORD>(std::strtoul(output.c_str() + colon + 1, nullptr, 10));
}

DWORD SendControl(DWORD control) {
  SERVICE_STATUS status{};
  const DWORD error = qv::vorel::Control(control, status);
  EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), error) << "control " << control;
  return status.dwCurrentState;
}

// Pause and continue: the continue starts the next turn of the service at once.
void BringTurnForward() {
  EXPECT_EQ(static_cast<DWORD>(SERVICE_PAUSED), SendControl(SERVICE_CONTROL_PAUSE));
  EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SendControl(SERVICE_CONTROL_CONTINUE));
}

// Brings turns forward until the log holds the given number of pass start lines; a turn that
// finds the engine still busy is skipped, so a few may be needed.
std::string WaitForPasses(int passes, DWORD timeoutMilliseconds) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMilliseconds;
  ULONGLONG nextTurn = 0;
  std::string log;
  for (;;) {
    log = ReadServiceLog();
    if (CountOf(log, kPassStartLine) >= passes || ::GetTickCount64() >= end) return log;
    if (::GetTickCount64() >= nextTurn) {
      BringTurnForward();
      nextTurn = ::GetTickCount64() + 3000;
    }
    ::Sleep(100);
  }
}

void WaitUntilRemoved() {
  SERVICE_STATUS status{};
  for (int i = 0; i < 200 && qv::vorel::Query(status) == ERROR_SUCCESS; ++i) ::Sleep(100);
}

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qv::vorel::Remove();
    WaitUntilRemoved();
    ::CreateDirectoryW(Wide(SvcDirectory()).c_str(), nullptr);
    for (const char* name : {"\\qvlset.def", "\\qvlset.bak", "\\vorel.log"}) {
      ::DeleteFileW(Wide(SvcDirectory() + name).c_str());
    }
  }
  void TearDown() override {
    qv::vorel::Remove();
    WaitUntilRemoved();
  }

  static std::wstring ServicePath() { return Wide(BinDirectory()) + L"\\QuorvelS.exe"; }

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
  WriteSettings(COperationTime::kAtStart, COperationTime::kUnused);
  ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), qv::vorel::Install(ServicePath()));
  EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), ScQueryState());
  ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), qv::vorel::Start());
  ExpectState(SERVICE_RUNNING);

  // The first pass after the start matches the start condition.
  std::string log = WaitForPasses(1, kStateTimeout);
  ASSERT_EQ(1, CountOf(log, kPassStartLine)) << log;
  EXPECT_EQ(1, CountOf(log, kMemoryLoadLine));
  EXPECT_EQ(1, CountOf(log, kPassEndLine));
  EXPECT_EQ("\r\n", log.substr(log.size() - 2));

  SendControl(SERVICE_CONTROL_PAUSE);
  ExpectState(SERVICE_PAUSED);
  SendControl(SERVICE_CONTROL_CONTINUE);
  ExpectState(SERVICE_RUNNING);

  // New settings whose condition always holds: not read without the interrogate control...
  WriteSettings(COperationTime::kMemoryLoad, 0);
  BringTurnForward();
  ::Sleep(2000);
  EXPECT_EQ(1, CountOf(ReadServiceLog(), kPassStartLine));

  // ...and followed by the next pass once it has come.
  EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SendControl(SERVICE_CONTROL_INTERROGATE));
  log = WaitForPasses(2, kStateTimeout);
  EXPECT_LE(2, CountOf(log, kPassStartLine)) << log;

  EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SendControl(200)) << "an unknown control";
  SendControl(SERVICE_CONTROL_STOP);
  ExpectState(SERVICE_STOPPED);

  ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), qv::vorel::Remove());
  WaitUntilRemoved();
  EXPECT_EQ(0u, ScQueryState()) << "removed";
}

TEST_F(ServiceTest, AStopWhilePausedStopsTheService) {
  ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), qv::vorel::Install(ServicePath()));
  ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), qv::vorel::Start());
  ExpectState(SERVICE_RUNNING);
  SendControl(SERVICE_CONTROL_PAUSE);
  ExpectState(SERVICE_PAUSED);
  SendControl(SERVICE_CONTROL_STOP);
  ExpectState(SERVICE_STOPPED);
}

// The installer registers the service as the window program will, from a folder whose name has
// a space in it, and the service starts from there.
TEST_F(ServiceTest, TheInstallerRegistersTheQuotedPathOfTheService) {
  const std::wstring bin = Wide(BinDirectory());
  const std::wstring folder = bin + L"\\Program Files";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  for (const wchar_t* name : {L"\\QuorvelS.exe", L"\\QuorvelL.dll"}) {
    ASSERT_TRUE(::CopyFileW((bin + name).c_str(), (folder + name).c_str(), FALSE));
  }
  const std::wstring tool = L"\"" + bin + L"\\QuorvelSvcCtl.exe\" ";
  DWORD exitCode = 1;
  RunAndCapture(tool + L"install \"" + folder + L"\\QuorvelS.exe\"", &exitCode);
  ASSERT_EQ(0u, exitCode);

  {
    qv::UniqueServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    qv::UniqueServiceHandle service(
        ::OpenServiceW(manager.Get(), qv::vorel::kServiceName, SERVICE_QUERY_CONFIG));
    ASSERT_TRUE(service);
    DWORD size = 0;
    ::QueryServiceConfigW(service.Get(), nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    ASSERT_TRUE(::QueryServiceConfigW(service.Get(), config, size, &size));
    EXPECT_EQ(L"\"" + folder + L"\\QuorvelS.exe\"", std::wstring(config->lpBinaryPathName));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS), config->dwServiceType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_AUTO_START), config->dwStartType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_ERROR_NORMAL), config->dwErrorControl);
    EXPECT_EQ(std::wstring(L"Vorel"), config->lpDisplayName);
    EXPECT_EQ(std::wstring(L"LocalSystem"), config->lpServiceStartName);
  }

  RunAndCapture(tool + L"start", &exitCode);
  EXPECT_EQ(0u, exitCode);
  const std::string running = RunAndCapture(tool + L"wait RUNNING 20000", &exitCode);
  EXPECT_EQ(0u, exitCode) << running;
  RunAndCapture(tool + L"remove", &exitCode);
  EXPECT_EQ(0u, exitCode);
  WaitUntilRemoved();

  // The service's process may still be ending and hold its files for a moment.
  for (int i = 0; i < 50 && !::RemoveDirectoryW(folder.c_str()); ++i) {
    for (const wchar_t* name : {L"\\QuorvelS.exe", L"\\QuorvelL.dll"}) {
      ::DeleteFileW((folder + name).c_str());
    }
    ::Sleep(100);
  }
}

struct WindowSearch {
  DWORD processId;
  bool found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId) search->found = true;
  return TRUE;
}

TEST_F(ServiceTest, StartedOutsideTheServiceControlManagerItEndsWithoutAWindow) {
  std::wstring commandLine = L"\"" + ServicePath() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
  qv::UniqueHandle processHandle(process.hProcess);
  qv::UniqueHandle threadHandle(process.hThread);

  // Wine keeps the program waiting about ten seconds for a control pipe that never comes;
  // Windows fails the dispatcher call at once.
  WindowSearch search{process.dwProcessId, false};
  const ULONGLONG end = ::GetTickCount64() + 30000;
  while (::WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT && ::GetTickCount64() < end) {
    ::EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  }
  DWORD exitCode = STILL_ACTIVE;
  ::GetExitCodeProcess(process.hProcess, &exitCode);
  if (exitCode == STILL_ACTIVE) ::TerminateProcess(process.hProcess, 1);
  EXPECT_NE(static_cast<DWORD>(STILL_ACTIVE), exitCode);
  EXPECT_NE(0u, exitCode) << "the dispatcher call failed";
  EXPECT_FALSE(search.found);
}

}  // namespace
