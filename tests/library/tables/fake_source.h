// A data source over blocks held in memory, standing in for a live snapshot
// or a replayed record.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "tables/data_source.h"
#include "tables/model_tables.h"

namespace tramsoll::testing {

class FakeSource : public DataSource {
 public:
  void add(const std::string& name, std::vector<uint8_t> bytes, uint32_t time = 0) {
    blocks_.push_back({name, std::move(bytes), time});
  }
  void addText(const std::string& name, const std::string& text, uint32_t time = 0) {
    add(name, std::vector<uint8_t>(text.begin(), text.end()), time);
  }
  void setChannel(int channel, const SensorChannel& record) { (channel == 7 ? channel7_ : channel8_) = record; }

  bool readBlock(const char* name, BlockBytes& out) override {
    ++reads;
    for (const auto& block : blocks_) {
      if (block.name != name) continue;
      out.bytes = block.bytes.data();
      out.length = static_cast<uint16_t>(block.bytes.size());
      out.time = block.time;
      return !block.bytes.empty();
    }
    return false;
  }
  bool readSensorChannel(int channel, SensorChannel& out) override {
    if (channel != 7 && channel != 8) return false;
    out = channel == 7 ? channel7_ : channel8_;
    return true;
  }
  uint32_t sampleTime() override { return sample; }

  uint32_t sample = 0;
  int reads = 0;

 private:
  struct Block {
    std::string name;
    std::vector<uint8_t> bytes;
    uint32_t time;
  };
  std::vector<Block> blocks_;
  SensorChannel channel7_;
  SensorChannel channel8_;
};

// An item of that data type carrying the program and the full-scale text.
inline ItemRecord makeItem(const std::string& program, int32_t dataType, const char* fullScale = "") {
  ItemRecord item{};
  std::strncpy(item.program, program.c_str(), sizeof item.program - 1);
  std::strncpy(item.fullScale, fullScale, sizeof item.fullScale - 1);
  item.flags = static_cast<uint32_t>(dataType) << itemflag::kTypeShift;
  return item;
}

}  // namespace tramsoll::testing
