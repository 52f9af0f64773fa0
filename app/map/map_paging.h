// Dividing the current map into the pages of the map display, and keeping
// the engineer's place (page, system, unit) across the repagings that every
// bus scan brings.
//
// A page holds up to 24 unit places of one ordinary system (its outdoor
// units, then its indoor units, then the sensor icon when the map's sensor
// system is tied to it), up to three central systems, or the sensor inputs
// of a sensor-only map.
#pragma once

#include "types/MapQ7net.h"
#include "types/MapShowManager.h"

#include <cstdint>
#include <vector>

constexpr int32_t kPlacesPerPage = 24;
constexpr int32_t kCentralRowsPerPage = 3;

// The systemNumber of the map's first sensor system when it is shown beside
// a bus or board system (1..ordinary systems, then the central systems
// counted on); 0 for none and for a sensor-only map.
int32_t tiedSensorSystemNumber(const MapQ7net& map);
// Pages of the ordinary system with that number: one per 24 of its units,
// a tied sensor icon counted; 0 for a system without units or none of that
// number.
int32_t ordinarySystemPages(const MapQ7net& map, int32_t systemNumber);
// Pages of the ordinary systems 1..last.
int32_t ordinaryPagesUpTo(const MapQ7net& map, int32_t lastSystemNumber);

// The pages the map divides into, in display order: ordinary systems by
// number, then the central systems three a page, then the sensor page.
std::vector<MapShowOnePage> mapPages(const MapQ7net& map);

struct PagingOutcome {
  bool paged = false;         // pages were written: the current page is to be drawn
  bool firstPaging = false;   // the first of this window: unit place 0 becomes the chosen one
};
// Rewrites the manager's pages for the map (surplus pages go at once) and
// keeps the current system in view: the first paging of a window (while
// firstPagingDone is clear) starts at page 1; later ones that add or remove
// pages move the page number so that the same system stays on screen. A map
// without any page changes nothing.
PagingOutcome setDataToMapShowManagerObj(const MapQ7net& map, MapShowManager& manager, bool& firstPagingDone);

// Whether the chosen unit place of the current page holds the sensor icon of
// an ordinary or central page; systemKindNow follows the current page.
bool checkWhetherSensorIsSelected(MapShowManager& manager, int32_t selectedIndex);
