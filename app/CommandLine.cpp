#include "app/CommandLine.h"

#include <cctype>

namespace qv::app {

namespace {

// A signed decimal number from the leading characters; no digits give 0. Values too large to
// be a level stop growing, so that a long run of digits cannot overflow.
int LeadingNumber(const std::string& text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    if (value < 100000) value = value * 10 + (text[i] - '0');
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace

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
          const int level = LeadingNumber(token.substr(2));
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
