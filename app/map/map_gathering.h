// Starting and stopping the library's gathering from the map window and the
// map list, always with the program's shared gathering values, so that the
// poll's own restart repeats what was started last.
#pragma once

#include <cstdint>

class TramsollApi;

// initDataGather with the shared values as they stand; its result.
int32_t initDataGatherFromGlobals(TramsollApi& api);
// Start flag 0, then initDataGather: ends gathering (the result is not used).
void stopGatheringFromGlobals(TramsollApi& api);
// setCentralOperation with the program's centralized-operation setting.
void sendCentralOperation(TramsollApi& api);
// Stops gathering, applies the centralized-operation setting, and starts
// again in `gatherMode` with the initial bus scan (the shared values keep
// start flag 1, the scan flag and the mode). The start's result is not used.
void restartGatheringWithBusScan(TramsollApi& api, int32_t gatherMode);

// Interface modes 3, 5 and 9 add sensor input to 2, 4 and 8.
bool hasSensorInput(int32_t ifMode);
// The mode without its sensor input (3, 5, 9 become 2, 4, 8); others stay.
int32_t withoutSensorInput(int32_t ifMode);
