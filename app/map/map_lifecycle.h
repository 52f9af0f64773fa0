// What the map window does to a map at its edges: the recording settings
// every map starts from when the window opens, and the emptying of a map's
// tree and of the display pages before a map is replaced.
#pragma once

#include "frame/program_values.h"
#include "types/CustomInfor.h"
#include "types/GraphSystem.h"
#include "types/MapQ7net.h"
#include "types/MapShowManager.h"

#include <memory>

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

// Empties the trigger-condition model (deleteSystemTriggerObj) and starts a new one with every number 0, as when the
// map window closes: conditions chosen for other units cannot reach the
// library.
void releaseSystemTriggerObj(GraphSystem& model);

// Stores the map of a closing map window into the customer. A map with an
// ordinary or central system goes with every unit off line and without its
// sensor part (its mode loses the sensor input, and gatherMode follows); a
// new map (scan mode) joins the customer's maps under its mapIndex while the
// customer holds fewer maps than its number. A map without such a system is
// emptied, unless it is one of the customer's maps (one made elsewhere keeps
// its link records).
void storeMapIntoCustomer(const std::shared_ptr<MapQ7net>& map, int32_t mapMode, CustomInfor& customer,
                          int32_t& gatherMode);
