// The standard output of the window program, when it has one: started from a console, a pipe
// or a redirect. Lines go to a console as wide text, elsewhere as code page 932 bytes, the
// bytes of the log file.
#pragma once

#include <windows.h>

#include <string>

namespace qv::app {

class CConsoleOutput {
 public:
  // Looks for the output once; false when there is none.
  bool Open();
  // One line (code page 932) followed by a line break.
  void WriteLine(const std::string& line) const;

 private:
  HANDLE m_hOutput = nullptr;  // not owned: the process's standard output
  bool m_bConsole = false;
};

}  // namespace qv::app
