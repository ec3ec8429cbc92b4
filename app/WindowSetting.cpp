#include "app/WindowSetting.h"

#include "settings/Archive.h"
#include "settings/FileStore.h"
#include "settings/ReadFailureReporter.h"

CWindowSetting::CWindowSetting() {
  m_bandToolBar.wID = 1;
  m_bandTab.wID = 2;
}

CWindowSetting::~CWindowSetting() = default;

int CWindowSetting::Load(const std::string& path) {
  return Load(path, SystemFileStore(), CurrentReadFailureReporter());
}

int CWindowSetting::Load(const std::string& path, IFileStore& files,
                         IReadFailureReporter& reporter) {
  return LoadSettingsFile(path, files, reporter, nullptr,
                          [this](CArchiveReader& ar) { return ReadFields(ar); });
}

namespace {

bool ReadBand(CArchiveReader& ar, CBandSetting& band) {
  return ar.ReadInt32(band.cx) && ar.ReadInt32(band.wID) && ar.ReadInt32(band.fStyle);
}

}  // namespace

// Stores every field as soon as it is read; false when the data ends first.
bool CWindowSetting::ReadFields(CArchiveReader& ar) {
  if (!(ar.ReadInt32(m_nVersion) && ar.ReadInt32(m_rcWindow.left) && ar.ReadInt32(m_rcWindow.top) &&
        ar.ReadInt32(m_rcWindow.right) && ar.ReadInt32(m_rcWindow.bottom))) {
    return false;
  }
  if (!(ReadBand(ar, m_bandMenuBar) && ReadBand(ar, m_bandToolBar))) return false;
  if (m_nVersion >= 1 && !ReadBand(ar, m_bandTab)) return false;
  if (!(ar.ReadInt32(m_bStatusBar) && ar.ReadInt32(m_nSpare))) return false;
  if (m_nVersion >= 2 && !(ar.ReadInt32(m_nColumnWidth[0]) && ar.ReadInt32(m_nColumnWidth[1]))) {
    return false;
  }
  if (m_nVersion >= 3 && !(ar.ReadInt32(m_nColumnWidth[2]) && ar.ReadInt32(m_bMinimizeOnClose))) {
    return false;
  }
  return true;
}

bool CWindowSetting::Save(const std::string& path) {
  return Save(path, SystemFileStore());
}

bool CWindowSetting::Save(const std::string& path, IFileStore& files) {
  if (path.empty()) return false;
  m_nVersion = kFileVersion;
  CArchiveWriter ar;
  for (std::int32_t value :
       {m_nVersion, m_rcWindow.left, m_rcWindow.top, m_rcWindow.right, m_rcWindow.bottom}) {
    ar.WriteInt32(value);
  }
  for (const CBandSetting* band : {&m_bandMenuBar, &m_bandToolBar, &m_bandTab}) {
    ar.WriteInt32(band->cx);
    ar.WriteInt32(band->wID);
    ar.WriteInt32(band->fStyle);
  }
  for (std::int32_t value : {m_bStatusBar, m_nSpare, m_nColumnWidth[0], m_nColumnWidth[1],
                             m_nColumnWidth[2], m_bMinimizeOnClose}) {
    ar.WriteInt32(value);
  }
  return files.Replace(path, ar.Bytes(), BackupPathOf(path));
}
