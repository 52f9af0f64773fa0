// What every export and every worker step share: the exclusion between the
// caller's thread and the worker, the latched error words and the gathering
// state word, and the small helpers for texts handed back to the caller.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <mutex>

namespace tramsoll {

// ---- Latched error words ----
extern std::atomic<uint32_t> errFault;
extern std::atomic<uint32_t> errLine;
extern std::atomic<uint32_t> errCall;

namespace fault {
constexpr uint32_t kComOpen = 0x1;
constexpr uint32_t kComSetup = 0x2;
constexpr uint32_t kComClose = 0x4;
constexpr uint32_t kAdapterTimeout = 0x8;
constexpr uint32_t kSerialIo = 0x10;
constexpr uint32_t kTableLoad = 0x100;
constexpr uint32_t kMemory = 0x1000;
constexpr uint32_t kCsvCreate = 0x10000;
constexpr uint32_t kCsvClose = 0x20000;
constexpr uint32_t kDataFile = 0x40000;
constexpr uint32_t kBusLogOpen = 0x100000;
constexpr uint32_t kBusLogClose = 0x200000;
}  // namespace fault

namespace line {
constexpr uint32_t kParity = 0x1;
constexpr uint32_t kFraming = 0x2;
constexpr uint32_t kOverrun = 0x4;
constexpr uint32_t kRxFull = 0x8;
constexpr uint32_t kTxFull = 0x10;
constexpr uint32_t kRecvRingFull = 0x40;
constexpr uint32_t kSendRingFull = 0x80;
constexpr uint32_t kStrayByte = 0x100;
constexpr uint32_t kCheckByte = 0x200;
constexpr uint32_t kNoEtx = 0x400;
constexpr uint32_t kSlotsSkipped = 0x1000;
constexpr uint32_t kClockBack = 0x2000;
}  // namespace line

namespace call {
constexpr uint32_t kOpenWhileOpen = 0x1;
constexpr uint32_t kCloseNotOpen = 0x2;
constexpr uint32_t kBadTime = 0x4;
constexpr uint32_t kRecordRead = 0x8;
}  // namespace call

inline void setBits(std::atomic<uint32_t>& word, uint32_t bits) { word.fetch_or(bits); }
inline void clearBits(std::atomic<uint32_t>& word, uint32_t bits) { word.fetch_and(~bits); }
inline bool hasBits(const std::atomic<uint32_t>& word, uint32_t bits) { return (word.load() & bits) != 0; }
void clearErrorWords();

// ---- Gathering state word ----
extern std::atomic<uint32_t> gatherState;

namespace gather {
constexpr uint32_t kRunning = 0x1;
constexpr uint32_t kPeriodicRecording = 0x2;
constexpr uint32_t kTriggerArmed = 0x4;
constexpr uint32_t kTriggerFired = 0x8;
constexpr uint32_t kBusLog = 0x10;
constexpr uint32_t kLogger = 0x100;
constexpr uint32_t kBusMonitor = 0x200;
constexpr uint32_t kInitialScan = 0x400;
constexpr uint32_t kOneSystem = 0x800;
constexpr uint32_t kOneUnit = 0x1000;
}  // namespace gather

// ---- Exclusion between exports and worker steps ----
// One mutex does the excluding; the busy flags only show who holds it.
extern std::atomic<bool> apiBusy;
extern std::atomic<bool> stepBusy;
extern std::atomic<bool> threadAlive;

std::mutex& exclusionMutex();

// Held for the whole of an export that touches shared tables.
class ExportFrame {
 public:
  ExportFrame();
  ~ExportFrame();
  ExportFrame(const ExportFrame&) = delete;
  ExportFrame& operator=(const ExportFrame&) = delete;
  // The stop sequence lets the worker run its last step while it waits.
  void release();
  void reacquire();

 private:
  std::unique_lock<std::mutex> lock_;
};

// Held for the whole of one worker step.
class StepFrame {
 public:
  StepFrame();
  ~StepFrame();
  StepFrame(const StepFrame&) = delete;
  StepFrame& operator=(const StepFrame&) = delete;

 private:
  std::unique_lock<std::mutex> lock_;
};

// ---- Numbers handed in by the caller ----
// value - amount (amount >= 0), held at the lowest 32-bit value where it
// would wrap: 1-based numbers and calendar years arrive unchecked, and -2^31
// must still read as "none" or "before everything".
constexpr int32_t subtractHeld(int32_t value, int32_t amount) {
  return value < INT32_MIN + amount ? INT32_MIN : value - amount;
}

// ---- Texts handed to the caller ----
// Length of the text in `buffer` within `capacity`; a text that fills the
// buffer is cut at capacity - 1 with a terminator written there.
int32_t boundedLength(char* buffer, int32_t capacity);
// Copies `text` into a caller's buffer of `capacity` bytes, cut to fit and
// terminated, and answers its length.
int32_t copyText(char* buffer, int32_t capacity, const char* text);

// "yy/mm/dd hh:mm:ss" of the local time, the year counted from 1900.
// Answers false (and an empty text) for a time that has no date.
bool dateTimeText(std::time_t seconds, char* out, std::size_t size);

}  // namespace tramsoll
