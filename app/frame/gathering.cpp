#include "frame/gathering.h"

#include "frame/program_values.h"

namespace {

int32_t initDataGatherInMode(TramsollApi& api, int32_t mode) {
  const ProgramValues& values = program();
  return api.initDataGather(values.gatherStartMode, values.comPortNo, values.pelomarType, mode, values.gatherQ7Init,
                            textForLibrary(values.gatherTarget).constData(), values.gatherInterval);
}

}  // namespace

bool hasSensorInput(int32_t ifMode) { return ifMode == 3 || ifMode == 5 || ifMode == 9; }

int32_t withoutSensorInput(int32_t ifMode) { return hasSensorInput(ifMode) ? ifMode - 1 : ifMode; }

int32_t startGathering(TramsollApi& api) {
  ProgramValues& values = program();
  values.gatherStartMode = 1;
  const int32_t mode = values.gatherMode;
  const int32_t result = initDataGatherInMode(api, withoutSensorInput(mode));
  if (result == 0 && hasSensorInput(mode)) api.changeDataGather(mode);
  return result;
}

void stopGathering(TramsollApi& api) {
  ProgramValues& values = program();
  values.gatherStartMode = 0;
  initDataGatherInMode(api, values.gatherMode);
}

void sendCentralOperation(TramsollApi& api) { api.setCentralOperation(program().centralOperation ? 1 : 0); }
