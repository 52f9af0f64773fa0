// The set-up's logic: numbers typed into its boxes, the check before a
// periodic recording, the system rows and their library numbers, the
// sensor-input option, and the sensor items with their hand-over to the
// library.
#include "frame/number_box.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "recording/recode_check.h"
#include "recording/recode_interval.h"
#include "recording/recording_systems.h"
#include "recording/sensor_items.h"
#include "recording_maps.h"
#include "support/fake_tramsoll.h"

#include <QtTest>

#include <limits>

class RecordingSetupTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { setEnglishTexts(); }

  void onlyPlainDecimalsAreNumbersAndHalvesGoToEven() {
    const struct {
      const char* text;
      std::optional<int64_t> value;
    } cases[] = {
        {"12.5", 12}, {"13.5", 14}, {" 7 ", 7}, {"-2.5", -2}, {"-3.5", -4}, {"+8", 8}, {".5", 0}, {"5.", 5},
        // Rounded on the digits, not on a double near them.
        {"2.50000000000000001", 3}, {"2.4999999999999999999", 2}, {"99999999999999999999999", INT64_MAX / 10 - 10},
        {"1e3", {}}, {"1,000", {}}, {"abc", {}}, {"", {}}, {".", {}}, {"-", {}}, {"1.2.3", {}}, {"- 1", {}},
        {"0x10", {}}, {"\xef\xbc\x91\xef\xbc\x92", {}},
    };
    for (const auto& c : cases) QVERIFY2(parseBoxNumber(QString::fromUtf8(c.text)) == c.value, c.text);
  }

  void boxesHoldMinutesAtTenMillionAndRefuseValuesBeyond32Bits() {
    const struct {
      const char* text;
      int32_t minutes;
      bool clamped;
      std::optional<int32_t> whole;
    } cases[] = {
        {"99999999", kMaxRecodeMinutes, true, 99999999}, {"10000000.5", kMaxRecodeMinutes, false, 10000000},
        {"2147483647.4", kMaxRecodeMinutes, true, INT32_MAX}, {"2147483647.5", kMaxRecodeMinutes, true, {}},
        {"-5", -5, false, -5}, {"-2147483649", INT32_MIN, false, {}}, {"letters", 0, false, {}},
    };
    for (const auto& c : cases) {
      const MinutesEntry entry = minutesFromBox(QLatin1String(c.text));
      QVERIFY2(entry.minutes == c.minutes && entry.clamped == c.clamped, c.text);
      QVERIFY2(wholeNumberFromBox(QLatin1String(c.text)) == c.whole, c.text);
    }
    // The interval list never stores a value it cannot show.
    QCOMPARE(QList<int32_t>({recodeIntervalFromText("600", 20), recodeIntervalFromText("45", 20), recodeIntervalIndex(7)}),
             QList<int32_t>({600, 20, -1}));
  }

  void checkUnmarksOnlyUpToTheFirstRecordableSystemOfEachWalk() {
    const struct {
      const char* fault;
      int32_t method, minutes;
      const char *ordinary, *central;
      int32_t result;
      const char* marksAfter;
    } cases[] = {
        {"later marks stay after the find", 1, 30, "10 13 10", "13", kRecodeReady, "011|1"},
        {"the central walk runs after an ordinary find", 1, 30, "13", "10 13", kRecodeReady, "1|01"},
        {"an indoor unit on line makes a system recordable", 1, 30, "13i", "", kRecodeReady, "1|"},
        {"record time 0 is refused before any system", 1, 0, "10", "", kRecodeTimeMissing, "1|"},
        {"a negative record time is refused like 0", 1, -5, "10", "", kRecodeTimeMissing, "1|"},
        {"stopped by hand needs no record time", 0, 0, "13", "", kRecodeReady, "1|"},
        {"an unmarked system on line is not recorded", 1, 30, "10 03", "10", kRecodeSystemMissing, "00|0"},
        {"a map without systems", 1, 30, "", "", kRecodeSystemMissing, "|"},
    };
    for (const auto& c : cases) {
      auto map = makeMap(c.ordinary, c.central);
      map->recodeMethod = c.method;
      map->recodeTime = c.minutes;
      QVERIFY2(checkRecodeData(*map) == c.result && marks(*map) == QLatin1String(c.marksAfter), c.fault);
    }
  }

  void centralSystemsFollowTheOrdinaryOnesInRowsAndLibraryNumbers() {
    auto map = makeMap("10 13", "13");
    QStringList captions;
    for (const SystemRow& row : combinedSystemRows(*map)) captions << systemRowCaption(row.row);
    QCOMPARE(captions, (QStringList{"System 1", "System 2", "System 3"}));
    QCOMPARE(librarySystemNumber(*map, kOrdinarySystem, 2) * 10 + librarySystemNumber(*map, kCentralSystem, 1), 23);
    QVERIFY(!systemCanRecode(*map, kSensorSystem, 1) && !systemCanRecode(*map, kOrdinarySystem, 3));
    unmarkUnrecordableSystems(*map);
    QCOMPARE(marks(*map), "01|1");
  }

  void sensorOptionMovesModeAndAcquisitionAndKeepsOneSensorSystem() {
    const struct {
      int32_t busMode, gatherMode;
      const char* calls;  // changeDataGather arguments after on, on again, off
    } cases[] = {{2, 2, "3,2"}, {4, 4, "5,4"}, {8, 8, "9,8"}, {2, 3, "2"}};
    for (const auto& c : cases) {
      InstalledFake library;
      program().gatherMode = c.gatherMode;
      auto map = makeMap("13");
      map->ifMode = c.busMode;
      setSensorInputRecording(*map, true);
      setSensorInputRecording(*map, true);
      const auto sensor = sensorSystem(*map);
      QVERIFY(map->ifMode == c.busMode + 1 && map->systemsSen.count() == 1 && sensor->systemNumber == 1);
      setSensorInputRecording(*map, false);
      QVERIFY(map->ifMode == c.busMode && program().gatherMode == c.busMode && map->systemsSen.isEmpty());
      QStringList modes;
      for (const QString& call : library.fake.callsOf(QStringLiteral("changeDataGather"))) modes << call.mid(17, 1);
      QCOMPARE(modes.join(','), QLatin1String(c.calls));
    }
  }

  void setSensorDataSendsFixedInputsPlainAndRenamesOnlyMovedSwitches() {
    InstalledFake library;
    library.fake.on<decltype(::getSensorSwPos)>("getSensorSwPos", [](int32_t* switch7, int32_t* switch8) {
      *switch7 = 1;  // input 7 moved to analog, input 8 back to fixed
      *switch8 = 0;
      return 0;
    });
    auto map = makeMap("");
    map->switch8 = 1;
    SensorItemEntries entries;
    entries.checks = {true, true, true, true, true, true, true, false};
    for (int channel = 1; channel <= 8; ++channel) entries.names[channel - 1] = sensorInputName(channel, 0);
    entries.names[7] = QStringLiteral("mine");
    entries.analog = {AnalogEntry{kRange1V, "-10", "50", ""}, AnalogEntry{kRange5V, "0", "0", "V"}};
    saveSensorItems(*map, entries);
    setSensorData(*map);
    QCOMPARE(map->itemName7 + QString::number(map->switch7), "A1");
    QStringList expected;
    for (const char* name : {"Th1", "Th2", "Th3", "Th4", "HP", "LP"}) {
      expected << QStringLiteral("setSensorParm(%1, 1, \"%2\", 0, 5, 0, 0, \" \")").arg(expected.size() + 1).arg(name);
    }
    expected << R"(setSensorParm(7, 1, "A", 1, 1, -10, 50, " "))" << R"(setSensorParm(8, 0, "Th6", 0, 5, 0, 0, "V"))";
    QCOMPARE(library.fake.callsOf(QStringLiteral("setSensorParm")), expected);
    // Unmoved switches keep the engineer's names; texts the library would
    // refuse are cut on a character boundary.
    map->itemName1 = QString(70, QLatin1Char('n'));
    map->itemName7 = QStringLiteral("mine");
    map->unit8 = QString(20, QChar(0xE9));
    library.fake.calls.clear();
    const SensorItemEntries shown = showSensorItems(*map);
    setSensorData(*map);
    const QStringList sent = library.fake.callsOf(QStringLiteral("setSensorParm"));
    QVERIFY(shown.names[6] == "mine" && sent[6].contains("\"mine\""));
    QVERIFY(sent[0].contains('"' + QString(63, QLatin1Char('n')) + '"'));
    QVERIFY(sent[7].endsWith('"' + QString(15, QChar(0xE9)) + "\")"));
  }

  void savedItemsAreTrimmedRoundedAndBecomeTheDefaults() {
    auto map = makeMap("");
    map->switch8 = 1;
    SensorItemEntries entries;
    entries.names = {" Th1 ", "", "", "", "", "", "", ""};
    entries.analog = {AnalogEntry{kRange5V, " 2.5 ", "3.5", " mV "}, AnalogEntry{kRange1V, "-7", "13.5", ""}};
    saveSensorItems(*map, entries);
    QCOMPARE(map->itemName1 + map->itemName3 + "|" + map->itemName7 + "|" + map->itemName8, "Th1|Th5|V");
    const SensorParams& defaults = program().sensorParams;
    QCOMPARE(QList<int32_t>({map->offset7, map->fullscall7, map->range8, map->offset8, map->fullscall8,
                             defaults.fullScale7, defaults.range7, defaults.range8, defaults.offset8}),
             QList<int32_t>({2, 4, 1, -7, 14, 4, 5, 1, -7}));
    QCOMPARE(defaults.unit7 + "|" + defaults.unit8, " mV |");
    const struct {
      const char *offset7, *offset8, *fullScale7;
      std::optional<SensorValueBox> first;
    } checks[] = {{"0", "1x", "0", SensorValueBox::Offset8}, {"a", "1x", "0", SensorValueBox::Offset7},
                  {"0", "0", "2147483648", SensorValueBox::FullScale7}, {"0", " -1.5 ", "0", std::nullopt}};
    for (const auto& c : checks) {
      entries.analog = {AnalogEntry{kRange5V, c.offset7, c.fullScale7, ""}, AnalogEntry{kRange5V, c.offset8, "0", ""}};
      QVERIFY(checkSensorValues(entries) == c.first);
    }
  }
};

QTEST_GUILESS_MAIN(RecordingSetupTest)
#include "recording_setup_test.moc"
