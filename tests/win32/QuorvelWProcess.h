// The real QuorvelW.exe in an application folder of its own, driven from outside as a user's
// tools would: its window found by class, commands posted, texts and list rows read back.
// Every change of its tray icon is read from the journal that the environment asks it for.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "framework/Cp932.h"
#include "framework/Handles.h"
#include "resources/resource.h"
#include "settings/Utility.h"

namespace qvtest {

inline bool WaitFor(const std::function<bool()>& condition, int milliseconds = 15000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

inline std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

inline std::string ReadAll(HANDLE file) {
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  return bytes;
}

// Shares everything, as a well-behaved reader does, so that the program can replace the file
// meanwhile.
inline std::string ReadFileBytes(const std::wstring& path) {
  const qv::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return ReadAll(file.Get());
}

// Starts a command line in the folder, standard output and error to the handle when given.
inline qv::UniqueHandle Launch(std::wstring commandLine, HANDLE output = nullptr,
                               const wchar_t* folder = nullptr) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (output != nullptr) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
  }
  PROCESS_INFORMATION info{};
  const BOOL started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr,
                                        output != nullptr, 0, nullptr, folder, &startup, &info);
  EXPECT_TRUE(started) << qv::WideToCp932(commandLine);
  if (!started) return {};
  ::CloseHandle(info.hThread);
  return qv::UniqueHandle(info.hProcess);
}

// The process's exit code once it has ended within the time, else STILL_ACTIVE.
inline DWORD ExitCode(HANDLE process, DWORD milliseconds) {
  DWORD code = STILL_ACTIVE;
  if (::WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0)
    ::GetExitCodeProcess(process, &code);
  return code;
}

// Runs a command line to its end: its exit code, and its standard output when asked for. One
// that does not end in time fails the test and is ended.
inline DWORD Run(const std::wstring& commandLine, DWORD milliseconds, std::string* output = nullptr,
                 const wchar_t* folder = nullptr) {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  if (output != nullptr && ::CreatePipe(&read, &write, nullptr, 1 << 20))
    ::SetHandleInformation(write, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  const qv::UniqueHandle reader(read);
  const qv::UniqueHandle process = Launch(commandLine, write, folder);
  if (write != nullptr) ::CloseHandle(write);
  const DWORD code = ExitCode(process.Get(), milliseconds);
  EXPECT_NE(STILL_ACTIVE, code) << "did not end in time: " << qv::WideToCp932(commandLine);
  if (code == STILL_ACTIVE) ::TerminateProcess(process.Get(), 9);
  if (reader) *output = ReadAll(read);
  return code;
}

// Memory in the program's process: a control answers a message whose lParam points at data
// only with memory of its own process. The data is copied there and back.
template <typename T>
struct Remote {
  explicit Remote(HANDLE owner)
      : process(owner),
        at(static_cast<T*>(
            ::VirtualAllocEx(owner, nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE))) {}
  ~Remote() { ::VirtualFreeEx(process, at, 0, MEM_RELEASE); }
  LRESULT Send(HWND window, UINT message, WPARAM wParam, T& data) const {
    ::WriteProcessMemory(process, at, &data, sizeof(T), nullptr);
    const LRESULT result = ::SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(at));
    ::ReadProcessMemory(process, at, &data, sizeof(T), nullptr);
    return result;
  }
  HANDLE process;
  T* at;
};

inline std::string TextOf(HWND hwnd) {
  // WM_GETTEXT is carried between processes by the system.
  const auto length = ::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied =
      ::SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return qv::WideToCp932(text);
}

class QuorvelW {
 public:
  // A fresh folder with the programs and the library, named after the running test.
  explicit QuorvelW(const wchar_t* prefix = L"qvw-") {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    m_folder = std::wstring(temp) + prefix + qv::Cp932ToWide(info->name()) + L"-" +
               std::to_wstring(::GetCurrentProcessId()) + L"-" +
               std::to_wstring(::GetTickCount64());
    std::error_code error;
    std::filesystem::remove_all(m_folder, error);
    std::filesystem::create_directories(m_folder, error);
    const std::wstring bin = qv::Cp932ToWide(QV_TEST_BIN_DIR);
    for (const wchar_t* name : {L"QuorvelW.exe", L"QuorvelL.dll", L"QuorvelS.exe"}) {
      EXPECT_TRUE(
          ::CopyFileW((bin + L"/" + name).c_str(), (m_folder + L"\\" + name).c_str(), FALSE))
          << qv::WideToCp932(name);
    }
    m_journal = m_folder + L"\\tray.txt";
    // Every program started meanwhile keeps its journal of the tray icon there.
    ::SetEnvironmentVariableW(L"QUORVEL_TRAY_JOURNAL", m_journal.c_str());
  }
  ~QuorvelW() {
    ::SetEnvironmentVariableW(L"QUORVEL_TRAY_JOURNAL", nullptr);
    if (m_process && ExitCode(0) == STILL_ACTIVE) {
      ::TerminateProcess(m_process.Get(), 9);
      ::WaitForSingleObject(m_process.Get(), 5000);
    }
    std::error_code error;
    std::filesystem::remove_all(m_folder, error);
  }

  // Starts the program and waits for its main window to enter its mode.
  bool Start(const std::wstring& arguments = L"") {
    m_process = Launch(Exe() + arguments, nullptr, m_folder.c_str());
    return WaitFor([&] {
      const std::vector<HWND> frames = WindowsOf(L"QuorvelClass", false);
      m_hWnd = frames.empty() ? nullptr : frames[0];
      return m_hWnd != nullptr && Title().find("Mode") != std::string::npos;
    });
  }
  // Runs another copy of the program to its end (see qvtest::Run).
  DWORD Run(const std::wstring& arguments, DWORD milliseconds,
            std::string* output = nullptr) const {
    return qvtest::Run(Exe() + arguments, milliseconds, output, m_folder.c_str());
  }

  HWND Window() const { return m_hWnd; }
  const std::wstring& Folder() const { return m_folder; }
  HANDLE Process() const { return m_process.Get(); }
  std::wstring SettingsFile() const {
    return m_folder + L"\\" + qv::Cp932ToWide(GetWindowsUser()) + L"\\qvlset.def";
  }
  // The list and the log view are children of the frame, the toolbar a child of the rebar.
  HWND Child(const wchar_t* className) const {
    return ::FindWindowExW(m_hWnd, nullptr, className, nullptr);
  }

  void Command(UINT id) const { ::PostMessageW(m_hWnd, WM_COMMAND, id, 0); }
  void Tray(WPARAM id, UINT mouse) const { ::PostMessageW(m_hWnd, WM_APP + 100, id, mouse); }
  bool Visible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
  DWORD ExitCode(DWORD milliseconds) const {
    return qvtest::ExitCode(m_process.Get(), milliseconds);
  }

  std::string Title() const { return TextOf(m_hWnd); }
  std::string LogText() const { return TextOf(Child(L"RichEdit20W")); }
  LRESULT LogLength() const {
    return ::SendMessageW(Child(L"RichEdit20W"), WM_GETTEXTLENGTH, 0, 0);
  }
  bool ToolButtonEnabled(UINT id) const {
    const HWND toolbar = ::GetDlgItem(Child(L"ReBarWindow32"), 0xE800);
    return ::SendMessageW(toolbar, TB_ISBUTTONENABLED, id, 0) != 0;
  }
  std::vector<std::string> TrayJournal() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileBytes(m_journal));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  // The program's top-level windows of the class (visible ones only when asked), newest first.
  std::vector<HWND> WindowsOf(const wchar_t* className, bool visible) const {
    std::vector<HWND> found;
    for (HWND w = ::FindWindowExW(nullptr, nullptr, className, nullptr); w != nullptr;
         w = ::FindWindowExW(nullptr, w, className, nullptr)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(w, &owner);
      if (owner == ::GetProcessId(m_process.Get()) && (!visible || ::IsWindowVisible(w)))
        found.push_back(w);
    }
    return found;
  }
  // The program's visible dialogs and message boxes.
  std::vector<HWND> Dialogs() const { return WindowsOf(L"#32770", true); }
  // The one open dialog once it is there, else null.
  HWND WaitForDialog() const {
    std::vector<HWND> open;
    WaitFor([&] { return (open = Dialogs()).size() == 1; });
    return open.size() == 1 ? open[0] : nullptr;
  }
  // Presses the dialog's button; whether the dialog has closed.
  static bool Press(HWND dialog, int button) {
    ::PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
    return WaitFor([&] { return !::IsWindow(dialog); });
  }
  // The message box that is open, as "caption|text", answered with the button.
  std::string Answer(int button) const {
    const HWND box = WaitForDialog();
    const std::string message = MessageOf(box);
    Press(box, button);
    return message;
  }
  // A message box's caption and text (its static 0xFFFF), as "caption|text".
  static std::string MessageOf(HWND box) { return TextOf(box) + "|" + ItemText(box, 0xFFFF); }
  static std::string ItemText(HWND dialog, int id) { return TextOf(::GetDlgItem(dialog, id)); }
  static void SetText(HWND dialog, int id, const std::string& text) {
    ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(qv::Cp932ToWide(text).c_str()));
  }

  // Exactly these rows of the list selected: every row cleared (-1), then each one set.
  void SelectRows(std::vector<int> rows) const {
    const Remote<LVITEMW> remote(m_process.Get());
    rows.insert(rows.begin(), -1);
    for (int row : rows) {
      LVITEMW item{};
      item.stateMask = LVIS_SELECTED;
      item.state = row < 0 ? 0 : LVIS_SELECTED;
      remote.Send(Child(L"SysListView32"), LVM_SETITEMSTATE, static_cast<WPARAM>(row), item);
    }
  }
  void DoubleClickList() const {
    ::PostMessageW(Child(L"SysListView32"), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  }

  // The list's rows, each as its three cells separated by "|".
  std::vector<std::string> ListRows() const {
    struct Cell {
      LVITEMW item;
      wchar_t text[512];
    };
    const Remote<Cell> remote(m_process.Get());
    const HWND list = Child(L"SysListView32");
    std::vector<std::string> rows;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      std::string cells;
      for (int column = 0; column < 3; ++column) {
        Cell cell{};
        cell.item.iSubItem = column;
        cell.item.pszText = remote.at->text;
        cell.item.cchTextMax = 512;
        remote.Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), cell);
        cells += (column > 0 ? "|" : "") + qv::WideToCp932(cell.text);
      }
      rows.push_back(cells);
    }
    return rows;
  }

 private:
  std::wstring Exe() const { return L"\"" + m_folder + L"\\QuorvelW.exe\" "; }

  std::wstring m_folder;
  std::wstring m_journal;
  qv::UniqueHandle m_process;
  HWND m_hWnd = nullptr;
};

// Settings files are read as bytes: the library's reader would report a file caught half
// written. The conditions (32 bytes each) follow the version and the count; the release level
// opens the 16 bytes after them.
inline std::vector<std::string> SavedConditions(const QuorvelW& app) {
  const std::string bytes = ReadFileBytes(app.SettingsFile());
  std::vector<std::string> blocks;
  for (std::size_t at = 8; at + 32 + 16 <= bytes.size(); at += 32)
    blocks.push_back(bytes.substr(at, 32));
  return blocks;
}
inline int SavedReleaseLevel(const std::wstring& file) {
  const std::string bytes = ReadFileBytes(file);
  std::int32_t level = -1;
  if (bytes.size() >= 24 && (bytes.size() - 24) % 32 == 0)
    std::memcpy(&level, bytes.data() + bytes.size() - 16, sizeof(level));
  return level;
}

// The release level of a whole-memory pass is a share of the machine's memory: tests use 10 %.
inline void UseLowestLevel(const QuorvelW& app) {
  app.Command(ID_RELEASE_LEVEL_10);
  ASSERT_TRUE(WaitFor([&] { return SavedReleaseLevel(app.SettingsFile()) == 10; }));
}

// Adds an hourly condition through the dialog: minute, operation and CPU limit typed, OK pressed.
// The command is taken once the edit before it has ended.
inline void AddHourly(const QuorvelW& app, const char* minute, int operation,
                      const char* cpuLimit) {
  ASSERT_TRUE(WaitFor([&] { return app.ToolButtonEnabled(ID_CONDITION_ADD); }));
  app.Command(ID_CONDITION_ADD);
  const HWND dialog = app.WaitForDialog();
  ASSERT_NE(nullptr, dialog);
  QuorvelW::SetText(dialog, IDC_CONDITION_MINUTE, minute);
  ::SendDlgItemMessageW(dialog, IDC_CONDITION_OPERATION, CB_SETCURSEL, operation, 0);
  QuorvelW::SetText(dialog, IDC_CONDITION_CPU_LOAD, cpuLimit);
  ASSERT_TRUE(QuorvelW::Press(dialog, IDOK));
}

}  // namespace qvtest
