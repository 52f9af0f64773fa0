#include "tables/all_tables.h"

#include "tables/conversion_tables.h"
#include "tables/item_file.h"
#include "tables/model_tables.h"
#include "tables/setting_file.h"
#include "tables/setting_tables.h"
#include "tables/table_lookups.h"

namespace tramsoll {

bool checkMode = false;

namespace {

// Unit classes of the item loads.
constexpr int kOutdoorClass = 0;
constexpr int kIndoorClass = 1;
constexpr int kCentralClass = 100;
constexpr int kSensorClass = 200;

void loadItemFile(const char* fileName, int unitClass) {
  loadItemReport(fileName);
  loadItemDataAndGroups(fileName);
  loadItems(fileName, unitClass);
}

// Item files already held are not read again.
void loadItemFileOnce(const char* fileName, int unitClass) {
  int32_t index = 0;
  if (!findKishuByFile(fileName, index)) loadItemFile(fileName, unitClass);
}

int unitClassOf(uint8_t connectionKind) {
  if (connectionKind == connect::kDC) return kCentralClass;
  if (connectionKind == connect::kDI || connectionKind == connect::kDIZ) return kIndoorClass;
  return kOutdoorClass;
}

void loadBusModels() {
  int32_t count = 0;
  getSettingQ7Count(count);
  SettingQ7Row row;
  for (int32_t i = 0; i < count; ++i) {
    if (getSettingQ7(i, row)) loadItemFileOnce(row.itemFile, unitClassOf(row.connectionKind));
  }
}

void loadBoardModels() {
  int32_t count = 0;
  getSettingParaCount(count);
  SettingModelRow para;
  for (int32_t i = 0; i < count; ++i) {
    if (getSettingPara(i, para)) loadItemFileOnce(para.itemFile, kOutdoorClass);
  }
  getSettingSeriCount(count);
  SettingSeriRow seri;
  for (int32_t i = 0; i < count; ++i) {
    if (getSettingSeri(i, seri)) loadItemFileOnce(seri.itemFile, kOutdoorClass);
  }
}

}  // namespace

bool loadAllTables() {
  installTableWords();
  loadPressureTable();
  loadSaturateTable();
  loadErrorCodeTable();
  loadSettingFile();
  loadBusModels();
  SettingModelRow logger;
  if (getSettingLog(0, logger)) loadItemFile(logger.itemFile, kSensorClass);
  loadBoardModels();
  return true;
}

}  // namespace tramsoll
