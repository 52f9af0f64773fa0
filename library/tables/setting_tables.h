// The setting tables filled from vexa5.set: the models seen on the Q7 bus,
// the sensor-input logger, the one-system models and the one-unit models,
// and the kept control-change mode and password. Rows keep file order and
// are never removed; a later load adds only rows whose keys are new.
#pragma once

#include <cstdint>

#include "base/kinds.h"

namespace tramsoll {

constexpr int kModelNameSize = 64;  // 63 characters and the terminator
constexpr int kItemFileSize = 32;   // 31 characters and the terminator
constexpr int kOtherNameCount = 64;
constexpr int kPasswordSize = 32;

// Connection kinds of the bus rows, by their first field.
namespace connect {
constexpr uint8_t kDO = 0, kDOK = 1, kDOU = 2, kDOE = 3, kDI = 4, kDC = 5;
constexpr uint8_t kDONP = 20, kDONC = 21, kDIZ = 22;
}  // namespace connect

// SetteiTableQ7: one bus model ("D" row); key: model name, exact.
struct SettingQ7Row {
  char modelName[kModelNameSize];
  char itemFile[kItemFileSize];  // below table/
  uint8_t connectionKind;
  uint8_t firstNumber;  // the number after the first '/'
  uint8_t secondNumber; // the number in the brackets
  uint8_t shortValue, shortMask;
  uint8_t centralValue, centralMask;
  uint16_t longValue, longMask;
  // Candidate model names that getKishuKouho lists for this model.
  char otherNames[kOtherNameCount][kModelNameSize];
};

// SetteiTableLog (at most one row) and SetteiTablePara; key: model name.
struct SettingModelRow {
  uint8_t rowKind;  // rowkind::kLog or rowkind::kPara
  char modelName[kModelNameSize];
  char itemFile[kItemFileSize];
};

// SetteiTableSeri: one model reached over a board connection; key: model name.
struct SettingSeriRow {
  uint8_t rowKind;  // rowkind::kSL .. rowkind::kSQ
  char modelName[kModelNameSize];
  char itemFile[kItemFileSize];
  char speedCode;   // '1' 300 .. '6' 9600 baud
  char dataBits;    // '7' or '8'
  char parityCode;  // '0' none, '1' odd, '2' even
  char stopBits;    // '1' or '2'
  char sText[3];
  char tText[5];
  char kText[3];
};

// Add a row; false for a duplicate key, a second logger row, or no memory
// (which sets the memory bit and writes a "MemMngr: " line).
bool addSettingQ7(const SettingQ7Row& row);
bool addSettingLog(const SettingModelRow& row);
bool addSettingPara(const SettingModelRow& row);
bool addSettingSeri(const SettingSeriRow& row);

// The row count; true when it is not 0.
bool getSettingQ7Count(int32_t& count);
bool getSettingParaCount(int32_t& count);
bool getSettingSeriCount(int32_t& count);

// The row at a 0-based index; the out row is cleared first.
bool getSettingQ7(int32_t index, SettingQ7Row& row);
bool getSettingLog(int32_t index, SettingModelRow& row);
bool getSettingPara(int32_t index, SettingModelRow& row);
bool getSettingSeri(int32_t index, SettingSeriRow& row);

// The row whose model name equals the name exactly.
bool findSettingQ7ByModel(const char* modelName, SettingQ7Row& row);
bool findSettingParaByModel(const char* modelName, SettingModelRow& row);
bool findSettingSeriByModel(const char* modelName, SettingSeriRow& row);
// The bus row whose item file equals the name, ignoring case.
bool findSettingQ7ByItemFile(const char* itemFile, SettingQ7Row& row);

// The control-change mode is taken once: the first "MODE" row read since the
// library was loaded wins. Answers false (and keeps the old mode) once held.
bool keepControlMode(int32_t mode);
// True when a mode is held (the value is not -1).
bool getControlMode(int32_t& mode);
// The password is emptied at each read of the file; the last row wins.
void keepPassword(const char* text);
void getPassword(char (&out)[kPasswordSize]);

// Back to the state at load: no rows, no mode, no password. For tests; the
// library itself never empties the tables.
void clearSettingTables();

}  // namespace tramsoll
