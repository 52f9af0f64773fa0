// Expected sizes of periodic and sensor-input recordings, and the free
// space they are held against.
#include "frame/program_values.h"
#include "frame/site/paths.h"
#include "frame/texts/text_table.h"
#include "recording/recording_size.h"
#include "recording_maps.h"
#include "support/fake_tramsoll.h"

#include <QtTest>

class RecordingSizeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    setEnglishTexts();
    program().displayOptions[kOsVersion] = 1;
  }

  void periodicTotalRoundsTheSummedBytesAndOnlyTheCarrierGetsSensorBytes() {
    const struct {
      const char* fault;
      int32_t ifMode, interval, method, system1Header, system1Record;
      const char *ordinary, *central, *rows, *total;
    } cases[] = {
        {"sensor bytes on system 2 only, central as 3", 3, 30, 1, 4600, 228, "13 13", "13", "32KB,18KB,8KB", "57"},
        {"no sensor bytes outside sensor modes", 2, 30, 1, 4600, 228, "13 13", "13", "32KB,15KB,8KB", "53"},
        {"an unmarked system is not shown or summed", 3, 30, 1, 4600, 228, "13 03", "13", "32KB,,8KB", "40"},
        {"by hand one hour, 4.5 KB to even", 2, 600, 0, 1608, 500, "13 13", "13", "5KB/h,4KB/h,3KB/h", "10"},
        {"nothing marked", 2, 30, 1, 4600, 228, "03 03", "03", ",,", "1"},
        {"an interval of 0 divides nothing", 3, 0, 1, 4600, 228, "13 13", "13", "1KB,1KB,1KB", "1"},
    };
    for (const auto& c : cases) {
      InstalledFake library;
      scriptLibrary(library.fake, {{1, {c.system1Header, c.system1Record}}, {2, {2000, 100}}, {3, {1500, 50}}});
      auto map = makeMap(c.ordinary, c.central, 2);
      map->ifMode = c.ifMode;
      map->recodeInterval = c.interval;
      map->recodeMethod = c.method;
      map->recodeTime = 60;
      const RecodeFileSizes sizes = recodeFileSizes(*map);
      const QString rows = QStringList(sizes.rowTexts.begin(), sizes.rowTexts.end()).join(',');
      QVERIFY2(rows == QString::fromLatin1(c.rows).replace("/h", "/hour(s)") && sizes.total == c.total, c.fault);
      QVERIFY2(sizes.unit == (c.method ? "KB" : "KB/hour(s)"), c.fault);
    }
  }

  void sensorInputSizesShowZeroForNothing() {
    InstalledFake library;
    scriptLibrary(library.fake, {{2, {2000, 100}}});
    auto map = makeMap("");
    map->ifMode = 1;
    QStringList hourly;
    for (int32_t interval : {5, 10, 20, 30, 60, 120, 180, 300, 600}) {
      map->recodeInterval = interval;
      hourly << sensorInputFileSize(*map).size + sensorInputFileSize(*map).unit;
    }
    QCOMPARE(hourly.join(' '), "23KB/hour(s) 12KB/hour(s) 7KB/hour(s) 5KB/hour(s) 3KB/hour(s) 2KB/hour(s) "
                               "2KB/hour(s) 1KB/hour(s) 1KB/hour(s)");
    const struct {
      int32_t ifMode, minutes, interval, sensorSystem;
      const char* size;
    } cases[] = {{1, 40, 30, 0, "3KB"}, {1, 30, 20, 0, "4KB"}, {1, 0, 20, 0, "0KB"}, {3, 60, 30, 2, "18KB"},
                 {5, 60, 30, 2, "18KB"}, {9, 60, 30, 2, "18KB"}, {3, 60, 30, 0, "0KB"}, {2, 60, 30, 2, "0KB"}};
    for (const auto& c : cases) {
      auto sensorMap = makeMap("", "", c.sensorSystem);
      sensorMap->ifMode = c.ifMode;
      sensorMap->recodeMethod = 1;
      sensorMap->recodeTime = c.minutes;
      sensorMap->recodeInterval = c.interval;
      QCOMPARE(sensorInputFileSize(*sensorMap).size + sensorInputFileSize(*sensorMap).unit, QLatin1String(c.size));
    }
  }

  void freeSpaceEqualToTheSizeFitsAndStopByHandAsksNothing() {
    const struct {
      const char* fault;
      int32_t ifMode, method, freeKb;
      bool over;
      qsizetype libraryCalls;  // sizes of marked systems and the free-space query
    } cases[] = {
        {"periodic: 46,080 bytes fit into 45 KB", 2, 1, 45, false, 2}, {"periodic: not into 44 KB", 2, 1, 44, true, 2},
        {"sensor only: 2,880 bytes fit into 3 KB", 1, 1, 3, false, 1}, {"sensor only: not into 2 KB", 1, 1, 2, true, 1},
        {"periodic by hand never asks", 2, 0, 0, false, 0}, {"sensor only by hand never asks", 1, 0, 0, false, 0},
    };
    for (const auto& c : cases) {
      InstalledFake library;
      scriptLibrary(library.fake, {{1, {1080, 500}}, {2, {1, 1}}}, c.freeKb);
      auto map = makeMap("13 03");
      map->ifMode = c.ifMode;
      map->recodeMethod = c.method;
      QVERIFY2((c.ifMode == 1 ? sensorInputFileSizeOver(*map) : whetherFileSizeOver(*map)) == c.over, c.fault);
      QVERIFY2(library.fake.calls.size() == c.libraryCalls, c.fault);
    }
  }

  void freeMegabytesFollowTheUsersGrouping() {
    InstalledFake library;
    scriptLibrary(library.fake, {}, 1264128);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(freeDiskMegabyteText(), "1,234.5");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(freeDiskMegabyteText(), "1.234,5");
    QLocale::setDefault(before);
    QCOMPARE(library.fake.calls.first(), QStringLiteral("getFreeDskSzEx(\"%1\", *, *)").arg(programFolder()));
  }
};

QTEST_GUILESS_MAIN(RecordingSizeTest)
#include "recording_size_test.moc"
