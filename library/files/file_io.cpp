#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tramsoll {

FileHandle::FileHandle(const std::string& path, int flags) {
  do {
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  } while (fd_ < 0 && errno == EINTR);
}

FileHandle::~FileHandle() { close(); }

bool FileHandle::writeAt(uint64_t offset, const void* data, std::size_t size) {
  if (fd_ < 0) return false;
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    ssize_t written = ::pwrite(fd_, bytes, size, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    offset += static_cast<uint64_t>(written);
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool FileHandle::append(const void* data, std::size_t size) {
  if (fd_ < 0) return false;
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    ssize_t written = ::write(fd_, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool FileHandle::readAt(uint64_t offset, void* data, std::size_t size) {
  if (fd_ < 0) return false;
  auto* bytes = static_cast<uint8_t*>(data);
  while (size > 0) {
    ssize_t got = ::pread(fd_, bytes, size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    offset += static_cast<uint64_t>(got);
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

int64_t FileHandle::size() const {
  struct stat status {};
  if (fd_ < 0 || ::fstat(fd_, &status) != 0) return -1;
  return status.st_size;
}

bool FileHandle::flush() { return fd_ >= 0 && ::fdatasync(fd_) == 0; }

int FileHandle::close() {
  if (fd_ < 0) return 0;
  int result = ::close(fd_);
  fd_ = -1;
  return result;
}

}  // namespace tramsoll
