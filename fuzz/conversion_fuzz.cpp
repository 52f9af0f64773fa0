// Runs arbitrary conversion programs over arbitrary block bytes: every
// program must give a result or fail cleanly, with the check at load and the
// evaluation agreeing on nothing more than staying inside their buffers.
// Input: one byte of data type, one byte of block length, the block bytes,
// then the program text.
#include <cstdint>
#include <cstring>

#include "tables/conversion.h"
#include "tables/model_tables.h"

namespace {

using namespace tramsoll;

class OneBlock : public DataSource {
 public:
  OneBlock(const uint8_t* bytes, uint16_t length) : bytes_(bytes), length_(length) {}
  bool readBlock(const char* name, BlockBytes& out) override {
    if (std::strcmp(name, "d") != 0 || length_ == 0) return false;
    out.bytes = bytes_;
    out.length = length_;
    out.time = 42;
    return true;
  }
  bool readSensorChannel(int, SensorChannel&) override { return false; }
  uint32_t sampleTime() override { return 7; }

 private:
  const uint8_t* bytes_;
  uint16_t length_;
};

int32_t declaredModel(uint16_t length) {
  resetModelTables();
  KishuEntry entry{};
  std::strcpy(entry.fileName, "fuzz.ktb");
  int32_t model = 0;
  int32_t block = 0;
  addKishu(entry, model);
  addKishuData(model, "d", length, block);
  return model;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  int32_t dataType = data[0] & 0x1F;
  uint16_t length = data[1];
  data += 2;
  size -= 2;
  if (length > size) length = static_cast<uint16_t>(size);
  // The block gets its own buffer so a read past its length is caught.
  uint8_t* bytes = new uint8_t[length ? length : 1];
  std::memcpy(bytes, data, length);
  data += length;
  size -= length;

  ItemRecord item{};
  std::memcpy(item.program, data, size < sizeof item.program ? size : sizeof item.program);
  std::strcpy(item.fullScale, "100");
  item.flags = static_cast<uint32_t>(dataType) << itemflag::kTypeShift;

  OneBlock source(bytes, length);
  ItemOutput out;
  evaluateRecordItem(item, source, out);
  float value = 0;
  uint32_t time = 0;
  evaluateRecordValue(item, source, value, time);
  char text[8];
  evaluateRecordText(item, source, text, sizeof text);

  Fields words;
  char program[kProgramSize + 1] = {};
  std::memcpy(program, item.program, kProgramSize);
  splitFields(program, words);
  ProgramCheck check;
  checkItemProgram(declaredModel(length), &words.field[0], kFieldCount, dataType, check);
  delete[] bytes;
  return 0;
}
