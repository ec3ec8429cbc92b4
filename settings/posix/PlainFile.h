// Opening a file that must be a plain file: no link is followed, and nothing else is taken for
// one. The service may run with rights that a link planted in its folder must not borrow.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

// The descriptor, or -1 when the path is a link, not a plain file, or cannot be opened. Opened
// without blocking, so that a pipe in its place cannot hold the caller.
inline int OpenPlainFile(const std::string& path, int flags, mode_t mode = 0) {
  const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
  if (fd < 0) return -1;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}
