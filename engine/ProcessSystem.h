// The seam of the working-set trim: access token and privilege, process snapshot, process open,
// memory counters and the trim itself.
#pragma once

#include "QuorvelLExport.h"

class QUORVELL_EXPORT IProcessSystem {
 public:
  virtual ~IProcessSystem();
};
