// Item evaluation on one snapshot of a typical unit's 52 items of mixed
// converters: the prepared items' result texts, the inner loop of CSV export
// and of every search over a recording, and the live items' shown texts, as
// the display windows evaluate them. Before any timing every item's text is
// checked against the known text it must give for the snapshot (the table
// kKnownTexts below, the reference); a wrong text
// ends the benchmark with an error and no figure. Reports items per second,
// the heap allocations made per item (0), and the time per item as a ratio
// to formatting the same values with std::to_chars alone, measured in the
// same run (absolute times differ from machine to machine; the ratio much
// less).

// The counting operator new below hands out malloc's memory, which the
// standard operator delete frees; GCC cannot see that they match.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
#include <benchmark/benchmark.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "checked_main.h"
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

// The result text each item of the typical unit gives for the snapshot, in
// item order: the byte converters' values follow from the snapshot's bytes
// (byte i of the first group is 7i + 3), the rest are the texts the reviewed
// evaluation gives; a change in any of them is a change in behaviour.
const char* const kKnownTexts[] = {
    "3.0 ", "10.0 ", "17.0 ", "24.0 ", "31.0 ", "38.0 ", "45.0 ", "52.0 ", "59.0 ", "66.0 ", "187.68 ",
    "223.66 ", "259.64 ", "295.62 ", "-3.92 ", "-39.90 ", "1.9 ", "27.8 ", "-53.2 ", "-79.9 ", "-105.6 ", "ON",
    "ON", "ON", "ON", "ON", "ON", "ON", "ON", "ON", "ON", "ON", "OFF", "50 ", "180 ", "310 ", "440 ", "570 ",
    "34708 ", "12 ", "-74.5 ", "290.16 ", "E3", "5.1 ", "e1e0", "STOP", "47.0 ", "9.09 ", "OFF", "2 ", "ON",
    "430.0 ",
};

// The first item whose text is not the known one, with what it gave; "" when all are right.
template <class Evaluate>
std::string firstWrongText(std::size_t count, Evaluate evaluate) {
  constexpr std::size_t kKnown = sizeof kKnownTexts / sizeof kKnownTexts[0];
  for (std::size_t i = 0; i < count; ++i) {
    const std::string text = evaluate(i);
    if (i >= kKnown || text != kKnownTexts[i]) {
      const std::string known = i < kKnown ? kKnownTexts[i] : "?";
      return "item " + std::to_string(i + 1) + " gave \"" + text + "\", known \"" + known + "\"";
    }
  }
  return {};
}

// A wrong answer fails the benchmark with the reason; true when all are right.
template <class Evaluate>
bool answersRight(benchmark::State& state, std::size_t count, Evaluate evaluate) {
  const std::string wrong = firstWrongText(count, evaluate);
  if (wrong.empty()) return true;
  failWithWrongAnswer(state, wrong);
  return false;
}

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

std::vector<float> liveValues(const std::vector<ItemRecord>& items, UnitSnapshot& snapshot) {
  std::vector<float> values;
  for (const ItemRecord& record : items) {
    float value = 0;
    uint32_t time = 0;
    evaluateLiveValue(record, snapshot, value, time);
    values.push_back(value);
  }
  return values;
}

void reportFigures(benchmark::State& state, double evaluating, long made, std::size_t items, long failures,
                   const std::vector<float>& values) {
  if (failures != 0) {
    // A failed item is a wrong answer too: the run must not end as a pass.
    failWithWrongAnswer(state, std::to_string(failures) + " item evaluations failed");
    return;
  }
  double formatting = formatWithToChars(values, static_cast<int64_t>(state.iterations()));
  state.counters["ratio_to_to_chars"] = formatting > 0 ? evaluating / formatting : 0;
  auto evaluations = static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(items);
  state.SetItemsProcessed(evaluations);
  state.counters["items"] = static_cast<double>(items);
  state.counters["allocations_per_item"] =
      evaluations ? static_cast<double>(made) / static_cast<double>(evaluations) : 0;
}

// The inner loop of CSV export and of the searches: prepared items' result texts.
void evaluatePreparedItems(benchmark::State& state) {
  const std::vector<ItemRecord> records = typicalunit::typicalUnit();
  const std::vector<PreparedItem> items(records.begin(), records.end());
  UnitSnapshot snapshot;
  const bool right = answersRight(state, items.size(), [&](std::size_t i) {
    char text[kResultTextSize] = {};
    evaluateRecordText(items[i], snapshot, text, sizeof text);
    return std::string(text);
  });
  if (!right) return;
  long failures = 0;
  long before = allocations.load();
  Clock::time_point start = Clock::now();
  for (auto _ : state) {
    for (const PreparedItem& item : items) {
      char text[kResultTextSize];
      if (!evaluateRecordText(item, snapshot, text, sizeof text)) ++failures;
      benchmark::DoNotOptimize(text);
    }
  }
  double evaluating = std::chrono::duration<double>(Clock::now() - start).count();
  reportFigures(state, evaluating, allocations.load() - before, items.size(), failures, liveValues(records, snapshot));
}
BENCHMARK(evaluatePreparedItems);

// The display windows' path: each live item's shown text, its unit behind it.
void evaluateTypicalUnit(benchmark::State& state) {
  const std::vector<ItemRecord> items = typicalunit::typicalUnit();
  UnitSnapshot snapshot;
  const bool right = answersRight(state, items.size(), [&](std::size_t i) {
    char text[kResultTextSize] = {};
    evaluateRecordText(items[i], snapshot, text, sizeof text);
    ItemOutput out{};
    evaluateLiveItem(items[i], snapshot, out);
    // The live text is the record text followed by the unit.
    return std::strncmp(out.text, text, std::strlen(text)) == 0 ? std::string(text) : std::string(out.text);
  });
  if (!right) return;
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
  reportFigures(state, evaluating, allocations.load() - before, items.size(), failures, liveValues(items, snapshot));
}
BENCHMARK(evaluateTypicalUnit);

}  // namespace

// A wrong answer fails the run as well as skipping its benchmark.
int main(int argc, char** argv) { return runCheckedBenchmarks(argc, argv); }
