// The maps a map window holds and what hangs on them, gathered for the
// operations that replace the shown map (adopting or redoing a scan, opening
// a stored map). The window keeps the members; this names them together.
#pragma once

#include "types/GraphSystem.h"
#include "types/MapQ7net.h"
#include "types/MapShowManager.h"

#include <cstdint>
#include <memory>

// frmMap::mapMode: the shown map is the live scan itself, or a stored map
// that every scan is reconciled with.
constexpr int32_t kMapModeScan = 0;
constexpr int32_t kMapModeStored = 1;

struct MapWindowMaps {
  int32_t& mapMode;
  std::shared_ptr<MapQ7net>& mapQ7netObj;     // the shown map
  std::shared_ptr<MapQ7net>& newMapQ7netObj;  // the map the scan builds (the shown one in scan mode)
  MapShowManager& mapShowManagerObj;
  bool& firstPagingDone;          // the first paging has selected system 1 and its first page
  GraphSystem& systemTriggerObj;  // the trigger-condition model
};
