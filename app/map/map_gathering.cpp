#include "map/map_gathering.h"

#include "frame/library/tramsoll_api.h"
#include "frame/program_values.h"

int32_t initDataGatherFromGlobals(TramsollApi& api) {
  const ProgramValues& values = program();
  return api.initDataGather(values.gatherStartMode, values.comPortNo, values.pelomarType, values.gatherMode,
                            values.gatherQ7Init, textForLibrary(values.gatherTarget).constData(),
                            values.gatherInterval);
}

void stopGatheringFromGlobals(TramsollApi& api) {
  program().gatherStartMode = 0;
  initDataGatherFromGlobals(api);
}

void sendCentralOperation(TramsollApi& api) { api.setCentralOperation(program().centralOperation ? 1 : 0); }

void restartGatheringWithBusScan(TramsollApi& api, int32_t gatherMode) {
  stopGatheringFromGlobals(api);
  sendCentralOperation(api);
  ProgramValues& values = program();
  values.gatherStartMode = 1;
  values.gatherQ7Init = 1;
  values.gatherMode = gatherMode;
  initDataGatherFromGlobals(api);
}

bool hasSensorInput(int32_t ifMode) { return ifMode == 3 || ifMode == 5 || ifMode == 9; }

int32_t withoutSensorInput(int32_t ifMode) { return hasSensorInput(ifMode) ? ifMode - 1 : ifMode; }
