// Plotting of graphed items onto a canvas that logs in twips, and the pens
// and lanes the items take as they are turned on and off.
#include "display/graph_plot.h"
#include "display/graphed_items.h"
#include "display/record_arithmetic.h"

#include <QtTest>

namespace {

struct LogCanvas : GraphCanvas {
  QStringList log;
  void add(const QString& what, std::initializer_list<int32_t> values) {
    QStringList numbers;
    for (int32_t v : values) numbers << QString::number(v);
    log << what + numbers.join(',');
  }
  void clearAnalog() override { log << "clear"; }
  void clearDigital() override { log << "clear"; }
  void drawScales() override {}
  void stroke(TwipsXY a, TwipsXY b, uint32_t) override { add("", {a.x, a.y, b.x, b.y}); }
  void point(TwipsXY a, uint32_t) override { add("point ", {a.x, a.y}); }
  void box(int32_t l, int32_t t, int32_t r, int32_t b, uint32_t) override { add("box ", {l, t, r, b}); }
  void showLegend(int32_t pen, int32_t n, int32_t l, int32_t t) override { add("legend ", {pen, n, l, t}); }
  void showLaneLabel(int32_t lane, int32_t n) override { add("lane ", {lane, n}); }
};

// A screen of the values from record start, answering getGraphData from
// them and logging its calls.
struct Bench : GraphSamples {
  std::vector<int32_t> values;
  int32_t base;
  int32_t closeAfter = 1000;
  QStringList calls;
  LogCanvas canvas;
  GraphPlotter plotter{canvas, *this};
  RecordArithmetic screen;
  AreaGeometry geometry = areaGeometry(6000, 3000);
  Bench(int32_t start, std::vector<int32_t> samples) : values(std::move(samples)), base(start) {
    const int32_t num = int32_t(values.size());
    screen.setScreen(false, {5, 600, 100000, start, start + num - 1, num, 121, start, 0});
    screen.setGraphRange(geometry.graphLeft, geometry.graphRight);
    plotter.setGeometry(geometry, digitalBars());
  }
  void getGraphData(const PlotRequest&, int32_t first, int32_t count, GraphChunk& samples) override {
    calls << QString("%1+%2").arg(first).arg(count);
    for (int32_t j = 0; j < count; ++j) {
      const size_t at = size_t(first + j - base);
      samples[j] = at < values.size() ? values[at] : 0;
    }
  }
  bool closing() const override { return calls.size() >= closeAfter; }
  QString at(int32_t j) const {
    return QString("%1,%2").arg(screen.recordX(base + j)).arg(geometry.levelY[levelIndex(values[j])]);
  }
};

}  // namespace

class GraphPlotTest : public QObject {
  Q_OBJECT

 private slots:
  void analogRunsOfEqualValuesAreOneStroke() {
    // Samples, and the strokes drawn between them by index.
    const std::pair<std::vector<int32_t>, std::vector<int>> cases[] = {
        {{10, 20, 20, 20, 30}, {0, 1, 1, 3, 3, 4}}, {{50, 50, 50, 50, 50, 50}, {0, 1, 1, 4, 4, 5}},
        {{1, 2, 3, 4}, {0, 1, 1, 2, 2, 3}}, {{5, 5, 5, 9, 9}, {0, 1, 1, 2, 2, 3, 3, 4}}, {{7, 8}, {0, 1}}};
    for (const auto& [values, ends] : cases) {
      Bench bench(10, values);
      bench.plotter.plotItem({0, 1, 4, 0, 2, 7}, bench.screen);
      QStringList expected;
      for (size_t i = 0; i < ends.size(); i += 2) expected << bench.at(ends[i]) + "," + bench.at(ends[i + 1]);
      expected << "point " + bench.at(ends.back());
      QCOMPARE(bench.canvas.log.mid(0, expected.size()), expected);
    }
  }

  void digitalRunsAreBoxesInTheirLane() {
    // Samples from record 10, and the records each box spans (only 1 is on).
    const std::pair<std::vector<int32_t>, std::vector<int32_t>> cases[] = {
        {{0, 1, 1, 0, 0, 1, 1}, {11, 13, 15, 16}}, {{1, 1, 0}, {10, 12}}, {{2, 1, 0, -1}, {11, 12}},
        {{1, 1, 1, 1}, {10, 13}}, {{0, 0, 0}, {}}};
    for (const auto& [values, records] : cases) {
      Bench bench(10, values);
      bench.plotter.plotItem({1, 2, 5, 1, 3, 12}, bench.screen);
      QStringList expected;
      for (size_t i = 0; i < records.size(); i += 2) {
        const RecordArithmetic& x = bench.screen;
        expected << QString("box %1,585,%2,675").arg(x.recordX(records[i])).arg(x.recordX(records[i + 1]));
      }
      QCOMPARE(bench.canvas.log, expected << "lane 3,12");
    }
  }

  void legendsSitAtTheFirstValueOnTheScale() {
    // -15 % puts it 180 above the line; values off the scale get none.
    const std::pair<std::vector<int32_t>, QStringList> single[] = {
        {{-15, 0}, {"legend 0,9,75,2693"}}, {{-5, 0}, {"legend 0,9,75,2623"}},
        {{150, -30, 40}, {"legend 0,9,75,1500"}}, {{-21, 101, 5000}, {}}};
    for (const auto& [values, legend] : single) {
      Bench bench(1, values);
      bench.plotter.showAnalogGraph({{0, 1, 1, 0, 0, 9}}, bench.screen);
      QCOMPARE(bench.canvas.log.filter("legend"), legend);
    }

    // Close first values stand 300 apart; a redraw starts the places anew.
    Bench bench(1, {50, 50});
    const std::vector<PlotRequest> items = {{0, 1, 1, 0, 0, 1}, {0, 1, 2, 0, 1, 2}, {0, 1, 3, 0, 2, 3}};
    bench.plotter.showAnalogGraph(items, bench.screen);
    bench.plotter.showAnalogGraph({items[2]}, bench.screen);
    QCOMPARE(bench.canvas.log.filter("legend"),
             (QStringList{"legend 0,1,75,1251", "legend 1,2,375,1251", "legend 2,3,675,1251", "legend 2,3,75,1251"}));
    // The legend comes from a later call when the first has no usable value.
    std::vector<int32_t> late(241, 500);
    late[200] = 100;
    Bench longScreen(1, late);
    longScreen.plotter.plotItem({0, 1, 1, 0, 4, 6}, longScreen.screen);
    QCOMPARE(longScreen.canvas.log.filter("legend"), QStringList{"legend 4,6,75,3"});
  }

  void samplesAreFetched121ACall() {
    const std::pair<int32_t, QStringList> cases[] = {{121, {"1+121"}}, {241, {"1+121", "121+121"}},
                                                     {361, {"1+121", "121+121", "241+121"}},
                                                     {122, {"1+121", "121+2"}}, {1, {}}};
    for (const auto& [num, calls] : cases) {
      Bench bench(1, std::vector<int32_t>(size_t(num), 40));
      bench.plotter.plotItem({0, 1, 1, 0, 0, 1}, bench.screen);
      QCOMPARE(bench.calls, calls);
    }
    Bench closing(1, std::vector<int32_t>(361, 1));
    closing.closeAfter = 1;  // the window starts closing during the first call
    closing.plotter.plotItem({1, 1, 1, 1, 0, 1}, closing.screen);
    QCOMPARE(closing.calls, QStringList{"1+121"});
    QVERIFY(levelIndex(-25) == 0 && levelIndex(37) == 57);
    QVERIFY(levelIndex(INT32_MIN) == 0 && levelIndex(INT32_MAX) == 120);
  }

  void pensFollowTheItemsTurnedOnAndOff() {
    std::vector<ListItem> rows(12, ListItem{0, 1, 0, 0, 0});
    for (int32_t row : {2, 5, 9}) rows[row - 1].graphShow = 1;
    PenTable pens;
    markGraphedItems(rows, pens);
    QVERIFY(pens.penOfRow(2) == 0 && pens.penOfRow(5) == 1 && pens.penOfRow(9) == 2);
    const std::pair<int32_t, int32_t> steps[] = {{5, -1}, {12, 1}, {5, 3}, {9, -1}, {9, 2}, {12, -1}, {12, 1}};
    for (const auto& [row, pen] : steps) {
      const Toggle t = toggleItem(rows, row, pens);
      QVERIFY(t.outcome == (pen < 0 ? ToggleOutcome::TurnedOff : ToggleOutcome::TurnedOnAnalog));
      QCOMPARE(t.marker.pen, std::max(pen, 0));
      QVERIFY(pen < 0 ? t.redrawAnalog : t.plot == (PlotRequest{0, 1, 0, 0, pen, row}));
    }
    QVERIFY(kPenColor[1] == 0x0000FF && kPenColor[3] == 0x404080);  // red, brown
    const std::vector<PlotRequest> plots = analogPlots(rows, pens);
    QVERIFY(plots.size() == 4 && plots[0].slot == 0 && plots[1].slot == 3 && plots[2].slot == 2);
  }

  void limitsAndItemsNoGraphDraws() {
    // Nine analog defaults, a digital default, a sensor unit's analog item
    // and digital default, a code item and an item of type 3.
    std::vector<ListItem> rows(9, ListItem{0, 1, 0, 0, 1});
    rows.insert(rows.end(), {{1, 1, 3, 1, 1}, {kSensorUnitKind, 1, 1, 0, 0}, {kSensorUnitKind, 1, 2, 1, 1},
                             {1, 1, 4, 2, 0}, {1, 1, 5, 3, 0}});
    PenTable pens;
    const std::vector<RowMarker> markers = markGraphedItems(rows, pens);
    QVERIFY(markers[7] == (RowMarker{8, MarkerState::Analog, 7}));
    QVERIFY(markers[9] == (RowMarker{10, MarkerState::Digital, 0}));
    QVERIFY(markers[8] == (RowMarker{9, MarkerState::Off, 0}) && rows[8].graphShow == 0);
    QVERIFY(markers[11].state == MarkerState::Off && rows[11].graphShow == 0);  // never drawn, so not left on

    // Row 12 is a sensor unit's digital item, no graph shows row 14's type,
    // row 15 does not exist.
    using enum ToggleOutcome;
    const std::pair<int32_t, ToggleOutcome> refused[] = {
        {9, AnalogFull}, {11, AnalogFull}, {12, Nothing}, {14, Nothing}, {15, Nothing}};
    for (const auto& [row, outcome] : refused) QVERIFY(toggleItem(rows, row, pens).outcome == outcome);
    QVERIFY(rows[8].graphShow == 0 && rows[11].graphShow == 0);
    const Toggle digital = toggleItem(rows, 13, pens);
    QVERIFY(digital.outcome == ToggleOutcome::TurnedOnDigital && digital.plot.slot == 1);  // the next lane
    QVERIFY(countGraphedItems(rows) == (GraphedCounts{8, 2}) && digitalPlots(rows).size() == 2);
    QVERIFY(toggleItem(rows, 10, pens).redrawDigital);
    QCOMPARE(digitalPlots(rows), (std::vector<PlotRequest>{{1, 1, 4, 1, 0, 13}}));
  }
};

QTEST_MAIN(GraphPlotTest)
#include "graph_plot_test.moc"
