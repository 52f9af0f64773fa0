// Synthetic recorded data files: a header, the units' blocks and any number
// of records, written straight through the format's encoders. The counts,
// the first-record offset and the record size are worked out from the
// units; every other header field is the caller's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "files/das_format.h"

namespace dasgen {

struct Group {
  std::string key;
  uint16_t dataLength = 0;
};

struct Unit {
  tramsoll::das::UnitBlock block{};       // group and condition counts are set from the vectors
  std::vector<Group> groups;
  // The stored trigger conditions, written after the item groups.
  std::vector<tramsoll::das::ConditionBlock> conditions;
  tramsoll::das::SensorBlock sensor{};    // written for a sensor-input unit
};

struct Recording {
  tramsoll::das::FileHeader header{};
  std::vector<Unit> units;
  uint32_t records = 0;
  // Data byte i of group `group` of unit `unit` in record r (0-based); when
  // empty, a pattern of all four.
  std::function<uint8_t(uint32_t r, int unit, int group, int i)> dataByte;
  // The stamp of a group part in record r; when empty, the record's time
  // less two seconds.
  std::function<uint32_t(uint32_t r, int unit, int group)> stamp;
};

// A unit block with its texts "<prefix> model/serial/place".
tramsoll::das::UnitBlock unitBlock(uint8_t unitClass, uint8_t number, uint8_t address, const char* modelName,
                                   const std::string& prefix);

// A stored trigger condition: the item's name, the texts of its two
// conditions ("" for one not used) and its data type.
tramsoll::das::ConditionBlock conditionBlock(const std::string& itemName, const std::string& condition1,
                                             const std::string& condition2, uint16_t dataType);

// Writes the file; false with a reason when it cannot be written.
bool writeRecording(const std::string& path, const Recording& recording, std::string& error);

}  // namespace dasgen
