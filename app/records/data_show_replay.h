// Replay of a listed recorded file: the file is opened in the library and a
// replay display window is opened on it through the display windows'
// opening, its model filled from the file's catalogue entry.
#pragma once

#include "display/data_show_opening.h"
#include "types/DataShowCustom.h"
#include "types/DataShowFile.h"
#include "types/GraphSystem.h"

// The system kind of a recorded file: ordinary when it has outdoor or
// indoor units, else central when it has central units, else sensor only.
int32_t fileSystemKind(const DataShowFile& file);
// Units 1..count of one type, each under the text of its number.
void addGraphAircons(Collection<GraphAircon>& units, int32_t type, int32_t count);

// The model of a replay window: the recording's map, system and start, and
// one unit per outdoor, indoor or central unit of the file (kind 0 when it
// has outdoor or indoor units, else 100 when it has central units, else a
// sensor-only file), with the sensor unit for the access methods that
// record sensor inputs beside the bus or the board, and for a sensor-only
// file.
void setGraphSystemFromFile(GraphSystem& graph, const DataShowCustom& custom, const DataShowFile& file);

// "1-2": the library could not open a recorded file, or found it made by
// another version of the tables.
void showVersionMismatch();

// What the opening of a replay came to.
enum class ReplayOpened {
  Shown,         // a window shows the file (or closed again during set-up)
  NotOpened,     // the library could not open the file: "1-2" was shown
  TableError,    // opened with a table error: "1-2" was shown, no window
  NoWindow,      // the window could not be set up (refused, no items, ...)
};

// Opens the file and a new replay window on it held by `owner`. Whenever no
// window takes the file over, the library's opening is released again, so
// that the file is not held until the list is cleared.
ReplayOpened openDataShowForFile(DisplayWindowOwner& owner, const DataShowCustom& custom, const DataShowFile& file);
