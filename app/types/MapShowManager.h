// The pages of the map display and the engineer's place in them: the page
// shown and the system and unit chosen, which survive every repaging.
#pragma once

#include "types/Collection.h"
#include "types/MapShowOnePage.h"

#include <cstdint>

struct MapShowManager {
  int32_t totalPages = 0;
  Collection<MapShowOnePage> pages;  // keyed by page number text, in display order
  int32_t systemKindNow = 0;         // kind of the current page's system
  int32_t systemNumberNow = 0;       // ordinary: systemNumber; central: the central system's number
  int32_t systemPageNumberNow = 0;   // page within the current system, from 1
  int32_t pageNumberNow = 0;         // page shown, from 1
  int32_t airconNumberNow = 0;       // chosen unit place on the page, 1..24
  int32_t systemCenNow = 0;          // chosen central row, 1..3
};
