// The map's recordings over the real library and the simulated sample
// installation, from the map's keys: a periodic recording without a
// customer writes const1.das into the program folder and one for a
// customer writes into the customer's folder, a trigger recording is
// inspected until the installation meets its condition, and the bus log
// starts with the library's text.
#include "frame/library/tramsoll_client.h"
#include "frame/program_start.h"
#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "map/frmInterface.h"
#include "map/frmMap.h"
#include "map/map_builder.h"
#include "map/map_picture.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/simulated_installation.h"
#include "types/unit_kinds.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

namespace {

// The library's number of the item "Warning" of system 1's outdoor unit,
// which shows a warning in the sample installation; 0 when it has none.
int32_t warningOfSystemOne() {
  const ItemSource unit{0, QString(), 0, 1, kOutdoorUnit, 1};
  int32_t items = 0, records = 0, trigger = 0, interval = 0;
  tramsollApi().getDataItemNum(0, "", 0, 1, kOutdoorUnit, 1, &items, &records, &trigger, &interval);
  for (int32_t number = 1; number <= items; ++number) {
    if (TramsollClient().dataItem(unit, number).itemName == QLatin1String("Warning")) return number;
  }
  return 0;
}

QStringList filesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }

}  // namespace

class RecordingOverSimulatorTest : public QObject {
  Q_OBJECT

 private slots:
  void recordingsFromTheMapReachTheirFiles() {
    SimulatedInstallation site;
    QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
    QVERIFY(startProgram(StartEnvironment{QDate(2024, 5, 1), site.lockFolder()}));
    program().workMode = kWorkRecording;
    frmInterface& access = frmInterface::instance();
    access.showForMap(frmInterface::kRecordOnly, frmInterface::kNewMap);
    access.doFix();
    frmMap& map = frmMap::instance();
    const auto onLine = [&map] {
      const auto system = map.recordingMap()->systems.item(1);
      return system && system->airconsOut.item(1) && system->airconsOut.item(1)->onLine == 3;
    };
    QVERIFY(QTest::qWaitFor(onLine, 40000));
    const QLabel& periodicMark = *inside(map).picMap->lblRecode[0];
    const QLabel& triggerMark = *inside(map).picMap->lblRecodeTrigger[0];

    // Periodic, without a customer: const<n>.das in the program folder.
    QTest::keyClick(&map, Qt::Key_F5);
    QTest::keyClick(&map, Qt::Key_F7);
    QVERIFY(map.isRecordingPeriodic() && periodicMark.isVisibleTo(inside(map).picMap));
    QVERIFY2(filesIn(site.folder.path()).contains(QStringLiteral("const1.das")),
             qPrintable(filesIn(site.folder.path()).join(' ')));
    QTest::qWait(2500);  // the poll finds it running
    QVERIFY(map.isRecordingPeriodic());
    QTest::keyClick(&map, Qt::Key_F7);
    QVERIFY(!map.isRecordingPeriodic() && !periodicMark.isVisibleTo(inside(map).picMap));

    // For a customer: a file named by its start and system in its folder.
    currentCustomer().id = QStringLiteral("c07");
    QVERIFY(QDir(site.folder.path()).mkdir(QStringLiteral("c07")));
    QTest::keyClick(&map, Qt::Key_F7);
    const QStringList customerFiles = filesIn(site.folder.file(QStringLiteral("c07")));
    const QRegularExpression named(QStringLiteral("^[0-9]{2}[1-9A-C][0-9]{4}[0-9A-F]{3}C1\\.das$"));
    QVERIFY2(!customerFiles.filter(named).isEmpty(), qPrintable(customerFiles.join(' ')));
    QTest::keyClick(&map, Qt::Key_F7);
    currentCustomer().id.clear();

    // Trigger: inspected until the unit's warning meets the condition. The
    // start is taken without the trigger set-up: the model is given the
    // condition as the set-up would build it.
    const int32_t warning = warningOfSystemOne();
    QVERIFY(warning > 0);
    giveTheModelOneCondition(inside(map).systemTriggerObj, warning);
    map.startRecodeTrigger();
    QVERIFY(map.isRecordingTrigger() && triggerMark.isVisibleTo(inside(map).picMap));
    QCOMPARE(triggerMark.text(), QStringLiteral("Trig. Inspect."));
    QVERIFY(QTest::qWaitFor([&] { return triggerMark.text() == QStringLiteral("Trig. Record."); }, 40000));
    QVERIFY(map.isTriggerMet());
    QTest::keyClick(&map, Qt::Key_F9);
    QVERIFY(!map.isRecordingTrigger() && !triggerMark.isVisibleTo(inside(map).picMap));

    // The bus log, from display mode.
    QTest::keyClick(&map, Qt::Key_F4);
    QTest::keyClick(&map, Qt::Key_F7);
    QVERIFY(map.isRecordingBusData());
    QTest::qWait(1500);
    QTest::keyClick(&map, Qt::Key_F7);
    QVERIFY(!map.isRecordingBusData());
    QProcess dump;
    dump.start(QStringLiteral(PELOMAR_BIN_DIR "/das-dump"), {program().q7dataFolder + QStringLiteral(".dl2")});
    QVERIFY(dump.waitForFinished(10000));
    const QString printed = QString::fromUtf8(dump.readAllStandardOutput());
    QVERIFY2(printed.contains(QStringLiteral("Service Pelomar VEXA5 Log")), qPrintable(printed.left(400)));

    inside(map).cmdCancel->click();
    QVERIFY(QTest::qWaitFor([] { return !program().mapFormOpen; }, 5000));
  }
};

QTEST_MAIN(RecordingOverSimulatorTest)
#include "recording_over_simulator_test.moc"
