// The binary layer of the settings files: little-endian 32-bit integers, read through a
// 4096-byte buffer that reports data ending early.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "QuorvelLExport.h"

class IFileReader;

class QUORVELL_EXPORT CArchiveReader {
 public:
  explicit CArchiveReader(IFileReader& file);
  CArchiveReader(const CArchiveReader&) = delete;
  CArchiveReader& operator=(const CArchiveReader&) = delete;

  // False when the data ends before four bytes were read; from then on every read fails.
  bool ReadInt32(std::int32_t& value);
  bool EndOfData() const { return m_bEndOfData; }

 private:
  bool Fill();

  IFileReader& m_file;
  unsigned char m_buffer[4096];
  std::size_t m_nPos = 0;
  std::size_t m_nLength = 0;
  bool m_bEndOfData = false;
};

class QUORVELL_EXPORT CArchiveWriter {
 public:
  void WriteInt32(std::int32_t value);
  const std::string& Bytes() const { return m_bytes; }

 private:
  std::string m_bytes;
};
