#include "sample_units.h"

#include <cstring>
#include <map>
#include <string>

namespace dasgen {

namespace {

struct SampleBlock {
  const char* key;
  std::vector<uint8_t> bytes;  // from byte 5 on; bytes 0-4 are the unit's identity
  int swingAt;                 // data byte that swings, -1 for none
};

struct SampleModelRow {
  SampleModel model;
  uint8_t unitClass;
  const char* itemFile;
  const char* modelText;
  std::vector<SampleBlock> blocks;
};

const std::vector<SampleModelRow>& sampleModels() {
  static const std::vector<SampleModelRow> rows = {
      {SampleModel::Outdoor, 0, "outdr01.itm", "TALMA-224",
       {{"60ID", {0xA1, 0x02}, -1},
        {"E0RUN", {0x01, 0x05, 0x01, 0x5A, 0x0C, 0x80, 0x30, 0x01, 0xF4, 0x00, 0x00}, 8},
        {"E2TMP", {0xFB, 0x1A, 0x80, 0x0C, 0x05, 0x83, 0x14, 0x33, 0x2D, 0x00, 0x82}, 5},
        {"E4PRS", {0x64, 0x32, 0x00, 0xFA, 0x12, 0x08, 0x29, 0x10, 0x00, 0x05, 0x80,
                   0x01, 0x00, 0x10, 0x00, 0x00, 0x48, 0x41, 0x00, 0x3C, 0x00}, 5},
        {"EAERR", {0x00, 0x01, 0x00}, -1}}},
      {SampleModel::Indoor, 1, "indr01.itm", "VELUN-28",
       {{"61ID", {0x41, 0x02}, -1},
        {"62ST", {0x01, 0x02, 0x16, 0x05, 0x03, 0x00, 0x00}, -1},
        {"63TMP", {0x17, 0x17, 0x40, 0x0A, 0x0E, 0x00, 0x2D}, 5},
        {"6BERR", {0x00, 0x00, 0x00}, -1}}},
      {SampleModel::ZoneIndoor, 1, "indr01.itm", "VELUN-36Z",
       {{"61ID", {0x41, 0x85}, -1},
        {"62ST", {0x01, 0x01, 0x17, 0x00, 0x02, 0x00, 0x00}, -1},
        {"63TMP", {0x15, 0x15, 0x00, 0x09, 0x0D, 0x00, 0x28}, 5},
        {"6BERR", {0x00, 0x00, 0x00}, -1},
        {"E0ZONE", {0x32, 0x15, 0x00, 0x00, 0x00}, 6}}},
      {SampleModel::Central, 100, "cntr01.itm", "CORDA-CX1",
       {{"90ID", {0x00, 0xE1, 0x70, 0x01}, -1},
        {"D0RUN", {0x0C, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00}, -1},
        {"D1SET", {0x1A, 0x00, 0x1E, 0x00, 0x00, 0x00, 0x00}, 7},
        {"D2ERR", {0x00, 0x00, 0x00}, -1}}},
  };
  return rows;
}

const SampleModelRow& rowOf(SampleModel model) {
  for (const SampleModelRow& row : sampleModels()) {
    if (row.model == model) return row;
  }
  return sampleModels().front();
}

// The block's bytes as a frame of the unit carries them: its identity (ROM
// number and zubrel address), then the sample data.
std::vector<uint8_t> blockBytes(const Unit& unit, const SampleBlock& block) {
  std::vector<uint8_t> bytes = {0, 0, unit.block.zubrelAddress, unit.block.zubrelAddress, unit.block.zubrelAddress};
  bytes.insert(bytes.end(), block.bytes.begin(), block.bytes.end());
  return bytes;
}

const SampleBlock* findBlock(const std::string& key) {
  for (const SampleModelRow& row : sampleModels()) {
    for (const SampleBlock& block : row.blocks) {
      if (key == block.key) return &block;
    }
  }
  return nullptr;
}

template <std::size_t N>
void setText(char (&field)[N], const char* text) {
  std::memset(field, 0, N);
  std::strncpy(field, text, N - 1);
}

}  // namespace

Unit sampleUnit(SampleModel model, uint8_t number, uint8_t address, uint8_t zubrel) {
  const SampleModelRow& row = rowOf(model);
  Unit unit;
  unit.block = unitBlock(row.unitClass, number, address, row.itemFile, row.modelText);
  std::memset(unit.block.modelText, 0, sizeof unit.block.modelText);
  std::strncpy(unit.block.modelText, row.modelText, sizeof unit.block.modelText - 1);
  unit.block.zubrelAddress = zubrel;
  for (const SampleBlock& block : row.blocks) {
    unit.groups.push_back({block.key, static_cast<uint16_t>(5 + block.bytes.size())});
  }
  return unit;
}

std::function<uint8_t(uint32_t, int, int, int)> sampleData(const std::vector<Unit>& units) {
  // Bytes and swing place of every group, by unit and group.
  struct GroupData {
    std::vector<uint8_t> bytes;
    int swingAt = -1;
  };
  std::vector<std::vector<GroupData>> data;
  for (const Unit& unit : units) {
    std::vector<GroupData>& groups = data.emplace_back();
    for (const Group& group : unit.groups) {
      const SampleBlock* block = findBlock(group.key);
      GroupData& part = groups.emplace_back();
      if (!block) continue;
      part.bytes = blockBytes(unit, *block);
      part.swingAt = block->swingAt;
    }
  }
  return [data](uint32_t r, int unit, int group, int i) -> uint8_t {
    const auto& part = data[static_cast<std::size_t>(unit)][static_cast<std::size_t>(group)];
    if (static_cast<std::size_t>(i) >= part.bytes.size()) return 0;
    const uint8_t byte = part.bytes[static_cast<std::size_t>(i)];
    if (i != part.swingAt) return byte;
    // A triangle of 16 steps over 32 records.
    const uint32_t phase = (r + static_cast<uint32_t>(unit) * 5) % 32;
    return static_cast<uint8_t>(byte + (phase < 16 ? phase : 32 - phase));
  };
}

Recording sampleCsvRecording() {
  Recording made = periodicRecording("Map A", 4);
  tramsoll::das::FileHeader& h = made.header;
  setText(h.customerId, "C001");
  setText(h.customerName, "Customer");
  setText(h.personInCharge, "Person");
  setText(h.modelText, "TALMA-224");
  made.units = {sampleUnit(SampleModel::Outdoor, 1, 1, 1), sampleUnit(SampleModel::Indoor, 1, 17, 1)};
  made.dataByte = sampleData(made.units);
  return made;
}

}  // namespace dasgen
