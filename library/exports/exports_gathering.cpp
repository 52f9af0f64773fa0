// Gathering exports: start and stop of gathering, and the sensor-input
// logger added to or removed from a running gathering.
#include <mutex>

#include "engine/frame.h"
#include "engine/gathering.h"
#include "tramsoll.h"

using namespace tramsoll;

extern "C" TRAMSOLL_API int32_t initDataGather(int32_t command, int32_t comPort, int32_t toolGeneration,
                                               int32_t interfaceMode, int32_t initialScan, const char* targetName,
                                               int32_t intervalSeconds) {
  // Taken before the exclusion: a stop lets go of the exclusion while its
  // worker ends, and a second stop or a start must not come in then.
  std::lock_guard control(gatheringControlMutex());
  ExportFrame frame;
  if (command == 0) return stopGathering(frame);
  return startGathering(comPort, toolGeneration, interfaceMode, initialScan, targetName, intervalSeconds);
}

extern "C" TRAMSOLL_API int32_t changeDataGather(int32_t interfaceMode) {
  ExportFrame frame;
  return changeGathering(interfaceMode);
}
