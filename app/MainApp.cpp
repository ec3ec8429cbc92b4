#include "app/MainApp.h"

#include "framework/Cp932.h"
#include "framework/Dialog.h"
#include "framework/SystemLibrary.h"
#include "resources/resource.h"

namespace qv::app {

BOOL CMainApp::InitInstance(const std::string& commandLine) {
  m_hMutex.Reset(::CreateMutexW(nullptr, FALSE, CMainFrame::kClassName));
  if (!m_hMutex || ::GetLastError() == ERROR_ALREADY_EXISTS) {
    m_hMutex.Reset();
    return FALSE;  // another copy runs: it is left alone
  }
  m_hRichEdit = LoadSystemLibrary(L"riched20.dll");

  m_pFrame = std::make_unique<CMainFrame>();
  // The main window only once it exists: a failed creation must not end the message loop
  // before the message box has shown.
  if (!m_pFrame->CreateMainWindow()) {
    m_pFrame.reset();
    MessageBox("メインウィンドウを作成できませんでした", MB_OK | MB_ICONERROR);
    m_hMutex.Reset();
    m_nExitCode = 1;
    return FALSE;
  }
  SetMainWindow(m_pFrame.get());
  m_pFrame->LoadSettings();
  m_pFrame->ShowWindow(SW_MINIMIZE);
  m_pFrame->ShowWindow(SW_HIDE);
  ::UpdateWindow(m_pFrame->Handle());
  if (CServiceControl().IsServiceInstalled()) {
    m_pFrame->StartLogWatcher();
  } else {
    m_pFrame->StartTimerMode();
  }
  if (!commandLine.empty()) m_pFrame->ProcessCommandLine(commandLine);
  return TRUE;
}

int CMainApp::ExitInstance(int loopResult) {
  if (m_pFrame && m_pFrame->PassAbandoned()) {
    // The killed pass thread may hold the heap's lock: nothing is freed any more.
    m_hMutex.Reset();
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(loopResult));
  }
  m_pFrame.reset();
  m_hRichEdit.Reset();
  m_hMutex.Reset();
  return loopResult;
}

bool CMainApp::OnIdle(long count) {
  if (auto* frame = dynamic_cast<CMainFrame*>(MainWindow())) frame->FlushLogLines();
  ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1),
                             static_cast<SIZE_T>(-1));
  return CApplication::OnIdle(count);
}

bool CMainApp::OnCommand(UINT id) {
  if (id != QV_ID_APP_ABOUT) return false;
  if (auto* frame = dynamic_cast<CMainFrame*>(MainWindow())) frame->ShowAbout();
  return true;
}

bool CMainApp::HasCommand(UINT id) const {
  return id == QV_ID_APP_ABOUT;
}

}  // namespace qv::app

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
  qv::app::CMainApp app;
  if (!app.InitInstance(qv::WideToCp932(commandLine != nullptr ? commandLine : L""))) {
    return app.ExitCode();
  }
  return app.ExitInstance(app.Run());
}
