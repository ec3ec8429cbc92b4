#include "settings/AppSetting.h"

#include <ctime>
#include <utility>

#include "settings/Archive.h"
#include "settings/FileStore.h"
#include "settings/ReadFailureReporter.h"

QvTime InitialLastExecuteTime() {
  std::tm local{};
  local.tm_year = 2000 - 1900;
  local.tm_mon = 0;
  local.tm_mday = 1;
  local.tm_isdst = -1;
  return static_cast<QvTime>(std::mktime(&local));
}

CAppSetting::CAppSetting()
    : m_bModified(0),
      m_timeLastExecute(InitialLastExecuteTime()),
      m_nReleaseLevel(50),
      m_nLogSizeLimit(1024),
      m_nTimerDelay(0),
      m_nInterval(5) {}

CAppSetting::~CAppSetting() = default;

CAppSetting& CAppSetting::operator=(const CAppSetting& other) {
  if (this == &other) return *this;
  COperationTimeArray copy;
  copy.reserve(other.m_aOperationTime.size());
  for (const auto& condition : other.m_aOperationTime) {
    copy.push_back(std::make_unique<COperationTime>(*condition));
  }
  m_aOperationTime = std::move(copy);
  m_nReleaseLevel = other.m_nReleaseLevel;
  m_nLogSizeLimit = other.m_nLogSizeLimit;
  m_nTimerDelay = other.m_nTimerDelay;
  m_nInterval = other.m_nInterval;
  return *this;
}

void CAppSetting::Clear() {
  m_aOperationTime.clear();
  m_timeLastExecute = InitialLastExecuteTime();
  m_bModified = 0;
}

int CAppSetting::SetDefaultSetting() {
  Clear();
  struct Default {
    std::int32_t mode, minute, memoryLoad, operation;
  };
  static const Default kDefaults[] = {
      {COperationTime::kAtStart, COperationTime::kUnused, COperationTime::kUnused,
       COperationTime::kWorkingSet},
      {COperationTime::kEveryHour, 0, COperationTime::kUnused, COperationTime::kBoth},
      {COperationTime::kMemoryLoad, COperationTime::kUnused, 60, COperationTime::kWorkingSet},
      {COperationTime::kMemoryLoad, COperationTime::kUnused, 80, COperationTime::kWholeMemory},
  };
  for (const Default& d : kDefaults) {
    auto condition = std::make_unique<COperationTime>();
    condition->m_nExecMode = d.mode;
    condition->m_nMinute = d.minute;
    condition->m_nMemoryLoad = d.memoryLoad;
    condition->m_nCpuLoadLimit = 10;
    condition->m_nOperation = d.operation;
    m_aOperationTime.push_back(std::move(condition));
  }
  return 1;
}

int CAppSetting::Load(std::string path) {
  return Load(std::move(path), SystemFileStore(), CurrentReadFailureReporter());
}

int CAppSetting::Load(std::string path, IFileStore& files, IReadFailureReporter& reporter) {
  return LoadSettingsFile(
      path, files, reporter, [this] { m_aOperationTime.clear(); },
      [this](CArchiveReader& ar) { return ReadFields(ar); });
}

// Stores every field as soon as it is read; false when the data ends first.
bool CAppSetting::ReadFields(CArchiveReader& ar) {
  std::int32_t version = 0;
  std::int32_t skipped = 0;
  std::int32_t count = 0;
  if (!ar.ReadInt32(version)) return false;
  if (version <= 3 && !(ar.ReadInt32(skipped) && ar.ReadInt32(skipped))) return false;
  if (!ar.ReadInt32(count)) return false;
  // The count comes from the file: nothing is reserved from it, and a short file ends the loop.
  for (std::int32_t i = 0; i < count; ++i) {
    m_aOperationTime.push_back(std::make_unique<COperationTime>());
    m_aOperationTime.back()->Load(ar);
    if (ar.EndOfData()) return false;
  }
  if (version <= 3) {
    if (version >= 1 && !ar.ReadInt32(m_nReleaseLevel)) return false;
    if (version >= 2 && !ar.ReadInt32(m_nLogSizeLimit)) return false;
    if (version >= 3 && !ar.ReadInt32(m_nTimerDelay)) return false;
    return true;
  }
  if (!(ar.ReadInt32(m_nReleaseLevel) && ar.ReadInt32(m_nLogSizeLimit) &&
        ar.ReadInt32(m_nTimerDelay))) {
    return false;
  }
  if (version == 4 && !ar.ReadInt32(skipped)) return false;
  return ar.ReadInt32(m_nInterval);
}

int CAppSetting::Save(std::string path) {
  return Save(std::move(path), SystemFileStore());
}

int CAppSetting::Save(std::string path, IFileStore& files) {
  if (!m_bModified) return 1;
  m_bModified = 0;
  if (path.empty()) return 0;
  CArchiveWriter ar;
  ar.WriteInt32(kFileVersion);
  ar.WriteInt32(static_cast<std::int32_t>(m_aOperationTime.size()));
  for (const auto& condition : m_aOperationTime) condition->Save(ar);
  for (std::int32_t value : {m_nReleaseLevel, m_nLogSizeLimit, m_nTimerDelay, m_nInterval}) {
    ar.WriteInt32(value);
  }
  return files.Replace(path, ar.Bytes(), BackupPathOf(path)) ? 1 : 0;
}
