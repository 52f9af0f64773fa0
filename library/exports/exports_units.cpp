// Unit and map exports: the bus scan of the map window, the model names of
// units, the map's assignment of units to systems, the model chosen for a
// unit whose model the bus did not fix, and the sensor-input switches and
// channel settings.
#include <algorithm>
#include <cstring>

#include "adapter/adapter_status.h"
#include "base/caller_values.h"
#include "base/status_words.h"
#include "engine/frame.h"
#include "engine/settings.h"
#include "engine/unit_tables.h"
#include "store/discovery_table.h"
#include "store/live_table.h"
#include "tables/setting_tables.h"
#include "tramsoll.h"

using namespace tramsoll;

namespace {

constexpr int kAddresses = TRAMSOLL_BUS_ADDRESS_COUNT;
constexpr int32_t kNameBufferSize = TRAMSOLL_MODEL_NAME_SIZE;
constexpr std::size_t kChannelNameLimit = 64;  // the name must be shorter
constexpr std::size_t kChannelUnitLimit = 32;

bool gathering() { return (gatherState.load() & gather::kRunning) != 0; }

bool validClass(int32_t unitClass) {
  return unitClass == unitKind::kOutdoor || unitClass == unitKind::kIndoor || unitClass == unitKind::kCentral ||
         unitClass == unitKind::kSensor;
}

void zero(int32_t* values) {
  if (values) std::memset(values, 0, sizeof(int32_t) * kAddresses);
}

void put(int32_t* values, int index, int32_t value) {
  if (values) values[index] = value;
}

bool shorterThan(const char* text, std::size_t limit) { return !text || strnlen(text, limit) < limit; }

}  // namespace

extern "C" TRAMSOLL_API int32_t getQ7AuAdrStatus(int32_t unitClass, int32_t* discoveryStates, int32_t* rowCounts,
                                                 int32_t* unitStates, int32_t* romNumbers,
                                                 int32_t* zubrelAddresses) {
  ExportFrame frame;
  for (int32_t* values : {discoveryStates, rowCounts, unitStates, romNumbers, zubrelAddresses}) zero(values);
  if (!gathering()) return 1;
  if (!validClass(unitClass)) return 2;
  const AutoAdrTable& table = autoAdrTable();
  AutoAdrEntry entry;
  for (int32_t i = 0; i < table.count(); ++i) {
    if (!table.entryByIndex(i, entry) || entry.kind != unitClass) continue;
    int a = entry.address;
    put(discoveryStates, a, std::min(discoveryState(entry.status), unitstate::kReportedSilent));
    put(rowCounts, a, entry.rowCount > 0 ? entry.rowCount : 1);
    put(unitStates, a, std::min(alarmState(entry.status), unitstate::kAlarmError));
    put(romNumbers, a, static_cast<int32_t>(entry.value));
    put(zubrelAddresses, a, entry.keyByte3);
  }
  return 0;
}

extern "C" TRAMSOLL_API int32_t getQ7AuAdrInfo(int32_t unitClass, int32_t busAddress, int32_t rowIndex,
                                               char* modelName, int32_t* modelNameLength) {
  ExportFrame frame;
  if (modelName) std::memset(modelName, 0, kNameBufferSize);
  if (modelNameLength) *modelNameLength = 0;
  if (!gathering()) return 1;
  if (!validClass(unitClass)) return 2;
  AutoAdrEntry entry;
  AirconRow row;
  if (rowIndex < 1 || !autoAdrTable().rowByIndex(unitClass, busAddress, rowIndex - 1, entry, row)) return 3;
  if (!modelName) return 0;
  std::memcpy(modelName, row.name, kNameBufferSize);
  if (modelNameLength) *modelNameLength = boundedLength(modelName, kNameBufferSize);
  return 0;
}

extern "C" TRAMSOLL_API int32_t setNetMapInfo(int32_t unitClass, int32_t busAddress, int32_t rowIndex,
                                              int32_t unitNumber, int32_t systemNumber, int32_t controlAddress,
                                              const char* modelText, const char* serialNumberText,
                                              const char* installPlaceText) {
  ExportFrame frame;
  if (!gathering()) return 1;
  if (!validClass(unitClass)) return 2;
  AutoAdrTable& table = autoAdrTable();
  AutoAdrEntry entry;
  if (!table.entryByKey(unitClass, busAddress, entry)) return 3;
  if (rowIndex < 1 || rowIndex > entry.rowCount) return 4;
  if (rowIndex == 1) {
    uint32_t group = static_cast<uint32_t>(systemNumber) & 0xFFFF;
    uint32_t groupByte = static_cast<uint32_t>(controlAddress) & 0xFF;
    table.setGroup(unitClass, busAddress, group | groupByte << 16);
  }
  table.setRowTexts(unitClass, busAddress, rowIndex - 1, static_cast<uint8_t>(unitNumber), modelText,
                    serialNumberText, installPlaceText);
  return 0;
}

extern "C" TRAMSOLL_API int32_t setDkishuName(int32_t unitClass, int32_t busAddress, int32_t rowIndex,
                                              const char* modelName) {
  (void)rowIndex;
  ExportFrame frame;
  // No model chosen: nothing to fix.
  if (centralOperationFlag.load() == 0 && modelName && modelName[0] == ' ') return 0;
  if (!gathering()) return 1;
  if (!validClass(unitClass)) return 2;
  AutoAdrEntry entry;
  if (!autoAdrTable().entryByKey(unitClass, busAddress, entry)) return 3;
  SettingQ7Row model;
  if (!modelName || !findSettingQ7ByModel(modelName, model)) return 5;
  if (gatherState.load() & gather::kInitialScan) return 6;
  if (discoveryState(entry.status) >= unitstate::kFixed) return 7;
  entry.number = model.longValue;
  entry.keyByte4 = model.centralValue;
  fixModel(entry, model);
  return 0;
}

extern "C" TRAMSOLL_API int32_t getSensorSwPos(int32_t* switch1, int32_t* switch2) {
  ExportFrame frame;
  if (switch1) *switch1 = 0;
  if (switch2) *switch2 = 0;
  AdapterStatus status = adapterStatus();
  if (status.switch1 == 2) return 1;
  if (switch1) *switch1 = status.switch1;
  if (switch2) *switch2 = status.switch2;
  return 0;
}

extern "C" TRAMSOLL_API int32_t setSensorParm(int32_t channel, int32_t usedFlag, const char* itemName,
                                              int32_t switchPosition, int32_t range, int32_t offset,
                                              int32_t fullScale, const char* unitText) {
  ExportFrame frame;
  if (channel < 1 || channel > kLogEntries) return 1;
  if (!(gatherState.load() & gather::kLogger)) return 2;
  if (!shorterThan(itemName, kChannelNameLimit) || !shorterThan(unitText, kChannelUnitLimit)) return 3;
  LogEntry entry{};
  setFieldText(entry.name, itemName);
  entry.used = static_cast<uint8_t>(usedFlag);
  entry.switchPosition = static_cast<uint8_t>(switchPosition);
  entry.range = static_cast<uint8_t>(range);
  entry.offset = offset;
  entry.fullScale = fullScale;
  setFieldText(entry.unit, unitText);
  // Without the logger's unit the channel has nowhere to go.
  if (!liveDataTable().setLogEntry(unitKind::kSensor, 0, 0, channel - 1, entry)) return 2;
  return 0;
}
