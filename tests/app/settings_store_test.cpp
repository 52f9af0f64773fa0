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
