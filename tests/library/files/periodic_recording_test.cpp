#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "dump.h"

#include "files/recording_step.h"
#include "library/files/recording_support.h"
#include "library/support/periodic_start.h"
#include "tramsoll.h"

using namespace recordingtest;
using testsupport::startPeriodic;

namespace {

std::vector<uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PeriodicRecordingTest : public RecordingTest {
 protected:
  // System 3: one outdoor and two indoor units of three 20-byte groups each;
  // system 4: one more outdoor unit that must stay out of system 3's file.
  void addSystems() {
    std::vector<BlockSpec> groups = {{"E0", 20}, {"E1", 20}, {"E2", 20}};
    addUnit(unitKind::kOutdoor, 16, 3, 1, groups, 40);
    addUnit(unitKind::kIndoor, 33, 3, 2, groups, 10);
    addUnit(unitKind::kIndoor, 34, 3, 3, groups, 10);
    addUnit(unitKind::kOutdoor, 17, 4, 1, groups, 40);
  }

  std::string customerFolder() const { return folder.path() + "/"; }
};

TEST_F(PeriodicRecordingTest, AMinuteAtFiveSecondsGivesTheFileAsLaidOut) {
  addSystems();
  ASSERT_EQ(setFileHeader("C001", "Customer", "Person", "Map A", customerFolder().c_str()), 0);
  ASSERT_EQ(startPeriodic(3), 0);
  EXPECT_TRUE(hasBits(gatherState, gather::kPeriodicRecording));
  for (uint32_t slot = kStart + 5; slot <= kStart + 60; slot += 5) {
    gatherSlot(slot);
    appendPeriodicRecord(slot);
  }
  ASSERT_EQ(saveConstData(0, nullptr, 0), 0);

  // First record 2023-11-14 22:13:25: year 35, month B, day 14, hour 22,
  // 13 x 60 + 25 = 805 = 0x325 seconds, periodic, system 3.
  std::string path = customerFolder() + "35B1422325C3.das";
  das::File file = readBack(path);
  const das::FileHeader& h = file.header;
  EXPECT_STREQ(h.customerId, "C001");
  EXPECT_STREQ(h.customerName, "Customer");
  EXPECT_STREQ(h.personInCharge, "Person");
  EXPECT_STREQ(h.mapName, "Map A");
  EXPECT_STREQ(h.modelText, "0-16 model");
  EXPECT_EQ(h.systemNumber, 3);
  EXPECT_EQ(h.interfaceMode, 2);
  EXPECT_EQ(h.recordingKind, 1);
  EXPECT_EQ(h.romNumber, 0x1022u);  // the last entry of the system
  EXPECT_EQ(h.firstRecordTime, kStart + 5);
  EXPECT_EQ(h.triggerRecord, 0u);
  EXPECT_EQ(h.recordCount, 12u);
  EXPECT_EQ(h.interval, 5);
  EXPECT_EQ(h.version, 3);
  EXPECT_EQ(h.firstRecordOffset, 320 + 3 * (232 + 3 * 16));
  EXPECT_EQ(h.recordSize, 4 + 9 * 32);  // 292
  EXPECT_EQ(h.statusLength, 6);
  EXPECT_EQ(h.sensorFlag, 0);
  EXPECT_EQ(h.outdoorCount, 1);
  EXPECT_EQ(h.indoorCount, 2);
  EXPECT_EQ(h.centralCount, 0);
  EXPECT_EQ(h.unitCount, 3);

  ASSERT_EQ(file.units.size(), 3u);
  const das::UnitBlock& indoor = file.units[2].block;
  EXPECT_STREQ(indoor.modelName, "unit.itm");
  EXPECT_STREQ(indoor.modelText, "1-34 model");
  EXPECT_STREQ(indoor.serialNumber, "1-34 serial");
  EXPECT_STREQ(indoor.place, "1-34 place");
  EXPECT_EQ(indoor.unitClass, 1);
  EXPECT_EQ(indoor.unitNumber, 3);
  EXPECT_EQ(indoor.address, 34);
  EXPECT_EQ(indoor.rowIndex, 0);
  EXPECT_EQ(indoor.zubrelAddress, 0x30);
  EXPECT_EQ(indoor.controlAddress, 0x20);
  EXPECT_EQ(indoor.groupCount, 3);
  EXPECT_EQ(indoor.conditionCount, 0);
  EXPECT_STREQ(file.units[0].groups[1].key, "E1");
  EXPECT_EQ(file.units[0].groups[1].dataLength, 20);

  // The first record byte by byte: time 1700000005 = 0x6553F105, then the
  // outdoor unit's "E0" part: stamp 1700000003, length 6 + 20, its status
  // bytes 0xA0 + 16 on, data (0x05 + 16 x 7 + i).
  std::vector<uint8_t> bytes = fileBytes(path);
  ASSERT_GE(bytes.size(), size_t{h.firstRecordOffset} + 292 * 12);
  const uint8_t expected[] = {0x05, 0xF1, 0x53, 0x65, 0x03, 0xF1, 0x53, 0x65, 0x1A, 0x00, 0xB0, 0xB1,
                              0xB2, 0xB3, 0xB4, 0xB5, 0x75, 0x76, 0x77, 0x78};
  EXPECT_EQ(0, std::memcmp(&bytes[h.firstRecordOffset], expected, sizeof expected));

  for (size_t r = 0; r < file.records.size(); ++r) {
    uint32_t slot = uint32_t(kStart + 5 + 5 * r);
    const das::Record& record = file.records[r];
    EXPECT_EQ(record.time, slot);
    ASSERT_EQ(record.parts.size(), 9u);
    const das::GroupPart& part = record.parts[8];  // address 34, block "E2"
    EXPECT_EQ(part.stamp, stampOf(slot));
    EXPECT_EQ(part.data[19], patternByte(slot, 34, 2, 19));
  }

  std::ostringstream shown;
  dasdump::printDasFile(file, shown);
  EXPECT_NE(shown.str().find("record 11: time 1700000060 (2023-11-14 22:14:20 UTC)"), std::string::npos);
  EXPECT_NE(shown.str().find("unit 3 \"E2\" stamp 1700000058"), std::string::npos) << shown.str();

  // The size estimate: the file's blocks plus 100 bytes per item of each
  // unit (it always counts trigger-condition blocks), and the record size.
  int32_t headerBytes = 0, recordBytes = 0;
  ASSERT_EQ(getDataSize(3, 0, &headerBytes, &recordBytes), 0);
  EXPECT_EQ(headerBytes, h.firstRecordOffset + 100 * (40 + 10 + 10));
  EXPECT_EQ(recordBytes, h.recordSize);
}

TEST_F(PeriodicRecordingTest, NamesFollowTheLocalTimeOfTheFirstRecord) {
  addSystems();
  setenv("TZ", "JST-9", 1);
  tzset();
  ASSERT_EQ(setFileHeader("C001", "", "", "", customerFolder().c_str()), 0);
  int32_t started = startPeriodic(4);
  setenv("TZ", "UTC", 1);
  tzset();
  ASSERT_EQ(started, 0);
  // 2023-11-15 07:13:25 in Japan; the file keeps UTC seconds.
  das::File file = readBack(customerFolder() + "35B1507325C4.das");
  EXPECT_EQ(file.header.firstRecordTime, kStart + 5);
}

TEST_F(PeriodicRecordingTest, RecordLayoutIsFrozenWhenTheFileIsMade) {
  addSystems();
  ASSERT_EQ(setFileHeader("C001", "", "", "", customerFolder().c_str()), 0);
  ASSERT_EQ(startPeriodic(3), 0);
  // A block and a unit that turn up later change nothing in the records.
  const uint8_t identity[5] = {1, 0, 0, 0, 0};
  ASSERT_TRUE(liveDataTable().addBlock(unitKind::kOutdoor, 16, identity, "E9", 50));
  addUnit(unitKind::kIndoor, 35, 3, 4, {{"E0", 20}});
  gatherSlot(kStart + 5);
  appendPeriodicRecord(kStart + 5);
  // The units leave the live tables (gathering stopped under the file).
  freeUnitTables();
  appendPeriodicRecord(kStart + 10);

  das::File file = readBack(customerFolder() + "35B1422325C3.das");
  ASSERT_EQ(file.records.size(), 2u);
  EXPECT_EQ(file.header.recordSize, 292);
  EXPECT_EQ(file.records[0].parts[0].stamp, stampOf(kStart + 5));
  for (const das::GroupPart& part : file.records[1].parts) {
    EXPECT_EQ(part.stamp, 0u);
    EXPECT_EQ(part.length, 26);
    EXPECT_EQ(part.data, std::vector<uint8_t>(20, 0));
  }
  EXPECT_EQ(errFault.load(), 0u);
}

TEST_F(PeriodicRecordingTest, StartStopAndSizeAnswers) {
  addSystems();
  int32_t none[256] = {};
  int32_t headerBytes = -1, recordBytes = -1;
  EXPECT_EQ(getDataSize(9, 0, &headerBytes, &recordBytes), 2);
  EXPECT_EQ(headerBytes, 0);
  EXPECT_EQ(recordBytes, 0);
  EXPECT_EQ(saveConstData(1, none, 0), 2) << "an interval below 1 s is refused";
  EXPECT_EQ(saveConstData(7, none, 5), 2);

  // An empty selection turns recording on with no file; the 256th entry
  // names no system.
  int32_t only256[256] = {};
  only256[255] = 1;
  ASSERT_EQ(saveConstData(1, only256, 5), 0);
  EXPECT_TRUE(hasBits(gatherState, gather::kPeriodicRecording));
  EXPECT_EQ(periodicFileCount(), 0);
  EXPECT_EQ(saveConstData(1, none, 5), 2) << "already on";
  EXPECT_EQ(setFileHeader("X", "", "", "", ""), 1);
  int32_t constSaving = 0, trigState = 0;
  EXPECT_EQ(execTramsoll(&constSaving, &trigState), 0);
  EXPECT_EQ(constSaving, 1);
  EXPECT_EQ(saveConstData(0, nullptr, 0), 0);
  EXPECT_FALSE(hasBits(gatherState, gather::kPeriodicRecording));
  EXPECT_EQ(setFileHeader("X", "", "", "", ""), 0);
  std::vector<std::string> lines = testsupport::drainDebugLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Tramsoll: Const Save Start 123/11/14 22:13:20");
  EXPECT_EQ(lines[1], "Tramsoll: Const Save Stop 123/11/14 22:13:20");

  // The first record falls on the slot after the last gather slot.
  gatherValues().dataDue = kStart + 15;
  ASSERT_EQ(startPeriodic(3, 10), 0);
  EXPECT_EQ(gatherValues().constDue, kStart + 10);
  EXPECT_EQ(saveSlot(3).header.firstRecordTime, kStart + 20);
  ASSERT_EQ(saveConstData(0, nullptr, 0), 0);

  gatherState.store(0);
  EXPECT_EQ(saveConstData(1, none, 5), 1);
  EXPECT_EQ(getDataSize(3, 0, &headerBytes, &recordBytes), 1);
  EXPECT_EQ(headerBytes, 0);
}

TEST_F(PeriodicRecordingTest, WithoutACustomerLeftoversGoFromTheRecordingFolderOnly) {
  addSystems();
  std::filesystem::create_directory("rec");
  for (const char* name : {"rec/const7.das", "rec/CONST9.DAS", "rec/other.das", "const5.das"})
    std::ofstream(name) << "old";
  ASSERT_EQ(setFileHeader(" ", "", "", "", "rec/"), 0);
  ASSERT_EQ(startPeriodic(3), 0);
  EXPECT_TRUE(folder.exists("rec/const3.das"));
  EXPECT_FALSE(folder.exists("rec/const7.das"));
  EXPECT_FALSE(folder.exists("rec/CONST9.DAS"));
  EXPECT_TRUE(folder.exists("rec/other.das"));
  EXPECT_TRUE(folder.exists("const5.das")) << "another folder's files stay";
  EXPECT_EQ(readBack("rec/const3.das").header.customerId[0], ' ');
}

TEST_F(PeriodicRecordingTest, FileErrorsReachTheStatusPollAndFailedStartsLeaveNothingOpen) {
  addSystems();
  ASSERT_EQ(setFileHeader("C001", "", "", "", customerFolder().c_str()), 0);
  // System 4's file cannot be made (a folder has its name): the start
  // fails and system 3's slot, made before, is freed again.
  std::filesystem::create_directory(customerFolder() + "35B1422325C4.das");
  int32_t both[256] = {};
  both[2] = both[3] = 1;
  EXPECT_EQ(saveConstData(1, both, 5), 4);
  EXPECT_FALSE(saveSlot(3).used());
  EXPECT_FALSE(hasBits(gatherState, gather::kPeriodicRecording));
  AutoAdrEntry entry;
  ASSERT_TRUE(autoAdrTable().entryByKey(unitKind::kOutdoor, 16, entry));
  EXPECT_EQ(entry.marks, 0u);

  // A file that vanished under a running recording: the append reports.
  ASSERT_EQ(startPeriodic(3), 0);
  std::string path = customerFolder() + "35B1422325C3.das";
  ASSERT_EQ(std::remove(path.c_str()), 0);
  gatherSlot(kStart + 5);
  appendPeriodicRecord(kStart + 5);
  int32_t constSaving = 0, trigState = 0;
  EXPECT_EQ(execTramsoll(&constSaving, &trigState), 3);
  EXPECT_EQ(execTramsoll(&constSaving, &trigState), 0);
  EXPECT_EQ(saveSlot(3).header.recordCount, 0u);
  bool reported = false;
  for (const std::string& line : testsupport::drainDebugLines())
    reported |= line.rfind("FileHndl: SvFile open error \"", 0) == 0;
  EXPECT_TRUE(reported);
}

TEST_F(PeriodicRecordingTest, CreationRefusesLayoutsOutsideTheSixteenBitSizes) {
  ASSERT_EQ(setFileHeader("C001", "", "", "", customerFolder().c_str()), 0);
  // 255 blocks of 256 bytes: records of 4 + 255 x 268 bytes.
  std::vector<BlockSpec> big;
  static char keys[255][8];
  for (int i = 0; i < 255; ++i) {
    std::snprintf(keys[i], sizeof keys[i], "K%d", i);
    big.push_back({keys[i], 256});
  }
  addUnit(unitKind::kOutdoor, 1, 5, 1, big);
  EXPECT_EQ(startPeriodic(5), 4);
  // 290 unit rows: their blocks pass 65,535 bytes.
  for (int i = 0; i < 290; ++i) addUnit(unitKind::kIndoor, 2 + i / 145, 6, i, {}, 0, uint8_t(i % 145 + 1));
  EXPECT_EQ(startPeriodic(6), 4);
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
  EXPECT_FALSE(saveSlot(5).used());
}

}  // namespace
