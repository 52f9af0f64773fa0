#include <algorithm>
#include <filesystem>
#include <functional>

#include "base/table_growth.h"
#include "files/replay_tables.h"
#include "library/files/replay_support.h"

using namespace replaytest;

namespace {

// 3 units of two 20-byte groups with 6 status bytes each.
constexpr size_t kUnitBytes = 232 + 2 * 16;
constexpr size_t kFirstRecord = 320 + 3 * kUnitBytes;
constexpr size_t kRecordSize = 4 + 6 * (6 + 6 + 20);

bool said(const std::vector<std::string>& lines, const std::string& start) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

class ReplayTablesTest : public ReplayTest {
 protected:
  void SetUp() override {
    ReplayTest::SetUp();
    addSystem();
    recorded = recordPeriodic(4);
  }

  void copyAs(const std::string& name, const std::function<void(std::vector<uint8_t>&)>& change) {
    std::vector<uint8_t> bytes = fileBytes(recorded);
    change(bytes);
    writeBytes(customerFolder() + name, bytes);
  }

  int32_t select(int index = 1) { return selectDataFile(customerFolder().c_str(), index); }
  int32_t close(int index = 1) { return closeDataFile(customerFolder().c_str(), index); }

  std::string recorded;
};

TEST_F(ReplayTablesTest, CorruptFilesAreRefusedWithoutACrash) {
  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> change;
  };
  const Case cases[] = {
      {"blocks cut short", [](auto& b) { b.resize(kFirstRecord - 10); }},
      {"record size", [](auto& b) { das::putU16(&b[238], uint16_t(kRecordSize + 1)); }},
      {"first record", [](auto& b) { das::putU16(&b[236], uint16_t(kFirstRecord + 2)); }},
      {"negative count", [](auto& b) { das::putU32(&b[228], 0xFFFFFFFFu); }},
      {"count beyond the file", [](auto& b) { das::putU32(&b[228], 5); }},
      {"status length", [](auto& b) { das::putU16(&b[240], 9); }},
      {"data length", [](auto& b) { das::putU16(&b[320 + 232 + 8], 300); }},
      {"unit count", [](auto& b) { das::putU16(&b[254], 60000); }},
      {"group count", [](auto& b) { b[320 + 2 * kUnitBytes + 230] = 255; }},
      {"no units", [](auto& b) { das::putU16(&b[254], 0); }},
  };
  std::filesystem::rename(recorded, customerFolder() + "good.bin");
  recorded = customerFolder() + "good.bin";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clearFileList();
    copyAs("bad.das", c.change);
    ASSERT_EQ(listFolder(), 1);
    testsupport::drainDebugLines();
    EXPECT_EQ(select(), 1);
    EXPECT_TRUE(said(testsupport::drainDebugLines(), "FileHndl: Datafile refused: "));
    EXPECT_EQ(cursorText(0, 1, kTemp, 1), "refused 3") << "nothing kept open";
  }
}

TEST_F(ReplayTablesTest, TruncatedHeaderAndWrongMagicAreNotListed) {
  copyAs("short.das", [](auto& b) { b.resize(200); });
  copyAs("magic.das", [](auto& b) { b[12] = 'A'; });
  std::filesystem::remove(recorded);
  int32_t count = -1;
  EXPECT_EQ(getFileNum(customerFolder().c_str(), &count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(select(), 1);
}

TEST_F(ReplayTablesTest, OpenersShareTheTablesUntilTheLastClose) {
  std::filesystem::copy_file(recorded, customerFolder() + "second.das");
  ASSERT_EQ(listFolder(), 2);
  ASSERT_EQ(select(1), 0);
  ASSERT_EQ(select(1), 0);
  ASSERT_EQ(select(2), 0);
  ASSERT_EQ(close(1), 0);
  EXPECT_EQ(cursorText(0, 1, kTemp, 1), "117.0 C") << "one opener left";
  ASSERT_EQ(close(1), 0);
  EXPECT_EQ(cursorText(0, 1, kTemp, 1), "refused 3");
  EXPECT_EQ(cursorText(0, 1, kTemp, 1, 2), "117.0 C") << "the other file stays open";
  EXPECT_EQ(close(1), 0) << "closing a closed file does nothing";
  EXPECT_EQ(close(9), 0);
  ASSERT_EQ(select(1), 0);
  EXPECT_EQ(cursorText(0, 1, kTemp, 4), "132.0 C");
  ASSERT_EQ(clearFileList(), 0);
  EXPECT_EQ(cursorText(0, 1, kTemp, 4, 2), "refused 3");
}

TEST_F(ReplayTablesTest, AUnitOfAnUnknownModelKeepsItsPlaceForTheUnitsBehindIt) {
  copyAs("35B1422325C3.das", [](auto& b) { std::memcpy(&b[320 + kUnitBytes], "gone.itm", 9); });
  ASSERT_EQ(listFolder(), 1);
  testsupport::drainDebugLines();
  EXPECT_EQ(select(), 2);
  EXPECT_FALSE(hasBits(errFault, fault::kTableLoad)) << "the bit is cleared before answering";
  EXPECT_TRUE(said(testsupport::drainDebugLines(), "\"gone.itm\" file not found"));
  EXPECT_EQ(cursorText(1, 2, 1, 2), "refused 3");
  EXPECT_EQ(cursorText(1, 3, 1, 2), std::to_string((10 + 34 * 7 + 3) & 0xFF) + ".0 C");
  EXPECT_EQ(cursorText(0, 1, kTemp, 2), "122.0 C");
  EXPECT_EQ(select(), 2) << "a second opener learns it too";
}

TEST_F(ReplayTablesTest, ABrokenRecordReadsAsEmptyAndTheOthersStay) {
  copyAs("35B1422325C3.das", [](auto& b) { das::putU16(&b[kFirstRecord + kRecordSize + 4 + 4], 300); });
  ASSERT_EQ(listFolder(), 1);
  ASSERT_EQ(select(), 0) << "records are checked as they are read";
  testsupport::drainDebugLines();
  EXPECT_EQ(cursorText(0, 1, kTemp, 1), "117.0 C");
  EXPECT_TRUE(hasBits(errCall, call::kRecordRead));
  EXPECT_TRUE(said(testsupport::drainDebugLines(), "FileHndl: Datafile Read Error!! (dlen=300)"));
  EXPECT_EQ(cursorText(0, 1, kTemp, 2), "");
  EXPECT_EQ(cursorText(0, 1, kTemp, 3), "127.0 C");
}

TEST_F(ReplayTablesTest, AFileChangedUnderItsReaderIsNotMisread) {
  ASSERT_EQ(listFolder(), 1);
  ASSERT_EQ(select(), 0);
  // Cut after the second record: the rest reads as records without data.
  std::vector<uint8_t> bytes = fileBytes(recorded);
  bytes.resize(kFirstRecord + 2 * kRecordSize + 10);
  writeBytes(recorded, bytes);
  EXPECT_EQ(cursorText(0, 1, kTemp, 2), "122.0 C");
  EXPECT_EQ(cursorText(0, 1, kTemp, 3), "");
  // Another layout: no read at all.
  das::putU16(&bytes[238], uint16_t(kRecordSize + 6));
  writeBytes(recorded, bytes);
  EXPECT_EQ(cursorText(0, 1, kTemp, 1), "refused 7");
  std::filesystem::remove(recorded);
  EXPECT_EQ(cursorText(0, 1, kTemp, 4), "refused 7");
}

TEST_F(ReplayTablesTest, WindowPastTheLastRecordHoldsEmptyRecords) {
  ReplayTables tables;
  das::File file = readBack(recorded);
  file.header.interfaceMode = 2;
  ASSERT_EQ(tables.open(recorded, file.header), ReplayOpen::Opened);
  EXPECT_EQ(tables.windowStart(), kNoWindow);
  ASSERT_TRUE(tables.readRecordWindow(2, 5));
  EXPECT_EQ(tables.recordTime(2), kStart + 15);
  EXPECT_EQ(tables.recordTime(3), kStart + 20);
  EXPECT_EQ(tables.recordTime(4), 0u);
  EXPECT_EQ(tables.recordTime(1), 0u) << "not in the window";
  ItemRecord temp;
  ASSERT_TRUE(getItem(model, 0, 0, kTemp - 1, temp));
  ItemOutput out;
  EXPECT_TRUE(tables.evaluateItem(0, 3, temp, out));
  EXPECT_STREQ(out.text, "132.0 C");
  tables.evaluateItem(0, 4, temp, out);
  EXPECT_EQ(out.time, 0u) << "past the end: stamp 0";
  EXPECT_FALSE(tables.evaluateItem(0, 7, temp, out));
  EXPECT_FALSE(tables.evaluateItem(5, 3, temp, out));
  EXPECT_TRUE(tables.holds(2, 5));
  EXPECT_FALSE(tables.holds(1, 2));
  EXPECT_TRUE(tables.ensureRecords(3, 2)) << "held already";
  EXPECT_EQ(tables.windowStart(), 2);
  EXPECT_TRUE(tables.ensureRecords(0, 1));
  EXPECT_EQ(tables.windowStart(), 0);
  EXPECT_EQ(tables.windowCount(), 4) << "loads to the end of the records";
  EXPECT_FALSE(tables.readRecordWindow(0, 514));
  EXPECT_FALSE(tables.readRecordWindow(-1, 5));

  file.header.recordCount = 3;
  EXPECT_EQ(tables.open(recorded, file.header), ReplayOpen::Refused) << "not the file as listed";
}

TEST_F(ReplayTablesTest, FormatOneConditionsTakeTheItemsStateTexts) {
  // A format-1 trigger file: no map-name block, a 2-byte entry per item.
  das::FileHeader header{};
  header.recordingKind = das::kTrigger;
  header.interfaceMode = 2;
  header.version = 1;
  header.statusLength = 6;
  header.unitCount = 1;
  header.recordCount = 1;
  header.interval = 10;
  header.firstRecordOffset = uint16_t(256 + 232 + 16 + 2 * kOutdoorItems);
  header.recordSize = 4 + 6 + 6 + 20;
  uint8_t head[das::kHeaderSize];
  das::encodeHeader(header, head);
  std::vector<uint8_t> bytes(head, head + 256);
  das::UnitBlock unit{};
  std::strcpy(unit.modelName, "unit.itm");
  unit.unitNumber = 1;
  unit.groupCount = 1;
  unit.conditionCount = kOutdoorItems;
  uint8_t unitBytes[das::kUnitBlockSize];
  das::encodeUnitBlock(unit, unitBytes);
  bytes.insert(bytes.end(), unitBytes, unitBytes + sizeof unitBytes);
  das::GroupBlock group{{'E', '0'}, 20};
  uint8_t groupBytes[das::kGroupBlockSize];
  das::encodeGroupBlock(group, groupBytes);
  bytes.insert(bytes.end(), groupBytes, groupBytes + sizeof groupBytes);
  const uint8_t conditions[2 * kOutdoorItems] = {3, 3, 1, 3, 3, 3, 0, 1, 3, 3};
  bytes.insert(bytes.end(), conditions, conditions + sizeof conditions);
  bytes.resize(bytes.size() + header.recordSize);
  das::putU16(&bytes[header.firstRecordOffset + 8], 26);
  std::filesystem::remove(recorded);
  writeBytes(customerFolder() + "old.das", bytes);

  ASSERT_EQ(listFolder(), 1);
  ASSERT_EQ(select(), 0);
  int32_t count = 0;
  ASSERT_EQ(getPlyTrgNum(customerFolder().c_str(), 1, 0, 1, &count), 0);
  EXPECT_EQ(count, kOutdoorItems);
  char name[64], text1[64], text2[64];
  int32_t nameLength = 0, type = 0, length1 = 0, length2 = 0;
  ASSERT_EQ(getPlyTrgItem(customerFolder().c_str(), 1, 0, 1, kRun, name, &nameLength, &type, text1, &length1, text2,
                          &length2),
            0);
  EXPECT_STREQ(name, "Run");
  EXPECT_STREQ(text1, "Run");
  EXPECT_STREQ(text2, "");
  ASSERT_EQ(getPlyTrgItem(customerFolder().c_str(), 1, 0, 1, kFan, name, &nameLength, &type, text1, &length1, text2,
                          &length2),
            0);
  EXPECT_STREQ(text1, "Off");
  EXPECT_STREQ(text2, "On");
  EXPECT_EQ(type, 1);
}

TEST_F(ReplayTablesTest, MemoryFailureWhileOpeningKeepsNothing) {
  ASSERT_EQ(listFolder(), 1);
  testsupport::drainDebugLines();
  failNextGrowths(1);
  EXPECT_EQ(select(), 1);
  EXPECT_TRUE(hasBits(errFault, fault::kMemory));
  EXPECT_TRUE(said(testsupport::drainDebugLines(), "MemMngr: malloc error for PlyAutoAdrTable"));
  EXPECT_EQ(select(), 0);
  EXPECT_EQ(cursorText(0, 1, kTemp, 1), "117.0 C");
}

}  // namespace
