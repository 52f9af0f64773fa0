#include "display/record_arithmetic.h"

#include "display/twips_math.h"

#include <algorithm>

namespace {

constexpr int32_t kOpeningScale = 600;
constexpr int32_t kLiveRecords = 121;
constexpr int32_t kLiveInterval = 5;
constexpr int64_t kSecondsPerDay = 86400;

struct IntervalLimits {
  int32_t interval;
  int32_t largestScale;
};
// The zoom-out limit keeps a screen at 480 records or fewer.
constexpr std::array<IntervalLimits, 9> kIntervals = {{
    {5, 1800}, {10, 3600}, {20, 7200}, {30, 14400}, {60, 28800},
    {120, 28800}, {180, 86400}, {300, 86400}, {600, 172800},
}};

int32_t timeOfDay(int64_t seconds) {
  const int64_t wrapped = seconds % kSecondsPerDay;
  return static_cast<int32_t>(wrapped < 0 ? wrapped + kSecondsPerDay : wrapped);
}

}  // namespace

bool isRecodeInterval(int32_t seconds) {
  const auto same = [&](const IntervalLimits& limits) { return limits.interval == seconds; };
  return std::any_of(kIntervals.begin(), kIntervals.end(), same);
}

int32_t smallestScale(int32_t recodeInterval) { return recodeInterval <= 119 ? 60 : 600; }

int32_t largestScale(int32_t recodeInterval) {
  for (const IntervalLimits& limits : kIntervals) {
    if (limits.interval == recodeInterval) return limits.largestScale;
  }
  return kScaleLadder.back();
}

void RecordArithmetic::setFirstScreen(bool live, int32_t totalNum, int32_t triggerNo, int32_t interval) {
  live_ = live;
  screen_ = ScreenCounters{};
  ScreenCounters& s = screen_;
  s.graphTotalNum = std::max(totalNum, 0);
  s.graphTriggerNo = triggerNo;
  s.recodeInterval = interval;
  s.graphStartNo = 1;
  s.graphScale = kOpeningScale;
  buttons_ = NavigationButtons{};
  if (live) {
    s.recodeInterval = kLiveInterval;
    s.graphCusorNo = s.graphEndNo = s.graphNum = s.graphNumRequired = kLiveRecords;
    s.graphTotalNum = kLiveRecords;
    return;
  }
  if (!isRecodeInterval(s.recodeInterval)) s.recodeInterval = 5;
  if (s.graphTriggerNo < 1 || s.graphTriggerNo > s.graphTotalNum) s.graphTriggerNo = 0;
  if (s.graphTriggerNo != 0) {
    s.graphCusorNo = s.graphTriggerNo;
    fitScreenToCursor();
  } else {
    s.graphNumRequired = kOpeningScale / s.recodeInterval + 1;
    if (s.graphTotalNum < s.graphNumRequired) {
      s.graphCusorNo = s.graphEndNo = s.graphNum = s.graphTotalNum;
    } else {
      s.graphCusorNo = kOpeningScale / (2 * s.recodeInterval) + 1;
      s.graphEndNo = s.graphNum = s.graphNumRequired;
    }
  }
  buttons_.cmdLarge = navigable() && s.recodeInterval < 120;
  buttons_.cmdSmall = navigable();
  enableNavigationButtons();
}

void RecordArithmetic::setScreen(bool live, const ScreenCounters& counters) {
  live_ = live;
  screen_ = counters;
  buttons_ = NavigationButtons{};
  if (!navigable()) return;
  buttons_.cmdLarge = screen_.graphScale > smallestScale(screen_.recodeInterval);
  buttons_.cmdSmall = screen_.graphScale < largestScale(screen_.recodeInterval);
  enableNavigationButtons();
}

int32_t RecordArithmetic::samplesPerScreen() const {
  return screen_.recodeInterval > 0 ? screen_.graphScale / screen_.recodeInterval : 0;
}

void RecordArithmetic::setGraphRange(int32_t graphLeft, int32_t graphRight) {
  graphLeft_ = graphLeft;
  graphRight_ = graphRight;
}

int32_t RecordArithmetic::recordX(int32_t record) const { return xOfPosition(int64_t(record) - screen_.graphStartNo); }

int32_t RecordArithmetic::sampleX(int32_t n) const { return xOfPosition(int64_t(n) - 1); }

// x of the position that many steps right of the screen's first one.
int32_t RecordArithmetic::xOfPosition(int64_t steps) const {
  const int64_t span = int64_t(screen_.graphNumRequired) - 1;
  if (span <= 0) return graphLeft_;
  return graphLeft_ + static_cast<int32_t>(int64_t(graphRight_ - graphLeft_) * steps / span);
}

int32_t RecordArithmetic::cursorX() const { return live_ ? graphRight_ : recordX(screen_.graphCusorNo); }

bool RecordArithmetic::triggerOnScreen() const {
  const int32_t trigger = screen_.graphTriggerNo;
  return !live_ && trigger != 0 && trigger >= screen_.graphStartNo && trigger <= screen_.graphEndNo;
}

std::array<int32_t, 3> RecordArithmetic::timeAxisSeconds(int32_t cusorTime, int32_t saveTime) const {
  if (live_) return {timeOfDay(int64_t(cusorTime) - 600), timeOfDay(int64_t(cusorTime) - 300), timeOfDay(cusorTime)};
  const int64_t a = screen_.graphStartNo;
  const int64_t r = screen_.graphNumRequired;
  const int64_t v = screen_.recodeInterval;
  return {timeOfDay(saveTime + (a - 1) * v), timeOfDay(saveTime + ((2 * a + r - 3) * v) / 2),
          timeOfDay(saveTime + (a + r - 2) * v)};
}

// The screens of one scale form a grid from record 1 stepping by the
// screen's span; the cursor lands on the grid screen that holds it. A cursor
// on the first record of a grid screen, which the screen before also holds
// as its last position, is shown at the right end of that earlier screen.
void RecordArithmetic::fitScreenToCursor() {
  const int32_t l = samplesPerScreen();
  if (l < 1) return;
  const int32_t c = screen_.graphCusorNo;
  int32_t b = c / l;
  if (b != 0 && (c % l == 0 || c % l == 1)) b -= 1;
  showScreenFrom(l * b + 1);
}

void RecordArithmetic::showScreenFrom(int32_t start) {
  ScreenCounters& s = screen_;
  s.graphStartNo = start;
  s.graphNumRequired = samplesPerScreen() + 1;
  if (s.graphTotalNum < s.graphStartNo + s.graphNumRequired - 1) {
    s.graphNum = s.graphTotalNum - s.graphStartNo + 1;
    s.graphEndNo = s.graphTotalNum;
  } else {
    s.graphNum = s.graphNumRequired;
    s.graphEndNo = s.graphStartNo + s.graphNumRequired - 1;
  }
}

// One interval a screen: the screen and the cursor move by one record, and
// the end never passes the file's last record.
void RecordArithmetic::stepOneRecord(int32_t by) {
  ScreenCounters& s = screen_;
  s.graphStartNo += by;
  s.graphEndNo = std::min(s.graphStartNo + 1, s.graphTotalNum);
  s.graphNum = s.graphEndNo - s.graphStartNo + 1;
  s.graphCusorNo += by;
  keepCursorOnScreen();
}

void RecordArithmetic::keepCursorOnScreen() {
  screen_.graphCusorNo = std::clamp(screen_.graphCusorNo, screen_.graphStartNo, screen_.graphEndNo);
}

Redraw RecordArithmetic::changeScale(int32_t scale, bool largeEnabled, bool smallEnabled) {
  buttons_.cmdLarge = largeEnabled;
  buttons_.cmdSmall = smallEnabled;
  screen_.graphScale = scale;
  fitScreenToCursor();
  return Redraw{.cursor = true, .cursorValues = false, .graphs = true};
}

Redraw RecordArithmetic::zoomIn() {
  if (!navigable()) return {};
  if (screen_.graphScale == kScaleLadder.front()) {
    buttons_.cmdLarge = false;
    return {};
  }
  Redraw redraw;
  const auto at = std::find(kScaleLadder.begin(), kScaleLadder.end(), screen_.graphScale);
  if (at != kScaleLadder.end()) {
    const int32_t to = *(at - 1);
    const int32_t smallest = smallestScale(screen_.recodeInterval);
    if (to < smallest) {  // 600 s is already the smallest screen of long intervals
      buttons_.cmdLarge = false;
      buttons_.cmdSmall = true;
    } else {
      redraw = changeScale(to, to > smallest, true);
    }
  }
  enableNavigationButtons();
  return redraw;
}

Redraw RecordArithmetic::zoomOut() {
  if (!navigable()) return {};
  // The ladder's end, or the interval's limit that the button was disabled
  // for: a screen never grows beyond 480 records.
  if (screen_.graphScale >= largestScale(screen_.recodeInterval)) {
    buttons_.cmdSmall = false;
    return {};
  }
  Redraw redraw;
  const auto at = std::find(kScaleLadder.begin(), kScaleLadder.end(), screen_.graphScale);
  if (at != kScaleLadder.end()) {
    const int32_t to = *(at + 1);
    redraw = changeScale(to, true, to != kScaleLadder.back());
  }
  enableNavigationButtons();
  limitZoomOut();
  return redraw;
}

void RecordArithmetic::limitZoomOut() {
  if (screen_.graphScale >= largestScale(screen_.recodeInterval)) buttons_.cmdSmall = false;
}

Redraw RecordArithmetic::pageForward() {
  if (!navigable()) return {};
  ScreenCounters& s = screen_;
  if (s.graphEndNo == s.graphTotalNum) {
    buttons_.cmdForward = false;
    return {};
  }
  const int32_t h = pageStep();
  bool moved = false;
  if (h != 0) {
    s.graphStartNo += h;
    s.graphEndNo = std::min(s.graphEndNo + h, s.graphTotalNum);
    s.graphNum = s.graphEndNo - s.graphStartNo + 1;
    if (s.graphCusorNo < s.graphStartNo) {  // the cursor fell off the left edge
      s.graphCusorNo = std::min(s.graphCusorNo + h, s.graphTotalNum);
      moved = true;
    }
  } else {
    stepOneRecord(1);
    moved = true;
  }
  enableNavigationButtons();
  return Redraw{.cursor = true, .cursorValues = moved, .graphs = true};
}

Redraw RecordArithmetic::pageBackward() {
  if (!navigable()) return {};
  ScreenCounters& s = screen_;
  if (s.graphStartNo == 1) {
    buttons_.cmdBackward = false;
    return {};
  }
  const int32_t h = pageStep();
  bool moved = false;
  if (h != 0) {
    // A screen placed on the grid of an odd span can stand closer than h
    // to record 1; it stops there rather than before the first record.
    showScreenFrom(std::max(s.graphStartNo - h, 1));
    if (s.graphEndNo < s.graphCusorNo) {  // the cursor fell off the right edge
      s.graphCusorNo -= h;
      keepCursorOnScreen();
      moved = true;
    }
  } else {
    stepOneRecord(-1);
    moved = true;
  }
  enableNavigationButtons();
  return Redraw{.cursor = true, .cursorValues = moved, .graphs = true};
}

Redraw RecordArithmetic::cursorLeft() { return stepCursor(-1, screen_.graphStartNo, buttons_.cmdLeft); }

Redraw RecordArithmetic::cursorRight() { return stepCursor(1, screen_.graphEndNo, buttons_.cmdRight); }

// The screen never moves with a cursor step; a step at the screen's edge
// only disables its button.
Redraw RecordArithmetic::stepCursor(int32_t by, int32_t edge, bool& button) {
  if (!navigable()) return {};
  if (screen_.graphCusorNo == edge) {
    button = false;
    return {};
  }
  screen_.graphCusorNo += by;
  enableCursorButtons();
  return Redraw{.cursor = true, .cursorValues = true, .graphs = false};
}

Redraw RecordArithmetic::placeCursor(double x) {
  if (!navigable()) return {};
  if (x < graphLeft_ || x > graphRight_) return {};
  const ScreenCounters& s = screen_;
  int32_t target = s.graphEndNo;
  if (x <= recordX(s.graphEndNo)) {
    // The first position not left of the click by more than half a twip.
    for (int32_t n = 1; n <= s.graphNumRequired; ++n) {
      if (roundHalfEven(sampleX(n) - x) >= 0) {
        target = s.graphStartNo + n - 1;
        break;
      }
    }
  }
  if (target == s.graphCusorNo) return {};
  screen_.graphCusorNo = target;
  enableCursorButtons();
  return Redraw{.cursor = true, .cursorValues = true, .graphs = false};
}

Redraw RecordArithmetic::moveCusor(int32_t tmpCusorNo) {
  if (!navigable()) return {};
  const ScreenCounters& s = screen_;
  if (tmpCusorNo < 1 || tmpCusorNo > s.graphTotalNum || tmpCusorNo == s.graphCusorNo) return {};
  const bool offScreen = tmpCusorNo < s.graphStartNo || tmpCusorNo > s.graphEndNo;
  screen_.graphCusorNo = tmpCusorNo;
  if (offScreen) fitScreenToCursor();
  enableNavigationButtons();
  return Redraw{.cursor = true, .cursorValues = true, .graphs = offScreen};
}

void RecordArithmetic::enableCursorButtons() {
  if (!navigable()) return;
  buttons_.cmdLeft = screen_.graphCusorNo != screen_.graphStartNo;
  buttons_.cmdRight = screen_.graphCusorNo != screen_.graphEndNo;
}

void RecordArithmetic::enablePageButtons() {
  if (!navigable()) return;
  buttons_.cmdBackward = screen_.graphStartNo != 1;
  buttons_.cmdForward = screen_.graphEndNo != screen_.graphTotalNum;
}

void RecordArithmetic::enableNavigationButtons() {
  enableCursorButtons();
  enablePageButtons();
}
