// Bus-mode gathering (1 ms worker tick) against the simulated adapter: the
// worker thread's CPU use and how late each gather slot's snapshot comes,
// for the small sample installation and for a large one of 64 units that
// each send two frames every 5 s. A timing program, not a pass/fail test.
//
//   gather_bench [--seconds N]     (default 10 s per installation)
#include <pthread.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/clock.h"
#include "engine/settings.h"
#include "engine/timer_step.h"
#include "simulator.h"
#include "tables/model_tables.h"
#include "tables/setting_tables.h"
#include "tramsoll.h"

using namespace tramsoll;

namespace {

// ---- A model set for the bus units of the scenarios ----

template <std::size_t N>
void copy(char (&field)[N], const char* text) {
  std::memset(field, 0, N);
  std::strncpy(field, text, N - 1);
}

void addItem(int32_t file, int type, int group, const char* name, int32_t dataType, const char* program) {
  ItemRecord item{};
  copy(item.name, name);
  item.flags = static_cast<uint32_t>(dataType) << itemflag::kTypeShift;
  copy(item.fullScale, "100");
  copy(item.program, program);
  tramsoll::addItem(file, type, group, item);
}

int32_t addFile(const char* name, std::initializer_list<const char*> blocks, int type, const char* groupName) {
  KishuEntry entry{};
  copy(entry.fileName, name);
  int32_t file = 0;
  int32_t index = 0;
  addKishu(entry, file);
  for (const char* block : blocks) addKishuData(file, block, 16, index);
  UnitGroup group{};
  group.unitType = static_cast<uint8_t>(type);
  group.groupNumber = type == 100 ? 0 : 1;
  copy(group.groupName, groupName);
  addKishuSub(file, group);
  return file;
}

void addBusRow(uint8_t kind, const char* model, const char* file, uint16_t value, uint16_t mask) {
  SettingQ7Row row{};
  row.connectionKind = kind;
  copy(row.modelName, model);
  copy(row.itemFile, file);
  row.longValue = value;
  row.longMask = mask;
  if (kind == connect::kDC) {
    row.centralValue = 0xE1;
    row.centralMask = 0xF3;
  }
  addSettingQ7(row);
}

// The rows of the sample setting file that the scenarios' units match, with
// item files whose error and warning items the slots evaluate.
void loadModelSet() {
  addBusRow(connect::kDO, "TALMA-224", "outdr01.itm", 0xA000, 0xF0F0);
  addBusRow(connect::kDI, "VELUN-28", "indr01.itm", 0x4000, 0xF0F0);
  addBusRow(connect::kDIZ, "VELUN-36Z", "indr01.itm", 0x4080, 0xF0F0);
  addBusRow(connect::kDC, "CORDA-CX1", "cntr01.itm", 0x7001, 0xF00F);
  int32_t outdoor = addFile("outdr01.itm", {"60", "65", "66"}, 0, "TALMA");
  addItem(outdoor, 0, 1, "Outlet temp", datatype::kAnalog, "btoua,65[5],C");
  addItem(outdoor, 0, 1, "Pressure", datatype::kFloat1, "btoua,65[7],kgf/cm2");
  addItem(outdoor, 0, 1, "Error", datatype::kBinary, "btob,65[6],0,0,1");
  addItem(outdoor, 0, 1, "Warning", datatype::kOnOff, "btob,65[6],1,OFF,ON");
  int32_t indoor = addFile("indr01.itm", {"61", "62"}, 1, "VELUN");
  addItem(indoor, 1, 1, "Room temp", datatype::kAnalog, "btoua,62[5],C");
  addItem(indoor, 1, 1, "Error", datatype::kBinary, "btob,62[7],0,0,1");
  addItem(indoor, 1, 1, "Warning", datatype::kOnOff, "btob,62[7],1,OFF,ON");
  int32_t central = addFile("cntr01.itm", {"90", "D0"}, 100, "CORDA");
  addItem(central, 100, 0, "Mode", datatype::kInteger, "btoua,D0[5],x");
}

// ---- Installations ----

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// 16 outdoor units with three indoor units each, every unit sending its
// model frame and a data frame every 5 s, spread over the 5 s.
std::string largeInstallation() {
  std::ostringstream s;
  s << "adapter switches 0\n";
  for (int o = 0; o < 16; ++o) {
    char rom[16];
    std::snprintf(rom, sizeof rom, "%08X", 0x100 + o);
    int outdoor = 1 + o;
    s << "unit outdoor " << outdoor << " rom " << rom << " model A305 zubrel " << o << "\n";
    s << "frame 60 every 5000 after " << (o * 311) % 5000 << "\n";
    s << "frame 65 every 5000 after " << (o * 311 + 97) % 5000 << " data " << rom[0] << rom[1] << ' ' << rom[2]
      << rom[3] << ' ' << rom[4] << rom[5] << ' ' << rom[6] << rom[7] << " 01 17 02 11 03\n";
    for (int i = 0; i < 3; ++i) {
      int address = 17 + o * 3 + i;
      s << "unit indoor " << address << " rom " << rom << " model 4302 zubrel " << i << "\n";
      s << "frame 61 every 5000 after " << (address * 173) % 5000 << "\n";
      s << "frame 62 every 5000 after " << (address * 173 + 53) % 5000 << " data " << rom[0] << rom[1] << ' '
        << rom[2] << rom[3] << ' ' << rom[4] << rom[5] << ' ' << rom[6] << rom[7] << " 00 15 18 00\n";
    }
  }
  return s.str();
}

// ---- Measurement ----

struct SlotSample {
  double lateMs;     // wall clock after the slot's second began
  double cpuSeconds; // the worker's CPU time so far
  double steadySeconds;
};

std::vector<SlotSample> samples;  // written by the worker, read after it was joined

double seconds(const timespec& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9; }

void onSnapshot(std::time_t slot) {
  timespec cpu{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
  auto wall = std::chrono::system_clock::now().time_since_epoch();
  double late = std::chrono::duration<double, std::milli>(wall).count() - static_cast<double>(slot) * 1000.0;
  double steady = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  samples.push_back({late, seconds(cpu), steady});
}

bool measure(const char* label, int units, const std::string& scenarioText, int runSeconds) {
  adaptersim::Scenario scenario;
  std::istringstream in(scenarioText);
  std::string error;
  if (!adaptersim::parseScenario(in, scenario, error)) {
    std::fprintf(stderr, "%s: %s\n", label, error.c_str());
    return false;
  }
  adaptersim::Simulator simulator(scenario);
  if (!simulator.start("", error)) {
    std::fprintf(stderr, "%s: %s\n", label, error.c_str());
    return false;
  }
  setenv("TRAMSOLL_COM1", simulator.slavePath().c_str(), 1);
  samples.clear();
  samples.reserve(1024);
  setSnapshotObserver(onSnapshot);
  // A gather interval of 1 s gives one lateness sample a second.
  int32_t result = initDataGather(1, 1, 3, 2, 0, " ", 1);
  if (result != 0) {
    std::fprintf(stderr, "%s: initDataGather answered %d\n", label, result);
    return false;
  }
  std::this_thread::sleep_for(std::chrono::seconds(runSeconds));
  initDataGather(0, 1, 3, 2, 0, " ", 1);
  setSnapshotObserver(nullptr);
  simulator.stop();

  if (samples.size() < 2) {
    std::printf("%-24s %5d %6zu   (too short to measure)\n", label, units, samples.size());
    return true;
  }
  const SlotSample& first = samples.front();
  const SlotSample& last = samples.back();
  double cpuPercent = 100.0 * (last.cpuSeconds - first.cpuSeconds) / (last.steadySeconds - first.steadySeconds);
  double worst = 0;
  double sum = 0;
  for (const SlotSample& s : samples) {
    worst = std::max(worst, s.lateMs);
    sum += s.lateMs;
  }
  std::printf("%-24s %5d %6zu %12.2f %%  %8.2f %8.2f\n", label, units, samples.size(), cpuPercent, worst,
              sum / static_cast<double>(samples.size()));
  return true;
}

// What a thread that only wakes every 1 ms, as the worker does, costs on
// this machine: the floor under the worker's figure.
void measureWakeFloor(int runSeconds) {
  std::mutex mutex;
  std::condition_variable wake;
  double cpu = 0;
  double wall = 0;
  std::thread idle([&] {
    timespec before{}, after{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &before);
    auto start = std::chrono::steady_clock::now();
    auto next = start;
    auto end = start + std::chrono::seconds(runSeconds);
    while (next < end) {
      next += std::chrono::milliseconds(1);
      std::unique_lock lock(mutex);
      wake.wait_until(lock, next, [] { return false; });
    }
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &after);
    cpu = seconds(after) - seconds(before);
    wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  });
  idle.join();
  std::printf("%-24s %5s %6s %12.2f %%\n", "1 ms wake-ups alone", "-", "-", 100.0 * cpu / wall);
}

}  // namespace

int main(int argc, char** argv) {
  int runSeconds = 10;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0) runSeconds = std::max(1, std::atoi(argv[i + 1]));
  }
  loadModelSet();
  centralOperationFlag.store(1);  // the bus engine takes part, as the map permits by default
  std::printf("bus gathering, 1 ms tick, %d s per installation\n", runSeconds);
  std::printf("%-24s %5s %6s %14s  %8s %8s\n", "installation", "units", "slots", "worker CPU", "late max",
              "mean ms");
  bool ok = measure("small (sample scenario)", 8, readFile(PELOMAR_TESTDATA_DIR "/installation.scenario"),
                    runSeconds);
  ok = measure("large (64 units)", 64, largeInstallation(), runSeconds) && ok;
  measureWakeFloor(runSeconds);
  return ok ? 0 : 1;
}
