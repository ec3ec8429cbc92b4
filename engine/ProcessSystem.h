// The seam of the working-set trim: the own access token, the process snapshot, and per process
// the open, the memory counters and the trim.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "QuorvelLExport.h"

struct CProcessEntry {
  std::uint32_t processId = 0;
  std::string exeName;  // code page 932, as the snapshot gives it
};

class QUORVELL_EXPORT IAccessToken {
 public:
  virtual ~IAccessToken();
  // Enables (or disables) one named privilege; 1 when the system reports no error.
  virtual int EnablePrivilege(const char* name, int enable) = 0;
};

class QUORVELL_EXPORT IProcessHandle {
 public:
  virtual ~IProcessHandle();
  // The working set in bytes, read through psapi.dll loaded for this one call; false when the
  // library, its entry or the call fails.
  virtual bool QueryWorkingSetSize(std::uint64_t& bytes) = 0;
  // Empties the process's working set.
  virtual bool EmptyWorkingSet() = 0;
};

class QUORVELL_EXPORT IProcessSystem {
 public:
  virtual ~IProcessSystem();
  // The own process's token, opened to adjust privileges and to query; null on failure.
  virtual std::unique_ptr<IAccessToken> OpenOwnToken() = 0;
  // Every process of a system snapshot, in the snapshot's order; false when none was taken.
  virtual bool TakeProcessSnapshot(std::vector<CProcessEntry>& processes) = 0;
  // The process opened to query information and set quotas; null when it cannot be opened.
  virtual std::unique_ptr<IProcessHandle> OpenProcess(std::uint32_t processId) = 0;
};
