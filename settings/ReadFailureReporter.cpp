#include "settings/ReadFailureReporter.h"

#include <atomic>

namespace {
std::atomic<IReadFailureReporter*> g_reporter{nullptr};
}

IReadFailureReporter::~IReadFailureReporter() = default;

void SetReadFailureReporter(IReadFailureReporter* reporter) {
  g_reporter.store(reporter);
}

IReadFailureReporter& CurrentReadFailureReporter() {
  IReadFailureReporter* reporter = g_reporter.load();
  return reporter ? *reporter : SystemReadFailureReporter();
}
