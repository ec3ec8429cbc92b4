// The working-set trim, the whole-memory release and the CPU load measurement.
#include "engine/MemClean.h"

int CMemClean::GetCpuLoad() {
  return 0;
}
int CMemClean::OptimizeWorkingSet(int) {
  return 0;
}
int CMemClean::OptimizeWholeMemory(int) {
  return 0;
}
