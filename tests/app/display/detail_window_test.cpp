// The detail windows of a display window over the fake library: their
// numbering, the time column of a replay and of a live window, the item
// columns read from the library in calls of at most 121 records, hiding by
// Esc and by the parent's closing, the live refill, and their end with the
// parent.
#include "display/frmDataShow.h"
#include "display/frmDataShow2.h"
#include "frame/event_manager.h"
#include "support/display_windows.h"
#include "types/unit_kinds.h"

#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

#include <cstring>

namespace {

// The value text of an item at a record, as the fake library gives it.
QByteArray valueAt(int32_t item, int32_t record, int32_t round) {
  return QByteArray::number(item) + ':' + QByteArray::number(record) + (round ? "+" : "");
}

}  // namespace

class DetailWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<DisplayWorld> display;
  // getGraphData2 calls as "system kind unit item first count".
  QStringList reads;
  int32_t round = 0;  // a new round of values

  std::shared_ptr<frmDataShow2> detailOf(frmDataShow& window) {
    QTest::keyClick(window.grdList, Qt::Key_D);
    std::shared_ptr<frmDataShow2> newest;
    for (const auto& held : window.detailForms) {
      if (!newest || held->formNumber > newest->formNumber) newest = held;
    }
    return newest;
  }

 private slots:
  void init() {
    display = std::make_unique<DisplayWorld>();
    reads.clear();
    round = 0;
    display->fake().on<decltype(::getGraphData2)>(
        "getGraphData2", [this](int32_t, const char*, int32_t, int32_t system, int32_t kind, int32_t unit,
                                int32_t item, int32_t first, int32_t count, char* texts) {
          reads << QStringLiteral("%1 %2 %3 %4 %5 %6").arg(system).arg(kind).arg(unit).arg(item).arg(first).arg(count);
          for (int32_t j = 0; j < count; ++j) {
            const QByteArray text = valueAt(item, first + j, round);
            std::memcpy(texts + 10 * j, text.constData(), static_cast<std::size_t>(text.size()));
          }
          return 0;
        });
  }
  void cleanup() { display.reset(); }

  void detailWindowsAreNumberedAboveTheHighestOpen() {
    display->items->setItems(kOutdoorUnit, 1, {analog("A", 1)});
    auto window = display->openReplay(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    QVERIFY(window);
    QCOMPARE(detailOf(*window)->formNumber, 1);
    const auto second = detailOf(*window);
    QCOMPARE(second->formNumber, 2);
    // The second one closed by its close box leaves the list; its number is
    // taken again.
    second->subWindow()->close();
    QCOMPARE(window->detailForms.count(), 1);
    QVERIFY(!window->detailForms.contains(QStringLiteral("2")) && second->now_show == 0);
    QCOMPARE(detailOf(*window)->formNumber, 2);
    QCOMPARE(detailOf(*window)->formNumber, 3);
    // Hidden ones keep their numbers.
    QTest::keyClick(window->detailForms.item(QStringLiteral("3"))->grd, Qt::Key_Escape);
    QCOMPARE(detailOf(*window)->formNumber, 4);
  }

  void aReplayScreenIsReadInCallsOf121() {
    display->items->setItems(kOutdoorUnit, 1, {analog("A", 1), analog("B"), twoState("C", 1)});
    display->items->setItems(kIndoorUnit, 1, {analog("T", 1)});
    display->items->records = 300;
    auto window = display->openReplay(systemOf(kOrdinarySystem, {1, 1, 0, 0}, [](GraphSystem& graph) {
      graph.customName = QStringLiteral("Acme");
      graph.mapName = QStringLiteral("Roof");
    }));
    QVERIFY(window);
    QTest::keyClick(window->grdList, Qt::Key_F2);  // 1800 s: the whole file, 300 records
    QCOMPARE(window->graphSystem().graphNum, 300);
    reads.clear();
    const auto detail = detailOf(*window);
    QVERIFY(detail->isVisible());
    QCOMPARE(detail->windowTitle(), QStringLiteral("Operation Data Display [detail] (Acme,Roof)"));
    // The outdoor unit's default items, analog and digital alike.
    QCOMPARE(detail->columnItems(), (std::vector<DetailColumn>{{1, 1, kOutdoorUnit}, {1, 3, kOutdoorUnit}}));
    QCOMPARE(reads, QStringList({"1 0 1 1 1 121", "1 0 1 1 122 121", "1 0 1 1 243 58", "1 0 1 3 1 121",
                                 "1 0 1 3 122 121", "1 0 1 3 243 58"}));
    QCOMPARE(detail->grd->rowCount(), 300);
    QCOMPARE(detail->grd->horizontalHeaderItem(1)->text(), QStringLiteral("1 O-1-A"));
    QCOMPARE(detail->grd->horizontalHeaderItem(2)->toolTip(), QStringLiteral("3 O-1-C"));
    const QStringList values = gridColumn(*detail->grd, 2);
    QCOMPARE(values.first(), QStringLiteral("3:1"));
    QCOMPARE(values.last(), QStringLiteral("3:300"));
    // Paging the parent does not refill a replay's detail window.
    reads.clear();
    QTest::keyClick(window->grdList, Qt::Key_F1);
    QVERIFY(reads.isEmpty());
  }

  void timesFollowTheRecordingAcrossMidnight() {
    display->items->setItems(kOutdoorUnit, 1, {analog("A")});
    display->items->records = 200;
    display->items->interval = 60;
    auto window = display->openReplay(systemOf(kOrdinarySystem, {1, 0, 0, 0}, [](GraphSystem& graph) {
      graph.saveTime = 86000;
    }));
    QVERIFY(window);
    GraphSystem& graph = window->graphSystem();
    graph.graphStartNo = 5;
    graph.graphNum = 8;
    const auto detail = detailOf(*window);
    const QStringList times = gridColumn(*detail->grd, 0);
    QCOMPARE(times.size(), 8);
    QCOMPARE(times.first(), QStringLiteral("23:57:20"));
    QCOMPARE(times[3], QStringLiteral("00:00:20"));
    QCOMPARE(detail->start->text(), QStringLiteral("23:57:20 - 00:04:20"));
    // No graphed item: the time column alone, and nothing read.
    QCOMPARE(detail->grd->columnCount(), 1);
    QVERIFY(detail->columnItems().empty() && reads.isEmpty());
  }

  void aLiveDetailRefillsWithItsParentEvenHidden() {
    display->items->setItems(kCentralUnit, 1, {analog("Mode", 1)});
    display->items->second = 300;
    auto window = display->openLive(systemOf(kCentralSystem, {0, 0, 1, 0}), 4);
    QVERIFY(window);
    const auto detail = detailOf(*window);
    // The newest 121 snapshots, 5 s apart up to the cursor's time.
    QCOMPARE(reads, QStringList({"5 100 1 1 1 121"}));  // the central system after the map's four
    QCOMPARE(detail->start->text(), QStringLiteral("23:55:00 - 00:05:00"));
    QCOMPARE(detail->grd->rowCount(), 121);
    QCOMPARE(detail->now_show, 2);
    QTRY_VERIFY(detail->grd->verticalScrollBar()->value() > 0);
    QCOMPARE(detail->grd->verticalScrollBar()->value(), detail->grd->verticalScrollBar()->maximum());

    QTest::keyClick(detail->grd, Qt::Key_Escape);
    QVERIFY(!detail->subWindow()->isVisible() && detail->isLoaded());
    round = 1;
    display->items->second = 305;
    window->tmrForMonitor_Timer();
    QCOMPARE(gridColumn(*detail->grd, 1).first(), QStringLiteral("1:1+"));
    QCOMPARE(detail->start->text(), QStringLiteral("23:55:05 - 00:05:05"));
    QVERIFY(!detail->subWindow()->isVisible());
  }

  void detailWindowsHideWithTheirParentAndGoWhenItUnloads() {
    display->items->setItems(kOutdoorUnit, 1, {analog("A", 1)});
    auto window = display->openLive(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    QVERIFY(window);
    const QPointer<frmDataShow2> first = detailOf(*window).get();
    const QPointer<frmDataShow2> second = detailOf(*window).get();
    window->cancel();
    QVERIFY(!first->subWindow()->isVisible() && !second->subWindow()->isVisible());
    window->tmrForEnd_Timer();
    QVERIFY(window->detailForms.isEmpty());
    QTRY_VERIFY(!first && !second);
  }

  void sixteenColumnsAtMost() {
    std::vector<FakeItem> many;
    for (int i = 0; i < 20; ++i) many.push_back(analog("A"));
    display->items->setItems(kOutdoorUnit, 1, many);
    auto window = display->openReplay(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    QVERIFY(window);
    for (const auto& item : window->graphSystem().airconsOut.item(1)->dataItems) item->graphShow = 1;
    const auto detail = detailOf(*window);
    QCOMPARE(detail->grd->columnCount(), 17);
    QCOMPARE(int(detail->columnItems().size()), 16);
    QCOMPARE(detail->columnItems().back().dataItemNo, 16);
  }
};

QTEST_MAIN(DetailWindowTest)
#include "detail_window_test.moc"
