// The seam of the whole-memory release: committing, decommitting and releasing one block.
#pragma once

#include "QuorvelLExport.h"

class QUORVELL_EXPORT IVirtualMemory {
 public:
  virtual ~IVirtualMemory();
};
