#include "settings/OperationTime.h"

#include "settings/Archive.h"

COperationTime::COperationTime()
    : m_nExecMode(kEveryHour),
      m_nDay(kUnused),
      m_nHour(kUnused),
      m_nMinute(kUnused),
      m_nMemoryLoad(kUnused),
      m_nCpuLoadLimit(100),
      m_nOperation(kWorkingSet) {}

COperationTime::COperationTime(const COperationTime& other) = default;
COperationTime::~COperationTime() = default;
COperationTime& COperationTime::operator=(const COperationTime& other) = default;

int COperationTime::operator==(const COperationTime& other) const {
  return m_nExecMode == other.m_nExecMode && m_nDay == other.m_nDay && m_nHour == other.m_nHour &&
         m_nMinute == other.m_nMinute && m_nMemoryLoad == other.m_nMemoryLoad &&
         m_nCpuLoadLimit == other.m_nCpuLoadLimit && m_nOperation == other.m_nOperation;
}

int COperationTime::Save(CArchiveWriter& ar) const {
  // The file order differs from the declaration order: the operation comes sixth.
  for (std::int32_t value : {kRecordVersion, m_nExecMode, m_nDay, m_nHour, m_nMinute, m_nOperation,
                             m_nMemoryLoad, m_nCpuLoadLimit}) {
    ar.WriteInt32(value);
  }
  return 1;
}

int COperationTime::Load(CArchiveReader& ar) {
  std::int32_t version = 0;
  if (!ar.ReadInt32(version)) return 0;
  for (std::int32_t* field :
       {&m_nExecMode, &m_nDay, &m_nHour, &m_nMinute, &m_nOperation, &m_nMemoryLoad}) {
    if (!ar.ReadInt32(*field)) return 0;
  }
  if (version >= 1) ar.ReadInt32(m_nCpuLoadLimit);
  return 0;
}
