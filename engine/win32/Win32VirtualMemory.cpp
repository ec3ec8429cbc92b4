// The whole-memory release's seam on Windows.
#include <windows.h>

#include <cstdint>

#include "engine/VirtualMemory.h"

namespace {

class Win32VirtualMemory final : public IVirtualMemory {
 public:
  void* Commit(std::uint64_t size, bool topDown) override {
    if (size > SIZE_MAX) return nullptr;  // more than a 32-bit address space holds
    const DWORD type = MEM_COMMIT | (topDown ? MEM_TOP_DOWN : 0);
    return ::VirtualAlloc(nullptr, static_cast<SIZE_T>(size), type, PAGE_READWRITE | PAGE_NOCACHE);
  }
  bool Decommit(void* block, std::uint64_t size) override {
    return ::VirtualFree(block, static_cast<SIZE_T>(size), MEM_DECOMMIT) != FALSE;
  }
  bool Release(void* block) override { return ::VirtualFree(block, 0, MEM_RELEASE) != FALSE; }
};

}  // namespace

IVirtualMemory& Win32Memory() {
  static Win32VirtualMemory memory;
  return memory;
}
