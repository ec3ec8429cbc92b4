#include "engine/ServiceLog.h"

#include <vector>

#include "engine/EngineSystem.h"
#include "engine/MemClean.h"

std::uint64_t LogSizeLimitBytes(std::int32_t kilobytes) {
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(kilobytes) * 1024);
}

bool AppendWithinLimit(IExclusiveFile& file, const std::string& text, std::uint64_t limit) {
  std::uint64_t size = 0;
  if (!file.Size(size)) return false;
  const std::uint64_t total = size + text.size();
  if (limit == 0 || total <= limit) return file.WriteAt(size, text);

  // The first `excess` bytes of old file + text go. Of the old file only what lies after them
  // is read (at most the limit).
  const std::uint64_t excess = total - limit;
  std::string kept;
  if (excess < size) {
    if (!file.ReadAt(excess, static_cast<std::size_t>(size - excess), kept)) return false;
    kept += text;
  } else {
    kept = text.substr(static_cast<std::size_t>(excess - size));
  }
  // Start at a whole line: up to and including the first CR LF goes too, unless the rest
  // already begins with it.
  const std::size_t lineEnd = kept.find("\r\n");
  if (lineEnd != std::string::npos && lineEnd > 0) kept.erase(0, lineEnd + 2);
  return file.SetLength(kept.size()) && file.WriteAt(0, kept);
}

int WriteServiceLog(CMemClean* clean) {
  if (!clean) return 0;
  IEngineSystem& system = *clean->Platform().system;
  const std::string directory = system.ApplicationPath() + "\\SVC";
  if (!system.Exists(directory)) system.MakeDirectory(directory);
  std::unique_ptr<IExclusiveFile> file = system.OpenExclusive(directory + "\\vorel.log");
  if (!file) return 0;

  const std::vector<std::string> lines = clean->m_aLog.Copy();
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  const std::uint64_t limit = LogSizeLimitBytes(clean->m_appSetting.m_nLogSizeLimit);
  if (!AppendWithinLimit(*file, text, limit)) return 0;
  file.reset();
  // Only the lines written go; the pass thread is the only writer while this runs.
  clean->m_aLog.RemoveFirst(lines.size());
  return 1;
}
