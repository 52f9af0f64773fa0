// The file operations of the data folders: listing, moves that never
// replace, and copies that leave the old target whole when they fail.
#include "frame/file_operations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <cerrno>
#include <functional>

namespace {

void writeFile(const QString& path, const QByteArray& content) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(content);
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every entry of the folder, hidden ones too.
QStringList everything(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class FileOperationsTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString at(const QString& name) const { return dir_.filePath(name); }

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    QDir(dir_.path()).removeRecursively();
    QDir().mkpath(dir_.path());
  }
  void cleanup() { setFileFault(std::nullopt); }

  void listingSortsIgnoringCaseAndSkipsHiddenEntries() {
    for (const char* folder : {"Beta", "acme", ".hidden", "csv", "ACME2"}) QDir(dir_.path()).mkdir(folder);
    for (const char* file : {"b.das", "A.dak", ".x.das.tmp", "acme/inside.dak"}) writeFile(at(file), "x");
    QVERIFY(QFile::link(at("csv"), at("linkToFolder")));
    QVERIFY(QFile::link(at("b.das"), at("linkToFile")));
    QVERIFY(QFile::link(at("gone"), at("dangling")));
    const FolderListing listing = listFolder(dir_.path());
    QVERIFY(listing.outcome);
    QCOMPARE(listing.folders, (QStringList{"acme", "ACME2", "Beta", "csv", "linkToFolder"}));
    QCOMPARE(listing.files, (QStringList{"A.dak", "b.das", "linkToFile"}));
  }

  void unlistableFolderReportsItsErrno_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("hookedError");
    QTest::addColumn<int>("error");
    QTest::newRow("missing") << QStringLiteral("missing") << 0 << ENOENT;
    QTest::newRow("a file") << QStringLiteral("plain") << 0 << ENOTDIR;
    QTest::newRow("refused") << QStringLiteral(".") << EACCES << EACCES;
  }
  void unlistableFolderReportsItsErrno() {
    QFETCH(QString, folder);
    QFETCH(int, hookedError);
    QFETCH(int, error);
    writeFile(at("plain"), "x");
    writeFile(at("kept.das"), "x");
    std::optional<ScopedFileFault> fault;
    if (hookedError) fault.emplace(FileFault{FileCall::ListFolder, hookedError});
    const FolderListing listing = listFolder(at(folder));
    QCOMPARE(listing.outcome.error, error);
    QCOMPARE(listing.outcome.path, at(folder));
    QVERIFY(listing.files.isEmpty());
    QCOMPARE(listing.outcome.errorLine(), QStringLiteral("( %1 %2 )").arg(error).arg(errnoDescription(error)));
  }

  // Each call failed through the hook: the operation reports that errno,
  // changes nothing, and a copy leaves the old target and no temporary file.
  void everyHookedFailureReportsItsErrnoAndChangesNothing() {
    struct Case {
      const char* name;
      FileCall call;
      int error;
      int skip;
      std::function<FileOutcome()> run;
    };
    const QString source = at("from/source.das");
    const QString target = at("to/target.das");
    const auto copy = [&] { return copyFileAtomically(source, target); };
    const auto replace = [&] { return replaceFileContent(target, "new content"); };
    const Case cases[] = {
        {"make folder read-only medium", FileCall::MakeFolder, EROFS, 0, [&] { return makeFolder(at("new")); }},
        {"remove folder busy", FileCall::RemoveFolder, EBUSY, 0, [&] { return removeFolder(at("empty")); }},
        {"remove file refused", FileCall::RemoveFile, EACCES, 0, [&] { return removeFile(target); }},
        {"move across devices", FileCall::Rename, EXDEV, 0, [&] { return moveEntry(source, at("to/moved.das")); }},
        {"copy source unreadable", FileCall::OpenSource, EIO, 0, copy},
        {"copy target folder refused", FileCall::CreateTarget, EACCES, 0, copy},
        {"copy read error", FileCall::Read, EIO, 0, copy},
        {"copy disk full on the first write", FileCall::Write, ENOSPC, 0, copy},
        {"copy quota full on a later write", FileCall::Write, EDQUOT, 1, copy},
        {"copy flush fails", FileCall::Sync, EIO, 0, copy},
        {"copy cannot be put in place", FileCall::Rename, EACCES, 0, copy},
        {"new content disk full", FileCall::Write, ENOSPC, 0, replace},
        {"new content cannot be put in place", FileCall::Rename, EPERM, 0, replace},
    };
    for (const Case& c : cases) {
      init();
      // Large enough for several writes of the copy.
      writeFile(source, QByteArray(3 * 1024 * 1024, 's'));
      writeFile(target, "old target");
      QDir(dir_.path()).mkdir(QStringLiteral("empty"));
      const QStringList before = everything(at("to")) + everything(at("from")) + everything(dir_.path());
      FileOutcome outcome;
      {
        ScopedFileFault fault({c.call, c.error, c.skip});
        outcome = c.run();
      }
      QVERIFY2(outcome.error == c.error, c.name);
      QVERIFY2(!outcome.path.isEmpty(), c.name);
      QVERIFY2(outcome.diskFull() == (c.error == ENOSPC || c.error == EDQUOT), c.name);
      QVERIFY2(readFile(target) == "old target", c.name);
      const QStringList after = everything(at("to")) + everything(at("from")) + everything(dir_.path());
      QVERIFY2(after == before, qPrintable(QStringLiteral("%1: %2").arg(c.name, after.join(','))));
    }
  }

  void moveOntoATakenNameChangesNothing_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("file onto file") << QStringLiteral("a/r1.das") << QStringLiteral("b/r1.das");
    QTest::newRow("file onto folder") << QStringLiteral("a/r1.das") << QStringLiteral("b/sub");
    QTest::newRow("folder onto empty folder") << QStringLiteral("a") << QStringLiteral("b/sub");
    QTest::newRow("folder onto folder") << QStringLiteral("a") << QStringLiteral("b");
    QTest::newRow("folder onto file") << QStringLiteral("a") << QStringLiteral("b/r1.das");
  }
  void moveOntoATakenNameChangesNothing() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    writeFile(at("a/r1.das"), "recording a");
    writeFile(at("b/r1.das"), "recording b");
    QDir().mkpath(at("b/sub"));
    const FileOutcome outcome = moveEntry(at(from), at(to));
    QCOMPARE(outcome.error, EEXIST);
    QCOMPARE(outcome.path, at(to));
    QCOMPARE(readFile(at("a/r1.das")), QByteArray("recording a"));
    QCOMPARE(readFile(at("b/r1.das")), QByteArray("recording b"));
    QCOMPARE(everything(at("b/sub")), QStringList());
  }

  void moveToAFreeNameMovesFilesAndFolders() {
    writeFile(at("old/acme.dak"), "customer");
    writeFile(at("old/r1.das"), "recording");
    QVERIFY(moveEntry(at("old"), at("new")));
    QVERIFY(!QFileInfo::exists(at("old")));
    QVERIFY(moveEntry(at("new/acme.dak"), at("new/beta.dak")));
    QCOMPARE(everything(at("new")), (QStringList{"beta.dak", "r1.das"}));
    QCOMPARE(readFile(at("new/beta.dak")), QByteArray("customer"));
  }

  void removeFolderKeepsAFolderThatHoldsFiles() {
    writeFile(at("acme/notes.txt"), "x");
    QCOMPARE(removeFolder(at("acme")).error, ENOTEMPTY);
    QVERIFY(removeFile(at("acme/notes.txt")));
    QVERIFY(removeFolder(at("acme")));
    QCOMPARE(makeFolder(at("acme")).error, 0);
    QCOMPARE(makeFolder(at("acme")).error, EEXIST);
  }

  void copyInPiecesTouchesTheTargetOnlyAtTheEnd() {
    const QByteArray content = QByteArray(3 * 1024 * 1024 + 5, 'c');
    writeFile(at("from/big.das"), content);
    writeFile(at("to/big.das"), "old");
    AtomicCopy copy(at("from/big.das"), at("to/big.das"));
    QCOMPARE(copy.copyPiece(1024 * 1024), AtomicCopy::Step::More);
    const QString temporary = QFileInfo(copy.temporaryPath()).fileName();
    // Hidden, beside the target, and never taken for a recording.
    QVERIFY(temporary.startsWith(QLatin1Char('.')));
    QVERIFY(!temporary.endsWith(QStringLiteral(".das"), Qt::CaseInsensitive));
    QCOMPARE(everything(at("to")), (QStringList{temporary, "big.das"}));
    QCOMPARE(readFile(at("to/big.das")), QByteArray("old"));
    // Three more pieces; the last reads the 5 bytes left and puts the copy in place.
    int calls = 1;
    for (AtomicCopy::Step step = AtomicCopy::Step::More; step == AtomicCopy::Step::More; ++calls) {
      step = copy.copyPiece(1024 * 1024);
    }
    QCOMPARE(calls, 4);
    QVERIFY(copy.outcome());
    QCOMPARE(copy.copiedBytes(), content.size());
    QCOMPARE(readFile(at("to/big.das")), content);
    QCOMPARE(everything(at("to")), QStringList{"big.das"});
  }

  void abandonedCopyLeavesTheOldTarget() {
    writeFile(at("from/r.das"), QByteArray(2 * 1024 * 1024, 'n'));
    writeFile(at("to/r.das"), "old");
    {
      AtomicCopy copy(at("from/r.das"), at("to/r.das"));
      QCOMPARE(copy.copyPiece(1024 * 1024), AtomicCopy::Step::More);
      copy.abandon();
      QCOMPARE(copy.outcome().error, ECANCELED);
      QCOMPARE(copy.copyPiece(), AtomicCopy::Step::Failed);
    }
    {
      // Destroyed under way: the same.
      AtomicCopy copy(at("from/r.das"), at("to/r.das"));
      QCOMPARE(copy.copyPiece(1024 * 1024), AtomicCopy::Step::More);
    }
    QCOMPARE(everything(at("to")), QStringList{"r.das"});
    QCOMPARE(readFile(at("to/r.das")), QByteArray("old"));
  }

  void newContentKeepsTheFilesPermissions() {
    writeFile(at("acme.dak"), "old");
    QVERIFY(QFile::setPermissions(at("acme.dak"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(replaceFileContent(at("acme.dak"), "new"));
    QCOMPARE(readFile(at("acme.dak")), QByteArray("new"));
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(at("acme.dak")).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0640u);
    // A new file: the folder's default, not the temporary file's own 0600.
    QVERIFY(replaceFileContent(at("fresh.dam"), "x"));
    QCOMPARE(::stat(QFile::encodeName(at("fresh.dam")).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0666u & ~currentUmask());
    QCOMPARE(everything(dir_.path()), (QStringList{"acme.dak", "fresh.dam"}));
  }

 private:
  static unsigned currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
  }
};

QTEST_MAIN(FileOperationsTest)
#include "file_operations_test.moc"
