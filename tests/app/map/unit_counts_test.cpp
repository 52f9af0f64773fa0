// The unit-counts window: a row per system, central systems numbered on
// after the ordinary ones, the sub totals and the total; a snapshot that a
// further F8 only brings forward, and that the map's closing unloads.
#include "frame/grid.h"
#include "frame/program_values.h"
#include "map/frmAirconNumShow.h"
#include "map/frmMap.h"
#include "map/map_builder.h"
#include "support/map_window_inside.h"
#include "support/program_fixture.h"
#include "support/program_test.h"

#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

// The grid's rows below the heading, each row's cells joined with "|".
QStringList rows(QTableWidget& grid) {
  Grid cells(grid);
  QStringList texts;
  for (int row = 0; row < grid.rowCount(); ++row) {
    QStringList row_;
    for (int column = 0; column < grid.columnCount(); ++column) row_ << cells.text(row, column);
    texts << row_.join(QLatin1Char('|'));
  }
  return texts;
}

}  // namespace

class UnitCountsTest : public ProgramTest {
  Q_OBJECT

 private slots:
  void countsEverySystemWithSubTotalsAndTotal() {
    struct Case {
      const char* fault;
      std::vector<std::pair<int, int>> ordinary;
      int central;
      QStringList rows;
    };
    const Case cases[] = {
        {"three systems and two central systems", {{2, 5}, {1, 0}, {4, 30}}, 2,
         {"System 1|2|5|", "System 2|1|0|", "System 3|4|30|", "System 4|||1", "System 5|||1", "Sub total|7|35|2",
          "Total|44||"}},
        {"an empty map", {}, 0, {"Sub total|0|0|0", "Total|0||"}},
    };
    for (const Case& c : cases) {
      frmAirconNumShow& window = frmAirconNumShow::instance();
      auto map = std::make_shared<MapQ7net>(mapOf(c.ordinary, c.central));
      std::tie(map->customName, map->ifMode) = std::tuple(QStringLiteral("Acme"), 2);
      window.mapQ7netObj = map;
      window.showForm();
      QVERIFY2(rows(*window.grdList) == c.rows, c.fault);
      saveScreenshot(window, QStringLiteral("unit-counts-%1").arg(c.central));
      QCOMPARE(window.grdList->horizontalHeaderItem(3)->text(), QStringLiteral("Central device"));
      QCOMPARE(window.windowTitle(), QStringLiteral("Number of Units Display(Acme,Q7-NET)"));
      QTest::keyClick(&window, Qt::Key_Escape);
      QVERIFY(!window.isLoaded());
    }
  }

  void aFurtherF8OnlyBringsTheSnapshotForwardAndTheMapsClosingUnloadsIt() {
    program().workMode = kWorkRecording;
    frmMap& map = frmMap::instance();
    inside(map).mapQ7netObj = inside(map).newMapQ7netObj = std::make_shared<MapQ7net>(mapOf({{1, 2}}));
    map.recordingMap()->ifMode = 2;
    map.showForm();
    inside(map).tmrForExecTramsoll->stop();
    inside(map).tmrForRefreshMap->stop();
    QTest::keyClick(&map, Qt::Key_F4);
    QTest::keyClick(&map, Qt::Key_F8);
    frmAirconNumShow& window = frmAirconNumShow::instance();
    QVERIFY(window.isLoaded());
    map.recordingMap()->systems.item(1)->airconsIn.clear();
    QTest::keyClick(&map, Qt::Key_F8);
    QCOMPARE(rows(*window.grdList).value(0), QStringLiteral("System 1|1|2|"));
    inside(map).cmdCancel->click();
    map.tmrForEnd_Timer();
    QVERIFY(!map.isLoaded() && !window.isLoaded());
  }
};

QTEST_MAIN(UnitCountsTest)
#include "unit_counts_test.moc"
