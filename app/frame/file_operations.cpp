#include "frame/file_operations.h"

#include <QFile>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

std::mutex& faultMutex() {
  static std::mutex mutex;
  return mutex;
}

std::optional<FileFault>& currentFault() {
  static std::optional<FileFault> fault;
  return fault;
}

// True when the test hook makes this call fail; errno then holds the
// chosen error.
bool hooked(FileCall call) {
  std::lock_guard lock(faultMutex());
  std::optional<FileFault>& fault = currentFault();
  if (!fault || fault->call != call) return false;
  if (fault->skip > 0) {
    --fault->skip;
    return false;
  }
  errno = fault->error;
  if (fault->times > 0 && --fault->times == 0) fault.reset();
  return true;
}

FileOutcome failed(const QString& path) { return FileOutcome::failure(errno, path); }

QByteArray encoded(const QString& path) { return QFile::encodeName(path.isEmpty() ? QStringLiteral(".") : path); }

// strerror_r comes in two shapes; either gives the description.
[[maybe_unused]] QString describedBy(const char* description, const char*) {
  return QString::fromLocal8Bit(description);
}
[[maybe_unused]] QString describedBy(int result, const char* buffer) {
  return result == 0 ? QString::fromLocal8Bit(buffer) : QString();
}

enum class Kind { Folder, File, Other };

Kind kindOf(int folderFd, const dirent& entry) {
  if (entry.d_type == DT_DIR) return Kind::Folder;
  if (entry.d_type == DT_REG) return Kind::File;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return Kind::Other;
  // A link counts as what it points to; a dangling one is nothing.
  struct stat info {};
  if (::fstatat(folderFd, entry.d_name, &info, 0) != 0) return Kind::Other;
  if (S_ISDIR(info.st_mode)) return Kind::Folder;
  return S_ISREG(info.st_mode) ? Kind::File : Kind::Other;
}

// Name order ignoring case; names equal but for case keep a fixed order.
void sortNames(QStringList& names) {
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
  });
}

bool sameEntry(const QByteArray& a, const QByteArray& b) {
  struct stat first {}, second {};
  return ::lstat(a.constData(), &first) == 0 && ::lstat(b.constData(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The rename for file systems that do not know "no replace": the target is
// looked at first (the program is the only writer of its data folders).
int renameIfFree(const QByteArray& from, const QByteArray& to) {
  struct stat info {};
  if (::lstat(to.constData(), &info) == 0) {
    if (!sameEntry(from, to)) return EEXIST;
  } else if (errno != ENOENT) {
    return errno;
  }
  return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

QByteArray folderOf(const QByteArray& path) {
  const int slash = path.lastIndexOf('/');
  if (slash < 0) return QByteArrayLiteral(".");
  return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray baseNameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// Best effort: the rename is done, the folder's flush only makes it last
// through a power cut; file systems that cannot flush a folder are no fault.
void syncFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

// A hidden temporary file beside a target, put in the target's place by
// commit(); removed when it is given up or its writing fails.
class ReplacementFile {
 public:
  explicit ReplacementFile(const QString& target) : target_(target), targetBytes_(encoded(target)) {}
  ~ReplacementFile() { discard(); }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  FileOutcome create();
  FileOutcome write(const char* data, int64_t size);
  // Copies up to `size` bytes from `fd` at its offset inside the kernel:
  // the bytes copied, 0 at the end of the source, -1 with errno.
  ssize_t copyFrom(int fd, int64_t size) {
    return hooked(FileCall::Write) ? -1 : ::copy_file_range(fd, nullptr, fd_, nullptr, static_cast<size_t>(size), 0);
  }
  FileOutcome commit();
  void discard();
  QString path() const { return QFile::decodeName(path_); }

 private:
  FileOutcome fail() {
    const FileOutcome outcome = failed(target_);
    discard();
    return outcome;
  }
  QByteArray newName() const;
  void keepTargetPermissions() const;

  QString target_;
  QByteArray targetBytes_;
  QByteArray path_;
  int fd_ = -1;
};

QByteArray ReplacementFile::newName() const {
  // ".<target>.<random>.tmp": hidden, never ".das", within a name's 255 bytes.
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  QByteArray random(8, '0');
  for (char& c : random) c = kLetters[QRandomGenerator::global()->bounded(36)];
  const QByteArray folder = folderOf(targetBytes_);
  return folder + (folder.endsWith('/') ? "" : "/") + '.' + baseNameOf(targetBytes_).left(200) + '.' + random +
         ".tmp";
}

void ReplacementFile::keepTargetPermissions() const {
  struct stat info {};
  if (::stat(targetBytes_.constData(), &info) == 0 && S_ISREG(info.st_mode)) ::fchmod(fd_, info.st_mode & 07777);
}

FileOutcome ReplacementFile::create() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = newName();
    fd_ = hooked(FileCall::CreateTarget)
              ? -1
              : ::open(path_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      keepTargetPermissions();
      return {};
    }
    if (errno != EEXIST) break;
  }
  path_.clear();
  return failed(target_);
}

FileOutcome ReplacementFile::write(const char* data, int64_t size) {
  while (size > 0) {
    const ssize_t written = hooked(FileCall::Write) ? -1 : ::write(fd_, data, static_cast<size_t>(size));
    if (written < 0) {
      if (errno == EINTR) continue;
      return fail();
    }
    data += written;
    size -= written;
  }
  return {};
}

FileOutcome ReplacementFile::commit() {
  if (hooked(FileCall::Sync) || ::fsync(fd_) != 0) return fail();
  const int fd = fd_;
  fd_ = -1;
  // A failing close can be the first report of a failed write (NFS).
  if (::close(fd) != 0) return fail();
  if (hooked(FileCall::Rename) || ::rename(path_.constData(), targetBytes_.constData()) != 0) return fail();
  path_.clear();
  syncFolder(folderOf(targetBytes_));
  return {};
}

void ReplacementFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!path_.isEmpty()) ::unlink(path_.constData());
  path_.clear();
}

// ---- Outcomes ----

bool FileOutcome::diskFull() const { return error == ENOSPC || error == EDQUOT; }

QString FileOutcome::errorLine() const {
  return QStringLiteral("( %1 %2 )").arg(error).arg(errnoDescription(error));
}

QString errnoDescription(int error) {
  char buffer[256] = {};
  return describedBy(::strerror_r(error, buffer, sizeof buffer), buffer);
}

// ---- Folders ----

FolderListing listFolder(const QString& folder) {
  FolderListing listing;
  DIR* dir = hooked(FileCall::ListFolder) ? nullptr : ::opendir(encoded(folder).constData());
  if (!dir) {
    listing.outcome = failed(folder);
    return listing;
  }
  const int folderFd = ::dirfd(dir);
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (!entry) {
      if (errno != 0) listing.outcome = failed(folder);
      break;
    }
    if (entry->d_name[0] == '.') continue;  // hidden entries, "." and ".."
    const Kind kind = kindOf(folderFd, *entry);
    if (kind == Kind::Folder) listing.folders << QFile::decodeName(entry->d_name);
    if (kind == Kind::File) listing.files << QFile::decodeName(entry->d_name);
  }
  ::closedir(dir);
  sortNames(listing.folders);
  sortNames(listing.files);
  return listing;
}

FileOutcome moveEntry(const QString& from, const QString& to) {
  const QByteArray source = encoded(from);
  const QByteArray target = encoded(to);
  if (hooked(FileCall::Rename)) return failed(from);
  if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) return {};
  int error = errno;
  if (error == EINVAL || error == ENOSYS) {
    error = renameIfFree(source, target);
  } else if (error == EEXIST && source != target && sameEntry(source, target)) {
    // Only the letter case differs, on a file system that ignores it.
    error = ::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
  }
  if (error == 0) return {};
  return FileOutcome::failure(error, error == EEXIST ? to : from);
}

FileOutcome removeFile(const QString& path) {
  if (hooked(FileCall::RemoveFile) || ::unlink(encoded(path).constData()) != 0) return failed(path);
  return {};
}

FileOutcome removeFolder(const QString& path) {
  if (hooked(FileCall::RemoveFolder) || ::rmdir(encoded(path).constData()) != 0) {
    // POSIX lets rmdir say EEXIST for a folder that is not empty.
    return FileOutcome::failure(errno == EEXIST ? ENOTEMPTY : errno, path);
  }
  return {};
}

FileOutcome makeFolder(const QString& path) {
  if (hooked(FileCall::MakeFolder) || ::mkdir(encoded(path).constData(), 0777) != 0) return failed(path);
  return {};
}

// ---- Copies ----

AtomicCopy::AtomicCopy(QString source, QString target) : source_(std::move(source)), target_(std::move(target)) {}

AtomicCopy::~AtomicCopy() {
  temporary_.reset();
  closeSource();
}

void AtomicCopy::closeSource() {
  if (sourceFd_ >= 0) ::close(sourceFd_);
  sourceFd_ = -1;
}

QString AtomicCopy::temporaryPath() const { return temporary_ ? temporary_->path() : QString(); }

AtomicCopy::Step AtomicCopy::fail(const FileOutcome& outcome) {
  outcome_ = outcome;
  state_ = State::Failed;
  temporary_.reset();
  closeSource();
  return Step::Failed;
}

bool AtomicCopy::start() {
  sourceFd_ = hooked(FileCall::OpenSource) ? -1 : ::open(encoded(source_).constData(), O_RDONLY | O_CLOEXEC);
  if (sourceFd_ < 0) {
    fail(failed(source_));
    return false;
  }
  temporary_ = std::make_unique<ReplacementFile>(target_);
  if (FileOutcome made = temporary_->create(); !made) {
    fail(made);
    return false;
  }
  state_ = State::Copying;
  return true;
}

AtomicCopy::Step AtomicCopy::copyPiece(int64_t pieceBytes) {
  if (state_ == State::Done) return Step::Done;
  if (state_ == State::Failed) return Step::Failed;
  if (state_ == State::NotStarted && !start()) return Step::Failed;
  constexpr int64_t kBufferBytes = 1024 * 1024;
  for (int64_t left = std::max<int64_t>(pieceBytes, 1); left > 0;) {
    const int64_t wanted = std::min(left, kBufferBytes);
    if (hooked(FileCall::Read)) return fail(failed(source_));
    if (kernelCopy_) {
      const ssize_t got = temporary_->copyFrom(sourceFd_, left);
      if (got < 0 && errno == EINTR) continue;
      // Between file systems that cannot copy inside the kernel the bytes
      // go through the program.
      if (got < 0 && copied_ == 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
        kernelCopy_ = false;
        continue;
      }
      if (got < 0) return fail(failed(target_));
      if (got == 0) return finish();
      copied_ += got;
      left -= got;
      continue;
    }
    if (buffer_.empty()) buffer_.resize(static_cast<std::size_t>(kBufferBytes));
    const ssize_t got = ::read(sourceFd_, buffer_.data(), static_cast<size_t>(wanted));
    if (got < 0) {
      if (errno == EINTR) continue;
      return fail(failed(source_));
    }
    if (got == 0) return finish();
    if (FileOutcome written = temporary_->write(buffer_.data(), got); !written) return fail(written);
    copied_ += got;
    left -= got;
  }
  return Step::More;
}

AtomicCopy::Step AtomicCopy::finish() {
  if (FileOutcome placed = temporary_->commit(); !placed) return fail(placed);
  temporary_.reset();
  closeSource();
  state_ = State::Done;
  return Step::Done;
}

bool AtomicCopy::copyAll() {
  Step step = Step::More;
  while (step == Step::More) step = copyPiece();
  return step == Step::Done;
}

void AtomicCopy::abandon() {
  if (state_ == State::Done || state_ == State::Failed) return;
  fail(FileOutcome::failure(ECANCELED, target_));
}

FileOutcome copyFileAtomically(const QString& source, const QString& target) {
  AtomicCopy copy(source, target);
  copy.copyAll();
  return copy.outcome();
}

FileOutcome replaceFileContent(const QString& path, const QByteArray& content) {
  ReplacementFile file(path);
  if (FileOutcome made = file.create(); !made) return made;
  if (FileOutcome written = file.write(content.constData(), content.size()); !written) return written;
  return file.commit();
}

// ---- Test hook ----

void setFileFault(std::optional<FileFault> fault) {
  std::lock_guard lock(faultMutex());
  currentFault() = fault;
}
