#include "files/recording.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <span>

#include "base/debug_ring.h"
#include "base/kinds.h"
#include "base/program_files.h"
#include "base/status_words.h"
#include "files/file_io.h"
#include "files/recording_step.h"
#include "store/live_table.h"
#include "tables/model_tables.h"

namespace tramsoll {

namespace {

PendingFileHeader pending{};
std::array<SaveSlot, kSaveSlots> slots;
int32_t periodicCount = 0;

template <std::size_t N>
void setText(char (&field)[N], const char* text) {
  std::memset(field, 0, N);
  if (text) std::memcpy(field, text, strnlen(text, N - 1));
}

void reportCloseError(int result) { logLine("FileHndl: fclose function error!! (ret=%Xh)", static_cast<unsigned>(result)); }

// ---- Building the blocks of a new file ----

// What creation writes after the header, and what it learns on the way.
struct FileBlocks {
  std::vector<uint8_t> bytes;
  std::vector<LayoutUnit> layout;
  std::size_t recordSize = das::kRecordTimeSize;
};

template <std::size_t N>
void appendBytes(std::vector<uint8_t>& to, const uint8_t (&block)[N]) {
  to.insert(to.end(), block, block + N);
}

bool onTheBus() { return (gatherState.load() & (gather::kOneSystem | gather::kOneUnit)) == 0; }

// The text a file shows for a condition code: the state text it asks for.
void conditionText(uint32_t code, const ItemRecord& item, char (&out)[16]) {
  setText(out, code == 0 ? item.stateText0 : code == 1 ? item.stateText1 : "");
}

// One trigger-condition block per item of a unit that has conditions.
void appendConditionBlocks(const AutoAdrEntry& entry, int rowIndex, const UnitRow& unit, FileBlocks& out) {
  int32_t model = -1;
  bool known = findKishuByFile(unit.row.secondText, model);
  int unitType = entry.kind;
  int group = (entry.kind == das::kSensorClass || onTheBus()) ? 0 : unit.row.numberByte;
  for (std::size_t k = 0; k < unit.triggerFlags.size(); ++k) {
    ItemRecord item{};
    if (known) getItem(model, unitType, group, static_cast<int32_t>(k), item);
    uint32_t flags = 0;
    liveDataTable().getTriggerFlags(entry.kind, entry.address, rowIndex, static_cast<int>(k), flags);
    das::ConditionBlock block{};
    setText(block.itemName, item.name);
    conditionText(flags & 0x3, item, block.condition1);
    conditionText((flags >> 2) & 0x3, item, block.condition2);
    block.dataType = static_cast<uint16_t>(itemDataType(item));
    uint8_t bytes[das::kConditionBlockSize];
    das::encodeConditionBlock(block, bytes);
    appendBytes(out.bytes, bytes);
  }
}

void appendSensorBlock(const AutoAdrEntry& entry, int rowIndex, FileBlocks& out) {
  das::SensorBlock sensor{};
  for (int channel = 0; channel < das::kChannels; ++channel) {
    LogEntry log{};
    liveDataTable().getLogEntry(entry.kind, entry.address, rowIndex, channel, log);
    setText(sensor.names[channel], log.name);
    sensor.used[channel] = log.used;
    if (channel < 6) continue;
    int analog = channel - 6;
    sensor.switches[analog] = log.switchPosition;
    sensor.ranges[analog] = log.range;
    sensor.offsets[analog] = log.offset;
    sensor.fullScales[analog] = log.fullScale;
    setText(sensor.units[analog], log.unit);
  }
  uint8_t bytes[das::kSensorBlockSize];
  das::encodeSensorBlock(sensor, bytes);
  appendBytes(out.bytes, bytes);
}

void appendUnit(const AutoAdrEntry& entry, int rowIndex, const UnitRow& unit, int kind, int statusLength,
                FileBlocks& out) {
  bool conditions = kind == das::kTrigger && !unit.triggerFlags.empty();
  das::UnitBlock block{};
  setText(block.modelName, unit.row.secondText);
  setText(block.modelText, unit.row.linkText[0]);
  setText(block.serialNumber, unit.row.linkText[1]);
  setText(block.place, unit.row.linkText[2]);
  block.unitClass = entry.kind;
  block.unitNumber = unit.row.numberByte;
  block.address = entry.address;
  block.rowIndex = static_cast<uint8_t>(rowIndex);
  block.zubrelAddress = entry.keyByte3;
  block.controlAddress = entry.groupByte;
  block.groupCount = static_cast<uint8_t>(unit.blocks.size());
  block.conditionCount = conditions ? static_cast<uint8_t>(unit.triggerFlags.size()) : 0;
  uint8_t bytes[das::kUnitBlockSize];
  das::encodeUnitBlock(block, bytes);
  appendBytes(out.bytes, bytes);

  LayoutUnit layout{entry.kind, entry.address, rowIndex, {}, {}};
  std::memcpy(layout.identity, unit.row.identity, kRowIdentitySize);
  for (const auto& held : unit.blocks) {
    das::GroupBlock group{};
    setText(group.key, held->key);
    group.dataLength = static_cast<uint16_t>(held->dataLength);
    uint8_t groupBytes[das::kGroupBlockSize];
    das::encodeGroupBlock(group, groupBytes);
    appendBytes(out.bytes, groupBytes);
    LayoutGroup part{};
    std::memcpy(part.key, group.key, sizeof part.key);
    part.dataLength = group.dataLength;
    layout.groups.push_back(part);
    out.recordSize += das::kPartHeadSize + static_cast<std::size_t>(statusLength) + group.dataLength;
  }
  if (conditions) appendConditionBlocks(entry, rowIndex, unit, out);
  if (entry.kind == das::kSensorClass) appendSensorBlock(entry, rowIndex, out);
  out.layout.push_back(std::move(layout));
}

// Counts an entry of the system into the header.
void countEntry(const AutoAdrEntry& entry, das::FileHeader& header) {
  uint16_t rows = static_cast<uint16_t>(entry.rowCount > 0 ? entry.rowCount : 0);
  header.unitCount = static_cast<uint16_t>(header.unitCount + rows);
  switch (entry.kind) {
    case unitKind::kOutdoor: header.outdoorCount = static_cast<uint16_t>(header.outdoorCount + rows); break;
    case unitKind::kIndoor: header.indoorCount = static_cast<uint16_t>(header.indoorCount + rows); break;
    case unitKind::kCentral: header.centralCount = static_cast<uint16_t>(header.centralCount + rows); break;
    case unitKind::kSensor:
      header.sensorFlag = 1;
      header.interfaceMode |= gathermode::kLogger;
      break;
    default: logLine("FileHndl: AcType Error"); break;
  }
  header.romNumber = entry.value;
}

// Every unit of the system's entries, in table order.
FileBlocks buildBlocks(int kind, int system, das::FileHeader& header) {
  FileBlocks out;
  AutoAdrTable& units = autoAdrTable();
  for (int32_t i = 0; i < units.count(); ++i) {
    AutoAdrEntry entry{};
    if (!units.entryByIndex(i, entry) || entry.group != system) continue;
    countEntry(entry, header);
    for (int r = 0; r < entry.rowCount; ++r) {
      const UnitRow* unit = units.unitRow(entry.kind, entry.address, r);
      if (!unit) continue;
      if (header.modelText[0] == '\0' && entry.kind == unitKind::kOutdoor) setText(header.modelText, unit->row.linkText[0]);
      appendUnit(entry, r, *unit, kind, header.statusLength, out);
    }
  }
  return out;
}

das::FileHeader newHeader(int kind, int system, int modeBits, std::time_t firstRecord, int interval) {
  das::FileHeader header{};
  setText(header.customerId, pending.customerId);
  setText(header.customerName, pending.customerName);
  setText(header.personInCharge, pending.personInCharge);
  setText(header.mapName, pending.mapName);
  header.systemNumber = static_cast<uint16_t>(system);
  header.interfaceMode = static_cast<uint16_t>(modeBits);
  header.recordingKind = static_cast<uint16_t>(kind);
  header.firstRecordTime = static_cast<uint32_t>(firstRecord);
  header.interval = static_cast<uint16_t>(interval);
  header.version = das::kFormatVersion;
  header.statusLength = static_cast<uint16_t>(liveDataTable().frameKeyLength());
  return header;
}

// Writes header and blocks to a new file; a file left half-written is removed.
bool writeNewFile(const std::string& name, const das::FileHeader& header, const std::vector<uint8_t>& blocks) {
  FileHandle file(name, O_WRONLY | O_CREAT | O_TRUNC);
  if (!file.isOpen()) return false;
  uint8_t head[das::kHeaderSize];
  das::encodeHeader(header, head);
  if (!file.writeAt(0, head, sizeof head) || !file.writeAt(sizeof head, blocks.data(), blocks.size()) ||
      !file.flush()) {
    logLine("FileHndl: SvFile write error \"%s\"", name.c_str());
    file.close();
    ::unlink(name.c_str());
    return false;
  }
  int closed = file.close();
  if (closed != 0) {
    reportCloseError(closed);
    setBits(errFault, fault::kDataFile);
    ::unlink(name.c_str());
    return false;
  }
  return true;
}

// ---- Records ----

// One group part of a record from the live block at the newest snapshot; a
// unit or block gone from the live tables gives stamp 0 and zero bytes.
void appendPart(const LayoutUnit& unit, const LayoutGroup& group, int statusLength, std::vector<uint8_t>& out) {
  const UnitRow* row = autoAdrTable().unitRow(unit.kind, unit.address, unit.rowIndex);
  const DataBlock* block = nullptr;
  if (row && std::memcmp(row->row.identity, unit.identity, kRowIdentitySize) == 0)
    block = liveDataTable().findBlock(unit.kind, unit.address, unit.rowIndex, group.key);
  std::size_t at = out.size();
  std::size_t length = static_cast<std::size_t>(statusLength) + group.dataLength;
  out.resize(at + das::kPartHeadSize + length, 0);
  das::putU16(&out[at + 4], static_cast<uint16_t>(length));
  if (!block || block->dataLength != group.dataLength) return;
  int slot = liveDataTable().currentSlot();
  das::putU32(&out[at], block->times[slot]);
  std::memcpy(&out[at + das::kPartHeadSize], block->extra[slot], static_cast<std::size_t>(statusLength));
  std::memcpy(&out[at + das::kPartHeadSize + statusLength], block->data[slot], group.dataLength);
}

// One record of the slot's layout from the newest snapshot; its time is set
// when it is written.
std::vector<uint8_t> currentRecord(const SaveSlot& slot) {
  std::vector<uint8_t> record;
  record.reserve(slot.header.recordSize);
  record.resize(das::kRecordTimeSize);
  for (const LayoutUnit& unit : slot.layout)
    for (const LayoutGroup& group : unit.groups) appendPart(unit, group, slot.header.statusLength, record);
  return record;
}

std::vector<uint8_t> stampedRecords(std::vector<uint8_t> record, std::time_t first, int interval, int count) {
  std::vector<uint8_t> records;
  records.reserve(record.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    das::putU32(record.data(), static_cast<uint32_t>(first + static_cast<std::time_t>(i) * interval));
    records.insert(records.end(), record.begin(), record.end());
  }
  return records;
}

// Records first, then the count that describes them: a crash or a full disk
// at any moment leaves a header that counts only whole records.
bool appendToSlot(SaveSlot& slot, std::time_t first, int count, const std::vector<uint8_t>& record) {
  std::vector<uint8_t> records = stampedRecords(record, first, slot.header.interval, count);
  FileHandle file(slot.name, O_RDWR);
  if (!file.isOpen()) {
    logLine("FileHndl: SvFile open error \"%s\"", slot.name.c_str());
    setBits(errFault, fault::kDataFile);
    return false;
  }
  das::FileHeader next = slot.header;
  next.recordCount += static_cast<uint32_t>(count);
  uint8_t head[das::kHeaderSize];
  das::encodeHeader(next, head);
  uint64_t at = slot.header.firstRecordOffset + uint64_t{slot.header.recordSize} * slot.header.recordCount;
  if (!file.writeAt(at, records.data(), records.size()) || !file.flush() || !file.writeAt(0, head, sizeof head)) {
    logLine("FileHndl: SvFile write error \"%s\"", slot.name.c_str());
    setBits(errFault, fault::kDataFile);
    return false;
  }
  int closed = file.close();
  if (closed != 0) {
    reportCloseError(closed);
    setBits(errFault, fault::kDataFile);
    return false;
  }
  slot.header = next;
  return true;
}

bool endsWithNoCase(const char* text, const char* tail) {
  std::size_t length = std::strlen(text), tailLength = std::strlen(tail);
  return length >= tailLength && strcasecmp(text + length - tailLength, tail) == 0;
}

// Splits the pending folder prefix into the folder to list and the prefix
// that names in it carry.
void splitFolder(std::string& directory, std::string& prefix) {
  std::string folder = programPath(pending.folder);
  std::size_t slash = folder.rfind('/');
  directory = slash == std::string::npos ? "./" : folder.substr(0, slash + 1);
  prefix = slash == std::string::npos ? folder : folder.substr(slash + 1);
}

}  // namespace

void setPendingFileHeader(const char* customerId, const char* customerName, const char* personInCharge,
                          const char* mapName, const char* folder) {
  setText(pending.customerId, customerId);
  setText(pending.customerName, customerName);
  setText(pending.personInCharge, personInCharge);
  setText(pending.mapName, mapName);
  setText(pending.folder, folder);
}

const PendingFileHeader& pendingFileHeader() { return pending; }

bool withoutCustomer() { return pending.customerId[0] == ' '; }

SaveSlot& saveSlot(int index) { return slots[index >= 0 && index < kSaveSlots ? index : 0]; }

int32_t periodicFileCount() { return periodicCount; }

int currentModeBits() {
  uint32_t state = gatherState.load();
  int bits = 0;
  if (state & gather::kOneSystem) bits |= 4;
  if (state & gather::kOneUnit) bits |= 8;
  if (state & gather::kBusMonitor) bits |= 2;
  return bits;
}

bool createDataFile(int kind, int system, int modeBits, std::time_t firstRecord, int interval) {
  int index = 0;
  if (kind == das::kPeriodic) {
    if (system < 1 || system >= kSaveSlots) return false;
    ++periodicCount;
    index = system;
  } else if (kind != das::kTrigger) {
    return false;
  }
  SaveSlot& slot = slots[static_cast<std::size_t>(index)];
  slot = SaveSlot{};
  das::FileHeader header = newHeader(kind, system, modeBits, firstRecord, interval);
  FileBlocks blocks = buildBlocks(kind, system, header);
  std::size_t offset = das::kHeaderSize + blocks.bytes.size();
  if (offset > das::kLayoutLimit || blocks.recordSize > das::kLayoutLimit) {
    logLine("FileHndl: SvFile too large (blocks %zu, record %zu)", offset, blocks.recordSize);
    return false;
  }
  header.firstRecordOffset = static_cast<uint16_t>(offset);
  header.recordSize = static_cast<uint16_t>(blocks.recordSize);
  std::string name = das::fileName(programPath(pending.folder).c_str(), pending.customerId, kind, system, firstRecord);
  if (!writeNewFile(name, header, blocks.bytes)) return false;
  slot.name = name;
  slot.header = header;
  slot.layout = std::move(blocks.layout);
  return true;
}

// The slots of a kind: 1..255 periodic, 0 trigger; none for another kind.
std::span<SaveSlot> slotsOf(int kind) {
  if (kind == das::kPeriodic) return std::span<SaveSlot>(slots).subspan(1);
  if (kind == das::kTrigger) return std::span<SaveSlot>(slots).first(1);
  return {};
}

bool appendRecords(int kind, std::time_t first, int count) {
  if (kind != das::kPeriodic && kind != das::kTrigger) {
    logLine("FileHndl: Unknown Save-Mode=%d", kind);
    return false;
  }
  if (count <= 0) return true;
  bool ok = true;
  for (SaveSlot& slot : slotsOf(kind)) {
    if (slot.used() && !appendToSlot(slot, first, count, currentRecord(slot))) ok = false;
  }
  return ok;
}

void clearSaveSlots(int kind) {
  if (kind != das::kPeriodic) {
    slots[0] = SaveSlot{};
    return;
  }
  for (int i = 1; i < kSaveSlots; ++i) slots[static_cast<std::size_t>(i)] = SaveSlot{};
  periodicCount = 0;
}

void deleteLeftoverFiles(int kind) {
  std::string directory, prefix;
  splitFolder(directory, prefix);
  if (kind != das::kPeriodic) {
    ::unlink((directory + prefix + "trigger.das").c_str());
    ::unlink((directory + kTriggerWorkFile).c_str());
    return;
  }
  DIR* folder = ::opendir(directory.c_str());
  if (!folder) return;
  std::string lead = prefix + "const";
  while (const dirent* entry = ::readdir(folder)) {
    if (strncasecmp(entry->d_name, lead.c_str(), lead.size()) != 0) continue;
    if (!endsWithNoCase(entry->d_name, ".das")) continue;
    ::unlink((directory + entry->d_name).c_str());
  }
  ::closedir(folder);
}

int32_t triggerRecordCount() { return slots[0].used() ? static_cast<int32_t>(slots[0].header.recordCount) : 0; }

int32_t catchUpBatch(SlotRecording recording, int64_t missed) {
  std::size_t bytes = 0;
  for (const SaveSlot& slot : slotsOf(static_cast<int>(recording)))
    if (slot.used()) bytes += slot.header.recordSize;
  int64_t fit = bytes ? static_cast<int64_t>(std::max<std::size_t>(1, kCatchUpBytesPerStep / bytes)) : missed;
  return static_cast<int32_t>(std::clamp<int64_t>(std::min(fit, missed), 0, INT32_MAX));
}

void appendCatchUpRecords(SlotRecording recording, std::time_t first, int32_t count) {
  if (count <= 0) return;
  for (SaveSlot& slot : slotsOf(static_cast<int>(recording))) {
    if (!slot.used()) continue;
    if (slot.heldRecord.empty()) slot.heldRecord = currentRecord(slot);
    appendToSlot(slot, first, count, slot.heldRecord);
  }
}

void endCatchUp(SlotRecording recording) {
  for (SaveSlot& slot : slotsOf(static_cast<int>(recording))) {
    slot.heldRecord.clear();
    slot.heldRecord.shrink_to_fit();
  }
}

void appendPeriodicRecord(std::time_t stamp) { appendRecords(das::kPeriodic, stamp, 1); }

void appendTriggerRecord(std::time_t stamp) { appendRecords(das::kTrigger, stamp, 1); }

void releaseTriggerRecording() { clearSaveSlots(das::kTrigger); }

}  // namespace tramsoll
