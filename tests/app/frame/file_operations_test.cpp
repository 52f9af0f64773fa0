// The file operations of the data folders: listing, moves that never
// replace, and copies that leave the old target whole when they fail.
#include "frame/file_operations.h"
#include "frame/site/frmDummy.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <cerrno>
#include <functional>

class FileOperationsTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString at(const QString& name) const { return dir_.filePath(name); }
  void write(const QString& name, const QByteArray& content) const {
    QDir().mkpath(QFileInfo(at(name)).path());
    QFile file(at(name));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
  }
  QByteArray read(const QString& name) const {
    QFile file(at(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  // Every entry below the folder, hidden ones too.
  QStringList everything() const {
    QStringList found;
    QDirIterator it(dir_.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) found << it.next().mid(dir_.path().size());
    found.sort();
    return found;
  }

 private slots:
  void init() {
    QDir(dir_.path()).removeRecursively();
    QDir().mkpath(dir_.path());
  }
  void cleanup() { setFileFault(std::nullopt); }

  void listingSortsIgnoringCaseAndSkipsHiddenEntries() {
    for (const char* folder : {"Beta", "acme", ".hidden", "csv"}) QDir(dir_.path()).mkdir(folder);
    for (const char* file : {"b.das", "A.dak", ".x.das.tmp"}) write(file, "x");
    QVERIFY(QFile::link(at("csv"), at("linkToFolder")) && QFile::link(at("gone"), at("dangling")));
    const FolderListing listing = listFolder(dir_.path());
    QVERIFY(listing.outcome);
    QCOMPARE(listing.folders, (QStringList{"acme", "Beta", "csv", "linkToFolder"}));
    QCOMPARE(listing.files, (QStringList{"A.dak", "b.das"}));
    // A folder that cannot be listed says why.
    write("plain", "x");
    QCOMPARE(listFolder(at("missing")).outcome.error, ENOENT);
    QCOMPARE(listFolder(at("plain")).outcome.error, ENOTDIR);
    ScopedFileFault fault({FileCall::ListFolder, EACCES, 0, -1});
    const FolderListing refused = listFolder(dir_.path());
    QCOMPARE(refused.outcome.error, EACCES);
    QCOMPARE(refused.outcome.path, dir_.path());
    // The hidden lists tell a folder they could not read from an empty one.
    frmDummy& lists = frmDummy::instance();
    lists.setFolder(dir_.path());
    QVERIFY(lists.dirDummy.list().isEmpty() && lists.filDummy.list().isEmpty());
    QCOMPARE(lists.dirDummy.outcome.error + lists.filDummy.outcome.error, 2 * EACCES);
  }

  // Each call failed through the hook: the operation reports that errno and
  // changes nothing; a copy leaves the old target and no temporary file.
  void everyHookedFailureReportsItsErrnoAndChangesNothing() {
    const QString source = at("from/source.das"), target = at("to/target.das");
    const std::function<FileOutcome()> copy = [&] { return copyFileAtomically(source, target); };
    const struct {
      const char* name;
      FileFault fault;
      std::function<FileOutcome()> run;
    } cases[] = {
        {"make folder on a read-only medium", {FileCall::MakeFolder, EROFS}, [&] { return makeFolder(at("new")); }},
        {"remove a busy folder", {FileCall::RemoveFolder, EBUSY}, [&] { return removeFolder(at("empty")); }},
        {"remove a file refused", {FileCall::RemoveFile, EACCES}, [&] { return removeFile(target); }},
        {"move across devices", {FileCall::Rename, EXDEV}, [&] { return moveEntry(source, at("to/moved.das")); }},
        {"copy an unreadable source", {FileCall::OpenSource, EIO}, copy},
        {"copy into a refused folder", {FileCall::CreateTarget, EACCES}, copy},
        {"copy with a read error", {FileCall::Read, EIO}, copy},
        {"copy onto a full disk", {FileCall::Write, ENOSPC}, copy},
        {"copy past the quota on a later write", {FileCall::Write, EDQUOT, 1}, copy},
        {"copy whose flush fails", {FileCall::Sync, EIO}, copy},
        {"copy that cannot be put in place", {FileCall::Rename, EACCES}, copy},
        {"new content on a full disk", {FileCall::Write, ENOSPC}, [&] { return replaceFileContent(target, "new"); }},
    };
    for (const auto& c : cases) {
      init();
      write("from/source.das", QByteArray(3 * 1024 * 1024, 's'));  // several writes
      write("to/target.das", "old target");
      QDir(dir_.path()).mkdir(QStringLiteral("empty"));
      const QStringList before = everything();
      setFileFault(c.fault);
      const FileOutcome outcome = c.run();
      QVERIFY2(outcome.error == c.fault.error && !outcome.path.isEmpty(), c.name);
      QVERIFY2(outcome.diskFull() == (c.fault.error == ENOSPC || c.fault.error == EDQUOT), c.name);
      QVERIFY2(read("to/target.das") == "old target", c.name);
      QVERIFY2(everything() == before, qPrintable(everything().join(' ')));
    }
  }

  void moveOntoATakenNameChangesNothing() {
    write("a/r1.das", "recording a");
    write("b/r1.das", "recording b");
    QDir().mkpath(at("b/sub"));
    const QStringList before = everything();
    const char* moves[][2] = {
        {"a/r1.das", "b/r1.das"}, {"a/r1.das", "b/sub"}, {"a", "b/sub"}, {"a", "b"}, {"a", "b/r1.das"}};
    for (const auto& [from, to] : moves) {
      const FileOutcome outcome = moveEntry(at(from), at(to));
      QCOMPARE(outcome.error, EEXIST);
      QCOMPARE(outcome.path, at(to));
    }
    QCOMPARE(everything(), before);
    QCOMPARE(read("a/r1.das") + read("b/r1.das"), QByteArray("recording arecording b"));
    QVERIFY(moveEntry(at("a"), at("c")) && moveEntry(at("c/r1.das"), at("b/sub/r1.das")));
    QCOMPARE(read("b/sub/r1.das"), QByteArray("recording a"));
    QCOMPARE(removeFolder(at("b")).error, ENOTEMPTY);
  }

  void copyInPiecesTouchesTheTargetOnlyAtTheEnd() {
    const QByteArray content(3 * 1024 * 1024 + 5, 'c');
    write("from/big.das", content);
    write("to/big.das", "old");
    AtomicCopy copy(at("from/big.das"), at("to/big.das"));
    QCOMPARE(copy.copyPiece(1024 * 1024), AtomicCopy::Step::More);
    // Hidden, beside the target, and never taken for a recording.
    const QString temporary = QFileInfo(copy.temporaryPath()).fileName();
    QVERIFY(temporary.startsWith('.') && !temporary.endsWith(QStringLiteral(".das"), Qt::CaseInsensitive));
    QCOMPARE(QFileInfo(copy.temporaryPath()).path(), at("to"));
    QCOMPARE(read("to/big.das"), QByteArray("old"));
    QCOMPARE(copy.copyPiece(1024 * 1024), AtomicCopy::Step::More);
    QCOMPARE(copy.copyPiece(1024 * 1024), AtomicCopy::Step::More);
    QCOMPARE(copy.copyPiece(1024 * 1024), AtomicCopy::Step::Done);  // the last 5 bytes, then in place
    QVERIFY(copy.outcome() && read("to/big.das") == content);
    const QStringList copied{"/from", "/from/big.das", "/to", "/to/big.das"};
    QCOMPARE(everything(), copied);
    // Given up half-way, or dropped: the old target stays, nothing else.
    write("to/big.das", "old");
    AtomicCopy abandoned(at("from/big.das"), at("to/big.das"));
    abandoned.copyPiece(1024 * 1024);
    abandoned.abandon();
    QCOMPARE(abandoned.outcome().error, ECANCELED);
    AtomicCopy(at("from/big.das"), at("to/big.das")).copyPiece(1024 * 1024);
    QCOMPARE(everything(), copied);
    QCOMPARE(read("to/big.das"), QByteArray("old"));
  }

  void newContentKeepsTheFilesPermissions() {
    write("acme.dak", "old");
    QVERIFY(QFile::setPermissions(at("acme.dak"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(replaceFileContent(at("acme.dak"), "new"));
    QVERIFY(replaceFileContent(at("fresh.dam"), "x"));
    struct stat kept {}, fresh {};
    QCOMPARE(::stat(QFile::encodeName(at("acme.dak")), &kept), 0);
    QCOMPARE(::stat(QFile::encodeName(at("fresh.dam")), &fresh), 0);
    QCOMPARE(kept.st_mode & 0777, 0640u);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QCOMPARE(fresh.st_mode & 0777, 0666u & ~mask);  // mkstemp would leave 0600
    QCOMPARE(read("acme.dak"), QByteArray("new"));
  }

  // Between file systems that cannot copy inside the kernel (a USB stick),
  // the bytes go through the program.
  void copyBetweenFileSystemsGoesThroughTheProgram() {
    const QByteArray content(3 * 1024 * 1024 + 5, 'x');
    write("from/big.das", content);
    QDir().mkpath(at("to"));
    ScopedFileFault refused({FileCall::Write, EXDEV});
    QVERIFY(copyFileAtomically(at("from/big.das"), at("to/big.das")));
    QCOMPARE(read("to/big.das"), content);
  }
};

QTEST_MAIN(FileOperationsTest)
#include "file_operations_test.moc"
