// CSV conversion, a value search and a min/max search over a large
// recording: 20 units (4 outdoor, 16 indoor) of 50 typical items each,
// recorded every 5 s for 24 hours, written straight into a temporary folder
// and removed at the end. The first item of the last indoor unit runs
// through known values (record r holds r mod 90, the last record 99), so
// every answer is checked before any figure is given: the value search for
// 99 must find the last record (it reads every record to get there), the
// min/max search must give 0 and 99, and that unit's CSV file must hold one
// row per record with 99 in the last row; a wrong answer ends the run with
// an error and no figure. Reports the CSV rate in MB of recorded input per
// second of one core, each search's time beside one plain read of the same
// file in the same run (the reference: a search cannot read less), and the
// peak memory of each phase beyond what the process held before it; the CSV
// time also as a ratio to writing the same rows' numbers with std::to_chars
// and one buffered write, measured in the same run. A timing program, not a
// pass/fail test of speed.
//
//   csv_search_bench [--hours N]     (default 24)
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "das_gen.h"
#include "tables/model_tables.h"
#include "tables/table_lookups.h"
#include "tramsoll.h"
#include "typical_unit.h"

using namespace tramsoll;

namespace {

constexpr int kOutdoorUnits = 4;
constexpr int kIndoorUnits = 16;
constexpr int kItemsPerUnit = 50;
constexpr int kInterval = 5;
constexpr uint32_t kStart = 1700000000;
// The unit whose first item the searches and the CSV check look at: the
// last indoor unit, the last unit of the recording.
constexpr int kCheckedUnit = kOutdoorUnits + kIndoorUnits - 1;
constexpr int kLastValue = 99;

double seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Timing {
  double wall = 0;
  double cpu = 0;
};

template <class Work>
Timing timed(Work work) {
  double wall = seconds(CLOCK_MONOTONIC);
  double cpu = seconds(CLOCK_PROCESS_CPUTIME_ID);
  work();
  return {seconds(CLOCK_MONOTONIC) - wall, seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu};
}

// Resident memory: now, and the peak since the last reset (kB).
long statusValue(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
  }
  return -1;
}

void resetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
}

// The model "bench.itm": the typical unit's first 50 items for outdoor and
// indoor units alike.
bool loadModel() {
  KishuEntry entry{};
  std::strcpy(entry.fileName, "bench.itm");
  int32_t model = -1;
  if (!addKishu(entry, model)) return false;
  std::vector<ItemRecord> items = typicalunit::typicalUnit();
  for (int kind : {0, 1}) {
    for (int i = 0; i < kItemsPerUnit; ++i) {
      ItemRecord item = items[static_cast<std::size_t>(i)];
      std::snprintf(item.name, sizeof item.name, "Item%02d", i + 1);
      if (!addItem(model, kind, 0, item)) return false;
    }
  }
  installTableWords();
  return true;
}

bool writeLargeRecording(const std::string& path, uint32_t records) {
  dasgen::Recording recording;
  das::FileHeader& h = recording.header;
  std::strcpy(h.customerId, "B001");
  std::strcpy(h.customerName, "Benchmark");
  std::strcpy(h.mapName, "Large site");
  h.systemNumber = 1;
  h.interfaceMode = 2;
  h.recordingKind = das::kPeriodic;
  h.firstRecordTime = kStart;
  h.interval = kInterval;
  h.statusLength = 6;
  for (int u = 0; u < kOutdoorUnits + kIndoorUnits; ++u) {
    bool outdoor = u < kOutdoorUnits;
    int number = outdoor ? u + 1 : u - kOutdoorUnits + 1;
    dasgen::Unit unit;
    unit.block = dasgen::unitBlock(outdoor ? 0 : 1, static_cast<uint8_t>(number), static_cast<uint8_t>(16 + u),
                                   "bench.itm", "unit " + std::to_string(u + 1));
    for (const typicalunit::Block& block : typicalunit::kBlocks) unit.groups.push_back({block.name, block.length});
    recording.units.push_back(unit);
  }
  recording.records = records;
  // Byte 0 of the first group is what the first item (a signed byte) shows.
  recording.dataByte = [records](uint32_t r, int unit, int group, int i) -> uint8_t {
    if (unit == kCheckedUnit && group == 0 && i == 0) {
      return static_cast<uint8_t>(r + 1 == records ? kLastValue : r % 90);
    }
    return static_cast<uint8_t>((r * 7 + static_cast<uint32_t>(unit * 3 + group * 11 + i)) % 97);
  };
  std::string error;
  if (!dasgen::writeRecording(path, recording, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
  }
  return true;
}

void readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> buffer(1 << 20);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
  }
}

const char* const kWords[31] = {"Customer ID", "Customer name", "SS contact", "Access method", "Q7-NET",
                                "PCB connection", "Sensor input only", "Q7-NET and sensor input",
                                "PCB connection and sensor input", "Recording mode", "Periodic record",
                                "Trigger record", "Trigger condition meeting time", "Recording interval",
                                "Network map name", "System No.", "ROM serial No.", "Number of outdoor units",
                                "Number of indoor units", "Number of central devices", "Airconditioner No.",
                                "Model name", "Model No.", "Install site (name)", "Auto address",
                                "Zubrel address", "Centralized address", "O-", "I-", "H-", "Sensor"};

bool convertToCsv(const std::string& folder, const std::string& base) {
  const char* const* w = kWords;
  CsvDateSet("", "", 3);
  if (setCsvFile(folder.c_str(), 1, base.c_str(), w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8], w[9],
                 w[10], w[11], w[12], w[13], w[14], w[15], w[16], w[17], w[18], w[19], w[20], w[21], w[22], w[23],
                 w[24], w[25], w[26], w[27], w[28], w[29], w[30]) != 0)
    return false;
  int32_t progress = 0;
  int32_t result = 1;
  while (result == 1) result = execCsvOut(&progress);
  return result == 0;
}

bool wrong(const char* what) {
  std::fprintf(stderr, "wrong answer: %s\n", what);
  return false;
}

// The search for the last record's value reads every record once to find it.
bool searchValue(const std::string& folder, uint32_t records) {
  if (setDataSrch(folder.c_str(), 1, 1, kIndoorUnits, 1, 1, 1, static_cast<float>(kLastValue)) != 0) return false;
  int32_t record = 0;
  int32_t result = 2;
  while (result == 2) result = execDataSrch(&record);
  if (result != 0 || record != static_cast<int32_t>(records)) return wrong("the value search missed the last record");
  return true;
}

bool searchMinMax(const std::string& folder) {
  if (setMinMaxSrch(folder.c_str(), 1, 1, kIndoorUnits, 1) != 0) return false;
  int32_t progress = 0;
  while (execMinMaxSrch(&progress) == 1) {
  }
  float low = 0, high = 0;
  if (getMinMaxData(&low, &high) != 0 || low != 0.0f || high != static_cast<float>(kLastValue)) {
    return wrong("the min/max search did not give 0 and 99");
  }
  return true;
}

// The checked unit's CSV file: one row per record (rows begin with the
// quoted date), the first item of the last row "99.0 ".
bool csvRight(const std::string& base, uint32_t records) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "_Iu%02d.csv", kIndoorUnits);
  std::ifstream in(base + suffix, std::ios::binary);
  std::string line, last;
  uint32_t rows = 0;
  while (std::getline(in, line)) {
    if (line.size() < 2 || line[0] != '"' || line[1] < '0' || line[1] > '9') continue;
    ++rows;
    last = line;
  }
  const std::size_t first = last.find(',');
  const std::string value =
      first == std::string::npos ? std::string() : last.substr(first + 1, last.find(',', first + 1) - first - 1);
  if (rows != records || value != "\"" + std::to_string(kLastValue) + ".0 \"") {
    return wrong("the CSV file is not the recording's");
  }
  return true;
}

// The reference: the rows of every unit's CSV file (the record's time, then
// one number per item) formatted with std::to_chars into one buffer and
// written with one write.
bool writeNumbersOnly(const std::string& path, uint32_t records) {
  std::string buffer;
  char number[32];
  auto append = [&](std::to_chars_result end) { buffer.append(number, end.ptr); };
  for (int u = 0; u < kOutdoorUnits + kIndoorUnits; ++u) {
    for (uint32_t r = 0; r < records; ++r) {
      append(std::to_chars(number, number + sizeof number, kStart + r * kInterval));
      for (uint32_t i = 0; i < kItemsPerUnit; ++i) {
        float value = static_cast<float>((r * 7 + i * 13 + static_cast<uint32_t>(u)) % 2000) / 10.0f;
        buffer += ',';
        append(std::to_chars(number, number + sizeof number, value, std::chars_format::fixed, 1));
      }
      buffer += "\r\n";
    }
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(buffer.data(), 1, buffer.size(), file) == buffer.size();
  return std::fclose(file) == 0 && written;
}

// A phase's time and its peak memory beyond what the process held before it.
struct Phase {
  Timing timing;
  long peakKb = 0;
};

template <class Work>
Phase phase(Work work) {
  const long base = statusValue("VmRSS:");
  resetPeak();
  const Timing timing = timed(work);
  return {timing, statusValue("VmHWM:") - base};
}

struct Figures {
  double megabytes = 0;
  Timing read;
  Phase csv, value, minMax;
  Timing numbers;
};

// The two searches over the selected file; false when one failed or gave a
// wrong answer.
bool search(const std::string& folder, uint32_t records, Figures& figures) {
  if (selectDataFile(folder.c_str(), 1) != 0) return false;
  bool ok = true;
  figures.value = phase([&] { ok = searchValue(folder, records); });
  if (ok) figures.minMax = phase([&] { ok = searchMinMax(folder); });
  closeDataFile(folder.c_str(), 1);
  return ok;
}

// Every phase in turn, each checked; the figures are kept for the end, when
// every answer has been checked. False when a phase failed or gave a wrong
// answer.
bool measure(const std::string& folder, const std::string& path, uint32_t records, Figures& figures) {
  readWhole(path);  // every phase reads from the page cache
  figures.read = timed([&] { readWhole(path); });
  bool ok = true;
  figures.csv = phase([&] { ok = convertToCsv(folder, folder + "out"); });
  if (!ok || !csvRight(folder + "out", records) || !search(folder, records, figures)) return false;
  figures.numbers = timed([&] { ok = writeNumbersOnly(folder + "numbers.csv", records); });
  clearFileList();
  return ok;
}

void report(const char* name, double megabytes, const Phase& measured) {
  const Timing& t = measured.timing;
  std::printf("%-22s %8.3f s wall %8.3f s CPU %9.1f MB/s (CPU) %8ld kB peak memory\n", name, t.wall, t.cpu,
              megabytes / std::max(t.cpu, 1e-9), measured.peakKb);
}

void printFigures(uint32_t records, const Figures& figures) {
  const double megabytes = figures.megabytes;
  std::printf("recording: %u records of %d units x %d items, %.1f MB\n", records, kOutdoorUnits + kIndoorUnits,
              kItemsPerUnit, megabytes);
  std::printf("%-22s %8.3f s wall %30.1f MB/s (wall)\n", "plain read of the file", figures.read.wall,
              megabytes / figures.read.wall);
  report("CSV conversion", megabytes, figures.csv);
  report("value search", megabytes, figures.value);
  report("min/max search", megabytes, figures.minMax);
  std::printf("searches against one plain read (wall): value %.1fx, min/max %.1fx the read's time\n",
              figures.value.timing.wall / figures.read.wall, figures.minMax.timing.wall / figures.read.wall);
  std::printf("CSV %.1f MB/s of one core (target at least 50)\n", megabytes / figures.csv.timing.cpu);
  std::printf("CSV against the same numbers by std::to_chars and one write (CPU): %.2f\n",
              figures.csv.timing.cpu / figures.numbers.cpu);
}

int finish(const char* folder, bool ok) {
  std::filesystem::remove_all(folder);
  if (!ok) std::fprintf(stderr, "the benchmark did not run through or gave a wrong answer: no figures\n");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  int hours = 24;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--hours") == 0) hours = std::max(1, std::atoi(argv[i + 1]));
  }
  setenv("TZ", "UTC", 1);
  tzset();
  char pattern[] = "/tmp/csv_search_bench.XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  std::string folder = std::string(pattern) + "/";
  std::string path = folder + "large.das";
  uint32_t records = static_cast<uint32_t>(hours) * 3600 / kInterval;
  bool ok = loadModel() && writeLargeRecording(path, records);
  Figures figures;
  figures.megabytes = ok ? static_cast<double>(std::filesystem::file_size(path)) / 1e6 : 0;
  int32_t listed = 0;
  ok = ok && getFileNum(folder.c_str(), &listed) == 0 && listed == 1 && measure(folder, path, records, figures);
  // Every answer was right: only now the figures.
  if (ok) printFigures(records, figures);
  return finish(pattern, ok);
}
