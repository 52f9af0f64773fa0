// Opens arbitrary bytes as a recorded file (*.das) through the file list and
// selectDataFile, then reads its items, cursor values, graphs and stored
// trigger conditions, searches it and converts it to CSV: every file must be
// listed or left out, opened or refused, and read without touching memory
// outside the tables.
//
// Input: a first byte with bit 0 set takes the rest as the whole file.
// Otherwise the rest patches a valid trigger recording of an outdoor, an
// indoor and a sensor-input unit: each 3 bytes are a 16-bit offset into the
// file and the byte to put there, and a first byte above 1 also cuts the
// file to (that byte / 256) of its length. Patches reach the deep checks
// that random bytes seldom get past the magic text to.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "files/das_format.h"
#include "tables/model_tables.h"
#include "tramsoll.h"

namespace {

using namespace tramsoll;

constexpr uint16_t kStatus = 6;
constexpr uint16_t kRecords = 5;

void addItemNamed(int32_t model, int kind, int group, const char* name, const char* program, int32_t type) {
  ItemRecord item{};
  std::strncpy(item.name, name, sizeof item.name - 1);
  std::strncpy(item.program, program, sizeof item.program - 1);
  std::strcpy(item.fullScale, "100");
  std::strcpy(item.stateText0, "Off");
  std::strcpy(item.stateText1, "On");
  item.flags = static_cast<uint32_t>(type) << itemflag::kTypeShift | itemflag::kDefaultGraph;
  addItem(model, kind, group, item);
}

void loadModel() {
  KishuEntry entry{};
  std::strcpy(entry.fileName, "unit.itm");
  int32_t model = 0;
  addKishu(entry, model);
  for (int kind : {0, 1, 100}) {
    for (int group : {0, 1, 2}) {
      addItemNamed(model, kind, group, "Temp", "btoua,E0[0],C", datatype::kAnalog);
      addItemNamed(model, kind, group, "Run", "btob,E0[1],0,Off,On", datatype::kDigital);
      addItemNamed(model, kind, group, "Pair", "2btosam,E1[3],E1[4],mul,0.1,kgf/cm2", datatype::kFloat2);
      addItemNamed(model, kind, group, "Code", "2ctoecd,E1[5],E1[6]", datatype::kText);
    }
  }
  for (int d = 0; d < 10; ++d) {
    std::string name = "S" + std::to_string(d);
    std::string program = "btoua,A[" + std::to_string(d) + "],V";
    addItemNamed(model, 200, 0, name.c_str(), program.c_str(), d % 3 == 0 ? datatype::kOnOff : datatype::kAnalog);
  }
}

template <std::size_t N>
void append(std::vector<uint8_t>& to, const uint8_t (&block)[N]) {
  to.insert(to.end(), block, block + N);
}

void appendUnit(std::vector<uint8_t>& file, uint8_t unitClass, uint8_t number, const std::vector<das::GroupBlock>& groups,
                std::size_t& recordSize) {
  das::UnitBlock unit{};
  std::strcpy(unit.modelName, "unit.itm");
  unit.unitClass = unitClass;
  unit.unitNumber = number;
  unit.groupCount = static_cast<uint8_t>(groups.size());
  unit.conditionCount = unitClass == 200 ? 0 : 4;
  uint8_t bytes[das::kUnitBlockSize];
  das::encodeUnitBlock(unit, bytes);
  append(file, bytes);
  for (const das::GroupBlock& group : groups) {
    uint8_t groupBytes[das::kGroupBlockSize];
    das::encodeGroupBlock(group, groupBytes);
    append(file, groupBytes);
    recordSize += das::kPartHeadSize + kStatus + group.dataLength;
  }
  for (int c = 0; c < unit.conditionCount; ++c) {
    das::ConditionBlock condition{};
    std::strcpy(condition.itemName, "Temp");
    std::strcpy(condition.condition1, "On");
    condition.dataType = static_cast<uint16_t>(c);
    uint8_t conditionBytes[das::kConditionBlockSize];
    das::encodeConditionBlock(condition, conditionBytes);
    append(file, conditionBytes);
  }
  if (unitClass != 200) return;
  das::SensorBlock sensor{};
  std::strcpy(sensor.names[6], "Analog 7");
  sensor.switches[0] = 1;
  sensor.ranges[1] = 1;
  sensor.fullScales[0] = 500;
  uint8_t sensorBytes[das::kSensorBlockSize];
  das::encodeSensorBlock(sensor, sensorBytes);
  append(file, sensorBytes);
}

std::vector<uint8_t> baseFile() {
  const std::vector<das::GroupBlock> groups = {{{'E', '0'}, 20}, {{'E', '1'}, 8}};
  const std::vector<das::GroupBlock> sensorGroups = {{{'A'}, 16}};
  das::FileHeader header{};
  std::strcpy(header.customerId, "C1");
  std::strcpy(header.mapName, "Map");
  header.systemNumber = 1;
  header.interfaceMode = 3;
  header.recordingKind = das::kTrigger;
  header.firstRecordTime = 1700000000;
  header.triggerRecord = 2;
  header.recordCount = kRecords;
  header.interval = 10;
  header.version = das::kFormatVersion;
  header.statusLength = kStatus;
  header.sensorFlag = 1;
  header.outdoorCount = 1;
  header.indoorCount = 1;
  header.unitCount = 3;
  std::vector<uint8_t> file(das::kHeaderSize);
  std::size_t recordSize = das::kRecordTimeSize;
  appendUnit(file, 0, 1, groups, recordSize);
  appendUnit(file, 1, 2, groups, recordSize);
  appendUnit(file, 200, 1, sensorGroups, recordSize);
  header.firstRecordOffset = static_cast<uint16_t>(file.size());
  header.recordSize = static_cast<uint16_t>(recordSize);
  uint8_t head[das::kHeaderSize];
  das::encodeHeader(header, head);
  std::memcpy(file.data(), head, sizeof head);
  for (uint32_t r = 0; r < kRecords; ++r) {
    std::size_t at = file.size();
    file.resize(at + recordSize, static_cast<uint8_t>(r * 37));
    das::putU32(&file[at], 1700000000 + 10 * r);
    at += das::kRecordTimeSize;
    for (const auto* list : {&groups, &groups, &sensorGroups}) {
      for (const das::GroupBlock& group : *list) {
        das::putU32(&file[at], 1700000000 + 10 * r - 1);
        das::putU16(&file[at + 4], static_cast<uint16_t>(kStatus + group.dataLength));
        at += das::kPartHeadSize + kStatus + group.dataLength;
      }
    }
  }
  return file;
}

std::vector<uint8_t> fileFromInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  if (data[0] & 1) return std::vector<uint8_t>(data + 1, data + size);
  static const std::vector<uint8_t> base = baseFile();
  std::vector<uint8_t> file = base;
  for (std::size_t i = 1; i + 2 < size; i += 3) {
    std::size_t offset = (data[i] | data[i + 1] << 8) % file.size();
    file[offset] = data[i + 2];
  }
  if (data[0] > 1) file.resize(file.size() * data[0] / 256);
  return file;
}

const std::string& folder() {
  static const std::string path = [] {
    char pattern[] = "/tmp/das_fuzz_XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made) std::abort();
    loadModel();
    static std::string made_path = made;
    std::atexit([] { std::filesystem::remove_all(made_path); });
    return made_path + "/";
  }();
  return path;
}

void readUnit(int kind, int number) {
  const char* at = folder().c_str();
  int32_t items = 0, records = 0, trigger = 0, interval = 0;
  getDataItemNum(1, at, 1, 1, kind, number, &items, &records, &trigger, &interval);
  char name[64], scale[32], state0[64], state1[64], text[32], time[16];
  int32_t lengths[4], type = 0, graph = 0, code1 = 0, code2 = 0;
  for (int item = 0; item <= items + 1 && item <= 12; ++item) {
    getDataItem(1, at, 1, 1, kind, number, item, name, &lengths[0], scale, &lengths[1], &type, &graph, state0,
                &lengths[2], state1, &lengths[3], &code1, &code2);
  }
  int32_t values[121];
  char texts[121][10];
  int32_t year = 0, month = 0, day = 0, second = 0;
  for (int item = 1; item <= items && item <= 12; ++item) {
    getGraphData(1, at, 1, 1, kind, number, item, 1, 121, values);
    getGraphData2(1, at, 1, 1, kind, number, item, records > 3 ? records - 3 : 1, 4, &texts[0][0]);
    for (int32_t record : {1, records}) {
      getCursData(1, at, 1, 1, kind, number, item, record, text, &lengths[0], time, &year, &month, &day, &second);
    }
  }
  // Both searches run to their end over the first item.
  int32_t progress = 0, found = 0;
  float low = 0, high = 0;
  if (setMinMaxSrch(at, 1, kind, number, 1) == 0) {
    while (execMinMaxSrch(&progress) == 1) {
    }
  }
  getMinMaxData(&low, &high);
  if (setDataSrch(at, 1, kind, number, 1, records, 1, 0.5f) == 0) {
    while (execDataSrch(&found) == 2) {
    }
  }
  int32_t conditions = 0;
  getPlyTrgNum(at, 1, kind, number, &conditions);
  for (int c = 0; c <= conditions + 1 && c <= 8; ++c)
    getPlyTrgItem(at, 1, kind, number, c, name, &lengths[0], &type, state0, &lengths[1], state1, &lengths[2]);
}

// The whole CSV conversion of the file, into a folder emptied afterwards.
void convertToCsv() {
  std::string csv = folder() + "csv";
  std::filesystem::create_directory(csv);
  std::string base = csv + "/out";
  const char* w = "w";
  CsvDateSet("", "", 3);
  if (setCsvFile(folder().c_str(), 1, base.c_str(), w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w,
                 w, w, w, w, w, w, "O-", "I-", "H-", "S") == 0) {
    int32_t progress = 0;
    while (execCsvOut(&progress) == 1) {
    }
  }
  std::filesystem::remove_all(csv);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file = fileFromInput(data, size);
  std::string path = folder() + "input.das";
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) std::abort();
  if (!file.empty() && ::write(fd, file.data(), file.size()) != static_cast<ssize_t>(file.size())) std::abort();
  ::close(fd);

  clearFileList();
  int32_t count = 0;
  getFileNum(folder().c_str(), &count);
  char person[32], mapName[64], model[64], name[32];
  int32_t numbers[24];
  getFileInfo(folder().c_str(), 1, person, &numbers[0], mapName, &numbers[1], &numbers[2], model, &numbers[3],
              &numbers[4], &numbers[5], &numbers[6], &numbers[7], &numbers[8], &numbers[9], &numbers[10],
              &numbers[11], &numbers[12], &numbers[13], &numbers[14], &numbers[15], &numbers[16], name, &numbers[17]);
  if (selectDataFile(folder().c_str(), 1) != 1) {
    for (int kind : {0, 1, 100, 200})
      for (int number : {0, 1, 2}) readUnit(kind, number);
    closeDataFile(folder().c_str(), 1);
  }
  convertToCsv();
  clearFileList();
  clearErrorWords();
  debugRing().clear();
  return 0;
}
