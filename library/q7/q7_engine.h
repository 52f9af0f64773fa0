// The Q7 bus engine: the library taking part in the bus as a central station
// with address 15. The worker's step feeds it every received frame, calls its
// tick and drains its send queue into bus sends; the control exports read
// its view of every address and queue commands. Times are whole seconds of
// the clock's steady reading (see q7_schedule.cpp); what each frame it sends
// brings back is described where the answers are read (q7_receive.cpp).
#pragma once

#include <cstdint>
#include <span>

#include "q7/q7_frames.h"
#include "q7/q7_send_queue.h"

namespace tramsoll {

constexpr int kQ7Addresses = 256;

// Bits of the engine's state word.
namespace q7state {
constexpr uint32_t kLowerStation = 0x04;   // a station of a lower class: under central control
constexpr uint32_t kForcedStop = 0x08;     // 0x58 with bit 0: run refused
constexpr uint32_t kRunStopLocked = 0x10;  // 0x19 with bits 2 and 3: run/stop refused
constexpr uint32_t kListening = 0x20;      // start-up listening period
constexpr uint32_t kStartupSent = 0x40;    // start-up broadcast sent or heard
}  // namespace q7state

// Bits of the command word of a central command.
namespace q7cmd {
constexpr uint32_t kRunStopGiven = 0x01;
constexpr uint32_t kRun = 0x02;
constexpr uint32_t kModeGiven = 0x04;
constexpr uint32_t kSetPointGiven = 0x08;
constexpr uint32_t kControlGiven = 0x10;
constexpr uint32_t kControlRelease = 0x20;
}  // namespace q7cmd

// Refusals of a central command; every refusal has kRefused set.
namespace q7refuse {
constexpr int32_t kRefused = 16;         // the unit never answered
constexpr int32_t kForcedStop = 18;
constexpr int32_t kRunStopLocked = 20;
constexpr int32_t kLowerStation = 24;    // only for the control byte
}  // namespace q7refuse

// Bits of the flag word the engine reports for an address.
namespace q7view {
constexpr uint32_t kAnswered = 0x008;
constexpr uint32_t kPending = 0x010;
constexpr uint32_t kRunning = 0x020;
constexpr uint32_t kModeBit = 0x040;
constexpr uint32_t kStatusLow = 0x080;
constexpr uint32_t kErrorFlag6 = 0x100;
constexpr uint32_t kStatusHeard = 0x200;  // a status frame of the unit arrived
constexpr int kModeValueShift = 24;
}  // namespace q7view

// One address as the engine reports it.
struct Q7AddressView {
  uint32_t unitWord;  // bits 0-2: 2 for kinds 9, 0x11, 0x12, else 1; bit 3: class entry heard
  uint32_t flags;     // q7view bits; bits 24-31 the unit's operation value
  float setPoint;
  uint8_t mode;       // mode number 0..15
  char errorText[3];  // two characters and a terminator
};

struct Q7AllAddresses {
  Q7AddressView address[kQ7Addresses];
  uint32_t stateBits;  // bits 2-4 of the engine's state word
};

// What the central-operation window polls: per address bits 0-1 the
// presence (0 none, 1 answered, 3 command pending) and bits 2-3 the run
// state (0 stopped, 1 running, 3 running with the mode bit, 2 unknown: the
// unit answered but no status of it arrived yet); in `header`
// bit 0 "under central control" and bit 1 "under forced stop".
struct Q7ControlInfo {
  uint8_t word[kQ7Addresses];
  uint32_t header;
};

// The state of one address for the status read.
struct Q7AddressStatus {
  int32_t mode;
  float setPoint;
  char errorText[3];
  int32_t pendingFlag;
  int32_t runFlag;
};

class Q7Engine {
 public:
  // ---- For the worker's step ----
  // Forgets everything and starts listening; bit 0 of `startArgument` (the
  // initial-scan flag) enables the group sends and the answers to other
  // stations. Called at every start of bus monitoring, whether central
  // operation is permitted or not, so no answer of an earlier run remains.
  void initialise(int32_t startArgument);
  // Handles one received frame (the data bytes of a record; at most 256 are
  // read, missing bytes read as 0). Result: bit 0 when the sender's class is
  // above 31 (for the frames that concern stations), ORed with kQ7QueueFull
  // when a frame it answered with found the queue full.
  uint32_t receiveFrame(std::span<const uint8_t> data, bool ownFrame);
  // The periodic work; the OR of the queue results of the frames it sent.
  uint32_t tick();
  // 0 with the oldest queued frame, kQ7QueueEmpty (output zeroed) when none.
  int32_t nextFrame(uint8_t out[kQ7FrameBytes], int32_t& length);

  // ---- For the control exports ----
  // Queues 0xE6 (command 230) or 0xE8 (232) for `address` (low byte);
  // 0, or kQ7QueueFull. Other commands queue nothing and answer 0.
  int32_t unitSettingSend(int32_t command, int32_t address, int32_t setting, int32_t value);
  // 1 when an answer to 0xE6 or 0xE8 came from `address` since the start;
  // 0 otherwise, also for an address outside 0..255.
  int32_t settingSendState(int32_t address) const;
  // Queues a central command (q7cmd bits); 0, kQ7QueueFull, or refusal bits
  // (q7refuse) with nothing queued.
  int32_t centralCommand(uint8_t address, uint32_t commandBits, uint8_t mode, float setPoint);
  void allAddresses(Q7AllAddresses& out) const;
  void controlInfo(Q7ControlInfo& out) const;
  // 0 with the address's state; 1 with `out` zeroed for an address outside
  // 0..255; 2 while no status of the address arrived, when no field of `out`
  // is to be handed on (the status export gives zeros for all of them).
  int32_t addressStatus(int32_t address, Q7AddressStatus& out) const;

  uint32_t state() const { return state_; }
  std::size_t queuedFrames() const { return queue_.size(); }

 private:
  // Per-address flag bits.
  static constexpr uint32_t kAnswered = 0x01;
  static constexpr uint32_t kSeen = 0x02;
  static constexpr uint32_t kQueried = 0x04;
  static constexpr uint32_t kPending = 0x08;
  static constexpr uint32_t kDetailUnit = 0x10;
  static constexpr uint32_t kDetailSubKind = 0x20;
  static constexpr uint32_t kDetail2Unit = 0x40;
  static constexpr uint32_t kStatusHeard = 0x80;
  // Per-address data bytes (the numbering of the central command frame
  // where the two meet).
  static constexpr int kControlByte = 4;
  static constexpr int kRunState = 6;
  static constexpr int kMode = 7;
  static constexpr int kErrorCode = 8;
  static constexpr int kErrorFlag = 9;
  static constexpr int kStatus = 10;
  static constexpr int kSetWhole = 11;
  static constexpr int kSetTenths = 12;
  static constexpr int kExtra = 13;
  static constexpr int kKind = 14;
  static constexpr int kModeFirst = 15;
  static constexpr int kModeSecond = 16;
  static constexpr int kAddressDataBytes = 20;
  // Class flag bits.
  static constexpr uint32_t kClassHeard = 0x01;
  static constexpr uint32_t kClassSilent = 0x02;
  // Group entry flag bits.
  static constexpr uint32_t kGroupPrimary = 0x01;
  static constexpr uint32_t kGroupData = 0x02;
  static constexpr uint32_t kGroupMarked = 0x04;
  static constexpr uint32_t kGroupAcknowledged = 0x08;
  // Configuration bits.
  static constexpr uint32_t kConfigGroups = 0x01;
  static constexpr uint32_t kConfigDetail = 0x02;
  static constexpr uint32_t kConfigDetail2 = 0x04;

  struct ClassState {
    uint32_t flags;
    int64_t heard;
  };
  struct AddressState {
    uint32_t flags;
    uint8_t data[kAddressDataBytes];
  };
  struct GroupEntry {
    uint32_t flags;
    uint8_t data[4];
  };

  int64_t now() const;
  int32_t send(const Q7Frame& frame);
  int32_t sendCentralState(uint8_t address);
  void restartCycle(int64_t at);

  // Receive handlers (q7_receive.cpp).
  uint32_t handleStationFrame(const uint8_t* f, int64_t at);
  uint32_t handleUnitFrame(const uint8_t* f, int64_t at);
  void handleGroupFrame(const uint8_t* f);
  void handleCommandFrame(const uint8_t* f);
  uint32_t handleStatusFrame(const uint8_t* f);
  uint32_t handleAnnounceFrame(const uint8_t* f, int64_t at);

  // Tick steps (q7_schedule.cpp).
  uint32_t runCycle(int64_t at);
  uint32_t sendDetailQueries(uint32_t flag, std::span<const uint8_t> codes);
  void endListening(int64_t at);
  uint32_t sendGroups();
  bool groupEntryDue(const GroupEntry& entry) const;

  Q7AddressView viewOf(int address) const;

  uint32_t config_ = 0;
  uint32_t state_ = 0;
  ClassState classes_[kQ7Addresses] = {};
  AddressState addresses_[kQ7Addresses] = {};
  GroupEntry firstGroups_[kQ7Addresses] = {};
  GroupEntry secondGroups_[kQ7Addresses] = {};
  uint32_t settingAnswers_[kQ7Addresses] = {};
  Q7SendQueue queue_;

  // Marks of the schedules; kNever makes the first check due at once.
  static constexpr int64_t kNever = INT64_MIN / 4;
  int64_t pollTime_ = kNever;
  int64_t cycleTime_ = kNever;
  int64_t detailTime_ = kNever;
  int64_t detailATime_ = kNever;
  int64_t detailBTime_ = kNever;
  int64_t startupBroadcastTime_ = kNever;
  int64_t startupAnswerTime_ = kNever;
  int64_t groupSendTime_ = kNever;
};

// The library's one engine, used under the exclusion of the calling frame.
Q7Engine& busEngine();

}  // namespace tramsoll
