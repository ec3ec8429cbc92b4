// The whole-memory release: one block of the release level's share of physical memory is
// committed, zero-filled and given back, which pushes other pages out of memory.
#include <algorithm>
#include <cstring>

#include "engine/LogText.h"
#include "engine/MemClean.h"
#include "engine/VirtualMemory.h"

namespace {

// One straight pass at memory speed; the C library writes wide stores.
void ZeroFill(void* block, std::uint64_t size) {
  auto* bytes = static_cast<unsigned char*>(block);
  constexpr std::uint64_t kChunk = std::uint64_t{1} << 30;  // size_t may be 32 bits
  while (size > 0) {
    const auto chunk = static_cast<std::size_t>(size < kChunk ? size : kChunk);
    std::memset(bytes, 0, chunk);
    bytes += chunk;
    size -= chunk;
  }
}

}  // namespace

int CMemClean::OptimizeWholeMemory(int bLog) {
  IVirtualMemory& memory = *m_platform.memory;
  auto write = [&](std::string line) {
    if (bLog) Report(std::move(line));
  };

  const std::uint64_t physical = m_platform.system->MemoryStatus().totalPhys;
  // A level above 100 (a hand-made settings file) would claim more than there is and retry
  // for ever: it is taken as 100 for this pass; the settings keep what they hold.
  const std::int32_t level = std::min<std::int32_t>(m_appSetting.m_nReleaseLevel, 100);
  // Divided first, as the share has always been computed; a negative level claims nothing.
  std::uint64_t size = level == 100
                           ? physical
                           : (physical / 100) * static_cast<std::uint64_t>(level < 0 ? 0 : level);
  const std::uint64_t step = physical / 100;

  void* block = memory.Commit(size, true);
  // One percent per retry reaches the step within 100 retries; the count bounds it whatever the
  // sizes. Below 100 bytes of memory a step is 0 and the size would never shrink.
  constexpr int kMaxRetries = 100;
  for (int retry = 0; !block && size > step && step > 0 && retry < kMaxRetries; ++retry) {
    if (bLog) AddLog(logtext::AllocationRetry(size / 1024));
    size -= step;
    block = memory.Commit(size, false);
  }
  if (!block) {
    write(logtext::kAllocationFailure);
    return 0;
  }
  write(logtext::AllocationSuccess(size / 1024));
  write(logtext::kFilling);
  ZeroFill(block, size);
  write(logtext::kFilled);

  const bool decommitted = memory.Decommit(block, size);
  // A block that cannot be decommitted is still released: it would hold its memory otherwise.
  const bool released = memory.Release(block);
  if (!decommitted || !released) {
    write(logtext::kReleaseFailure);
    return 0;
  }
  write(logtext::kReleaseSuccess);
  m_appSetting.m_bModified = 1;
  return 1;
}
