// The seam between the settings files and the file system: reading a whole file through a
// stream, and replacing a file in one step.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "QuorvelLExport.h"

class CArchiveReader;
class IReadFailureReporter;

class QUORVELL_EXPORT IFileReader {
 public:
  virtual ~IFileReader();
  // Bytes read into buffer; 0 at the end of the file and on a read error.
  virtual std::size_t Read(void* buffer, std::size_t size) = 0;
};

class QUORVELL_EXPORT IFileStore {
 public:
  virtual ~IFileStore();
  // Null when the file cannot be opened, and when the path is a link or anything but a plain
  // file. A replace of the file may go through while it is read.
  virtual std::unique_ptr<IFileReader> OpenForReading(const std::string& path) = 0;
  // Writes bytes to a temporary file beside path, flushes it and puts it in place of path in
  // one step; a previous file at path is kept as backupPath (none when empty). On failure path
  // is left as it was.
  virtual bool Replace(const std::string& path, const std::string& bytes,
                       const std::string& backupPath) = 0;
};

// The file system of the platform the library runs on.
QUORVELL_EXPORT IFileStore& SystemFileStore();

// The backup of a settings file: everything before the last "." of the path, then ".bak".
QUORVELL_EXPORT std::string BackupPathOf(const std::string& path);

// True when the path ends in ".bak", in any case.
QUORVELL_EXPORT bool IsBackupPath(const std::string& path);

// The read of every settings file: 0 for an empty path or a file that cannot be opened, 1
// otherwise. beforeOpen runs once the path is known not to be empty; readFields stores each
// field as it reads it and returns false when the data ends first. Then, unless the path is
// itself a backup, the failure is reported once and the backup read the same way.
QUORVELL_EXPORT int LoadSettingsFile(const std::string& path, IFileStore& files,
                                     IReadFailureReporter& reporter,
                                     const std::function<void()>& beforeOpen,
                                     const std::function<bool(CArchiveReader&)>& readFields);
