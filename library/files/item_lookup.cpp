#include "files/item_lookup.h"

#include <cstdio>
#include <cstring>

#include "base/status_words.h"
#include "store/discovery_table.h"
#include "store/live_table.h"

namespace tramsoll {

namespace {

constexpr int kFirstAnalogInput = 6;  // items 7 and 8: channels 7 and 8

int32_t unitGroupItemCount(const ItemUnit& unit) {
  if (unit.unitClass == unitKind::kSensor) return kSensorItems;
  UnitGroup group;
  return unit.model >= 0 && findKishuSub(unit.model, unit.unitClass, unit.group, group) ? group.itemCount : 0;
}

// The item definition that sensor item `index` (0-based) uses: inputs 7 and
// 8 have one for each position of their switch.
int32_t sensorDefinition(int32_t index, const LogEntry& channel) {
  if (index == kFirstAnalogInput) return channel.switchPosition ? 7 : 6;
  if (index == kFirstAnalogInput + 1) return channel.switchPosition ? 9 : 8;
  return index;
}

}  // namespace

bool validUnitClass(int32_t unitClass) {
  return unitClass == unitKind::kOutdoor || unitClass == unitKind::kIndoor || unitClass == unitKind::kCentral ||
         unitClass == unitKind::kSensor;
}

bool findLiveUnit(int32_t system, int32_t unitClass, int32_t unitNumber, ItemUnit& out) {
  out = ItemUnit{};
  uint8_t address = 0;
  int row = 0;
  AutoAdrEntry entry;
  AirconRow aircon;
  if (!autoAdrTable().findRowByNumber(system, unitClass, unitNumber, address, row) ||
      !autoAdrTable().rowByIndex(unitClass, address, row, entry, aircon))
    return false;
  bool sensor = unitClass == unitKind::kSensor;
  bool bus = hasBits(gatherState, gather::kBusMonitor);
  out.unitClass = unitClass;
  out.address = address;
  out.row = row;
  if (!findKishuByFile(aircon.secondText, out.model)) out.model = -1;
  out.group = sensor || bus ? 0 : unitNumber;
  out.itemCount = unitGroupItemCount(out);
  if (sensor || bus) {
    out.dataKind = unitClass;
    out.dataAddress = address;
    out.dataRow = row;
  }
  for (int slot = 0; sensor && slot < kLogEntries; ++slot)
    liveDataTable().getLogEntry(unitClass, address, row, slot, out.channels[slot]);
  return true;
}

bool findFileUnit(const ReplayTables& replay, int32_t unitClass, int32_t unitNumber, ItemUnit& out) {
  out = ItemUnit{};
  int32_t index = replay.findUnit(unitClass, unitNumber);
  if (index < 0) return false;
  const ReplayUnit& unit = replay.unitAt(index);
  out.unitClass = unitClass;
  out.model = unit.model;
  out.group = replayItemGroup(replay.header(), unit.block);
  out.itemCount = unitGroupItemCount(out);
  for (std::size_t slot = 0; slot < unit.channels.size() && slot < kLogEntries; ++slot)
    out.channels[slot] = unit.channels[slot];
  out.replay = &replay;
  out.unitIndex = index;
  return true;
}

bool unitItemDefinition(const ItemUnit& unit, int32_t number, ItemRecord& out) {
  std::memset(&out, 0, sizeof out);
  if (number < 1 || number > unit.itemCount || unit.model < 0) return false;
  int32_t index = number - 1;
  if (unit.unitClass != unitKind::kSensor) return getItem(unit.model, unit.unitClass, unit.group, index, out);
  const LogEntry& channel = unit.channels[index];
  if (!getItem(unit.model, unitKind::kSensor, 0, sensorDefinition(index, channel), out)) return false;
  if (index >= kFirstAnalogInput && channel.switchPosition)
    std::snprintf(out.fullScale, sizeof out.fullScale, "%d", channel.fullScale);
  return true;
}

bool unitItem(const ItemUnit& unit, int32_t number, ItemRecord& out) {
  if (!unitItemDefinition(unit, number, out)) return false;
  if (unit.unitClass != unitKind::kSensor) return true;
  const LogEntry& channel = unit.channels[number - 1];
  setFieldText(out.name, channel.name);
  out.flags &= ~itemflag::kDefaultGraph;
  if (channel.used & 1) out.flags |= itemflag::kDefaultGraph;
  return true;
}

int32_t reportedDataType(int32_t dataType) {
  switch (dataType) {
    case datatype::kInteger:
    case datatype::kFloat1:
    case datatype::kFloat2: return datatype::kAnalog;
    case datatype::kOnOff: return datatype::kDigital;
    default: return dataType;
  }
}

}  // namespace tramsoll
