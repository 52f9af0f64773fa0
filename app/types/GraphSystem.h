// What one display window shows: one system of a map, live or replayed, its
// units and the window's paging counters. The trigger-condition model of the
// map window is held in the same shape.
#pragma once

#include "types/Collection.h"
#include "types/GraphAircon.h"

#include <QString>

#include <cstdint>

struct GraphSystem {
  QString customName;
  QString mapName;
  int32_t mapNumber = 0;
  int32_t ifMode = 0;        // interface mode bits of the map
  QString systemName;
  int32_t systemNumber = 0;  // the system selector of the library calls
  int32_t systemKind = 0;    // 0 ordinary, 100 central bus, 200 sensor only
  QString kind;              // model text, appended to the window title
  int32_t realtime = 0;      // 1 live, 0 replay
  int32_t saveYear = 0;
  int32_t saveMonth = 0;
  int32_t saveDay = 0;
  int32_t saveTime = 0;      // recording start, seconds after midnight
  int32_t cusorYear = 0;
  int32_t cusorMonth = 0;
  int32_t cusorDay = 0;
  int32_t cusorTime = 0;     // cursor sample, seconds after midnight
  int32_t recodeInterval = 0;    // seconds between samples
  int32_t graphScale = 0;        // seconds across the graph
  int32_t graphTotalNum = 0;     // samples available
  int32_t graphStartNo = 0;      // sample at the left edge, from 1
  int32_t graphCusorNo = 0;      // sample under the cursor
  int32_t graphTriggerNo = 0;    // trigger sample of a trigger file, 0 for none
  int32_t graphEndNo = 0;        // last drawn sample
  int32_t graphNum = 0;          // samples drawn
  int32_t graphNumRequired = 0;  // samples of a full screen
  int32_t airconNumberNow = 0;   // the chosen unit, counted in list order from 1
  int32_t graphTopRow = 0;       // item-list row of the chosen unit's first item
  int32_t totalItemNumber = 0;   // items of all units; 0: nothing to show
  Collection<GraphAircon> airconsOut;  // keyed by airconNumber text
  Collection<GraphAircon> airconsIn;
  Collection<GraphAircon> airconsCen;
  Collection<GraphAircon> airconsSen;
  bool sensorDataShow = false;   // the sensor unit is shown beside a bus system
  int32_t digitalItemNumber = 0; // trigger model: condition rows; 0 rebuilds the model
};

// What a live and a replayed window's model start from alike: which map,
// live (1) or replay (0), the list at its first row and no sensor unit
// beside the system.
inline void setGraphSystemMap(GraphSystem& graph, const QString& customName, const QString& mapName, int32_t mapNumber,
                              int32_t ifMode, int32_t realtime) {
  graph.customName = customName;
  graph.mapName = mapName;
  graph.mapNumber = mapNumber;
  graph.ifMode = ifMode;
  graph.realtime = realtime;
  graph.graphTopRow = 1;
  graph.sensorDataShow = false;
}
