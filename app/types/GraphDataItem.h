// One data item of a unit in a display window or in the trigger-condition
// model: its place in the unit's list, its value at the cursor and its
// graph and trigger settings.
#pragma once

#include <QString>

#include <cstdint>

struct GraphDataItem {
  int32_t listNo = 0;      // place in the unit's dataItems, 1.. without gaps; also its key
  int32_t dataItemNo = 0;  // the item's number in the library's list of the unit
  QString dataName;        // name in the item list and the graph legend
  QString cusorDataOld;    // value text at the cursor read before
  QString cusorData;       // value text at the cursor
  QString changeTimeOld;   // change-time text at the cursor read before
  QString changeTime;      // "hh:mm:ss" or "--:--:--"
  QString fullScale;       // as the library gives it; " " for two-state and code items
  int32_t graphShow = 0;         // 1 drawn on the graph
  int32_t graphShowDefault = 0;  // the library's default-graph flag
  int32_t dataType = 0;          // 0 analog, 1 two-state, 2 code
  // Trigger-condition model.
  QString triggerConString0;      // text offered for state 0
  QString triggerConString1;      // text offered for state 1
  int32_t triggerCondition1 = 0;  // 0 state 0, 1 state 1, 2 not set
  int32_t triggerCondition2 = 0;
  // Trigger conditions of a recorded file as shown.
  QString trigConShowString1;
  QString trigConShowString2;
};
