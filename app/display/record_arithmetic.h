// The record arithmetic of a display window's screen: which records the
// graphs show, the record under the cursor, the zoom ladder, paging, cursor
// steps and the mapping between records and x positions in twips.
//
// It knows no widget and no model class. The window keeps one of these,
// copies the counters into its GraphSystem after each step (other windows
// read them there), sets its six navigation buttons from buttons() and runs
// the redraw the step returns, inside one busy state.
#pragma once

#include <array>
#include <cstdint>

// The counters of one screen; records are numbered from 1.
struct ScreenCounters {
  int32_t recodeInterval = 5;    // seconds between two records
  int32_t graphScale = 600;      // seconds one screen spans
  int32_t graphTotalNum = 0;     // records available
  int32_t graphStartNo = 1;      // record at the left edge
  int32_t graphEndNo = 0;        // last record shown
  int32_t graphNum = 0;          // records the graphs draw from graphStartNo on
  int32_t graphNumRequired = 0;  // positions across a full screen
  int32_t graphCusorNo = 0;      // record under the cursor
  int32_t graphTriggerNo = 0;    // record of the trigger moment, 0 for none

  bool operator==(const ScreenCounters&) const = default;
};

// Enabled states of the navigation buttons: zoom in (F1), zoom out (F2),
// page back (F3) and forward (F4), cursor left (F5) and right (F6).
struct NavigationButtons {
  bool cmdLarge = false;
  bool cmdSmall = false;
  bool cmdBackward = false;
  bool cmdForward = false;
  bool cmdLeft = false;
  bool cmdRight = false;

  bool operator==(const NavigationButtons&) const = default;
};

// What a step asks of the window, run in this order inside one busy state:
// showCusor, setCusorData, showLabel, showCusorData, showGraph.
struct Redraw {
  bool cursor = false;        // showCusor and showLabel
  bool cursorValues = false;  // setCusorData and showCusorData as well
  bool graphs = false;        // showGraph at the end

  bool operator==(const Redraw&) const = default;
};

// The zoom ladder of graphScale, in seconds.
inline constexpr std::array<int32_t, 9> kScaleLadder = {60, 600, 1800, 3600, 7200, 14400, 28800, 86400, 172800};
// Whether a recording interval is one a file may have; others are read as 5.
bool isRecodeInterval(int32_t seconds);
// The smallest and largest graphScale a recording interval allows.
int32_t smallestScale(int32_t recodeInterval);
int32_t largestScale(int32_t recodeInterval);

class RecordArithmetic {
 public:
  // The first screen, from what the library reports of the items' source.
  // A live window shows the newest 121 records at 5 s. A replay window opens
  // at 600 s on the grid screen of its trigger record, or without one with
  // the cursor in the middle of the first screen. A trigger outside the
  // file (a damaged header) counts as none.
  void setFirstScreen(bool live, int32_t totalNum, int32_t triggerNo, int32_t interval);
  // Takes over counters kept elsewhere; the buttons follow them.
  void setScreen(bool live, const ScreenCounters& counters);

  const ScreenCounters& screen() const { return screen_; }
  const NavigationButtons& buttons() const { return buttons_; }
  bool live() const { return live_; }
  // Records one screen spans: graphScale \ recodeInterval.
  int32_t samplesPerScreen() const;

  // The x range of the samples, kept by the layout of the graphs.
  void setGraphRange(int32_t graphLeft, int32_t graphRight);
  int32_t graphLeft() const { return graphLeft_; }
  int32_t graphRight() const { return graphRight_; }
  // x of a record, and of the n-th position of the screen (n from 1).
  int32_t recordX(int32_t record) const;
  int32_t sampleX(int32_t n) const;
  // x of the cursor line: the right end in a live window.
  int32_t cursorX() const;
  // The trigger lines are drawn only while the trigger record is on the
  // screen of a replay window.
  bool triggerOnScreen() const;
  // Seconds of the day under the left, middle and right time ticks. A live
  // screen spans the last 600 s before the cursor; a replayed one the full
  // screen from its first record, counted from the recording's start.
  std::array<int32_t, 3> timeAxisSeconds(int32_t cusorTime, int32_t saveTime) const;

  // The steps of the navigation buttons and the mouse. Each does nothing
  // in a live window or over a recording without records.
  Redraw zoomIn();
  Redraw zoomOut();
  Redraw pageForward();
  Redraw pageBackward();
  Redraw cursorLeft();
  Redraw cursorRight();
  // A mouse button pressed at x (twips) in either graph.
  Redraw placeCursor(double x);
  // Puts the cursor on a record found by a search.
  Redraw moveCusor(int32_t tmpCusorNo);

 private:
  int32_t xOfPosition(int64_t steps) const;
  bool navigable() const { return !live_ && screen_.graphTotalNum >= 1; }
  int32_t pageStep() const { return samplesPerScreen() / 2; }
  void fitScreenToCursor();
  void showScreenFrom(int32_t start);
  void stepOneRecord(int32_t by);
  void keepCursorOnScreen();
  Redraw stepCursor(int32_t by, int32_t edge, bool& button);
  Redraw changeScale(int32_t scale, bool largeEnabled, bool smallEnabled);
  void enableCursorButtons();
  void enablePageButtons();
  void enableNavigationButtons();
  void limitZoomOut();

  bool live_ = true;
  ScreenCounters screen_;
  NavigationButtons buttons_;
  int32_t graphLeft_ = 0;
  int32_t graphRight_ = 0;
};
