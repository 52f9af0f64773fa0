// Item evaluation, the inner loop of CSV export and of every search over a
// recording: a typical unit's 50 items of mixed converters on one snapshot.
// Reports items per second and the heap allocations made per item (0).

// The counting operator new below hands out malloc's memory, which the
// standard operator delete frees; GCC cannot see that they match.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "tables/conversion.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

// Counts every allocation; the library's own operator delete frees what
// malloc gave.
void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

namespace {

using namespace tramsoll;

// One snapshot of a unit: three bus data groups and a text block.
class UnitSnapshot : public DataSource {
 public:
  UnitSnapshot() {
    for (int i = 0; i < kBlockBytes; ++i) {
      bytes_[0][i] = static_cast<uint8_t>(i * 7 + 3);
      bytes_[1][i] = static_cast<uint8_t>(i * 13 + 1);
      bytes_[2][i] = static_cast<uint8_t>(255 - i);
    }
    std::memcpy(bytes_[3], "E3  21.5 0042", 13);
  }
  bool readBlock(const char* name, BlockBytes& out) override {
    for (int b = 0; b < 4; ++b) {
      if (std::strcmp(kNames[b], name) != 0) continue;
      out.bytes = bytes_[b];
      out.length = kLengths[b];
      out.time = 1700000000 + static_cast<uint32_t>(b);
      return true;
    }
    return false;
  }
  bool readSensorChannel(int, SensorChannel&) override { return false; }
  uint32_t sampleTime() override { return 1700000000; }

 private:
  static constexpr const char* kNames[4] = {"0400", "0401", "0402", "TXT"};
  static constexpr uint16_t kLengths[4] = {64, 64, 48, 16};
  uint8_t bytes_[4][kBlockBytes] = {};
};

ItemRecord item(const std::string& program, int32_t dataType, const char* fullScale) {
  ItemRecord record{};
  std::snprintf(record.program, sizeof record.program, "%s", program.c_str());
  std::snprintf(record.fullScale, sizeof record.fullScale, "%s", fullScale);
  record.flags = static_cast<uint32_t>(dataType) << itemflag::kTypeShift;
  return record;
}

std::string at(const char* block, int index) {
  char text[24];
  std::snprintf(text, sizeof text, "%s[%X]", block, index);
  return text;
}

std::vector<ItemRecord> typicalUnit() {
  std::vector<ItemRecord> items;
  for (int i = 0; i < 10; ++i) items.push_back(item("btosa," + at("0400", i) + ",C", 0, "100"));
  for (int i = 0; i < 6; ++i) {
    items.push_back(item("2btosam," + at("0400", 10 + 2 * i) + "," + at("0400", 11 + 2 * i) + ",mul,0.01,kgf/cm2",
                         6, "50"));
  }
  for (int i = 0; i < 5; ++i) {
    items.push_back(item("2btosae1," + at("0401", 2 * i) + "," + at("0401", 2 * i + 1) + ",C", 0, "150"));
  }
  for (int i = 0; i < 12; ++i) items.push_back(item("btob," + at("0402", i) + "," + std::to_string(i % 8) + ",OFF,ON", 1, ""));
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

void evaluateTypicalUnit(benchmark::State& state) {
  const std::vector<ItemRecord> items = typicalUnit();
  UnitSnapshot snapshot;
  long failures = 0;
  long before = allocations.load();
  for (auto _ : state) {
    for (const ItemRecord& record : items) {
      ItemOutput out;
      if (!evaluateLiveItem(record, snapshot, out)) ++failures;
      benchmark::DoNotOptimize(out);
    }
  }
  long made = allocations.load() - before;
  auto evaluations = static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(items.size());
  state.SetItemsProcessed(evaluations);
  state.counters["items"] = static_cast<double>(items.size());
  state.counters["allocations_per_item"] = evaluations ? static_cast<double>(made) / static_cast<double>(evaluations) : 0;
  if (failures) state.SkipWithError("an item failed to evaluate");
}
BENCHMARK(evaluateTypicalUnit);

}  // namespace

BENCHMARK_MAIN();
