// Recording exports: the customer data of the next file, expected file
// sizes, start and stop of periodic and trigger recording and of the bus
// log, trigger conditions, and the free disk space.
#include <sys/statvfs.h>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <string>

#include "base/caller_values.h"
#include "base/clock.h"
#include "base/debug_ring.h"
#include "base/local_time.h"
#include "base/program_files.h"
#include "base/status_words.h"
#include "engine/frame.h"
#include "engine/settings.h"
#include "files/bus_log.h"
#include "files/recording.h"
#include "files/recording_step.h"
#include "store/live_table.h"
#include "tramsoll.h"

using namespace tramsoll;

namespace {

constexpr char kLibraryVersion[] = "1.53A";
constexpr int kSystems = 255;           // selection entries 0..254 name systems 1..255
constexpr int32_t kTriggerInterval = 10;
constexpr int32_t kMostPreRecords = 361;
constexpr int64_t kMostPreSeconds = 3600;
constexpr int32_t kMostMinutes = 1 << 20;

bool gathering() { return hasBits(gatherState, gather::kRunning); }

// "<what> yy/mm/dd hh:mm:ss" of the local time now.
void logWithTime(const char* what) {
  char when[32];
  dateTimeText(tramsoll::clock().systemNow(), when, sizeof when);
  logLine("Tramsoll: %s %s", what, when);
}

void setOut(int32_t* out, int32_t value) {
  if (out) *out = value;
}

// What one unit adds to the header and to each record of its system's file.
void addUnitSize(const AutoAdrEntry& entry, const UnitRow& unit, int64_t& header, int64_t& record) {
  int64_t status = liveDataTable().frameKeyLength();
  header += das::kUnitBlockSize + das::kGroupBlockSize * unit.blocks.size() +
            das::kConditionBlockSize * int64_t{unit.row.triggerSlotCount};
  if (entry.kind == unitKind::kSensor) header += das::kSensorBlockSize;
  for (const auto& block : unit.blocks) record += static_cast<int64_t>(das::kPartHeadSize) + status + block->dataLength;
}

int32_t clampToInt32(int64_t value) {
  return value > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(value);
}

int32_t startConstSaving(const int32_t* selection, int32_t interval) {
  if (!gathering()) return 1;
  if (hasBits(gatherState, gather::kPeriodicRecording) || interval < 1) return 2;
  clearSaveSlots(das::kPeriodic);
  if (withoutCustomer()) deleteLeftoverFiles(das::kPeriodic);
  autoAdrTable().unmarkAll(1);
  logWithTime("Const Save Start");
  GatherValues& values = gatherValues();
  values.constInterval = interval;
  values.constDue = values.dataDue / interval * interval;
  values.constReported = 0;
  std::time_t first = values.constDue + interval;
  for (int system = 1; selection && system <= kSystems; ++system) {
    if (selection[system - 1] != 1) continue;
    autoAdrTable().markGroup(system, 1);
    if (!createDataFile(das::kPeriodic, system, currentModeBits(), first, interval)) {
      autoAdrTable().unmarkAll(1);
      clearSaveSlots(das::kPeriodic);
      return 4;
    }
  }
  setBits(gatherState, gather::kPeriodicRecording);
  return 0;
}

void stopConstSaving() {
  logWithTime("Const Save Stop");
  clearBits(gatherState, gather::kPeriodicRecording);
  autoAdrTable().unmarkAll(1);
  clearSaveSlots(das::kPeriodic);
}

int32_t startTrigSaving(int32_t system, int32_t minutes) {
  if (!gathering()) return 1;
  if (hasBits(gatherState, gather::kTriggerArmed)) return 2;
  clearSaveSlots(das::kTrigger);
  if (withoutCustomer()) deleteLeftoverFiles(das::kTrigger);
  logWithTime("Trig Save Start");
  autoAdrTable().unmarkAll(2);
  autoAdrTable().markGroup(system, 2);
  GatherValues& values = gatherValues();
  int64_t seconds = int64_t{minutes < 0 ? 0 : minutes > kMostMinutes ? kMostMinutes : minutes} * 60;
  values.trigInterval = kTriggerInterval;
  values.trigDue = values.dataDue / kTriggerInterval * kTriggerInterval;
  values.trigReported = 0;
  values.trigPostCount = static_cast<int32_t>(seconds / kTriggerInterval);
  values.trigPreCount = seconds <= kMostPreSeconds ? values.trigPostCount + 1 : kMostPreRecords;
  if (!createDataFile(das::kTrigger, system, currentModeBits(), values.trigDue + kTriggerInterval, kTriggerInterval)) {
    autoAdrTable().unmarkAll(2);
    return 4;
  }
  setBits(gatherState, gather::kTriggerArmed);
  return 0;
}

void stopTrigSaving() {
  logWithTime("Trig Save Stop");
  uint32_t state = gatherState.load();
  if ((state & gather::kTriggerArmed) && !(state & gather::kTriggerFired)) deleteTriggerFile();
  clearSaveSlots(das::kTrigger);
  liveDataTable().freeTriggerFlags();
  autoAdrTable().unmarkAll(2);
  clearBits(gatherState, gather::kTriggerArmed | gather::kTriggerFired);
}

// statvfs of the path, or of the nearest folder above it that exists (a
// drive root such as "C:\" names no folder here).
bool freeSpace(const char* root, struct statvfs& out) {
  std::string path = programPath(root && root[0] ? root : ".");
  while (::statvfs(path.c_str(), &out) != 0) {
    if ((errno != ENOENT && errno != ENOTDIR) || path == "/" || path == ".") return false;
    std::size_t slash = path.rfind('/');
    path = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  }
  return true;
}

}  // namespace

extern "C" TRAMSOLL_API int32_t setFileHeader(const char* customerId, const char* customerName,
                                              const char* personInCharge, const char* mapName,
                                              const char* customerFolder) {
  ExportFrame frame;
  if (hasBits(gatherState, gather::kPeriodicRecording)) return 1;
  if (hasBits(gatherState, gather::kTriggerArmed)) return 2;
  setPendingFileHeader(customerId, customerName, personInCharge, mapName, customerFolder);
  return 0;
}

extern "C" TRAMSOLL_API int32_t getDataSize(int32_t systemNumber, int32_t, int32_t* headerBytes,
                                            int32_t* recordBytes) {
  ExportFrame frame;
  setOut(headerBytes, 0);
  setOut(recordBytes, 0);
  if (!gathering()) return 1;
  int64_t header = 0, record = 0;
  AutoAdrTable& units = autoAdrTable();
  for (int32_t i = 0; i < units.count(); ++i) {
    AutoAdrEntry entry;
    if (!units.entryByIndex(i, entry) || entry.group != systemNumber) continue;
    for (int row = 0; row < entry.rowCount; ++row) {
      const UnitRow* unit = units.unitRow(entry.kind, entry.address, row);
      if (unit) addUnitSize(entry, *unit, header, record);
    }
  }
  if (header == 0) return 2;
  setOut(headerBytes, clampToInt32(header + das::kHeaderSize));
  setOut(recordBytes, clampToInt32(record + das::kRecordTimeSize));
  return 0;
}

extern "C" TRAMSOLL_API int32_t saveConstData(int32_t action, int32_t* systemSelection, int32_t intervalSeconds) {
  ExportFrame frame;
  if (action == 1) return startConstSaving(systemSelection, intervalSeconds);
  if (action != 0) return 2;
  stopConstSaving();
  return 0;
}

extern "C" TRAMSOLL_API int32_t setTrigCondition(int32_t systemNumber, int32_t unitClass, int32_t unitNumber,
                                                 int32_t itemNumber, int32_t condition1, int32_t condition2) {
  ExportFrame frame;
  if (!gathering()) return 1;
  if (unitClass != unitKind::kOutdoor && unitClass != unitKind::kIndoor && unitClass != unitKind::kCentral &&
      unitClass != unitKind::kSensor)
    return 2;
  uint8_t address = 0;
  int row = 0;
  if (!autoAdrTable().findRowByNumber(systemNumber, unitClass, unitNumber, address, row)) return 3;
  uint32_t word = static_cast<uint32_t>(condition1 & 3) | static_cast<uint32_t>(condition2 & 3) << 2;
  if (!liveDataTable().setTriggerFlags(unitClass, address, row, subtractHeld(itemNumber, 1), word)) return 4;
  return 0;
}

extern "C" TRAMSOLL_API int32_t saveTrigData(int32_t action, int32_t systemNumber, int32_t minutesAfterTrigger) {
  ExportFrame frame;
  if (action == 1) return startTrigSaving(systemNumber, minutesAfterTrigger);
  if (action != 0) return 2;
  stopTrigSaving();
  return 0;
}

extern "C" TRAMSOLL_API int32_t getFreeDskSz(const char* rootPath, int32_t* freeBytes) {
  ExportFrame frame;
  setOut(freeBytes, 0);
  struct statvfs space {};
  if (!freeSpace(rootPath, space)) return 1;
  // The count is 32-bit: a larger figure stops at its maximum.
  uint64_t bytes = uint64_t{space.f_bfree} * space.f_frsize;
  uint32_t kept = bytes > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                                 : static_cast<uint32_t>(bytes);
  setOut(freeBytes, static_cast<int32_t>(kept));
  return 0;
}

extern "C" TRAMSOLL_API int32_t getFreeDskSzEx(const char* rootPath, int32_t* freeKilobytes, float* freeBytes) {
  ExportFrame frame;
  setOut(freeKilobytes, 0);
  if (freeBytes) *freeBytes = 0;
  struct statvfs space {};
  if (!freeSpace(rootPath, space)) return 1;
  // Kilobytes are read as signed 32-bit: they stop at that maximum.
  int32_t kilobytes = clampToInt32(static_cast<int64_t>((uint64_t{space.f_bavail} * space.f_frsize) >> 10));
  setOut(freeKilobytes, kilobytes);
  if (freeBytes) *freeBytes = static_cast<float>(static_cast<double>(kilobytes) * 1024.0);
  return 0;
}

extern "C" TRAMSOLL_API int32_t saveQ7Data(int32_t action, const char* logBaseName) {
  ExportFrame frame;
  if (action != 1) {
    clearBits(gatherState, gather::kBusLog);
    return 0;
  }
  if (!hasBits(gatherState, gather::kBusMonitor)) return 1;
  clearBits(gatherState, gather::kBusLog);
  if (!startBusLog(logBaseName, tramsoll::clock().systemNow(), kLibraryVersion)) return 2;
  setBits(gatherState, gather::kBusLog);
  return 0;
}
