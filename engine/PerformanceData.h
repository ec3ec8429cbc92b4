// The seam of the CPU load measurement: the system version, the registry's performance data
// and the values that switch performance counters on.
#pragma once

#include "QuorvelLExport.h"

class QUORVELL_EXPORT IPerformanceData {
 public:
  virtual ~IPerformanceData();
};
