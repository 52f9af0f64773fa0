// The numbered tables the conversion programs compute with: the pressure
// tables (table/pressure.ktb, word `ptable`), the saturation tables
// (table/saturate.ktb, word `stable`) and the error-code entries
// (table/errcode.ktb, word `etable`).
//
// A pressure or saturation table is a list of rows of four floats, indexed
// from 0; an error-code entry is three rows of 16 characters indexed by a
// nibble. Everything is only ever added to: a second load skips rows, tables
// and entries already present.
#pragma once

#include <cstdint>

namespace tramsoll {

constexpr int kTableColumns = 4;
constexpr int kErrorCodeRowSize = 16;

// One entry of ErcdCnvtTbl, 52 bytes.
struct ErrorCodeEntry {
  uint32_t number;
  char rows[3][kErrorCodeRowSize];  // not terminated
};
static_assert(sizeof(ErrorCodeEntry) == 52);

// PressureTbl. Adding a row index that the table holds already is refused.
bool addPressureRow(uint32_t table, uint32_t row, const float (&columns)[kTableColumns]);
// True when the table exists; false and a count of 0 otherwise.
bool getPressureRowCount(uint32_t table, int32_t& count);
// True when the row exists; false and four zeros otherwise.
bool getPressureRow(uint32_t table, uint32_t row, float (&columns)[kTableColumns]);

// SaturateTbl, the same shape.
bool addSaturateRow(uint32_t table, uint32_t row, const float (&columns)[kTableColumns]);
bool getSaturateRowCount(uint32_t table, int32_t& count);
bool getSaturateRow(uint32_t table, uint32_t row, float (&columns)[kTableColumns]);

// ErcdCnvtTbl: the 48 characters of rows 1 to 3 as given. A number already
// held is refused.
bool addErrorCodeEntry(uint32_t number, const char (&rows)[3][kErrorCodeRowSize]);
// The entry copied whole; false and an all-zero entry when it is missing.
bool getErrorCodeEntry(uint32_t number, ErrorCodeEntry& out);

// Read table/pressure.ktb, table/saturate.ktb and table/errcode.ktb. True
// when the file was read to its end. A missing file or a line over length
// sets the table-load bit; their messages are written in check mode only.
bool loadPressureTable();
bool loadSaturateTable();
bool loadErrorCodeTable();

// Empties all three tables. Tests only: the library keeps them for its
// whole life.
void resetConversionTables();

}  // namespace tramsoll
