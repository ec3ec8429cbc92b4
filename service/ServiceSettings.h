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

// The line on the debug output when the settings file cannot be opened.
inline constexpr char kSettingsKeptLine[] = "設定ファイルを開けません。今の設定のまま続けます。\n";

// Loads the file into a separate record and takes that over when the file could be opened: a
// file that ends early gives what was read from it or from its backup, and options it does not
// reach stay as they were. A file that cannot be opened (missing, or locked for a moment by a
// scanner or a backup) leaves the settings in force, and the system's debug output says so.
void ReloadServiceSettings(CAppSetting& settings, const std::string& path, IFileStore& files,
                           IServiceSystem& system);
