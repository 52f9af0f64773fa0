#include "store/discovery_table.h"

#include <cstring>
#include <limits>

#include "base/table_growth.h"

namespace tramsoll {

namespace {

bool validKey(int kind, int address) { return kind >= 0 && kind <= 255 && address >= 0 && address <= 255; }

void copyOut(const AutoAdrEntry& entry, AutoAdrEntry& out) {
  out = entry;
  out.status &= kReplacedStatusBits;
  out.marks &= kMarkBits;
}

void copyOut(const UnitRow& unit, AirconRow& out) {
  out = unit.row;
  out.triggerFlagCount = static_cast<uint8_t>(unit.triggerFlags.size());
  out.dataBlockCount = static_cast<uint8_t>(unit.blocks.size());
}

uint32_t markBit(int mode) { return mode == 1 ? 0x1u : mode == 2 ? 0x2u : 0u; }

}  // namespace

AutoAdrTable::Record* AutoAdrTable::find(int kind, int address) {
  if (!validKey(kind, address)) return nullptr;
  uint32_t position = position_[keyOf(kind, address)];
  return position ? &entries_[position - 1] : nullptr;
}

const AutoAdrTable::Record* AutoAdrTable::find(int kind, int address) const {
  return const_cast<AutoAdrTable*>(this)->find(kind, address);
}

AutoAdrTable::Record* AutoAdrTable::append(int kind, int address) {
  if (!growByOne(entries_, "AutoAdrTable")) return nullptr;
  Record& record = entries_.back();
  record.entry.kind = static_cast<uint8_t>(kind);
  record.entry.address = static_cast<uint8_t>(address);
  position_[keyOf(kind, address)] = static_cast<uint32_t>(entries_.size());
  return &record;
}

bool AutoAdrTable::addOrUpdateEntry(uint32_t keyWord, uint16_t number, uint32_t value, uint32_t status) {
  int kind = static_cast<int>(keyWord & 0xFF);
  int address = static_cast<int>((keyWord >> 8) & 0xFF);
  Record* record = find(kind, address);
  if (!record) {
    record = append(kind, address);
    if (!record) return false;
    record->entry.groupByte = 255;
  }
  AutoAdrEntry& entry = record->entry;
  entry.keyByte3 = static_cast<uint8_t>(keyWord >> 16);
  entry.keyByte4 = static_cast<uint8_t>(keyWord >> 24);
  entry.number = number;
  entry.value = value;
  entry.status = (entry.status & ~kReplacedStatusBits) | (status & kReplacedStatusBits);
  return true;
}

bool AutoAdrTable::storeEntry(const AutoAdrEntry& entry) {
  return addOrUpdateEntry(entryKeyWord(entry.kind, entry.address, entry.keyByte3, entry.keyByte4), entry.number,
                          entry.value, entry.status);
}

bool AutoAdrTable::setGroup(int kind, int address, uint32_t value) {
  Record* record = find(kind, address);
  if (!record) return false;
  record->entry.group = static_cast<uint16_t>(value & 0xFFFF);
  record->entry.groupByte = static_cast<uint8_t>(value >> 16);
  return true;
}

bool AutoAdrTable::findNumberByValue(uint32_t value, uint16_t& number) const {
  number = 0;
  for (const Record& record : entries_) {
    const AutoAdrEntry& entry = record.entry;
    if (entry.kind != unitKind::kOutdoor || entry.value != value || entry.number == 0) continue;
    number = entry.number;
    return true;
  }
  return false;
}

bool AutoAdrTable::findIndoorAddressByValue(uint32_t value, uint8_t& address) const {
  address = 0;
  for (const Record& record : entries_) {
    if (record.entry.kind != unitKind::kIndoor || record.entry.value != value) continue;
    if (record.rows.empty() || record.rows[0].row.identity[0] != kIndoorSearchIdentity) continue;
    address = record.entry.address;
    return true;
  }
  return false;
}

bool AutoAdrTable::markGroup(int group, int mode) {
  uint32_t bit = markBit(mode);
  if (!bit) return false;
  bool matched = false;
  for (Record& record : entries_) {
    if (record.entry.group != group) continue;
    record.entry.marks |= bit;
    matched = true;
  }
  return matched;
}

bool AutoAdrTable::unmarkAll(int mode) {
  uint32_t bit = markBit(mode);
  if (!bit) return false;
  for (Record& record : entries_) record.entry.marks &= ~bit;
  return true;
}

bool AutoAdrTable::entryByIndex(int index, AutoAdrEntry& out) const {
  out = AutoAdrEntry{};
  if (index < 0 || index >= count()) return false;
  copyOut(entries_[static_cast<std::size_t>(index)].entry, out);
  return true;
}

bool AutoAdrTable::entryByKey(int kind, int address, AutoAdrEntry& out) const {
  out = AutoAdrEntry{};
  const Record* record = find(kind, address);
  if (!record) return false;
  copyOut(record->entry, out);
  return true;
}

bool AutoAdrTable::addRow(int kind, int address, const AirconRow& rowTemplate, int triggerSlotCount) {
  if (!validKey(kind, address)) return false;
  Record* record = find(kind, address);
  if (!record) record = append(kind, address);
  if (!record) return false;
  for (const UnitRow& unit : record->rows)
    if (std::memcmp(unit.row.identity, rowTemplate.identity, kRowIdentitySize) == 0) return false;
  // The row count is a signed 16-bit field of the entry.
  if (record->rows.size() >= static_cast<std::size_t>(std::numeric_limits<int16_t>::max())) return false;
  if (!growByOne(record->rows, "AirconTable")) return false;
  AirconRow& row = record->rows.back().row;
  setFieldText(row.name, rowTemplate.name);
  setFieldText(row.secondText, rowTemplate.secondText);
  std::memcpy(row.identity, rowTemplate.identity, kRowIdentitySize);
  row.triggerSlotCount = static_cast<uint8_t>(triggerSlotCount < 0 ? 0 : triggerSlotCount > 255 ? 255 : triggerSlotCount);
  record->entry.rowCount = static_cast<int16_t>(record->rows.size());
  return true;
}

bool AutoAdrTable::setRowTexts(int kind, int address, int rowIndex, uint8_t numberByte, const char* text1,
                               const char* text2, const char* text3) {
  UnitRow* unit = unitRow(kind, address, rowIndex);
  if (!unit) return false;
  unit->row.numberByte = numberByte;
  setFieldText(unit->row.linkText[0], text1);
  setFieldText(unit->row.linkText[1], text2);
  setFieldText(unit->row.linkText[2], text3);
  return true;
}

bool AutoAdrTable::rowByIndex(int kind, int address, int rowIndex, AutoAdrEntry& entryOut, AirconRow& rowOut) const {
  entryOut = AutoAdrEntry{};
  rowOut = AirconRow{};
  const Record* record = find(kind, address);
  const UnitRow* unit = unitRow(kind, address, rowIndex);
  if (!record || !unit) return false;
  copyOut(record->entry, entryOut);
  copyOut(*unit, rowOut);
  return true;
}

bool AutoAdrTable::findRowByNumber(int group, int kind, int number, uint8_t& address, int& rowIndex) const {
  address = 0;
  rowIndex = 0;
  for (const Record& record : entries_) {
    if (record.entry.group != group || record.entry.kind != kind) continue;
    for (std::size_t i = 0; i < record.rows.size(); ++i) {
      if (record.rows[i].row.numberByte != number) continue;
      address = record.entry.address;
      rowIndex = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

void AutoAdrTable::freeAll() {
  for (const Record& record : entries_) position_[keyOf(record.entry.kind, record.entry.address)] = 0;
  // swap with an empty table so the memory goes back, not just the count
  std::vector<Record>().swap(entries_);
}

UnitRow* AutoAdrTable::unitRow(int kind, int address, int rowIndex) {
  Record* record = find(kind, address);
  if (!record || rowIndex < 0 || static_cast<std::size_t>(rowIndex) >= record->rows.size()) return nullptr;
  return &record->rows[static_cast<std::size_t>(rowIndex)];
}

const UnitRow* AutoAdrTable::unitRow(int kind, int address, int rowIndex) const {
  return const_cast<AutoAdrTable*>(this)->unitRow(kind, address, rowIndex);
}

UnitRow* AutoAdrTable::unitRowByIdentity(int kind, int address, const uint8_t* identity) {
  Record* record = find(kind, address);
  if (!record || !identity) return nullptr;
  for (UnitRow& unit : record->rows)
    if (std::memcmp(unit.row.identity, identity, kRowIdentitySize) == 0) return &unit;
  return nullptr;
}

AutoAdrTable& autoAdrTable() {
  static AutoAdrTable table;
  return table;
}

}  // namespace tramsoll
