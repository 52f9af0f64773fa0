// The map list's model: a customer's maps numbered 1..N for the rows, the
// deletion of a map, the test whether a bus map's units all have a model,
// and what opening a map does to the map window's maps.
#pragma once

#include "frame/site/site_files.h"
#include "map/map_window_maps.h"
#include "types/CustomInfor.h"

#include <QString>

#include <cstdint>
#include <memory>

class TramsollApi;

// Numbers the customer's maps 1..N in the order of their mapNumber, maps of
// equal number in collection order, so that every map has a row and every
// row a map (the customer file is written by these numbers, too).
void renumberMaps(CustomInfor& customer);
// The first map bearing that mapNumber (a row of the list), or null.
std::shared_ptr<MapQ7net> mapOfNumber(const CustomInfor& customer, int32_t mapNumber);
// The row to select after the list is filled with `mapCount` maps: the
// remembered row held to the last one, row 1 when none was remembered, 0
// when there is no map.
int32_t mapListSelectedRow(int32_t selectedRow, int32_t mapCount);

// Deletes the map of that number from the current customer: the maps after
// it move up one number, the map's tree is released and the customer file
// written at once (a customer without an id has none). A number without a
// map changes nothing.
SiteFileResult deleteMap(int32_t mapNumber);

// False when an outdoor, indoor or central unit has an empty model text (the
// library cannot build its items without gathering for it first).
bool everyUnitHasKnownModel(const MapQ7net& map);

// How a map is opened from the list.
enum MapFixMode : int32_t {
  kFixAsItIs = 0,         // customer-records work: gathering and recording choices untouched
  kFixGathering = 1,      // gathering was started for the map
  kFixRestartWithScan = 2 // gathering restarts with the initial bus scan first
};
// Every system records periodically; the first system numbered 1 (ordinary
// before central) is the one trigger-recording system.
void resetRecordingChoices(MapQ7net& map);
// Makes `map` the stored map of the window: the pages go, the window's
// earlier scan map is released, gathering restarts for kFixRestartWithScan,
// a new empty map receives the scans, and the recording choices are reset
// unless kFixAsItIs. The window then pages and shows it.
void fixMapForWindow(MapWindowMaps maps, const std::shared_ptr<MapQ7net>& map, int32_t mode, TramsollApi& api);
