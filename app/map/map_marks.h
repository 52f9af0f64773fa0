// The recording marks of the map page's three rows and the map's status
// text: which rows carry the periodic and trigger labels, and what the
// status line says while the map is being collected.
#pragma once

#include "types/MapQ7net.h"
#include "types/MapShowManager.h"

#include <QString>

#include <array>

// Per row of the page: its system is chosen for periodic (trigger) recording.
struct RecordingMarks {
  std::array<bool, 3> recode{};
  std::array<bool, 3> recodeTrigger{};
};

// Recomputes the marks for the current page; systemKindNow follows the page.
// An ordinary system carries its marks only on its first page. A page or
// system that cannot be found leaves the marks set so far.
void setFlagLabelRecode(const MapQ7net& map, MapShowManager& manager, RecordingMarks& marks);

struct RecordingLabels {
  std::array<bool, 3> recodeVisible{};
  std::array<bool, 3> triggerVisible{};
  // "Trig. Record." once the trigger has been met, else "Trig. Inspect.";
  // set only on the rows whose trigger label shows.
  std::array<QString, 3> triggerCaption;
};
// The labels of the rows while the recordings run as the flags say.
RecordingLabels recodeLabels(const RecordingMarks& marks, bool mapRecode, bool mapRecodeTrigger,
                             bool mapRecodeTriggerOn);

// The status line of the map window: the selection hint once the map shows
// data to work with, else the collecting notice (the window shows the
// hourglass with it).
QString mapStatusCaption(bool mapDataReady);
