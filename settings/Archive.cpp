#include "settings/Archive.h"

#include "settings/FileStore.h"

CArchiveReader::CArchiveReader(IFileReader& file) : m_file(file) {}

bool CArchiveReader::Fill() {
  m_nPos = 0;
  m_nLength = m_file.Read(m_buffer, sizeof(m_buffer));
  return m_nLength > 0;
}

bool CArchiveReader::ReadInt32(std::int32_t& value) {
  if (m_bEndOfData) return false;
  std::uint32_t bits = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    if (m_nPos == m_nLength && !Fill()) {
      m_bEndOfData = true;
      return false;
    }
    bits |= static_cast<std::uint32_t>(m_buffer[m_nPos++]) << shift;
  }
  value = static_cast<std::int32_t>(bits);
  return true;
}

void CArchiveWriter::WriteInt32(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) m_bytes.push_back(static_cast<char>(bits >> shift));
}
