// The layout of a recorded data file (*.das): a 320-byte header, then per
// unit its unit block, item-group blocks, trigger-condition blocks and (for
// the sensor inputs) a sensor block, then fixed-size records of raw bytes.
// Integers are little-endian; texts are NUL-terminated in zero-filled fields.
//
// Encoding and decoding work on byte arrays of the exact block size, so the
// writers and every reader share one description of each block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace tramsoll::das {

constexpr char kMagic[] = "Pelomar3 Data";    // 13 characters
constexpr std::size_t kMagicSize = 16;
constexpr std::size_t kMainHeaderSize = 256;
constexpr std::size_t kMapNameSize = 64;
constexpr std::size_t kHeaderSize = kMainHeaderSize + kMapNameSize;
constexpr std::size_t kUnitBlockSize = 232;
constexpr std::size_t kGroupBlockSize = 16;
constexpr std::size_t kConditionBlockSize = 100;
constexpr std::size_t kOldConditionSize = 2;  // format versions before 2
constexpr std::size_t kSensorBlockSize = 668;
constexpr std::size_t kPartHeadSize = 6;      // stamp and length of a group part
constexpr std::size_t kRecordTimeSize = 4;
constexpr uint16_t kFormatVersion = 3;
constexpr std::size_t kLayoutLimit = 65535;   // offsets and sizes are 16-bit
constexpr int kChannels = 8;

constexpr int kPeriodic = 1;
constexpr int kTrigger = 2;

constexpr int kSensorClass = 200;

struct FileHeader {
  char customerId[32];
  char customerName[64];
  char personInCharge[32];
  char modelText[64];
  uint16_t mapNumber;
  uint16_t systemNumber;
  uint16_t interfaceMode;
  uint16_t recordingKind;
  uint32_t romNumber;
  uint32_t firstRecordTime;
  uint32_t triggerRecord;
  uint32_t recordCount;
  uint16_t interval;
  uint16_t version;
  uint16_t firstRecordOffset;
  uint16_t recordSize;
  uint16_t statusLength;
  uint16_t sensorFlag;
  uint16_t outdoorCount;
  uint16_t indoorCount;
  uint16_t centralCount;
  uint16_t unitCount;
  char mapName[kMapNameSize];
};

struct UnitBlock {
  char modelName[32];  // the unit's item-file name
  char modelText[64];
  char serialNumber[64];
  char place[64];
  uint8_t unitClass;
  uint8_t unitNumber;
  uint8_t address;
  uint8_t rowIndex;
  uint8_t zubrelAddress;
  uint8_t controlAddress;
  uint8_t groupCount;
  uint8_t conditionCount;
};

struct GroupBlock {
  char key[8];
  uint16_t dataLength;
};

struct ConditionBlock {
  char itemName[64];
  char condition1[16];
  char condition2[16];
  uint16_t dataType;
};

struct SensorBlock {
  char names[kChannels][64];
  uint8_t used[kChannels];
  uint8_t switches[2];  // channels 7 and 8
  uint8_t ranges[2];
  int32_t offsets[2];
  int32_t fullScales[2];
  char units[2][64];
};

void encodeHeader(const FileHeader& header, uint8_t (&out)[kHeaderSize]);
// Only the first 256 bytes are read; the map name is left empty. False when
// the magic text (its 13 characters and the terminator) is not there.
bool decodeMainHeader(const uint8_t* bytes, FileHeader& out);

void encodeUnitBlock(const UnitBlock& unit, uint8_t (&out)[kUnitBlockSize]);
void decodeUnitBlock(const uint8_t* bytes, UnitBlock& out);
void encodeGroupBlock(const GroupBlock& group, uint8_t (&out)[kGroupBlockSize]);
void decodeGroupBlock(const uint8_t* bytes, GroupBlock& out);
void encodeConditionBlock(const ConditionBlock& condition, uint8_t (&out)[kConditionBlockSize]);
void decodeConditionBlock(const uint8_t* bytes, ConditionBlock& out);
void encodeSensorBlock(const SensorBlock& sensor, uint8_t (&out)[kSensorBlockSize]);
void decodeSensorBlock(const uint8_t* bytes, SensorBlock& out);

// Little-endian fields inside a byte buffer.
void putU16(uint8_t* at, uint16_t value);
void putU32(uint8_t* at, uint32_t value);
uint16_t getU16(const uint8_t* at);
uint32_t getU32(const uint8_t* at);

// The whole records that a file of `length` bytes holds behind the blocks
// its header describes; 0 for a header without a record size.
uint64_t recordsHeld(int64_t length, const FileHeader& header);

// The file's name: with a customer (id not starting with a blank) the local
// time of the first record, the kind letter and the system number; without
// one "const<system>.das" or "trigger.das". The folder is a plain prefix.
std::string fileName(const char* folder, const char* customerId, int kind, int system, std::time_t firstRecord);

// ---- Reading a whole file (inspection and checks) ----

struct Unit {
  UnitBlock block{};
  std::vector<GroupBlock> groups;
  std::vector<ConditionBlock> conditions;
  bool hasSensor = false;
  SensorBlock sensor{};
};

struct GroupPart {
  uint32_t stamp = 0;
  uint16_t length = 0;
  std::vector<uint8_t> status;
  std::vector<uint8_t> data;
};

struct Record {
  uint32_t time = 0;
  std::vector<GroupPart> parts;  // every unit's groups in block order
};

struct File {
  FileHeader header{};
  std::vector<Unit> units;
  std::size_t blocksEnd = 0;       // where the blocks end (= first record)
  std::size_t fileSize = 0;
  std::size_t recordsPresent = 0;  // whole records the file's length holds
  std::vector<Record> records;     // the header's count of them
};

// Reads a file's bytes. False with a reason for anything a writer of the
// format would not produce: no magic, blocks past the end, a first-record
// offset or record size that does not match the blocks, a part length that
// is not status plus data, or fewer whole records than the header counts.
bool parseFile(const uint8_t* bytes, std::size_t size, File& out, std::string& error);
bool readFile(const std::string& path, File& out, std::string& error);

}  // namespace tramsoll::das
