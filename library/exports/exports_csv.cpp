// CSV exports: the date range and options, setting up the conversion of a
// listed recorded file, and writing it slice by slice.
#include <cstdint>

#include "engine/frame.h"
#include "exports/export_outs.h"
#include "files/csv_export.h"
#include "tramsoll.h"

using namespace tramsoll;

extern "C" TRAMSOLL_API int32_t setCsvFile(
    const char* customerFolder, int32_t filePosition, const char* basePath, const char* customerIdLabel,
    const char* customerNameLabel, const char* personInChargeLabel, const char* accessMethodLabel,
    const char* busAccessText, const char* boardAccessText, const char* sensorOnlyAccessText,
    const char* busSensorAccessText, const char* boardSensorAccessText, const char* recordingModeLabel,
    const char* periodicModeText, const char* triggerModeText, const char* triggerTimeLabel,
    const char* intervalLabel, const char* mapNameLabel, const char* systemNumberLabel, const char* romNumberLabel,
    const char* outdoorCountLabel, const char* indoorCountLabel, const char* centralCountLabel,
    const char* unitNumberLabel, const char* modelNameLabel, const char* serialNumberLabel,
    const char* installPlaceLabel, const char* autoAddressLabel, const char* zubrelAddressLabel,
    const char* centralAddressLabel, const char* outdoorPrefix, const char* indoorPrefix, const char* centralPrefix,
    const char* sensorPrefix) {
  ExportFrame frame;
  const char* const words[kCsvWords] = {
      customerIdLabel,     customerNameLabel,    personInChargeLabel, accessMethodLabel,  busAccessText,
      boardAccessText,     sensorOnlyAccessText, busSensorAccessText, boardSensorAccessText,
      recordingModeLabel,  periodicModeText,     triggerModeText,     triggerTimeLabel,   intervalLabel,
      mapNameLabel,        systemNumberLabel,    romNumberLabel,      outdoorCountLabel,  indoorCountLabel,
      centralCountLabel,   unitNumberLabel,      modelNameLabel,      serialNumberLabel,  installPlaceLabel,
      autoAddressLabel,    zubrelAddressLabel,   centralAddressLabel, outdoorPrefix,      indoorPrefix,
      centralPrefix,       sensorPrefix};
  return startCsvJob(customerFolder, filePosition, basePath, words);
}

extern "C" TRAMSOLL_API int32_t execCsvOut(int32_t* progressPercent) {
  ExportFrame frame;
  int32_t progress = 0;
  int32_t result = continueCsvJob(progress);
  setOut(progressPercent, progress);
  return result;
}

// Touches only the date range, so it needs no exclusion from the worker.
extern "C" TRAMSOLL_API int32_t CsvDateSet(const char* fromText, const char* toText, int32_t flags) {
  setCsvDateRange(fromText, toText, flags);
  return 0;
}
