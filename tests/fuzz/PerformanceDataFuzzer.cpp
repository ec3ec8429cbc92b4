// Arbitrary bytes as the performance-data block: read nothing outside them, never loop forever.
#include <cstddef>
#include <cstdint>

#include "engine/CpuLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ReadCounter(data, size, 238, 6, "_Total");
  ReadCounter(data, size, 2, 240, nullptr);
  if (size >= 4) {
    // Any offset inside the data as an object.
    const std::size_t at = (data[0] | (data[1] << 8)) % size;
    FindCounterValue(data, size, at, 6, "_total");
  }
  return 0;
}
