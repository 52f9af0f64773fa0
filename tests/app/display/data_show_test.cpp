// The display window over the fake library, opened as its openers open it:
// its items and unit box, its first screen, the caption and the time
// labels, the cursor values and markers of the item list, and its shell
// (the event guard, the close box and Esc, the live refresh, the search
// launch and the screen print).
#include "display/data_items.h"
#include "display/data_search_form.h"
#include "display/data_show_opening.h"
#include "frame/dialogs/ask_yes_no.h"
#include "frame/event_manager.h"
#include "frame/grid.h"
#include "frame/main_window.h"
#include "frame/print_service.h"
#include "frame/program_values.h"
#include "records/data_show_replay.h"
#include "support/display_windows.h"
#include "types/unit_kinds.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

namespace {

QStringList column(const frmDataShow& window, int column) { return gridColumn(*window.grdList, column); }

QStringList unitBox(const frmDataShow& window) {
  QStringList texts;
  for (int i = 0; i < window.cboAircon->count(); ++i) texts << window.cboAircon->itemText(i);
  return texts;
}

QColor background(const frmDataShow& window, int row, int column) {
  return window.grdList->item(row - 1, column)->background().color();
}
QColor foreground(const frmDataShow& window, int row, int column) {
  return window.grdList->item(row - 1, column)->foreground().color();
}

}  // namespace

class DataShowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<DisplayWorld> display;

  FakeTramsoll& fake() { return display->fake(); }
  std::shared_ptr<frmDataShow> openLive(const GraphSystemFill& fill, int32_t ordinarySystems = 0) {
    return display->openLive(fill, ordinarySystems);
  }
  std::shared_ptr<frmDataShow> openReplay(const GraphSystemFill& fill) { return display->openReplay(fill); }
  static bool registered(const frmDataShow& window) {
    return eventManager().askClose(kDataShowFormName, window.formNumber, window.dataSource);
  }

 private slots:
  void init() { display = std::make_unique<DisplayWorld>(); }
  void cleanup() { display.reset(); }

  void itemsBecomeRowsNamedByTheirUnits() {
    struct Case {
      const char* name;
      int32_t kind;
      Units units;
      QStringList rows, box;
    };
    display->items->setItems(kOutdoorUnit, 1, {analog("Tho"), FakeItem{"Hidden", "", 3}, twoState("52C")});
    display->items->setItems(kIndoorUnit, 2, {analog("Thi")});
    display->items->setItems(kCentralUnit, 1, {analog("Mode")});
    display->items->setItems(kSensorUnit, 1, {analog("CH1")});
    const Case cases[] = {
        {"ordinary", kOrdinarySystem, {1, 2, 0, 0}, {"1 O-1-Tho", "2 O-1-52C", "3 I-2-Thi"}, {"O-1", "I-1", "I-2"}},
        {"with its sensor inputs", kOrdinarySystem, {1, 0, 0, 1}, {"1 O-1-Tho", "2 O-1-52C", "3 Sensor-CH1"},
         {"O-1", "Sensor"}},
        {"central", kCentralSystem, {0, 0, 1, 0}, {"1 H--Mode"}, {"H-"}},
        {"sensor only", kSensorSystem, {0, 0, 0, 1}, {"1 Sensor-CH1"}, {"Sensor"}},
    };
    for (const Case& c : cases) {
      auto window = openLive(systemOf(c.kind, c.units));
      QVERIFY2(window, c.name);
      QCOMPARE(column(*window, 1), c.rows);
      QCOMPARE(unitBox(*window), c.box);
      QCOMPARE(window->graphSystem().totalItemNumber, c.rows.size());
      display->owner->closeWindows();
      window->tmrForEnd_Timer();
    }
    // The skipped item leaves a gap in the library's numbers, none in the list's.
    auto window = openLive(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    const GraphAircon& unit = *window->graphSystem().airconsOut.item(1);
    QCOMPARE(unit.dataItems.item(QStringLiteral("2"))->dataItemNo, 3);
    QCOMPARE(unit.dataItems.item(QStringLiteral("2"))->listNo, 2);
    QCOMPARE(column(*window, 4), QStringList({"100", " "}));

    // A system whose items are all hidden: the window is let go unshown.
    display->items->setItems(kOutdoorUnit, 5, {FakeItem{"A", "", 3}, FakeItem{"B", "", 4}});
    const int held = display->owner->count();
    const DataShowOpening none =
        openDataShow(*display->owner, liveDataShow(), systemOf(kOrdinarySystem, {0, 0, 0, 0}, [](GraphSystem& graph) {
                       graph.airconsOut.add(std::make_shared<GraphAircon>(GraphAircon{{}, 1, 0, {}}), "1");
                       graph.airconsOut.item(1)->airconNumber = 5;
                     }));
    QCOMPARE(none.outcome, DataShowOpened::NoItems);
    QCOMPARE(display->owner->count(), held);
  }

  void defaultItemsOfTheChosenUnitAreMarked() {
    for (int32_t unit = 1; unit <= 3; ++unit) display->items->setItems(kOutdoorUnit, unit, {analog("Td", 1), analog("Ts")});
    for (int32_t unit = 1; unit <= 2; ++unit) display->items->setItems(kIndoorUnit, unit, {analog("Thi", 1), twoState("Run", 1)});
    auto window = openLive(systemOf(kOrdinarySystem, {3, 2, 0, 0}, [](GraphSystem& graph) {
      graph.airconNumberNow = 4;  // indoor unit 1
    }));
    QVERIFY(window);
    const GraphSystem& graph = window->graphSystem();
    QCOMPARE(graph.graphTopRow, 7);
    QCOMPARE(window->lastRow(), 7);
    QCOMPARE(window->cboAircon->currentIndex(), 3);
    QCOMPARE(window->grdList->currentRow(), 6);
    QList<int32_t> shown;
    for (const auto& listed : listedItems(graph)) shown << listed.item->graphShow;
    QCOMPARE(shown, QList<int32_t>({0, 0, 0, 0, 0, 0, 1, 1, 0, 0}));
    QCOMPARE(column(*window, 0).mid(6, 2), QStringList({"*", "*"}));
    QCOMPARE(background(*window, 7, 0), QColor(1, 1, 1));  // pen 0 is near-black, not black
    QCOMPARE(background(*window, 8, 0), QColor(0, 0, 255));  // the digital colour

    // The engineer chooses the second outdoor unit: its default is marked,
    // the others' markers go.
    window->cboAircon->setCurrentIndex(1);
    emit window->cboAircon->activated(1);
    QCOMPARE(graph.graphTopRow, 3);
    QCOMPARE(column(*window, 0), QStringList({"", "", "*", "", "", "", "", "", "", ""}));
    QCOMPARE(background(*window, 7, 0), window->grdList->palette().color(QPalette::Base));
    QVERIFY(!window->busyFlag());
    QVERIFY(window->cboAircon->isEnabled());
  }

  void ninthDefaultItemAndSensorLanesStayOff() {
    std::vector<FakeItem> nine;
    for (int i = 1; i <= 9; ++i) nine.push_back(analog("A", 1));
    nine.push_back(twoState("B", 1));
    display->items->setItems(kOutdoorUnit, 1, nine);
    display->items->setItems(kSensorUnit, 1, {analog("CH1", 1), twoState("SW", 1)});
    auto window = openLive(systemOf(kOrdinarySystem, {1, 0, 0, 1}));
    QVERIFY(window);
    QList<int32_t> shown;
    for (const auto& listed : listedItems(window->graphSystem())) shown << listed.item->graphShow;
    // Eight pens and the digital lane; the ninth analog item is off, so is
    // everything of the sensor unit (not chosen).
    QCOMPARE(shown, QList<int32_t>({1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 0}));
    for (int32_t pen = 0; pen < 8; ++pen) QCOMPARE(window->pens().rowOf(pen), pen + 1);
    QCOMPARE(background(*window, 4, 0), QColor(128, 64, 64));  // pen 3
    QCOMPARE(Grid(*window->grdList).text(8, 0), QString());

    // The sensor unit chosen: its analog item takes pen 0, its two-state
    // item (never drawn in the digital graph) stays off.
    window->cboAircon->setCurrentIndex(1);
    emit window->cboAircon->activated(1);
    shown.clear();
    for (const auto& listed : listedItems(window->graphSystem())) shown << listed.item->graphShow;
    QCOMPARE(shown, QList<int32_t>({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
    QCOMPARE(window->pens().rowOf(0), 11);
    QCOMPARE(window->graphSystem().graphTopRow, 11);
  }

  void firstScreenOfTheRecording() {
    struct Case {
      const char* name;
      bool live;
      int32_t records, trigger, interval;
      int32_t start, end, cursor, num, shownInterval;
      bool zoomIn;
    };
    // The record arithmetic's own test walks the first screens; here the
    // window takes them over into its model, buttons, lines and reads.
    const Case cases[] = {
        {"no trigger: cursor in the middle", false, 1000, 0, 20, 1, 31, 16, 31, 20, true},
        {"trigger second to last", false, 1000, 240, 5, 121, 241, 240, 121, 5, true},
        {"120 s cannot zoom in", false, 1000, 0, 120, 1, 6, 3, 6, 120, false},
        {"damaged trigger past the file", false, 100, 500, 5, 1, 100, 100, 100, 5, true},
        {"live: the newest 121 at 5 s", true, 121, 0, 10, 1, 121, 121, 121, 5, false},
    };
    display->items->setItems(kOutdoorUnit, 1, {analog("Tho")});
    for (const Case& c : cases) {
      display->items->records = c.records;
      display->items->trigger = c.trigger;
      display->items->interval = c.interval;
      auto window = c.live ? openLive(systemOf(kOrdinarySystem, {1, 0, 0, 0}))
                           : openReplay(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
      QVERIFY2(window, c.name);
      const GraphSystem& g = window->graphSystem();
      const QByteArray name(c.name);
      QVERIFY2(g.graphStartNo == c.start && g.graphEndNo == c.end && g.graphCusorNo == c.cursor, name);
      QVERIFY2(g.graphNum == c.num && g.recodeInterval == c.shownInterval && g.graphScale == 600, name);
      QVERIFY2(window->cmdLarge->isEnabled() == c.zoomIn, name);
      QVERIFY2(!window->linTriggerAnalog->isVisibleTo(window->picAnalog) == (c.trigger == 0 || c.records < c.trigger),
               name);
      QVERIFY2(fake().callsOf(QStringLiteral("getCursData")).last().endsWith(
                   QStringLiteral(", %1, *, *, *, *, *, *, *)").arg(c.cursor)),
               name);
      display->owner->closeWindows();
      window->tmrForEnd_Timer();
    }
  }

  void captionsAndTimeLabels() {
    display->items->setItems(kCentralUnit, 1, {analog("Mode")});
    display->items->month = 5;
    display->items->second = 240;
    const auto central = systemOf(kCentralSystem, {0, 0, 1, 0}, [](GraphSystem& graph) {
      graph.systemNumber = 2;
      graph.mapName = QStringLiteral("Roof");
      graph.ifMode = 3;
      graph.kind = QStringLiteral("XR-5");
    });
    fake().calls.clear();
    auto live = openLive(central, 3);
    QVERIFY(live);
    QCOMPARE(live->windowTitle(), QStringLiteral("Operation Data Display(Roof,Q7-NET and sensor input,System 5,XR-5)"));
    QVERIFY(fake().callsOf(QStringLiteral("getDataItemNum")).first().startsWith(QStringLiteral("getDataItemNum(0, \"\", 0, 5, 100, 1")));
    QVERIFY(fake().callsOf(QStringLiteral("getCursData")).first().startsWith(QStringLiteral("getCursData(0, \"\", 0, 5, 100, 1, 1, 121")));
    QCOMPARE(live->lblDay->text(), QStringLiteral("Monitoring: 2024/05/01 00:04:00"));
    QStringList ticks;
    for (QLabel* label : live->lblGraph) ticks << label->text();
    QCOMPARE(ticks, QStringList({"23:54:00", "23:59:00", "00:04:00"}));

    auto replay = openReplay(central);
    QCOMPARE(replay->windowTitle(), QStringLiteral("Operation Data Display(Roof,Q7-NET and sensor input,System 2,XR-5)"));

    // A trigger recording started at 23:00, 60 s apart, the trigger on
    // record 65: the screen 61..71 spans midnight.
    display->items->records = 200;
    display->items->trigger = 65;
    display->items->interval = 60;
    auto trigger = openReplay(systemOf(kCentralSystem, {0, 0, 1, 0}, [](GraphSystem& graph) {
      graph.saveTime = 23 * 3600;
    }));
    ticks.clear();
    for (QLabel* label : trigger->lblGraph) ticks << label->text();
    QCOMPARE(ticks, QStringList({"00:00:00", "00:05:00", "00:10:00"}));
    QVERIFY(trigger->lblDay->text().startsWith(QStringLiteral("Play trig. rcd data: 2024/05/01")));
    QVERIFY(trigger->linTriggerAnalog->isVisibleTo(trigger->picAnalog));
    QCOMPARE(trigger->linTriggerAnalog->x(), trigger->linCusorAnalog->x());

    // A read without a date keeps the cursor's date.
    display->items->month = 0;
    display->items->second = 999;
    trigger->setCusorData();
    QCOMPARE(trigger->graphSystem().cusorTime, 240);
  }

  void onlyChangedValuesAreWritten() {
    display->items->setItems(kOutdoorUnit, 1, {analog("Td"), FakeItem{"Ps", "50", 0, 0}, analog("Tc"), analog("Pe")});
    display->items->setValue(kOutdoorUnit, 1, 1, "77 F");
    display->items->setValue(kOutdoorUnit, 1, 2, "300 PSI");
    display->items->setValue(kOutdoorUnit, 1, 3, "25 C");
    display->items->setValue(kOutdoorUnit, 1, 4, "0.5 PSI");
    auto window = openLive(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    QVERIFY(window);
    Grid grid(*window->grdList);
    grid.setText(3, 4, QStringLiteral("--"));  // a full scale that is no number
    QCOMPARE(column(*window, 2), QStringList({"77 F", "300 PSI", "25 C", "0.5 PSI"}));
    QCOMPARE(column(*window, 3), QStringList({"12:00:00", "12:00:00", "12:00:00", "12:00:00"}));
    QCOMPARE(column(*window, 4), QStringList({"200", "500", "100", "--"}));

    // The next tick: a cell whose value did not change is not written again,
    // the changed ones are, and a corrected full scale is not doubled twice.
    grid.setText(1, 2, QStringLiteral("kept"));
    display->items->setValue(kOutdoorUnit, 1, 1, "78 F", "12:00:05");
    display->items->setValue(kOutdoorUnit, 1, 4, "1.5 PSI");
    window->grdList->setCurrentCell(2, 1);  // the engineer's row
    window->tmrForMonitor_Timer();
    QCOMPARE(column(*window, 2), QStringList({"78 F", "kept", "25 C", "1.5 PSI"}));
    QCOMPARE(column(*window, 3), QStringList({"12:00:05", "12:00:00", "12:00:00", "12:00:00"}));
    QCOMPARE(column(*window, 4), QStringList({"200", "500", "100", "--"}));
    QCOMPARE(window->lastRow(), 3);
    QCOMPARE(window->grdList->currentRow(), 2);
    // The engineer scrolled the list across to the change times: it stays there.
    window->grdList->horizontalScrollBar()->setValue(40);
    window->tmrForMonitor_Timer();
    QCOMPARE(window->grdList->horizontalScrollBar()->value(), 40);
    QVERIFY(window->flagForEndOk && window->grdList->updatesEnabled() && !window->busyFlag());

    // A value the library cut in the middle of a character loses the whole
    // character; a time text filling the buffer shows its eight characters.
    display->items->setValue(kOutdoorUnit, 1, 3, QByteArray(30, '1') + "\xE2\x84\x83", "12:00:109");
    window->tmrForMonitor_Timer();
    QCOMPARE(grid.text(2, 2), QString(30, QLatin1Char('1')));
    QCOMPARE(grid.text(2, 3), QStringLiteral("12:00:10"));
  }

  void markerColoursFollowTheFontColourOption() {
    std::vector<FakeItem> four{analog("A", 1), analog("B", 1), analog("C", 1), analog("D", 1)};
    display->items->setItems(kOutdoorUnit, 1, four);
    display->items->setItems(kOutdoorUnit, 2, {analog("E")});
    for (const int16_t option : {int16_t(0), int16_t(1)}) {
      program().displayOptions[kFontColor] = option;
      auto window = openLive(systemOf(kOrdinarySystem, {2, 0, 0, 0}));
      QVERIFY(window);
      const QColor pen3(128, 64, 64);
      QCOMPARE(background(*window, 4, 0), pen3);
      QCOMPARE(foreground(*window, 4, 0), pen3);
      QCOMPARE(foreground(*window, 4, 1), option == 1 ? pen3 : QColor(Qt::black));
      QCOMPARE(foreground(*window, 4, 2), option == 1 ? pen3 : QColor(Qt::black));
      emit window->cboAircon->activated(1);  // off again
      QCOMPARE(Grid(*window->grdList).text(3, 0), QString());
      QCOMPARE(background(*window, 4, 0), window->grdList->palette().color(QPalette::Base));
      QCOMPARE(foreground(*window, 4, 1), QColor(Qt::black));
      display->owner->closeWindows();
      window->tmrForEnd_Timer();
    }
  }

  void digitalBarsSpanTheMiddleOfEachLane() {
    display->items->setItems(kOutdoorUnit, 1, {analog("A")});
    auto window = openLive(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    for (int lane = 0; lane < 8; ++lane) {
      QCOMPARE(window->digitalBars()[static_cast<std::size_t>(lane)], (LaneBar{180 * lane + 45, 180 * lane + 135}));
    }
    // The live cursor stands at the right end of both areas.
    const int right = window->picAnalog->contentsRect().left() + qRound(window->screen().graphRight() / 15.0);
    QVERIFY(std::abs(window->linCusorAnalog->x() - right) <= 1);
    QCOMPARE(window->linCusorDigital->x(), window->linCusorAnalog->x());
  }

  void closingIsAHandshakeWithTheGuard() {
    display->items->setItems(kOutdoorUnit, 1, {analog("A")});
    for (const bool closeBox : {false, true}) {
      auto window = openLive(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
      QVERIFY(window);
      QVERIFY(registered(*window));
      QVERIFY(eventManager().askEvent(kDataShowFormName, window->formNumber, 0, kTimerEvent));  // load ended
      QVERIFY(window->tmrForMonitor->isActive());
      if (closeBox) {
        window->subWindow()->close();
      } else {
        QTest::keyClick(window->grdList, Qt::Key_Escape);
      }
      QVERIFY(window->flagForEnd && !registered(*window));
      QVERIFY(!window->tmrForMonitor->isActive() && window->tmrForEnd->isActive());
      QVERIFY(window->isLoaded() && !window->subWindow()->isVisible());
      QCOMPARE(display->owner->count(), 1);
      window->tmrForEnd_Timer();
      QVERIFY(!window->isLoaded() && display->owner->isEmpty() && !window->graphSystemObj);
      QVERIFY(fake().callsOf(QStringLiteral("closeDataFile")).isEmpty());
    }
    // A window of another kind with the same number is another window.
    auto replay = openReplay(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    auto live = openLive(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    QCOMPARE(replay->formNumber + 1, live->formNumber);
    QCOMPARE(live->subWindow()->pos() - replay->subWindow()->pos(), QPoint(20, 20));  // cascaded
    QCOMPARE(mainMdiArea()->activeSubWindow(), live->subWindow());
    live->cancel();
    QCOMPARE(mainMdiArea()->activeSubWindow(), replay->subWindow());  // the window below, not the first made
    replay->cancel();
    QVERIFY(!registered(*live) && !registered(*replay));
    QCOMPARE(fake().callsOf(QStringLiteral("closeDataFile")), QStringList({"closeDataFile(\"C07\", 2)"}));
  }

  void liveWindowKeysAndRefresh() {
    display->items->setItems(kOutdoorUnit, 1, {analog("A"), twoState("B")});
    auto first = openLive(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    auto second = openLive(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    QVERIFY(first && second);
    MessageCollector messages;
    first->grdList->setCurrentCell(1, 1);
    for (const Qt::Key key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7}) {
      QTest::keyClick(first->grdList, key);
    }
    QVERIFY(messages.keys.isEmpty());
    QTest::keyClick(first->grdList, Qt::Key_D);
    QCOMPARE(first->detailForms.count(), 1);

    // While the second window's unit change runs, the first one's refresh
    // waits for a later tick.
    eventManager().setEvent(kDataShowFormName, second->formNumber, 0, kUserEvent);
    fake().calls.clear();
    first->tmrForMonitor_Timer();
    QVERIFY(fake().calls.isEmpty());
    eventManager().clearEvent(kDataShowFormName, second->formNumber, 0, kUserEvent);
    first->tmrForMonitor_Timer();
    QCOMPARE(fake().callsOf(QStringLiteral("getCursData")).size(), 2);

    // Closed in the middle of a refresh: the refresh stops before the values
    // are written, and the window may unload.
    display->items->setValue(kOutdoorUnit, 1, 1, "9.9");
    QTimer::singleShot(0, first.get(), [&first] { first->cancel(); });
    first->tmrForMonitor_Timer();
    QCOMPARE(Grid(*first->grdList).text(0, 2), QString());
    QVERIFY(first->flagForEndOk);
  }

  void searchLaunchOfAReplay() {
    display->items->setItems(kOutdoorUnit, 1, {analog("A"), analog("B"), twoState("C"), FakeItem{"D", " ", 2}});
    display->items->setItems(kSensorUnit, 1, {twoState("SW")});
    auto window = openReplay(systemOf(kOrdinarySystem, {1, 0, 0, 1}));
    QVERIFY(window);
    // The search windows that open, as they were set up, each cancelled.
    QStringList opened;
    const auto searchFrom = [&](int row, bool opens) {
      window->grdList->setCurrentCell(row - 1, 1);
      QPointer<QTimer> watch;
      if (opens) {
        watch = answerNextModal([&](QWidget* modal) {
          auto* search = qobject_cast<DataSearchForm*>(modal);
          if (!search) {
            modal->close();
            return;
          }
          opened << QStringLiteral("%1 %2 %3 %4/%5/%6 %7")
                        .arg(QLatin1String(search->metaObject()->className()), search->dataItemName, search->customDir)
                        .arg(search->airconType)
                        .arg(search->airconNumber)
                        .arg(search->dataitemNumber)
                        .arg(search->fileNumber);
          if (search->parentForm != window.get()) opened << QStringLiteral("another parent");
          search->cancel();
        });
      }
      QTest::keyClick(window->grdList, Qt::Key_F7);
      delete watch.data();  // one that never fired
    };
    const auto remember = [&window] {
      window->flagSearchMinMax = true;
      window->searchMaxValue = 9;
      window->searchIndex = 2;
    };
    searchFrom(1, true);
    remember();
    searchFrom(1, true);
    QVERIFY(window->flagSearchMinMax && window->searchMaxValue == 9 && window->searchIndex == 2);
    searchFrom(2, true);
    QVERIFY(!window->flagSearchMinMax && window->searchMaxValue == 0 && window->searchIndex == 0);
    QCOMPARE(opened, QStringList({"frmSearchAnalog 1 O-1-A C07 0/1/1 2", "frmSearchAnalog 1 O-1-A C07 0/1/1 2",
                                  "frmSearchAnalog 2 O-1-B C07 0/1/2 2"}));

    MessageCollector messages;
    searchFrom(3, false);
    QCOMPARE(messages.keys, QStringList({"14-1"}));
    searchFrom(4, true);
    QCOMPARE(opened.last(), QStringLiteral("frmSearchErrorCode 4 O-1-D C07 0/1/4 2"));
    searchFrom(5, false);  // a sensor unit's two-state item: nothing
    QCOMPARE(messages.keys.size(), 1);
    QCOMPARE(opened.size(), 4);
    QCOMPARE(window->grdList->currentRow(), 4);
    QVERIFY(window->grdList->selectionModel()->isRowSelected(4, {}));
  }

  void screenPrintAsksFirst() {
    display->items->setItems(kOutdoorUnit, 1, {analog("A")});
    auto window = openLive(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
    const QString pdf = display->world->folder.file(QStringLiteral("display.pdf"));
    for (const bool printer : {true, false}) {
      QFile::remove(pdf);
      installPrinterSource([&]() -> std::unique_ptr<QPrinter> {
        if (!printer) return nullptr;
        auto made = std::make_unique<QPrinter>();
        made->setOutputFormat(QPrinter::PdfFormat);
        made->setOutputFileName(pdf);
        return made;
      });
      {
        QuestionAnswer no(QMessageBox::No);
        QTest::keyClick(window->grdList, Qt::Key_F9);
        QVERIFY(no.asked);
        QVERIFY(no.text.startsWith(QStringLiteral("Print Screen image. OK?\n\n( Some models of a printer")));
        QVERIFY(no.text.endsWith(QStringLiteral(" )\n")));
        QVERIFY(!QFile::exists(pdf));
      }
      MessageCollector messages;
      QuestionAnswer yes(QMessageBox::Yes);
      QTest::keyClick(window->grdList, Qt::Key_F9);
      QCOMPARE(messages.keys, printer ? QStringList() : QStringList({"6-6"}));
      QCOMPARE(QFile::exists(pdf), printer);
    }
  }
};

QTEST_MAIN(DataShowTest)
#include "data_show_test.moc"
