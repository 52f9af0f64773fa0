// Files the program reads that are not regular files (a FIFO, a link to a
// character device, a socket, a folder) or are too large to read, the
// settings store as a link, and a Lang.ini with a huge faulty field.
#include "frame/help.h"
#include "frame/icon_cache.h"
#include "frame/regular_file.h"
#include "frame/site/program_settings.h"
#include "frame/site/settings_store.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "support/test_support.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QtTest>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>

namespace {

enum class Special { Fifo, DeviceLink, Socket, Folder, OverLimit };

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

// A character device node of the test's own with the null device's numbers,
// or "" when none may be made here (mknod needs root).
QString privateNullDevice(const QString& folder) {
  const QString own = QDir(folder).filePath(QStringLiteral("null-device"));
  if (::mknod(encoded(own).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0) return own;
  return QString();
}

// Whether a device node of the test's own can be made here.
bool deviceNodesCanBeMade() {
  const QTemporaryDir folder;
  return !privateNullDevice(folder.path()).isEmpty();
}

// A file of `size` bytes that takes no room on the disk.
void makeSparse(const QString& path, off_t size) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QVERIFY(::ftruncate(file.handle(), size) == 0);
}

// Notes every opening of what stands at a path (a link is followed): a
// reader must look at a special file without opening it.
class OpenWatch {
 public:
  explicit OpenWatch(const QString& path) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ >= 0) ::inotify_add_watch(fd_, encoded(path).constData(), IN_OPEN);
  }
  ~OpenWatch() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool opened() const {
    alignas(inotify_event) char events[4096];
    return fd_ >= 0 && ::read(fd_, events, sizeof events) > 0;
  }

 private:
  int fd_;
};

// Puts the special file at `path`; a socket stays bound while `socketFd` is open.
void makeSpecial(Special kind, const QString& path, int& socketFd) {
  QDir().mkpath(QFileInfo(path).path());
  switch (kind) {
    case Special::Fifo: QVERIFY(::mkfifo(encoded(path).constData(), 0600) == 0); break;
    case Special::DeviceLink: {
      const QString device = privateNullDevice(QFileInfo(path).path());
      QVERIFY(!device.isEmpty());
      QVERIFY(QFile::link(device, path));
      break;
    }
    case Special::Socket: {
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      QVERIFY(encoded(path).size() < static_cast<qsizetype>(sizeof address.sun_path));
      std::strcpy(address.sun_path, encoded(path).constData());
      socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
      QVERIFY(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
      break;
    }
    case Special::Folder: QVERIFY(QDir().mkpath(path)); break;
    case Special::OverLimit: makeSparse(path, kLargestRegularFile + 1); break;
  }
}

// Runs the reader beside the test so that a reader waiting on a FIFO fails
// the case instead of stopping the test; the FIFO then gets writers that
// let the reader go.
bool answersInTime(const std::function<bool()>& reader, const QString& path, bool& answer) {
  std::future<bool> done = std::async(std::launch::async, reader);
  if (done.wait_for(std::chrono::seconds(30)) == std::future_status::ready) {
    answer = done.get();
    return true;
  }
  do {  // a reader may open the FIFO again
    const int writer = ::open(encoded(path).constData(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
  } while (done.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready);
  return false;
}

struct Reader {
  const char* name;
  // Where the file lies, given the scratch program folder and settings folder.
  std::function<QString(const ScratchFolder&, const ScratchSettings&)> place;
  // True when the reader treated the file as absent or unreadable.
  std::function<bool()> refused;
  bool onMainThread = false;  // shows a box; it never reads the file
  // Only a reader that should not open the file at all: a socket (which
  // cannot be opened) and a large file (whose refusal is not looked for)
  // would pass with any reader.
  bool neverOpens = false;
};

const QString kStoreName = QStringLiteral("PelomarVexa5Software/PelomarVexa5Software.ini");

std::vector<Reader> readers() {
  return {
      {"Lang.ini", [](const ScratchFolder& f, const ScratchSettings&) { return f.file(QStringLiteral("Lang.ini")); },
       [] { return !readLangIniFile(QDir::current().filePath(QStringLiteral("Lang.ini"))).opened; }},
      {"station file",
       [](const ScratchFolder& f, const ScratchSettings&) { return f.file(QStringLiteral("pelomar3.dam")); },
       [] {
         clearServiceStationInfo();
         const SiteFileResult read = loadServiceStationFile();
         return !read.ok && read.message.contains(QStringLiteral("pelomar3.dam cannot be"));
       }},
      {"customer file",
       [](const ScratchFolder& f, const ScratchSettings&) { return f.file(QStringLiteral("C1/C1.dak")); },
       [] { return loadCustomerFile(QStringLiteral("C1")).message.contains(QStringLiteral("C1.dak cannot be")); }},
      {"settings store", [](const ScratchFolder&, const ScratchSettings& s) { return s.path() + '/' + kStoreName; },
       [] {
         const QString read = settings::readText(QStringLiteral("Display"), QStringLiteral("FontSz"), "default");
         return read == QLatin1String("default") && !settings::storeIsWritable();
       }},
      // The folder-wide file beside the store's folder is no part of the
      // store: whatever stands there is never read.
      {"settings store's folder-wide companion",
       [](const ScratchFolder&, const ScratchSettings& s) {
         return s.path() + u'/' + QLatin1String(settings::kApplication) + QLatin1String(".ini");
       },
       [] {
         const QString read = settings::readText(QStringLiteral("Display"), QStringLiteral("FontSz"), "default");
         return read == QLatin1String("default") && settings::storeIsWritable();
       },
       false, true},
      {"icon file",
       [](const ScratchFolder& f, const ScratchSettings&) { return f.file(QStringLiteral("icons/OU_green.ico")); },
       [] { return !programIcon(QStringLiteral("icons/OU_green.ico")).has_value(); }},
      {"help page",
       [](const ScratchFolder& f, const ScratchSettings&) { return f.file(QStringLiteral("help/index.html")); },
       [] {
         QString shown;
         answerNextModal([&shown](QWidget* modal) {
           shown = qobject_cast<QMessageBox*>(modal)->text();
           modal->close();
         });
         htmlHelp(kHelpDisplayTopic, 0);
         return shown == QLatin1String("Help is not installed.");
       },
       true},
  };
}

}  // namespace

class SpecialFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void everyReaderTakesASpecialFileForAnAbsentOne_data() {
    QTest::addColumn<int>("reader");
    QTest::addColumn<int>("kind");
    const std::vector<Reader> all = readers();
    const std::pair<const char*, Special> kinds[] = {{"FIFO", Special::Fifo},
                                                     {"link to a character device", Special::DeviceLink},
                                                     {"socket", Special::Socket},
                                                     {"folder", Special::Folder},
                                                     {"sparse file over 256 MB", Special::OverLimit}};
    for (int r = 0; r < static_cast<int>(all.size()); ++r) {
      for (const auto& [name, kind] : kinds) {
        // The help page goes to a viewer, not into the program's memory.
        if (kind == Special::OverLimit && all[r].onMainThread) continue;
        if ((kind == Special::OverLimit || kind == Special::Socket) && all[r].neverOpens) continue;
        QTest::addRow("%s: %s", all[r].name, name) << r << static_cast<int>(kind);
      }
    }
  }
  void everyReaderTakesASpecialFileForAnAbsentOne() {
    QFETCH(int, reader);
    QFETCH(int, kind);
    ScratchFolder folder;
    ScratchSettings store;
    const std::vector<Reader> all = readers();
    const Reader& tried = all[static_cast<std::size_t>(reader)];
    const QString path = tried.place(folder, store);
    int socketFd = -1;
    if (kind == int(Special::DeviceLink) && !deviceNodesCanBeMade()) {
      QSKIP("no device node of the test's own can be made here (that needs root), and no test points at the system's");
    }
    makeSpecial(static_cast<Special>(kind), path, socketFd);
    const OpenWatch watch(path);
    bool refused = false;
    if (tried.onMainThread) {
      refused = tried.refused();
    } else {
      QVERIFY2(answersInTime(tried.refused, path, refused), "the reader waited on the file");
    }
    if (socketFd >= 0) ::close(socketFd);
    const bool opened = watch.opened();
    // The scratch folder's files may become fuzz seeds: the special one goes first.
    if (!QFile::remove(path)) QDir(path).removeRecursively();
    QVERIFY(refused);
    // A large regular file may be opened to learn its size; nothing else is.
    if (kind != static_cast<int>(Special::OverLimit)) QVERIFY2(!opened, "the reader opened the file");
  }

  void readerTakesFilesUpToItsLimit() {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("large"));
    for (const off_t size : {kLargestRegularFile, kLargestRegularFile + 1}) {
      makeSparse(path, size);
      const RegularFileRead read = readRegularFile(path);
      QCOMPARE(read.error, size > kLargestRegularFile ? EFBIG : 0);
      QCOMPARE(read.content.size(), size > kLargestRegularFile ? 0 : qsizetype{size});
    }
  }

  // Only the link guard refuses here: the link leads to a regular file the
  // store's reader would take, in a folder the test may write.
  void settingsAreNeverWrittenThroughALink() {
    ScratchSettings store;
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("other.ini"));
    const QByteArray before = "[Display]\nFontSz=8\n";
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
    file.close();
    QDir().mkpath(QFileInfo(store.storeFile()).path());
    QVERIFY(QFile::link(target, store.storeFile()));

    QVERIFY(!settings::storeIsWritable());
    QVERIFY(!settings::writeText(QStringLiteral("Display"), QStringLiteral("FontSz"), QStringLiteral("9")));
    QCOMPARE(QFileInfo(store.storeFile()).symLinkTarget(), target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
  }

  // The store's companions, which Qt's own store would read for a value
  // the store lacks: the folder-wide file beside the store's folder, and
  // the system-wide files of XDG_CONFIG_DIRS.
  void theStoresCompanionFilesAreNeverRead_data() {
    QTest::addColumn<QString>("companion");
    QTest::newRow("folder-wide") << QStringLiteral("%1.ini");
    QTest::newRow("system-wide") << QStringLiteral("system/%1/%1.ini");
    QTest::newRow("system-wide folder-wide") << QStringLiteral("system/%1.ini");
  }
  void theStoresCompanionFilesAreNeverRead() {
    QFETCH(QString, companion);
    ScratchSettings store;
    const QString system = store.path() + QStringLiteral("/system");
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(system));
    const auto restore = qScopeGuard([] { qunsetenv("XDG_CONFIG_DIRS"); });
    store.store(QStringLiteral("Display"), QStringLiteral("FontSz"), QStringLiteral("8"));
    const QString file = store.path() + u'/' + companion.arg(QLatin1String(settings::kApplication));
    QDir().mkpath(QFileInfo(file).path());
    QFile other(file);
    QVERIFY(other.open(QIODevice::WriteOnly) && other.write("[Display]\nFontSz=8\n[SerialPort]\nPortNo=5\n") > 0);
    other.close();
    const OpenWatch watch(file);
    QCOMPARE(readComPortSetting(), 1);
    QVERIFY(settings::writeText(QStringLiteral("Display"), QStringLiteral("FontSz"), QStringLiteral("9")));
    QVERIFY(!store.has(QStringLiteral("SerialPort"), QStringLiteral("PortNo")));
    QVERIFY2(!watch.opened(), "the companion was opened");
  }

  void longFaultyLangIniFieldIsShownCut() {
    ScratchFolder folder;
    setEnglishTexts();
    const QByteArray field = "\x01" + QByteArray(64 * 1024, 'A');
    folder.write(QStringLiteral("Lang.ini"), "12,\"Zwoelf\"\r\n" + field + ",\"x\"\r\nEND\r\n");
    QString shown;
    answerNextModal([&shown](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      shown = box->text();
      box->button(QMessageBox::Ok)->click();
    });
    loadTextTable();
    QCOMPARE(shown, QStringLiteral("Lang.ini file error : \\x01") + QString(33, QLatin1Char('A')) + "...");
    QCOMPARE(labelTexts()[12], QStringLiteral("Zwoelf"));
  }
};

QTEST_MAIN(SpecialFilesTest)
#include "special_files_test.moc"
