// The service log file: the pass lines appended, or the oldest lines cut away so that the file
// stays within its size limit.
#pragma once

#include <cstdint>
#include <string>

class CLogLines;
class IEngineSystem;
class IExclusiveFile;

// The size limit in bytes for a limit in KB (0: no limit). 64-bit, so no limit wraps around; a
// negative limit is as large as the unsigned arithmetic makes it, so it never cuts.
std::uint64_t LogSizeLimitBytes(std::int32_t kilobytes);

// How far the lines waiting for the log file may grow: the log's limit, or 1 MB without one.
std::uint64_t PendingLogLimitBytes(std::int32_t kilobytes);

// What adding text to the open log file takes: an append of text at its end, or, when the file
// would grow past the limit, a new file of the newest bytes that fit, from the start of a whole
// line. Reads no more of the old file than can survive the cut. False when it cannot be read.
struct CLogWrite {
  bool rewrite = false;
  std::uint64_t appendAt = 0;
  std::string bytes;
};
bool PlanLogWrite(IExclusiveFile& file, std::string text, std::uint64_t limit, CLogWrite& plan);

// Writes the pending lines to the log file at path and takes them from the list. A new file is
// written beside the old one and put in its place in one step, so that a failure leaves the old
// file whole. 1 when written; 0 (lines kept) when the file cannot be opened, read or written.
int WriteLogFile(IEngineSystem& system, const std::string& path, CLogLines& lines,
                 std::uint64_t limit);
