#include "tables/conversion_tables.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "base/debug_ring.h"
#include "base/program_files.h"
#include "base/status_words.h"
#include "tables/all_tables.h"
#include "tables/number_text.h"
#include "tables/scrambled.h"

namespace tramsoll {

namespace {

// ---- Pressure and saturation tables ----

struct TableRow {
  uint32_t index;
  float columns[kTableColumns];
};

struct NumberedTable {
  uint32_t number;
  std::vector<TableRow> rows;
};

// One list of numbered tables, named for its memory messages.
class TableList {
 public:
  TableList(const char* listName, const char* rowsName) : listName_(listName), rowsName_(rowsName) {}

  bool add(uint32_t number, uint32_t row, const float (&columns)[kTableColumns]) {
    NumberedTable* table = find(number);
    if (!table && !grow(tables_, NumberedTable{number, {}}, listName_)) return false;
    if (!table) table = &tables_.back();
    if (findRow(*table, row)) return false;
    TableRow added{row, {}};
    std::memcpy(added.columns, columns, sizeof added.columns);
    return grow(table->rows, added, rowsName_);
  }

  bool rowCount(uint32_t number, int32_t& count) const {
    const NumberedTable* table = find(number);
    count = table ? static_cast<int32_t>(table->rows.size()) : 0;
    return table != nullptr;
  }

  bool row(uint32_t number, uint32_t index, float (&columns)[kTableColumns]) const {
    std::memset(columns, 0, sizeof columns);
    const NumberedTable* table = find(number);
    const TableRow* found = table ? findRow(*table, index) : nullptr;
    if (!found) return false;
    std::memcpy(columns, found->columns, sizeof columns);
    return true;
  }

  void clear() { tables_.clear(); }

 private:
  template <typename T>
  static bool grow(std::vector<T>& list, const T& item, const char* name) {
    try {
      list.push_back(item);
      return true;
    } catch (const std::bad_alloc&) {
      setBits(errFault, fault::kMemory);
      logLine("MemMngr: malloc error for %s", name);
      return false;
    }
  }

  NumberedTable* find(uint32_t number) {
    for (auto& table : tables_)
      if (table.number == number) return &table;
    return nullptr;
  }
  const NumberedTable* find(uint32_t number) const { return const_cast<TableList*>(this)->find(number); }

  // Rows are added with indexes 0, 1, 2 ... in turn, so the row of an index
  // normally stands at that position; the walk covers any other order.
  static const TableRow* findRow(const NumberedTable& table, uint32_t index) {
    if (index < table.rows.size() && table.rows[index].index == index) return &table.rows[index];
    for (const auto& row : table.rows)
      if (row.index == index) return &row;
    return nullptr;
  }

  const char* listName_;
  const char* rowsName_;
  std::vector<NumberedTable> tables_;
};

TableList& pressureTables() {
  static TableList list("PressureTbl", "PressureMbr");
  return list;
}

TableList& saturateTables() {
  static TableList list("SaturateTbl", "SaturateMbr");
  return list;
}

std::vector<ErrorCodeEntry>& errorCodeEntries() {
  static std::vector<ErrorCodeEntry> entries;
  return entries;
}

// ---- Reading a .ktb file ----

// The number of a bracket line: the decimal digits after the '['.
bool bracketNumber(const Fields& fields, uint32_t& number) {
  if (fields[0][0] != '[') return false;
  int32_t position = 1;
  number = parseDecimal(fields[0], position);
  return true;
}

// Reads table/<name> line by line, handing each content line to `row`.
// False when the file cannot be opened or a line is over length (the rest
// of the file is then not read).
template <typename RowHandler>
bool readTableFile(const char* name, RowHandler row) {
  char path[32];
  std::snprintf(path, sizeof path, "table\\%s", name);
  ProgramFileBytes file;
  if (!readProgramFile(path, file)) {
    if (checkMode) logLine("FileHndl: can't open \"%s\" file!!", name);
    setBits(errFault, fault::kTableLoad);
    return false;
  }
  auto lineOver = [name](int number) {
    // The reader has set the table-load bit; the rest of the file is not read.
    if (checkMode) logLine("FileHndl: %s(%d) line over %d", name, number, kMaxLine);
    return false;
  };
  ScrambledText text(file.bytes, file.readError);
  return readTableLines(text, lineOver, [&](const Fields& fields, int) { row(fields); });
}

// pressure.ktb and saturate.ktb: "[n]" opens table n, every other line is
// the next row of the current table (table 0 before any bracket line).
bool loadNumberedTables(const char* name, TableList& list) {
  uint32_t table = 0;
  uint32_t rowIndex = 0;
  return readTableFile(name, [&](const Fields& fields) {
    if (bracketNumber(fields, table)) {
      rowIndex = 0;
      return;
    }
    float columns[kTableColumns];
    for (int c = 0; c < kTableColumns; ++c) columns[c] = toStoredFloat(textToDouble(fields[c]));
    list.add(table, rowIndex, columns);
    ++rowIndex;
  });
}

}  // namespace

bool addPressureRow(uint32_t table, uint32_t row, const float (&columns)[kTableColumns]) {
  return pressureTables().add(table, row, columns);
}

bool getPressureRowCount(uint32_t table, int32_t& count) { return pressureTables().rowCount(table, count); }

bool getPressureRow(uint32_t table, uint32_t row, float (&columns)[kTableColumns]) {
  return pressureTables().row(table, row, columns);
}

bool addSaturateRow(uint32_t table, uint32_t row, const float (&columns)[kTableColumns]) {
  return saturateTables().add(table, row, columns);
}

bool getSaturateRowCount(uint32_t table, int32_t& count) { return saturateTables().rowCount(table, count); }

bool getSaturateRow(uint32_t table, uint32_t row, float (&columns)[kTableColumns]) {
  return saturateTables().row(table, row, columns);
}

bool addErrorCodeEntry(uint32_t number, const char (&rows)[3][kErrorCodeRowSize]) {
  auto& entries = errorCodeEntries();
  for (const auto& entry : entries)
    if (entry.number == number) return false;
  ErrorCodeEntry added{number, {}};
  std::memcpy(added.rows, rows, sizeof added.rows);
  try {
    entries.push_back(added);
    return true;
  } catch (const std::bad_alloc&) {
    setBits(errFault, fault::kMemory);
    logLine("MemMngr: malloc error for ErcdCnvtTbl");
    return false;
  }
}

bool getErrorCodeEntry(uint32_t number, ErrorCodeEntry& out) {
  for (const auto& entry : errorCodeEntries()) {
    if (entry.number != number) continue;
    out = entry;
    return true;
  }
  out = ErrorCodeEntry{};
  return false;
}

bool loadPressureTable() { return loadNumberedTables("pressure.ktb", pressureTables()); }

bool loadSaturateTable() { return loadNumberedTables("saturate.ktb", saturateTables()); }

// errcode.ktb: "[n]" starts entry n; its next three content lines are rows
// 1 to 3, position k taking the first character of field k (a blank for an
// empty field). Lines after the third are ignored until the next bracket.
bool loadErrorCodeTable() {
  uint32_t number = 0;
  int rowState = 0;
  char rows[3][kErrorCodeRowSize] = {};
  return readTableFile("errcode.ktb", [&](const Fields& fields) {
    if (bracketNumber(fields, number)) {
      rowState = 0;
      return;
    }
    if (rowState >= 3) return;
    for (int k = 0; k < kErrorCodeRowSize; ++k) rows[rowState][k] = fields[k][0] ? fields[k][0] : ' ';
    if (++rowState < 3) return;
    addErrorCodeEntry(number, rows);
    number = 0;
    std::memset(rows, 0, sizeof rows);
  });
}

void resetConversionTables() {
  pressureTables().clear();
  saturateTables().clear();
  errorCodeEntries().clear();
}

}  // namespace tramsoll
