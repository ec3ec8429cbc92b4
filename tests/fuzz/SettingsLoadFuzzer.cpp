// Arbitrary bytes as a settings file and its backup: no crash, no hang, no conditions from nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/AppSetting.h"
#include "support/SettingsFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  qvtest::MemoryFileStore files;
  qvtest::RecordingReporter reporter;
  // The first byte chooses where the settings file ends and the backup begins.
  const std::size_t split = size > 0 ? (data[0] * size) / 256 : 0;
  const std::string file = input.substr(size > 0 ? 1 : 0, split);
  const std::string backup = input.substr(split);
  files.files["qvlset.def"] = file;
  if (size % 2 == 0) files.files["qvlset.bak"] = backup;

  CAppSetting setting;
  if (setting.Load("qvlset.def", files, reporter) != 1) std::abort();
  // Every condition but a begun last one needs at least 28 bytes of the file it came from.
  const std::size_t longest = std::max(file.size(), backup.size());
  if (setting.m_aOperationTime.size() > longest / 28 + 1) std::abort();
  if (reporter.texts.size() > 1) std::abort();

  // What was read can always be written again.
  setting.m_bModified = 1;
  if (setting.Save("copy.def", files) != 1) std::abort();
  return 0;
}
