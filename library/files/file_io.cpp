#include "files/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/regular_file.h"

namespace tramsoll {

FileHandle::FileHandle(const std::string& path, int flags) : fd_(regularfile::open(path.c_str(), flags)) {}

FileHandle::~FileHandle() { close(); }

namespace {

// Repeats one read or write call until all `size` bytes went through; false
// on an error or when the call moves nothing (end of file, full disk).
template <class Call>
bool moveAll(std::size_t size, Call call) {
  std::size_t done = 0;
  while (done < size) {
    ssize_t moved = call(done);
    if (moved < 0 && errno == EINTR) continue;
    if (moved <= 0) return false;
    done += static_cast<std::size_t>(moved);
  }
  return true;
}

}  // namespace

bool FileHandle::writeAt(uint64_t offset, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  return fd_ >= 0 && moveAll(size, [&](std::size_t done) {
           return ::pwrite(fd_, bytes + done, size - done, static_cast<off_t>(offset + done));
         });
}

bool FileHandle::append(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  return fd_ >= 0 && moveAll(size, [&](std::size_t done) { return ::write(fd_, bytes + done, size - done); });
}

bool FileHandle::readAt(uint64_t offset, void* data, std::size_t size) {
  auto* bytes = static_cast<uint8_t*>(data);
  return fd_ >= 0 && moveAll(size, [&](std::size_t done) {
           return ::pread(fd_, bytes + done, size - done, static_cast<off_t>(offset + done));
         });
}

int64_t FileHandle::size() const { return fd_ < 0 ? -1 : regularfile::length(fd_); }

bool FileHandle::truncate(int64_t length) {
  if (fd_ < 0 || length < 0) return false;
  int result;
  do {
    result = ::ftruncate(fd_, static_cast<off_t>(length));
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

bool FileHandle::flush() { return fd_ >= 0 && ::fdatasync(fd_) == 0; }

int FileHandle::close() {
  if (fd_ < 0) return 0;
  int result = ::close(fd_);
  fd_ = -1;
  return result;
}

}  // namespace tramsoll
