#include "tables/item_file.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/debug_ring.h"
#include "base/program_files.h"
#include "base/status_words.h"
#include "tables/all_tables.h"
#include "tables/conversion.h"
#include "tables/model_tables.h"
#include "tables/number_text.h"
#include "tables/scrambled.h"
#include "tables/setting_tables.h"

namespace tramsoll {

namespace {

enum class Section { None, Report, Data, Exist, Item };

// One line of an item file as a section handler sees it.
struct ItemLine {
  const char* file;
  int number;
  const Fields& fields;
};

// Writes a fault of the line and sets the table-load bit.
void lineFault(const ItemLine& line, const char* format, ...) __attribute__((format(printf, 2, 3)));

void lineFault(const ItemLine& line, const char* format, ...) {
  char reason[kLineSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(reason, sizeof reason, format, args);
  va_end(args);
  logLine("KtbError: %s(%d) %s", line.file, line.number, reason);
  setBits(errFault, fault::kTableLoad);
}

// The field at `index`; every index outside the row reads as an empty text.
const char* fieldAt(const Fields& fields, int64_t index) {
  if (index < 0 || index >= kFieldCount) return "";
  return fields[static_cast<int>(index)];
}

// Fields the splitter had to cut are reported; the line is still handled
// with what was kept.
void reportCutFields(const ItemLine& line) {
  if (line.fields.overlongField) lineFault(line, "field over %d char", kFieldSize - 1);
  if (line.fields.tooManyFields) lineFault(line, "field over %d", kFieldCount);
}

template <std::size_t N>
void copyField(char (&to)[N], const char* text) {
  std::size_t n = strnlen(text, N - 1);
  std::memcpy(to, text, n);
  std::memset(to + n, 0, N - n);
}

// Joins `count` fields from `first` with single commas into a program
// field; false when they do not fit (the text is then cut).
template <std::size_t N>
bool joinFields(const Fields& fields, int first, int count, char (&out)[N]) {
  std::size_t used = 0;
  bool fits = true;
  for (int i = 0; i < count; ++i) {
    const char* word = fieldAt(fields, int64_t{first} + i);
    std::size_t n = std::strlen(word) + (i > 0 ? 1 : 0);
    if (used + n > N - 1) {
      fits = false;
      break;
    }
    if (i > 0) out[used++] = ',';
    std::memcpy(out + used, word, std::strlen(word));
    used += std::strlen(word);
  }
  out[used] = '\0';
  return fits;
}

// "O" or "I" followed by a group number (0 to 255).
bool parseUnitGroup(const char* text, int& unitType, int& groupNumber) {
  if (text[0] != 'O' && text[0] != 'I') return false;
  unitType = text[0] == 'O' ? 0 : 1;
  int32_t position = 1;
  uint32_t number = parseDecimal(text, position);
  if (number > 255) return false;
  groupNumber = static_cast<int>(number);
  return true;
}

// Names are plain file names in the table folder: no folders, no way out.
bool acceptableName(const char* name) {
  if (!name || !name[0] || strnlen(name, kItemFileSize) >= kItemFileSize) return false;
  return !std::strchr(name, '/') && !std::strchr(name, '\\') && !std::strstr(name, "..");
}

// Reads table/<name> and hands each content line to `handle` with the
// section it belongs to. False when the file cannot be opened.
template <typename Handler>
bool readItemFile(const char* name, Handler handle) {
  if (!acceptableName(name)) {
    logLine("KtbError: refused file name \"%s\"", name ? name : "");
    setBits(errFault, fault::kTableLoad);
    return false;
  }
  char path[kItemFileSize + 8];
  std::snprintf(path, sizeof path, "table\\%s", name);
  ProgramFileBytes file;
  if (!readProgramFile(path, file)) {
    logLine("KtbError: can't open \"%s\" file!!", name);
    setBits(errFault, fault::kTableLoad);
    return false;
  }
  Section section = Section::None;
  auto lineOver = [name](int number) {
    logLine("KtbError: %s(%d) line over %d char", name, number, kMaxLine);
    return true;  // the line's first bytes are still handled
  };
  ScrambledText text(file.bytes, file.readError);
  readTableLines(text, lineOver, [&](const Fields& fields, int number) {
    const char* first = fields[0];
    ItemLine line{name, number, fields};
    Section marked = Section::None;
    if (std::strcmp(first, "[report]") == 0) marked = Section::Report;
    if (std::strcmp(first, "[data]") == 0) marked = Section::Data;
    if (std::strcmp(first, "[exist]") == 0) marked = Section::Exist;
    if (std::strncmp(first, "[item", 5) == 0) marked = Section::Item;
    if (marked != Section::None) section = marked;
    if (section != Section::None) handle(section, line, marked != Section::None);
  });
  return true;
}

// ---- Pass 1: the report section ----

constexpr int kReportTextSlots = 6;

void readReportLine(const ItemLine& line, int reportLine, KishuEntry& entry) {
  const Fields& f = line.fields;
  if (reportLine == 1) entry.firstReportValue = static_cast<uint8_t>(textToInt(f[0]));
  if (reportLine == 2) entry.secondReportValue = static_cast<uint8_t>(textToInt(f[0]));
  if (reportLine < 3 || reportLine > 2 + kReportTextSlots) return;
  reportCutFields(line);
  int slot = reportLine - 3;
  copyField(entry.reportTextA[slot], f[0]);
  if (std::strlen(f[1]) >= sizeof entry.reportTextB[slot])
    lineFault(line, "Report text over %d char", static_cast<int>(sizeof entry.reportTextB[slot]) - 1);
  copyField(entry.reportTextB[slot], f[1]);
}

// ---- Pass 2: data blocks and unit groups ----

constexpr int kBlockNameLimit = 7;  // the longest name a data operand can give
constexpr int kBlockLengthLimit = 256;

void readDataLine(const ItemLine& line, int32_t fileIndex) {
  const Fields& f = line.fields;
  if (!f[0][0]) return;
  reportCutFields(line);
  if (std::strlen(f[0]) > kBlockNameLimit) return lineFault(line, "Addr Length Error");
  // The whole number is checked before it is kept in 16 bits.
  int32_t length = textToInt(f[1]);
  if (length <= 0 || length > kBlockLengthLimit) return lineFault(line, "Data Length Error");
  KishuEntry entry;
  getKishu(fileIndex, entry);
  uint16_t known = 0;
  if (findKishuDataLength(fileIndex, f[0], known)) return;  // a name already present is ignored
  if (entry.dataBlockCount >= kTableCountLimit) return lineFault(line, "Data num over %d", kTableCountLimit + 1);
  int32_t dataIndex = 0;
  addKishuData(fileIndex, f[0], static_cast<uint16_t>(length), dataIndex);
}

constexpr int kGroupProgramField = 2;

void readExistLine(const ItemLine& line, int32_t fileIndex) {
  const Fields& f = line.fields;
  reportCutFields(line);
  UnitGroup group{};
  // An unknown letter is only noted (the group counts as outdoor); a
  // number beyond 255 cannot be held and the line is refused.
  bool known = f[0][0] == 'O' || f[0][0] == 'I';
  if (!known) logLine("KtbError: %s(%d) Unknown type \"%s\"", line.file, line.number, f[0]);
  int unitType = f[0][0] == 'I' ? 1 : 0;
  int32_t position = 1;
  uint32_t number = f[0][0] ? parseDecimal(f[0], position) : 0;
  if (number > 255) {
    if (known) lineFault(line, "Unknown type \"%s\"", f[0]);
    setBits(errFault, fault::kTableLoad);
    return;
  }
  int groupNumber = static_cast<int>(number);
  group.unitType = static_cast<uint8_t>(unitType);
  group.groupNumber = static_cast<uint8_t>(groupNumber);
  copyField(group.groupName, f[1]);

  ProgramCheck check{};
  if (!checkItemProgram(fileIndex, &f.field[kGroupProgramField], kFieldCount - kGroupProgramField, datatype::kDigital,
                        check))
    lineFault(line, "%s", check.errorText);
  int words = check.wordCount;
  if (!joinFields(f, kGroupProgramField, words, group.groupProgram))
    lineFault(line, "Program over %d char", kProgramSize - 1);
  for (int k = 0; k < kGroupTextCount; ++k)
    copyField(group.groupTexts[k], fieldAt(f, int64_t{kGroupProgramField} + words + k));

  KishuEntry entry;
  getKishu(fileIndex, entry);
  UnitGroup held;
  if (findKishuSub(fileIndex, unitType, groupNumber, held)) return;  // already present: ignored
  if (entry.unitGroupCount >= kTableCountLimit) return lineFault(line, "Group num over %d", kTableCountLimit + 1);
  addKishuSub(fileIndex, group);
}

// ---- Pass 3: items ----

struct DataTypeName {
  const char* letter;
  int32_t code;
};

constexpr DataTypeName kDataTypes[] = {
    {"A", datatype::kAnalog}, {"I", datatype::kInteger}, {"F", datatype::kFloat1},
    {"F1", datatype::kFloat1}, {"F2", datatype::kFloat2}, {"D", datatype::kDigital},
    {"O", datatype::kOnOff},  {"E", datatype::kBinary},  {"M", datatype::kText},
};

constexpr int kDefaultGraphLimit = 8;
constexpr int kFullScaleLimit = kFullScaleSize - 1;
constexpr int kProgramField = 5;
constexpr int kFunctionLimit = 32;

// The unit group and default-graph counts of the current item section.
struct ItemSection {
  int unitType = 0;
  int groupNumber = 0;
  int analogCount = 0;
  int twoStateCount = 0;
  bool refused = false;  // a group that cannot be held: its items are left out
};

void startItemSection(const ItemLine& line, int unitClass, ItemSection& section) {
  const Fields& f = line.fields;
  section = ItemSection{};
  if (parseUnitGroup(f[1], section.unitType, section.groupNumber)) return;
  if (f[1][0] == 'O' || f[1][0] == 'I') {
    lineFault(line, "Unknown type \"%s\"", f[1]);
    section.refused = true;
    return;
  }
  section.unitType = unitClass;
  section.groupNumber = 0;
}

int32_t dataTypeOf(const ItemLine& line) {
  for (const DataTypeName& type : kDataTypes)
    if (std::strcmp(line.fields[3], type.letter) == 0) return type.code;
  lineFault(line, "Unknown Data-Type \"%s\"", line.fields[3]);
  return datatype::kText;
}

bool isTwoState(int32_t type) {
  return type == datatype::kDigital || type == datatype::kBinary || type == datatype::kOnOff;
}

// The default-graph mark: counted per item section, at most eight numbers
// and eight two-state items.
bool wantsDefaultGraph(const ItemLine& line, int32_t type, ItemSection& section) {
  if (line.fields[2][0] == '0' || type == datatype::kText) return false;
  int& count = isTwoState(type) ? section.twoStateCount : section.analogCount;
  if (++count <= kDefaultGraphLimit) return true;
  lineFault(line, "default graph over %d item", kDefaultGraphLimit);
  return false;
}

// The item's program: checked, joined, and its words measured.
void readItemProgram(const ItemLine& line, int32_t fileIndex, int32_t type, ItemRecord& item, int& words) {
  const Fields& f = line.fields;
  ProgramCheck check{};
  if (!checkItemProgram(fileIndex, &f.field[kProgramField], kFieldCount - kProgramField, type, check))
    lineFault(line, "%s", check.errorText);
  words = check.wordCount;
  if (checkMode) {
    if (words > kFunctionLimit) lineFault(line, "function over %d", kFunctionLimit);
    const char* useless = fieldAt(f, int64_t{kProgramField} + words);
    if (useless[0]) lineFault(line, "Useless Cmd \"%s\"", useless);
  }
  if (!joinFields(f, kProgramField, words, item.program)) lineFault(line, "Program over %d char", kProgramSize - 1);
  for (int i = kProgramField + 1; i < kProgramField + words && i < kFieldCount; ++i)
    if (std::strlen(f[i]) > kFunctionLimit) lineFault(line, "function over %d", kFunctionLimit);
}

void readItemLine(const ItemLine& line, int32_t fileIndex, ItemSection& section) {
  const Fields& f = line.fields;
  if (!f[0][0] || section.refused) return;
  reportCutFields(line);
  ItemRecord item{};
  copyField(item.name, f[0]);
  for (int bit = 0; bit < 8 && f[1][bit]; ++bit)
    if (f[1][bit] == '1') item.flags |= 1u << bit;
  int32_t type = dataTypeOf(line);
  item.flags |= static_cast<uint32_t>(type) << itemflag::kTypeShift;
  if (wantsDefaultGraph(line, type, section)) item.flags |= itemflag::kDefaultGraph;
  if (std::strlen(f[4]) > kFullScaleLimit) lineFault(line, "Full-Scale over %d char", kFullScaleLimit);
  copyField(item.fullScale, f[4]);

  int words = 0;
  readItemProgram(line, fileIndex, type, item, words);
  if (type == datatype::kDigital || type == datatype::kOnOff) {
    copyField(item.stateText0, fieldAt(f, int64_t{words} + 3));
    copyField(item.stateText1, fieldAt(f, int64_t{words} + 4));
  } else if (type == datatype::kBinary) {
    copyField(item.stateText0, "0");
    copyField(item.stateText1, "1");
  }

  int32_t held = 0;
  if (findKishuSubItemCount(fileIndex, section.unitType, section.groupNumber, held) && held >= kTableCountLimit)
    return lineFault(line, "Item num over %d", kTableCountLimit + 1);
  addItem(fileIndex, section.unitType, section.groupNumber, item);  // a name already held is ignored
}

}  // namespace

bool loadItemReport(const char* fileName) {
  KishuEntry entry{};
  copyField(entry.fileName, fileName ? fileName : "");
  int reportLine = 0;
  bool read = readItemFile(fileName, [&](Section section, const ItemLine& line, bool marker) {
    if (section != Section::Report) return;
    if (marker) {
      reportLine = 0;
      return;
    }
    readReportLine(line, ++reportLine, entry);
  });
  if (!read) return false;
  int32_t index = 0;
  addKishu(entry, index);  // an entry already held keeps its fields
  return true;
}

bool loadItemDataAndGroups(const char* fileName) {
  int32_t fileIndex = 0;
  if (!findKishuByFile(fileName, fileIndex)) return false;
  return readItemFile(fileName, [&](Section section, const ItemLine& line, bool marker) {
    if (marker) return;
    if (section == Section::Data) readDataLine(line, fileIndex);
    if (section == Section::Exist) readExistLine(line, fileIndex);
  });
}

bool loadItems(const char* fileName, int unitClass) {
  int32_t fileIndex = 0;
  if (!findKishuByFile(fileName, fileIndex)) return false;
  ItemSection current;
  return readItemFile(fileName, [&](Section section, const ItemLine& line, bool marker) {
    if (section != Section::Item) return;
    if (marker)
      startItemSection(line, unitClass, current);
    else
      readItemLine(line, fileIndex, current);
  });
}

}  // namespace tramsoll
