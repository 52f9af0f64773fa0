#include "tables/setting_tables.h"

#include <cstring>
#include <new>
#include <vector>

#include "base/caller_values.h"
#include "base/debug_ring.h"
#include "base/status_words.h"

namespace tramsoll {

namespace {

std::vector<SettingQ7Row> settingQ7;
std::vector<SettingModelRow> settingLog;
std::vector<SettingModelRow> settingPara;
std::vector<SettingSeriRow> settingSeri;
int32_t controlMode = -1;
char password[kPasswordSize] = {};

bool sameName(const char* rowName, const char* name) { return name && std::strcmp(rowName, name) == 0; }

bool sameNameIgnoringCase(const char* a, const char* b) {
  if (!b) return false;
  for (; *a && *b; ++a, ++b) {
    char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
    char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

template <typename Row>
const Row* findByModel(const std::vector<Row>& table, const char* name) {
  for (const Row& row : table)
    if (sameName(row.modelName, name)) return &row;
  return nullptr;
}

template <typename Row>
bool append(std::vector<Row>& table, const Row& row, const char* tableName) {
  try {
    table.push_back(row);
  } catch (const std::bad_alloc&) {
    setBits(errFault, fault::kMemory);
    logLine("MemMngr: malloc error for %s", tableName);
    return false;
  }
  return true;
}

template <typename Row>
bool addKeyed(std::vector<Row>& table, const Row& row, const char* tableName) {
  if (findByModel(table, row.modelName)) return false;
  return append(table, row, tableName);
}

template <typename Row>
bool countOf(const std::vector<Row>& table, int32_t& count) {
  count = static_cast<int32_t>(table.size());
  return count != 0;
}

template <typename Row>
bool rowAt(const std::vector<Row>& table, int32_t index, Row& row) {
  std::memset(&row, 0, sizeof row);
  if (index < 0 || static_cast<std::size_t>(index) >= table.size()) return false;
  row = table[static_cast<std::size_t>(index)];
  return true;
}

template <typename Row>
bool copyFound(const Row* found, Row& row) {
  if (!found) return false;
  row = *found;
  return true;
}

}  // namespace

bool addSettingQ7(const SettingQ7Row& row) { return addKeyed(settingQ7, row, "SetteiTableQ7"); }

bool addSettingLog(const SettingModelRow& row) {
  if (!settingLog.empty()) return false;
  return append(settingLog, row, "SetteiTableLog");
}

bool addSettingPara(const SettingModelRow& row) { return addKeyed(settingPara, row, "SetteiTablePara"); }
bool addSettingSeri(const SettingSeriRow& row) { return addKeyed(settingSeri, row, "SetteiTableSeri"); }

bool getSettingQ7Count(int32_t& count) { return countOf(settingQ7, count); }
bool getSettingParaCount(int32_t& count) { return countOf(settingPara, count); }
bool getSettingSeriCount(int32_t& count) { return countOf(settingSeri, count); }

bool getSettingQ7(int32_t index, SettingQ7Row& row) { return rowAt(settingQ7, index, row); }
bool getSettingLog(int32_t index, SettingModelRow& row) { return rowAt(settingLog, index, row); }
bool getSettingPara(int32_t index, SettingModelRow& row) { return rowAt(settingPara, index, row); }
bool getSettingSeri(int32_t index, SettingSeriRow& row) { return rowAt(settingSeri, index, row); }

bool findSettingQ7ByModel(const char* modelName, SettingQ7Row& row) {
  return copyFound(findByModel(settingQ7, modelName), row);
}
bool findSettingParaByModel(const char* modelName, SettingModelRow& row) {
  return copyFound(findByModel(settingPara, modelName), row);
}
bool findSettingSeriByModel(const char* modelName, SettingSeriRow& row) {
  return copyFound(findByModel(settingSeri, modelName), row);
}

bool findSettingQ7ByItemFile(const char* itemFile, SettingQ7Row& row) {
  for (const SettingQ7Row& candidate : settingQ7)
    if (sameNameIgnoringCase(candidate.itemFile, itemFile)) return copyFound(&candidate, row);
  return false;
}

bool keepControlMode(int32_t mode) {
  if (controlMode != -1) return false;
  controlMode = mode;
  return true;
}

bool getControlMode(int32_t& mode) {
  mode = controlMode;
  return controlMode != -1;
}

void keepPassword(const char* text) { copyText(password, kPasswordSize, text); }

void getPassword(char (&out)[kPasswordSize]) { std::memcpy(out, password, kPasswordSize); }

void clearSettingTables() {
  settingQ7.clear();
  settingLog.clear();
  settingPara.clear();
  settingSeri.clear();
  controlMode = -1;
  password[0] = '\0';
}

}  // namespace tramsoll
