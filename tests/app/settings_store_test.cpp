// The settings store: names without regard to case, unreadable values, and
// the program's keys with their defaults and replacements.
#include "frame/site/program_settings.h"
#include "frame/site/settings_store.h"
#include "support/test_support.h"

#include <QtTest>

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

  // The program reads and writes the store itself; Qt's INI reader, which
  // wrote it in earlier versions, is the judge of the format both ways.
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
    // Hand-written files: the program finds what Qt finds.
    const char* const written[] = {
        "[SensorInput]\nUnit7=kPa, abs\n",
        "[SensorInput]\r\nUnit7 = \"a, b\" , c \r\n",
        "; note\n[SensorInput]\nUnit7=x ; trailing note\n",
        "[SensorInput]\nUnit7=\"two\nlines\"\n",
        "[SensorInput]\nUnit7=one\\\ntwo\n",
        "[SensorInput]\nUnit7=\\x41\\102\\q\n",
        "[SensorInput]\nUnit7=first\n[Other]\nA=1\n[SensorInput]\nUnit7=last\n",
        "[SensorInput]\nUnit%37=escaped key\n",
        "[SensorInput\nUnit7=unclosed\n",
        "[SensorInput]\nUnit7\n=no key\nUnit7=@@double\n",
    };
    for (const char* text : written) {
      QFile file(store.storeFile());
      QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) > 0);
      file.close();
      const QString byQt = store.has(section, key) ? store.stored(section, key) : QStringLiteral("missing");
      QVERIFY2(settings::readText(section, key, QStringLiteral("missing")) == byQt, text);
    }
    // A write keeps what it did not set as it was.
    QFile file(store.storeFile());
    const QByteArray kept = "[Other]\nPlace=@Rect(1 2 3 4)\nList=a, b\n";
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(kept) == kept.size());
    file.close();
    QVERIFY(settings::writeNumber(section, QStringLiteral("Range7"), 1));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith(kept));
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
