// Without a desktop there is nobody to tell; the backup is read all the same.
#include "settings/ReadFailureReporter.h"

namespace {
class SilentReporter final : public IReadFailureReporter {
 public:
  void ReportReadFailure(const std::string&, const std::string&) override {}
};
}  // namespace

IReadFailureReporter& SystemReadFailureReporter() {
  static SilentReporter reporter;
  return reporter;
}
