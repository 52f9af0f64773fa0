// The start-up load of a large installation's tables: 300 bus models, each
// with its own item file of 200 items over five data blocks, and the three
// conversion tables. Times initTramsoll from the files to the filled tables
// (each iteration starts from empty tables; the target is under 100 ms), and
// that time as a ratio to reading and descrambling the same files without
// building tables, measured in the same run (the reference). Every load is
// checked against the set it was made from before its figure counts: the
// models and setting rows (300 each), each first and last model's 200 items
// and the name and program of its last item; a wrong load ends the
// benchmark with an error and no figure.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "checked_main.h"
#include "base/debug_ring.h"
#include "tables/conversion_tables.h"
#include "tables/model_tables.h"
#include "tables/scrambled.h"
#include "tables/setting_tables.h"
#include "tramsoll.h"

namespace {

namespace fs = std::filesystem;
using namespace tramsoll;

constexpr int kModels = 300;
constexpr int kItems = 200;

void writeFile(const fs::path& path, const std::string& plain) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  writeScrambled(file, plain.data(), plain.size());
  std::fclose(file);
}

// One item line of every shape the sample files use, chosen by its number.
std::string itemLine(int i) {
  static const char* const kPrograms[] = {
      "I, 150, btoua, E0RUN[%X], Hz",
      "F2, 50, btoua, E4PRS[%X], ptable, 1, kgf/cm2",
      "F, 100, btoua, E4PRS[%X], ptable, 1, stable, 1, C",
      "A, 100, INT8, E2TMP[%X], C",
      "D, 1, btob, E0RUN[%X], 3, OFF, ON",
      "M, , btoua, EAERR[%X], etable, 1",
      "F1, 100, 2btosae1, E2TMP[%X], E2TMP[0], C",
      "M, , btoan, E0RUN[%X], 0, 2, table, 5, FAN, COOL, HEAT, DRY, AUTO",
  };
  char program[128];
  std::snprintf(program, sizeof program, kPrograms[i % 8], i % 16);
  char line[192];
  std::snprintf(line, sizeof line, "Item%03d, 00000000, %d, %s\r\n", i, i < 4 ? 1 : 0, program);
  return line;
}

std::string itemFile() {
  std::string text = "[report]\r\n1\r\n1\r\nBENCH-model, rev1\r\n[data]\r\n";
  for (const char* block : {"60ID, 7", "E0RUN, 16", "E2TMP, 16", "E4PRS, 26", "EAERR, 16"}) text += std::string(block) + "\r\n";
  text += "[item]\r\n";
  for (int i = 0; i < kItems; ++i) text += itemLine(i);
  return text;
}

// A program folder with the large set, removed at the end of the run.
class LargeSet {
 public:
  LargeSet() {
    char pattern[] = "/tmp/pelomar-bench-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    root_ = pattern;
    fs::create_directories(root_ / "table");
    writeFile(root_ / "table/pressure.ktb", "[1]\r\n0, 50, 5, 0\r\n1, 150, 4, 10\r\n2, 255, 3, 45\r\n");
    writeFile(root_ / "table/saturate.ktb", "[1]\r\n0, 5, 6, -25\r\n1, 15, 2.5, -7.5\r\n2, 70, 1.2, 12\r\n");
    std::string codes = "[1]\r\n";
    for (int row = 0; row < 3; ++row) codes += ",A,C,E,H,F,J,L,P,U,N,R,T,Y,B,D\r\n";
    writeFile(root_ / "table/errcode.ktb", codes);
    std::string settings = "VER, BENCH, 1.00, 2024/01/01\r\n";
    const std::string items = itemFile();
    for (int m = 0; m < kModels; ++m) {
      char row[96];
      std::snprintf(row, sizeof row, "DO, BENCH-%03d, m%03d.itm, 1010xxxx%08d\r\n", m, m, 0);
      settings += row;
      char name[32];
      std::snprintf(name, sizeof name, "table/m%03d.itm", m);
      writeFile(root_ / name, items);
    }
    writeFile(root_ / "vexa5.set", settings);
    previous_ = fs::current_path();
    fs::current_path(root_);
  }
  ~LargeSet() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

 private:
  fs::path root_;
  fs::path previous_;
};

void emptyTables() {
  resetModelTables();
  resetConversionTables();
  clearSettingTables();
  debugRing().clear();
}

using Clock = std::chrono::steady_clock;

// The reference: every file of the set read whole and descrambled, no line
// split and no table built. Seconds.
double readAndDescramble() {
  Clock::time_point start = Clock::now();
  std::vector<fs::path> files{"vexa5.set"};
  for (const fs::directory_entry& file : fs::directory_iterator("table")) files.push_back(file.path());
  for (const fs::path& path : files) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (char& byte : bytes) byte = static_cast<char>(scrambleByte(static_cast<uint8_t>(byte)));
    benchmark::DoNotOptimize(bytes.data());
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// What a load of the set must give; "" when it gave it.
constexpr int kUnitType = 0;
constexpr int kGroup = 0;

std::string loadedWrong() {
  int32_t settingRows = 0;
  if (kishuCount() != kModels || !getSettingQ7Count(settingRows) || settingRows != kModels) {
    return "models " + std::to_string(kishuCount()) + ", setting rows " + std::to_string(settingRows);
  }
  char lastName[16];
  std::snprintf(lastName, sizeof lastName, "Item%03d", kItems - 1);
  // The program is kept without the blanks between its words.
  std::string lastLine = itemLine(kItems - 1);
  lastLine.erase(std::remove(lastLine.begin(), lastLine.end(), ' '), lastLine.end());
  for (int32_t model : {0, kModels - 1}) {
    int32_t items = 0;
    ItemRecord last{};
    if (!findKishuSubItemCount(model, kUnitType, kGroup, items) || items != kItems ||
        !getItem(model, kUnitType, kGroup, kItems - 1, last) || std::strcmp(last.name, lastName) != 0 ||
        lastLine.find(last.program) == std::string::npos) {
      return "model " + std::to_string(model) + ": " + std::to_string(items) + " items, the last \"" + last.name +
             "\" \"" + last.program + "\"";
    }
  }
  return {};
}

void BM_InitTramsollLargeSet(benchmark::State& state) {
  LargeSet set;
  double loading = 0, reading = 0;
  bool right = true;
  for (auto _ : state) {
    state.PauseTiming();
    emptyTables();
    reading += readAndDescramble();
    state.ResumeTiming();
    Clock::time_point start = Clock::now();
    const int32_t result = initTramsoll();
    loading += std::chrono::duration<double>(Clock::now() - start).count();
    state.PauseTiming();
    const std::string wrong =
        result != 0 ? "the large set failed to load (" + std::to_string(result) + ")" : loadedWrong();
    state.ResumeTiming();
    if (!wrong.empty()) {
      failWithWrongAnswer(state, wrong);
      right = false;
      break;
    }
  }
  if (right) {
    state.counters["items"] = benchmark::Counter(double{kModels} * kItems);
    state.counters["ratio_to_read_and_descramble"] = reading > 0 ? loading / reading : 0;
  }
  emptyTables();
}
BENCHMARK(BM_InitTramsollLargeSet)->Unit(benchmark::kMillisecond);

}  // namespace

// A wrong answer fails the run as well as skipping its benchmark.
int main(int argc, char** argv) { return runCheckedBenchmarks(argc, argv); }
