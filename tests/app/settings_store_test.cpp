// The settings store: names without regard to case, stores as Qt writes
// them and as editors change them, damaged and read-only stores,
// unreadable values, and the program's keys with their defaults and
// replacements.
#include "frame/site/program_settings.h"
#include "frame/site/settings_store.h"
#include "support/test_support.h"

#include <QtTest>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace {

// Every kind of value the program keeps, as it writes them.
struct Stored {
  const char* section;
  const char* key;
  QString text;
};
const Stored kStored[] = {
    {"DspOption", "FontSz", QStringLiteral("8")},        {"DspOption", "Hcursor", QStringLiteral("1")},
    {"DspOption", "Win_Width", QStringLiteral("12000")}, {"DspOption", "Win_Top", QStringLiteral("-30")},
    {"SerialPort", "PortNo", QStringLiteral("3")},       {"SensorInput", "Offset7", QStringLiteral("-3")},
    {"SensorInput", "Unit7", QStringLiteral("kPa, abs")}, {"SensorInput", "Unit8", QStringLiteral("℃")},
    {"SensorInput", "Range8", QStringLiteral("5")},
};

// What an editor or another program may have made of the store's text.
enum class StoreChange { None, CrLf, ByteOrderMark, SectionsTwice, KeyTwice, EmptySectionSpeltOtherwise, ManyKeys };

QByteArray changed(QByteArray text, StoreChange change) {
  switch (change) {
    case StoreChange::None: return text;
    case StoreChange::CrLf: return text.replace("\n", "\r\n");
    case StoreChange::ByteOrderMark: return "\xef\xbb\xbf" + text;
    // The later of two values is the one taken.
    case StoreChange::SectionsTwice: return "[SerialPort]\nPortNo=7\n[DspOption]\nFontSz=9\n" + text;
    case StoreChange::KeyTwice: return text.replace("[SerialPort]\n", "[SerialPort]\nPortNo=7\n");
    case StoreChange::EmptySectionSpeltOtherwise:
      return text.replace("[SerialPort]\n", "[serialport]\n[SERIALPORT]\n");
    case StoreChange::ManyKeys: {
      QByteArray keys = "[DspOption]\n";
      for (int key = 0; key < 40000; ++key) keys += "Filler" + QByteArray::number(key) + "=" + QByteArray::number(key) + '\n';
      return keys + text;
    }
  }
  return text;
}

const QString kSkipped = QStringLiteral("skipped");

// Runs `check` as an unprivileged user: here when the test is not root,
// else in a child process that takes the user id of "nobody" and is given
// `owned` first. "" when the check held, kSkipped when no such user id can
// be taken, else what went wrong.
QString asUnprivilegedUser(const QStringList& owned, const std::function<bool()>& check) {
  if (::geteuid() != 0) return check() ? QString() : QStringLiteral("the check failed");
  const passwd* nobody = ::getpwnam("nobody");
  const uid_t user = nobody ? nobody->pw_uid : 65534;
  const gid_t group = nobody ? nobody->pw_gid : 65534;
  for (const QString& path : owned) {
    if (::chown(QFile::encodeName(path).constData(), user, group) != 0) return kSkipped;
  }
  const pid_t child = ::fork();
  if (child < 0) return kSkipped;
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 || ::setuid(user) != 0) ::_exit(77);
    ::_exit(check() ? 0 : 1);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 77) return kSkipped;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return QString();
  return QStringLiteral("the check failed as an unprivileged user (status %1)").arg(status);
}

}  // namespace

class SettingsStoreTest : public QObject {
  Q_OBJECT

 private slots:
  void namesAreComparedWithoutRegardToCase() {
    ScratchSettings store;
    store.store(QStringLiteral("DspOption"), QStringLiteral("Hcursor"), QStringLiteral("1"));
    QCOMPARE(settings::readNumber(QStringLiteral("DspOption"), QStringLiteral("HCursor"), 0), 1);
    QCOMPARE(settings::readNumber(QStringLiteral("dspoption"), QStringLiteral("HCURSOR"), 0), 1);
    // A write under another spelling replaces the stored value, not adds one.
    settings::writeNumber(QStringLiteral("DSPOPTION"), QStringLiteral("HCursor"), 0);
    QCOMPARE(store.stored(QStringLiteral("DspOption"), QStringLiteral("Hcursor")), QStringLiteral("0"));
    QVERIFY(!store.has(QStringLiteral("DspOption"), QStringLiteral("HCursor")));
    QVERIFY(!store.has(QStringLiteral("DSPOPTION"), QStringLiteral("HCursor")));
    // A new key takes the spelling it is written with.
    settings::writeText(QStringLiteral("SensorInput"), QStringLiteral("Unit7"), QStringLiteral("kPa, abs"));
    QCOMPARE(settings::readText(QStringLiteral("sensorinput"), QStringLiteral("unit7"), QString()),
             QStringLiteral("kPa, abs"));
  }

  // Qt writes the store's text and reads it back; the program finds in it
  // what Qt finds, also where an editor or another program changed it.
  void storesQtWroteReadTheSameBothWays_data() {
    QTest::addColumn<int>("change");
    QTest::addColumn<QString>("portSection");  // the serial port's section as stored
    const QString port = QStringLiteral("SerialPort");
    QTest::newRow("as Qt writes it") << int(StoreChange::None) << port;
    QTest::newRow("CRLF line ends") << int(StoreChange::CrLf) << port;
    QTest::newRow("byte-order mark") << int(StoreChange::ByteOrderMark) << port;
    QTest::newRow("sections twice") << int(StoreChange::SectionsTwice) << port;
    QTest::newRow("a key twice") << int(StoreChange::KeyTwice) << port;
    QTest::newRow("an empty section spelt another way") << int(StoreChange::EmptySectionSpeltOtherwise)
                                                        << QStringLiteral("SERIALPORT");
    QTest::newRow("40,000 keys before") << int(StoreChange::ManyKeys) << port;
  }
  void storesQtWroteReadTheSameBothWays() {
    QFETCH(int, change);
    QFETCH(QString, portSection);
    ScratchSettings store;
    const auto name = [&](const Stored& value) {
      const QString section = QString::fromLatin1(value.section);
      return (section == QLatin1String("SerialPort") ? portSection : section) + u'/' + QLatin1String(value.key);
    };
    for (const Stored& value : kStored) store.store(value.section, value.key, value.text);
    store.write(changed(store.content(), StoreChange(change)));
    QMap<QString, QString> byQt = store.all();
    for (const Stored& value : kStored) {
      QCOMPARE(byQt.value(name(value)), value.text);  // the row's store is as meant
      QCOMPARE(settings::readText(value.section, value.key, QStringLiteral("missing")), value.text);
    }
    // One value of each section set anew: Qt reads what was set, and every
    // other value as it was.
    for (const Stored* value : {&kStored[0], &kStored[4], &kStored[6]}) {
      QVERIFY(settings::writeText(value->section, value->key, value->text + u'1'));
      byQt[name(*value)] += u'1';
    }
    QCOMPARE(store.all(), byQt);
    settings::useStoreFile(store.storeFile());
    for (const Stored& value : kStored) {
      QCOMPARE(settings::readText(value.section, value.key, QStringLiteral("missing")), byQt.value(name(value)));
    }
  }

  // Texts of every kind, set by the program and by Qt.
  void textsReadAsQtReadsThemBothWays() {
    ScratchSettings store;
    const QString section = QStringLiteral("SensorInput");
    const QString key = QStringLiteral("Unit7");
    for (const QString& text :
         {QStringLiteral("℃"), QStringLiteral("kPa, abs"), QStringLiteral("a;b=c"), QStringLiteral(" edges "),
          QStringLiteral("say \"hi\"\\"), QStringLiteral("tab\there\nline"), QStringLiteral("@at"),
          QStringLiteral("@String(x)"), QString::fromUtf8("\x01" "1\x7f"), QStringLiteral("😀 m³"), QString()}) {
      QVERIFY2(settings::writeText(section, key, text), qPrintable(text));
      QCOMPARE(store.stored(section, key), text);
      store.store(section, key, text);
      QCOMPARE(settings::readText(section, key, QStringLiteral("missing")), text);
    }
  }

  // A store far over what the program keeps is damaged: its values are not
  // taken, and it is never replaced, so nothing in it is lost.
  void aStoreOverItsSizeIsDamagedAndKept() {
    for (const qint64 size : {settings::kLargestStore, settings::kLargestStore + 1}) {
      ScratchSettings store;
      QByteArray content = "[SerialPort]\nPortNo=3\n; ";
      content += QByteArray(size - content.size() - 1, 'a') + '\n';
      store.write(content);
      const bool damaged = size > settings::kLargestStore;
      QCOMPARE(readComPortSetting(), damaged ? 1 : 3);
      QCOMPARE(settings::storeIsWritable(), !damaged);
      QCOMPARE(settings::writeNumber(QStringLiteral("SerialPort"), QStringLiteral("PortNo"), 4), !damaged);
      if (damaged) QVERIFY(store.content() == content);
    }
  }

  // A store file the user may not write is not replaced, even in a folder
  // the user may write: as root every file may be written, so the check
  // runs in a child process as an unprivileged user.
  void aStoreTheUserMayNotWriteIsNotSaved() {
    ScratchSettings store;
    const QByteArray content = "[SerialPort]\nPortNo=3\n";
    store.write(content);
    QVERIFY(QFile::setPermissions(store.storeFile(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QString why = asUnprivilegedUser({store.path(), QFileInfo(store.storeFile()).path(), store.storeFile()}, [] {
      return settings::readNumber(QStringLiteral("SerialPort"), QStringLiteral("PortNo"), 1) == 3 &&
             !settings::storeIsWritable() &&
             !settings::writeNumber(QStringLiteral("SerialPort"), QStringLiteral("PortNo"), 4);
    });
    if (why == kSkipped) QSKIP("no unprivileged user id to take here");
    QVERIFY2(why.isEmpty(), qPrintable(why));
    QVERIFY(store.content() == content);
  }

  void unreadableNumbersBecomeTheirDefault() {
    ScratchSettings store;
    const QString section = QStringLiteral("SerialPort");
    const QString key = QStringLiteral("PortNo");
    QCOMPARE(settings::readNumber(section, key, 4), 4);  // missing
    for (const char* text : {"abc", "3x", "", "4.0", "99999999999"}) {
      store.store(section, key, QString::fromLatin1(text));
      QCOMPARE(settings::readNumber(section, key, 4), 4);
    }
    store.store(section, key, QStringLiteral(" -12 "));
    QCOMPARE(settings::readNumber(section, key, 4), -12);
  }

  void windowPlaceKeepsItsMinimums() {
    ScratchSettings store;
    const WindowPlace defaults = readMainWindowPlace();
    QCOMPARE(defaults.width, 9600);
    QCOMPARE(defaults.height, 7095);
    QCOMPARE(defaults.top, 0);
    QCOMPARE(defaults.left, 0);
    const QString section = QStringLiteral("DspOption");
    store.store(section, QStringLiteral("Win_Width"), QStringLiteral("100"));
    store.store(section, QStringLiteral("Win_Height"), QStringLiteral("6599"));
    store.store(section, QStringLiteral("Win_Top"), QStringLiteral("-50"));
    store.store(section, QStringLiteral("Win_Left"), QStringLiteral("wide"));
    const WindowPlace place = readMainWindowPlace();
    QCOMPARE(place.width, 7400);
    QCOMPARE(place.height, 6600);
    QCOMPARE(place.top, 0);
    QCOMPARE(place.left, 0);
  }

  void portAndSensorInputs() {
    ScratchSettings store;
    QCOMPARE(readComPortSetting(), 1);
    const SensorParams defaults = readSensorParamsSetting();
    QCOMPARE(defaults.range7, 5);  // the stored default 0 is no range
    QCOMPARE(defaults.unit7, QString());
    for (const auto& [text, port] : {std::pair{"8", 8}, {"9", 1}, {"0", 1}, {"COM2", 1}}) {
      store.store(QStringLiteral("SerialPort"), QStringLiteral("PortNo"), QString::fromLatin1(text));
      QCOMPARE(readComPortSetting(), port);
    }
    SensorParams sensor;
    sensor.offset7 = -3;
    sensor.fullScale7 = 100;
    sensor.unit7 = QStringLiteral("℃");
    sensor.fullScale8 = 50;
    sensor.range7 = 1;
    sensor.range8 = 2;
    writePortAndSensorSettings(6, sensor);
    QCOMPARE(store.stored(QStringLiteral("SerialPort"), QStringLiteral("PortNo")), QStringLiteral("6"));
    QCOMPARE(store.stored(QStringLiteral("SensorInput"), QStringLiteral("Range8")), QStringLiteral("2"));
    const SensorParams read = readSensorParamsSetting();
    QCOMPARE(read.offset7, -3);
    QCOMPARE(read.fullScale7, 100);
    QCOMPARE(read.unit7, QStringLiteral("℃"));
    QCOMPARE(read.fullScale8, 50);
    QCOMPARE(read.range7, 1);
    QCOMPARE(read.range8, 5);  // 2 is no range
  }
};

QTEST_MAIN(SettingsStoreTest)
#include "settings_store_test.moc"
