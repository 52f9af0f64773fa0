#include "engine/gathering.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "adapter/adapter_status.h"
#include "adapter/serial_port.h"
#include "adapter/vexa5.h"
#include "base/clock.h"
#include "base/debug_ring.h"
#include "base/local_time.h"
#include "engine/bus_decode.h"
#include "engine/live_sink.h"
#include "engine/settings.h"
#include "engine/timer_step.h"
#include "engine/unit_tables.h"
#include "files/recording.h"
#include "q7/q7_engine.h"
#include "store/discovery_table.h"
#include "store/live_table.h"
#include "store/recv_ring.h"
#include "tables/setting_tables.h"

namespace tramsoll {

namespace {

using namespace std::chrono_literals;

constexpr int32_t kToolGeneration = 3;
constexpr auto kBusTick = 1ms;
constexpr auto kTick = 100ms;

// The worker thread and what wakes it early at a stop.
struct Worker {
  std::thread thread;
  std::mutex wakeMutex;
  std::condition_variable wake;
  bool stopRequested = false;
};

std::atomic<bool> workerAutostart{true};

// Never destroyed: a worker still running when the process ends must not
// meet a destroyed thread object or tables.
Worker& worker() {
  static Worker* w = new Worker;
  return *w;
}

// ---- Start and stop lines ----

void putStartLine(uint32_t state) {
  struct Tag {
    uint32_t bit;
    const char* text;
  };
  static const Tag kTags[] = {
      {gather::kOneSystem, "P "}, {0x10000, "SL "},  {0x20000, "SR "},           {0x40000, "SX "},
      {0x80000, "SK "},           {0x400000, "SQ "}, {0x100000, "SH "},          {0x200000, "SA "},
      {gather::kBusMonitor, "Q7 "}, {gather::kInitialScan, "Ini "}, {gather::kLogger, "LOG "}};
  std::string line = "Tramsoll: Start Timer ";
  for (const Tag& tag : kTags) {
    if (state & tag.bit) line += tag.text;
  }
  char date[24];
  dateTimeText(clock().systemNow(), date, sizeof date);
  line += date;
  putDebugMessage(line.c_str());
}

void putStopLine() {
  char date[24];
  dateTimeText(clock().systemNow(), date, sizeof date);
  logLine("Tramsoll: Stop Timer %s", date);
}

// ---- Worker ----

// Waits until the next tick (or a stop); a step that ran late does not make
// the next ones come in a burst.
void waitForTick(Worker& w, std::chrono::steady_clock::time_point& next, std::chrono::milliseconds period) {
  next += period;
  auto now = std::chrono::steady_clock::now();
  if (next < now) next = now;
  std::unique_lock lock(w.wakeMutex);
  w.wake.wait_until(lock, next, [&] { return w.stopRequested; });
}

// `state` is the state word the start set: a stop may already have cleared
// it by the time the worker first gets the step frame.
void gatherThread(uint32_t state) {
  Worker& w = worker();
  {
    StepFrame frame;
    putStartLine(state);
    threadAlive.store(true);
  }
  auto period = (state & gather::kBusMonitor) ? std::chrono::milliseconds(kBusTick) : std::chrono::milliseconds(kTick);
  auto next = std::chrono::steady_clock::now();
  for (;;) {
    waitForTick(w, next, period);
    StepFrame frame;
    if (!(gatherState.load() & gather::kRunning)) {
      putStopLine();
      threadAlive.store(false);
      return;
    }
    runTimerStep(clock().systemNow());
  }
}

bool startWorker() {
  if (!workerAutostart.load()) return true;
  Worker& w = worker();
  {
    std::lock_guard lock(w.wakeMutex);
    w.stopRequested = false;
  }
  try {
    w.thread = std::thread(gatherThread, gatherState.load());
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

// ---- Modes ----

int keyLengthOfBoardKind(int kind) {
  static const int kLengths[] = {4, 1, 4, 2, 6, 6, 4};  // SL .. SQ
  return isBoardKind(kind) ? kLengths[kind - rowkind::kSL] : 0;
}

int32_t startLogger(uint32_t& state) {
  liveDataTable().setFrameKeyLength(1);
  if (!buildLoggerTables()) return gatherresult::kNoTarget;
  state = gather::kLogger;
  return gatherresult::kDone;
}

int32_t startBus(int32_t initialScan, uint32_t& state) {
  const uint8_t none[kStartBytes] = {};
  queueStartCommand(adapterType.load(), start::kBusMonitoring, 0, none);
  liveDataTable().setFrameKeyLength(6);
  // Also without central operation, so no answer of an earlier run remains.
  busEngine().initialise(initialScan);
  state = gather::kBusMonitor | (initialScan ? gather::kInitialScan : 0);
  return gatherresult::kDone;
}

int32_t startOneSystem(const char* target, uint32_t& state) {
  SettingModelRow row;
  if (!findSettingParaByModel(target, row)) return gatherresult::kNoTarget;
  const uint8_t none[kStartBytes] = {};
  queueStartCommand(adapterType.load(), start::kParameterMode, 0, none);
  liveDataTable().setFrameKeyLength(4);
  if (!buildTargetTables(row.itemFile, kOneSystemKind)) return gatherresult::kNoTarget;
  state = gather::kOneSystem;
  return gatherresult::kDone;
}

int32_t startOneUnit(const char* target, uint32_t& state) {
  SettingSeriRow row;
  if (!findSettingSeriByModel(target, row) || !isBoardKind(row.rowKind)) return gatherresult::kNoTarget;
  int kind = row.rowKind;
  const uint8_t startBytes[kStartBytes] = {
      static_cast<uint8_t>(row.speedCode),  static_cast<uint8_t>(row.dataBits), static_cast<uint8_t>(row.stopBits),
      static_cast<uint8_t>(row.parityCode), static_cast<uint8_t>(row.sText[0]), static_cast<uint8_t>(row.sText[1]),
      static_cast<uint8_t>(row.kText[0]),  static_cast<uint8_t>(row.kText[1])};
  queueStartCommand(adapterType.load(), start::kOneUnit, kind, startBytes);
  liveDataTable().setFrameKeyLength(keyLengthOfBoardKind(kind));
  if (!buildTargetTables(row.itemFile, kind)) return gatherresult::kNoTarget;
  state = gather::kOneUnit | boardKindBit(kind);
  return gatherresult::kDone;
}

// The Plus adapter carries only bus monitoring and bus sends: a board mode
// would wait forever for answers to packets it does not know, and the
// logger would start but never get data.
bool adapterCarries(int32_t modeBits) {
  if (adapterType.load() != kAdapterPlus) return true;
  return !(modeBits & gathermode::kLogger) && (modeBits & gathermode::kBus);
}

// The first mode bit set, tested 1, 2, 4, 8.
int32_t startMode(int32_t modeBits, int32_t initialScan, const char* target, uint32_t& state) {
  if (modeBits & gathermode::kLogger) return startLogger(state);
  if (modeBits & gathermode::kBus) return startBus(initialScan, state);
  if (modeBits & gathermode::kOneSystem) return startOneSystem(target, state);
  if (modeBits & gathermode::kOneUnit) return startOneUnit(target, state);
  return gatherresult::kRefused;
}

void releaseGatheringTables() {
  freeUnitTables();
  recvRingRelease();
}

// A start that failed after the port was opened leaves nothing behind.
void abandonStart() {
  closePort();
  gatherState.store(0);
  releaseGatheringTables();
}

}  // namespace

int boardKindOf(uint32_t state) {
  using namespace rowkind;
  static const int kOrder[] = {kSL, kSR, kSX, kSK, kSQ, kSH, kSA};
  for (int kind : kOrder) {
    if (state & boardKindBit(kind)) return kind;
  }
  return 0;
}

int32_t startGathering(int32_t comPort, int32_t toolGeneration, int32_t modeBits, int32_t initialScan,
                       const char* targetName, int32_t intervalSeconds) {
  std::time_t now = clock().systemNow();
  if (gatherState.load() & gather::kRunning) return gatherresult::kRefused;
  if (comPort < 1 || comPort > 8) return gatherresult::kPortFailed;
  clearErrorWords();
  gatherState.store(0);
  resetGatherValues();
  if (toolGeneration != kToolGeneration) return gatherresult::kBadGeneration;
  // Every slot computation divides by the interval.
  if (intervalSeconds <= 0) return gatherresult::kRefused;
  if (!adapterCarries(modeBits)) return gatherresult::kRefused;
  releaseGatheringTables();
  if (!openPort(comPort, adapterType.load())) return gatherresult::kPortFailed;
  installLiveTableSink();
  installAdapterStatusSink();
  resetSilenceWatch();

  uint32_t state = 0;
  int32_t result = startMode(modeBits, initialScan, targetName ? targetName : "", state);
  if (result != gatherresult::kDone) {
    abandonStart();
    return result;
  }
  GatherValues& values = gatherValues();
  values.dataInterval = intervalSeconds;
  values.dataDue = slotTime(now, intervalSeconds);
  gatherState.store(state | gather::kRunning | gather::kStarted);
  if (!startWorker()) {
    abandonStart();
    return gatherresult::kPortFailed;
  }
  return gatherresult::kDone;
}

std::mutex& gatheringControlMutex() {
  static std::mutex mutex;
  return mutex;
}

int32_t stopGathering(ExportFrame& frame) {
  gatherState.store(0);
  Worker& w = worker();
  {
    std::lock_guard lock(w.wakeMutex);
    w.stopRequested = true;
  }
  w.wake.notify_all();
  // The worker takes the step frame once more to see the stop and put its
  // stop line; the caller waits outside the frame.
  frame.release();
  if (w.thread.joinable()) w.thread.join();
  frame.reacquire();
  closePort();
  releaseGatheringTables();
  // Recordings end with gathering; their files are no longer being written
  // and must become listable.
  clearSaveSlots(das::kPeriodic);
  clearSaveSlots(das::kTrigger);
  return gatherresult::kDone;
}

int32_t changeGathering(int32_t modeBits) {
  uint32_t state = gatherState.load();
  if (!(state & gather::kRunning)) return 1;
  bool kept = ((state & gather::kBusMonitor) && (modeBits & gathermode::kBus)) ||
              ((state & gather::kOneSystem) && (modeBits & gathermode::kOneSystem)) ||
              ((state & gather::kOneUnit) && (modeBits & gathermode::kOneUnit));
  if (!kept) return 2;
  if (modeBits & gathermode::kLogger) {
    if (!adapterCarries(modeBits)) return 2;
    if (!buildLoggerTables()) return gatherresult::kNoTarget;
    setBits(gatherState, gather::kLogger);
    return 0;
  }
  // The sensor inputs leave the map: no system, no control address.
  autoAdrTable().setGroup(unitKind::kSensor, 0, 0xFFu << 16);
  clearBits(gatherState, gather::kLogger);
  return 0;
}

bool workerRunning() { return worker().thread.joinable(); }

void setWorkerAutostart(bool start) { workerAutostart.store(start); }

}  // namespace tramsoll
