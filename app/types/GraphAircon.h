// One unit of a display window's system, with its data items.
#pragma once

#include "types/Collection.h"
#include "types/GraphDataItem.h"

#include <QString>

#include <cstdint>

struct GraphAircon {
  QString airconName;
  int32_t airconNumber = 0;             // 1..n within its kind; its key
  int32_t airconType = 0;               // 0 outdoor, 1 indoor, 100 central, 200 sensor input
  Collection<GraphDataItem> dataItems;  // keyed by listNo text
};
