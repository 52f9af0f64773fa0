// A replay window's navigation over the fake library: the keys, the mouse
// and the search hits move the screen and the cursor as the record
// arithmetic says, into the window's model; what each redraws (cursor
// values read, graphs drawn) and the buttons it leaves; nothing moves in a
// live window, a closing one, or over a recording without records.
#include "display/data_show_opening.h"
#include "display/frmDataShow.h"
#include "support/display_windows.h"
#include "types/unit_kinds.h"

#include <QFrame>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <vector>

namespace {

// Counts its graph drawings.
class CountingDataShow final : public frmDataShow {
 public:
  static inline int graphs = 0;
  void showGraph() override {
    ++graphs;
    frmDataShow::showGraph();
  }
};

struct CountingWindows {
  CountingWindows() {
    DisplayWindowOwner::setFactory([] { return frmDataShow::hold(new CountingDataShow); });
  }
  ~CountingWindows() { DisplayWindowOwner::setFactory(nullptr); }
};

enum Action { F1, F2, F3, F4, F5, F6, LeftArrow, RightArrow, ClickOn, Move };

struct Step {
  Action action;
  int32_t arg = 0;  // ClickOn: the record whose position is clicked; Move: the record
  int32_t start = 0, end = 0, cursor = 0;
  bool cursorRead = false, graphDrawn = false;
  const char* buttons = "";  // F1..F6, '1' enabled
};

QByteArray buttonText(const frmDataShow& w) {
  QByteArray text;
  for (const QPushButton* b : {w.cmdLarge, w.cmdSmall, w.cmdBackward, w.cmdForward, w.cmdLeft, w.cmdRight}) {
    text += b->isEnabled() ? '1' : '0';
  }
  return text;
}

// A press of the mouse in the analog graph on the pixel of a record's x.
void clickRecord(frmDataShow& window, int32_t record) {
  const int x = window.picAnalog->contentsRect().left() + window.screen().recordX(record) / 15;
  QTest::mouseClick(window.picAnalog, Qt::LeftButton, {}, QPoint(x, 20));
}

void act(frmDataShow& window, const Step& step) {
  const std::pair<Action, Qt::Key> keys[] = {{F1, Qt::Key_F1}, {F2, Qt::Key_F2}, {F3, Qt::Key_F3},
                                             {F4, Qt::Key_F4}, {F5, Qt::Key_F5}, {F6, Qt::Key_F6},
                                             {LeftArrow, Qt::Key_Left}, {RightArrow, Qt::Key_Right}};
  for (const auto& [action, key] : keys) {
    if (action == step.action) QTest::keyClick(window.grdList, key);
  }
  if (step.action == ClickOn) clickRecord(window, step.arg);
  if (step.action == Move) window.moveCusor(step.arg);
}

}  // namespace

class DataShowNavigationTest : public QObject {
  Q_OBJECT

  std::unique_ptr<DisplayWorld> display;
  std::unique_ptr<CountingWindows> counting;

  std::shared_ptr<frmDataShow> replayOf(int32_t records, int32_t interval) {
    display->items->records = records;
    display->items->interval = interval;
    return display->openReplay(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
  }

 private slots:
  void init() {
    counting = std::make_unique<CountingWindows>();
    display = std::make_unique<DisplayWorld>();
    display->items->setItems(kOutdoorUnit, 1, {analog("Tho", 1), twoState("52C", 1)});
  }
  void cleanup() {
    display.reset();
    counting.reset();
  }

  void keysMouseAndHitsMoveTheScreenAndTheCursor() {
    // 1000 records at 5 s: the first screen 1..121, the cursor on 61.
    const std::vector<Step> steps = {
        {F5, 0, 1, 121, 60, true, false, "110111"},
        {RightArrow, 0, 1, 121, 61, true, false, "110111"},
        {LeftArrow, 0, 1, 121, 60, true, false, "110111"},
        {F6, 0, 1, 121, 61, true, false, "110111"},
        {F4, 0, 61, 181, 61, false, true, "111101"},
        {F4, 0, 121, 241, 121, true, true, "111101"},
        {F3, 0, 61, 181, 121, false, true, "111111"},
        {F2, 0, 1, 361, 121, false, true, "100111"},
        {F2, 0, 1, 361, 121, false, false, "100111"},  // at 1800 s the 5 s limit holds
        {F1, 0, 1, 121, 121, false, true, "110110"},  // the grid screen ending on the cursor
        {ClickOn, 100, 1, 121, 100, true, false, "110111"},
        {ClickOn, 100, 1, 121, 100, false, false, "110111"},
        {Move, 110, 1, 121, 110, true, false, "110111"},
        {Move, 500, 481, 601, 500, true, true, "111111"},
        {Move, 1001, 481, 601, 500, false, false, "111111"},
    };
    auto window = replayOf(1000, 5);
    QVERIFY(window);
    const GraphSystem& graph = window->graphSystem();
    for (std::size_t i = 0; i < steps.size(); ++i) {
      const Step& step = steps[i];
      const QByteArray where = "step " + QByteArray::number(int(i) + 1);
      display->fake().calls.clear();
      CountingDataShow::graphs = 0;
      act(*window, step);
      QVERIFY2(graph.graphStartNo == step.start && graph.graphEndNo == step.end && graph.graphCusorNo == step.cursor,
               where + ": " + QByteArray::number(graph.graphStartNo) + ".." + QByteArray::number(graph.graphEndNo) +
                   " cursor " + QByteArray::number(graph.graphCusorNo));
      QCOMPARE(graph.graphNum, graph.graphEndNo - graph.graphStartNo + 1);
      const QStringList reads = display->fake().callsOf(QStringLiteral("getCursData"));
      QVERIFY2(reads.isEmpty() != step.cursorRead, where + ": cursor read");
      if (step.cursorRead) {
        QVERIFY2(reads.last().contains(QStringLiteral(", %1, *").arg(step.cursor)), where + ": " + reads.last().toUtf8());
      }
      QVERIFY2((CountingDataShow::graphs == 1) == step.graphDrawn, where + ": graphs drawn");
      QVERIFY2(buttonText(*window) == step.buttons, where + ": buttons " + buttonText(*window));
      QVERIFY2(!window->busyFlag() && window->flagForEndOk, where + ": busy");
      // The cursor line stands on the cursor's record.
      QCOMPARE(window->linCusorAnalog->x(),
               window->picAnalog->contentsRect().left() + qRound(window->screen().cursorX() / 15.0));
    }
  }

  void nothingMovesWhereThereIsNothingToMove() {
    struct Case {
      const char* name;
      bool live;
      int32_t records;
      bool closing;
    };
    const Case cases[] = {
        {"live window", true, 121, false},
        {"recording without records", false, 0, false},
        {"closing replay", false, 1000, true},
    };
    for (const Case& c : cases) {
      display->items->records = c.records;
      auto window = c.live ? display->openLive(systemOf(kOrdinarySystem, {1, 0, 0, 0}))
                           : display->openReplay(systemOf(kOrdinarySystem, {1, 0, 0, 0}));
      QVERIFY2(window, c.name);
      if (c.closing) window->prepareForEndFormDataShow();
      const GraphSystem before = window->graphSystem();
      display->fake().calls.clear();
      CountingDataShow::graphs = 0;
      for (const Step& step : {Step{F1}, Step{F2}, Step{F3}, Step{F4}, Step{F5}, Step{F6}, Step{ClickOn, 10},
                               Step{Move, 5}}) {
        act(*window, step);
      }
      // A recording's F7 opens the search window even without records.
      if (c.live || c.closing) QTest::keyClick(window->grdList, Qt::Key_F7);
      const GraphSystem& after = window->graphSystem();
      QVERIFY2(after.graphStartNo == before.graphStartNo && after.graphCusorNo == before.graphCusorNo &&
                   after.graphScale == before.graphScale,
               c.name);
      QVERIFY2(display->fake().calls.isEmpty() && CountingDataShow::graphs == 0, c.name);
    }
  }

  void aRecordingWithoutRecordsReadsNoCursor() {
    display->fake().calls.clear();
    auto window = replayOf(0, 5);
    QVERIFY(window);
    QVERIFY(display->fake().callsOf(QStringLiteral("getCursData")).isEmpty());
    QCOMPARE(window->graphSystem().graphCusorNo, 0);
    QCOMPARE(buttonText(*window), QByteArray("000000"));
  }

  void onePositionPerScreenNeverReadsPastTheFile() {
    // 600 s at 600 s: one interval a screen. On the last record, back shows
    // the last two, and forward then stops at the end.
    auto window = replayOf(50, 600);
    QVERIFY(window);
    window->moveCusor(50);
    const GraphSystem& graph = window->graphSystem();
    QCOMPARE(QList<int32_t>({graph.graphStartNo, graph.graphEndNo, graph.graphCusorNo}), QList<int32_t>({50, 50, 50}));
    QTest::keyClick(window->grdList, Qt::Key_F3);
    QCOMPARE(QList<int32_t>({graph.graphStartNo, graph.graphEndNo, graph.graphCusorNo}), QList<int32_t>({49, 50, 49}));
    QVERIFY(!window->cmdForward->isEnabled());
    display->fake().calls.clear();
    QTest::keyClick(window->grdList, Qt::Key_F4);
    QVERIFY(display->fake().calls.isEmpty());
    QTest::keyClick(window->grdList, Qt::Key_Right);
    for (const QString& read : display->fake().callsOf(QStringLiteral("getCursData"))) {
      QVERIFY2(read.contains(QStringLiteral(", 50, *")), qPrintable(read));
    }
  }
};

QTEST_MAIN(DataShowNavigationTest)
#include "data_show_navigation_test.moc"
