// The file operations of the program's data folders: listing a folder,
// renaming or moving without replacing, removing, making folders, and
// copying or writing files so that a failure never leaves a half-written
// target. Every failure carries the errno of the call that failed and the
// path it concerned; tests make a chosen call fail through setFileFault.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// What a file operation did: error 0 when it was done, else the errno of
// the call that failed.
struct FileOutcome {
  int error = 0;
  QString path;  // what the failed call concerned

  explicit operator bool() const { return error == 0; }
  // ENOSPC or EDQUOT: the disk (or the user's share of it) is full.
  bool diskFull() const;
  // "( 13 Permission denied )": the errno and its description, as the
  // program's messages show a failed file operation.
  QString errorLine() const;

  static FileOutcome failure(int error, const QString& path) { return {error, path}; }
};

// The description of an errno in the system's words.
QString errnoDescription(int error);

// The entries of a folder. Hidden entries (names beginning with ".") and the
// entries "." and ".." are left out; links count as what they point to.
struct FolderListing {
  QStringList folders;  // sub-folder names, in name order ignoring case
  QStringList files;    // ordinary file names, in name order ignoring case
  FileOutcome outcome;  // the folder's errno when it could not be read;
                        // what was read before the failure stays listed
};
FolderListing listFolder(const QString& folder);

// Renames or moves a file or a folder. It never replaces: a target name that
// is taken gives EEXIST and nothing changes (a name differing only in case
// from the source, on a file system that ignores case, is a rename).
FileOutcome moveEntry(const QString& from, const QString& to);
FileOutcome removeFile(const QString& path);
// Removes an empty folder; a folder that still holds entries gives ENOTEMPTY.
FileOutcome removeFolder(const QString& path);
// Makes one folder; one that exists already gives EEXIST.
FileOutcome makeFolder(const QString& path);

class ReplacementFile;

// Copies a file onto a target, replacing it, in pieces: the copy goes to a
// hidden temporary file in the target's folder (its name never ends in
// ".das", so no file list takes it for a recording), which is flushed to the
// disk and then renamed over the target. Until then the target is left as
// it was; a failure or an abandoned copy removes the temporary file. The
// bytes are copied inside the kernel where the file systems allow it.
class AtomicCopy {
 public:
  static constexpr int64_t kPieceBytes = 8 * 1024 * 1024;

  enum class Step { More, Done, Failed };

  AtomicCopy(QString source, QString target);
  ~AtomicCopy();
  AtomicCopy(const AtomicCopy&) = delete;
  AtomicCopy& operator=(const AtomicCopy&) = delete;

  // Copies up to `pieceBytes` more bytes; once the source is read whole the
  // copy is put in place and the step answers Done.
  Step copyPiece(int64_t pieceBytes = kPieceBytes);
  // Runs every piece; true when the copy is in place.
  bool copyAll();
  // Stops an unfinished copy: the temporary file goes, the target stays, and
  // the copy counts as failed with ECANCELED.
  void abandon();

  const FileOutcome& outcome() const { return outcome_; }
  int64_t copiedBytes() const { return copied_; }
  // The temporary file's path while the copy is under way, else "".
  QString temporaryPath() const;

 private:
  enum class State { NotStarted, Copying, Done, Failed };

  bool start();
  Step fail(const FileOutcome& outcome);
  // The source is read whole: the copy is put in place.
  Step finish();
  void closeSource();

  QString source_;
  QString target_;
  int sourceFd_ = -1;
  std::unique_ptr<ReplacementFile> temporary_;
  std::vector<char> buffer_;
  int64_t copied_ = 0;
  bool kernelCopy_ = true;  // copy_file_range until it is refused
  State state_ = State::NotStarted;
  FileOutcome outcome_;
};

// The whole copy in one call.
FileOutcome copyFileAtomically(const QString& source, const QString& target);
// Replaces a file's content the same way: a temporary file in the same
// folder, flushed, renamed over it; a failure leaves the old file. An
// existing file keeps its permissions.
FileOutcome replaceFileContent(const QString& path, const QByteArray& content);

// ---- Test hook ----

// The calls a test can make fail.
enum class FileCall {
  ListFolder,    // opening a folder to list it
  MakeFolder,
  RemoveFolder,
  RemoveFile,
  Rename,        // moveEntry, and putting a copy or new content in place
  OpenSource,    // opening the file a copy reads
  CreateTarget,  // creating the temporary file
  Read,
  Write,
  Sync,          // flushing the temporary file to the disk
};

// The next calls of `call`, after `skip` of them have passed, fail with
// `error`: `times` of them (-1: every one).
struct FileFault {
  FileCall call;
  int error;
  int skip = 0;
  int times = 1;
};
// Puts a fault in place of the previous one; nullopt removes it.
void setFileFault(std::optional<FileFault> fault);

// Sets a fault for the life of the object.
class ScopedFileFault {
 public:
  explicit ScopedFileFault(FileFault fault) { setFileFault(fault); }
  ~ScopedFileFault() { setFileFault(std::nullopt); }
  ScopedFileFault(const ScopedFileFault&) = delete;
  ScopedFileFault& operator=(const ScopedFileFault&) = delete;
};
