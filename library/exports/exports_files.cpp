// Recorded-file list exports: listing a customer folder, the header summary
// of a listed file, deleting one, opening one for replay and closing it,
// and emptying the list.
#include <cstdint>

#include "base/caller_values.h"
#include "base/local_time.h"
#include "engine/frame.h"
#include "exports/export_outs.h"
#include "files/file_list.h"
#include "tramsoll.h"

using namespace tramsoll;

namespace {

constexpr int32_t kPersonSize = TRAMSOLL_PERSON_SIZE;
constexpr int32_t kMapNameSize = TRAMSOLL_MAP_NAME_SIZE;
constexpr int32_t kModelTextSize = TRAMSOLL_MODEL_TEXT_SIZE;
constexpr int32_t kFileNameSize = TRAMSOLL_FILE_NAME_SIZE;

}  // namespace

extern "C" TRAMSOLL_API int32_t getFileNum(const char* customerFolder, int32_t* fileCount) {
  ExportFrame frame;
  int32_t count = 0;
  scanDataFolder(customerFolder, count);
  setOut(fileCount, count);
  return 0;
}

extern "C" TRAMSOLL_API int32_t clearFileList() {
  ExportFrame frame;
  clearListedFiles();
  return 0;
}

extern "C" TRAMSOLL_API int32_t deleteFile(const char* customerFolder, int32_t fileIndex) {
  ExportFrame frame;
  return deleteListedFile(customerFolder, subtractHeld(fileIndex, 1)) ? 0 : 1;
}

extern "C" TRAMSOLL_API int32_t getFileInfo(const char* customerFolder, int32_t fileIndex, char* personInCharge,
                                            int32_t* personInChargeLength, char* mapName, int32_t* mapNameLength,
                                            int32_t* systemNumber, char* modelText, int32_t* modelTextLength,
                                            int32_t* recordingMode, int32_t* interfaceMode, int32_t* outdoorCount,
                                            int32_t* indoorCount, int32_t* centralCount, int32_t* startYear,
                                            int32_t* startMonth, int32_t* startDay, int32_t* startSecondOfDay,
                                            int32_t* recordCount, int32_t* triggerRecord, int32_t* intervalSeconds,
                                            int32_t* fileSize, char* fileName, int32_t* fileNameLength) {
  ExportFrame frame;
  static const ListedFile kNotListed{};
  const ListedFile* listed = findListedFile(customerFolder, subtractHeld(fileIndex, 1));
  const ListedFile& file = listed ? *listed : kNotListed;
  const das::FileHeader& h = file.header;
  setTextOut(personInCharge, personInChargeLength, kPersonSize, h.personInCharge);
  setTextOut(mapName, mapNameLength, kMapNameSize, h.mapName);
  setOut(systemNumber, h.systemNumber);
  setTextOut(modelText, modelTextLength, kModelTextSize, h.modelText);
  setOut(recordingMode, h.recordingKind);
  setOut(interfaceMode, h.interfaceMode);
  setOut(outdoorCount, h.outdoorCount);
  setOut(indoorCount, h.indoorCount);
  setOut(centralCount, h.centralCount);
  LocalDate start;
  localDate(static_cast<int32_t>(h.firstRecordTime), start);
  setOut(startYear, start.year);
  setOut(startMonth, start.month);
  setOut(startDay, start.day);
  setOut(startSecondOfDay, start.secondOfDay());
  setOut(recordCount, static_cast<int32_t>(h.recordCount));
  setOut(triggerRecord, static_cast<int32_t>(h.triggerRecord));
  setOut(intervalSeconds, h.interval);
  setOut(fileSize, file.fileSize);
  setTextOut(fileName, fileNameLength, kFileNameSize, file.name.c_str());
  return 0;
}

extern "C" TRAMSOLL_API int32_t selectDataFile(const char* customerFolder, int32_t fileIndex) {
  ExportFrame frame;
  return acquireReplay(customerFolder, subtractHeld(fileIndex, 1));
}

extern "C" TRAMSOLL_API int32_t closeDataFile(const char* customerFolder, int32_t fileIndex) {
  ExportFrame frame;
  releaseReplay(customerFolder, subtractHeld(fileIndex, 1));
  return 0;
}
