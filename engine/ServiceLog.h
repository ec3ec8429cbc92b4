// The service log file: the pass lines appended, or the oldest lines cut away so that the file
// stays within its size limit.
#pragma once

#include <cstdint>
#include <string>

class IExclusiveFile;

// The size limit in bytes for a limit in KB (0: no limit). 64-bit, so no limit wraps around; a
// negative limit is as large as the unsigned arithmetic makes it, so it never cuts.
std::uint64_t LogSizeLimitBytes(std::int32_t kilobytes);

// Appends text to the file, or, when the file would grow past the limit, rewrites it with the
// newest bytes that fit, from the start of a whole line. Reads no more of the old file than can
// survive the cut. False when the file could not be read or written.
bool AppendWithinLimit(IExclusiveFile& file, const std::string& text, std::uint64_t limit);
