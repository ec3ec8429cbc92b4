#include "app/CommandLine.h"

#include <cctype>

#include "framework/DecimalText.h"

namespace qv::app {

CCommandLineOptions ParseCommandLine(const std::string& text) {
  CCommandLineOptions options;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string token = text.substr(start, end - start);
    start = end + 1;
    if (token.size() < 2 || token[0] != '-') continue;
    switch (std::tolower(static_cast<unsigned char>(token[1]))) {
      case 'c':
        options.workingSet = true;
        break;
      case 'p': {
        options.wholeMemory = true;
        if (token.size() > 2) {
          const int level = ReadDecimal(token.substr(2));
          if (level >= 1 && level <= 100) options.releaseLevel = level;
        }
        break;
      }
      case 'q':
        options.quitAfterPass = true;
        break;
      default:
        break;
    }
  }
  return options;
}

bool CCommandLinePass::OnIdle(bool passRunning) {
  if (!m_bUnsettled || passRunning) return false;
  m_bUnsettled = false;
  if (!m_bQuitAfterPass || m_bCloseAsked) return false;
  m_bCloseAsked = true;
  return true;
}

}  // namespace qv::app
