// Plain POSIX file access for the recorded files: only regular files are
// opened (see regular_file.h), whole writes and reads at an offset, so every
// short write (a full disk) is seen, and a handle that closes itself on every
// return path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tramsoll {

class FileHandle {
 public:
  FileHandle() = default;
  // open(2) with these flags (and mode 0644 when it creates); not open when
  // the path names anything but a regular file.
  FileHandle(const std::string& path, int flags);
  ~FileHandle();
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  // Writes all `size` bytes at `offset`; false on any short write.
  bool writeAt(uint64_t offset, const void* data, std::size_t size);
  // Appends all bytes at the end of the file.
  bool append(const void* data, std::size_t size);
  // Reads exactly `size` bytes at `offset`; false on a short read.
  bool readAt(uint64_t offset, void* data, std::size_t size);
  // The file's length, or -1.
  int64_t size() const;
  // Cuts the file to `length` bytes (a write that failed part-way is taken
  // back); false when it cannot.
  bool truncate(int64_t length);
  // Pushes what was written to the device, so a later rename or count
  // update never lands before it.
  bool flush();
  // Closes; answers the close(2) result (0 or -1 with errno kept).
  int close();

 private:
  int fd_ = -1;
};

}  // namespace tramsoll
