// Numbers typed into edit controls, read the way the C library's atoi reads them: leading
// blanks and an optional sign, then digits up to the first other character; no digits give 0.
// Unlike atoi, a number too large for an int gives the nearest int instead of undefined
// behaviour. No platform calls, so the dialogs' checks can be tested anywhere.
#pragma once

#include <climits>
#include <string>

namespace qv {

inline int ReadDecimal(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace qv
