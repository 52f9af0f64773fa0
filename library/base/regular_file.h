// Opening a data file so that a special file in its place cannot hold the
// caller: a FIFO blocks an open until its other end appears, and a FIFO or a
// character device (a link to /dev/zero) never ends a read. Only a regular
// file is kept, told by the open descriptor itself, so nothing can swap the
// file between the check and the use.
//
// Self-contained (POSIX only): the library and the program both compile it.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace regularfile {

// open(2) with O_NONBLOCK added, kept only when fstat shows a regular file
// (O_NONBLOCK is then cleared again); -1 otherwise, errno EINVAL for a file
// that is not regular.
inline int open(const char* path, int flags, mode_t mode = 0644) {
  int fd;
  do {
    fd = ::open(path, flags | O_NONBLOCK | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  struct stat status {};
  int fileFlags = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || fileFlags < 0 ||
      ::fcntl(fd, F_SETFL, fileFlags & ~O_NONBLOCK) != 0) {
    ::close(fd);
    errno = EINVAL;
    return -1;
  }
  return fd;
}

// The length of an open regular file, or -1.
inline long long length(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 ? static_cast<long long>(status.st_size) : -1;
}

// Appends the bytes of an open regular file to `content`, no further than the
// length it had when this began (a file that grows meanwhile does not keep
// the reader); a file cut meanwhile ends early. False on a read error.
inline bool readAll(int fd, std::string& content) {
  long long left = length(fd);
  if (left < 0) return false;
  char chunk[16384];
  while (left > 0) {
    ssize_t n = ::read(fd, chunk, static_cast<std::size_t>(std::min<long long>(left, sizeof chunk)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0;
    content.append(chunk, static_cast<std::size_t>(n));
    left -= n;
  }
  return true;
}

}  // namespace regularfile
