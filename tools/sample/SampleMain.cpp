// Shows QuorvelL.dll at work until the window program exists: prints where the programs keep
// their files and the memory load, and writes the default settings for this user.
#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/Cp932.h"
#include "settings/AppSetting.h"
#include "settings/Utility.h"

namespace {

// The terminal of the developer's machine reads UTF-8.
std::string ToUtf8(const std::string& cp932) {
  const std::wstring wide = qv::Cp932ToWide(cp932);
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace

int wmain() {
  const std::string directory = GetApplicationPath();
  const std::string user = GetWindowsUser();
  std::printf("application directory: %s\n", ToUtf8(directory).c_str());
  std::printf("user: %s\n", ToUtf8(user).c_str());
  std::printf("memory load: %u %%\n", GetMemoryLoad());

  const std::string settingsDirectory = directory + "\\" + user;
  ::CreateDirectoryW(qv::Cp932ToWide(settingsDirectory).c_str(), nullptr);
  const std::string settingsFile = settingsDirectory + "\\qvlset.def";
  CAppSetting setting;
  setting.SetDefaultSetting();
  setting.m_bModified = 1;
  const int saved = setting.Save(settingsFile);
  std::printf("default settings %s: %s\n", saved ? "written to" : "could not be written to",
              ToUtf8(settingsFile).c_str());
  std::fflush(stdout);
  return saved ? 0 : 1;
}
