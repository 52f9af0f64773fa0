#include "files/replay_tables.h"

#include <fcntl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/debug_ring.h"
#include "base/kinds.h"
#include "base/status_words.h"
#include "base/table_growth.h"
#include "files/file_io.h"
#include "tables/model_tables.h"
#include "tables/setting_tables.h"

namespace tramsoll {

namespace {

constexpr uint16_t kMostGroupData = 256;
constexpr uint32_t kMostRecordSize = 65535;  // the header's record size is 16-bit

bool onTheBus(uint16_t interfaceMode) { return interfaceMode == 0 || (interfaceMode & gathermode::kBus) != 0; }

// The item file named by a unit block: the file of that name, else the
// setting row that names the model (the logger row for sensor inputs, the
// bus, one-system or one-unit rows by the file's interface mode).
int32_t findUnitModel(const das::UnitBlock& unit, uint16_t interfaceMode) {
  int32_t index = -1;
  if (findKishuByFile(unit.modelName, index)) return index;
  char itemFile[kItemFileSize] = {};
  SettingModelRow row;
  SettingQ7Row busRow;
  SettingSeriRow boardRow;
  if (unit.unitClass == das::kSensorClass) {
    if (getSettingLog(0, row) && std::strcmp(row.modelName, unit.modelName) == 0) setFieldText(itemFile, row.itemFile);
  } else if (onTheBus(interfaceMode)) {
    if (findSettingQ7ByModel(unit.modelName, busRow)) setFieldText(itemFile, busRow.itemFile);
  } else if (interfaceMode & gathermode::kOneSystem) {
    if (findSettingParaByModel(unit.modelName, row)) setFieldText(itemFile, row.itemFile);
  } else if (interfaceMode & gathermode::kOneUnit) {
    if (findSettingSeriByModel(unit.modelName, boardRow)) setFieldText(itemFile, boardRow.itemFile);
  }
  return itemFile[0] && findKishuByFile(itemFile, index) ? index : -1;
}

// The fields that fix where everything lies in the file.
bool sameShape(const das::FileHeader& a, const das::FileHeader& b) {
  return a.firstRecordTime == b.firstRecordTime && a.firstRecordOffset == b.firstRecordOffset &&
         a.recordSize == b.recordSize && a.unitCount == b.unitCount && a.statusLength == b.statusLength &&
         a.version == b.version;
}

template <class T>
bool append(std::vector<T>& table, T value, const char* tableName) {
  if (!growByOne(table, tableName)) return false;
  table.back() = std::move(value);
  return true;
}

// The text a format-1 file's condition code stands for: the item's state
// text of that state, empty for "no condition".
void conditionText(uint8_t code, const ItemRecord& item, char (&out)[16]) {
  setFieldText(out, code == 0 ? item.stateText0 : code == 1 ? item.stateText1 : "");
}

LogEntry channelEntry(const das::SensorBlock& sensor, int channel) {
  LogEntry entry{};
  setFieldText(entry.name, sensor.names[channel]);
  entry.used = sensor.used[channel];
  if (channel < 6) return entry;
  int analog = channel - 6;
  entry.switchPosition = sensor.switches[analog];
  entry.range = sensor.ranges[analog];
  entry.offset = sensor.offsets[analog];
  entry.fullScale = sensor.fullScales[analog];
  setFieldText(entry.unit, sensor.units[analog]);
  return entry;
}

// The file's own name, without its folder, for the diagnostic lines.
const char* nameOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

void closeChecked(FileHandle& file) {
  int closed = file.close();
  if (closed != 0) logLine("FileHndl: fclose function error!! (ret=%Xh)", static_cast<unsigned>(closed));
}

}  // namespace

int replayItemGroup(const das::FileHeader& header, const das::UnitBlock& unit) {
  if (unit.unitClass == das::kSensorClass || onTheBus(header.interfaceMode)) return 0;
  return unit.unitNumber;
}

bool ReplayTables::refuse(const char* format, ...) {
  char reason[96];
  va_list args;
  va_start(args, format);
  std::vsnprintf(reason, sizeof reason, format, args);
  va_end(args);
  logLine("FileHndl: Datafile refused: %s", reason);
  return false;
}

ReplayOpen ReplayTables::open(const std::string& path, const das::FileHeader& listed) {
  *this = ReplayTables{};
  path_ = path;
  FileHandle file(path, O_RDONLY);
  if (!file.isOpen()) {
    refuse("cannot open \"%s\"", nameOf(path));
    return ReplayOpen::Refused;
  }
  if (!readBlocks(file, listed)) {
    units_.clear();
    units_.shrink_to_fit();
    return ReplayOpen::Refused;
  }
  closeChecked(file);
  return unknownModel_ ? ReplayOpen::OpenedWithUnknownModel : ReplayOpen::Opened;
}

bool ReplayTables::readBlocks(FileHandle& file, const das::FileHeader& listed) {
  uint8_t head[das::kMainHeaderSize];
  if (!file.readAt(0, head, sizeof head) || !das::decodeMainHeader(head, header_)) return refuse("no header");
  std::memcpy(header_.mapName, listed.mapName, sizeof header_.mapName);
  if (header_.interfaceMode == 0) header_.interfaceMode = 2;
  if (!sameShape(header_, listed) || header_.recordCount != listed.recordCount)
    return refuse("the file changed since it was listed");
  if (header_.statusLength > kMostStatusBytes) return refuse("status length %u", header_.statusLength);

  uint64_t position = header_.version >= 2 ? das::kHeaderSize : das::kMainHeaderSize;
  uint32_t partOffset = das::kRecordTimeSize;
  for (int u = 0; u < header_.unitCount; ++u) {
    ReplayUnit unit;
    if (!readUnit(file, position, unit, partOffset)) return false;
    if (!append(units_, std::move(unit), "PlyAirconTable")) return false;
  }
  if (position != header_.firstRecordOffset)
    return refuse("blocks end at %llu, records said to begin at %u", static_cast<unsigned long long>(position),
                  header_.firstRecordOffset);
  if (partOffset != header_.recordSize)
    return refuse("blocks give records of %u bytes, header %u", partOffset, header_.recordSize);
  uint64_t room = das::recordsHeld(file.size(), header_);
  if (header_.recordCount > room)
    return refuse("%u records counted, %llu held", header_.recordCount, static_cast<unsigned long long>(room));
  return true;
}

bool ReplayTables::readUnit(FileHandle& file, uint64_t& position, ReplayUnit& unit, uint32_t& partOffset) {
  uint8_t block[das::kUnitBlockSize];
  if (!file.readAt(position, block, sizeof block)) return refuse("unit block %u cut short", unitCount() + 1u);
  position += sizeof block;
  das::decodeUnitBlock(block, unit.block);
  unit.model = findUnitModel(unit.block, header_.interfaceMode);
  if (!unit.known()) {
    logLine("\"%s\" file not found", unit.block.modelName);
    setBits(errFault, fault::kTableLoad);
    unknownModel_ = true;
  }

  uint8_t groups[255 * das::kGroupBlockSize];
  std::size_t groupBytes = das::kGroupBlockSize * unit.block.groupCount;
  if (!file.readAt(position, groups, groupBytes)) return refuse("item-group blocks cut short");
  position += groupBytes;
  for (int g = 0; g < unit.block.groupCount; ++g) {
    das::GroupBlock read;
    das::decodeGroupBlock(groups + das::kGroupBlockSize * g, read);
    if (read.dataLength > kMostGroupData) return refuse("group data length %u", read.dataLength);
    ReplayGroup group{};
    setFieldText(group.key, read.key);
    group.dataLength = read.dataLength;
    group.partOffset = partOffset;
    partOffset += das::kPartHeadSize + header_.statusLength + read.dataLength;
    if (partOffset > kMostRecordSize) return refuse("records longer than %u bytes", kMostRecordSize);
    if (!append(unit.groups, group, "PlyDataTable")) return false;
  }
  if (!readConditions(file, position, unit)) return false;
  if (unit.block.unitClass != das::kSensorClass) return true;

  uint8_t sensorBytes[das::kSensorBlockSize];
  if (!file.readAt(position, sensorBytes, sizeof sensorBytes)) return refuse("sensor block cut short");
  position += sizeof sensorBytes;
  if (!unit.known()) return true;
  das::SensorBlock sensor;
  das::decodeSensorBlock(sensorBytes, sensor);
  for (int channel = 0; channel < das::kChannels; ++channel) {
    if (!append(unit.channels, channelEntry(sensor, channel), "LogTable")) return false;
  }
  return true;
}

bool ReplayTables::readConditions(FileHandle& file, uint64_t& position, ReplayUnit& unit) {
  bool oldFormat = header_.version < 2;
  std::size_t size = oldFormat ? das::kOldConditionSize : das::kConditionBlockSize;
  std::vector<uint8_t> bytes(size * unit.block.conditionCount);
  if (!file.readAt(position, bytes.data(), bytes.size())) return refuse("trigger-condition blocks cut short");
  position += bytes.size();
  if (!unit.known()) return true;
  int group = replayItemGroup(header_, unit.block);
  for (int c = 0; c < unit.block.conditionCount; ++c) {
    const uint8_t* at = bytes.data() + size * static_cast<std::size_t>(c);
    das::ConditionBlock condition{};
    if (oldFormat) {
      ItemRecord item;
      getItem(unit.model, unit.block.unitClass, group, c, item);
      setFieldText(condition.itemName, item.name);
      conditionText(at[0], item, condition.condition1);
      conditionText(at[1], item, condition.condition2);
      condition.dataType = static_cast<uint16_t>(itemDataType(item));
    } else {
      das::decodeConditionBlock(at, condition);
    }
    if (!append(unit.conditions, condition, "PlyTrConditn")) return false;
  }
  return true;
}

int32_t ReplayTables::findUnit(int unitClass, int unitNumber) const {
  for (std::size_t i = 0; i < units_.size(); ++i) {
    const ReplayUnit& unit = units_[i];
    if (unit.known() && unit.block.unitClass == unitClass && unit.block.unitNumber == unitNumber)
      return static_cast<int32_t>(i);
  }
  return -1;
}

// ---- The record window ----

bool ReplayTables::holds(int32_t first, int32_t count) const {
  if (windowStart_ == kNoWindow || first < windowStart_ || count < 0) return false;
  return int64_t{first} + count <= int64_t{windowStart_} + windowCount_;
}

void ReplayTables::dropWindow() {
  windowStart_ = kNoWindow;
  windowCount_ = 0;
  window_.clear();
}

bool ReplayTables::ensureRecords(int32_t first, int32_t needed) {
  if (first < 0 || needed < 1 || needed > kWindowRecords) return false;
  if (holds(first, needed)) return true;
  int64_t left = int64_t{recordCount()} - first;
  int32_t load = static_cast<int32_t>(std::max<int64_t>(needed, std::min<int64_t>(left, kWindowLoad)));
  return readRecordWindow(first, load);
}

bool ReplayTables::headerUnchanged(FileHandle& file) const {
  uint8_t head[das::kMainHeaderSize];
  das::FileHeader now;
  if (!file.readAt(0, head, sizeof head) || !das::decodeMainHeader(head, now)) return false;
  return sameShape(now, header_);
}

bool ReplayTables::partsAreWhole(const uint8_t* record, uint16_t& badLength) const {
  for (const ReplayUnit& unit : units_) {
    for (const ReplayGroup& group : unit.groups) {
      badLength = das::getU16(record + group.partOffset + 4);
      if (badLength != header_.statusLength + group.dataLength) return false;
    }
  }
  return true;
}

bool ReplayTables::readRecordWindow(int32_t first, int32_t count) {
  dropWindow();
  if (first < 0 || count < 1 || count > kWindowRecords || header_.recordSize == 0) return false;
  FileHandle file(path_, O_RDONLY);
  if (!file.isOpen() || !headerUnchanged(file)) {
    logLine("FileHndl: Datafile \"%s\" no longer readable as opened", nameOf(path_));
    return false;
  }
  std::size_t recordSize = header_.recordSize;
  if (!allocateOrReport("PlyDataTable", [&] { window_.assign(recordSize * static_cast<std::size_t>(count), 0); }))
    return false;
  uint64_t at = header_.firstRecordOffset + uint64_t{recordSize} * static_cast<uint64_t>(first);
  int64_t size = file.size();
  uint64_t whole = size > 0 && static_cast<uint64_t>(size) > at ? (static_cast<uint64_t>(size) - at) / recordSize : 0;
  std::size_t present = static_cast<std::size_t>(std::min<uint64_t>(whole, static_cast<uint64_t>(count)));
  if (present > 0 && !file.readAt(at, window_.data(), present * recordSize)) {
    logLine("FileHndl: Datafile Read Error!! (short read)");
    window_.clear();
    return false;
  }
  // A record with a broken part is kept out: it reads as a record without
  // data, and the records around it stay readable.
  bool reported = false;
  for (std::size_t r = 0; r < present; ++r) {
    uint8_t* record = window_.data() + r * recordSize;
    uint16_t badLength = 0;
    if (partsAreWhole(record, badLength)) continue;
    std::memset(record, 0, recordSize);
    setBits(errCall, call::kRecordRead);
    if (!reported) logLine("FileHndl: Datafile Read Error!! (dlen=%d)", badLength);
    reported = true;
  }
  closeChecked(file);
  windowStart_ = first;
  windowCount_ = count;
  return true;
}

const uint8_t* ReplayTables::recordBytes(int32_t record) const {
  if (!holds(record, 1)) return nullptr;
  return window_.data() + static_cast<std::size_t>(record - windowStart_) * header_.recordSize;
}

uint32_t ReplayTables::recordTime(int32_t record) const {
  const uint8_t* bytes = recordBytes(record);
  return bytes ? das::getU32(bytes) : 0;
}

bool ReplayTables::evaluateItem(int32_t unitIndex, int32_t record, const ItemRecord& item, ItemOutput& out) const {
  out = ItemOutput{};
  if (unitIndex < 0 || unitIndex >= unitCount() || !recordBytes(record)) return false;
  ReplayDataSource source(*this, unitIndex, record);
  return evaluateRecordItem(item, source, out);
}

bool ReplayTables::evaluateText(int32_t unitIndex, int32_t record, const ItemRecord& item, char* text,
                                std::size_t capacity) const {
  if (capacity) text[0] = '\0';
  if (unitIndex < 0 || unitIndex >= unitCount() || !recordBytes(record)) return false;
  ReplayDataSource source(*this, unitIndex, record);
  return evaluateRecordText(item, source, text, capacity);
}

bool ReplayTables::evaluateValue(int32_t unitIndex, int32_t record, const ItemRecord& item, float& value,
                                 uint32_t& time) const {
  value = 0;
  time = 0;
  if (unitIndex < 0 || unitIndex >= unitCount() || !recordBytes(record)) return false;
  ReplayDataSource source(*this, unitIndex, record);
  return evaluateRecordValue(item, source, value, time);
}

// ---- The interpreter's view ----

bool ReplayDataSource::readBlock(const char* name, BlockBytes& out) {
  out = BlockBytes{};
  const uint8_t* record = tables_.recordBytes(record_);
  if (!record || !name || unitIndex_ < 0 || unitIndex_ >= tables_.unitCount()) return false;
  // Keys are zero-filled fields: the name in the same form compares whole.
  char key[kBlockKeySize] = {};
  for (std::size_t i = 0; i < kBlockKeySize && name[i]; ++i) key[i] = name[i];
  for (const ReplayGroup& group : tables_.unitAt(unitIndex_).groups) {
    if (std::memcmp(group.key, key, kBlockKeySize) != 0) continue;
    if (group.dataLength == 0) return false;
    const uint8_t* part = record + group.partOffset;
    out.time = das::getU32(part);
    out.length = group.dataLength;
    out.bytes = part + das::kPartHeadSize + tables_.header().statusLength;
    return true;
  }
  return false;
}

bool ReplayDataSource::readSensorChannel(int channel, SensorChannel& out) {
  out = SensorChannel{};
  if (unitIndex_ < 0 || unitIndex_ >= tables_.unitCount() || channel < 1 || channel > kLogEntries) return false;
  const ReplayUnit& unit = tables_.unitAt(unitIndex_);
  if (unit.channels.size() != kLogEntries) return false;
  const LogEntry& entry = unit.channels[static_cast<std::size_t>(channel - 1)];
  out.range = entry.range;
  out.offset = entry.offset;
  out.fullScale = entry.fullScale;
  setFieldText(out.unit, entry.unit);
  return true;
}

uint32_t ReplayDataSource::sampleTime() { return tables_.recordTime(record_); }

}  // namespace tramsoll
