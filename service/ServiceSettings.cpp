#include "service/ServiceSettings.h"

std::string ServiceDirectory(const std::string& applicationPath) {
  return applicationPath + "\\SVC";
}

std::string ServiceSettingsPath(const std::string& applicationPath) {
  return ServiceDirectory(applicationPath) + "\\qvlset.def";
}

void CDebugOutputReadFailureReporter::ReportReadFailure(const std::string& text,
                                                        const std::string& caption) {
  m_system.DebugOutput(caption + ": " + text + "\n");
}

void ReloadServiceSettings(CAppSetting& settings, const std::string& path, IFileStore& files,
                           IServiceSystem& system) {
  CDebugOutputReadFailureReporter reporter(system);
  CAppSetting loaded;
  loaded = settings;
  if (!loaded.Load(path, files, reporter)) {
    system.DebugOutput(kSettingsKeptLine);
    return;
  }
  settings.Clear();
  settings = loaded;
}
