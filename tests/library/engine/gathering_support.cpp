#include "library/engine/gathering_support.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "adapter/link_state.h"
#include "adapter/send_ring.h"
#include "base/debug_ring.h"
#include "engine/gathering.h"
#include "engine/settings.h"
#include "engine/timer_step.h"
#include "simulator.h"
#include "store/live_table.h"
#include "tables/model_tables.h"
#include "tables/setting_tables.h"
#include "tramsoll.h"

using namespace tramsoll;

namespace gathertest {

namespace {

struct ItemSpec {
  const char* name;
  int32_t type;
  const char* fullScale;
  std::string program;
};

struct GroupSpec {
  uint8_t type;
  uint8_t number;
  const char* name;
  std::string program;
  std::vector<const char*> texts;
  std::vector<ItemSpec> items;
};

struct FileSpec {
  const char* name;
  std::vector<std::pair<const char*, uint16_t>> blocks;
  std::vector<GroupSpec> groups;
};

template <std::size_t N>
void copy(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

void addFile(const FileSpec& spec) {
  KishuEntry entry{};
  copy(entry.fileName, spec.name);
  int32_t index = -1;
  ASSERT_TRUE(addKishu(entry, index)) << spec.name;
  for (const auto& [name, length] : spec.blocks) {
    int32_t dataIndex = 0;
    ASSERT_TRUE(addKishuData(index, name, length, dataIndex)) << name;
  }
  for (const GroupSpec& g : spec.groups) {
    UnitGroup group{};
    group.unitType = g.type;
    group.groupNumber = g.number;
    copy(group.groupName, g.name);
    copy(group.groupProgram, g.program);
    for (std::size_t t = 0; t < g.texts.size(); ++t) copy(group.groupTexts[t], g.texts[t]);
    ASSERT_TRUE(addKishuSub(index, group)) << g.name;
    for (const ItemSpec& i : g.items) {
      ItemRecord item{};
      copy(item.name, i.name);
      item.flags = static_cast<uint32_t>(i.type) << itemflag::kTypeShift;
      copy(item.fullScale, i.fullScale);
      copy(item.program, i.program);
      ASSERT_TRUE(addItem(index, g.type, g.number, item)) << i.name;
    }
  }
}

SettingQ7Row busRow(uint8_t kind, const char* model, const char* file, uint16_t value, uint16_t mask,
                    std::vector<const char*> others = {}) {
  SettingQ7Row row{};
  row.connectionKind = kind;
  copy(row.modelName, model);
  copy(row.itemFile, file);
  row.longValue = value;
  row.longMask = mask;
  for (std::size_t i = 0; i < others.size(); ++i) copy(row.otherNames[i], others[i]);
  return row;
}

void addBusModels() {
  addSettingQ7(busRow(connect::kDO, "TALMA-224", "outdr01.itm", 0xA000, 0xF0F0,
                      {"TALMA-224A", "TALMA-224B", "TALMA-224C"}));
  // Two family rows told apart by an 0xE0 frame: byte 3 must read xx01xx10,
  // byte 4 must have bit 0 set.
  SettingQ7Row k = busRow(connect::kDOK, "TALMA-280K", "outdr01.itm", 0xA010, 0xF0F0, {"TALMA-280KA"});
  k.firstNumber = 0xE0;
  k.secondNumber = 3;
  k.shortValue = 0x12;
  k.shortMask = 0x33;
  addSettingQ7(k);
  SettingQ7Row kb = busRow(connect::kDOK, "TALMA-280KB", "outdr01.itm", 0xA010, 0xF0F0);
  kb.firstNumber = 0xE0;
  kb.secondNumber = 4;
  kb.shortValue = 0x01;
  kb.shortMask = 0x01;
  addSettingQ7(kb);
  addSettingQ7(busRow(connect::kDI, "VELUN-28", "indr01.itm", 0x4000, 0xF0F0, {"VELUN-28W", "VELUN-28C"}));
  addSettingQ7(busRow(connect::kDIZ, "VELUN-36Z", "indr01.itm", 0x4080, 0xF0F0));
  SettingQ7Row c = busRow(connect::kDC, "CORDA-CX1", "cntr01.itm", 0x7001, 0xF00F);
  c.centralValue = 0xE1;
  c.centralMask = 0xF3;
  addSettingQ7(c);
}

void addBusFiles() {
  addFile({"outdr01.itm",
           {{"60", 16}, {"65", 16}, {"E0", 16}},
           {{0, 1, "TALMA", "on", {}, {{"Outlet temp", datatype::kAnalog, "100", "btoua,65[5],C"},
                                      {"Error", datatype::kBinary, "1", "btob,65[6],0,0,1"},
                                      {"Warning", datatype::kOnOff, "1", "btob,65[6],1,OFF,ON"},
                                      {"Family", datatype::kInteger, "255", "btoua,E0[4],x"}}}}});
  addFile({"indr01.itm",
           {{"61", 16}, {"62", 16}, {"E0", 16}},
           {{1, 1, "VELUN", "on", {}, {{"Room temp", datatype::kAnalog, "50", "btoua,62[5],C"},
                                      {"Zone", datatype::kInteger, "255", "btoua,E0[7],x"}}}}});
  addFile({"cntr01.itm",
           {{"D0", 16}},
           {{100, 0, "CORDA", "on", {}, {{"Mode", datatype::kInteger, "16", "btoua,D0[5],x"}}}}});
}

SettingModelRow modelRow(uint8_t kind, const char* model, const char* file) {
  SettingModelRow row{};
  row.rowKind = kind;
  copy(row.modelName, model);
  copy(row.itemFile, file);
  return row;
}

void addLoggerAndSystem() {
  addSettingLog(modelRow(rowkind::kLog, "SENTA-8", "sens01.itm"));
  addFile({"sens01.itm",
           {{"AD", 32}},
           {{200, 0, "SENTA", "on", {}, {{"Channel 1", datatype::kAnalog, "100", "btoua,AD[0],V"},
                                        {"Channel 2", datatype::kAnalog, "100", "btoua,AD[1],V"}}}}});

  addSettingPara(modelRow(rowkind::kPara, "PARVO-710", "syst01.itm"));
  // Bits 0..3 of B-01 byte 0 say which of the four groups exist.
  addFile({"syst01.itm",
           {{"B-01", 16}, {"C-02", 16}},
           {{0, 1, "PARVO-710", "btob,B-01[0],0", {"PARVO-710A", "PARVO-710B"},
             {{"Pressure", datatype::kAnalog, "50", "btoua,C-02[0],kgf/cm2"},
              {"Error", datatype::kBinary, "1", "btob,B-01[2],0,0,1"}}},
            {1, 1, "PARVO-I1", "btob,B-01[0],1", {"PARVO-I1A"},
             {{"Room temp", datatype::kAnalog, "50", "btoua,C-02[1],C"},
              {"Warning", datatype::kOnOff, "1", "btob,B-01[2],1,OFF,ON"}}},
            {1, 2, "PARVO-I2", "btob,B-01[0],2", {}, {{"Room temp", datatype::kAnalog, "50", "btoua,C-02[2],C"}}},
            {0, 2, "PARVO-O2", "btob,B-01[0],3", {}, {{"Error", datatype::kBinary, "1", "btob,B-01[2],0,0,1"}}}}});
}

void addBoardModels() {
  static const char* const kKinds[] = {"SL", "SR", "SX", "SK", "SH", "SA", "SQ"};
  for (int kind = 8; kind <= 14; ++kind) {
    SettingSeriRow row{};
    row.rowKind = static_cast<uint8_t>(kind);
    copy(row.modelName, boardModelOf(kind));
    std::string file = "board" + std::to_string(kind) + ".itm";
    copy(row.itemFile, file);
    row.speedCode = '6';
    row.dataBits = '8';
    row.parityCode = '2';
    row.stopBits = '1';
    copy(row.sText, "01");
    copy(row.tText, "0100");
    copy(row.kText, kKinds[kind - 8]);
    addSettingSeri(row);
    std::string block = boardBlockOf(kind);
    std::string exists = "btob," + block + "[" + std::to_string(boardIndexOf(kind, 0)) + "],0";
    std::string value = "btoua," + block + "[" + std::to_string(boardIndexOf(kind, 1)) + "],C";
    std::string name = boardModelOf(kind);
    FileSpec spec{file.c_str(),
                  {{boardBlockOf(kind), 16}},
                  {{0, 1, name.c_str(), exists, {"BORIN-CAND"}, {{"Board temp", datatype::kAnalog, "100", value}}}}};
    addFile(spec);
  }
}

}  // namespace

const char kSmallInstallation[] = R"(
adapter switches 2 value 0x10
unit outdoor 1 rom 00000101 model A005 zubrel 1
frame 60 every 20 after 0
frame 65 every 20 after 0 data 00 00 01 01 01 17 02
unit indoor 17 rom 00000101 model 4302 zubrel 0
frame 61 every 20 after 0
frame 62 every 20 after 0 data 00 00 01 01 00 15 00
unit indoor 18 rom 00000101 model 4302 zubrel 1
frame 61 every 20 after 0
frame 62 every 20 after 0 data 00 00 01 01 01 16 00
unit central 32 model 7231 kind 225
frame 90 every 20 after 0
frame D0 every 20 after 0 data 00 00 00 00 00 03
unit outdoor 2 rom 00000202 model A015 zubrel 2
frame 60 every 20 after 0
unit outdoor 5 rom 00000505 model 1234 zubrel 5
frame 60 every 20 after 0
frame 65 every 20 after 0
param B-01 03 00 02
param C-02 11 16 17
board AB12 01 17
board Q 01 17
board W012 01 17
board 3F 01 17
board ABC 01 17
board 12AB 01 17
board 0A0B 01 17
logger 17 2A
)";

const char* boardBlockOf(int kind) {
  static const char* const kBlocks[] = {"AB12", "Q", "W012", "3F", "ABC", "12AB", "0A0B"};
  return kind >= 8 && kind <= 14 ? kBlocks[kind - 8] : "";
}

int boardIndexOf(int kind, int k) { return kind == 13 ? k + 1 : k; }

std::string boardModelOf(int kind) { return "BORIN-" + std::to_string(kind); }

void loadModelSet() {
  clearSettingTables();
  resetModelTables();
  addBusModels();
  addBusFiles();
  addLoggerAndSystem();
  addBoardModels();
}

ItemRecord itemOf(const char* itemFile, int unitType, int groupNumber, const char* name) {
  int32_t index = -1;
  EXPECT_TRUE(findKishuByFile(itemFile, index)) << itemFile;
  ItemRecord item{};
  for (int32_t i = 0; getItem(index, unitType, groupNumber, i, item); ++i) {
    if (std::strcmp(item.name, name) == 0) return item;
  }
  ADD_FAILURE() << "no item " << name << " in " << itemFile;
  return ItemRecord{};
}

Bytes busFrame(uint8_t type, uint8_t sender, uint8_t command, const Bytes& data) {
  Bytes f{type, sender, 0xFF, 0x14, static_cast<uint8_t>(data.size() + 1), command};
  f.insert(f.end(), data.begin(), data.end());
  uint8_t sum = 0;
  for (std::size_t i = 1; i < f.size(); ++i) sum = static_cast<uint8_t>(sum + f[i]);
  f.push_back(static_cast<uint8_t>(-sum));
  return f;
}

Bytes unitData(uint32_t rom, uint8_t key, uint16_t number, const Bytes& more) {
  Bytes d{static_cast<uint8_t>(rom >> 24), static_cast<uint8_t>(rom >> 16), static_cast<uint8_t>(rom >> 8),
          static_cast<uint8_t>(rom), key, static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number)};
  d.insert(d.end(), more.begin(), more.end());
  return d;
}

BusFrameRecord record(const Bytes& frame, int32_t time, uint8_t status) {
  BusFrameRecord r{};
  std::size_t n = std::min<std::size_t>(frame.size(), kBusFrameBytes);
  std::memcpy(r.data, frame.data(), n);
  r.count = static_cast<int16_t>(n);
  r.time = time;
  r.status = status;
  return r;
}

void GatheringTest::SetUp() {
  LibraryTest::SetUp();
  loadModelSet();
  setClock(&clock);
  setWorkerAutostart(false);
}

int32_t GatheringTest::stopGathering() { return initDataGather(0, 1, 3, 2, 0, " ", 5); }

void SimulatedGatheringTest::TearDown() {
  GatheringTest::TearDown();
  if (simulator) simulator->stop();
  unsetenv("TRAMSOLL_COM1");
}

void SimulatedGatheringTest::startSimulator(const std::string& text) {
  adaptersim::Scenario scenario;
  std::istringstream in(text);
  std::string error;
  ASSERT_TRUE(adaptersim::parseScenario(in, scenario, error)) << error;
  simulator = std::make_unique<adaptersim::Simulator>(scenario);
  ASSERT_TRUE(simulator->start("", error)) << error;
  setenv("TRAMSOLL_COM1", simulator->slavePath().c_str(), 1);
}

void SimulatedGatheringTest::nextSlot() {
  clock.advance(std::chrono::seconds(5));
  runOneStep(clock);
}

bool SimulatedGatheringTest::settle() {
  return stepUntil([] { return sendRing().waiting() == 0 && packetInFlight().code == 0; });
}

void SampleInstallationTest::SetUp() {
  SimulatedGatheringTest::SetUp();
  previousFolder = std::filesystem::current_path();
  std::filesystem::current_path(PELOMAR_TESTDATA_DIR);
  clearSettingTables();
  resetModelTables();
  ASSERT_EQ(initTramsoll(), 0);
}

void SampleInstallationTest::TearDown() {
  SimulatedGatheringTest::TearDown();
  std::filesystem::current_path(previousFolder);
}

void SampleInstallationTest::startSampleInstallation() {
  std::ifstream in(PELOMAR_TESTDATA_DIR "/installation.scenario");
  std::ostringstream text;
  text << in.rdbuf();
  startSimulator(text.str());
}

void runOneStep(ManualClock& clock) { runTimerStep(clock.systemNow()); }

void pauseBriefly() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

bool hasLineStartingWith(const std::vector<std::string>& lines, const std::string& start) {
  for (const std::string& line : lines) {
    if (line.rfind(start, 0) == 0) return true;
  }
  return false;
}

}  // namespace gathertest
