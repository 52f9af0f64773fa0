// The items of a typical unit: 52 items of mixed converters, operators and
// endings over three bus data groups and a text block. The conversion
// benchmark evaluates them on one snapshot; the CSV and search benchmark
// records them for every unit of a large recording.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tables/model_tables.h"

namespace typicalunit {

struct Block {
  const char* name;
  uint16_t length;
};

constexpr Block kBlocks[4] = {{"0400", 64}, {"0401", 64}, {"0402", 48}, {"TXT", 16}};

inline tramsoll::ItemRecord item(const std::string& program, int32_t dataType, const char* fullScale) {
  tramsoll::ItemRecord record{};
  std::snprintf(record.program, sizeof record.program, "%s", program.c_str());
  std::snprintf(record.fullScale, sizeof record.fullScale, "%s", fullScale);
  record.flags = static_cast<uint32_t>(dataType) << tramsoll::itemflag::kTypeShift;
  return record;
}

inline std::string at(const char* block, int index) {
  char text[24];
  std::snprintf(text, sizeof text, "%s[%X]", block, index);
  return text;
}

inline std::vector<tramsoll::ItemRecord> typicalUnit() {
  std::vector<tramsoll::ItemRecord> items;
  for (int i = 0; i < 10; ++i) items.push_back(item("btosa," + at("0400", i) + ",C", 0, "100"));
  for (int i = 0; i < 6; ++i) {
    items.push_back(item("2btosam," + at("0400", 10 + 2 * i) + "," + at("0400", 11 + 2 * i) + ",mul,0.01,kgf/cm2",
                         6, "50"));
  }
  for (int i = 0; i < 5; ++i) {
    items.push_back(item("2btosae1," + at("0401", 2 * i) + "," + at("0401", 2 * i + 1) + ",C", 0, "150"));
  }
  for (int i = 0; i < 12; ++i) {
    items.push_back(item("btob," + at("0402", i) + "," + std::to_string(i % 8) + ",OFF,ON", 1, ""));
  }
  for (int i = 0; i < 5; ++i) items.push_back(item("btoua," + at("0401", 20 + i) + ",mul,10,rpm", 4, "1000"));
  items.push_back(item("2btouam," + at("0401", 30) + "," + at("0401", 31) + ",Hz", 4, "120"));
  items.push_back(item("btoan," + at("0402", 20) + ",3,0,add,1,step", 4, "16"));
  items.push_back(item("2btosae2," + at("0402", 21) + "," + at("0402", 22) + ",%", 5, "100"));
  items.push_back(item("3btosac1," + at("0400", 40) + "," + at("0400", 41) + "," + at("0400", 42) + ",A", 6, "50"));
  items.push_back(item("2ctoecd," + at("TXT", 0) + "," + at("TXT", 1), 3, ""));
  items.push_back(item("nctoa," + at("TXT", 4) + ",4,V", 0, "400"));
  items.push_back(item("2btouam," + at("0402", 30) + "," + at("0402", 31) + ",hex", 3, ""));
  items.push_back(item("btoua," + at("0402", 32) + ",and,00001111,cmp,3,STOP,RUN", 7, ""));
  items.push_back(item("INT8," + at("0400", 50) + ",div,2,sub,1.5,C", 0, "100"));
  items.push_back(item("2btosad2," + at("0401", 40) + "," + at("0401", 41) + ",kgf/cm2", 6, "50"));
  items.push_back(item("btoua," + at("0401", 42) + ",big,128,OFF,ON", 1, ""));
  items.push_back(item("ctoua," + at("TXT", 12) + ",mode", 4, "15"));
  items.push_back(item("on,OFF,ON", 2, ""));
  items.push_back(item("2btosac1," + at("0400", 60) + "," + at("0400", 61) + ",C", 0, "150"));
  return items;
}

}  // namespace typicalunit
