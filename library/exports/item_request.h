// The item lookup as the item, cursor and graph exports call it: with the
// running gathering's timing, which a live source reports.
#pragma once

#include <cstdint>

#include "engine/settings.h"
#include "files/item_lookup.h"

namespace tramsoll {

inline int32_t findExportItem(const ItemRequest& request, FoundItem& out) {
  const GatherValues& values = gatherValues();
  return findItemSource(request, {values.dataInterval, static_cast<int64_t>(values.dataDue)}, out);
}

}  // namespace tramsoll
