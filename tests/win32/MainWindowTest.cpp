// The real QuorvelW.exe, started in an application folder of its own and driven from outside
// with real messages, on the Western locale of the test run.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "QuorvelWProcess.h"
#include "app/MainFrame.h"
#include "engine/LogText.h"
#include "framework/SystemLibrary.h"
#include "framework/Window.h"
#include "resources/resource.h"
#include "support/TempDir.h"

namespace {

using namespace qvtest;

// The first start, a second copy, the tray icon and the ways to close.
TEST(MainWindowTest, StartsHiddenWithTheDefaultsOnceAnswersTheTrayAndClosesAsAsked) {
  QuorvelW app;
  ASSERT_TRUE(app.Start());
  EXPECT_EQ("QuorvelW - Timer Mode - Running", app.Title());
  EXPECT_FALSE(app.Visible());
  EXPECT_EQ(152u, ReadFileBytes(app.SettingsFile()).size());
  const std::vector<std::string> rows = {
      "起動時　|各アプリケーションの未開放メモリを開放|10",
      "毎時　　0 分|全て実行|10",
      "メモリー使用率が 60 %を超えたら|各アプリケーションの未開放メモリを開放|10",
      "メモリー使用率が 80 %を超えたら|物理メモリ領域を強制開放|10",
  };
  EXPECT_EQ(rows, app.ListRows());
  const std::vector<std::string> tray = {"icon\t16", "add\tQuorvel",
                                         "tip\tQuorvelW - Timer Mode - Running"};
  EXPECT_EQ(tray, app.TrayJournal());

  // A second copy ends at once and leaves the first as it was.
  EXPECT_EQ(0u, app.Run(L"-c -p10", 10000));
  EXPECT_EQ(STILL_ACTIVE, app.ExitCode(0));
  EXPECT_FALSE(app.Visible());
  EXPECT_EQ(tray, app.TrayJournal());
  EXPECT_EQ("", app.LogText());

  // The tray icon: a tip with the load, double clicks that toggle the window, other icons' ids
  // ignored, and the icon back when the taskbar is.
  app.Tray(1, WM_MOUSEMOVE);
  const std::string tip = "tip\tQuorvelW - Timer Mode - Running - メモリ使用率 : ";
  ASSERT_TRUE(WaitFor([&] { return app.TrayJournal().back().rfind(tip, 0) == 0; }));
  const std::string load = app.TrayJournal().back().substr(tip.size());
  EXPECT_GE(load.size(), 3u);
  EXPECT_EQ(" %", load.substr(load.size() - 2));

  app.Tray(2, WM_LBUTTONDBLCLK);  // another icon's notification
  app.Tray(1, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitFor([&] { return app.Visible(); }));
  app.Tray(1, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitFor([&] { return !app.Visible(); }));
  app.Tray(2, WM_LBUTTONDBLCLK);
  ::Sleep(300);
  EXPECT_FALSE(app.Visible());

  ::PostMessageW(app.Window(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_TRUE(WaitFor([&] { return app.TrayJournal().back() == "add\tQuorvel"; }));

  // The close button hides when asked; exit always closes.
  app.Command(ID_MINIMIZE_ON_CLOSE);
  app.Command(ID_WINDOW_SHOW);
  ASSERT_TRUE(WaitFor([&] { return app.Visible(); }));
  ::PostMessageW(app.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitFor([&] { return !app.Visible(); }));
  EXPECT_EQ(STILL_ACTIVE, app.ExitCode(300));

  app.Command(ID_MINIMIZE_ON_CLOSE);
  app.Command(ID_WINDOW_SHOW);
  ASSERT_TRUE(WaitFor([&] { return app.Visible(); }));
  app.Command(ID_MINIMIZE_ON_CLOSE);
  // A logoff is never held up; the program saves and lets go of its icon, and Windows ends it.
  DWORD_PTR answer = 0;
  ASSERT_TRUE(
      ::SendMessageTimeoutW(app.Window(), WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 5000, &answer));
  EXPECT_EQ(1u, answer);
  ::SendMessageTimeoutW(app.Window(), WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 5000, &answer);
  EXPECT_EQ("remove\t", app.TrayJournal().back());
  app.Command(QV_ID_APP_EXIT);
  ASSERT_EQ(0u, app.ExitCode(10000));
  EXPECT_EQ("remove\t", app.TrayJournal().back());
}

TEST(MainWindowTest, ManualPassesRunOneAtATimeAndInformationShowsTheWindow) {
  QuorvelW app;
  ASSERT_TRUE(app.Start());
  // No pass of the timer may come between: a slow pass can outlast the first minute.
  app.Command(ID_TIMER_START);
  ASSERT_TRUE(WaitFor([&] { return app.Title() == "QuorvelW - Timer Mode - Stopped"; }));
  UseLowestLevel(app);
  app.Command(ID_CLEAN_WHOLE_MEMORY);
  ASSERT_TRUE(WaitFor([&] { return !app.ToolButtonEnabled(ID_CLEAN_WHOLE_MEMORY); }));
  EXPECT_FALSE(app.ToolButtonEnabled(ID_CLEAN_WORKING_SET));
  // Disabled commands are ignored, whoever sends them.
  app.Command(ID_CLEAN_WORKING_SET);
  app.Command(ID_CLEAN_WHOLE_MEMORY);
  app.Command(ID_SHOW_INFO);
  ASSERT_TRUE(WaitFor([&] { return app.ToolButtonEnabled(ID_CLEAN_WHOLE_MEMORY); }, 120000))
      << app.LogText();
  std::string log = app.LogText();
  EXPECT_EQ(1u, Count(log, logtext::kManualPassStart));
  EXPECT_EQ(1u, Count(log, logtext::kWholeMemorySuccess));
  EXPECT_EQ(0u, Count(log, logtext::kWorkingSetStart));
  EXPECT_EQ(0u, log.find(logtext::kManualPassStart));  // lines in the order of writing
  EXPECT_LT(log.find(logtext::kWholeMemorySuccess), log.find(logtext::kPassEnd));
  EXPECT_FALSE(app.Visible());

  app.Command(ID_CLEAN_WORKING_SET);
  ASSERT_TRUE(WaitFor([&] { return Count(app.LogText(), logtext::kPassEnd) == 2; }));
  EXPECT_EQ(1u, Count(app.LogText(), logtext::kWorkingSetSuccess));

  // Each pass shows the memory state before and after; the information adds it once more.
  const char* const memoryLines[] = {"* メモリ使用率", "* 全物理メモリ容量", "* 空き物理メモリ容量",
                                     "* 全ページファイル容量", "* 空きページファイル容量"};
  log = app.LogText();
  for (const char* line : memoryLines) EXPECT_EQ(4u, Count(log, line)) << line;
  app.Command(ID_SHOW_INFO);
  ASSERT_TRUE(WaitFor([&] { return app.Visible(); }));
  log = app.LogText();
  for (const char* line : memoryLines) EXPECT_EQ(5u, Count(log, line)) << line;
  // A long log is not cut at the rich edit's default of 32K characters.
  for (int i = 0; i < 250; ++i) app.Command(ID_SHOW_INFO);
  EXPECT_TRUE(WaitFor([&] { return app.LogLength() > 33000; }, 120000));  // about 150 a call
  EXPECT_TRUE(WaitFor([&] { return Count(app.LogText(), memoryLines[4]) == 255; }));
  app.Command(ID_RELEASE_LEVEL_30);
  EXPECT_TRUE(WaitFor([&] { return SavedReleaseLevel(app.SettingsFile()) == 30; }));
}

std::vector<std::int32_t> WindowSettings(const std::wstring& file) {  // its 20 numbers
  const std::string bytes = ReadFileBytes(file);
  std::vector<std::int32_t> values(bytes.size() / 4);
  std::memcpy(values.data(), bytes.data(), values.size() * 4);
  return values;
}

// A rectangle off every monitor is ignored; the close-button option is saved at once; the
// rectangle from before a minimize, a column width and the band order survive a restart.
TEST(MainWindowTest, TheLayoutSurvivesARestart) {
  QuorvelW app;
  const std::wstring file =
      app.SettingsFile().substr(0, app.SettingsFile().size() - 10) + L"wndset.def";
  std::vector<std::int32_t> values = {3, 5000, 5000, 5600, 5400, 0, 0,   1,   0,   1,
                                      1, 0,    2,    1,    0,    1, 250, 250, 100, 0};
  std::filesystem::create_directories(std::filesystem::path(file).parent_path());
  std::ofstream(file.c_str(), std::ios::binary)
      .write(reinterpret_cast<const char*>(values.data()), 80);
  for (const int left : {100, 150}) {
    ASSERT_TRUE(app.Start());
    app.Command(ID_WINDOW_SHOW);
    ASSERT_TRUE(WaitFor([&] { return app.Visible(); }));
    EXPECT_EQ(left, qv::CWindow(app.Window()).GetWindowRect().left);
    if (left == 100) {
      app.Command(ID_MINIMIZE_ON_CLOSE);
      ASSERT_TRUE(WaitFor(
          [&] { return WindowSettings(file).size() == 20 && WindowSettings(file)[19] == 1; }));
      ::SetWindowPos(app.Window(), nullptr, 150, 120, 600, 450, SWP_NOZORDER);
      ::SendMessageW(app.Child(L"SysListView32"), LVM_SETCOLUMNWIDTH, 0, 123);
      ::SendMessageW(app.Child(L"ReBarWindow32"), RB_MOVEBAND, 0, 2);
      ::SendMessageW(app.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
    app.Command(QV_ID_APP_EXIT);
    ASSERT_EQ(0u, app.ExitCode(10000));
    if (left == 100) values = WindowSettings(file);
  }
  EXPECT_EQ(values, WindowSettings(file));
  EXPECT_EQ((std::vector<std::int32_t>{150, 120, 750, 570}),
            std::vector<std::int32_t>(values.begin() + 1, values.begin() + 5));
  EXPECT_EQ(2, values[6]);  // the menu bar's band, now last
  EXPECT_EQ(123, values[16]);
}

struct FrameProbe : qv::app::CMainFrame {
  void OpenHelpFile(const std::wstring& path) override { asked = path; }
  std::wstring asked;
};

// Inside the test: check marks that follow their state, and the help file of the program's
// folder asked of the shell, not the one planted in the current directory.
TEST(MainWindowTest, ChecksFollowTheirStateAndHelpComesFromTheProgramsFolder) {
  struct CheckUI : qv::CCommandUI {
    using CCommandUI::CCommandUI;
    void Enable(bool) override {}
    void SetCheck(bool on) override { checked = on; }
    bool checked = false;
  };
  TempDir current;
  std::ofstream(current.File("vorel.chm")) << "planted";
  ASSERT_TRUE(::SetCurrentDirectoryW(qv::Cp932ToWide(current.File("")).c_str()));
  const qv::UniqueModule richEdit = qv::LoadSystemLibrary(L"riched20.dll");
  FrameProbe frame;
  ASSERT_TRUE(frame.CreateMainWindow());
  frame.RouteCommand(QV_ID_HELP);
  EXPECT_EQ(qv::Cp932ToWide(GetApplicationPath()) + L"\\vorel.chm", frame.asked);
  ::SetCurrentDirectoryW(qv::Cp932ToWide(GetApplicationPath()).c_str());  // lets it be removed
  for (const UINT id : {ID_MINIMIZE_ON_CLOSE, ID_STARTUP_REGISTER}) {
    CheckUI before(id), after(id), again(id);
    frame.RouteUpdate(before);
    frame.RouteCommand(id);
    frame.RouteUpdate(after);
    frame.RouteCommand(id);
    frame.RouteUpdate(again);
    EXPECT_NE(before.checked, after.checked) << id;
    EXPECT_EQ(before.checked, again.checked) << id;
  }
}

// From a shell: the pass runs, its lines go to the standard output, the program ends by
// itself, and the settings stay as they were.
TEST(MainWindowTest, ACommandLinePassPrintsItsLinesAndEnds) {
  QuorvelW app;
  ASSERT_EQ(0u, app.Run(L"-q", 15000));
  const std::string settings = ReadFileBytes(app.SettingsFile());
  ASSERT_EQ(152u, settings.size());

  std::string output;
  EXPECT_EQ(0u, app.Run(L"-c -p10 -q", 120000, &output));
  EXPECT_EQ(0u, output.find(logtext::kManualPassStart)) << output;
  for (const char* line :
       {logtext::kWorkingSetSuccess, logtext::kWholeMemorySuccess, logtext::kPassEnd})
    EXPECT_EQ(1u, Count(output, line)) << line;
  EXPECT_EQ("\r\n", output.substr(output.size() - 2));
  EXPECT_EQ(settings, ReadFileBytes(app.SettingsFile()));
}

TEST(ConditionEditingTest, OneDialogAtATimeTheirInputsAndTheListsEdits) {
  QuorvelW app;
  ASSERT_TRUE(app.Start());
  app.SelectRows({0, 1});
  app.DoubleClickList();
  ::Sleep(500);
  EXPECT_TRUE(app.Dialogs().empty());

  app.SelectRows({1});
  app.DoubleClickList();
  const HWND dialog = app.WaitForDialog();
  EXPECT_EQ("修正", QuorvelW::ItemText(dialog, IDOK));
  EXPECT_EQ("0", QuorvelW::ItemText(dialog, IDC_CONDITION_MINUTE));
  for (const UINT id :
       {ID_CONDITION_ADD, ID_CONDITION_MODIFY, ID_CONDITION_DELETE, ID_OPTION, QV_ID_APP_ABOUT})
    app.Command(id);
  ::Sleep(500);
  EXPECT_EQ(std::vector<HWND>{dialog}, app.Dialogs());
  ASSERT_TRUE(QuorvelW::Press(dialog, IDCANCEL));
  // Both options out of range: the delay is refused first; Cancel then leaves the file alone.
  const std::string file = ReadFileBytes(app.SettingsFile());
  app.Command(ID_OPTION);
  const HWND options = app.WaitForDialog();
  QuorvelW::SetText(options, IDC_OPTION_DELAY, "60");
  QuorvelW::SetText(options, IDC_OPTION_INTERVAL, "60");
  ::PostMessageW(options, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return app.Dialogs().size() == 2; }));
  EXPECT_EQ("QuorvelW|遅延時間設定は0-59までです", QuorvelW::MessageOf(app.Dialogs()[0]));
  ASSERT_TRUE(QuorvelW::Press(app.Dialogs()[0], IDOK));
  ASSERT_TRUE(QuorvelW::Press(options, IDCANCEL));
  EXPECT_EQ(file, ReadFileBytes(app.SettingsFile()));
  ASSERT_TRUE(WaitFor([&] { return app.ToolButtonEnabled(ID_CONDITION_ADD); }));
  app.Command(QV_ID_APP_ABOUT);
  const HWND about = app.WaitForDialog();
  EXPECT_NE(nullptr, ::FindWindowExW(about, nullptr, L"Static", L"Quorvel Version 1.1"));
  ASSERT_TRUE(QuorvelW::Press(about, IDOK));

  // The add dialog opens with the defaults; only the minute, operation and CPU inputs are on,
  // and a number edit takes digits only.
  app.Command(ID_CONDITION_ADD);
  const HWND add = app.WaitForDialog();
  EXPECT_EQ("追加", QuorvelW::ItemText(add, IDOK));
  EXPECT_EQ("100", QuorvelW::ItemText(add, IDC_CONDITION_CPU_LOAD));
  EXPECT_EQ(0, ::SendDlgItemMessageW(add, IDC_CONDITION_MODE, CB_GETCURSEL, 0, 0));
  EXPECT_EQ(0, ::SendDlgItemMessageW(add, IDC_CONDITION_OPERATION, CB_GETCURSEL, 0, 0));
  for (int id : {IDC_CONDITION_DAY, IDC_CONDITION_HOUR, IDC_CONDITION_MINUTE,
                 IDC_CONDITION_MEMORY_LOAD, IDC_CONDITION_OPERATION, IDC_CONDITION_CPU_LOAD}) {
    const bool on =
        id == IDC_CONDITION_MINUTE || id == IDC_CONDITION_OPERATION || id == IDC_CONDITION_CPU_LOAD;
    EXPECT_EQ(on, ::IsWindowEnabled(::GetDlgItem(add, id)) != FALSE) << id;
  }
  for (const WPARAM c : {'a', '-', '\x16', '4'})
    ::SendDlgItemMessageW(add, IDC_CONDITION_MINUTE, WM_CHAR, c, 0);
  EXPECT_EQ("4", QuorvelW::ItemText(add, IDC_CONDITION_MINUTE));
  ASSERT_TRUE(QuorvelW::Press(add, IDCANCEL));

  // Duplicates refused, deletions keep the order, and a failed save reported.
  const std::vector<std::string> rows = app.ListRows();
  AddHourly(app, "0", 2, "10");  // the second default condition
  EXPECT_EQ("QuorvelW|同じ設定のものが既にあります", app.Answer(IDOK));
  EXPECT_EQ(rows, app.ListRows());
  EXPECT_EQ(file, ReadFileBytes(app.SettingsFile()));

  AddHourly(app, "0", 2, "20");
  ASSERT_TRUE(WaitFor([&] { return SavedConditions(app).size() == 5; }));
  const std::vector<std::string> five = app.ListRows();
  ASSERT_EQ(5u, five.size());
  EXPECT_EQ("毎時　　0 分|全て実行|20", five[4]);
  const std::vector<std::string> saved = SavedConditions(app);

  app.SelectRows({1, 3});
  app.Command(ID_CONDITION_DELETE);
  EXPECT_EQ("確認|選択項目を削除してもよろしいでしょうか？", app.Answer(IDYES));
  ASSERT_TRUE(WaitFor([&] { return SavedConditions(app).size() == 3; }));
  EXPECT_EQ((std::vector<std::string>{five[0], five[2], five[4]}), app.ListRows());
  EXPECT_EQ((std::vector<std::string>{saved[0], saved[2], saved[4]}), SavedConditions(app));

  // A settings folder that has become a file: the user hears of it once, the edit stays listed.
  const std::filesystem::path folder = std::filesystem::path(app.SettingsFile()).parent_path();
  std::filesystem::remove_all(folder);
  std::ofstream(folder) << "x";
  AddHourly(app, "5", 0, "30");
  EXPECT_EQ("QuorvelW|設定の保存に失敗しました", app.Answer(IDOK));
  EXPECT_EQ(4u, app.ListRows().size());
  EXPECT_TRUE(app.Dialogs().empty());
}

}  // namespace
