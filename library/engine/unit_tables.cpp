#include "engine/unit_tables.h"

#include <cstring>

#include "engine/settings.h"
#include "store/live_table.h"

namespace tramsoll {

namespace {

AirconRow rowTemplate(const char* name, const char* secondText, const uint8_t (&identity)[kRowIdentitySize]) {
  AirconRow row{};
  setFieldText(row.name, name);
  setFieldText(row.secondText, secondText);
  std::memcpy(row.identity, identity, kRowIdentitySize);
  return row;
}

// Item count of the item file's unit group 0; 0 when the file is not loaded
// or has no groups.
int triggerSlotCountOf(int32_t fileIndex) {
  UnitGroup group;
  return firstUnitGroup(fileIndex, group) ? group.itemCount : 0;
}

int32_t itemFileIndex(const char* itemFile) {
  int32_t index = 0;
  return findKishuByFile(itemFile, index) ? index : -1;
}

// One live block per data block of the item file, on the row of that identity.
void addDataBlocks(int kind, int address, const uint8_t (&identity)[kRowIdentitySize], int32_t fileIndex) {
  KishuEntry file;
  if (fileIndex < 0 || !getKishu(fileIndex, file)) return;
  for (int32_t i = 0; i < file.dataBlockCount; ++i) {
    char name[kBlockNameSize];
    uint16_t length = 0;
    if (getKishuData(fileIndex, i, name, length)) liveDataTable().addBlock(kind, address, identity, name, length);
  }
}

// Adds the row with the blocks of its item file.
bool addUnitRow(int kind, int address, const char* name, const char* itemFile,
                const uint8_t (&identity)[kRowIdentitySize], int triggerSlots) {
  int32_t fileIndex = itemFileIndex(itemFile);
  bool added = autoAdrTable().addRow(kind, address, rowTemplate(name, itemFile, identity), triggerSlots);
  addDataBlocks(kind, address, identity, fileIndex);
  return added;
}

}  // namespace

bool firstUnitGroup(int32_t fileIndex, UnitGroup& out) { return getKishuSub(fileIndex, 0, out); }

bool fixModel(AutoAdrEntry entry, const SettingQ7Row& model) {
  entry.status = withDiscoveryState(entry.status, unitstate::kFixed);
  if (!autoAdrTable().storeEntry(entry)) return false;
  const uint8_t identity[kRowIdentitySize] = {model.connectionKind, model.firstNumber, model.secondNumber,
                                              model.shortValue, model.shortMask};
  int slots = triggerSlotCountOf(itemFileIndex(model.itemFile));
  addUnitRow(entry.kind, entry.address, model.modelName, model.itemFile, identity, slots);
  return true;
}

bool buildLoggerTables() {
  SettingModelRow logger;
  if (!getSettingLog(0, logger)) return false;
  uint32_t status = withDiscoveryState(0, unitstate::kFixed);
  autoAdrTable().addOrUpdateEntry(entryKeyWord(unitKind::kSensor, 0, 0, 0), 0, 0, status);
  const uint8_t identity[kRowIdentitySize] = {kLoggerIdentity};
  int slots = triggerSlotCountOf(itemFileIndex(logger.itemFile));
  addUnitRow(unitKind::kSensor, 0, logger.modelName, logger.itemFile, identity, slots);
  return true;
}

bool buildTargetTables(const char* itemFile, int boardKind) {
  int32_t fileIndex = itemFileIndex(itemFile);
  KishuEntry file;
  if (fileIndex < 0 || !getKishu(fileIndex, file)) return false;
  uint32_t status = withDiscoveryState(0, unitstate::kHeard);
  autoAdrTable().addOrUpdateEntry(entryKeyWord(unitKind::kOutdoor, 0, 0, 0), 0, 0, status);
  GatherValues& values = gatherValues();
  values.targetIndex = fileIndex;
  values.requestCount = file.dataBlockCount;

  // The first outdoor group 1, else the last group read; a file without
  // groups gives a row without a name or trigger slots.
  UnitGroup group{};
  UnitGroup candidate;
  for (int32_t g = 0; g < file.unitGroupCount && getKishuSub(fileIndex, g, candidate); ++g) {
    group = candidate;
    if (candidate.unitType == unitKind::kOutdoor && candidate.groupNumber == 1) break;
  }
  const uint8_t identity[kRowIdentitySize] = {static_cast<uint8_t>(boardKind)};
  addUnitRow(unitKind::kOutdoor, 0, group.groupName, itemFile, identity, group.itemCount);
  return true;
}

}  // namespace tramsoll
