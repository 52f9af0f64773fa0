// Which items of a display window are on its graphs. Works on the rows of
// the item list: row r (from 1) is rows[r - 1], in the window's walk order
// (the units of the system kind's collections by number, their items in
// order), which is also the order the analog graph draws them in. The
// digital graph draws no item of a sensor unit.
//
// The window flattens its model into these rows, hands back the graphShow
// flags, and applies the markers, plots and redraws the functions return.
#pragma once

#include "display/graph_plot.h"
#include "display/pen_table.h"

#include <cstdint>
#include <vector>

inline constexpr int32_t kSensorUnitKind = 200;
inline constexpr int32_t kMaxGraphed = 8;  // items per graph

struct ListItem {
  int32_t unitKind = 0;    // 0 outdoor, 1 indoor, 100 central, 200 sensor
  int32_t unitNumber = 0;  // airconNumber
  int32_t dataItemNo = 0;  // the library's item number
  int32_t dataType = 0;    // 0 analog, 1 two-state, 2 code
  int32_t graphShow = 0;   // 1 on a graph
};

// The row's marker and text colours, as setRowMarker writes them.
enum class MarkerState : int32_t { Off = 0, Analog = 1, Digital = 2 };
struct RowMarker {
  int32_t row = 0;
  MarkerState state = MarkerState::Off;
  int32_t pen = 0;  // analog only
  bool operator==(const RowMarker&) const = default;
};

struct GraphedCounts {
  int32_t analogCount = 0;
  int32_t digitalCount = 0;
  bool operator==(const GraphedCounts&) const = default;
};
// The graphed items of each kind; digital items of sensor units count too.
GraphedCounts countGraphedItems(const std::vector<ListItem>& rows);

// The items of a full redraw, in list order, at most eight each: analog
// items with the pen their row holds (pen 0 for none), digital items in
// lanes 0, 1, ... as they come.
std::vector<PlotRequest> analogPlots(const std::vector<ListItem>& rows, const PenTable& pens);
std::vector<PlotRequest> digitalPlots(const std::vector<ListItem>& rows);

// The first marking of a window (after its default items were chosen): the
// first eight graphed analog items take pens 0..7, the first eight graphed
// digital items of other than sensor units are marked digital. Every other
// item is marked off and leaves the graphs, so nothing is drawn unmarked or
// in a pen another item holds. One marker per row.
std::vector<RowMarker> markGraphedItems(std::vector<ListItem>& rows, PenTable& pens);

// Turning the item of a row on or off (its second selection, or F12).
enum class ToggleOutcome {
  Nothing,          // no such row, an item of another type, or a sensor unit's digital item
  TurnedOff,        // marker off; redraw the graph it was on
  TurnedOnAnalog,   // marker in its pen; plot it over the analog area
  TurnedOnDigital,  // marker digital; plot it in the next lane
  AnalogFull,       // eight analog items are on: text 396 in the status line
  DigitalFull,      // eight digital items are on: text 397 in the status line
};
struct Toggle {
  ToggleOutcome outcome = ToggleOutcome::Nothing;
  RowMarker marker;      // TurnedOff and TurnedOn*
  PlotRequest plot;      // TurnedOn*
  bool redrawAnalog = false;   // TurnedOff
  bool redrawDigital = false;  // TurnedOff
};
Toggle toggleItem(std::vector<ListItem>& rows, int32_t row, PenTable& pens);
