// The application object of QuorvelW: one copy at a time (the mutex "QuorvelClass"), the rich
// edit library, the hidden main window with its tray icon, the run mode and the command line;
// at idle time the engine's new lines reach the log view and the program's working set is
// given back.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/MainFrame.h"
#include "framework/Application.h"
#include "framework/Handles.h"

namespace qv::app {

class CMainApp : public CApplication {
 public:
  // Non-zero to run the message loop; otherwise the program ends with ExitCode().
  BOOL InitInstance(const std::string& commandLine);
  int ExitInstance(int loopResult);
  int ExitCode() const { return m_nExitCode; }

  bool OnIdle(long count) override;
  bool OnCommand(UINT id) override;
  bool HasCommand(UINT id) const override;

 private:
  UniqueHandle m_hMutex;
  UniqueModule m_hRichEdit;
  std::unique_ptr<CMainFrame> m_pFrame;
  int m_nExitCode = 0;
};

}  // namespace qv::app
