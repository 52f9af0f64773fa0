// Data-item exports: which items a unit has and how to show them, for a
// unit of the running gathering or one stored in a listed recorded file, and
// the trigger conditions that a trigger recording stored.
#include <cstdint>
#include <cstring>

#include "base/caller_values.h"
#include "engine/frame.h"
#include "exports/export_outs.h"
#include "exports/item_request.h"
#include "files/file_list.h"
#include "tramsoll.h"

using namespace tramsoll;

namespace {

constexpr int32_t kNameSize = TRAMSOLL_ITEM_NAME_SIZE;
constexpr int32_t kFullScaleTextSize = TRAMSOLL_FULL_SCALE_TEXT_SIZE;
constexpr int32_t kStateTextBufferSize = TRAMSOLL_STATE_TEXT_SIZE;
constexpr int32_t kConditionTextSize = TRAMSOLL_CONDITION_TEXT_SIZE;
constexpr int32_t kNoCondition = 3;

void clearText(char* buffer, int32_t* length, int32_t capacity) {
  if (buffer) std::memset(buffer, 0, static_cast<std::size_t>(capacity));
  setOut(length, 0);
}

bool twoStateType(int32_t dataType) {
  return dataType == datatype::kDigital || dataType == datatype::kBinary || dataType == datatype::kOnOff;
}

// The unit that an item export names and its source: 0 found, else its
// result code. A unit missing from a file is not an error here; it has no
// items, and the file's records are still reported.
int32_t findItemUnit(int32_t dataSource, const char* folder, int32_t filePosition, int32_t system, int32_t unitKind,
                     int32_t unitNumber, FoundItem& found) {
  int32_t result = findExportItem({dataSource, folder, filePosition, system, unitKind, unitNumber}, found);
  return result == itemfound::kNoFileUnit ? 0 : result;
}

// The stored condition of a trigger file: 0 with the unit found, else the
// result code of the trigger-condition exports.
int32_t findStoredConditions(const char* folder, int32_t filePosition, int32_t unitKind, int32_t unitNumber,
                             const ReplayUnit*& unit) {
  unit = nullptr;
  if (!validUnitClass(unitKind)) return 2;
  const ListedFile* file = findListedFile(folder, subtractHeld(filePosition, 1));
  if (!file) return 1;
  int32_t index = file->replay ? file->replay->findUnit(unitKind, unitNumber) : -1;
  if (index < 0) return 3;
  if (file->header.recordingKind != das::kTrigger) return 4;
  unit = &file->replay->unitAt(index);
  return 0;
}

}  // namespace

extern "C" TRAMSOLL_API int32_t getDataItemNum(int32_t dataSource, const char* customerFolder, int32_t filePosition,
                                               int32_t systemNumber, int32_t unitKind, int32_t unitNumber,
                                               int32_t* itemCount, int32_t* recordCount, int32_t* triggerRecord,
                                               int32_t* intervalSeconds) {
  ExportFrame frame;
  for (int32_t* out : {itemCount, recordCount, triggerRecord, intervalSeconds}) setOut(out, 0);
  FoundItem found;
  int32_t result = findItemUnit(dataSource, customerFolder, filePosition, systemNumber, unitKind, unitNumber, found);
  if (result != 0) return result;
  setOut(itemCount, found.unit.itemCount);
  RecordSpan span = found.source->span();
  setOut(recordCount, span.recordCount);
  setOut(triggerRecord, span.triggerRecord);
  setOut(intervalSeconds, span.interval);
  return 0;
}

extern "C" TRAMSOLL_API int32_t getDataItem(int32_t dataSource, const char* customerFolder, int32_t filePosition,
                                            int32_t systemNumber, int32_t unitKind, int32_t unitNumber,
                                            int32_t itemNumber, char* itemName, int32_t* itemNameLength,
                                            char* fullScaleText, int32_t* fullScaleTextLength, int32_t* dataType,
                                            int32_t* defaultGraphFlag, char* stateText0, int32_t* stateText0Length,
                                            char* stateText1, int32_t* stateText1Length, int32_t* triggerCode1,
                                            int32_t* triggerCode2) {
  ExportFrame frame;
  clearText(stateText0, stateText0Length, kStateTextBufferSize);
  clearText(stateText1, stateText1Length, kStateTextBufferSize);
  setOut(triggerCode1, kNoCondition);
  setOut(triggerCode2, kNoCondition);
  setTextOut(itemName, itemNameLength, kNameSize, "");
  setTextOut(fullScaleText, fullScaleTextLength, kFullScaleTextSize, "");
  setOut(dataType, 0);
  setOut(defaultGraphFlag, 0);

  FoundItem found;
  int32_t result = findItemUnit(dataSource, customerFolder, filePosition, systemNumber, unitKind, unitNumber, found);
  if (result != 0) return result;
  ItemRecord item;
  if (!unitItem(found.unit, itemNumber, item)) return 6;
  int32_t type = itemDataType(item);
  setTextOut(itemName, itemNameLength, kNameSize, item.name);
  setTextOut(fullScaleText, fullScaleTextLength, kFullScaleTextSize, twoStateType(type) ? " " : item.fullScale);
  setOut(dataType, reportedDataType(type));
  setOut(defaultGraphFlag, (item.flags & itemflag::kDefaultGraph) ? 1 : 0);
  setTextOut(stateText0, stateText0Length, kStateTextBufferSize, item.stateText0);
  setTextOut(stateText1, stateText1Length, kStateTextBufferSize, item.stateText1);
  uint32_t flags = 0;
  if (!found.source->triggerFlags(itemNumber, flags)) return 0;
  setOut(triggerCode1, static_cast<int32_t>(flags & 0x3));
  setOut(triggerCode2, static_cast<int32_t>((flags >> 2) & 0x3));
  return 0;
}

extern "C" TRAMSOLL_API int32_t getPlyTrgNum(const char* customerFolder, int32_t filePosition, int32_t unitKind,
                                             int32_t unitNumber, int32_t* conditionCount) {
  ExportFrame frame;
  setOut(conditionCount, 0);
  const ReplayUnit* unit = nullptr;
  int32_t result = findStoredConditions(customerFolder, filePosition, unitKind, unitNumber, unit);
  if (result != 0) return result;
  setOut(conditionCount, static_cast<int32_t>(unit->conditions.size()));
  return 0;
}

extern "C" TRAMSOLL_API int32_t getPlyTrgItem(const char* customerFolder, int32_t filePosition, int32_t unitKind,
                                              int32_t unitNumber, int32_t conditionNumber, char* itemName,
                                              int32_t* itemNameLength, int32_t* dataType, char* conditionText1,
                                              int32_t* conditionText1Length, char* conditionText2,
                                              int32_t* conditionText2Length) {
  ExportFrame frame;
  setTextOut(itemName, itemNameLength, kNameSize, "");
  setTextOut(conditionText1, conditionText1Length, kConditionTextSize, "");
  setTextOut(conditionText2, conditionText2Length, kConditionTextSize, "");
  setOut(dataType, 0);
  const ReplayUnit* unit = nullptr;
  int32_t result = findStoredConditions(customerFolder, filePosition, unitKind, unitNumber, unit);
  if (result != 0) return result;
  if (conditionNumber < 1 || static_cast<std::size_t>(conditionNumber) > unit->conditions.size()) return 0;
  const das::ConditionBlock& condition = unit->conditions[static_cast<std::size_t>(conditionNumber - 1)];
  setTextOut(itemName, itemNameLength, kNameSize, condition.itemName);
  setOut(dataType, reportedDataType(condition.dataType));
  setTextOut(conditionText1, conditionText1Length, kConditionTextSize, condition.condition1);
  setTextOut(conditionText2, conditionText2Length, kConditionTextSize, condition.condition2);
  return 0;
}
