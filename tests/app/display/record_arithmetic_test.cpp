// The screen of a display window: its first screen, record positions, time
// ticks, zoom, paging, cursor steps, the mouse and search hits.
#include "display/record_arithmetic.h"

#include <QtTest>

#include <vector>

namespace {

enum Op { ZoomIn, ZoomOut, Forward, Back, Left, Right, Move, Click };

// One step (Forward and Back repeated arg times) and the screen after it;
// redraw is "cvg" (showCusor, cursor values, showGraph) with '-' for what
// must not run; buttons, when given, are F1..F6 as '1' enabled or '0'.
struct Step {
  Op op;
  double arg;
  int32_t start, end, cursor;
  const char* redraw;
  const char* buttons = nullptr;
};

struct Scenario {
  const char* name;
  int32_t total, trigger, interval;
  std::vector<Step> steps;
  bool live = false;
};

Redraw run(RecordArithmetic& a, const Step& step) {
  switch (step.op) {
    case ZoomIn: return a.zoomIn();
    case ZoomOut: return a.zoomOut();
    case Forward:
    case Back: {
      Redraw last;
      for (int i = 0; i < std::max(1, int(step.arg)); ++i) {
        last = step.op == Forward ? a.pageForward() : a.pageBackward();
      }
      return last;
    }
    case Left: return a.cursorLeft();
    case Right: return a.cursorRight();
    case Move: return a.moveCusor(static_cast<int32_t>(step.arg));
    case Click: return a.placeCursor(step.arg);
  }
  return {};
}

QByteArray redrawText(const Redraw& r) {
  return QByteArray(r.cursor ? "c" : "-") + (r.cursorValues ? "v" : "-") + (r.graphs ? "g" : "-");
}

QByteArray buttonText(const NavigationButtons& b) {
  QByteArray text;
  for (bool on : {b.cmdLarge, b.cmdSmall, b.cmdBackward, b.cmdForward, b.cmdLeft, b.cmdRight}) text += on ? '1' : '0';
  return text;
}

}  // namespace

class RecordArithmeticTest : public QObject {
  Q_OBJECT

 private slots:
  void firstScreens() {
    struct Case {
      const char* name;
      bool live;
      int32_t total, trigger, interval;
      ScreenCounters expected;  // interval, scale, total, start, end, num, required, cursor, trigger
      const char* buttons;
    };
    const int32_t t = 1000;
    const Case cases[] = {
        {"no trigger: cursor in the middle", false, t, 0, 20, {20, 600, t, 1, 31, 31, 31, 16, 0}, "110111"},
        {"trigger on a grid start: right end", false, t, 121, 5, {5, 600, t, 1, 121, 121, 121, 121, 121}, "110110"},
        {"trigger second to last", false, t, 240, 5, {5, 600, t, 121, 241, 121, 121, 240, 240}, "111111"},
        {"trigger inside its screen", false, t, 200, 5, {5, 600, t, 121, 241, 121, 121, 200, 200}, "111111"},
        {"trigger screen cut short", false, 130, 125, 5, {5, 600, 130, 121, 130, 10, 121, 125, 125}, "111011"},
        {"short file", false, 50, 0, 5, {5, 600, 50, 1, 50, 50, 121, 50, 0}, "110010"},
        {"7 s read as 5 s", false, t, 0, 7, {5, 600, t, 1, 121, 121, 121, 61, 0}, "110111"},
        {"120 s cannot zoom in", false, t, 0, 120, {120, 600, t, 1, 6, 6, 6, 3, 0}, "010111"},
        {"trigger past the file counts as none", false, 100, 500, 5, {5, 600, 100, 1, 100, 100, 121, 100, 0}, "110010"},
        {"negative trigger counts as none", false, t, -3, 60, {60, 600, t, 1, 11, 11, 11, 6, 0}, "110111"},
        {"live: 121 at 5 s, whatever comes", true, 300, 0, 30, {5, 600, 121, 1, 121, 121, 121, 121, 0}, "000000"},
        {"empty recording", false, 0, 0, 5, {5, 600, 0, 1, 0, 0, 121, 0, 0}, "000000"},
    };
    for (const Case& c : cases) {
      RecordArithmetic a;
      a.setFirstScreen(c.live, c.total, c.trigger, c.interval);
      QVERIFY2(a.screen() == c.expected, c.name);
      QVERIFY2(buttonText(a.buttons()) == c.buttons, c.name + QByteArray(": ") + buttonText(a.buttons()));
    }
  }

  void positionsAndTimeTicks() {
    RecordArithmetic a, live;
    a.setFirstScreen(false, 1000, 240, 5);  // 121..241
    live.setFirstScreen(true, 121, 0, 5);
    for (RecordArithmetic* r : {&a, &live}) r->setGraphRange(30, 5970);
    QVERIFY(a.recordX(122) == 79 && a.recordX(151) == 1515);
    QVERIFY(a.sampleX(1) == 30 && a.sampleX(121) == 5970);
    QVERIFY(a.cursorX() == a.recordX(240) && live.cursorX() == 5970 && a.triggerOnScreen());
    QCOMPARE(a.recordX(2000000000), 30 + int32_t(5940LL * (2000000000LL - 121) / 120));  // no overflow
    a.moveCusor(400);  // the screen leaves the trigger
    QVERIFY(!a.triggerOnScreen());

    QCOMPARE(live.timeAxisSeconds(240, 0), (std::array<int32_t, 3>{86040, 86340, 240}));
    a.setFirstScreen(false, 200, 65, 60);  // 61..71
    QCOMPARE(a.timeAxisSeconds(0, 23 * 3600), (std::array<int32_t, 3>{0, 300, 600}));
    // A partial last screen is labelled as a full one; long files do not overflow.
    a.setScreen(false, {600, 600, 10000000, 9999999, 10000000, 2, 2, 9999999, 0});
    const int64_t day = 86400;
    QCOMPARE(a.timeAxisSeconds(0, 0), (std::array<int32_t, 3>{int32_t(5999998800LL % day), int32_t(5999999100LL % day),
                                                            int32_t(5999999400LL % day)}));
  }

  void navigation() {
    const Scenario scenarios[] = {
        {"zoom out to the 20 s limit and in to a 60 s screen holding the cursor", 1000, 0, 20,
         {{ZoomOut, 0, 1, 91, 16, "c-g", "110111"}, {ZoomOut, 0, 1, 181, 16, "c-g"},
          {ZoomOut, 0, 1, 361, 16, "c-g", "100111"}, {ZoomOut, 0, 1, 361, 16, "---", "100111"},
          {ZoomIn, 0, 1, 181, 16, "c-g"}, {ZoomIn, 0, 1, 91, 16, "c-g"}, {ZoomIn, 0, 1, 31, 16, "c-g"},
          {ZoomIn, 0, 13, 16, 16, "c-g", "011110"}, {ZoomIn, 0, 13, 16, 16, "---", "011110"}}},
        {"grid screens at 1800 s", 2000, 181, 10, {{ZoomOut, 0, 1, 181, 181, "c-g"}}},
        {"grid screens at 1800 s", 2000, 360, 10, {{ZoomOut, 0, 181, 361, 360, "c-g"}}},
        {"grid screens at 1800 s", 2000, 362, 10, {{ZoomOut, 0, 361, 541, 362, "c-g"}}},
        {"120 s stays at 600 s", 1000, 0, 120, {{ZoomIn, 0, 1, 6, 3, "---", "010111"}}},
        {"5 s zooms out once", 1000, 0, 5,
         {{ZoomOut, 0, 1, 361, 61, "c-g", "100111"}, {ZoomIn, 0, 1, 121, 61, "c-g", "110111"}}},
        {"fifteen pages reach the end", 1000, 0, 5,
         {{Forward, 15, 901, 1000, 901, "cvg", "111001"}, {Forward, 0, 901, 1000, 901, "---", "111001"},
          {Back, 0, 841, 961, 901, "c-g", "111111"}}},
        {"page forward and back keep the cursor", 1000, 0, 5,
         {{Move, 10, 1, 121, 10, "cv-"}, {Forward, 0, 61, 181, 70, "cvg"}, {Back, 0, 1, 121, 70, "c-g", "110111"},
          {Back, 0, 1, 121, 70, "---", "110111"}}},
        {"an odd span pages back to record 1, never before it", 1000, 0, 120,
         {{Move, 8, 6, 11, 8, "cvg"}, {Back, 0, 4, 9, 8, "c-g"}, {Back, 0, 2, 7, 6, "cvg"},
          {Back, 0, 1, 6, 6, "c-g", "010110"}}},
        {"one record a screen keeps the last record drawn", 50, 0, 600,
         {{Move, 50, 50, 50, 50, "cvg"}, {Forward, 0, 50, 50, 50, "---"}, {Back, 0, 49, 50, 49, "cvg", "011001"},
          {Back, 0, 48, 49, 48, "cvg"}, {Forward, 0, 49, 50, 49, "cvg", "011001"}}},
        {"clicks go to the first position not left of them by half a twip", 1000, 0, 5,
         {{Forward, 0, 61, 181, 61, "c-g"}, {Click, 1500, 61, 181, 91, "cv-"}, {Click, 1515.4, 61, 181, 91, "---"},
          {Click, 1515.6, 61, 181, 92, "cv-"}, {Click, 5980, 61, 181, 92, "---"}, {Click, 29.9, 61, 181, 92, "---"},
          {Click, 30, 61, 181, 61, "cv-", "111101"}}},
        {"a click right of a partial screen takes its last record", 250, 0, 5,
         {{Move, 245, 241, 250, 245, "cvg"}, {Click, 3000, 241, 250, 250, "cv-", "111010"}}},
        {"cursor steps stop at the screen's edges", 1000, 0, 5,
         {{Move, 2, 1, 121, 2, "cv-"}, {Left, 0, 1, 121, 1, "cv-", "110101"}, {Left, 0, 1, 121, 1, "---", "110101"},
          {Move, 120, 1, 121, 120, "cv-"}, {Right, 0, 1, 121, 121, "cv-", "110110"}, {Right, 0, 1, 121, 121, "---"}}},
        {"search hits outside the file move nothing", 1000, 0, 5,
         {{Move, 0, 1, 121, 61, "---"}, {Move, 1001, 1, 121, 61, "---"}, {Move, 61, 1, 121, 61, "---"}}},
        {"an empty recording navigates nowhere", 0, 0, 5,
         {{Move, 1, 1, 0, 0, "---"}, {Forward, 0, 1, 0, 0, "---"}, {Back, 0, 1, 0, 0, "---"}, {Left, 0, 1, 0, 0, "---"},
          {Right, 0, 1, 0, 0, "---"}, {Click, 100, 1, 0, 0, "---"}, {ZoomIn, 0, 1, 0, 0, "---"},
          {ZoomOut, 0, 1, 0, 0, "---", "000000"}}},
        {"live windows do not navigate", 121, 0, 5,
         {{ZoomIn, 0, 1, 121, 121, "---"}, {ZoomOut, 0, 1, 121, 121, "---"}, {Forward, 0, 1, 121, 121, "---"},
          {Back, 0, 1, 121, 121, "---"}, {Left, 0, 1, 121, 121, "---"}, {Move, 5, 1, 121, 121, "---"},
          {Click, 100, 1, 121, 121, "---", "000000"}},
         true},
    };
    for (const Scenario& s : scenarios) {
      RecordArithmetic a;
      a.setFirstScreen(s.live, s.total, s.trigger, s.interval);
      a.setGraphRange(30, 5970);
      for (size_t i = 0; i < s.steps.size(); ++i) {
        const Step& step = s.steps[i];
        const QByteArray where = QByteArray(s.name) + ", step " + QByteArray::number(int(i) + 1) + ": ";
        const Redraw redraw = run(a, step);
        const ScreenCounters& c = a.screen();
        QVERIFY2(c.graphStartNo == step.start && c.graphEndNo == step.end && c.graphCusorNo == step.cursor,
                 where + QByteArray::number(c.graphStartNo) + ".." + QByteArray::number(c.graphEndNo) + " cursor " +
                     QByteArray::number(c.graphCusorNo));
        QVERIFY2(c.graphNum == c.graphEndNo - c.graphStartNo + 1 || c.graphTotalNum == 0, where + "count");
        QVERIFY2(c.graphNumRequired == a.samplesPerScreen() + 1, where + "positions");
        QVERIFY2(redrawText(redraw) == step.redraw, where + redrawText(redraw));
        if (step.buttons) QVERIFY2(buttonText(a.buttons()) == step.buttons, where + buttonText(a.buttons()));
      }
    }
  }
};

QTEST_MAIN(RecordArithmeticTest)
#include "record_arithmetic_test.moc"
