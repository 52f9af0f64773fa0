// The periodic set-up opened in the first seconds of a periodic recording,
// over the real library and the simulated sample installation: it shows the
// running recording's set-up (completion disabled, every marked system's
// size from the library's answer) and not the state it was checked in just
// before the start.
#include "map/frmMap.h"
#include "support/map_window_inside.h"
#include "recording/frmRecode.h"
#include "recording/recording_size.h"
#include "support/simulated_installation.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

class PeriodicSetupOverSimulatorTest : public QObject {
  Q_OBJECT

 private slots:
  void setUpOpenedAsTheRecordingStartsShowsTheRunningRecording() {
    SimulatedInstallation site;
    QVERIFY2(site.setUpError().isEmpty(), qPrintable(site.setUpError()));
    frmMap* started = startWithBusMap(site);
    QVERIFY(started);
    frmMap& map = *started;
    const auto onLine = [&map] {
      const auto system = inside(map).mapQ7netObj->systems.item(1);
      return system && system->airconsOut.item(1) && system->airconsOut.item(1)->onLine == 3;
    };
    QVERIFY(QTest::qWaitFor(onLine, 40000));

    QTest::keyClick(&map, Qt::Key_F5);
    QTest::keyClick(&map, Qt::Key_F7);
    QVERIFY(map.isRecordingPeriodic());
    QTest::keyClick(&map, Qt::Key_F6);
    frmRecode& setUp = frmRecode::instance();
    QVERIFY(setUp.isVisible());
    QVERIFY(!setUp.cmdEnd->isEnabled());
    const QTableWidget& grid = *setUp.grdSystemSelect;
    QTableWidgetItem* firstSize = grid.item(0, 2);
    QVERIFY(firstSize);
    const double bytes = getFileSize(*inside(map).mapQ7netObj, 1);
    QVERIFY(bytes > 1024);
    QCOMPARE(firstSize->text(), QString::number(sizeKilobytes(bytes)) + sizeUnitText(inside(map).mapQ7netObj->recodeMethod));
    QVERIFY(setUp.txtTotalSize->text() != QStringLiteral("1"));

    setUp.cancel();
    QTest::keyClick(&map, Qt::Key_F7);
    QVERIFY(!map.isRecordingPeriodic());
  }
};

QTEST_MAIN(PeriodicSetupOverSimulatorTest)
#include "periodic_setup_over_simulator_test.moc"
