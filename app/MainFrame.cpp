#include "app/MainFrame.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editing/ConditionDlg.h"
#include "editing/OptionDlg.h"
#include "editing/StartupShortcut.h"
#include "framework/Application.h"
#include "framework/Cp932.h"
#include "framework/Dialog.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "resources/resource.h"
#include "settings/SafeFolders.h"
#include "settings/Utility.h"

namespace qv::app {

namespace {

constexpr UINT kMenuBarId = 0x8000;
constexpr UINT kToolBarId = 0xE800;
constexpr UINT kStatusBarId = 0xE801;
constexpr UINT kReBarId = 0xE804;
constexpr UINT kLogViewId = 0xE901;
constexpr UINT kTabId = 1010;
constexpr DWORD kMenuBarStyle = 0x50001854;
constexpr DWORD kTabStyle = 0x50000420;  // child, visible, fixed-width tabs, labels at the left
constexpr DWORD kBarBandStyle = RBBS_BREAK | RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS | RBBS_USECHEVRON;
constexpr DWORD kTabBandStyle = RBBS_BREAK | RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
constexpr int kReleaseLevelMenu = 6;  // "開放レベル" in the first pop-up
constexpr UINT kIndicators[] = {QV_ID_INDICATOR_KANA, QV_ID_INDICATOR_CAPS, QV_ID_INDICATOR_NUM,
                                QV_ID_INDICATOR_SCRL};
constexpr char kWindowSettingFile[] = "\\wndset.def";
constexpr wchar_t kHelpFile[] = L"vorel.chm";

// 640 x 480 at 96 DPI, at the screen's DPI, inside the work area of the primary monitor.
RECT FirstWindowRect() {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const dpi::Box box =
      dpi::ScaleWindowBox(dpi::Box{100, 100, 740, 580}, static_cast<int>(WindowDpi(nullptr)),
                          dpi::Box{work.left, work.top, work.right, work.bottom});
  return RECT{box.left, box.top, box.right, box.bottom};
}

// A band's child sizes for a bar: its height, and an ideal width that spans its buttons, so
// that the band's chevron shows what is hidden.
void SetBarChildSize(REBARBANDINFOW& info, const CToolBarCtrl& bar, int buttonCount) {
  RECT first{};
  RECT last{};
  info.cxMinChild = 0;
  info.cyMinChild = static_cast<UINT>(bar.GetMaxSize().cy);
  if (buttonCount > 0 && bar.GetItemRect(0, first) && bar.GetItemRect(buttonCount - 1, last)) {
    info.cxIdeal = static_cast<UINT>(last.right - first.left);
  }
}

int IconWidth(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !::GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

CWindowRect ToWindowRect(const RECT& rc) {
  return CWindowRect{rc.left, rc.top, rc.right, rc.bottom};
}
constexpr char kDuplicateCondition[] = "同じ設定のものが既にあります";
constexpr char kDeleteQuestion[] = "選択項目を削除してもよろしいでしょうか？";
constexpr char kSaveFailed[] = "設定の保存に失敗しました";

// Marks a dialog of the main window as open for as long as it lives.
class CDialogOpen {
 public:
  explicit CDialogOpen(bool& flag) : m_flag(flag) { m_flag = true; }
  ~CDialogOpen() { m_flag = false; }
  CDialogOpen(const CDialogOpen&) = delete;
  CDialogOpen& operator=(const CDialogOpen&) = delete;

 private:
  bool& m_flag;
};

// Every change of the tray icon is also appended to this file when the environment names it,
// so that tests outside the process can follow the icon.
void JournalTray(const char* action, const std::string& tip) {
  wchar_t path[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"QUORVEL_TRAY_JOURNAL", path, MAX_PATH) == 0) return;
  if (FILE* file = _wfopen(path, L"ab")) {
    std::fprintf(file, "%s\t%s\n", action, tip.c_str());
    std::fclose(file);
  }
}

class CStateUI : public CCommandUI {
 public:
  explicit CStateUI(UINT id) : CCommandUI(id) {}
  void Enable(bool on) override { enabled = on; }
  void SetCheck(bool) override {}
  bool enabled = true;
};

}  // namespace

CMainFrame::CMainFrame() : m_nStartTick(::GetTickCount64()) {}

CMainFrame::~CMainFrame() {
  SetEngineNotifyWindow(nullptr);
  if (!m_bPassAbandoned) m_memClean.WaitForPass(INFINITE);
}

bool CMainFrame::CreateMainWindow() {
  m_nTaskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
  const HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
  return CreateFrame(kClassName, LoadResourceString(IDR_MAINFRAME),
                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FirstWindowRect(), 0, icon);
}

LRESULT CMainFrame::OnCreate(CREATESTRUCTW*) {
  ApplyWindowRect();
  return Build() ? 0 : -1;
}

bool CMainFrame::Build() {
  m_nDpi = WindowDpi(m_hWnd);
  m_guiFont = CreateGuiFont(m_nDpi);
  if (!m_wndLog.CreateView(m_hWnd, kLogViewId)) return false;
  if (m_guiFont) m_wndLog.SetLogFont(m_guiFont.Get());  // the default GUI font at the window's DPI

  if (!m_wndList.Create(m_hWnd, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS,
                        kFirstPaneId, WS_EX_CLIENTEDGE)) {
    return false;
  }
  m_wndList.SetExtendedListViewStyle(LVS_EX_FULLROWSELECT);
  const RECT client = GetClientRect();
  const int half = (client.right - client.left) / 2;
  const char* const columns[] = {"mode", "operation", "cpu load limit"};
  for (int i = 0; i < 3; ++i) {
    // The widths of a file are pixels as they were saved; the defaults are for 96 DPI.
    const int stored = m_bWindowSettingsRead ? m_windowSetting.m_nColumnWidth[i]
                                             : Scale(m_windowSetting.m_nColumnWidth[i]);
    m_wndList.InsertColumn(i, columns[i], stored > 0 ? stored : half);
  }

  LoadSmallIcon();
  ::SetMenu(m_hWnd, nullptr);

  if (!m_wndMenuBar.Create(m_hWnd, kMenuBarStyle, kMenuBarId)) return false;
  m_wndMenuBar.LoadMenuBar(IDR_MAINFRAME);

  if (!m_wndToolBar.Create(m_hWnd,
                           WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP |
                               CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                           kToolBarId) ||
      !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
    return false;
  }
  m_wndToolBar.ModifyStyle(0, TBSTYLE_TRANSPARENT);
  m_wndToolBar.SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS);
  SetToolBarImages();
  m_wndToolBar.SetButtonStyle(ID_CLEAN_WHOLE_MEMORY, BTNS_BUTTON | BTNS_DROPDOWN);

  if (!m_wndTabCtrl.Create(m_hWnd, kTabStyle, kTabId)) return false;
  m_wndTabCtrl.SetFont(m_guiFont ? m_guiFont.Get()
                                 : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  m_wndTabCtrl.SetStaticTabMode(TRUE);
  m_wndTabCtrl.SetItemText(m_wndTabCtrl.AddHandle(&m_wndList, -1), "条件設定");
  m_wndTabCtrl.SetItemText(m_wndTabCtrl.AddHandle(&m_wndLog, -1), "ログ");

  if (!m_wndReBar.Create(m_hWnd, RBS_BANDBORDERS, kReBarId)) return false;
  if (!m_wndReBar.AddBar(m_wndMenuBar, kBarBandStyle) ||
      !m_wndReBar.AddBar(m_wndToolBar, kBarBandStyle) ||
      !m_wndReBar.AddBar(m_wndTabCtrl, kTabBandStyle)) {
    return false;
  }
  ApplyBandLayout();

  if (!m_wndStatusBar.Create(m_hWnd, WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP,
                             kStatusBarId) ||
      !m_wndStatusBar.SetIndicators(kIndicators, 4)) {
    return false;
  }
  m_wndStatusBar.ShowIdleText();
  SetReBar(m_wndReBar);
  SetStatusBar(&m_wndStatusBar);
  AddUpdateToolBar(m_wndToolBar);
  AddCommandTarget(&m_wndLog);  // the view is offered every command first
  AddCommands();
  SetEngineNotifyWindow(m_hWnd);

  AddTrayIcon();
  if (ServiceInstalled()) {
    SetModeTitle(m_serviceControl.IsServiceRunning() ? RunMode::kServiceRunning
                                                     : RunMode::kServiceStopped);
  }
  RecalcLayout();
  return true;
}

void CMainFrame::AddCommands() {
  CCommandTable& commands = Commands();
  AddWindowSettingCommands();
  const auto whenIdle = [this](CCommandUI& ui) { ui.Enable(!Busy()); };
  commands.Add(
      ID_CLEAN_WHOLE_MEMORY, [this](UINT) { ManualPass(true, false); }, whenIdle);
  commands.Add(
      ID_CLEAN_WORKING_SET, [this](UINT) { ManualPass(false, true); }, whenIdle);
  commands.Add(
      ID_SHOW_INFO, [this](UINT) { ShowInfo(); }, whenIdle);
  AddServiceCommands();
  AddEditingCommands();
  commands.Add(
      ID_TIMER_START,
      [this](UINT) {
        if (m_nTimerMode == 0) {
          StartTimerMode();
        } else {
          StopTimerMode();
        }
      },
      [this](CCommandUI& ui) {
        const bool installed = ServiceInstalled();
        ui.Enable(!installed);
        ui.SetCheck(!installed && m_nTimerMode != 0);
      });
  commands.AddRange(
      ID_RELEASE_LEVEL_10, ID_RELEASE_LEVEL_100,
      [this](UINT id) {
        m_setting.m_nReleaseLevel = ReleaseLevelOfCommand(id);
        SaveSettings();
      },
      [this](CCommandUI& ui) {
        ui.Enable(true);
        ui.SetCheck(ReleaseLevelChecked(ui.Id(), m_setting.m_nReleaseLevel));
      });
  commands.Add(ID_WINDOW_SHOW, [this](UINT) { PostMessage(WM_SYSCOMMAND, SC_RESTORE); });
  commands.Add(QV_ID_APP_EXIT, [this](UINT) { PostMessage(WM_CLOSE); });
}

// A disabled command is ignored whatever sent it: the menu, the toolbar, the tray menu, an
// accelerator or another program.
bool CMainFrame::RouteCommand(UINT id) {
  CStateUI state(id);
  RouteUpdate(state);
  if (!state.enabled) return true;
  return CFrameWindow::RouteCommand(id);
}

bool CMainFrame::PreTranslateMessage(MSG& msg) {
  if (m_wndLog.IsWindow() && m_wndLog.PreTranslateMessage(msg)) return true;
  return m_wndMenuBar.IsWindow() && m_wndMenuBar.TranslateFrameMessage(msg) != FALSE;
}

std::string CMainFrame::GetSettingsDirectory() const {
  return SettingsDirectory(ServiceInstalled());
}

std::string CMainFrame::SettingsDirectory(bool serviceInstalled) const {
  if (serviceInstalled) return GetApplicationPath() + "\\SVC";
  return GetApplicationPath() + "\\" + GetWindowsUser();
}

// The service's folder is made with rights that keep ordinary users from changing what the
// service reads.
std::string CMainFrame::PreparedSettingsDirectory(bool serviceInstalled) const {
  const std::string directory = SettingsDirectory(serviceInstalled);
  const std::wstring wide = Cp932ToWide(directory);
  if (::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) return directory;
  if (serviceInstalled) {
    CreateServiceFolder(directory);
  } else {
    ::CreateDirectoryW(wide.c_str(), nullptr);
  }
  return directory;
}

int CMainFrame::LoadSettings() {
  const std::string directory = GetSettingsDirectory();
  m_setting.Clear();
  if (!m_setting.Load(directory + "\\qvlset.def")) {
    m_setting.SetDefaultSetting();
    SaveSettings();
  }
  m_wndList.DeleteAllItems();
  for (const auto& condition : m_setting.m_aOperationTime) SetConditionRow(-1, condition.get());
  return 1;
}

BOOL CMainFrame::SaveSettings() {
  const bool service = ServiceInstalled();
  const std::string directory = PreparedSettingsDirectory(service);
  m_setting.m_bModified = 1;
  const int saved = m_setting.Save(directory + "\\qvlset.def");
  if (service) m_serviceControl.NotifyService();
  return saved != 0 ? TRUE : FALSE;
}

void CMainFrame::SetConditionRow(int nItem, const COperationTime* condition) {
  if (condition != nullptr) m_wndList.SetConditionRow(nItem, *condition);
}

void CMainFrame::ProcessCommandLine(const std::string& text) {
  const CCommandLineOptions options = ParseCommandLine(text);
  m_cmdLinePass.Begin(options.quitAfterPass);
  m_memClean.m_appSetting = m_setting;
  m_memClean.m_bTimerMode = 0;
  m_memClean.m_bOptimizeWholeMemory = options.wholeMemory ? 1 : 0;
  m_memClean.m_bOptimizeWorkingSet = options.workingSet ? 1 : 0;
  if (options.releaseLevel != 0) m_memClean.m_appSetting.m_nReleaseLevel = options.releaseLevel;
  if (!options.StartsPass()) return;
  m_bEchoCommandLinePass = m_console.Open();
  DoCleanUp(&m_memClean);
}

void CMainFrame::FlushLogLines() {
  if (m_bPassAbandoned || !m_wndLog.IsWindow()) return;
  // The flag first: a pass marks itself idle only after its last line.
  const bool running = Busy();
  for (const std::string& line : m_memClean.m_aLog.TakeAll()) {
    m_wndLog.AppendLine(line);
    if (m_bEchoCommandLinePass) m_console.WriteLine(line);
  }
  if (m_cmdLinePass.Unsettled()) {
    const bool close = m_cmdLinePass.OnIdle(running);
    if (!m_cmdLinePass.Unsettled()) m_bEchoCommandLinePass = false;
    if (close) PostMessage(WM_CLOSE);
  }
}

void CMainFrame::SetModeTitle(RunMode mode) {
  const std::string title = ModeTitle(mode);
  SetWindowText(title);
  SetTrayTip(title);
}

RunMode CMainFrame::CurrentMode() const {
  if (ServiceInstalled()) {
    return m_serviceControl.IsServiceRunning() ? RunMode::kServiceRunning
                                               : RunMode::kServiceStopped;
  }
  return m_nTimerMode != 0 ? RunMode::kTimerRunning : RunMode::kTimerStopped;
}

void CMainFrame::StartTimerMode() {
  m_nTimerMode = ::SetTimer(m_hWnd, kTimerMode, 60000, nullptr);
  SetModeTitle(RunMode::kTimerRunning);
}

void CMainFrame::StopTimerMode() {
  ::KillTimer(m_hWnd, kTimerMode);
  m_nTimerMode = 0;
  SetModeTitle(RunMode::kTimerStopped);
}

void CMainFrame::RunTimerPass() {
  CTimerTick tick;
  tick.commandLinePassUnsettled = m_cmdLinePass.Unsettled();
  tick.passRunning = Busy();
  tick.tickUnderWay = m_bTimerBusy;
  tick.elapsedMilliseconds = ::GetTickCount64() - m_nStartTick;
  tick.delayMinutes = m_setting.m_nTimerDelay;
  if (!TimerPassDue(tick)) return;
  m_bTimerBusy = true;
  m_memClean.m_appSetting = m_setting;
  m_memClean.m_bTimerMode = 1;
  m_memClean.m_bStartup = m_bFirstPass ? 1 : 0;
  m_bFirstPass = false;
  DoCleanUp(&m_memClean);
  m_bTimerBusy = false;
}

void CMainFrame::ManualPass(bool wholeMemory, bool workingSet) {
  if (Busy()) return;
  m_wndTabCtrl.SetCurSelEx(&m_wndLog);
  m_memClean.m_appSetting = m_setting;
  m_memClean.m_bOptimizeWholeMemory = wholeMemory ? 1 : 0;
  m_memClean.m_bOptimizeWorkingSet = workingSet ? 1 : 0;
  m_memClean.m_bTimerMode = 0;
  DoCleanUp(&m_memClean);
}

void CMainFrame::ShowInfo() {
  SendMessage(WM_SYSCOMMAND, SC_RESTORE);
  ::SetForegroundWindow(m_hWnd);
  if (Busy()) return;
  m_wndTabCtrl.SetCurSelEx(&m_wndLog);
  m_memClean.m_appSetting = m_setting;
  m_memClean.ShowInfo();
  FlushLogLines();
}

// Editing the conditions and the options.

void CMainFrame::AddEditingCommands() {
  CCommandTable& commands = Commands();
  commands.Add(
      ID_CONDITION_ADD, [this](UINT) { OnAddCondition(); },
      [this](CCommandUI& ui) { ui.Enable(!m_bDialogOpen); });
  commands.Add(
      ID_CONDITION_DELETE, [this](UINT) { OnDeleteCondition(); },
      [this](CCommandUI& ui) {
        ui.Enable(!m_bDialogOpen && ConditionListActive() && SelectedConditionCount() > 0);
      });
  commands.Add(
      ID_CONDITION_MODIFY, [this](UINT) { OnEditCondition(); },
      [this](CCommandUI& ui) {
        ui.Enable(!m_bDialogOpen && ConditionListActive() && SelectedConditionCount() == 1);
      });
  commands.Add(
      ID_OPTION, [this](UINT) { OnOption(); },
      [this](CCommandUI& ui) { ui.Enable(!m_bDialogOpen); });
  // The application runs the About box; the frame only decides whether it may.
  commands.Add(QV_ID_APP_ABOUT, {}, [this](CCommandUI& ui) { ui.Enable(!m_bDialogOpen); });
}

bool CMainFrame::ConditionListActive() const {
  return m_wndList.IsWindow() && ::GetDlgCtrlID(m_wndList.Handle()) == kFirstPaneId;
}

int CMainFrame::SelectedConditionCount() const {
  return static_cast<int>(m_wndList.SendMessage(LVM_GETSELECTEDCOUNT));
}

// Whether another condition (the one at skip excepted) has the same seven fields.
bool CMainFrame::IsDuplicate(const COperationTime& condition, int skip) const {
  for (std::size_t i = 0; i < m_setting.m_aOperationTime.size(); ++i) {
    if (static_cast<int>(i) != skip && *m_setting.m_aOperationTime[i] == condition) return true;
  }
  return false;
}

// The edit stays in the list and in memory, so that the next change writes it again.
void CMainFrame::SaveEdit() {
  if (!SaveSettings()) AppMessageBox(kSaveFailed, MB_OK);
}

// The window restored and in front, on the condition list.
void CMainFrame::ShowConditionList() {
  SendMessage(WM_SYSCOMMAND, SC_RESTORE);
  ::SetForegroundWindow(m_hWnd);
  m_wndTabCtrl.SetCurSelEx(&m_wndList);
}

void CMainFrame::OnAddCondition() {
  if (m_bDialogOpen) return;
  const CDialogOpen open(m_bDialogOpen);
  ShowConditionList();
  CConditionDlg dialog;
  if (dialog.DoModal() != IDOK) return;
  if (IsDuplicate(dialog.m_condition, -1)) {
    AppMessageBox(kDuplicateCondition, MB_OK);
    return;
  }
  auto condition = std::make_unique<COperationTime>();
  *condition = dialog.m_condition;
  m_setting.m_aOperationTime.push_back(std::move(condition));
  SetConditionRow(-1, m_setting.m_aOperationTime.back().get());
  SaveEdit();
}

void CMainFrame::OnEditCondition() {
  if (m_bDialogOpen) return;
  const int row = m_wndList.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0 || static_cast<std::size_t>(row) >= m_setting.m_aOperationTime.size()) return;
  const CDialogOpen open(m_bDialogOpen);
  CConditionDlg dialog;
  dialog.m_condition = *m_setting.m_aOperationTime[static_cast<std::size_t>(row)];
  dialog.m_bModifyMode = 1;
  if (dialog.DoModal() != IDOK) return;
  if (IsDuplicate(dialog.m_condition, row)) {
    AppMessageBox(kDuplicateCondition, MB_OK);
    return;
  }
  COperationTime& entry = *m_setting.m_aOperationTime[static_cast<std::size_t>(row)];
  entry = dialog.m_condition;
  SetConditionRow(row, &entry);
  SaveEdit();
}

void CMainFrame::OnDeleteCondition() {
  if (m_bDialogOpen) return;
  const CDialogOpen open(m_bDialogOpen);
  ShowConditionList();
  if (m_wndList.GetNextItem(-1, LVNI_SELECTED) < 0) return;
  if (::MessageBoxW(m_hWnd, Cp932ToWide(kDeleteQuestion).c_str(), L"確認", MB_YESNO) != IDYES)
    return;
  std::vector<int> rows;
  for (int row = m_wndList.GetNextItem(-1, LVNI_SELECTED); row >= 0;
       row = m_wndList.GetNextItem(row, LVNI_SELECTED)) {
    rows.push_back(row);
  }
  // Every deletion moves the later rows up by one.
  auto& conditions = m_setting.m_aOperationTime;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const int row = rows[k] - static_cast<int>(k);
    if (row < 0 || static_cast<std::size_t>(row) >= conditions.size()) continue;
    m_wndList.DeleteItem(row);
    conditions.erase(conditions.begin() + row);
  }
  SaveEdit();
}

// Only the three options the dialog edits go back: the conditions stay as they are.
void CMainFrame::OnOption() {
  if (m_bDialogOpen) return;
  const CDialogOpen open(m_bDialogOpen);
  COptionDlg dialog;
  dialog.m_setting = m_setting;
  dialog.m_bServiceInstalled = ServiceInstalled() ? 1 : 0;
  if (dialog.DoModal() != IDOK) return;
  m_setting.m_nLogSizeLimit = dialog.m_setting.m_nLogSizeLimit;
  m_setting.m_nTimerDelay = dialog.m_setting.m_nTimerDelay;
  m_setting.m_nInterval = dialog.m_setting.m_nInterval;
  SaveEdit();
}

void CMainFrame::ShowAbout() {
  if (m_bDialogOpen) return;
  const CDialogOpen open(m_bDialogOpen);
  CAboutDlg().DoModal(m_hWnd);
}

// Tray icon.

void CMainFrame::NotifyTray(DWORD action, const std::string& tip) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = m_hWnd;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  if (!m_hSmallIcon) LoadSmallIcon();
  data.hIcon = m_hSmallIcon.Get();
  const std::wstring wide = Cp932ToWide(tip).substr(0, 127);
  wide.copy(data.szTip, wide.size());
  ::Shell_NotifyIconW(action, &data);
}

void CMainFrame::AddTrayIcon() {
  if (!m_hSmallIcon) LoadSmallIcon();
  JournalTray("icon", std::to_string(IconWidth(m_hSmallIcon.Get())));
  NotifyTray(NIM_ADD, "Quorvel");
  JournalTray("add", "Quorvel");
}

void CMainFrame::SetTrayTip(const std::string& tip) {
  NotifyTray(NIM_MODIFY, tip);
  JournalTray("tip", tip);
}

void CMainFrame::RemoveTrayIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = m_hWnd;
  data.uID = kTrayIconId;
  ::Shell_NotifyIconW(NIM_DELETE, &data);
  JournalTray("remove", "");
}

LRESULT CMainFrame::OnTrayNotify(WPARAM id, LPARAM mouseMessage) {
  if (id != kTrayIconId) return 0;
  switch (mouseMessage) {
    case WM_MOUSEMOVE:
      SetTrayTip(TrayTipText(CurrentMode(), GetMemoryLoad()));
      return 0;
    case WM_LBUTTONDOWN:
      return 1;
    case WM_LBUTTONDBLCLK:
      if (::IsIconic(m_hWnd)) {
        ShowWindow(SW_SHOW);
        SendMessage(WM_SYSCOMMAND, SC_RESTORE);
        ::SetForegroundWindow(m_hWnd);
      } else {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
      }
      return 1;
    case WM_RBUTTONDOWN:
      ShowTrayMenu();
      return 1;
    default:
      return 0;
  }
}

void CMainFrame::ShowTrayMenu() {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  const HMENU menu = ::GetSubMenu(m_wndMenuBar.GetMenu(), 0);
  if (menu == nullptr) return;

  // The menu must be able to take the foreground from whichever program has it.
  const DWORD ownThread = ::GetCurrentThreadId();
  const DWORD foregroundThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
  const bool attached = foregroundThread != 0 && foregroundThread != ownThread &&
                        ::AttachThreadInput(ownThread, foregroundThread, TRUE);
  DWORD lockTimeout = 0;
  ::SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &lockTimeout, 0);
  ::SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);

  Point point{cursor.x, cursor.y};
  const HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  const HWND desktop = ::GetDesktopWindow();
  if (taskbar != nullptr && desktop != nullptr) {
    RECT d{};
    RECT t{};
    ::GetWindowRect(desktop, &d);
    ::GetWindowRect(taskbar, &t);
    point = TrayMenuPoint(point, Rect{d.left, d.top, d.right, d.bottom},
                          Rect{t.left, t.top, t.right, t.bottom});
  }
  ::SetForegroundWindow(m_hWnd);
  ::TrackPopupMenu(menu, TPM_VERNEGANIMATION, static_cast<int>(point.x), static_cast<int>(point.y),
                   0, m_hWnd, nullptr);
  PostMessage(WM_NULL);

  ::SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<void*>(static_cast<std::uintptr_t>(lockTimeout)), 0);
  if (attached) ::AttachThreadInput(ownThread, foregroundThread, FALSE);
}

// Messages.

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == m_nTaskbarCreated && m_nTaskbarCreated != 0) {
    AddTrayIcon();
    return 1;
  }
  switch (message) {
    case kTrayMessage:
      return OnTrayNotify(wParam, lParam);
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam, lParam);
    case WM_SETFOCUS:
      if (m_wndLog.IsWindow()) m_wndLog.SetFocus();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCACTIVATE: {
      CChevronPopup* popup = m_wndReBar.GetChevronPopup();
      if (popup != nullptr && popup->IsActive()) return DefaultWith(message, TRUE, lParam);
      return Default();
    }
    case WM_HELP:
      if (::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 &&
          ::GetKeyState(VK_MENU) >= 0) {
        SendMessage(WM_COMMAND, QV_ID_HELP);
      }
      return TRUE;
    case WM_DPICHANGED:
      return OnDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
    case WM_QUERYENDSESSION:
      return TRUE;  // never holds a logoff up
    case WM_ENDSESSION:
      if (wParam) {
        // The settings are written at every change; what a close saves is saved here.
        SaveWindowSettings();
        RemoveTrayIcon();
      }
      return 0;
    default:
      return CFrameWindow::WindowProc(message, wParam, lParam);
  }
}

LRESULT CMainFrame::OnSysCommand(WPARAM command, LPARAM) {
  const UINT code = static_cast<UINT>(command & 0xFFF0);
  if (code == SC_MINIMIZE && !::IsIconic(m_hWnd)) {
    m_windowSetting.m_rcWindow = ToWindowRect(GetWindowRect());
  }
  if (code == SC_CLOSE && m_windowSetting.m_bMinimizeOnClose) {
    PostMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    return 0;
  }
  const LRESULT result = Default();
  if (code == SC_MINIMIZE) ShowWindow(SW_HIDE);
  return result;
}

LRESULT CMainFrame::OnClose() {
  // A close that already waits for the pass goes on as it is.
  if (m_bCloseWaiting) return 0;
  ::KillTimer(m_hWnd, kTimerMode);
  StopLogWatcher();
  SaveWindowSettings();
  RemoveTrayIcon();
  m_nCloseRetry = 0;
  if (Busy()) {
    m_bCloseWaiting = true;
    ::SetTimer(m_hWnd, kCloseRetry, 1000, nullptr);
    return 0;
  }
  EndWindow();
  return 0;
}

void CMainFrame::EndWindow() {
  FlushLogLines();
  SetEngineNotifyWindow(nullptr);
  DestroyWindow();
}

LRESULT CMainFrame::OnTimer(UINT_PTR id) {
  switch (id) {
    case kTimerMode:
      if (!m_cmdLinePass.Unsettled()) RunTimerPass();
      return 0;
    case kLogRetry:
      ::KillTimer(m_hWnd, kLogRetry);
      LoadServiceLog();
      return 0;
    case kCloseRetry:
      ::KillTimer(m_hWnd, kCloseRetry);
      ++m_nCloseRetry;
      if (Busy()) {
        if (m_nCloseRetry <= kCloseRetries) {
          ::SetTimer(m_hWnd, kCloseRetry, 1000, nullptr);
          return 0;
        }
        // The killed thread may hold the lock of the pending lines: they stay untouched.
        m_bPassAbandoned = true;
        m_memClean.TerminatePass();
      }
      EndWindow();
      return 0;
    default:
      return Default();
  }
}

bool CMainFrame::OnNotify(NMHDR* header, LRESULT& result) {
  if (header->code == TBN_DROPDOWN && header->hwndFrom == m_wndToolBar.Handle()) {
    const auto* toolbar = reinterpret_cast<NMTOOLBARW*>(header);
    if (toolbar->iItem == ID_CLEAN_WHOLE_MEMORY) {
      ShowReleaseLevelPopup(*toolbar);
      result = TBDDRET_DEFAULT;
      return true;
    }
  }
  return CFrameWindow::OnNotify(header, result);
}

void CMainFrame::ShowReleaseLevelPopup(const NMTOOLBARW& toolbar) {
  RECT button{};
  m_wndToolBar.SendMessage(TB_GETRECT, static_cast<WPARAM>(toolbar.iItem),
                           reinterpret_cast<LPARAM>(&button));
  const RECT screen = m_wndToolBar.MapRectTo(nullptr, button);
  const HMENU levels = ::GetSubMenu(::GetSubMenu(m_wndMenuBar.GetMenu(), 0), kReleaseLevelMenu);
  if (levels == nullptr) return;
  ::TrackPopupMenu(levels, TPM_VERPOSANIMATION, screen.left, screen.bottom, 0, m_hWnd, nullptr);
  PostMessage(WM_NULL);
}

// Window settings, the startup shortcut and the help file.

int CMainFrame::LoadWindowSettings() {
  m_windowSetting.m_bandMenuBar.wID = 0;
  m_windowSetting.m_bandToolBar.wID = 1;
  m_windowSetting.m_bandMenuBar.fStyle = RBBS_BREAK;
  m_windowSetting.m_bandToolBar.fStyle = RBBS_BREAK;
  const int read = m_windowSetting.Load(GetSettingsDirectory() + kWindowSettingFile);
  m_bWindowSettingsRead = read != 0;
  return read;
}

// A stored rectangle is used only when it has a size and some of it lies on a monitor of the
// present screen layout; otherwise the window keeps the place the system gave it.
void CMainFrame::ApplyWindowRect() {
  if (LoadWindowSettings() == 0) return;
  const CWindowRect& stored = m_windowSetting.m_rcWindow;
  const RECT rc{stored.left, stored.top, stored.right, stored.bottom};
  if (stored.IsEmpty() || ::MonitorFromRect(&rc, MONITOR_DEFAULTTONULL) == nullptr) return;
  MoveWindow(rc);
}

// The stored order first, then each band's stored width and its new-row and hidden bits.
void CMainFrame::ApplyBandLayout() {
  const std::pair<const CWindow*, const CBandSetting*> bands[] = {
      {&m_wndMenuBar, &m_windowSetting.m_bandMenuBar},
      {&m_wndToolBar, &m_windowSetting.m_bandToolBar},
      {&m_wndTabCtrl, &m_windowSetting.m_bandTab}};
  const UINT count = m_wndReBar.GetBandCount();
  for (const auto& [child, band] : bands) {
    if (band->wID >= 0 && static_cast<UINT>(band->wID) < count) {
      m_wndReBar.MoveBand(m_wndReBar.GetBandPos(*child), static_cast<UINT>(band->wID));
    }
  }
  REBARBANDINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_IDEALSIZE;
  SetBarBandLayout(info, m_wndMenuBar, m_wndMenuBar.GetMenuCount(), m_windowSetting.m_bandMenuBar,
                   true);
  SetBarBandLayout(info, m_wndToolBar, m_wndToolBar.GetButtonCount(), m_windowSetting.m_bandToolBar,
                   true);
  const CBandSetting& tab = m_windowSetting.m_bandTab;
  info.cyMinChild = TabBandHeight();
  info.cx = static_cast<UINT>(std::max(tab.cx, 0));
  info.wID = static_cast<UINT>(tab.wID);
  info.fStyle = (static_cast<UINT>(tab.fStyle) & CWindowSetting::kAppliedBandStyles) |
                RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE;
  m_wndReBar.SetBandInfo(m_wndReBar.GetBandPos(m_wndTabCtrl), info);
}

void CMainFrame::SetBarBandLayout(REBARBANDINFOW& info, CToolBarCtrl& bar, int buttonCount,
                                  const CBandSetting& band, bool chevron) {
  SetBarChildSize(info, bar, buttonCount);
  info.cx = static_cast<UINT>(std::max(band.cx, 0));
  info.wID = static_cast<UINT>(band.wID);
  info.fStyle = (static_cast<UINT>(band.fStyle) & CWindowSetting::kAppliedBandStyles) |
                RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE | (chevron ? RBBS_USECHEVRON : 0);
  m_wndReBar.SetBandInfo(m_wndReBar.GetBandPos(bar), info);
}

// A failed write is only reported to the debugger: it never stops a close.
BOOL CMainFrame::SaveWindowSettings() {
  const bool service = ServiceInstalled();
  const std::string directory = PreparedSettingsDirectory(service);
  if (!::IsIconic(m_hWnd)) m_windowSetting.m_rcWindow = ToWindowRect(GetWindowRect());
  const std::pair<const CWindow*, CBandSetting*> bands[] = {
      {&m_wndMenuBar, &m_windowSetting.m_bandMenuBar},
      {&m_wndToolBar, &m_windowSetting.m_bandToolBar},
      {&m_wndTabCtrl, &m_windowSetting.m_bandTab}};
  for (UINT i = 0; i < 3; ++i) {
    REBARBANDINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_SIZE;
    if (!m_wndReBar.GetBandInfo(i, info)) continue;
    for (const auto& [child, band] : bands) {
      if (info.hwndChild != child->Handle()) continue;
      band->wID = static_cast<std::int32_t>(i);
      band->cx = static_cast<std::int32_t>(info.cx);
      band->fStyle = static_cast<std::int32_t>(info.fStyle);
    }
  }
  m_windowSetting.m_bStatusBar = static_cast<std::int32_t>(m_wndStatusBar.GetStyle() & WS_VISIBLE);
  for (int i = 0; i < 3; ++i) m_windowSetting.m_nColumnWidth[i] = m_wndList.GetColumnWidth(i);
  if (!m_windowSetting.Save(directory + kWindowSettingFile)) {
    ::OutputDebugStringW(
        Cp932ToWide("Quorvel: the window settings could not be saved in " + directory + "\n")
            .c_str());
  }
  if (service) m_serviceControl.NotifyService();
  return TRUE;
}

void CMainFrame::AddWindowSettingCommands() {
  CCommandTable& commands = Commands();
  commands.Add(
      ID_MINIMIZE_ON_CLOSE,
      [this](UINT) {
        m_windowSetting.m_bMinimizeOnClose = m_windowSetting.m_bMinimizeOnClose == 0 ? 1 : 0;
        SaveWindowSettings();
      },
      [this](CCommandUI& ui) {
        ui.Enable(true);
        ui.SetCheck(m_windowSetting.m_bMinimizeOnClose != 0);
      });
  commands.Add(
      ID_STARTUP_REGISTER,
      [](UINT) {
        const editing::CStartupShortcut shortcut;
        if (shortcut.IsStartupShortcutPresent()) {
          shortcut.DeleteStartupShortcut();
        } else {
          shortcut.CreateStartupShortcut();
        }
      },
      [](CCommandUI& ui) {
        ui.Enable(true);
        ui.SetCheck(editing::CStartupShortcut().IsStartupShortcutPresent());
      });
  // The help file beside the program, never one of the current directory: a help file can
  // run script.
  commands.Add(QV_ID_HELP, [this](UINT) {
    OpenHelpFile(Cp932ToWide(GetApplicationPath()) + L"\\" + kHelpFile);
  });
}

void CMainFrame::OpenHelpFile(const std::wstring& path) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
  info.hwnd = m_hWnd;
  info.lpFile = path.c_str();
  info.nShow = SW_SHOWNORMAL;
  ::ShellExecuteExW(&info);
}

// High DPI.

void CMainFrame::LoadSmallIcon() {
  const int size = SmallIconSize(m_nDpi);
  m_hSmallIcon.Reset(
      static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon.Get()));
}

void CMainFrame::UpdateTrayIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = m_hWnd;
  data.uID = kTrayIconId;
  data.uFlags = NIF_ICON;
  data.hIcon = m_hSmallIcon.Get();
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
  JournalTray("icon", std::to_string(IconWidth(m_hSmallIcon.Get())));
}

// Each button is its image and a margin of 7 pixels.
void CMainFrame::SetToolBarImages() {
  static const ToolBarImageSet sets[] = {
      {IDR_MAINFRAME, 16, 15}, {IDB_TOOLBAR_24, 24, 23}, {IDB_TOOLBAR_32, 32, 30}};
  m_wndToolBar.LoadImagesForDpi(sets, 3, m_nDpi);
  m_wndToolBar.SetButtonSize(Scale(16 + 7), Scale(15 + 7));
}

// 20 pixels, and never less than the tabs themselves.
UINT CMainFrame::TabBandHeight() const {
  RECT item{};
  m_wndTabCtrl.SendMessage(TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  return static_cast<UINT>(std::max(Scale(20), static_cast<int>(item.bottom - item.top)));
}

// The band heights and ideal widths follow the bars; their order, widths and styles stay.
void CMainFrame::UpdateBandSizes() {
  REBARBANDINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
  SetBarChildSize(info, m_wndMenuBar, m_wndMenuBar.GetMenuCount());
  m_wndReBar.SetBandInfo(m_wndReBar.GetBandPos(m_wndMenuBar), info);
  SetBarChildSize(info, m_wndToolBar, m_wndToolBar.GetButtonCount());
  m_wndReBar.SetBandInfo(m_wndReBar.GetBandPos(m_wndToolBar), info);
  info.fMask = RBBIM_CHILDSIZE;
  info.cyMinChild = TabBandHeight();
  m_wndReBar.SetBandInfo(m_wndReBar.GetBandPos(m_wndTabCtrl), info);
}

// The window moved to a monitor of another DPI: images, fonts and sizes are made anew for it,
// and the window takes the rectangle the system suggests.
LRESULT CMainFrame::OnDpiChanged(UINT dpi, const RECT* suggested) {
  const UINT previous = m_nDpi;
  m_nDpi = dpi > 0 ? dpi : static_cast<UINT>(dpi::kDefaultDpi);
  LoadSmallIcon();
  UpdateTrayIcon();
  UniqueFont font = CreateGuiFont(m_nDpi);
  if (font) {
    for (const CWindow* window :
         {static_cast<const CWindow*>(&m_wndTabCtrl), static_cast<const CWindow*>(&m_wndList),
          static_cast<const CWindow*>(&m_wndStatusBar)}) {
      window->SetFont(font.Get());
    }
    m_wndLog.SetLogFont(font.Get());
    m_guiFont = std::move(font);
  }
  m_wndStatusBar.SetIndicators(kIndicators, 4);
  for (int i = 0; i < 3; ++i) {
    const int width = m_wndList.GetColumnWidth(i);
    m_wndList.SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                          ::MulDiv(width, static_cast<int>(m_nDpi), static_cast<int>(previous)));
  }
  SetToolBarImages();
  UpdateBandSizes();
  if (suggested != nullptr) {
    SetWindowPos(nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RecalcLayout();
  return 0;
}

}  // namespace qv::app

// Service mode.

namespace qv::app {

namespace {

constexpr char kInstallFailed[] = "サービスのインストールに失敗しました";
constexpr char kUninstallFailed[] = "サービスのアンインストールに失敗しました";
constexpr char kStartFailed[] = "サービスの起動に失敗しました";
constexpr char kStopFailed[] = "サービスの停止に失敗しました";
constexpr char kServiceLogFile[] = "\\vorel.log";
// Failed opens of the service log left to the next trigger before each failure schedules a
// retry of its own.
constexpr int kLogRetriesLeftToTriggers = 10;

}  // namespace

void CMainFrame::AddServiceCommands() {
  CCommandTable& commands = Commands();
  commands.Add(
      ID_SERVICE_REGISTER, [this](UINT) { OnServiceRegister(); },
      [this](CCommandUI& ui) {
        ui.Enable(true);
        ui.SetCheck(ServiceInstalled());
      });
  commands.Add(
      ID_SERVICE_START,
      [this](UINT) {
        if (m_serviceControl.IsServiceRunning()) {
          StopServiceMode();
        } else {
          StartServiceMode();
        }
      },
      [this](CCommandUI& ui) {
        const bool installed = ServiceInstalled();
        ui.Enable(installed);
        ui.SetCheck(installed && m_serviceControl.IsServiceRunning());
      });
  commands.Add(
      ID_SHOW_SERVICE_LOG, [this](UINT) { LoadServiceLog(); },
      [this](CCommandUI& ui) { ui.Enable(ServiceInstalled()); });
  commands.Add(ID_SERVICE_LOG_CHANGED, [this](UINT) { LoadServiceLog(); });
}

bool CMainFrame::ServiceInstalled() const {
  if (!m_serviceControl.IsServiceInstalled()) {
    m_bServiceRemoved = false;
    return false;
  }
  return !m_bServiceRemoved;
}

void CMainFrame::OnServiceRegister() {
  if (!ServiceInstalled()) {
    StopTimerMode();
    if (!m_serviceControl.InstallService()) {
      AppMessageBox(kInstallFailed, MB_OK);
      return;
    }
    m_bServiceRemoved = false;
    LoadSettings();  // from the service's folder; the defaults are written there when missing
    StartServiceMode();
    return;
  }
  if (!m_serviceControl.UninstallService()) {
    AppMessageBox(kUninstallFailed, MB_OK);
    return;
  }
  // The user's settings come back at once, whatever the manager still says of the service.
  m_bServiceRemoved = true;
  StopLogWatcher();
  LoadSettings();
  StartTimerMode();
}

int CMainFrame::StartServiceMode() {
  if (!m_serviceControl.StartServiceProgram()) {
    AppMessageBox(kStartFailed, MB_OK);
    return 0;
  }
  SetModeTitle(RunMode::kServiceRunning);
  LoadServiceLog();
  StartLogWatcher();
  return 1;
}

int CMainFrame::StopServiceMode() {
  if (!m_serviceControl.StopServiceProgram()) {
    AppMessageBox(kStopFailed, MB_OK);
    return 0;
  }
  SetModeTitle(RunMode::kServiceStopped);
  StopLogWatcher();
  return 1;
}

// A watcher that runs already is replaced. The watcher only posts: the view is reloaded on
// the window thread.
int CMainFrame::StartLogWatcher() {
  const HWND window = m_hWnd;
  m_logWatcher.StartLogWatcher(GetSettingsDirectory(), [window] {
    ::PostMessageW(window, WM_COMMAND, ID_SERVICE_LOG_CHANGED, 0);
  });
  LoadServiceLog();
  return 1;
}

int CMainFrame::StopLogWatcher() {
  m_logWatcher.StopLogWatcher();
  return 1;
}

// Opened without sharing, as the service writes it: while the service has it open, the load
// fails and is tried again.
void CMainFrame::LoadServiceLog() {
  if (!ServiceInstalled() || !m_wndLog.IsWindow()) return;
  const std::wstring path = Cp932ToWide(SettingsDirectory(true) + kServiceLogFile);
  const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string text;
  bool read = static_cast<bool>(file);
  char buffer[16384];
  DWORD count = 0;
  while (read && (read = ::ReadFile(file.Get(), buffer, sizeof(buffer), &count, nullptr) != 0) &&
         count > 0) {
    text.append(buffer, count);
  }
  if (!read) {
    if (++m_nLogRetry > kLogRetriesLeftToTriggers) ::SetTimer(m_hWnd, kLogRetry, 500, nullptr);
    return;
  }
  m_wndLog.SetLogText(text);
  m_nLogRetry = 0;
}

}  // namespace qv::app
