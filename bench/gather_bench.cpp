// Bus-mode gathering (1 ms worker tick) against the simulated adapter: the
// worker thread's CPU use and how late each gather slot's snapshot comes,
// for the small sample installation and for a large one of 64 units that
// each send two frames every 5 s; the units are those of the sample model
// set. Then the catch-up after the wall clock jumps a day ahead while a
// periodic (5 s) and a trigger recording of the sample installation run:
// the longest time an export waited meanwhile, and how long the catch-up
// took. The worker's CPU is also given as a ratio to a thread that only
// wakes every 1 ms, measured first in the same run (the reference). Before
// any figure the answers are checked: every unit of the installation heard
// (8 and 64), at least two gather snapshots counted, and the catch-up's
// records as many as the slots missed; a wrong answer ends the run with an
// error and no figure. A timing program, not a pass/fail test of speed.
//
//   gather_bench [--seconds N] [--jump-days N]
//                (default 10 s per installation, a jump of 1 day)
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/clock.h"
#include "engine/settings.h"
#include "engine/timer_step.h"
#include "simulator.h"
#include "tramsoll.h"
#include "wrong_answer.h"

using namespace tramsoll;

namespace {

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
    s << "unit outdoor " << outdoor << " rom " << rom << " model A102 zubrel " << o << "\n";
    s << "frame 60 every 5000 after " << (o * 311) % 5000 << "\n";
    s << "frame E2 every 5000 after " << (o * 311 + 97) % 5000 << " data " << rom[0] << rom[1] << ' ' << rom[2]
      << rom[3] << ' ' << rom[4] << rom[5] << ' ' << rom[6] << rom[7] << " 01 FB 1A 80 0C 05 83 14 33 2D 00 82\n";
    for (int i = 0; i < 3; ++i) {
      int address = 17 + o * 3 + i;
      s << "unit indoor " << address << " rom " << rom << " model 4102 zubrel " << i << "\n";
      s << "frame 61 every 5000 after " << (address * 173) % 5000 << "\n";
      s << "frame 63 every 5000 after " << (address * 173 + 53) % 5000 << " data " << rom[0] << rom[1] << ' '
        << rom[2] << rom[3] << ' ' << rom[4] << rom[5] << ' ' << rom[6] << rom[7] << " 01 17 17 40 0A 0E 00 2D\n";
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

std::vector<SlotSample> samples;  // written by the worker while timing, read after
std::atomic<bool> timing{false};
std::atomic<int> snapshots{0};

double seconds(const timespec& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9; }

void onSnapshot(std::time_t slot) {
  ++snapshots;
  if (!timing) return;
  timespec cpu{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
  auto wall = std::chrono::system_clock::now().time_since_epoch();
  double late = std::chrono::duration<double, std::milli>(wall).count() - static_cast<double>(slot) * 1000.0;
  double steady = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  samples.push_back({late, seconds(cpu), steady});
}

template <class Done>
bool waitFor(Done done, std::chrono::seconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// The units heard on the bus (discovery state 1 or more), of every class.
int heardUnits() {
  int heard = 0;
  for (int32_t unitClass : {0, 1, 100}) {
    int32_t states[256], rows[256], alarms[256], roms[256], keys[256];
    if (getQ7AuAdrStatus(unitClass, states, rows, alarms, roms, keys) != 0) continue;
    heard += static_cast<int>(std::count_if(states, states + 256, [](int32_t state) { return state > 0; }));
  }
  return heard;
}

// Gathering gathered: every unit heard and snapshots taken (the model frames
// come every 5 s, so the check waits for them after the timed seconds).
bool gathered(const char* label, int units) {
  if (waitFor([units] { return heardUnits() >= units && snapshots >= 2; }, std::chrono::seconds(30)) &&
      heardUnits() == units)
    return true;
  return wrongAnswer("%s: %d of %d units heard, %d snapshots", label, heardUnits(), units, snapshots.load());
}

// One installation's figures: the worker's CPU use over the gather slots
// timed, and how late their snapshots came.
struct GatherFigures {
  const char* label = "";
  int units = 0;
  std::size_t slots = 0;
  double cpuPercent = 0;
  double worstLateMs = 0;
  double meanLateMs = 0;
};

// False when gathering did not run or gave a wrong answer; the figures are
// kept for the end, when every answer has been checked.
bool measure(const char* label, int units, const std::string& scenarioText, int runSeconds, GatherFigures& figures) {
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
  snapshots = 0;
  timing = true;
  setSnapshotObserver(onSnapshot);
  // A gather interval of 1 s gives one lateness sample a second.
  int32_t result = initDataGather(1, 1, 3, 2, 0, " ", 1);
  if (result != 0) {
    std::fprintf(stderr, "%s: initDataGather answered %d\n", label, result);
    return false;
  }
  std::this_thread::sleep_for(std::chrono::seconds(runSeconds));
  timing = false;
  const bool right = gathered(label, units);
  initDataGather(0, 1, 3, 2, 0, " ", 1);
  setSnapshotObserver(nullptr);
  simulator.stop();
  if (!right) return false;

  figures.label = label;
  figures.units = units;
  figures.slots = samples.size();
  if (samples.size() < 2) return true;
  const SlotSample& first = samples.front();
  const SlotSample& last = samples.back();
  figures.cpuPercent = 100.0 * (last.cpuSeconds - first.cpuSeconds) / (last.steadySeconds - first.steadySeconds);
  double sum = 0;
  for (const SlotSample& s : samples) {
    figures.worstLateMs = std::max(figures.worstLateMs, s.lateMs);
    sum += s.lateMs;
  }
  figures.meanLateMs = sum / static_cast<double>(samples.size());
  return true;
}

void printGather(const GatherFigures& figures, double floorPercent) {
  if (figures.slots < 2) {
    std::printf("%-24s %5d %6zu   (too short to measure)\n", figures.label, figures.units, figures.slots);
    return;
  }
  std::printf("%-24s %5d %6zu %12.2f %%  %8.2f %8.2f %8.1f\n", figures.label, figures.units, figures.slots,
              figures.cpuPercent, figures.worstLateMs, figures.meanLateMs,
              floorPercent > 0 ? figures.cpuPercent / floorPercent : 0.0);
}

// What a thread that only wakes every 1 ms, as the worker does, costs on
// this machine: the floor under the worker's figure.
double measureWakeFloor(int runSeconds) {
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
  return 100.0 * cpu / wall;
}

void printWakeFloor(double floorPercent) {
  std::printf("%-24s %5s %6s %12.2f %%  %8s %8s %8.1f\n", "1 ms wake-ups alone", "-", "-", floorPercent, "-", "-",
              1.0);
}

// ---- Catch-up after a jump of the wall clock ----

// The system clock, moved ahead by the bench as a corrected date or a
// resume from suspend moves it; safe to move while the worker reads it.
class JumpingClock : public Clock {
 public:
  std::chrono::steady_clock::time_point steadyNow() override { return std::chrono::steady_clock::now(); }
  std::time_t systemNow() override { return std::time(nullptr) + offset_.load(); }
  void jump(std::time_t seconds) { offset_ += seconds; }

 private:
  std::atomic<std::time_t> offset_{0};
};

// The record count in a recorded file's header; -1 when it cannot be read.
long recordCount(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return -1;
  uint8_t bytes[4] = {};
  ssize_t n = ::pread(fd, bytes, sizeof bytes, 228);
  ::close(fd);
  if (n != 4) return -1;
  return static_cast<long>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

// Every unit whose model is fixed into system 1, as the map assigns them.
int mapUnitsToSystemOne() {
  int mapped = 0;
  for (int32_t unitClass : {0, 1, 100}) {
    int32_t states[256], rows[256], alarms[256], roms[256], keys[256];
    getQ7AuAdrStatus(unitClass, states, rows, alarms, roms, keys);
    for (int32_t address = 0; address < 256; ++address) {
      if (states[address] != 3) continue;
      mapped += setNetMapInfo(unitClass, address, 1, address, 1, 255, "model", "serial", "place") == 0;
    }
  }
  return mapped;
}

// Calls a cheap export without pause and keeps the longest wait for it.
class ExportProbe {
 public:
  ExportProbe() : thread_([this] { run(); }) {}
  ~ExportProbe() { stop(); }
  double stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
    return longestMs_;
  }

 private:
  void run() {
    while (running_) {
      int32_t saving = 0, trigger = 0;
      auto before = std::chrono::steady_clock::now();
      execTramsoll(&saving, &trigger);
      double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count();
      longestMs_ = std::max(longestMs_, ms);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }
  std::atomic<bool> running_{true};
  double longestMs_ = 0;
  std::thread thread_;
};

// The catch-up's figures: the records written for the slots missed, how
// long they took, and the longest time an export waited meanwhile.
struct CatchUpFigures {
  int days = 0;
  long records = 0;
  double seconds = 0;
  double longestWaitMs = 0;
};

// False when the recordings did not start, did not catch up or caught up
// wrong; the figures are kept for the end, as the gathering's are.
bool measureCatchUp(int days, const std::string& scenarioText, CatchUpFigures& figures) {
  adaptersim::Scenario scenario;
  std::istringstream in(scenarioText);
  std::string error;
  adaptersim::parseScenario(in, scenario, error);
  adaptersim::Simulator simulator(scenario);
  char folder[] = "catch-up-XXXXXX";
  if (!simulator.start("", error) || !::mkdtemp(folder)) {
    std::fprintf(stderr, "catch-up: %s\n", error.c_str());
    return false;
  }
  setenv("TRAMSOLL_COM1", simulator.slavePath().c_str(), 1);
  JumpingClock clock;
  setClock(&clock);
  std::string folderText = std::string(folder) + "/";
  std::string periodic = folderText + "const1.das";
  int32_t selection[256] = {1};
  bool ok = initDataGather(1, 1, 3, 2, 0, " ", 5) == 0 && waitFor([] { return mapUnitsToSystemOne() >= 4; },
                                                                   std::chrono::seconds(20)) &&
            setFileHeader(" ", "", "", "", folderText.c_str()) == 0 && saveConstData(1, selection, 5) == 0 &&
            saveTrigData(1, 1, 60) == 0 && waitFor([&] { return recordCount(periodic) >= 1; }, std::chrono::seconds(20));
  if (ok) {
    long before = recordCount(periodic);
    long expected = before + days * 86400L / 5 - 1;  // the slots missed before the current one
    ExportProbe probe;
    auto start = std::chrono::steady_clock::now();
    clock.jump(days * 86400L);
    ok = waitFor([&] { return recordCount(periodic) >= expected; }, std::chrono::seconds(300));
    double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double longest = probe.stop();
    // Besides the missed slots, only the slots that came while it caught up.
    long got = recordCount(periodic);
    if (!ok || got > expected + 2 + static_cast<long>(took / 5)) {
      ok = wrongAnswer("catch-up: %ld records where %ld slots were missed", got - before, expected - before);
    }
    figures = {days, expected - before, took, longest};
  }
  if (!ok) std::fprintf(stderr, "catch-up: the recording did not start, did not catch up or was wrong\n");
  saveTrigData(0, 0, 0);
  saveConstData(0, nullptr, 0);
  initDataGather(0, 1, 3, 2, 0, " ", 5);
  setClock(nullptr);
  simulator.stop();
  std::filesystem::remove_all(folder);
  return ok;
}

void printCatchUp(const CatchUpFigures& figures) {
  std::printf("catch-up of %d day(s), 5 s periodic and trigger recording: %ld records in %.2f s, "
              "longest export wait %.1f ms\n",
              figures.days, figures.records, figures.seconds, figures.longestWaitMs);
}

}  // namespace

int main(int argc, char** argv) {
  int runSeconds = 10;
  int jumpDays = 1;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0) runSeconds = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--jump-days") == 0) jumpDays = std::max(1, std::atoi(argv[i + 1]));
  }
  // The sample model set, loaded as the program loads it.
  if (chdir(PELOMAR_TESTDATA_DIR) != 0 || initTramsoll() != 0) {
    std::fprintf(stderr, "the sample model set in %s does not load\n", PELOMAR_TESTDATA_DIR);
    return 1;
  }
  centralOperationFlag.store(1);  // the bus engine takes part, as the map permits by default
  const double floorPercent = measureWakeFloor(runSeconds);
  GatherFigures small, large;
  CatchUpFigures catchUp;
  bool ok = measure("small (sample scenario)", 8, readFile(PELOMAR_TESTDATA_DIR "/installation.scenario"),
                    runSeconds, small);
  ok = measure("large (64 units)", 64, largeInstallation(), runSeconds, large) && ok;
  ok = measureCatchUp(jumpDays, readFile(PELOMAR_TESTDATA_DIR "/installation.scenario"), catchUp) && ok;
  if (!ok) {
    std::fprintf(stderr, "gathering or the catch-up did not run through or gave a wrong answer: no figures\n");
    return 1;
  }
  // Every answer was right: only now the figures.
  std::printf("bus gathering, 1 ms tick, %d s per installation\n", runSeconds);
  std::printf("%-24s %5s %6s %14s  %8s %8s %8s\n", "installation", "units", "slots", "worker CPU", "late max",
              "mean ms", "x wakes");
  printWakeFloor(floorPercent);
  printGather(small, floorPercent);
  printGather(large, floorPercent);
  printCatchUp(catchUp);
  return 0;
}
