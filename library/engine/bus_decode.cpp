#include "engine/bus_decode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <span>

#include "base/clock.h"
#include "engine/unit_tables.h"
#include "store/discovery_table.h"
#include "store/live_source.h"
#include "store/live_table.h"
#include "tables/model_tables.h"
#include "tables/setting_tables.h"

namespace tramsoll {

namespace {

constexpr int kFrameCodeOutdoor = 2;
constexpr int kFrameCodeIndoorShort = 3;
constexpr int kFrameCodeIndoor = 4;
constexpr int kFrameCodeCentral = 5;
constexpr int kDataStart = 6;  // frame data after the header and command
constexpr uint8_t kStatusDropped = 0x10;
constexpr uint8_t kStatusOwnFrame = 0x08;
constexpr uint8_t kStationAddress = 0x0F;

// ---- Last-heard times by class and address ----

struct LastHeard {
  std::array<std::time_t, 256> outdoor{};
  std::array<std::time_t, 256> indoor{};
  std::array<std::time_t, 256> central{};

  std::array<std::time_t, 256>* of(int kind) {
    switch (kind) {
      case unitKind::kOutdoor:
        return &outdoor;
      case unitKind::kIndoor:
        return &indoor;
      case unitKind::kCentral:
        return &central;
      default:
        return nullptr;
    }
  }
};

LastHeard& lastHeard() {
  static LastHeard times;
  return times;
}

// ---- Frame fields ----

int frameCode(const uint8_t* f) { return (f[0] >> 2) & 0x7; }
uint32_t be32(const uint8_t* f, int i) {
  return uint32_t{f[i]} << 24 | uint32_t{f[i + 1]} << 16 | uint32_t{f[i + 2]} << 8 | f[i + 3];
}
uint16_t be16(const uint8_t* f, int i) { return static_cast<uint16_t>(f[i] << 8 | f[i + 1]); }
int frameCount(const BusFrameRecord& record) { return std::clamp<int>(record.count, 0, kBusFrameBytes); }

// F[6 + n] within the frame's own bytes; false (no match) past them.
bool frameByte(const BusFrameRecord& record, int n, uint8_t& out) {
  int index = kDataStart + n;
  if (index >= frameCount(record)) return false;
  out = record.data[index];
  return true;
}

// ---- Model rows ----

bool numberMatches(const SettingQ7Row& row, uint16_t number) {
  return static_cast<uint16_t>(number & row.longMask) == row.longValue;
}

// The first bus model row (file order) that `accept` takes.
template <class Accept>
bool firstModelRow(SettingQ7Row& out, Accept accept) {
  int32_t count = 0;
  getSettingQ7Count(count);
  for (int32_t i = 0; i < count; ++i) {
    if (getSettingQ7(i, out) && accept(out)) return true;
  }
  return false;
}

bool isFamilyKind(uint8_t kind) {
  return kind == connect::kDOK || kind == connect::kDOU || kind == connect::kDOE || kind == connect::kDONP;
}

// ---- Entries ----

// The entry of (kind, address) to work on: a copy of the stored one, or a
// new one that only a storing command writes to the table.
AutoAdrEntry workingEntry(int kind, uint8_t address, uint32_t newStatus, bool& existed) {
  AutoAdrEntry entry;
  existed = autoAdrTable().entryByKey(kind, address, entry);
  if (existed) return entry;
  entry = AutoAdrEntry{};
  entry.kind = static_cast<uint8_t>(kind);
  entry.address = address;
  entry.groupByte = 255;
  entry.status = newStatus;
  return entry;
}

AutoAdrEntry heardEntry(int kind, uint8_t address) {
  bool existed = false;
  AutoAdrEntry entry = workingEntry(kind, address, withDiscoveryState(0, unitstate::kHeard), existed);
  entry.status &= ~unitstate::kSilent;
  return entry;
}

void storeWithState(AutoAdrEntry entry, int state) {
  entry.status = withDiscoveryState(entry.status, state);
  autoAdrTable().storeEntry(entry);
}

// ---- Auto-address decode by frame code ----

// 0xE0: the model rows of the entry's family whose short pattern the frame's
// byte passes. A "DOK" row lets the search go on, so one frame can fix
// several rows.
void fixFromFamilyFrame(const BusFrameRecord& record, const AutoAdrEntry& entry) {
  int32_t count = 0;
  getSettingQ7Count(count);
  SettingQ7Row row;
  for (int32_t i = 0; i < count; ++i) {
    if (!getSettingQ7(i, row) || !numberMatches(row, entry.number)) continue;
    if (!isFamilyKind(row.connectionKind) && row.connectionKind != connect::kDONC) continue;
    uint8_t byte = 0;
    if (row.firstNumber != 0xE0 || !frameByte(record, row.secondNumber, byte)) continue;
    if ((byte & row.shortMask) != row.shortValue) continue;
    fixModel(entry, row);
    if (row.connectionKind != connect::kDOK) return;
  }
}

bool decodeOutdoor(const BusFrameRecord& record, std::time_t now) {
  const uint8_t* f = record.data;
  lastHeard().outdoor[f[1]] = now;
  AutoAdrEntry entry = heardEntry(unitKind::kOutdoor, f[1]);
  switch (f[5]) {
    case 0x60: {
      entry.keyByte3 = f[10];
      entry.value = be32(f, 6);
      entry.number = be16(f, 11);
      SettingQ7Row row;
      if (!firstModelRow(row, [&](const SettingQ7Row& r) { return numberMatches(r, entry.number); })) break;
      if (row.connectionKind == connect::kDO) fixModel(entry, row);
      else if (isFamilyKind(row.connectionKind)) storeWithState(entry, unitstate::kFamilyKnown);
      break;
    }
    case 0x65:
      entry.keyByte3 = f[10];
      entry.value = be32(f, 6);
      autoAdrTable().storeEntry(entry);
      break;
    case 0x66:
      entry.keyByte3 = f[10];
      entry.value = be32(f, 6);
      entry.status = (entry.status & ~0xFFu) | f[13];
      autoAdrTable().storeEntry(entry);
      break;
    case 0xA8: {
      entry.value = be32(f, 6);
      if (!autoAdrTable().findNumberByValue(entry.value, entry.number)) break;
      if (discoveryState(entry.status) < unitstate::kFamilyKnown)
        entry.status = withDiscoveryState(entry.status, unitstate::kFamilyKnown);
      autoAdrTable().storeEntry(entry);
      break;
    }
    case 0xE0:
      entry.keyByte3 = f[10];
      fixFromFamilyFrame(record, entry);
      break;
    default:
      break;
  }
  return true;
}

bool decodeIndoor(const BusFrameRecord& record, std::time_t now) {
  const uint8_t* f = record.data;
  lastHeard().indoor[f[1]] = now;
  if (f[1] == 0) return false;
  AutoAdrEntry entry = heardEntry(unitKind::kIndoor, f[1]);
  entry.keyByte3 = static_cast<uint8_t>(f[10] + 1);
  entry.value = be32(f, 6);
  switch (f[5]) {
    case 0x61: {
      entry.number = be16(f, 11);
      SettingQ7Row row;
      bool found = firstModelRow(row, [&](const SettingQ7Row& r) {
        bool indoorKind = r.connectionKind == connect::kDI || r.connectionKind == connect::kDIZ;
        return indoorKind && numberMatches(r, entry.number);
      });
      if (found) fixModel(entry, row);
      break;
    }
    case 0x62:
    case 0x63:
    case 0x6B:
      autoAdrTable().storeEntry(entry);
      break;
    default:
      break;
  }
  return true;
}

bool decodeCentral(const BusFrameRecord& record, std::time_t now) {
  const uint8_t* f = record.data;
  bool existed = false;
  uint32_t newStatus = withDiscoveryState(0, unitstate::kNotRecognised);
  AutoAdrEntry entry = workingEntry(unitKind::kCentral, f[1], newStatus, existed);
  if (!existed) entry.keyByte3 = f[1];
  switch (f[5]) {
    case 0x80:
      if (discoveryState(entry.status) >= unitstate::kFixed) autoAdrTable().storeEntry(entry);
      break;
    case 0x90: {
      entry.keyByte4 = f[12];
      entry.number = be16(f, 13);
      SettingQ7Row row;
      bool found = firstModelRow(row, [&](const SettingQ7Row& r) {
        return r.connectionKind == connect::kDC && (entry.keyByte4 & r.centralMask) == r.centralValue &&
               numberMatches(r, entry.number);
      });
      if (found) fixModel(entry, row);
      break;
    }
    case 0xD0:
    case 0xD1:
    case 0xD2:
    case 0xDA:
    case 0xDB:
      lastHeard().central[f[1]] = now;
      entry.status &= ~unitstate::kSilent;
      autoAdrTable().storeEntry(entry);
      break;
    default:
      break;
  }
  return true;
}

// ---- Item evaluation for the alarm states ----

struct AlarmFlags {
  bool error = false;    // an "E" item is non-zero
  bool warning = false;  // the first "O" item that gave a result is non-zero
  bool warningDone = false;
};

// Evaluates the error and warning items of a unit group over one unit row
// at one snapshot position. With `needResult` a failed evaluation counts as
// no result rather than as the value 0.
void evaluateAlarmItems(int32_t fileIndex, const UnitGroup& group, int kind, int address, int row, int position,
                        bool needResult, AlarmFlags& flags) {
  ItemRecord item;
  for (int32_t i = 0; i < group.itemCount && !flags.error; ++i) {
    if (!getItem(fileIndex, group.unitType, group.groupNumber, i, item)) continue;
    int32_t type = itemDataType(item);
    bool isError = type == datatype::kBinary;
    if (!isError && (type != datatype::kOnOff || flags.warningDone)) continue;
    float value = 0;
    uint32_t time = 0;
    bool gave = evaluateLiveValueAt(item, kind, address, row, position, value, time) || !needResult;
    if (isError) {
      flags.error = gave && value != 0;
    } else if (gave) {
      flags.warningDone = true;
      flags.warning = value != 0;
    }
  }
}

int alarmOf(const AlarmFlags& flags) {
  if (flags.error) return unitstate::kAlarmError;
  return flags.warning ? unitstate::kAlarmWarning : 0;
}

int32_t itemFileIndexOf(const AirconRow& row) {
  int32_t index = 0;
  return findKishuByFile(row.secondText, index) ? index : -1;
}

void evaluateEntryAlarm(AutoAdrEntry entry, int newest) {
  AlarmFlags flags;
  for (int r = 0; r < entry.rowCount && !flags.error; ++r) {
    AutoAdrEntry ignored;
    AirconRow row;
    if (!autoAdrTable().rowByIndex(entry.kind, entry.address, r, ignored, row)) continue;
    // A row whose item file is not loaded has no items to watch.
    int32_t fileIndex = itemFileIndexOf(row);
    UnitGroup group;
    if (fileIndex < 0 || !firstUnitGroup(fileIndex, group)) continue;
    evaluateAlarmItems(fileIndex, group, entry.kind, entry.address, r, newest, true, flags);
  }
  entry.status = withAlarmState(entry.status, alarmOf(flags));
  autoAdrTable().storeEntry(entry);
}

// The newest finished snapshot, or -1 when the history holds none usable.
int newestSnapshot() {
  int32_t n = liveDataTable().snapshotCount();
  return n >= 1 && n <= 121 ? n - 1 : -1;
}

// The probe that tells from a group's program whether the group exists.
ItemRecord groupProbe(const UnitGroup& group) {
  ItemRecord probe{};
  setFieldText(probe.name, "NMapDecode");
  setFieldText(probe.fullScale, "0");
  probe.flags = static_cast<uint32_t>(datatype::kDigital) << itemflag::kTypeShift;
  setFieldText(probe.program, group.groupProgram);
  return probe;
}

void storeTargetGroup(int kind, int address, const UnitGroup& group, int boardKind, const char* itemFile, int state,
                      int alarm) {
  bool existed = false;
  AutoAdrEntry entry = workingEntry(kind, static_cast<uint8_t>(address), 0, existed);
  entry.status = withAlarmState(withDiscoveryState(entry.status, state), alarm);
  autoAdrTable().storeEntry(entry);
  AirconRow row{};
  setFieldText(row.name, group.groupName);
  setFieldText(row.secondText, itemFile);
  row.identity[0] = static_cast<uint8_t>(boardKind);
  row.identity[3] = kind == unitKind::kOutdoor ? static_cast<uint8_t>(group.groupNumber - 1) : 0;
  autoAdrTable().addRow(kind, address, row, group.itemCount);
}

}  // namespace

bool checkBusRecord(const BusFrameRecord& record, bool& special) {
  special = false;
  if (record.count < record.data[4] + kDataStart) return false;
  int count = frameCount(record);
  for (int i = 0; i < count; ++i) {
    if (record.attributes[i] != 0) return false;
  }
  if (record.status & kStatusDropped) return false;
  if (record.status & kStatusOwnFrame) {
    if (record.data[1] != kStationAddress) return false;
    special = true;
  }
  return true;
}

bool decodeAutoAddress(const BusFrameRecord& record) {
  std::time_t now = clock().systemNow();
  switch (frameCode(record.data)) {
    case kFrameCodeOutdoor:
      return decodeOutdoor(record, now);
    case kFrameCodeIndoor:
      return decodeIndoor(record, now);
    case kFrameCodeCentral:
      return decodeCentral(record, now);
    default:
      return false;
  }
}

bool decodeUnitData(const BusFrameRecord& record) {
  const uint8_t* f = record.data;
  int kind = 0;
  uint8_t sender = f[1];
  switch (frameCode(f)) {
    case kFrameCodeOutdoor:
      kind = unitKind::kOutdoor;
      break;
    case kFrameCodeIndoorShort:
      if (f[5] != 0xE0 || !autoAdrTable().findIndoorAddressByValue(be32(f, 6), sender)) return false;
      kind = unitKind::kIndoor;
      break;
    case kFrameCodeIndoor:
      kind = unitKind::kIndoor;
      break;
    case kFrameCodeCentral:
      kind = unitKind::kCentral;
      break;
    default:
      return false;
  }
  AutoAdrEntry entry;
  if (!autoAdrTable().entryByKey(kind, sender, entry)) return false;
  int count = frameCount(record);
  std::span<const uint8_t> extra(f, kBusFrameBytes);
  std::span<const uint8_t> data(f + kDataStart, static_cast<std::size_t>(std::max(0, count - kDataStart)));
  for (int r = 0; r < entry.rowCount; ++r) {
    const UnitRow* unit = autoAdrTable().unitRow(kind, sender, r);
    if (!unit) continue;
    const uint8_t* identity = unit->row.identity;
    for (std::size_t b = 0; b < unit->blocks.size(); ++b) {
      const char* key = unit->blocks[b]->key;
      if (hexPairToByte(key[0], key[1]) != f[5]) continue;
      uint8_t byte = 0;
      if (f[5] == 0xE0 && (!frameByte(record, identity[2], byte) || (byte & identity[4]) != identity[3])) continue;
      liveDataTable().storeByNumber(kind, sender, r, static_cast<int>(b), static_cast<uint32_t>(record.time), extra,
                                    data);
    }
  }
  return true;
}

bool watchSilence() {
  std::time_t now = clock().systemNow();
  AutoAdrTable& table = autoAdrTable();
  AutoAdrEntry entry;
  for (int32_t i = 0; i < table.count(); ++i) {
    if (!table.entryByIndex(i, entry) || discoveryState(entry.status) < unitstate::kFixed) continue;
    auto* heard = lastHeard().of(entry.kind);
    if (!heard || (entry.status & unitstate::kSilent) || now - (*heard)[entry.address] < kSilenceSeconds) continue;
    entry.status |= unitstate::kSilent;
    table.storeEntry(entry);
  }
  return true;
}

bool resetSilenceWatch() {
  LastHeard& times = lastHeard();
  times.outdoor.fill(0);
  times.indoor.fill(0);
  // A central unit is only heard through its answers to the bus engine's
  // queries: 60 s of grace from the start.
  times.central.fill(clock().systemNow() - (kSilenceSeconds - 60));
  return true;
}

bool gatherBusSnapshot() {
  int newest = newestSnapshot();
  if (newest < 0) return false;
  AutoAdrTable& table = autoAdrTable();
  AutoAdrEntry entry;
  for (int32_t i = 0; i < table.count(); ++i) {
    if (table.entryByIndex(i, entry) && discoveryState(entry.status) >= unitstate::kFixed)
      evaluateEntryAlarm(entry, newest);
  }
  return true;
}

bool gatherTargetSnapshot(int32_t fileIndex, int boardKind) {
  int newest = newestSnapshot();
  if (newest < 0) return false;
  KishuEntry file;
  if (!getKishu(fileIndex, file)) return true;
  AlarmFlags outdoor;
  bool outdoorSeen = false;
  UnitGroup group;
  for (int32_t g = 0; g < file.unitGroupCount; ++g) {
    if (!getKishuSub(fileIndex, g, group)) continue;
    float value = 0;
    uint32_t time = 0;
    evaluateLiveValueAt(groupProbe(group), unitKind::kOutdoor, 0, 0, newest, value, time);
    int state = value != 0 ? unitstate::kFixed : unitstate::kNotRecognised;
    AlarmFlags flags;
    if (state == unitstate::kFixed)
      evaluateAlarmItems(fileIndex, group, unitKind::kOutdoor, 0, 0, newest, false, flags);
    if (group.unitType == unitKind::kOutdoor) {
      // The board's outdoor groups share one entry: it exists when any of
      // them does, and carries the worst alarm among them.
      outdoor.error = outdoor.error || flags.error;
      outdoor.warning = outdoor.warning || flags.warning;
      outdoorSeen = outdoorSeen || state == unitstate::kFixed;
      storeTargetGroup(unitKind::kOutdoor, 0, group, boardKind, file.fileName,
                       outdoorSeen ? unitstate::kFixed : unitstate::kNotRecognised, alarmOf(outdoor));
    } else {
      storeTargetGroup(group.unitType, static_cast<uint8_t>(group.groupNumber - 1), group, boardKind, file.fileName,
                       state, alarmOf(flags));
    }
  }
  return true;
}

uint8_t hexPairToByte(char high, char low) {
  auto digit = [](char c) -> int {
    if (c >= '1' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
  };
  return static_cast<uint8_t>(digit(high) << 4 | digit(low));
}

}  // namespace tramsoll
