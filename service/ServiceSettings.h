// Where the service keeps its files, and how it reads its settings with nobody to answer a
// message box.
#pragma once

#include <string>

#include "service/ServiceRoutine.h"
#include "settings/AppSetting.h"
#include "settings/FileStore.h"
#include "settings/ReadFailureReporter.h"

// The service's directory "\SVC" beside the program, and its settings file in it.
std::string ServiceDirectory(const std::string& applicationPath);
std::string ServiceSettingsPath(const std::string& applicationPath);

// Writes the failure to the debug output and returns at once.
class CDebugOutputReadFailureReporter final : public IReadFailureReporter {
 public:
  explicit CDebugOutputReadFailureReporter(IServiceSystem& system) : m_system(system) {}
  void ReportReadFailure(const std::string& text, const std::string& caption) override;

 private:
  IServiceSystem& m_system;
};

// Clear, then Load. The result of Load is not looked at: a missing file leaves no conditions,
// a file that ends early leaves what was read from it or from its backup.
void ReloadServiceSettings(CAppSetting& settings, const std::string& path, IFileStore& files,
                           IReadFailureReporter& reporter);
