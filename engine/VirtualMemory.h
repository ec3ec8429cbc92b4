// The seam of the whole-memory release: committing, decommitting and releasing one block.
#pragma once

#include <cstdint>

#include "QuorvelLExport.h"

class QUORVELL_EXPORT IVirtualMemory {
 public:
  virtual ~IVirtualMemory();
  // Reserves and commits size bytes, read-write and uncached, from the top of the address space
  // down when asked; null on failure (including a size the address space cannot hold).
  virtual void* Commit(std::uint64_t size, bool topDown) = 0;
  virtual bool Decommit(void* block, std::uint64_t size) = 0;
  virtual bool Release(void* block) = 0;
};
