// The display window's graphs over the fake library: what its areas show
// (pens, legends, lanes, sub-lines), the item list turning items on and off
// by a second click or F12, the limits told in the status line, events
// dropped while the window is busy, the layout on resize and the level
// read-out under the mouse.
#include "display/data_items.h"
#include "display/data_show_opening.h"
#include "frame/event_manager.h"
#include "frame/grid.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/twips.h"
#include "records/data_show_replay.h"
#include "support/fake_items.h"
#include "support/program_fixture.h"
#include "support/program_test.h"
#include "types/unit_kinds.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTableWidget>
#include <QtTest>

namespace {

FakeItem analog(const char* name, int32_t graphDefault = 0) { return FakeItem{name, "100", 0, graphDefault}; }
FakeItem twoState(const char* name, int32_t graphDefault = 0) { return FakeItem{name, " ", 1, graphDefault}; }

// An ordinary system of outdoor unit 1 and, when asked, the sensor unit.
GraphSystemFill ordinarySystem(bool withSensor = false) {
  return [=](GraphSystem& graph) {
    graph.systemKind = kOrdinarySystem;
    graph.systemNumber = 1;
    graph.airconNumberNow = 1;
    addGraphAircons(graph.airconsOut, kOutdoorUnit, 1);
    if (withSensor) addGraphAircons(graph.airconsSen, kSensorUnit, 1);
    graph.sensorDataShow = withSensor;
  };
}

int countOf(const QImage& image, const QColor& colour, int row = -1) {
  int count = 0;
  for (int y = row < 0 ? 0 : row; y < (row < 0 ? image.height() : row + 1); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour ? 1 : 0;
  }
  return count;
}

QList<int32_t> graphShows(const frmDataShow& window) {
  QList<int32_t> shown;
  for (const auto& listed : listedItems(*window.graphSystemObj)) shown << listed.item->graphShow;
  return shown;
}

QStringList shownLabels(const std::array<QLabel*, 8>& labels) {
  QStringList texts;
  for (QLabel* label : labels) texts << (label->isVisibleTo(label->parentWidget()) ? label->text() : QString());
  return texts;
}

// The library's items fetched since the calls were last cleared.
QList<int32_t> fetchedItems(FakeTramsoll& fake) {
  QList<int32_t> items;
  for (const QString& call : fake.callsOf(QStringLiteral("getGraphData"))) items << call.section(QStringLiteral(", "), 6, 6).toInt();
  return items;
}

void clickRow(frmDataShow& window, int row) {
  QTableWidget& list = *window.grdList;
  const QRect cell = list.visualRect(list.model()->index(row - 1, 1));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell.center());
}

void pressF12On(frmDataShow& window, int row) {
  window.grdList->setCurrentCell(row - 1, 1);
  QTest::keyClick(window.grdList, Qt::Key_F12);
}

void moveMouse(GraphArea& area, int y) {
  QMouseEvent move(QEvent::MouseMove, QPointF(10, area.contentsRect().top() + y), area.mapToGlobal(QPointF(10, y)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&area, &move);
}

}  // namespace

class DataShowGraphsTest : public ProgramTest {
  Q_OBJECT

  std::unique_ptr<FakeItems> items;
  std::unique_ptr<DisplayWindowOwner> owner;
  // Samples by the library's item number, the same at every record.
  std::map<int32_t, std::vector<int32_t>> samples;
  std::function<void()> whileFetching;


  std::shared_ptr<frmDataShow> open(const DataShowSource& source, const GraphSystemFill& fill) {
    const DataShowOpening opening = openDataShow(*owner, source, fill);
    return opening.outcome == DataShowOpened::Shown ? opening.window : nullptr;
  }

 private slots:
  void init() {
    ProgramTest::init();
    items = std::make_unique<FakeItems>(fake());
    owner = std::make_unique<DisplayWindowOwner>();
    samples.clear();
    whileFetching = nullptr;
    program().displayOptions[kSubLine] = 20;
    program().displayOptions[kCursor] = 0;
    fake().on<decltype(::getGraphData)>(
        "getGraphData", [this](int32_t, const char*, int32_t, int32_t, int32_t, int32_t, int32_t item, int32_t first,
                               int32_t count, int32_t* values) {
          const std::vector<int32_t>& script = samples[item];
          for (int32_t j = 0; j < count; ++j) {
            values[j] = script.empty() ? 0 : script[std::size_t(first - 1 + j) % script.size()];
          }
          if (auto act = std::exchange(whileFetching, nullptr)) act();
          return 0;
        });
  }
  void cleanup() {
    owner.reset();
    items.reset();
    eventManager().deleteAllEventForms();
    ProgramTest::cleanup();
  }

  void areasShowPensLegendsAndLanes() {
    items->setItems(kOutdoorUnit, 1, {analog("A", 1), analog("B", 1), twoState("C", 1), analog("D")});
    samples[1] = {50};
    samples[2] = {-15, 0};
    samples[3] = {0, 1, 1, 0};
    items->records = 121;
    const auto window = open(replayDataShow(QStringLiteral("C07"), 2), ordinarySystem());
    QVERIFY(window);
    QCOMPARE(fake().callsOf(QStringLiteral("getGraphData")).last(),
             QStringLiteral("getGraphData(1, \"C07\", 2, 1, 0, 1, 3, 1, 121, *)"));
    const QImage& analogImage = window->picAnalog->image();
    QVERIFY(countOf(analogImage, QColor(1, 1, 1)) > 100);  // pen 0, near-black
    QVERIFY(countOf(analogImage, QColor(255, 0, 0)) > 100);  // pen 1, red
    QCOMPARE(shownLabels(window->lblAnalog), QStringList({"1", "2", "", "", "", "", "", ""}));
    QCOMPARE(shownLabels(window->lblDigital), QStringList({"3", "", "", "", "", "", "", ""}));

    // The legends stand at their first values: 50 % on the line, -15 %
    // above it; the lane's boxes fill the middle half of lane 0.
    const AreaGeometry geometry = areaGeometry(window->picAnalog->scaleWidth(), window->picAnalog->scaleHeight());
    QCOMPARE(window->lblAnalog[0]->pos(), window->picAnalog->insidePixel(75, geometry.levelY[70]));
    QCOMPARE(window->lblAnalog[1]->pos(), window->picAnalog->insidePixel(75, geometry.levelY[5] - 180));
    const QImage& lanes = window->picDigital->image();
    QVERIFY(countOf(lanes, QColor(0, 0, 255), twipsToPixels(90)) > 50);
    QCOMPARE(countOf(lanes, QColor(0, 0, 255), twipsToPixels(190)), 0);

    // Dotted sub-lines in the button colour: none, every 10 % or every 20 %.
    const QColor dots = window->picAnalog->palette().color(QPalette::Button);
    const std::pair<int16_t, int> subLines[] = {{0, 0}, {10, 11}, {20, 5}};
    for (const auto& [option, lines] : subLines) {
      program().displayOptions[kSubLine] = option;
      window->showGraph();
      int rows = 0;
      for (int y = 0; y < analogImage.height(); ++y) rows += countOf(analogImage, dots, y) > 20 ? 1 : 0;
      QVERIFY2(rows == lines, qPrintable(QString::number(option)));
    }
  }

  void itemListTurnsItemsOnAndOff() {
    items->setItems(kOutdoorUnit, 1, {analog("A", 1), analog("B"), twoState("C"), twoState("D", 1), analog("E")});
    items->setItems(kSensorUnit, 1, {twoState("SW")});
    const auto window = open(liveDataShow(), ordinarySystem(true));
    QVERIFY(window);
    QCOMPARE(window->lastRow(), 1);
    enum How { Click, F12, FullRedraw };
    const struct Step {
      const char* what;
      How how;
      int row;
      QList<int32_t> shown;
      QList<int32_t> fetched;  // items drawn by the step
      QStringList legends, lanes;
    } steps[] = {
        {"the first click selects", Click, 2, {1, 0, 0, 1, 0, 0}, {}, {"1"}, {"4"}},
        {"the second toggles: drawn over the graph", Click, 2, {1, 1, 0, 1, 0, 0}, {2}, {"1", "2"}, {"4"}},
        {"F12 at once: off, the analog graph redrawn", F12, 2, {1, 0, 0, 1, 0, 0}, {1}, {"1"}, {"4"}},
        {"a digital item drawn at once in the next lane", F12, 3, {1, 0, 1, 1, 0, 0}, {3}, {"1"}, {"4", "3"}},
        {"an analog item takes the lowest free pen", F12, 5, {1, 0, 1, 1, 1, 0}, {5}, {"1", "5"}, {"4", "3"}},
        {"a full redraw puts the lanes in list order", FullRedraw, 0, {1, 0, 1, 1, 1, 0}, {1, 5, 3, 4}, {"1", "5"},
         {"3", "4"}},
        {"off: the digital graph redrawn", F12, 4, {1, 0, 1, 0, 1, 0}, {3}, {"1", "5"}, {"3"}},
        {"a sensor unit's digital row toggles nothing", F12, 6, {1, 0, 1, 0, 1, 0}, {}, {"1", "5"}, {"3"}},
    };
    for (const Step& step : steps) {
      fake().calls.clear();
      if (step.how == Click) clickRow(*window, step.row);
      if (step.how == F12) pressF12On(*window, step.row);
      if (step.how == FullRedraw) window->showGraph();
      const QByteArray what(step.what);
      QVERIFY2(graphShows(*window) == step.shown, what);
      QVERIFY2(fetchedItems(fake()) == step.fetched, what);
      QVERIFY2(shownLabels(window->lblAnalog).mid(0, step.legends.size()) == step.legends, what);
      QVERIFY2(shownLabels(window->lblDigital).mid(0, step.lanes.size()) == step.lanes, what);
      QVERIFY2(window->flagForEndOk && !window->busyFlag(), what);
      if (step.how == FullRedraw) continue;
      // The row stays highlighted whole, whatever happened.
      QVERIFY2(window->grdList->currentRow() == step.row - 1, what);
      QVERIFY2(window->grdList->selectionModel()->isRowSelected(step.row - 1, {}), what);
    }
    QCOMPARE(Grid(*window->grdList).text(4, 0), QStringLiteral("*"));
    QCOMPARE(window->grdList->item(4, 0)->background().color(), QColor(255, 0, 0));  // pen 1, red
    QCOMPARE(Grid(*window->grdList).text(5, 0), QString());
    QCOMPARE(window->graphedCounts(), (GraphedCounts{2, 1}));
  }

  void ninthItemIsToldInTheStatusLine() {
    std::vector<FakeItem> unit;
    for (int i = 0; i < 9; ++i) unit.push_back(analog("A", i < 8 ? 1 : 0));
    for (int i = 0; i < 9; ++i) unit.push_back(twoState("D", i < 8 ? 1 : 0));
    items->setItems(kOutdoorUnit, 1, unit);
    const auto window = open(liveDataShow(), ordinarySystem());
    QVERIFY(window);
    const std::pair<int, const char*> refusals[] = {
        {9, "Possible to input max. 8 items for analog-data graph."},
        {18, "Possible to input max. 8 items for digital-data graph."},
    };
    for (const auto& [row, text] : refusals) {
      setMainStatusText(QString());
      fake().calls.clear();
      pressF12On(*window, row);
      QCOMPARE(mainWindowParts().statusLine->text(), QString::fromLatin1(text));
      QCOMPARE(graphShows(*window)[row - 1], 0);
      QCOMPARE(Grid(*window->grdList).text(row - 1, 0), QString());  // no marker
      QVERIFY(fake().callsOf(QStringLiteral("getGraphData")).isEmpty());
    }
    QCOMPARE(window->graphedCounts(), (GraphedCounts{8, 8}));
  }

  void clicksWhileBusyOrGuardedAreDropped() {
    items->setItems(kOutdoorUnit, 1, {analog("A", 1), analog("B")});
    items->setItems(kOutdoorUnit, 2, {analog("C", 1)});
    const auto window = open(liveDataShow(), [](GraphSystem& graph) {
      ordinarySystem()(graph);
      addGraphAircons(graph.airconsOut, kOutdoorUnit, 2);
    });
    QVERIFY(window);
    // F12 pressed while the unit change redraws: the window is busy.
    whileFetching = [&window] { pressF12On(*window, 2); };
    emit window->cboAircon->activated(0);
    QVERIFY(!whileFetching);
    QCOMPARE(graphShows(*window), (QList<int32_t>{1, 0, 0}));

    // The window's own refresh runs: the key is dropped, not kept for later.
    eventManager().setEvent(kDataShowFormName, window->formNumber, 0, kTimerEvent);
    pressF12On(*window, 2);
    QCOMPARE(graphShows(*window), (QList<int32_t>{1, 0, 0}));
    eventManager().clearEvent(kDataShowFormName, window->formNumber, 0, kTimerEvent);
    pressF12On(*window, 2);
    QCOMPARE(graphShows(*window), (QList<int32_t>{1, 1, 0}));

    // A closing window ignores the list.
    window->cancel();
    clickRow(*window, 3);
    clickRow(*window, 3);
    QCOMPARE(graphShows(*window), (QList<int32_t>{1, 1, 0}));
  }

  void resizeLaysTheWindowOutAndRedraws() {
    items->setItems(kOutdoorUnit, 1, {analog("A", 1)});
    const auto window = open(liveDataShow(), ordinarySystem());
    QVERIFY(window);
    QMdiSubWindow& frame = *window->subWindow();
    const QSize border = frame.size() - window->size();
    const struct {
      QSize asked, inner;
    } sizes[] = {
        {{800, 500}, {800, 500}},
        {{1000, 420}, {1000, 420}},
        {{300, 200}, {615, 349}},  // never below the smallest window
    };
    for (const auto& size : sizes) {
      fake().calls.clear();
      frame.resize(size.asked + border);
      QCOMPARE(window->size(), size.inner);
      const DataShowLayout layout = layoutDataShow(pixelsToTwips(size.inner.width()), pixelsToTwips(size.inner.height()));
      const auto at = [](const TwipsBox& box) { return twipsRect(box.left, box.top, box.width, box.height); };
      QCOMPARE(window->picAnalog->geometry(), at(layout.picAnalog));
      QCOMPARE(window->picDigital->geometry(), at(layout.picDigital));
      QCOMPARE(window->grdList->geometry(), at(layout.grdList));
      QCOMPARE(window->picAnalog->image().size(), window->picAnalog->contentsRect().size());
      QCOMPARE(window->screen().graphRight(), window->picAnalog->scaleWidth() * 995 / 1000);
      QCOMPARE(fetchedItems(fake()), QList<int32_t>{1});  // drawn again
      // The times under the graphs were cut to the design width by a resize.
      for (QLabel* time : window->lblGraph) QVERIFY(time->width() >= time->sizeHint().width());
    }
    // A minimised window is not laid out.
    const QRect analogBefore = window->picAnalog->geometry();
    fake().calls.clear();
    frame.showMinimized();
    QCOMPARE(window->picAnalog->geometry(), analogBefore);
    QVERIFY(fake().callsOf(QStringLiteral("getGraphData")).isEmpty());
  }

  void scaleFiguresStandInPlaceWithNothingGraphed() {
    // Nothing graphed draws no tick; the figures still stood piled at the top.
    items->setItems(kOutdoorUnit, 1, {analog("A"), twoState("B")});
    const auto window = open(liveDataShow(), ordinarySystem());
    QVERIFY(window);
    QCOMPARE(window->graphedCounts(), (GraphedCounts{0, 0}));
    QCOMPARE(shownLabels(window->lblAnalog), QStringList(8, QString()));
    QList<int> tops;
    for (QLabel* figure : {window->lblP100, window->lblP[9], window->lblP[5], window->lblP[1], window->lblP0,
                           window->lblP[0], window->lblP20}) {
      tops << figure->y();
    }
    QVERIFY(std::is_sorted(tops.begin(), tops.end()) && std::adjacent_find(tops.begin(), tops.end()) == tops.end());
    QVERIFY(tops.last() + window->lblP20->height() <= window->picVscale->height());
  }

  void levelReadOutFollowsTheMouseInAReplay() {
    items->setItems(kOutdoorUnit, 1, {analog("A", 1)});
    const struct {
      const char* what;
      bool live;
      int16_t option;
      bool shown;
    } cases[] = {
        {"replay with the horizontal cursor", false, 1, true},
        {"replay without it", false, 0, false},
        {"live window", true, 1, false},
    };
    for (const auto& c : cases) {
      program().displayOptions[kCursor] = c.option;
      const auto window = open(c.live ? liveDataShow() : replayDataShow(QStringLiteral("C07"), 1), ordinarySystem());
      QVERIFY2(window, c.what);
      QVERIFY2(window->txtCurY->isVisibleTo(window.get()) == c.shown, c.what);
      GraphArea& area = *window->picAnalog;
      const int middle = area.contentsRect().height() / 2;
      moveMouse(area, middle);
      const int expected = int(std::floor((1 - double(middle) / area.contentsRect().height()) * 120 - 20));
      QVERIFY2(window->txtCurY->text() == (c.shown ? QString::number(expected) : QString()), c.what);
      QVERIFY2(window->Hcursor->isVisibleTo(&area) == c.shown, c.what);
      if (c.shown) {
        QCOMPARE(window->Hcursor->y(), area.contentsRect().top() + middle);
        QCOMPARE(window->HcursorS->y(), window->picVscale->contentsRect().top() + middle);
        moveMouse(*window->picVscale, 0);
        QCOMPARE(window->txtCurY->text(), QStringLiteral("100"));
      }
      window->cancel();
      window->tmrForEnd_Timer();
    }
  }
};

QTEST_MAIN(DataShowGraphsTest)
#include "data_show_graphs_test.moc"
