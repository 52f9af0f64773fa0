// The map window over the real library and the simulated sample
// installation: a record-only bus map fills from the scans, and when the
// adapter goes away the engineer is told once of the time-out and once of
// the missing port, and the map still closes.
#include "frame/program_values.h"
#include "map/frmMap.h"
#include "simulator.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/simulated_installation.h"

#include <QPushButton>
#include <QtTest>

namespace {

// Outdoor units per ordinary system and the central systems.
QList<int> outdoorCounts(const MapQ7net& map) {
  QList<int> counts;
  for (const auto& system : map.systems) counts << system->airconsOut.count();
  return counts;
}

}  // namespace

class MapOverSimulatorTest : public QObject {
  Q_OBJECT

 private slots:
  void sampleMapFillsAndSurvivesTheAdapterGoingAway() {
    SimulatedInstallation site;
    QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
    frmMap* opened = startWithBusMap(site);
    QVERIFY(opened);
    frmMap& map = *opened;

    // Systems of outdoor units 1, 2, 3 and 6, the indoor units 17 and 18 on
    // the first, 19 on the second, and the central unit 32.
    const MapQ7net& shown = *map.recordingMap();
    QVERIFY2(QTest::qWaitFor([&] { return shown.systems.count() == 4 && shown.systemsCen.count() == 1; }, 20000),
             qPrintable(QString::number(shown.systems.count())));
    QCOMPARE(outdoorCounts(shown), QList<int>({1, 1, 1, 1}));
    QVERIFY(QTest::qWaitFor([&] { return shown.systems.item(1)->airconsIn.count() == 2; }, 10000));
    QCOMPARE(shown.systemsCen.item(1)->airconsCen.item(1)->autoAddress, 32);
    QCOMPARE(inside(map).mapShowManagerObj.totalPages, 5);

    MessageCollector messages;
    site.simulator().stop();
    QVERIFY2(QTest::qWaitFor([&] { return messages.keys.size() >= 2; }, 60000), qPrintable(messages.keys.join(' ')));
    QTest::qWait(3000);  // nothing more is told
    QCOMPARE(messages.keys, QStringList({QStringLiteral("6-1"), QStringLiteral("5-3")}));

    inside(map).cmdCancel->click();
    QVERIFY(QTest::qWaitFor([] { return !program().mapFormOpen; }, 5000));
    QVERIFY(!map.isLoaded());
  }
};

QTEST_MAIN(MapOverSimulatorTest)
#include "map_over_simulator_test.moc"
