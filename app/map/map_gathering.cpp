#include "map/map_gathering.h"

#include "frame/program_values.h"

void restartGatheringWithBusScan(TramsollApi& api, int32_t gatherMode) {
  stopGathering(api);
  sendCentralOperation(api);
  ProgramValues& values = program();
  values.gatherQ7Init = 1;
  values.gatherMode = gatherMode;
  startGathering(api);
}
