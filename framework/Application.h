// The application object: the window thread's message loop with idle processing and message
// filters, the main window, and the application title for message boxes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Command.h"

namespace qv {

class CWindowBase;

// Sees each message of the loop before it is translated and dispatched.
class CMessageFilter {
 public:
  virtual ~CMessageFilter() = default;
  // True: the message is consumed.
  virtual bool PreTranslateMessage(MSG& msg) = 0;
};

// The application is the last command target of the frame's routing.
class CApplication : public CCommandTarget {
 public:
  CApplication();
  virtual ~CApplication();
  CApplication(const CApplication&) = delete;
  CApplication& operator=(const CApplication&) = delete;

  // The one application object of the process, or null.
  static CApplication* Current();

  // Runs the message loop until WM_QUIT; returns its exit code.
  int Run();

  // Idle processing: called when the queue has become empty, with a rising count until it
  // returns false. The base updates the main window's toolbar buttons and status indicators
  // at count 0 and asks for one more call.
  virtual bool OnIdle(long count);
  // Offers a message to the filters, then to the main window's frame.
  virtual bool PreTranslateMessage(MSG& msg);

  void AddMessageFilter(CMessageFilter* filter);
  void RemoveMessageFilter(CMessageFilter* filter);

  CWindowBase* MainWindow() const { return m_mainWindow; }
  HWND MainWindowHandle() const;
  void SetMainWindow(CWindowBase* window) { m_mainWindow = window; }
  // Called by a frame whose window has gone; ends the loop when it was the main window.
  void OnWindowDestroyed(CWindowBase* window);

  // String 57344; used as the caption of message boxes.
  std::string Title() const;
  // A message box captioned with the application title.
  int MessageBox(const std::string& text, UINT type = MB_OK, HWND owner = nullptr) const;

 private:
  bool IsIdleMessage(const MSG& msg);

  std::vector<CMessageFilter*> m_filters;
  CWindowBase* m_mainWindow = nullptr;
  POINT m_lastMousePoint{-1, -1};
  UINT m_lastMouseMessage = 0;
};

// A string resource of the program, code page 932; empty when there is none.
std::string LoadResourceString(UINT id);

// A message box captioned with the application title (the program name when there is no
// application object).
int AppMessageBox(const std::string& text, UINT type = MB_OK, HWND owner = nullptr);

}  // namespace qv
