// Gathering restarts of the map window and the map list.
#pragma once

#include "frame/gathering.h"

#include <cstdint>

// Stops gathering, applies the centralized-operation setting, and starts
// again in `gatherMode` with the initial bus scan (the shared values keep
// start flag 1, the scan flag and the mode). The start's result is not used.
void restartGatheringWithBusScan(TramsollApi& api, int32_t gatherMode);
