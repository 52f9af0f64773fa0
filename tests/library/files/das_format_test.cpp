#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "files/das_format.h"

using namespace tramsoll;

namespace {

das::FileHeader sampleHeader() {
  das::FileHeader h{};
  std::strcpy(h.customerId, "0123456789012345678901234567890123456789");  // 40 characters
  std::strcpy(h.mapName, "Map");
  h.systemNumber = 0x0102;
  h.recordingKind = 2;
  h.firstRecordTime = 0x11223344;
  h.recordCount = 0x55667788;
  h.firstRecordOffset = 0xABCD;
  h.unitCount = 0x0A0B;
  return h;
}

TEST(DasFormat, HeaderFieldsSitAtTheirOffsetsLittleEndian) {
  uint8_t bytes[das::kHeaderSize];
  das::encodeHeader(sampleHeader(), bytes);
  EXPECT_EQ(0, std::memcmp(bytes, "Pelomar3 Data\0\0\0", 16));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes + 16)), "0123456789012345678901234567890");
  EXPECT_EQ(bytes[47], 0) << "a text is cut to leave its terminator";
  EXPECT_EQ(bytes[210], 0x02);
  EXPECT_EQ(bytes[211], 0x01);
  EXPECT_EQ(bytes[214], 2);
  EXPECT_EQ(das::getU32(bytes + 220), 0x11223344u);
  EXPECT_EQ(bytes[228], 0x88);
  EXPECT_EQ(bytes[236], 0xCD);
  EXPECT_EQ(bytes[254], 0x0B);
  EXPECT_STREQ(reinterpret_cast<char*>(bytes + 256), "Map");

  das::FileHeader back;
  ASSERT_TRUE(das::decodeMainHeader(bytes, back));
  EXPECT_EQ(back.recordCount, 0x55667788u);
  EXPECT_EQ(back.unitCount, 0x0A0B);
  // The magic is its 13 characters and the terminator; the two bytes after
  // it are not looked at.
  bytes[14] = 'x';
  EXPECT_TRUE(das::decodeMainHeader(bytes, back));
  bytes[13] = 'x';
  EXPECT_FALSE(das::decodeMainHeader(bytes, back));
}

TEST(DasFormat, BlocksRoundTripAndCutTheirTexts) {
  das::SensorBlock sensor{};
  std::strcpy(sensor.names[7], "Channel 8");
  sensor.used[3] = 1;
  sensor.switches[1] = 1;
  sensor.offsets[0] = -5;
  sensor.fullScales[1] = 1000;
  std::strcpy(sensor.units[1], "kPa");
  uint8_t bytes[das::kSensorBlockSize];
  das::encodeSensorBlock(sensor, bytes);
  EXPECT_STREQ(reinterpret_cast<char*>(bytes + 7 * 64), "Channel 8");
  EXPECT_EQ(bytes[515], 1);
  EXPECT_EQ(bytes[521], 1);
  EXPECT_EQ(das::getU32(bytes + 524), uint32_t(-5));
  EXPECT_EQ(das::getU32(bytes + 536), 1000u);
  EXPECT_STREQ(reinterpret_cast<char*>(bytes + 604), "kPa");
  das::SensorBlock back;
  das::decodeSensorBlock(bytes, back);
  EXPECT_EQ(back.offsets[0], -5);

  das::ConditionBlock condition{};
  std::strcpy(condition.condition1, "a very long state text");
  condition.dataType = 7;
  uint8_t conditionBytes[das::kConditionBlockSize];
  das::encodeConditionBlock(condition, conditionBytes);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(conditionBytes + 64)), "a very long sta");
  EXPECT_EQ(conditionBytes[96], 7);

  das::UnitBlock unit{};
  unit.unitClass = 200;
  unit.conditionCount = 9;
  uint8_t unitBytes[das::kUnitBlockSize];
  das::encodeUnitBlock(unit, unitBytes);
  EXPECT_EQ(unitBytes[224], 200);
  EXPECT_EQ(unitBytes[231], 9);
}

TEST(DasFormat, FileNamesFromCustomerKindSystemAndLocalTime) {
  // 2037-12-31 23:59:59 UTC: year 49, month C, 59 x 60 + 59 = 0xE0F.
  std::time_t late = 2145916799;
  EXPECT_EQ(das::fileName("cust/", "C1", das::kPeriodic, 255, late), "cust/49C3123E0FCFF.das");
  EXPECT_EQ(das::fileName("", "C1", das::kTrigger, 10, 1700000005), "35B1422325TA.das");
  EXPECT_EQ(das::fileName("cust/", " ", das::kPeriodic, 3, late), "cust/const3.das");
  EXPECT_EQ(das::fileName("cust/", " ", das::kTrigger, 3, late), "cust/trigger.das");
  EXPECT_EQ(das::fileName(nullptr, "", das::kPeriodic, 12, late), "const12.das");
}

// A file of one unit with one 2-byte group and status length 1, holding
// `records` records and counting `counted` of them.
std::vector<uint8_t> smallFile(uint32_t records, uint32_t counted, uint16_t version = 3) {
  das::FileHeader h{};
  h.version = version;
  h.unitCount = 1;
  h.statusLength = 1;
  h.recordCount = counted;
  std::size_t header = version >= 2 ? das::kHeaderSize : das::kMainHeaderSize;
  std::size_t conditions = version >= 2 ? das::kConditionBlockSize : das::kOldConditionSize;
  h.firstRecordOffset = uint16_t(header + das::kUnitBlockSize + das::kGroupBlockSize + conditions);
  h.recordSize = 4 + 6 + 1 + 2;
  uint8_t head[das::kHeaderSize];
  das::encodeHeader(h, head);
  std::vector<uint8_t> bytes(head, head + header);
  das::UnitBlock unit{};
  unit.groupCount = 1;
  unit.conditionCount = 1;
  uint8_t unitBytes[das::kUnitBlockSize];
  das::encodeUnitBlock(unit, unitBytes);
  bytes.insert(bytes.end(), unitBytes, unitBytes + sizeof unitBytes);
  das::GroupBlock group{};
  std::strcpy(group.key, "E0");
  group.dataLength = 2;
  uint8_t groupBytes[das::kGroupBlockSize];
  das::encodeGroupBlock(group, groupBytes);
  bytes.insert(bytes.end(), groupBytes, groupBytes + sizeof groupBytes);
  bytes.resize(bytes.size() + conditions, 1);
  for (uint32_t r = 0; r < records; ++r) {
    const uint8_t record[] = {uint8_t(r), 0, 0, 0, 9, 0, 0, 0, 3, 0, 0xEE, uint8_t(r), 0x42};
    bytes.insert(bytes.end(), record, record + sizeof record);
  }
  return bytes;
}

TEST(DasFormat, ReadingChecksEverythingTheHeaderClaims) {
  das::File file;
  std::string error;
  std::vector<uint8_t> bytes = smallFile(3, 3);
  ASSERT_TRUE(das::parseFile(bytes.data(), bytes.size(), file, error)) << error;
  ASSERT_EQ(file.records.size(), 3u);
  EXPECT_EQ(file.records[2].time, 2u);
  EXPECT_EQ(file.records[2].parts[0].stamp, 9u);
  EXPECT_EQ(file.records[2].parts[0].status, std::vector<uint8_t>{0xEE});
  EXPECT_EQ(file.records[2].parts[0].data, (std::vector<uint8_t>{2, 0x42}));

  // A tail past the counted records (a write that was cut short) is not
  // read; a count past the whole records is refused.
  bytes = smallFile(3, 2);
  bytes.resize(bytes.size() - 5);
  ASSERT_TRUE(das::parseFile(bytes.data(), bytes.size(), file, error)) << error;
  EXPECT_EQ(file.recordsPresent, 2u);
  bytes = smallFile(2, 3);
  EXPECT_FALSE(das::parseFile(bytes.data(), bytes.size(), file, error));
  EXPECT_NE(error.find("counts 3"), std::string::npos) << error;

  bytes = smallFile(1, 1);
  bytes[236] += 1;  // first-record offset
  EXPECT_FALSE(das::parseFile(bytes.data(), bytes.size(), file, error));
  bytes = smallFile(1, 1);
  bytes[bytes.size() - 5] = 4;  // a group length that is not 1 + 2
  EXPECT_FALSE(das::parseFile(bytes.data(), bytes.size(), file, error));
  bytes = smallFile(1, 1);
  bytes[254] = 2;  // a second unit that is not there
  EXPECT_FALSE(das::parseFile(bytes.data(), bytes.size(), file, error));
  EXPECT_FALSE(das::parseFile(bytes.data(), 100, file, error));

  // Format version 1: no map-name block, two-byte trigger conditions.
  bytes = smallFile(2, 2, 1);
  ASSERT_TRUE(das::parseFile(bytes.data(), bytes.size(), file, error)) << error;
  EXPECT_EQ(file.blocksEnd, das::kMainHeaderSize + das::kUnitBlockSize + das::kGroupBlockSize + 2);
  EXPECT_STREQ(file.units[0].conditions[0].condition1, "1");
}

}  // namespace
