// One execution condition: when a pass starts on its own, what it does, and above which CPU
// load it must not run.
#pragma once

#include <cstdint>

#include "QuorvelLExport.h"

class CArchiveReader;
class CArchiveWriter;

class QUORVELL_EXPORT COperationTime {
 public:
  // Values of m_nExecMode.
  enum ExecMode : std::int32_t {
    kEveryHour = 0,
    kEveryDay = 1,
    kEverySunday = 2,  // 2 to 8: Sunday to Saturday
    kEverySaturday = 8,
    kEveryMonth = 9,
    kAtStart = 10,
    kMemoryLoad = 11,
  };
  // Values of m_nOperation.
  enum Operation : std::int32_t {
    kWorkingSet = 0,
    kWholeMemory = 1,
    kBoth = 2,
  };
  static constexpr std::int32_t kUnused = -1;  // a time field the mode does not use
  static constexpr std::int32_t kRecordVersion = 1;

  COperationTime();
  COperationTime(const COperationTime& other);
  virtual ~COperationTime();
  COperationTime& operator=(const COperationTime& other);
  // 1 when all seven fields are equal.
  int operator==(const COperationTime& other) const;

  // Writes the 32-byte record (record version 1). Returns 1.
  int Save(CArchiveWriter& ar) const;
  // Reads one record at the archive's position; a record of version 0 or less has no CPU load
  // limit. Data that ends early stops the reading and shows in ar.EndOfData(). Returns 0.
  int Load(CArchiveReader& ar);

  std::int32_t m_nExecMode;
  std::int32_t m_nDay;
  std::int32_t m_nHour;
  std::int32_t m_nMinute;
  std::int32_t m_nMemoryLoad;
  std::int32_t m_nCpuLoadLimit;
  std::int32_t m_nOperation;
};
