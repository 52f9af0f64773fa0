// What the map window does to a map at its edges: the recording settings
// every map starts from when the window opens, and the emptying of a map's
// tree and of the display pages before a map is replaced.
#pragma once

#include "frame/program_values.h"
#include "types/GraphSystem.h"
#include "types/MapQ7net.h"
#include "types/MapShowManager.h"

// Interval 20 s, stopped by hand, 30 minutes, trigger 30 minutes, sensor
// channels 1-6 recorded under their usual names, inputs 7 and 8 off with the
// stored sensor-input settings. Applied at every opening, so settings of an
// earlier opening do not carry over.
void applyRecordingDefaults(MapQ7net& map, const SensorParams& sensor);

// Empties the map's systems (ordinary, central, sensor) with their units,
// and its link records; names, numbers and recording settings stay. Other
// holders of the map see it emptied.
void deleteMapQ7netObj(MapQ7net& map);
// Drops every display page; the current page, system and unit numbers stay
// for the next paging.
void deleteMapShowManagerObj(MapShowManager& manager);

// Empties the trigger-condition model: the data items of every outdoor,
// indoor and central unit, then the units. Its system, kind and row count
// stay; the sensor units are not touched.
void deleteSystemTriggerObj(GraphSystem& model);
// Empties the model and starts a new one with every number 0, as when the
// map window closes: conditions chosen for other units cannot reach the
// library.
void releaseSystemTriggerObj(GraphSystem& model);
