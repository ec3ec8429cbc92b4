// The widgets in a frame, laid out as the main window will hold them: a rebar with the menu
// bar, the toolbar and the tab control, a status bar, and the two tab windows.
//   QuorvelWidgetDemo [--ready-file PATH] [--done-file PATH] [--quit-after SECONDS]
//                     [--open-menu N] [--width PIXELS] [--push-chevron BAND]
// For a script that takes screenshots: --ready-file writes the file once the window is up
// (with menu N dropped down, or the chevron of a toolbar band pushed, if asked); the window
// closes when the --done-file appears, or
// after --quit-after seconds.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "framework/Application.h"
#include "framework/Dialog.h"
#include "framework/Frame.h"
#include "framework/ListView.h"
#include "framework/RichEdit.h"
#include "framework/StatusBar.h"
#include "framework/SystemLibrary.h"
#include "framework/ToolBar.h"
#include "resources/resource.h"
#include "widgets/MenuBar.h"
#include "widgets/MyReBar.h"
#include "widgets/MyTabCtrl.h"

namespace {

constexpr UINT kMenuBarId = 0x8000;
constexpr UINT kToolBarId = 0xE800;
constexpr UINT kStatusBarId = 0xE801;
constexpr UINT kReBarId = 0xE804;
constexpr UINT kLogViewId = 0xE901;
constexpr UINT kTabId = 1010;
constexpr UINT_PTR kQuitTimer = 1;
constexpr UINT_PTR kDoneTimer = 2;
constexpr DWORD kBarBandStyle = 0x285;  // new row, child edge, gripper always, chevron
constexpr DWORD kTabBandStyle = 0x85;   // the same without chevron

struct Options {
  std::wstring readyFile;
  std::wstring doneFile;
  int quitAfterSeconds = 0;
  int openMenu = -1;
  int width = 640;
  int pushChevron = -1;
};

void WriteReadyFile(const std::wstring& path) {
  if (path.empty()) return;
  if (FILE* file = _wfopen(path.c_str(), L"w")) {
    std::fputs("ready\n", file);
    std::fclose(file);
  }
}

class CDemoFrame : public qv::CFrameWindow {
 public:
  explicit CDemoFrame(const Options& options) : m_options(options) {}

  CMenuBar& MenuBar() { return m_wndMenuBar; }
  CMyReBar& ReBar() { return m_wndReBar; }

 protected:
  LRESULT OnCreate(CREATESTRUCTW*) override { return Build() ? 0 : -1; }

  bool PreTranslateMessage(MSG& msg) override {
    return m_wndMenuBar.TranslateFrameMessage(msg) != FALSE;
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_NCACTIVATE: {
        // The caption stays active while the chevron's pop-up is open.
        CChevronPopup* popup = m_wndReBar.GetChevronPopup();
        if (popup != nullptr && popup->IsActive()) return DefaultWith(message, TRUE, lParam);
        return Default();
      }
      case WM_ENTERIDLE:
        WriteReadyFile(m_options.readyFile);
        return Default();
      case WM_ERASEBKGND:
        return 1;
      default:
        return qv::CFrameWindow::WindowProc(message, wParam, lParam);
    }
  }

  LRESULT OnTimer(UINT_PTR id) override {
    if (id == kDoneTimer &&
        ::GetFileAttributesW(m_options.doneFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
      return 0;
    }
    if (id != kQuitTimer && id != kDoneTimer) return Default();
    KillTimer(m_hWnd, id);
    ::EndMenu();
    PostMessage(WM_CLOSE);
    return 0;
  }

 private:
  bool Build() {
    if (!m_log.Create(m_hWnd, WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_READONLY,
                      kLogViewId)) {
      return false;
    }
    m_log.SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    if (!m_list.Create(m_hWnd, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS,
                       qv::kFirstPaneId)) {
      return false;
    }
    m_list.SetExtendedListViewStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_list.InsertColumn(0, "モード", 160);
    m_list.InsertColumn(1, "オペレーション", 260);
    m_list.InsertColumn(2, "CPU負荷制限", 100);
    const char* rows[][3] = {{"毎時 0分", "各アプリケーションの未開放メモリを開放", "100%"},
                             {"毎日 3時0分", "物理メモリ領域を強制開放", "50%"},
                             {"起動時", "全て実行", "100%"},
                             {"メモリー使用率が 90%", "全て実行", "80%"}};
    for (int i = 0; i < 4; ++i) {
      m_list.InsertItem(i, rows[i][0]);
      m_list.SetItemText(i, 1, rows[i][1]);
      m_list.SetItemText(i, 2, rows[i][2]);
    }

    if (!m_wndMenuBar.Create(m_hWnd, 0x50001854, kMenuBarId)) return false;
    m_wndMenuBar.LoadMenuBar(IDR_MAINFRAME);

    if (!m_wndToolBar.Create(m_hWnd,
                             WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                 CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                             kToolBarId) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
      return false;
    }
    m_wndToolBar.ModifyStyle(0, TBSTYLE_TRANSPARENT);
    m_wndToolBar.SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS);
    m_wndToolBar.SetButtonStyle(ID_CLEAN_WHOLE_MEMORY, BTNS_BUTTON | BTNS_DROPDOWN);

    if (!m_wndTabCtrl.Create(m_hWnd, 0x50000420, kTabId)) return false;
    m_wndTabCtrl.SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    m_wndTabCtrl.SetStaticTabMode(TRUE);
    m_wndTabCtrl.SetItemText(m_wndTabCtrl.AddHandle(&m_list, -1), "条件設定");
    m_wndTabCtrl.SetItemText(m_wndTabCtrl.AddHandle(&m_log, -1), "ログ");

    if (!m_wndReBar.Create(m_hWnd, RBS_BANDBORDERS, kReBarId)) return false;
    if (!m_wndReBar.AddBar(m_wndMenuBar, kBarBandStyle) ||
        !m_wndReBar.AddBar(m_wndToolBar, kBarBandStyle) ||
        !m_wndReBar.AddBar(m_wndTabCtrl, kTabBandStyle)) {
      return false;
    }
    SetIdealWidth(m_wndMenuBar);
    SetIdealWidth(m_wndToolBar);
    SetTabBand();

    static const UINT indicators[] = {QV_ID_INDICATOR_KANA, QV_ID_INDICATOR_CAPS,
                                      QV_ID_INDICATOR_NUM, QV_ID_INDICATOR_SCRL};
    if (!m_wndStatusBar.Create(m_hWnd, WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP,
                               kStatusBarId) ||
        !m_wndStatusBar.SetIndicators(indicators, 4)) {
      return false;
    }
    SetReBar(m_wndReBar);
    SetStatusBar(&m_wndStatusBar);
    AddUpdateToolBar(m_wndToolBar);
    AddCommands();
    RecalcLayout();
    return true;
  }

  // The band's ideal width spans its buttons, so that its chevron shows what is hidden.
  void SetIdealWidth(qv::CToolBarCtrl& bar) {
    const int count = bar.GetButtonCount();
    RECT first{};
    RECT last{};
    if (count == 0 || !bar.GetItemRect(0, first) || !bar.GetItemRect(count - 1, last)) return;
    REBARBANDINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE | RBBIM_SIZE;
    info.cxMinChild = 0;
    info.cyMinChild = bar.GetMaxSize().cy;
    info.cxIdeal = static_cast<UINT>(last.right - first.left);
    info.cx = info.cxIdeal + 20;
    m_wndReBar.SetBandInfo(m_wndReBar.GetBandPos(bar), info);
  }

  void SetTabBand() {
    REBARBANDINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILDSIZE;
    info.cxMinChild = 0;
    info.cyMinChild = 20;
    m_wndReBar.SetBandInfo(m_wndReBar.GetBandPos(m_wndTabCtrl), info);
  }

  void AddCommands() {
    auto& commands = Commands();
    commands.Add(QV_ID_APP_EXIT, [this](UINT) { PostMessage(WM_CLOSE); });
    commands.Add(QV_ID_APP_ABOUT, [this](UINT) { qv::CDialog(IDD_ABOUTBOX).DoModal(m_hWnd); });
    commands.AddRange(
        ID_RELEASE_LEVEL_10, ID_RELEASE_LEVEL_100,
        [this](UINT id) { m_nReleaseLevel = static_cast<int>(id - 32781) * 10; },
        [this](qv::CCommandUI& ui) {
          ui.Enable(true);
          ui.SetCheck(static_cast<int>(ui.Id() - 32781) * 10 == m_nReleaseLevel);
        });
    const auto showInLog = [this](UINT id) {
      const std::string prompt = qv::LoadResourceString(id);
      m_wndTabCtrl.SetCurSelEx(&m_log);
      m_log.AppendText(prompt.substr(0, prompt.find('\n')) + "\r\n");
    };
    commands.Add(ID_CLEAN_WORKING_SET, showInLog);
    commands.Add(ID_CLEAN_WHOLE_MEMORY, showInLog);
    commands.Add(ID_SHOW_INFO, showInLog);
  }

  Options m_options;
  qv::CRichEditCtrl m_log;
  qv::CListViewCtrl m_list;
  CMenuBar m_wndMenuBar;
  qv::CToolBar m_wndToolBar;
  CMyTabCtrl m_wndTabCtrl;
  CMyReBar m_wndReBar;
  qv::CStatusBar m_wndStatusBar;
  int m_nReleaseLevel = 80;
};

class CDemoApp : public qv::CApplication {
 public:
  CDemoApp(CDemoFrame& frame, const Options& options) : m_frame(frame), m_options(options) {}

  bool OnIdle(long count) override {
    if (!m_started) {
      m_started = true;
      if (m_options.pushChevron >= 0) {
        m_frame.ReBar().PushChevron(static_cast<UINT>(m_options.pushChevron));
        WriteReadyFile(m_options.readyFile);
      } else if (m_options.openMenu >= 0) {
        m_frame.MenuBar().TrackPopup(m_options.openMenu);  // the frame reports when it is open
      } else {
        WriteReadyFile(m_options.readyFile);
      }
    }
    return qv::CApplication::OnIdle(count);
  }

 private:
  CDemoFrame& m_frame;
  const Options& m_options;
  bool m_started = false;
};

Options ParseOptions() {
  Options options;
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 1; args != nullptr && i + 1 < count; ++i) {
    const std::wstring name = args[i];
    const wchar_t* value = args[i + 1];
    if (name == L"--ready-file") {
      options.readyFile = value;
    } else if (name == L"--done-file") {
      options.doneFile = value;
    } else if (name == L"--quit-after") {
      options.quitAfterSeconds = static_cast<int>(std::wcstol(value, nullptr, 10));
    } else if (name == L"--width") {
      options.width = static_cast<int>(std::wcstol(value, nullptr, 10));
    } else if (name == L"--push-chevron") {
      options.pushChevron = static_cast<int>(std::wcstol(value, nullptr, 10));
    } else if (name == L"--open-menu") {
      options.openMenu = static_cast<int>(std::wcstol(value, nullptr, 10));
    } else {
      continue;
    }
    ++i;
  }
  ::LocalFree(args);
  return options;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  const Options options = ParseOptions();
  const qv::UniqueModule richEdit = qv::LoadSystemLibrary(L"riched20.dll");
  CDemoFrame frame(options);
  CDemoApp app(frame, options);
  HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
  if (!frame.CreateFrame(L"QuorvelClass", qv::LoadResourceString(IDR_MAINFRAME),
                         WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                         RECT{40, 40, 40 + options.width, 420}, 0, icon)) {
    return 1;
  }
  app.SetMainWindow(&frame);
  if (options.quitAfterSeconds > 0)
    ::SetTimer(frame.Handle(), kQuitTimer, static_cast<UINT>(options.quitAfterSeconds) * 1000,
               nullptr);
  if (!options.doneFile.empty()) ::SetTimer(frame.Handle(), kDoneTimer, 200, nullptr);
  frame.ShowWindow(show == SW_HIDE ? SW_SHOWNORMAL : show);
  frame.Invalidate();
  return app.Run();
}
