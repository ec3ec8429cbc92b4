#include "engine/ServiceLog.h"

#include <utility>
#include <vector>

#include "engine/EngineSystem.h"
#include "engine/MemClean.h"

std::uint64_t LogSizeLimitBytes(std::int32_t kilobytes) {
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(kilobytes) * 1024);
}

std::uint64_t PendingLogLimitBytes(std::int32_t kilobytes) {
  return kilobytes > 0 ? LogSizeLimitBytes(kilobytes) : LogSizeLimitBytes(1024);
}

bool PlanLogWrite(IExclusiveFile& file, std::string text, std::uint64_t limit, CLogWrite& plan) {
  std::uint64_t size = 0;
  if (!file.Size(size)) return false;
  const std::uint64_t total = size + text.size();
  plan.rewrite = limit != 0 && total > limit;
  plan.appendAt = size;
  if (!plan.rewrite) {
    plan.bytes = std::move(text);
    return true;
  }
  // The first `excess` bytes of old file + text go. Of the old file only what lies after them
  // is read (at most the limit).
  const std::uint64_t excess = total - limit;
  std::string& kept = plan.bytes;
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
  return true;
}

int WriteLogFile(IEngineSystem& system, const std::string& path, CLogLines& lines,
                 std::uint64_t limit) {
  std::unique_ptr<IExclusiveFile> file = system.OpenExclusive(path);
  if (!file) return 0;
  const std::vector<std::string> written = lines.Copy();
  std::string text;
  for (const std::string& line : written) {
    text += line;
    text += "\r\n";
  }
  CLogWrite plan;
  if (!PlanLogWrite(*file, std::move(text), limit, plan)) return 0;
  if (plan.rewrite) {
    file.reset();  // the name must be free to be replaced
    if (!system.ReplaceFile(path, plan.bytes)) return 0;
  } else if (!file->WriteAt(plan.appendAt, plan.bytes)) {
    return 0;
  }
  // Only the lines written go; the pass thread is the only writer while this runs.
  lines.RemoveFirst(written.size());
  return 1;
}

int WriteServiceLog(CMemClean* clean) {
  if (!clean) return 0;
  IEngineSystem& system = *clean->Platform().system;
  const std::string directory = system.ApplicationPath() + "\\SVC";
  if (!system.Exists(directory)) system.MakeDirectory(directory);
  return WriteLogFile(system, directory + "\\vorel.log", clean->m_aLog,
                      LogSizeLimitBytes(clean->m_appSetting.m_nLogSizeLimit));
}
