// The settings record: the execution conditions and four numeric options, read from and
// written to the settings file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "QuorvelLExport.h"
#include "settings/OperationTime.h"

class CArchiveReader;
class IFileStore;
class IReadFailureReporter;

// Seconds since 1970-01-01 00:00 UTC; 64 bits, so nothing ends in 2038.
using QvTime = std::int64_t;

// 2000-01-01 00:00:00 local time: far enough in the past that the first pass is never
// refused by the interval.
QUORVELL_EXPORT QvTime InitialLastExecuteTime();

using COperationTimeArray = std::vector<std::unique_ptr<COperationTime>>;

class QUORVELL_EXPORT CAppSetting {
 public:
  static constexpr std::int32_t kFileVersion = 5;

  CAppSetting();
  // No copy constructor: a copy is made by constructing a record and assigning to it.
  CAppSetting(const CAppSetting&) = delete;
  virtual ~CAppSetting();
  // Copies the conditions (as new objects) and the four numeric options; keeps this record's
  // m_bModified and m_timeLastExecute.
  CAppSetting& operator=(const CAppSetting& other);

  // Drops the conditions, resets the last-execution time and the save flag.
  void Clear();
  // Clear, then the four default conditions. Returns 1.
  int SetDefaultSetting();

  // Reads the settings file at path (any layout from version 0 on). 0 for an empty path or a
  // file that cannot be opened; 1 otherwise. A file that ends early is reported and the backup
  // read in its place.
  int Load(std::string path);
  int Load(std::string path, IFileStore& files, IReadFailureReporter& reporter);

  // Writes the version-5 layout while m_bModified is set (clearing it first); 1 when written
  // or when there was nothing to write.
  int Save(std::string path);
  int Save(std::string path, IFileStore& files);

  std::int32_t m_bModified;
  QvTime m_timeLastExecute;
  std::int32_t m_nReleaseLevel;
  std::int32_t m_nLogSizeLimit;
  COperationTimeArray m_aOperationTime;
  std::int32_t m_nTimerDelay;
  std::int32_t m_nInterval;

 private:
  bool ReadFields(CArchiveReader& ar);
};
