#include "app/ConsoleOutput.h"

#include "framework/Cp932.h"

namespace qv::app {

bool CConsoleOutput::Open() {
  HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) {
    // A window program started from a console gets no handles of its own: borrow the console.
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    output = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (output == INVALID_HANDLE_VALUE) return false;
  }
  DWORD mode = 0;
  m_bConsole = ::GetConsoleMode(output, &mode) != FALSE;
  m_hOutput = output;
  return true;
}

void CConsoleOutput::WriteLine(const std::string& line) const {
  if (m_hOutput == nullptr) return;
  DWORD written = 0;
  if (m_bConsole) {
    const std::wstring text = Cp932ToWide(line) + L"\r\n";
    ::WriteConsoleW(m_hOutput, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    const std::string text = line + "\r\n";
    ::WriteFile(m_hOutput, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

}  // namespace qv::app
