// The one pair of conversions between the program's code page 932 strings and the wide APIs.
#pragma once

#include <string>

namespace qv {

std::wstring Cp932ToWide(const std::string& text);
std::string WideToCp932(const std::wstring& text);

}  // namespace qv
