#include "store/live_table.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

#include "base/table_growth.h"

namespace tramsoll {

namespace {

// Length of a usable block key (1..7 characters), 0 for none.
std::size_t keyLength(const char* key) {
  if (!key) return 0;
  std::size_t n = strnlen(key, kBlockKeySize);
  return n < kBlockKeySize ? n : 0;
}

bool keyMatches(const DataBlock& block, const char* key) {
  std::size_t n = keyLength(key);
  return n && std::memcmp(block.key, key, n + 1) == 0;
}

// Copies up to `count` bytes of the source into the destination and zeroes
// what the source falls short of.
void copyBounded(uint8_t* destination, std::size_t count, std::span<const uint8_t> source) {
  std::size_t n = std::min(count, source.size());
  if (n) std::memcpy(destination, source.data(), n);
  if (n < count) std::memset(destination + n, 0, count - n);
}

}  // namespace

DataBlock* LiveDataTable::block(int kind, int address, int rowIndex, int blockIndex) {
  UnitRow* unit = units_.unitRow(kind, address, rowIndex);
  if (!unit || blockIndex < 0 || static_cast<std::size_t>(blockIndex) >= unit->blocks.size()) return nullptr;
  return unit->blocks[static_cast<std::size_t>(blockIndex)].get();
}

DataBlock* LiveDataTable::block(int kind, int address, int rowIndex, const char* key) {
  UnitRow* unit = units_.unitRow(kind, address, rowIndex);
  if (!unit) return nullptr;
  for (auto& candidate : unit->blocks)
    if (keyMatches(*candidate, key)) return candidate.get();
  return nullptr;
}

const DataBlock* LiveDataTable::findBlock(int kind, int address, int rowIndex, const char* key) const {
  return const_cast<LiveDataTable*>(this)->block(kind, address, rowIndex, key);
}

const DataBlock* LiveDataTable::blockAt(int kind, int address, int rowIndex, int blockIndex) const {
  return const_cast<LiveDataTable*>(this)->block(kind, address, rowIndex, blockIndex);
}

bool LiveDataTable::addBlock(int kind, int address, const uint8_t* identity, const char* key, int dataLength) {
  std::size_t length = keyLength(key);
  if (!length || dataLength < 1 || dataLength > kBlockDataSize) return false;
  UnitRow* unit = units_.unitRowByIdentity(kind, address, identity);
  if (!unit) return false;
  for (const auto& existing : unit->blocks)
    if (keyMatches(*existing, key)) return false;
  // The row counts its blocks in one byte.
  if (unit->blocks.size() >= std::numeric_limits<uint8_t>::max()) return false;
  // value-initialised: every snapshot zero
  bool added = allocateOrReport("DataTable", [&] { unit->blocks.push_back(std::make_unique<DataBlock>()); });
  if (!added) return false;
  DataBlock& fresh = *unit->blocks.back();
  std::memcpy(fresh.key, key, length);
  fresh.dataLength = static_cast<int16_t>(dataLength);
  unit->row.dataBlockCount = static_cast<uint8_t>(unit->blocks.size());
  return true;
}

bool LiveDataTable::blockHeader(int kind, int address, int rowIndex, int blockIndex, DataBlockHeader& out) const {
  out = DataBlockHeader{};
  const DataBlock* found = blockAt(kind, address, rowIndex, blockIndex);
  if (!found) return false;
  std::memcpy(out.key, found->key, kBlockKeySize);
  out.dataLength = found->dataLength;
  std::memcpy(out.times, found->times, sizeof out.times);
  return true;
}

void LiveDataTable::store(DataBlock& target, uint32_t time, std::span<const uint8_t> extra,
                          std::span<const uint8_t> data) {
  target.times[current_] = time;
  copyBounded(target.extra[current_], static_cast<std::size_t>(frameKeyLength_), extra);
  copyBounded(target.data[current_], static_cast<std::size_t>(target.dataLength), data);
}

bool LiveDataTable::storeByNumber(int kind, int address, int rowIndex, int blockIndex, uint32_t time,
                                  std::span<const uint8_t> extra, std::span<const uint8_t> data) {
  DataBlock* target = block(kind, address, rowIndex, blockIndex);
  if (!target) return false;
  store(*target, time, extra, data);
  return true;
}

bool LiveDataTable::storeByKey(int kind, int address, int rowIndex, const char* key, uint32_t time,
                               std::span<const uint8_t> extra, std::span<const uint8_t> data) {
  DataBlock* target = block(kind, address, rowIndex, key);
  if (!target) return false;
  store(*target, time, extra, data);
  return true;
}

bool LiveDataTable::readSnapshot(int kind, int address, int rowIndex, const char* key, int number,
                                 Snapshot& out) const {
  out = Snapshot{};
  const DataBlock* found = findBlock(kind, address, rowIndex, key);
  int slot = snapshotSlot(number);
  if (!found || slot < 0) return false;
  out.time = found->times[slot];
  out.dataLength = found->dataLength;
  std::memcpy(out.extra, found->extra[slot], kExtraBytes);
  std::memcpy(out.data, found->data[slot], kBlockDataSize);
  return true;
}

bool LiveDataTable::fetchBlock(int kind, int address, int rowIndex, const char* key, int position,
                               BlockView& out) const {
  out = BlockView{};
  const DataBlock* found = findBlock(kind, address, rowIndex, key);
  int slot = snapshotSlot(position);
  if (!found || slot < 0) return false;
  out.bytes = found->data[slot];
  out.length = found->dataLength;
  out.time = found->times[slot];
  return true;
}

int32_t LiveDataTable::snapshotCount() const { return (current_ - oldest_ + kSnapshotSlots) % kSnapshotSlots; }

int LiveDataTable::snapshotSlot(int number) const {
  if (number < 0 || number >= kReadableSnapshots) return -1;
  return (oldest_ + number) % kSnapshotSlots;
}

void LiveDataTable::advanceOnce() {
  int next = (current_ + 1) % kSnapshotSlots;
  units_.forEachRow([&](UnitRow& unit) {
    for (auto& held : unit.blocks) {
      DataBlock& b = *held;
      b.times[next] = b.times[current_];
      std::memcpy(b.extra[next], b.extra[current_], kExtraBytes);
      std::memcpy(b.data[next], b.data[current_], static_cast<std::size_t>(b.dataLength));
    }
  });
  current_ = next;
  if (current_ == oldest_) oldest_ = (oldest_ + 1) % kSnapshotSlots;
}

void LiveDataTable::advanceSnapshot(uint32_t times) {
  uint32_t copies = std::min<uint32_t>(times, kReadableSnapshots);
  for (uint32_t i = 0; i < copies; ++i) advanceOnce();
  if (times == copies) return;
  // After 121 advances without stores every slot holds the same bytes and
  // the ring is full; each further advance only moves both indices on.
  current_ = static_cast<int>((current_ + (times - copies) % kSnapshotSlots) % kSnapshotSlots);
  oldest_ = (current_ + 1) % kSnapshotSlots;
}

void LiveDataTable::resetHistory() {
  current_ = 0;
  oldest_ = 0;
}

void LiveDataTable::setFrameKeyLength(int count) { frameKeyLength_ = std::clamp(count, 0, kExtraBytes); }

bool LiveDataTable::setLogEntry(int kind, int address, int rowIndex, int slot, const LogEntry& entry) {
  UnitRow* unit = units_.unitRow(kind, address, rowIndex);
  if (!unit || slot < 0 || slot >= kLogEntries) return false;
  if (unit->logTable.empty() &&
      !allocateOrReport("LogTable", [&] { unit->logTable.assign(kLogEntries, LogEntry{}); }))
    return false;
  const LogEntry source = entry;  // `entry` may be this very slot
  LogEntry& target = unit->logTable[static_cast<std::size_t>(slot)];
  setFieldText(target.name, source.name);
  target.used = source.used;
  target.switchPosition = source.switchPosition;
  target.range = source.range;
  target.offset = source.offset;
  target.fullScale = source.fullScale;
  setFieldText(target.unit, source.unit);
  return true;
}

bool LiveDataTable::getLogEntry(int kind, int address, int rowIndex, int slot, LogEntry& out) const {
  out = LogEntry{};
  const UnitRow* unit = units_.unitRow(kind, address, rowIndex);
  if (!unit || slot < 0 || slot >= kLogEntries) return false;
  if (!unit->logTable.empty()) out = unit->logTable[static_cast<std::size_t>(slot)];
  return true;
}

bool LiveDataTable::setTriggerFlags(int kind, int address, int rowIndex, int slot, uint32_t value) {
  UnitRow* unit = units_.unitRow(kind, address, rowIndex);
  if (!unit || slot < 0 || slot >= unit->row.triggerSlotCount) return false;
  if (unit->triggerFlags.empty()) {
    // a new list starts with both conditions of every slot at 3 (none)
    if (!allocateOrReport("TrConditn", [&] { unit->triggerFlags.assign(unit->row.triggerSlotCount, 0xFu); }))
      return false;
    unit->row.triggerFlagCount = unit->row.triggerSlotCount;
  }
  uint32_t& word = unit->triggerFlags[static_cast<std::size_t>(slot)];
  word = (word & ~0xFu) | (value & 0xFu);
  return true;
}

bool LiveDataTable::getTriggerFlags(int kind, int address, int rowIndex, int slot, uint32_t& out) const {
  out = 0;
  const UnitRow* unit = units_.unitRow(kind, address, rowIndex);
  if (!unit || slot < 0 || static_cast<std::size_t>(slot) >= unit->triggerFlags.size()) return false;
  out = unit->triggerFlags[static_cast<std::size_t>(slot)] & 0xFu;
  return true;
}

void LiveDataTable::freeTriggerFlags() {
  units_.forEachRow([](UnitRow& unit) {
    std::vector<uint32_t>().swap(unit.triggerFlags);
    unit.row.triggerFlagCount = 0;
  });
}

LiveDataTable& liveDataTable() {
  static LiveDataTable table(autoAdrTable());
  return table;
}

void freeUnitTables() {
  liveDataTable().freeTriggerFlags();
  autoAdrTable().freeAll();
  liveDataTable().resetHistory();
}

}  // namespace tramsoll
