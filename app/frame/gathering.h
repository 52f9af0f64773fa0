// Starting and stopping the library's gathering, always with the program's
// shared gathering values, so that a restart repeats what was started last.
// Every start and every stop of the program goes through these two.
#pragma once

#include "frame/library/tramsoll_api.h"

#include <cstdint>

// Interface modes 3, 5 and 9 add sensor input to 2, 4 and 8.
bool hasSensorInput(int32_t ifMode);
// The mode without its sensor input (3, 5, 9 become 2, 4, 8); others stay.
int32_t withoutSensorInput(int32_t ifMode);

// Start flag 1, then initDataGather in the access mode alone: the library
// would start its sensor-input logger alone for a mode with sensor input
// and drop the bus or board, so the logger is added afterwards with
// changeDataGather(gatherMode). Answers initDataGather's result.
int32_t startGathering(TramsollApi& api = tramsollApi());
// Start flag 0, then initDataGather; the result is not used.
void stopGathering(TramsollApi& api = tramsollApi());
// setCentralOperation with the program's centralized-operation setting.
void sendCentralOperation(TramsollApi& api = tramsollApi());
