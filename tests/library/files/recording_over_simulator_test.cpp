// Recording end to end: gathering on the bus of the simulated adapter, the
// test driving the timer steps on a manual clock, the files read back.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/status_words.h"
#include "dump.h"
#include "engine/settings.h"
#include "files/bus_log.h"
#include "files/das_format.h"
#include "files/recording.h"
#include "library/engine/gathering_support.h"
#include "library/support/periodic_start.h"
#include "library/support/program_folder.h"
#include "simulator.h"
#include "store/live_table.h"
#include "tables/model_tables.h"
#include "tables/setting_tables.h"
#include "tramsoll.h"
#include "vexa5_adapter.h"

using namespace tramsoll;
using namespace gathertest;
namespace fs = std::filesystem;

namespace {

constexpr std::time_t kStart = 1700000000;  // 2023-11-14 22:13:20 UTC

// The sample installation on the bus of the simulated adapter, read with the
// sample model set. System 1: outdoor unit 1 with the indoor units 17 and 18,
// and the sensor inputs. System 3: outdoor unit 3, whose model the map fixes
// and whose error block no frame of the scenario fills.
class RecordingOverSimulator : public SampleInstallationTest {
 protected:
  void SetUp() override {
    SampleInstallationTest::SetUp();
    fs::current_path(folder.path());
    startSampleInstallation();
    ASSERT_EQ(initDataGather(1, 1, 3, 2, 0, " ", 5), 0);
    ASSERT_TRUE(stepUntil([] { return fixed(0, 1) && fixed(1, 17) && fixed(1, 18) && heard(0, 3); }));
    ASSERT_EQ(setDkishuName(0, 3, 1, "TALMA-335U"), 0);
    ASSERT_EQ(changeDataGather(3), 0);
    ASSERT_EQ(setSensorParm(1, 1, "Supply air", 0, 5, 0, 0, " "), 0);
    ASSERT_EQ(setSensorParm(7, 1, "Pressure", 1, 1, -10, 500, "kPa"), 0);
    ASSERT_EQ(setNetMapInfo(0, 1, 1, 1, 1, -1, "TALMA-224", "SN-1", "Roof"), 0);
    ASSERT_EQ(setNetMapInfo(1, 17, 1, 2, 1, -1, "VELUN-28", "SN-17", "Office"), 0);
    ASSERT_EQ(setNetMapInfo(1, 18, 1, 3, 1, -1, "VELUN-28", "SN-18", "Hall"), 0);
    ASSERT_EQ(setNetMapInfo(200, 0, 1, 1, 1, -1, "SENTA-8", "", ""), 0);
    ASSERT_EQ(setNetMapInfo(0, 3, 1, 1, 3, -1, "TALMA-335U", "SN-3", "Yard"), 0);
    // Every block of system 1 holds data, and after two gather slots
    // (22:13:30) the sensor inputs have answered.
    ASSERT_TRUE(stepUntil([] { return filled(0, 1, 5) && filled(1, 17, 4) && filled(1, 18, 4); }));
    for (int i = 0; i < 2; ++i) slot();
    ASSERT_TRUE(filled(200, 0, 1));
    ASSERT_EQ(gatherValues().dataDue, kStart + 10);
  }
  void TearDown() override {
    SampleInstallationTest::TearDown();
    testsupport::keepRecordingsAsFuzzSeeds(folder.path());
  }

  static bool heard(int kind, int address) {
    AutoAdrEntry entry;
    return autoAdrTable().entryByKey(kind, address, entry);
  }
  static bool fixed(int kind, int address) {
    AutoAdrEntry entry;
    return autoAdrTable().entryByKey(kind, address, entry) && entry.rowCount > 0;
  }
  // The first `count` blocks of the unit's row have received data (the
  // indoor units' last block is only the VELUN-36Z's).
  static bool filled(int kind, int address, int count) {
    int slot = liveDataTable().currentSlot();
    for (int b = 0; b < count; ++b) {
      const DataBlock* block = liveDataTable().blockAt(kind, address, 0, b);
      if (!block || block->times[slot] == 0) return false;
    }
    return true;
  }

  // The 1-based number of an item of the outdoor model.
  static int outdoorItemNumber(const char* name, ItemRecord& item) {
    int32_t model = -1;
    if (!findKishuByFile("outdr01.itm", model)) return 0;
    for (int32_t k = 0; getItem(model, 0, 0, k, item); ++k)
      if (std::strcmp(item.name, name) == 0) return k + 1;
    return 0;
  }

  // Outdoor unit 3's error frame with its warning bit as given.
  void sendWarning(uint8_t bits) {
    Bytes frame = busFrame(0x08, 3, 0xEA, {0x00, 0x00, 0x03, 0x03, 0x03, 0x00, bits, 0x00});
    simulator->injectBytes(adaptersim::Vexa5Adapter::busFramePacket(frame, 0x00));
    ASSERT_TRUE(stepUntil([&] {
      const DataBlock* block = liveDataTable().findBlock(0, 3, 0, "EAERR");
      return block && block->data[liveDataTable().currentSlot()][6] == bits;
    }));
  }

  void slot() {
    nextSlot();
    ASSERT_TRUE(settle());
  }

  static const das::Unit* unitOf(const das::File& file, int unitClass, int address) {
    for (const das::Unit& unit : file.units)
      if (unit.block.unitClass == unitClass && unit.block.address == address) return &unit;
    return nullptr;
  }

  testsupport::ProgramFolder folder;
};

int32_t groupItems(const char* itemFile) {
  int32_t model = -1;
  UnitGroup group{};
  return findKishuByFile(itemFile, model) && getKishuSub(model, 0, group) ? group.itemCount : -1;
}

TEST_F(RecordingOverSimulator, AMinuteOfPeriodicRecordingAtFiveSeconds) {
  std::string customer = folder.path() + "/";
  ASSERT_EQ(setFileHeader("C001", "Customer", "Person", "Map 1", customer.c_str()), 0);
  ASSERT_EQ(testsupport::startPeriodic(1, 5), 0);
  for (int i = 0; i < 12; ++i) slot();
  int32_t constSaving = 0, trigState = 0;
  EXPECT_EQ(execTramsoll(&constSaving, &trigState), 0);
  EXPECT_EQ(constSaving, 1);
  int32_t headerBytes = 0, recordBytes = 0;
  ASSERT_EQ(getDataSize(1, 0, &headerBytes, &recordBytes), 0);
  ASSERT_EQ(saveConstData(0, nullptr, 0), 0);

  // First record at 22:13:35: year 35, month B, day 14, hour 22,
  // 13 x 60 + 35 = 815 = 0x32F, periodic, system 1.
  std::string path = customer + "35B142232FC1.das";
  das::File file;
  std::string error;
  ASSERT_TRUE(das::readFile(path, file, error)) << error;
  const das::FileHeader& h = file.header;
  EXPECT_STREQ(h.customerId, "C001");
  EXPECT_STREQ(h.customerName, "Customer");
  EXPECT_STREQ(h.personInCharge, "Person");
  EXPECT_STREQ(h.mapName, "Map 1");
  EXPECT_STREQ(h.modelText, "TALMA-224");
  EXPECT_EQ(h.mapNumber, 0);
  EXPECT_EQ(h.systemNumber, 1);
  EXPECT_EQ(h.interfaceMode, 2 + 1) << "the bus, with sensor inputs";
  EXPECT_EQ(h.recordingKind, 1);
  EXPECT_EQ(h.firstRecordTime, kStart + 15);
  EXPECT_EQ(h.triggerRecord, 0u);
  EXPECT_EQ(h.recordCount, 12u);
  EXPECT_EQ(h.interval, 5);
  EXPECT_EQ(h.version, 3);
  EXPECT_EQ(h.statusLength, 6);
  EXPECT_EQ(h.sensorFlag, 1);
  EXPECT_EQ(h.outdoorCount, 1);
  EXPECT_EQ(h.indoorCount, 2);
  EXPECT_EQ(h.centralCount, 0);
  EXPECT_EQ(h.unitCount, 4);
  // Blocks: the outdoor unit's five groups, the indoor units' five each, the
  // sensor inputs' one group and sensor block. Records: 4, then per group
  // 6 + 6 + D: outdoor 7, 16, 16, 26, 8; indoor 7, 12, 12, 8, 10; inputs 12.
  EXPECT_EQ(h.firstRecordOffset, 320 + 3 * (232 + 5 * 16) + 232 + 16 + 668);
  EXPECT_EQ(h.recordSize, 4 + (60 + 73) + 2 * (60 + 49) + (12 + 12));
  EXPECT_EQ(recordBytes, h.recordSize);
  int32_t items = groupItems("outdr01.itm") + 2 * groupItems("indr01.itm") + groupItems("sens01.itm");
  EXPECT_EQ(headerBytes, h.firstRecordOffset + 100 * items);

  ASSERT_EQ(file.units.size(), 4u);
  const das::Unit& outdoor = file.units[0];
  EXPECT_EQ(outdoor.block.unitClass, 0);
  EXPECT_EQ(outdoor.block.address, 1);
  EXPECT_STREQ(outdoor.block.modelName, "outdr01.itm");
  EXPECT_STREQ(outdoor.block.modelText, "TALMA-224");
  EXPECT_STREQ(outdoor.block.serialNumber, "SN-1");
  EXPECT_STREQ(outdoor.block.place, "Roof");
  EXPECT_EQ(outdoor.block.unitNumber, 1);
  EXPECT_EQ(outdoor.block.zubrelAddress, 1);
  EXPECT_EQ(outdoor.block.controlAddress, 255);
  ASSERT_EQ(outdoor.groups.size(), 5u);
  EXPECT_STREQ(outdoor.groups[0].key, "60ID");
  EXPECT_EQ(outdoor.groups[3].dataLength, 26);
  EXPECT_TRUE(outdoor.conditions.empty());
  const das::Unit* indoor = unitOf(file, 1, 18);
  ASSERT_NE(indoor, nullptr);
  EXPECT_STREQ(indoor->block.modelName, "indr01.itm");
  EXPECT_STREQ(indoor->block.place, "Hall");
  EXPECT_EQ(indoor->block.unitNumber, 3);
  EXPECT_EQ(indoor->block.zubrelAddress, 3) << "indoor key byte: zubrel + 1";
  const das::Unit* sensor = unitOf(file, 200, 0);
  ASSERT_NE(sensor, nullptr);
  EXPECT_STREQ(sensor->block.modelName, "sens01.itm");
  ASSERT_TRUE(sensor->hasSensor);
  EXPECT_STREQ(sensor->sensor.names[0], "Supply air");
  EXPECT_EQ(sensor->sensor.used[0], 1);
  EXPECT_STREQ(sensor->sensor.names[6], "Pressure");
  EXPECT_EQ(sensor->sensor.switches[0], 1);
  EXPECT_EQ(sensor->sensor.ranges[0], 1);
  EXPECT_EQ(sensor->sensor.offsets[0], -10);
  EXPECT_EQ(sensor->sensor.fullScales[0], 500);
  EXPECT_STREQ(sensor->sensor.units[0], "kPa");

  // The first record's head, byte by byte: time 1700000015 (0x6553F10F),
  // then the outdoor unit's "60ID" group: its stamp, length 6 + 7, the
  // frame's first six bytes (type 08, sender 01, receiver FF, head 14,
  // length 09, command 60) and data from frame byte 6: ROM 00000101, zubrel
  // 01, model A102.
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_GE(bytes.size(), size_t{h.firstRecordOffset} + 12u * h.recordSize);
  const uint8_t* first = &bytes[h.firstRecordOffset];
  const uint8_t time[] = {0x0F, 0xF1, 0x53, 0x65};
  EXPECT_EQ(0, std::memcmp(first, time, 4));
  uint32_t stamp = das::getU32(first + 4);
  EXPECT_TRUE(stamp >= kStart && stamp <= kStart + 15) << "the frame came at a step before the record: " << stamp;
  const uint8_t group60[] = {0x0D, 0x00, 0x08, 0x01, 0xFF, 0x14, 0x09, 0x60,
                             0x00, 0x00, 0x01, 0x01, 0x01, 0xA1, 0x02};
  EXPECT_EQ(0, std::memcmp(first + 8, group60, sizeof group60));
  // The sensor inputs' group, last in the record: status 'A', then the
  // logger's twelve characters.
  const das::GroupPart& inputs = file.records[0].parts.back();
  EXPECT_EQ(inputs.status, (std::vector<uint8_t>{'A', 0, 0, 0, 0, 0}));
  EXPECT_EQ(std::string(inputs.data.begin(), inputs.data.end()), "1011001FF3FF");
  for (uint32_t r = 0; r < 12; ++r) EXPECT_EQ(file.records[r].time, kStart + 15 + 5 * r);
}

TEST_F(RecordingOverSimulator, TriggerRecordingAroundAConditionThatComesTrue) {
  ItemRecord warning{};
  int number = outdoorItemNumber("Warning", warning);
  ASSERT_GT(number, 0);
  ASSERT_EQ(setFileHeader("C001", "Customer", "Person", "Map 1", (folder.path() + "/").c_str()), 0);
  ASSERT_EQ(setTrigCondition(3, 0, 1, number, 1, 3), 0);  // outdoor unit 3 warns
  ASSERT_EQ(saveTrigData(1, 3, 1), 0);                    // 6 records after, 7 before
  // Trigger slots every 10 s from 22:13:40; ten records while the
  // condition does not hold.
  for (int i = 0; i < 20; ++i) slot();
  EXPECT_EQ(saveSlot(kTriggerSlot).header.recordCount, 10u);
  EXPECT_FALSE(hasBits(gatherState, gather::kTriggerFired));

  // The warning comes on before the 11th trigger slot (22:15:20).
  sendWarning(0x01);
  slot();
  slot();
  EXPECT_TRUE(hasBits(gatherState, gather::kTriggerFired));
  for (int i = 0; i < 12; ++i) slot();
  EXPECT_FALSE(hasBits(gatherState, gather::kTriggerArmed | gather::kTriggerFired));

  // The file ends after the six records past the trigger; 22:13:40 is
  // 0x334 seconds into the hour.
  das::File file;
  std::string error;
  ASSERT_TRUE(das::readFile(folder.path() + "/35B1422334T3.das", file, error)) << error;
  EXPECT_EQ(file.header.recordingKind, 2);
  EXPECT_EQ(file.header.interval, 10);
  EXPECT_EQ(file.header.recordCount, 13u);
  EXPECT_EQ(file.header.triggerRecord, 6u);
  uint32_t triggerTime = kStart + 120;
  EXPECT_EQ(file.header.firstRecordTime, triggerTime - 60);
  for (uint32_t r = 0; r < 13; ++r) EXPECT_EQ(file.records[r].time, triggerTime - 60 + 10 * r);
  ASSERT_EQ(file.units.size(), 1u);
  const das::Unit& outdoor = file.units[0];
  EXPECT_STREQ(outdoor.block.modelText, "TALMA-335U");
  ASSERT_EQ(int(outdoor.conditions.size()), groupItems("outdr01.itm"));
  const das::ConditionBlock& condition = outdoor.conditions[size_t(number - 1)];
  EXPECT_STREQ(condition.itemName, "Warning");
  EXPECT_STREQ(condition.condition1, warning.stateText1);
  EXPECT_STRNE(condition.condition1, "");
  EXPECT_STREQ(condition.condition2, "");
  EXPECT_EQ(condition.dataType, datatype::kOnOff);
  EXPECT_STREQ(outdoor.conditions[0].condition1, "") << "an item without a condition";
  // The error group (fifth part) of the trigger record has the bit set.
  EXPECT_EQ(file.records[6].parts[4].data[6], 0x01);
  EXPECT_EQ(file.records[5].parts[4].data[6], 0x00);
  std::vector<std::string> lines = drainDebugLines();
  EXPECT_TRUE(hasLineStartingWith(lines, "Tramsoll: Trig-ON DatNum=11"));
  EXPECT_TRUE(hasLineStartingWith(lines, "FileHndl: TrgFile Swap DatNum 11 -> 7"));
  EXPECT_TRUE(hasLineStartingWith(lines, "Tramsoll: Trig-Save End DatNum=13"));
}

TEST_F(RecordingOverSimulator, BusLogOfTheLinkRollsOverIntoNumberedFiles) {
  fs::create_directory("q7data");
  ASSERT_EQ(saveQ7Data(1, "q7data\\q7-net"), 0);
  slot();
  dasdump::BusLog log;
  std::string error;
  ASSERT_TRUE(dasdump::readBusLog("q7data/q7-net.dl2", log, error)) << error;
  auto has = [&](char kind) {
    return std::any_of(log.events.begin(), log.events.end(), [&](const dasdump::BusLogEvent& e) { return e.kind == kind; });
  };
  EXPECT_TRUE(has('R')) << "received packets";
  EXPECT_TRUE(has('S')) << "sent packets";

  // Filled close to the limit, the link's own events carry each file over.
  std::vector<uint8_t> filler(256, 0);
  for (const char* next : {"q7data/q7-net-1.dl2", "q7data/q7-net-2.dl2"}) {
    std::string current = busLogFileName();
    while (fs::file_size(current) + 304 < 1024000) appendBusLogEvent('M', kStart, 0, 0, filler.data(), 256);
    for (int i = 0; i < 40 && !fs::exists(next); ++i) slot();
    ASSERT_TRUE(fs::exists(next));
    EXPECT_GT(fs::file_size(current), 1024000u);
  }
  for (int n : {1, 2}) {
    ASSERT_TRUE(dasdump::readBusLog("q7data/q7-net-" + std::to_string(n) + ".dl2", log, error)) << error;
    EXPECT_EQ(log.header.title, "Service Pelomar VEXA5 Log");
    EXPECT_EQ(log.header.sequence, uint32_t(n));
    EXPECT_EQ(log.header.version, "1.53A");
  }
  EXPECT_EQ(log.header.adapterStatus, 0x10u) << "the status value of the adapter's answer";
  ASSERT_EQ(saveQ7Data(0, nullptr), 0);
  int32_t constSaving = 0, trigState = 0;
  EXPECT_EQ(execTramsoll(&constSaving, &trigState), 0);
}

}  // namespace
