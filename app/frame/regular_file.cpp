#include "frame/regular_file.h"

#include "frame/file_operations.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Closes the descriptor when the reading is over, however it ends.
class OpenedFile {
 public:
  explicit OpenedFile(const QString& path)
      : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {}
  ~OpenedFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;

  int fd() const { return fd_; }

 private:
  int fd_;
};

// Opens the file and checks its kind on the descriptor, so that what is
// read is what was checked. The size at the opening goes to `size`.
RegularFileRead openRegular(const OpenedFile& file, off_t& size) {
  RegularFileRead result;
  struct stat info {};
  if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0) {
    result.error = errno;
    return result;
  }
  result.notRegular = !S_ISREG(info.st_mode);
  result.opened = !result.notRegular;
  size = info.st_size;
  return result;
}

}  // namespace

QString RegularFileRead::reason() const {
  if (error != 0) return errnoDescription(error);
  return notRegular ? QStringLiteral("not a regular file") : QString();
}

RegularFileRead readRegularFile(const QString& path) {
  const OpenedFile file(path);
  off_t size = 0;
  RegularFileRead result = openRegular(file, size);
  if (!result) return result;
  // None of the program's files comes near this; a larger one would only
  // exhaust the memory.
  constexpr off_t kLargestFile = off_t{256} * 1024 * 1024;
  if (size > kLargestFile) {
    result.error = EFBIG;
    return result;
  }
  result.content.resize(static_cast<qsizetype>(size));
  qsizetype done = 0;
  while (done < result.content.size()) {
    const auto left = static_cast<size_t>(result.content.size() - done);
    const ssize_t got = ::read(file.fd(), result.content.data() + done, left);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.error = errno;
      result.content.clear();
      return result;
    }
    if (got == 0) break;  // the file was cut while it was read
    done += got;
  }
  result.content.truncate(done);
  return result;
}

bool opensAsRegularFile(const QString& path) {
  const OpenedFile file(path);
  off_t size = 0;
  return static_cast<bool>(openRegular(file, size));
}

PathKind pathKind(const QString& path) {
  struct stat info {};
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
    return errno == ENOENT ? PathKind::Absent : PathKind::Other;
  }
  return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
}
