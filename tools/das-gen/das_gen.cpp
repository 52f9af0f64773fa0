#include "das_gen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace dasgen {

namespace das = tramsoll::das;

namespace {

constexpr uint32_t kRecordsPerWrite = 1024;
constexpr uint16_t kStatusByte = 0x5A;

template <std::size_t N>
void setText(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

template <std::size_t N>
void append(std::vector<uint8_t>& out, const uint8_t (&block)[N]) {
  out.insert(out.end(), block, block + N);
}

// The header with the counts of the units and the layout of the records.
das::FileHeader completedHeader(const Recording& recording, std::size_t blocksSize, std::size_t recordSize) {
  das::FileHeader h = recording.header;
  h.version = das::kFormatVersion;
  h.recordCount = recording.records;
  h.unitCount = static_cast<uint16_t>(recording.units.size());
  h.outdoorCount = h.indoorCount = h.centralCount = h.sensorFlag = 0;
  for (const Unit& unit : recording.units) {
    switch (unit.block.unitClass) {
      case 0: ++h.outdoorCount; break;
      case 1: ++h.indoorCount; break;
      case 100: ++h.centralCount; break;
      case das::kSensorClass: h.sensorFlag = 1; break;
      default: break;
    }
  }
  h.firstRecordOffset = static_cast<uint16_t>(das::kHeaderSize + blocksSize);
  h.recordSize = static_cast<uint16_t>(recordSize);
  return h;
}

void appendRecord(const Recording& recording, const das::FileHeader& h, uint32_t r, std::vector<uint8_t>& out) {
  uint32_t time = h.firstRecordTime + h.interval * r;
  uint8_t word[4];
  das::putU32(word, time);
  out.insert(out.end(), word, word + 4);
  for (std::size_t u = 0; u < recording.units.size(); ++u) {
    const Unit& unit = recording.units[u];
    for (std::size_t g = 0; g < unit.groups.size(); ++g) {
      int ui = static_cast<int>(u), gi = static_cast<int>(g);
      das::putU32(word, recording.stamp ? recording.stamp(r, ui, gi) : time - 2);
      out.insert(out.end(), word, word + 4);
      uint16_t length = static_cast<uint16_t>(h.statusLength + unit.groups[g].dataLength);
      out.push_back(static_cast<uint8_t>(length));
      out.push_back(static_cast<uint8_t>(length >> 8));
      out.insert(out.end(), h.statusLength, static_cast<uint8_t>(kStatusByte));
      for (int i = 0; i < unit.groups[g].dataLength; ++i) {
        out.push_back(recording.dataByte ? recording.dataByte(r, ui, gi, i)
                                         : static_cast<uint8_t>(r * 5 + u * 7 + g * 13 + static_cast<unsigned>(i)));
      }
    }
  }
}

}  // namespace

das::UnitBlock unitBlock(uint8_t unitClass, uint8_t number, uint8_t address, const char* modelName,
                         const std::string& prefix) {
  das::UnitBlock block{};
  setText(block.modelName, modelName);
  setText(block.modelText, prefix + " model");
  setText(block.serialNumber, prefix + " serial");
  setText(block.place, prefix + " place");
  block.unitClass = unitClass;
  block.unitNumber = number;
  block.address = address;
  return block;
}

das::ConditionBlock conditionBlock(const std::string& itemName, const std::string& condition1,
                                   const std::string& condition2, uint16_t dataType) {
  das::ConditionBlock block{};
  setText(block.itemName, itemName);
  setText(block.condition1, condition1);
  setText(block.condition2, condition2);
  block.dataType = dataType;
  return block;
}

bool writeRecording(const std::string& path, const Recording& recording, std::string& error) {
  std::vector<uint8_t> blocks;
  std::size_t recordSize = das::kRecordTimeSize;
  for (const Unit& unit : recording.units) {
    das::UnitBlock block = unit.block;
    block.groupCount = static_cast<uint8_t>(unit.groups.size());
    block.conditionCount = static_cast<uint8_t>(unit.conditions.size());
    uint8_t bytes[das::kUnitBlockSize];
    das::encodeUnitBlock(block, bytes);
    append(blocks, bytes);
    for (const Group& group : unit.groups) {
      das::GroupBlock g{};
      setText(g.key, group.key);
      g.dataLength = group.dataLength;
      uint8_t groupBytes[das::kGroupBlockSize];
      das::encodeGroupBlock(g, groupBytes);
      append(blocks, groupBytes);
      recordSize += das::kPartHeadSize + recording.header.statusLength + group.dataLength;
    }
    for (const das::ConditionBlock& condition : unit.conditions) {
      uint8_t conditionBytes[das::kConditionBlockSize];
      das::encodeConditionBlock(condition, conditionBytes);
      append(blocks, conditionBytes);
    }
    if (block.unitClass == das::kSensorClass) {
      uint8_t sensorBytes[das::kSensorBlockSize];
      das::encodeSensorBlock(unit.sensor, sensorBytes);
      append(blocks, sensorBytes);
    }
  }
  if (das::kHeaderSize + blocks.size() > das::kLayoutLimit || recordSize > das::kLayoutLimit) {
    error = "the units do not fit the format's 16-bit layout";
    return false;
  }
  das::FileHeader header = completedHeader(recording, blocks.size(), recordSize);
  uint8_t head[das::kHeaderSize];
  das::encodeHeader(header, head);

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = "cannot create " + path;
    return false;
  }
  bool written = std::fwrite(head, 1, sizeof head, file) == sizeof head &&
                 std::fwrite(blocks.data(), 1, blocks.size(), file) == blocks.size();
  std::vector<uint8_t> batch;
  batch.reserve(recordSize * kRecordsPerWrite);
  for (uint32_t r = 0; written && r < recording.records; ++r) {
    appendRecord(recording, header, r, batch);
    if (batch.size() >= recordSize * kRecordsPerWrite || r + 1 == recording.records) {
      written = std::fwrite(batch.data(), 1, batch.size(), file) == batch.size();
      batch.clear();
    }
  }
  if (std::fclose(file) != 0) written = false;
  if (!written) error = "cannot write " + path;
  return written;
}

}  // namespace dasgen
