// Where the conversion interpreter reads a unit's raw data from. One object
// is bound to one unit and one position for an evaluation: a snapshot of the
// live data table, a record of a file opened for replay, or (for the check
// at load) the model's list of data blocks alone.
#pragma once

#include <cstdint>

namespace tramsoll {

constexpr int kBlockKeyLength = 7;      // block names as the data tables key them
constexpr int kBlockBytes = 256;        // the most bytes a block holds
constexpr int kChannelUnitSize = 64;    // unit text of a sensor channel

// The bytes of one named data block at the bound position. `bytes` stays
// valid until the next call on the source.
struct BlockBytes {
  const uint8_t* bytes = nullptr;
  uint16_t length = 0;   // 1 .. kBlockBytes
  uint32_t time = 0;     // whole seconds, as the source keeps them
};

// What the sensor-input scaling needs of analog input 7 or 8: the range
// byte (1 means the reading is multiplied by 5), offset and full scale, and
// the unit text shown behind the value.
struct SensorChannel {
  uint8_t range = 0;
  int32_t offset = 0;
  int32_t fullScale = 0;
  char unit[kChannelUnitSize] = {};
};

class DataSource {
 public:
  virtual ~DataSource() = default;

  // The block of that name (at most kBlockKeyLength characters) of the
  // bound unit at the bound position; false when the unit has no such block
  // or the position is not held.
  virtual bool readBlock(const char* name, BlockBytes& out) = 0;

  // The parameters of analog input `channel` (7 or 8) of the bound unit;
  // false when none are kept (the interpreter then counts every field as 0
  // and the unit text as empty).
  virtual bool readSensorChannel(int channel, SensorChannel& out) = 0;

  // The time of a program that reads no data: the record's sample time for
  // a recorded file, the newest time among the unit's blocks in the bound
  // snapshot for live data (0 when the unit has none).
  virtual uint32_t sampleTime() = 0;
};

}  // namespace tramsoll
