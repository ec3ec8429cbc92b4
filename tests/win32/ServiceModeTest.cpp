// The real QuorvelW.exe played as a user would, from outside, and its service mode under Wine's
// service control manager: the service commands install, start, stop and remove the real
// QuorvelS.exe beside it, and the log view follows the service's log. The programs lie in a
// folder whose name has a blank.
#include <windows.h>
#include <winsvc.h>

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "QuorvelWProcess.h"
#include "engine/LogText.h"
#include "resources/resource.h"
#include "service/win32/VorelControl.h"
#include "settings/AppSetting.h"
#include "support/Conditions.h"

namespace {

using namespace qvtest;

constexpr DWORD kStateTimeout = 20000;
// A stop waits for the pass under way; a whole-memory pass of 20 % can take half a minute.
constexpr DWORD kStopTimeout = 90000;

bool ServiceGone() {
  return WaitFor([] { return !qv::vorel::Installed(); }, kStateTimeout);
}

// The sizes of the blocks that the service's whole-memory passes committed, in the order of the
// log.
std::vector<unsigned long> CommittedSizes(const std::string& log) {
  std::vector<unsigned long> sizes;
  const std::string success = " KB の領域確保成功";
  for (std::size_t at = log.find(success); at != std::string::npos;
       at = log.find(success, at + 1)) {
    const std::size_t start = log.rfind('\n', at) + 1;
    sizes.push_back(std::strtoul(log.c_str() + start, nullptr, 10));
  }
  return sizes;
}

int ThreadCount(DWORD processId) {
  const qv::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more;
       more = ::Thread32Next(snapshot.Get(), &entry))
    count += entry.th32OwnerProcessID == processId ? 1 : 0;
  return count;
}

class ServiceModeTest : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    qv::vorel::Remove();
    ServiceGone();
  }

  std::wstring Svc(const wchar_t* name = L"") const { return app.Folder() + L"\\SVC" + name; }

  // Pause and continue bring the service's next turn forward, until the view shows the pass.
  bool ViewShowsPasses(std::size_t passes) const {
    const auto shown = [&] { return Count(app.LogText(), logtext::kConditionPassStart) >= passes; };
    return WaitFor(
        [&] {
          SERVICE_STATUS status{};
          if (shown()) return true;
          qv::vorel::Control(SERVICE_CONTROL_PAUSE, status);
          qv::vorel::Control(SERVICE_CONTROL_CONTINUE, status);
          return WaitFor(shown, 3000);
        },
        60000);
  }

  bool TitleBecomes(const std::string& title) const {
    return WaitFor([&] { return app.Title() == title; }, kStateTimeout);
  }

  // The command that starts or stops the service: the title it shows, then the state it reaches.
  bool StartStopLeadsTo(DWORD state) const {
    app.Command(ID_SERVICE_START);
    const bool stopped = state == SERVICE_STOPPED;
    SERVICE_STATUS status{};
    return TitleBecomes(stopped ? "VorelW - Service Mode - Stopped"
                                : "VorelW - Service Mode - Running") &&
           qv::vorel::WaitForState(state, stopped ? kStopTimeout : kStateTimeout, status) ==
               ERROR_SUCCESS;
  }

  QuorvelW app{L"qvw svc "};
};

TEST_F(ServiceModeTest, AUsersJourneyFromTheFirstStartThroughServiceModeToACloseDuringAPass) {
  // First start: the defaults written.
  ASSERT_TRUE(app.Start());
  EXPECT_EQ(152u, ReadFileBytes(app.SettingsFile()).size());
  const int threadsInTimerMode = ThreadCount(::GetProcessId(app.Process()));

  // A manual pass from the tray menu, with its lines in the log view.
  app.Tray(1, WM_RBUTTONDOWN);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (menu = ::FindWindowW(L"#32768", nullptr)) != nullptr; }));
  ::PostMessageW(menu, WM_CHAR, 'w', 0);  // "各アプリケーションの未開放メモリを開放(&W)"
  ASSERT_TRUE(WaitFor([&] { return Count(app.LogText(), logtext::kPassEnd) == 1; }));
  EXPECT_EQ(1u, Count(app.LogText(), logtext::kWorkingSetSuccess)) << app.LogText();

  // A condition added through the dialog is in the user's settings file.
  AddHourly(app, "5", 0, "30");
  ASSERT_TRUE(WaitFor([&] { return SavedConditions(app).size() == 5; }));

  // The service installed from the menu, with settings an administrator prepared: a condition
  // that always holds, a whole-memory pass of 10 %.
  ::CreateDirectoryW(Svc().c_str(), nullptr);
  CAppSetting settings;
  settings.m_aOperationTime.push_back(AlwaysMatchingCondition(COperationTime::kWholeMemory));
  settings.m_nReleaseLevel = 10;
  settings.m_nInterval = 0;
  settings.m_bModified = 1;
  ASSERT_EQ(1, settings.Save(qv::WideToCp932(Svc(L"\\qvlset.def"))));
  app.Command(ID_SERVICE_REGISTER);
  ASSERT_TRUE(TitleBecomes("VorelW - Service Mode - Running")) << app.Title();
  {
    const qv::UniqueServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    const qv::UniqueServiceHandle service(
        ::OpenServiceW(manager.Get(), qv::vorel::kServiceName, SERVICE_QUERY_CONFIG));
    std::vector<BYTE> buffer(8192);
    DWORD needed = 0;
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    ASSERT_TRUE(::QueryServiceConfigW(service.Get(), config, 8192, &needed));
    EXPECT_EQ(L"\"" + app.Folder() + L"\\QuorvelS.exe\"", std::wstring(config->lpBinaryPathName));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_AUTO_START), config->dwStartType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS), config->dwServiceType);
  }
  EXPECT_EQ(std::vector<std::string>{"メモリー使用率が 0 %を超えたら|物理メモリ領域を強制開放|100"},
            app.ListRows());

  // A pass of the service reaches the view through the watcher.
  ASSERT_TRUE(ViewShowsPasses(1)) << app.LogText();
  const std::vector<unsigned long> before = CommittedSizes(app.LogText());
  ASSERT_EQ(1u, before.size()) << app.LogText();

  // A save tells the service, and its next pass takes twice the share of memory.
  app.Command(ID_RELEASE_LEVEL_20);
  ASSERT_TRUE(WaitFor([&] { return SavedReleaseLevel(Svc(L"\\qvlset.def")) == 20; }));
  ASSERT_TRUE(ViewShowsPasses(2)) << app.LogText();
  const std::vector<unsigned long> after = CommittedSizes(app.LogText());
  ASSERT_EQ(2u, after.size()) << app.LogText();
  EXPECT_GT(after[1], before[0] * 3 / 2);

  // Stop and start; a paused service counts as running and is stopped.
  ASSERT_TRUE(StartStopLeadsTo(SERVICE_STOPPED)) << app.Title();
  ASSERT_TRUE(StartStopLeadsTo(SERVICE_RUNNING)) << app.Title();
  SERVICE_STATUS status{};
  ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), qv::vorel::Control(SERVICE_CONTROL_PAUSE, status));
  ASSERT_TRUE(StartStopLeadsTo(SERVICE_STOPPED)) << app.Title();

  // Removal: the user's settings and timer mode come back, and no watcher is left.
  app.Command(ID_SERVICE_REGISTER);
  EXPECT_TRUE(TitleBecomes("QuorvelW - Timer Mode - Running")) << app.Title();
  EXPECT_TRUE(ServiceGone());
  EXPECT_EQ(5u, app.ListRows().size());
  EXPECT_LE(ThreadCount(::GetProcessId(app.Process())), threadsInTimerMode);

  // Closed during a pass: the icon goes at once, the program when the pass has ended.
  UseLowestLevel(app);
  app.Command(ID_CLEAN_WHOLE_MEMORY);
  ASSERT_TRUE(WaitFor([&] { return !app.ToolButtonEnabled(ID_CLEAN_WHOLE_MEMORY); }));
  ::PostMessageW(app.Window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return app.TrayJournal().back() == "remove\t"; }));
  EXPECT_EQ(STILL_ACTIVE, app.ExitCode(0));
  ::PostMessageW(app.Window(), WM_CLOSE, 0, 0);  // starts nothing new
  ASSERT_EQ(0u, app.ExitCode(120000));
  const auto removes = app.TrayJournal();
  EXPECT_EQ(1, std::count(removes.begin(), removes.end(), "remove\t"));
}

// The display name "Vorel" taken by another service makes the creation fail for real.
TEST_F(ServiceModeTest, AFailedInstallationSaysSoAndLeavesTimerModeStopped) {
  const qv::UniqueServiceHandle manager(
      ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
  qv::UniqueServiceHandle blocker(::CreateServiceW(manager.Get(), L"VorelBlocker", L"Vorel", DELETE,
                                                   SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                                   SERVICE_ERROR_NORMAL, L"C:\\none.exe", nullptr,
                                                   nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(blocker);
  ASSERT_TRUE(app.Start());
  app.Command(ID_SERVICE_REGISTER);
  const std::string message = app.Answer(IDOK);
  ::DeleteService(blocker.Get());
  EXPECT_EQ("QuorvelW|サービスのインストールに失敗しました", message);
  EXPECT_TRUE(TitleBecomes("QuorvelW - Timer Mode - Stopped")) << app.Title();
  EXPECT_FALSE(qv::vorel::Installed());
}

// Installed with no settings in its folder, the service gets the defaults there. The view shows
// the service's log as the file has it, in Japanese on a Western locale; a log held open by the
// service is tried again, by a timer from the eleventh failure on.
TEST_F(ServiceModeTest, TheLogViewLoadsTheServiceLogAndRetriesAfterElevenFailedOpens) {
  ASSERT_TRUE(app.Start());
  app.Command(ID_SERVICE_REGISTER);
  ASSERT_TRUE(TitleBecomes("VorelW - Service Mode - Running")) << app.Title();
  EXPECT_EQ(152u, ReadFileBytes(Svc(L"\\qvlset.def")).size()) << "the defaults";
  // Stopped, and no watcher: only the commands load the log.
  ASSERT_TRUE(StartStopLeadsTo(SERVICE_STOPPED)) << app.Title();

  const std::wstring path = Svc(L"\\vorel.log");
  // The log written anew and held, shared with no one, as long as the handle is kept.
  const auto write = [&](const std::string& text) {
    qv::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return file;
  };
  const auto load = [&] { ::SendMessageW(app.Window(), WM_COMMAND, ID_SHOW_SERVICE_LOG, 0); };
  // Opens that fail while the file is held; then the file with the text given is let go.
  const auto failOpens = [&](int count, const std::string& text) {
    const qv::UniqueFile held = write(text);
    for (int i = 0; i < count; ++i) load();
  };
  const std::string japanese = std::string(logtext::kWholeMemorySuccess) + "\r\n";

  write(japanese);
  load();
  EXPECT_EQ(logtext::kWholeMemorySuccess, app.LogText().substr(0, japanese.size() - 2));
  write("");
  load();
  EXPECT_EQ(0, app.LogLength());

  failOpens(10, "ten\r\n");
  ::Sleep(1500);
  EXPECT_EQ(0, app.LogLength()) << "ten failures wait for the next trigger";
  failOpens(1, "eleven\r\n");
  EXPECT_TRUE(WaitFor([&] { return app.LogText().find("eleven") == 0; }, 3000)) << app.LogText();
  failOpens(1, "reset\r\n");
  ::Sleep(1500);
  EXPECT_EQ(0u, app.LogText().find("eleven")) << "a success starts the count again";
}

}  // namespace
