// The main window of QuorvelW: owner of the settings in force, the cleaning engine and every
// child window. A rebar with the menu bar, the toolbar and the tab control sits above the
// active tab's window (the condition list or the log view), a status bar below; the tray
// icon is the way in while the window is hidden.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/CommandLine.h"
#include "app/ConsoleOutput.h"
#include "app/FrameLogic.h"
#include "app/LogWatcher.h"
#include "app/ServiceControl.h"
#include "app/WindowSetting.h"
#include "editing/ConditionListCtrl.h"
#include "editing/LogEditCtrl.h"
#include "engine/MemClean.h"
#include "framework/DpiScale.h"
#include "framework/Frame.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"
#include "framework/UserHandles.h"
#include "settings/AppSetting.h"
#include "widgets/MenuBar.h"
#include "widgets/MyReBar.h"
#include "widgets/MyTabCtrl.h"

namespace qv::app {

class CMainFrame : public CFrameWindow {
 public:
  static constexpr wchar_t kClassName[] = L"QuorvelClass";
  static constexpr UINT kTrayMessage = WM_APP + 100;
  static constexpr UINT kTrayIconId = 1;
  static constexpr UINT_PTR kTimerMode = 1;
  static constexpr UINT_PTR kCloseRetry = 2;
  static constexpr UINT_PTR kLogRetry = 3;
  static constexpr int kCloseRetries = 60;

  CMainFrame();
  ~CMainFrame() override;

  // The hidden main window; false when any step of its creation fails.
  bool CreateMainWindow();

  int LoadSettings();
  // Writes the settings file; FALSE when it could not be written.
  BOOL SaveSettings();
  void SetConditionRow(int nItem, const COperationTime* condition);
  void ProcessCommandLine(const std::string& text);
  // Moves the engine's new lines into the log view; decides about "-q".
  void FlushLogLines();
  std::string GetSettingsDirectory() const;

  void StartTimerMode();
  void StopTimerMode();
  void RunTimerPass();

  // Service mode: the service runs the passes, the window shows its log.
  int StartServiceMode();
  int StopServiceMode();
  int StartLogWatcher();
  int StopLogWatcher();
  // The view shows the service's log file; a file that cannot be opened is tried again.
  void LoadServiceLog();

  void AddTrayIcon();
  void SetTrayTip(const std::string& tip);
  void RemoveTrayIcon();
  void ShowTrayMenu();
  // The window-settings file: read once before the windows are made, written at every close
  // and every change of the close-button option.
  int LoadWindowSettings();
  BOOL SaveWindowSettings();
  // A pass was ended by force at close; what it held may stay held.
  bool PassAbandoned() const { return m_bPassAbandoned; }

  bool PreTranslateMessage(MSG& msg) override;
  bool RouteCommand(UINT id) override;

  // The About box, unless another dialog of this window is open.
  void ShowAbout();

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnCreate(CREATESTRUCTW* cs) override;
  LRESULT OnClose() override;
  LRESULT OnTimer(UINT_PTR id) override;
  bool OnNotify(NMHDR* header, LRESULT& result) override;
  // Hands the help file to the shell; tests see here what was asked.
  virtual void OpenHelpFile(const std::wstring& path);

 private:
  bool Build();
  void AddCommands();
  void ApplyWindowRect();
  void ApplyBandLayout();
  void SetBarBandLayout(REBARBANDINFOW& info, CToolBarCtrl& bar, int buttonCount,
                        const CBandSetting& band, bool chevron);
  void AddWindowSettingCommands();
  void AddServiceCommands();
  void OnServiceRegister();
  // Whether the service is installed. Right after a removal the service control manager may
  // still know the service for a while; until it forgets it, it counts as removed.
  bool ServiceInstalled() const;
  // The settings directory of the mode, created when it is missing.
  std::string SettingsDirectory(bool serviceInstalled) const;
  std::string PreparedSettingsDirectory(bool serviceInstalled) const;
  bool Busy() const { return m_memClean.m_bRunning != 0; }
  void SetModeTitle(RunMode mode);
  RunMode CurrentMode() const;
  void ManualPass(bool wholeMemory, bool workingSet);
  void ShowInfo();
  LRESULT OnTrayNotify(WPARAM id, LPARAM mouseMessage);
  LRESULT OnSysCommand(WPARAM command, LPARAM lParam);
  void ShowReleaseLevelPopup(const NMTOOLBARW& toolbar);
  void NotifyTray(DWORD action, const std::string& tip);
  void EndWindow();

  // Editing the conditions and the options. One dialog at a time: while one is open, the
  // commands that open another are disabled, whoever sends them.
  void AddEditingCommands();
  bool ConditionListActive() const;
  int SelectedConditionCount() const;
  bool IsDuplicate(const COperationTime& condition, int skip) const;
  void SaveEdit();
  void ShowConditionList();
  void OnAddCondition();
  void OnEditCondition();
  void OnDeleteCondition();
  void OnOption();
  bool m_bDialogOpen = false;

  CAppSetting m_setting;
  CCommandLinePass m_cmdLinePass;
  int m_nCloseRetry = 0;
  bool m_bCloseWaiting = false;
  bool m_bTimerBusy = false;
  bool m_bFirstPass = true;
  // Lines of the command-line pass also go to the standard output.
  bool m_bEchoCommandLinePass = false;
  // After a forced end of a pass, the engine's pending lines are never touched again.
  bool m_bPassAbandoned = false;
  std::uint64_t m_nStartTick;
  UINT_PTR m_nTimerMode = 0;
  CMemClean m_memClean;
  CServiceControl m_serviceControl;
  mutable bool m_bServiceRemoved = false;
  CLogWatcher m_logWatcher;
  int m_nLogRetry = 0;
  CConsoleOutput m_console;
  CStatusBar m_wndStatusBar;
  CToolBar m_wndToolBar;
  CMyTabCtrl m_wndTabCtrl;
  CLogEditCtrl m_wndLog;
  CConditionListCtrl m_wndList;
  CMyReBar m_wndReBar;
  CMenuBar m_wndMenuBar;
  UniqueIcon m_hSmallIcon;
  ::CWindowSetting m_windowSetting;
  UINT m_nTaskbarCreated = 0;

  // High DPI: every size in the window is written for 96 DPI and scaled to the window's DPI,
  // which WM_DPICHANGED changes when the window moves to another monitor.
  int Scale(int value) const { return dpi::Scale(value, static_cast<int>(m_nDpi)); }
  void LoadSmallIcon();
  void UpdateTrayIcon();
  void SetToolBarImages();
  UINT TabBandHeight() const;
  void UpdateBandSizes();
  LRESULT OnDpiChanged(UINT dpi, const RECT* suggested);
  UINT m_nDpi = dpi::kDefaultDpi;
  bool m_bWindowSettingsRead = false;
  UniqueFont m_guiFont;
};

}  // namespace qv::app
