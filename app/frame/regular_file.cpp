#include "frame/regular_file.h"

#include "frame/file_operations.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace {

// Closes the descriptor when the reading is over, however it ends.
class OpenedFile {
 public:
  explicit OpenedFile(const QByteArray& path)
      : fd_(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {}
  ~OpenedFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;

  int fd() const { return fd_; }
  // Reads wait for their data from here on: the opening alone had to be
  // without waiting, lest a FIFO swapped in stop the program.
  bool waitForData() const {
    const int flags = ::fcntl(fd_, F_GETFL);
    return flags >= 0 && ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) == 0;
  }

 private:
  int fd_;
};

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Looks at the path before opening it: opening a device can do something of
// its own (a serial port's control lines change, some drivers wait even
// without blocking), so what is not a regular file is refused unopened.
// Once opened, the descriptor must still be that same regular file, so a
// swap between the look and the opening is refused too. The size at the
// opening goes to `size`.
RegularFileRead openRegular(const QString& path, std::optional<OpenedFile>& file, off_t& size) {
  RegularFileRead result;
  const QByteArray name = QFile::encodeName(path);
  struct stat looked {};
  if (::stat(name.constData(), &looked) != 0) {
    result.error = errno;
    return result;
  }
  if (!S_ISREG(looked.st_mode)) {
    result.notRegular = true;
    return result;
  }
  file.emplace(name);
  struct stat opened {};
  if (file->fd() < 0 || ::fstat(file->fd(), &opened) != 0) {
    result.error = errno;
    return result;
  }
  result.notRegular = !S_ISREG(opened.st_mode) || !sameFile(looked, opened);
  if (result.notRegular) return result;
  if (!file->waitForData()) {
    result.error = errno;
    return result;
  }
  result.opened = true;
  size = opened.st_size;
  return result;
}

}  // namespace

QString RegularFileRead::reason() const {
  if (error != 0) return errnoDescription(error);
  return notRegular ? QStringLiteral("not a regular file") : QString();
}

RegularFileRead readRegularFile(const QString& path, off_t largest) {
  std::optional<OpenedFile> file;
  off_t size = 0;
  RegularFileRead result = openRegular(path, file, size);
  if (!result) return result;
  if (size > largest) {
    result.error = EFBIG;
    return result;
  }
  result.content.resize(static_cast<qsizetype>(size));
  qsizetype done = 0;
  while (done < result.content.size()) {
    const auto left = static_cast<size_t>(result.content.size() - done);
    const ssize_t got = ::read(file->fd(), result.content.data() + done, left);
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
  std::optional<OpenedFile> file;
  off_t size = 0;
  return static_cast<bool>(openRegular(path, file, size));
}

PathKind pathKind(const QString& path) {
  struct stat info {};
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
    return errno == ENOENT ? PathKind::Absent : PathKind::Other;
  }
  return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
}
