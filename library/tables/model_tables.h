// The model tables: one entry per loaded item file (KishuTable), inside it
// the named data blocks (KishuData) and the unit groups (KishuSubTable), and
// inside each group its data items (ItemTable). The item record is what the
// conversion interpreter and every reader of unit data take whole.
//
// The tables are filled by the load of all tables and only read afterwards;
// the calling frame keeps the two threads apart. Indexes are 0-based and stay
// valid for the life of the library.
#pragma once

#include <cstdint>

namespace tramsoll {

constexpr int kItemNameSize = 64;
constexpr int kFullScaleSize = 8;     // 7 characters and the terminator
constexpr int kProgramSize = 1280;
constexpr int kStateTextSize = 64;
constexpr int kBlockNameSize = 9;     // 8 characters and the terminator
constexpr int kGroupTextCount = 64;
constexpr int kTableCountLimit = 255; // the counts are 8-bit

// Item flags: bits 0-7 one flag per character of the item line's flag
// field, bit 8 shown in the graph by default, bits 11-15 the data type code.
namespace itemflag {
constexpr uint32_t kDefaultGraph = 0x100;
constexpr int kTypeShift = 11;
constexpr uint32_t kTypeMask = 0x1Fu << kTypeShift;
// What the table keeps of a given flag word: bits 9-10 and 16-31 are 0.
constexpr uint32_t kKept = 0xFFu | kDefaultGraph | kTypeMask;
}  // namespace itemflag

// Data type codes (bits 11-15 of the item flags).
namespace datatype {
constexpr int32_t kAnalog = 0;      // "A": one decimal
constexpr int32_t kDigital = 1;     // "D": two state texts
constexpr int32_t kBinary = 2;      // "E": state texts "0" and "1"
constexpr int32_t kText = 3;        // "M": text words only
constexpr int32_t kInteger = 4;     // "I"
constexpr int32_t kFloat1 = 5;      // "F", "F1"
constexpr int32_t kFloat2 = 6;      // "F2": two decimals
constexpr int32_t kOnOff = 7;       // "O": two state texts
}  // namespace datatype

// One data item, laid out field after field without gaps (1484 bytes).
struct ItemRecord {
  char name[kItemNameSize];
  uint32_t flags;
  char fullScale[kFullScaleSize];
  char program[kProgramSize];
  char stateText0[kStateTextSize];
  char stateText1[kStateTextSize];
};
static_assert(sizeof(ItemRecord) == 1484);

inline int32_t itemDataType(const ItemRecord& item) {
  return static_cast<int32_t>((item.flags & itemflag::kTypeMask) >> itemflag::kTypeShift);
}

// One loaded item file, without its two lists.
struct KishuEntry {
  char fileName[32];
  char reportTextA[8][64];
  char reportTextB[8][32];
  uint8_t firstReportValue;
  uint8_t secondReportValue;
  uint8_t dataBlockCount;
  uint8_t unitGroupCount;
};

// One unit group of an item file, without its item list.
struct UnitGroup {
  uint8_t unitType;     // 0 outdoor, 1 indoor, or the class of the load
  uint8_t groupNumber;
  char groupName[64];
  char groupProgram[kProgramSize];
  char groupTexts[kGroupTextCount][64];
  uint8_t itemCount;
};

// KishuTable. Adding a file name already present (ignoring case) is refused.
bool addKishu(const KishuEntry& entry, int32_t& index);
bool findKishuByFile(const char* fileName, int32_t& index);
bool getKishu(int32_t index, KishuEntry& out);
int32_t kishuCount();

// KishuData: block names are compared exactly.
bool addKishuData(int32_t fileIndex, const char* blockName, uint16_t length, int32_t& dataIndex);
bool getKishuData(int32_t fileIndex, int32_t dataIndex, char (&name)[kBlockNameSize], uint16_t& length);
bool findKishuDataLength(int32_t fileIndex, const char* blockName, uint16_t& length);

// KishuSubTable: keyed by unit type and group number.
bool addKishuSub(int32_t fileIndex, const UnitGroup& group);
bool getKishuSub(int32_t fileIndex, int32_t groupIndex, UnitGroup& out);
bool findKishuSub(int32_t fileIndex, int unitType, int groupNumber, UnitGroup& out);
// The item count of a unit group, without copying the group; false and 0
// when the file has no such group.
bool findKishuSubItemCount(int32_t fileIndex, int unitType, int groupNumber, int32_t& count);

// ItemTable. addItem creates the unit group when the file has none of that
// type and number; an item name already in the group is refused.
bool addItem(int32_t fileIndex, int unitType, int groupNumber, const ItemRecord& item);
// The item's name comes back cut before "(kgf/cm2)": callers show the unit
// in the unit the engineer chose.
bool getItem(int32_t fileIndex, int unitType, int groupNumber, int32_t itemIndex, ItemRecord& out);

// 1-based position of the first `part` in `text`; 0 when absent or when
// either is empty.
int32_t findText(const char* text, const char* part);

// Empties every model table. Tests only: the library keeps its tables for
// its whole life.
void resetModelTables();

}  // namespace tramsoll
