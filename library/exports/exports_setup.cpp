// Start-up and setting exports: the load of the setting and table files,
// the version texts, the two caller switches, the control-change mode and
// password, the model queries and the integer keys of pelomar3.ini.
#include <cstring>

#include "base/caller_values.h"
#include "base/status_words.h"
#include "engine/frame.h"
#include "engine/settings.h"
#include "ini_file.h"
#include "tables/all_tables.h"
#include "tables/model_tables.h"
#include "tables/setting_file.h"
#include "tables/setting_tables.h"
#include "tables/table_words.h"
#include "tramsoll.h"

using namespace tramsoll;

namespace {

constexpr const char kIniFile[] = "pelomar3.ini";
constexpr const char kIniSection[] = "HEAD";
constexpr const char kLibraryVersion[] = "1.53A";
constexpr const char kLibraryDate[] = "2015/02/25";
constexpr int32_t kVersionTextSize = TRAMSOLL_VERSION_TEXT_SIZE;
constexpr int32_t kCandidateTextSize = TRAMSOLL_CANDIDATE_NAMES_SIZE;

// Clears the error words and reloads the tables; answers 1 when a setting or
// table file failed. A running gathering keeps its state and slot values:
// resetting them under a running worker would cut its recordings short.
int32_t reloadTables(bool checking) {
  clearErrorWords();
  if (!(gatherState.load() & gather::kRunning)) {
    gatherState.store(0);
    resetGatherValues();
  }
  checkMode = checking;
  loadAllTables();
  if (!hasBits(errFault, fault::kTableLoad)) return 0;
  clearBits(errFault, fault::kTableLoad);
  return 1;
}

void setLength(int32_t* length, int32_t value) {
  if (length) *length = value;
}

// The text with its terminator, cut to the buffer, and its length.
void giveText(char* buffer, int32_t* length, int32_t capacity, const char* text) {
  if (!buffer) {
    setLength(length, 0);
    return;
  }
  setLength(length, copyText(buffer, capacity, text));
}

// Appends "name," for each candidate in list order up to the first empty
// one. Only whole names that fit the buffer with its terminator go in, so
// the count always matches the text.
int32_t appendCandidates(const char (&names)[kOtherNameCount][kModelNameSize], char* buffer) {
  std::size_t used = strnlen(buffer, kCandidateTextSize - 1);
  buffer[used] = '\0';
  int32_t count = 0;
  for (const char* name : names) {
    std::size_t n = std::strlen(name);
    if (n == 0 || used + n + 1 >= static_cast<std::size_t>(kCandidateTextSize)) break;
    std::memcpy(buffer + used, name, n);
    buffer[used + n] = ',';
    used += n + 1;
    buffer[used] = '\0';
    ++count;
  }
  return count;
}

// The first unit group of the item file whose name equals the key.
bool findGroupByName(int32_t fileIndex, const char* name, UnitGroup& out) {
  KishuEntry file;
  if (!getKishu(fileIndex, file)) return false;
  for (int32_t g = 0; g < file.unitGroupCount; ++g) {
    if (getKishuSub(fileIndex, g, out) && std::strcmp(out.groupName, name) == 0) return true;
  }
  return false;
}

}  // namespace

extern "C" TRAMSOLL_API int32_t initTramsoll(void) {
  ExportFrame frame;
  int32_t result = reloadTables(false);
  adapterType.store(inifile::readInt(kIniFile, kIniSection, "ADPTYP", 0));
  return result;
}

extern "C" TRAMSOLL_API int32_t checkKishuTbl(void) {
  ExportFrame frame;
  return reloadTables(true);
}

extern "C" TRAMSOLL_API int32_t getSetFileVer(char* setFileVersion, int32_t* setFileVersionLength, char* setFileDate,
                                              int32_t* setFileDateLength, char* libraryVersion,
                                              int32_t* libraryVersionLength, char* libraryDate,
                                              int32_t* libraryDateLength) {
  ExportFrame frame;
  Fields fields;
  if (!readVersionRow(fields)) {
    giveText(setFileVersion, setFileVersionLength, kVersionTextSize, "0.00");
    return 1;
  }
  // Fields count from 0, the word "VER" being field 0; the version and date
  // are fields 2 and 3.
  giveText(setFileVersion, setFileVersionLength, kVersionTextSize, fields[2]);
  giveText(setFileDate, setFileDateLength, kVersionTextSize, fields[3]);
  giveText(libraryVersion, libraryVersionLength, kVersionTextSize, kLibraryVersion);
  giveText(libraryDate, libraryDateLength, kVersionTextSize, kLibraryDate);
  return 0;
}

extern "C" TRAMSOLL_API int32_t setTmpUnit(int32_t unitFlag) {
  tempUnitFlag.store(unitFlag);
  return 1;
}

extern "C" TRAMSOLL_API int32_t setCentralOperation(int32_t centralOperation) {
  ExportFrame frame;
  centralOperationFlag.store(centralOperation);
  return 0;
}

extern "C" TRAMSOLL_API int32_t getControlDataChangeMode(int32_t* changeMode, char* password,
                                                         int32_t* passwordLength) {
  ExportFrame frame;
  char held[kPasswordSize];
  getPassword(held);
  giveText(password, passwordLength, TRAMSOLL_PASSWORD_SIZE, held);
  int32_t mode = 0;
  bool kept = getControlMode(mode);
  if (changeMode) *changeMode = kept ? mode : 0;
  return kept ? 0 : 1;
}

extern "C" TRAMSOLL_API int32_t getRAMKishuNum(int32_t rowKind, int32_t* rowCount) {
  ExportFrame frame;
  int32_t count = 0;
  if (rowKind == 0)
    getSettingParaCount(count);
  else
    getSettingSeriCount(count);
  if (rowCount) *rowCount = count;
  return 0;
}

extern "C" TRAMSOLL_API int32_t getRAMKishuName(int32_t rowKind, int32_t rowIndex, char* modelName,
                                                int32_t* modelNameLength) {
  ExportFrame frame;
  if (modelName) modelName[0] = '\0';
  setLength(modelNameLength, 0);
  if (rowIndex < 1) return 1;
  const char* name = nullptr;
  SettingModelRow para;
  SettingSeriRow seri;
  if (rowKind == 0 && getSettingPara(rowIndex - 1, para)) name = para.modelName;
  if (rowKind != 0 && getSettingSeri(rowIndex - 1, seri)) name = seri.modelName;
  if (!name) return 1;
  giveText(modelName, modelNameLength, TRAMSOLL_MODEL_NAME_SIZE, name);
  return 0;
}

extern "C" TRAMSOLL_API int32_t getKishuKouho(const char* modelKey, char* candidateNames,
                                              int32_t* candidateNamesLength, int32_t* candidateCount) {
  ExportFrame frame;
  setLength(candidateNamesLength, 0);
  if (candidateCount) *candidateCount = 0;
  if (!modelKey || !candidateNames) return 1;
  int32_t count = 0;
  uint32_t state = gatherState.load();
  if (state & gather::kBusMonitor) {
    // The candidates of the bus model of that name.
    SettingQ7Row row;
    if (!findSettingQ7ByModel(modelKey, row)) return 1;
    count = appendCandidates(row.otherNames, candidateNames);
  } else if (state & (gather::kOneSystem | gather::kOneUnit)) {
    // The candidates of the target's unit group of that name.
    UnitGroup group;
    if (!findGroupByName(gatherValues().targetIndex, modelKey, group)) return 1;
    count = appendCandidates(group.groupTexts, candidateNames);
  } else {
    return 1;
  }
  if (candidateCount) *candidateCount = count;
  setLength(candidateNamesLength, boundedLength(candidateNames, kCandidateTextSize));
  return 0;
}

extern "C" TRAMSOLL_API int32_t ReadINIfile(const char* keyName) {
  if (!keyName) return 0;
  return inifile::readInt(kIniFile, kIniSection, keyName, 0);
}

extern "C" TRAMSOLL_API int32_t WriteINIfile(const char* keyName, int32_t keyValue) {
  if (keyName) inifile::writeInt(kIniFile, kIniSection, keyName, keyValue);
  return 1;
}
