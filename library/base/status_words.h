// The latched error words and the gathering state word that every floor of
// the library sets or reads, with the helpers for their bits. The error
// words are reported once through execTramsoll's result.
#pragma once

#include <atomic>
#include <cstdint>

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

}  // namespace tramsoll
