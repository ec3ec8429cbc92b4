// The window program's way: a modal box without an owner window and a single OK button.
#include <windows.h>

#include "framework/Cp932.h"
#include "settings/ReadFailureReporter.h"

namespace {
class MessageBoxReporter final : public IReadFailureReporter {
 public:
  void ReportReadFailure(const std::string& text, const std::string& caption) override {
    ::MessageBoxW(nullptr, qv::Cp932ToWide(text).c_str(), qv::Cp932ToWide(caption).c_str(), MB_OK);
  }
};
}  // namespace

IReadFailureReporter& SystemReadFailureReporter() {
  static MessageBoxReporter reporter;
  return reporter;
}
