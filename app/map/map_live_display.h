// The model of a live display window opened from the map: the map's facts,
// the system under the map's selection and its units as the window shows
// them.
#pragma once

#include "types/GraphSystem.h"
#include "types/MapQ7net.h"
#include "types/MapShowManager.h"

#include <cstdint>

// Fills `graph` for the system the page state points at. `selectedSlot` is
// the unit button chosen on the page (0..23). An ordinary system's chosen
// unit is counted over all its pages (24 a page); a central page's system is
// the page's first plus the chosen row. The sensor inputs are shown beside a
// system only when the map's sensor system is tied to it; a window without
// them runs without the sensor-input bit of the access method.
void setDataToGraphSystemObj(const MapQ7net& map, const MapShowManager& manager, int32_t selectedSlot,
                             GraphSystem& graph);
