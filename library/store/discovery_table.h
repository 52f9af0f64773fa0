// The unit discovery tables: one AutoAdrTable entry per unit address found
// (or set up for a board connection or the sensor inputs), and under each
// entry its AirconTable unit rows, which carry the live data blocks, the
// trigger-condition flags and the sensor-channel settings.
//
// Entries and rows keep their insertion order; callers rely on "first in
// table order" and "last in table order". An index by (kind, address) sits
// beside the entries so that per-address lookups do not scan the table.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "store/live_records.h"

namespace tramsoll {

// Unit kinds as the callers use them.
namespace unitKind {
constexpr int kOutdoor = 0;
constexpr int kIndoor = 1;
constexpr int kCentral = 100;
constexpr int kSensor = 200;
}  // namespace unitKind

// Status bits that every add or update replaces: 0-7, 10-12 (discovery
// state) and 13-15 (alarm state). Bits 8-9 and 16-31 are kept.
constexpr uint32_t kReplacedStatusBits = 0xFCFF;
constexpr uint32_t kMarkBits = 0x3;
constexpr int kRowIdentitySize = 5;
// A first identity byte of 22 marks the row the indoor search accepts.
constexpr uint8_t kIndoorSearchIdentity = 22;

// Copy of one entry as handed to callers (no row reference).
struct AutoAdrEntry {
  uint8_t kind;
  uint8_t address;
  uint8_t keyByte3;
  uint8_t keyByte4;
  uint16_t number;
  uint32_t value;
  uint32_t status;     // limited to kReplacedStatusBits in copies
  uint32_t marks;      // bit 0 periodic selection, bit 1 trigger selection
  uint16_t group;      // system number
  uint8_t groupByte;   // control address, 255 for none
  int16_t rowCount;
};

// One unit row. Used as the template given to addRow (name, second text and
// identity are taken from it) and as the copy handed to callers.
struct AirconRow {
  char name[64];
  char secondText[32];
  uint8_t identity[kRowIdentitySize];
  uint8_t numberByte;
  char linkText[3][64];
  uint8_t triggerSlotCount;
  uint8_t triggerFlagCount;
  uint8_t dataBlockCount;
};

// A unit row with what hangs under it. The live data table works on these;
// other callers see AirconRow copies.
struct UnitRow {
  AirconRow row{};
  std::vector<std::unique_ptr<DataBlock>> blocks;
  std::vector<uint32_t> triggerFlags;  // empty until the first set
  std::vector<LogEntry> logTable;      // empty until the first set, then 8
};

// The key word of add or update: kind in bits 0-7, address in 8-15, key
// bytes 3 and 4 in 16-23 and 24-31.
constexpr uint32_t entryKeyWord(uint8_t kind, uint8_t address, uint8_t keyByte3, uint8_t keyByte4) {
  return uint32_t{kind} | uint32_t{address} << 8 | uint32_t{keyByte3} << 16 | uint32_t{keyByte4} << 24;
}

class AutoAdrTable {
 public:
  // Finds or appends the entry of (kind, address) from the key word (kind in
  // bits 0-7, address in 8-15, key bytes 3 and 4 in 16-23 and 24-31), then
  // sets key bytes 3 and 4, number, value and the replaced status bits. A new
  // entry starts with group 0 and group byte 255. False only when the table
  // could not grow.
  bool addOrUpdateEntry(uint32_t keyWord, uint16_t number, uint32_t value, uint32_t status);
  // Add or update with the fields of an entry copy (the decoders' "store the
  // entry" after changing a copy).
  bool storeEntry(const AutoAdrEntry& entry);

  // group = bits 0-15 of value, group byte = bits 16-23. False when missing.
  bool setGroup(int kind, int address, uint32_t value);

  // Number of the first outdoor entry with that value and a non-zero number.
  bool findNumberByValue(uint32_t value, uint16_t& number) const;
  // Address of the first indoor entry with that value whose first row
  // carries the indoor search identity.
  bool findIndoorAddressByValue(uint32_t value, uint8_t& address) const;

  // Mode 1 sets bit 0, mode 2 bit 1 of every entry of the group; true when
  // at least one matched. Other modes: false.
  bool markGroup(int group, int mode);
  // Mode 1 clears bit 0, mode 2 bit 1 of every entry. Other modes: false.
  bool unmarkAll(int mode);

  int32_t count() const { return static_cast<int32_t>(entries_.size()); }
  // Copies; false (and a zeroed copy) when missing.
  bool entryByIndex(int index, AutoAdrEntry& out) const;
  bool entryByKey(int kind, int address, AutoAdrEntry& out) const;

  // Appends a row made from the template's name, second text and identity
  // with the given trigger slot count (0..255); everything else 0. Creates
  // the entry when missing with all fields 0 but its key pair. Refuses a row
  // whose identity an existing row of the entry has.
  bool addRow(int kind, int address, const AirconRow& rowTemplate, int triggerSlotCount);
  // Sets the row's number byte and three link texts (each cut to 63).
  bool setRowTexts(int kind, int address, int rowIndex, uint8_t numberByte, const char* text1,
                   const char* text2, const char* text3);
  // Copies of the entry and the row; false (both zeroed) when missing.
  bool rowByIndex(int kind, int address, int rowIndex, AutoAdrEntry& entryOut, AirconRow& rowOut) const;
  // Address and row index of the first entry of that group and kind with a
  // row whose number byte is `number`; 0, 0 and false when none.
  bool findRowByNumber(int group, int kind, int number, uint8_t& address, int& rowIndex) const;

  // Releases every row with all that hangs under it, then the entries.
  void freeAll();

  // ---- For the live data table ----
  UnitRow* unitRow(int kind, int address, int rowIndex);
  const UnitRow* unitRow(int kind, int address, int rowIndex) const;
  UnitRow* unitRowByIdentity(int kind, int address, const uint8_t* identity);
  template <class Visit>
  void forEachRow(Visit visit) {
    for (auto& record : entries_)
      for (auto& row : record.rows) visit(row);
  }

 private:
  struct Record {
    AutoAdrEntry entry{};
    std::vector<UnitRow> rows;
  };

  static int keyOf(int kind, int address) { return (kind << 8) | address; }
  Record* find(int kind, int address);
  const Record* find(int kind, int address) const;
  Record* append(int kind, int address);

  std::vector<Record> entries_;
  std::array<uint32_t, 65536> position_{};  // key → entry index + 1, 0 for none
};

// The table of the running gathering.
AutoAdrTable& autoAdrTable();

}  // namespace tramsoll
