#include "files/das_format.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/local_time.h"
#include "base/regular_file.h"

namespace tramsoll::das {

namespace {

// A text into a zero-filled field, cut to leave room for the terminator.
template <std::size_t N>
void putText(uint8_t* at, const char (&text)[N], std::size_t fieldSize) {
  std::memset(at, 0, fieldSize);
  std::size_t length = strnlen(text, N);
  if (length > fieldSize - 1) length = fieldSize - 1;
  std::memcpy(at, text, length);
}

// A field into a text, always terminated.
template <std::size_t N>
void getText(const uint8_t* at, char (&text)[N], std::size_t fieldSize) {
  std::memset(text, 0, N);
  std::size_t length = fieldSize < N ? fieldSize : N - 1;
  std::memcpy(text, at, length);
  text[N - 1] = '\0';
}

}  // namespace

void putU16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void putU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint16_t getU16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

uint32_t getU32(const uint8_t* at) {
  return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

uint64_t recordsHeld(int64_t length, const FileHeader& header) {
  if (header.recordSize == 0 || length <= header.firstRecordOffset) return 0;
  return (static_cast<uint64_t>(length) - header.firstRecordOffset) / header.recordSize;
}

void encodeHeader(const FileHeader& h, uint8_t (&out)[kHeaderSize]) {
  std::memset(out, 0, sizeof out);
  std::memcpy(out, kMagic, sizeof kMagic);
  putText(out + 16, h.customerId, 32);
  putText(out + 48, h.customerName, 64);
  putText(out + 112, h.personInCharge, 32);
  putText(out + 144, h.modelText, 64);
  putU16(out + 208, h.mapNumber);
  putU16(out + 210, h.systemNumber);
  putU16(out + 212, h.interfaceMode);
  putU16(out + 214, h.recordingKind);
  putU32(out + 216, h.romNumber);
  putU32(out + 220, h.firstRecordTime);
  putU32(out + 224, h.triggerRecord);
  putU32(out + 228, h.recordCount);
  putU16(out + 232, h.interval);
  putU16(out + 234, h.version);
  putU16(out + 236, h.firstRecordOffset);
  putU16(out + 238, h.recordSize);
  putU16(out + 240, h.statusLength);
  putU16(out + 246, h.sensorFlag);
  putU16(out + 248, h.outdoorCount);
  putU16(out + 250, h.indoorCount);
  putU16(out + 252, h.centralCount);
  putU16(out + 254, h.unitCount);
  putText(out + 256, h.mapName, kMapNameSize);
}

bool decodeMainHeader(const uint8_t* in, FileHeader& h) {
  h = FileHeader{};
  if (std::memcmp(in, kMagic, sizeof kMagic) != 0) return false;
  getText(in + 16, h.customerId, 32);
  getText(in + 48, h.customerName, 64);
  getText(in + 112, h.personInCharge, 32);
  getText(in + 144, h.modelText, 64);
  h.mapNumber = getU16(in + 208);
  h.systemNumber = getU16(in + 210);
  h.interfaceMode = getU16(in + 212);
  h.recordingKind = getU16(in + 214);
  h.romNumber = getU32(in + 216);
  h.firstRecordTime = getU32(in + 220);
  h.triggerRecord = getU32(in + 224);
  h.recordCount = getU32(in + 228);
  h.interval = getU16(in + 232);
  h.version = getU16(in + 234);
  h.firstRecordOffset = getU16(in + 236);
  h.recordSize = getU16(in + 238);
  h.statusLength = getU16(in + 240);
  h.sensorFlag = getU16(in + 246);
  h.outdoorCount = getU16(in + 248);
  h.indoorCount = getU16(in + 250);
  h.centralCount = getU16(in + 252);
  h.unitCount = getU16(in + 254);
  return true;
}

void encodeUnitBlock(const UnitBlock& u, uint8_t (&out)[kUnitBlockSize]) {
  std::memset(out, 0, sizeof out);
  putText(out, u.modelName, 32);
  putText(out + 32, u.modelText, 64);
  putText(out + 96, u.serialNumber, 64);
  putText(out + 160, u.place, 64);
  const uint8_t bytes[] = {u.unitClass,     u.unitNumber,     u.address,    u.rowIndex,
                           u.zubrelAddress, u.controlAddress, u.groupCount, u.conditionCount};
  std::memcpy(out + 224, bytes, sizeof bytes);
}

void decodeUnitBlock(const uint8_t* in, UnitBlock& u) {
  u = UnitBlock{};
  getText(in, u.modelName, 32);
  getText(in + 32, u.modelText, 64);
  getText(in + 96, u.serialNumber, 64);
  getText(in + 160, u.place, 64);
  u.unitClass = in[224];
  u.unitNumber = in[225];
  u.address = in[226];
  u.rowIndex = in[227];
  u.zubrelAddress = in[228];
  u.controlAddress = in[229];
  u.groupCount = in[230];
  u.conditionCount = in[231];
}

void encodeGroupBlock(const GroupBlock& g, uint8_t (&out)[kGroupBlockSize]) {
  std::memset(out, 0, sizeof out);
  putText(out, g.key, 8);
  putU16(out + 8, g.dataLength);
}

void decodeGroupBlock(const uint8_t* in, GroupBlock& g) {
  g = GroupBlock{};
  getText(in, g.key, 8);
  g.dataLength = getU16(in + 8);
}

void encodeConditionBlock(const ConditionBlock& c, uint8_t (&out)[kConditionBlockSize]) {
  std::memset(out, 0, sizeof out);
  putText(out, c.itemName, 64);
  putText(out + 64, c.condition1, 16);
  putText(out + 80, c.condition2, 16);
  putU16(out + 96, c.dataType);
}

void decodeConditionBlock(const uint8_t* in, ConditionBlock& c) {
  c = ConditionBlock{};
  getText(in, c.itemName, 64);
  getText(in + 64, c.condition1, 16);
  getText(in + 80, c.condition2, 16);
  c.dataType = getU16(in + 96);
}

void encodeSensorBlock(const SensorBlock& s, uint8_t (&out)[kSensorBlockSize]) {
  std::memset(out, 0, sizeof out);
  for (int i = 0; i < kChannels; ++i) putText(out + 64 * i, s.names[i], 64);
  std::memcpy(out + 512, s.used, kChannels);
  std::memcpy(out + 520, s.switches, 2);
  std::memcpy(out + 522, s.ranges, 2);
  for (int i = 0; i < 2; ++i) {
    putU32(out + 524 + 4 * i, static_cast<uint32_t>(s.offsets[i]));
    putU32(out + 532 + 4 * i, static_cast<uint32_t>(s.fullScales[i]));
    putText(out + 540 + 64 * i, s.units[i], 64);
  }
}

void decodeSensorBlock(const uint8_t* in, SensorBlock& s) {
  s = SensorBlock{};
  for (int i = 0; i < kChannels; ++i) getText(in + 64 * i, s.names[i], 64);
  std::memcpy(s.used, in + 512, kChannels);
  std::memcpy(s.switches, in + 520, 2);
  std::memcpy(s.ranges, in + 522, 2);
  for (int i = 0; i < 2; ++i) {
    s.offsets[i] = static_cast<int32_t>(getU32(in + 524 + 4 * i));
    s.fullScales[i] = static_cast<int32_t>(getU32(in + 532 + 4 * i));
    getText(in + 540 + 64 * i, s.units[i], 64);
  }
}

std::string fileName(const char* folder, const char* customerId, int kind, int system, std::time_t firstRecord) {
  std::string name = folder ? folder : "";
  char part[64];
  bool customer = customerId && customerId[0] != '\0' && customerId[0] != ' ';
  if (!customer) {
    if (kind == kPeriodic) {
      std::snprintf(part, sizeof part, "const%d.das", system);
    } else {
      std::snprintf(part, sizeof part, "trigger.das");
    }
    return name + part;
  }
  LocalDate local;
  // A time without a date names the file as the zero calendar fields would
  // (year 1900, month 1, day 0).
  if (!localFields(firstRecord, local)) local = LocalDate{1900, 1, 0, 0, 0, 0};
  std::snprintf(part, sizeof part, "%02d%X%02d%02d%03X%c%X.das", local.year - 1988, local.month, local.day, local.hour,
                local.minute * 60 + local.second, kind == kPeriodic ? 'C' : 'T', static_cast<unsigned>(system));
  return name + part;
}

// ---- Reading ----

namespace {

class Cursor {
 public:
  Cursor(const uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
  // The next `count` bytes, or nullptr (and nothing taken) past the end.
  const uint8_t* take(std::size_t count) {
    if (count > size_ - position_) return nullptr;
    const uint8_t* at = bytes_ + position_;
    position_ += count;
    return at;
  }
  std::size_t position() const { return position_; }

 private:
  const uint8_t* bytes_;
  std::size_t size_;
  std::size_t position_ = 0;
};

bool fail(std::string& error, const char* format, unsigned long a = 0, unsigned long b = 0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b);
  error = text;
  return false;
}

bool readUnit(Cursor& in, const File& file, Unit& unit, std::string& error) {
  const uint8_t* at = in.take(kUnitBlockSize);
  if (!at) return fail(error, "unit block past the end at %lu", in.position());
  decodeUnitBlock(at, unit.block);
  for (int g = 0; g < unit.block.groupCount; ++g) {
    at = in.take(kGroupBlockSize);
    if (!at) return fail(error, "item-group block past the end at %lu", in.position());
    GroupBlock group;
    decodeGroupBlock(at, group);
    unit.groups.push_back(group);
  }
  bool oldFormat = file.header.version < 2;
  for (int c = 0; c < unit.block.conditionCount; ++c) {
    at = in.take(oldFormat ? kOldConditionSize : kConditionBlockSize);
    if (!at) return fail(error, "trigger-condition block past the end at %lu", in.position());
    ConditionBlock condition{};
    if (oldFormat) {
      std::snprintf(condition.condition1, sizeof condition.condition1, "%u", at[0]);
      std::snprintf(condition.condition2, sizeof condition.condition2, "%u", at[1]);
    } else {
      decodeConditionBlock(at, condition);
    }
    unit.conditions.push_back(condition);
  }
  if (unit.block.unitClass == kSensorClass) {
    at = in.take(kSensorBlockSize);
    if (!at) return fail(error, "sensor block past the end at %lu", in.position());
    decodeSensorBlock(at, unit.sensor);
    unit.hasSensor = true;
  }
  return true;
}

bool readRecord(Cursor& in, const File& file, Record& record, std::string& error) {
  const uint8_t* at = in.take(kRecordTimeSize);
  record.time = getU32(at);
  std::size_t status = file.header.statusLength;
  for (const Unit& unit : file.units) {
    for (const GroupBlock& group : unit.groups) {
      GroupPart part;
      at = in.take(kPartHeadSize);
      part.stamp = getU32(at);
      part.length = getU16(at + 4);
      if (part.length != status + group.dataLength) {
        return fail(error, "group part length %lu where %lu belongs", part.length, status + group.dataLength);
      }
      at = in.take(part.length);
      part.status.assign(at, at + status);
      part.data.assign(at + status, at + part.length);
      record.parts.push_back(std::move(part));
    }
  }
  return true;
}

}  // namespace

bool parseFile(const uint8_t* bytes, std::size_t size, File& out, std::string& error) {
  out = File{};
  out.fileSize = size;
  if (size < kMainHeaderSize) return fail(error, "file of %lu bytes holds no header", size);
  if (!decodeMainHeader(bytes, out.header)) return fail(error, "no \"Pelomar3 Data\" magic");
  Cursor in(bytes, size);
  in.take(kMainHeaderSize);
  if (out.header.version >= 2) {
    const uint8_t* at = in.take(kMapNameSize);
    if (!at) return fail(error, "no map-name block");
    getText(at, out.header.mapName, kMapNameSize);
  }
  std::size_t recordSize = kRecordTimeSize;
  for (int u = 0; u < out.header.unitCount; ++u) {
    Unit unit;
    if (!readUnit(in, out, unit, error)) return false;
    for (const GroupBlock& group : unit.groups) recordSize += kPartHeadSize + out.header.statusLength + group.dataLength;
    out.units.push_back(std::move(unit));
  }
  out.blocksEnd = in.position();
  if (out.blocksEnd != out.header.firstRecordOffset) {
    return fail(error, "blocks end at %lu, header says %lu", out.blocksEnd, out.header.firstRecordOffset);
  }
  if (recordSize != out.header.recordSize) {
    return fail(error, "blocks make records of %lu bytes, header says %lu", recordSize, out.header.recordSize);
  }
  out.recordsPresent = (size - out.blocksEnd) / recordSize;
  if (out.recordsPresent < out.header.recordCount) {
    return fail(error, "header counts %lu records, the file holds %lu", out.header.recordCount, out.recordsPresent);
  }
  for (uint32_t r = 0; r < out.header.recordCount; ++r) {
    Record record;
    if (!readRecord(in, out, record, error)) return false;
    out.records.push_back(std::move(record));
  }
  return true;
}

bool readFile(const std::string& path, File& out, std::string& error) {
  int fd = regularfile::open(path.c_str(), O_RDONLY);
  if (fd < 0) return fail(error, errno == EINVAL ? "not a regular file" : "cannot open the file");
  std::string bytes;
  bool read = regularfile::readAll(fd, bytes);
  ::close(fd);
  if (!read) return fail(error, "cannot read the file");
  return parseFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, error);
}

}  // namespace tramsoll::das
