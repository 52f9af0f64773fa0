// Search exports: the min/max search and the value search over one item of
// a recorded file opened for replay, each prepared once and then driven
// slice by slice.
#include <cstdint>

#include "engine/frame.h"
#include "engine/search.h"
#include "exports/export_outs.h"
#include "tramsoll.h"

using namespace tramsoll;

extern "C" TRAMSOLL_API int32_t setMinMaxSrch(const char* customerFolder, int32_t fileIndex, int32_t unitClass,
                                              int32_t unitNumber, int32_t itemNumber) {
  ExportFrame frame;
  return minMaxSearch().prepare(customerFolder, fileIndex, unitClass, unitNumber, itemNumber);
}

extern "C" TRAMSOLL_API int32_t execMinMaxSrch(int32_t* progressPercent) {
  ExportFrame frame;
  int32_t progress = 0;
  int32_t result = minMaxSearch().step(progress);
  setOut(progressPercent, progress);
  return result;
}

extern "C" TRAMSOLL_API int32_t getMinMaxData(float* minimum, float* maximum) {
  ExportFrame frame;
  float low = 0;
  float high = 0;
  int32_t result = minMaxSearch().values(low, high);
  if (minimum) *minimum = low;
  if (maximum) *maximum = high;
  return result;
}

extern "C" TRAMSOLL_API int32_t setDataSrch(const char* customerFolder, int32_t fileIndex, int32_t unitClass,
                                            int32_t unitNumber, int32_t itemNumber, int32_t startRecord,
                                            int32_t searchFlag, float comparisonValue) {
  ExportFrame frame;
  return valueSearch().prepare(customerFolder, fileIndex, unitClass, unitNumber, itemNumber, startRecord,
                               searchFlag != 0, comparisonValue);
}

extern "C" TRAMSOLL_API int32_t execDataSrch(int32_t* recordNumber) {
  ExportFrame frame;
  int32_t record = 0;
  int32_t result = valueSearch().step(record);
  setOut(recordNumber, record);
  return result;
}
