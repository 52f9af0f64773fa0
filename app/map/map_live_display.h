// The model of a new live display window from the map: the system under the
// engineer's selection (an ordinary system, one of the central systems of a
// central page, or the sensor inputs), its units, and the sensor inputs
// shown beside a system they belong to.
#pragma once

#include "types/GraphSystem.h"
#include "types/MapQ7net.h"
#include "types/MapShowManager.h"

#include <cstdint>

// `selectedSlot` is the chosen unit button of the page, 0..23.
void setDataToGraphSystemObj(GraphSystem& graph, const MapQ7net& map, const MapShowManager& pages,
                             int32_t selectedSlot);
