// Item evaluation, the inner loop of CSV export and of every search over a
// recording: a typical unit's 50 items of mixed converters on one snapshot.
// Reports items per second, the heap allocations made per item (0), and the
// time per item as a ratio to formatting the same values with std::to_chars
// alone, measured in the same run (absolute times differ from machine to
// machine; the ratio much less).

// The counting operator new below hands out malloc's memory, which the
// standard operator delete frees; GCC cannot see that they match.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
#include <benchmark/benchmark.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "tables/conversion.h"
#include "typical_unit.h"

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
      if (std::strcmp(typicalunit::kBlocks[b].name, name) != 0) continue;
      out.bytes = bytes_[b];
      out.length = typicalunit::kBlocks[b].length;
      out.time = 1700000000 + static_cast<uint32_t>(b);
      return true;
    }
    return false;
  }
  bool readSensorChannel(int, SensorChannel&) override { return false; }
  uint32_t sampleTime() override { return 1700000000; }

 private:
  uint8_t bytes_[4][kBlockBytes] = {};
};

using Clock = std::chrono::steady_clock;

// The reference: the items' values formatted with std::to_chars alone, two
// decimals, as many times as the items were evaluated. Seconds.
double formatWithToChars(const std::vector<float>& values, int64_t rounds) {
  char text[64];
  Clock::time_point start = Clock::now();
  for (int64_t r = 0; r < rounds; ++r) {
    for (float value : values) {
      std::to_chars_result end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
      benchmark::DoNotOptimize(end.ptr);
      benchmark::DoNotOptimize(text);
    }
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void evaluateTypicalUnit(benchmark::State& state) {
  const std::vector<ItemRecord> items = typicalunit::typicalUnit();
  UnitSnapshot snapshot;
  std::vector<float> values;
  for (const ItemRecord& record : items) {
    float value = 0;
    uint32_t time = 0;
    evaluateLiveValue(record, snapshot, value, time);
    values.push_back(value);
  }
  long failures = 0;
  long before = allocations.load();
  Clock::time_point start = Clock::now();
  for (auto _ : state) {
    for (const ItemRecord& record : items) {
      ItemOutput out;
      if (!evaluateLiveItem(record, snapshot, out)) ++failures;
      benchmark::DoNotOptimize(out);
    }
  }
  double evaluating = std::chrono::duration<double>(Clock::now() - start).count();
  long made = allocations.load() - before;
  double formatting = formatWithToChars(values, static_cast<int64_t>(state.iterations()));
  state.counters["ratio_to_to_chars"] = formatting > 0 ? evaluating / formatting : 0;
  auto evaluations = static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(items.size());
  state.SetItemsProcessed(evaluations);
  state.counters["items"] = static_cast<double>(items.size());
  state.counters["allocations_per_item"] = evaluations ? static_cast<double>(made) / static_cast<double>(evaluations) : 0;
  if (failures) state.SkipWithError("an item failed to evaluate");
}
BENCHMARK(evaluateTypicalUnit);

}  // namespace

BENCHMARK_MAIN();
