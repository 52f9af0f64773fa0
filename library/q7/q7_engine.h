// The Q7 bus engine: the library taking part in the bus as a central station
// with address 15. The worker's step feeds it every received frame, calls its
// tick and drains its send queue into bus sends; the control exports read
// its view of every address and queue commands. Times are whole seconds of
// the clock's steady reading (see q7_schedule.cpp).
//
// What a unit (or another station) answers to each frame the engine sends,
// and what the engine reads from the answer (F[i] = byte i of the frame):
//
// - 60 s poll, 0xFD 0x0F 0xFF 0x14 0x06 0x18 0xFF 0 0x7E 0 0 c: the
//   station's heartbeat. Units do not answer. Another station sees command
//   0x18 from class 32.
// - Start-up broadcast, 0xE5 0x0F 0xFF 0x14 0x06 0x50 0x90 0 0xFF 0 0 c:
//   every unit announces itself with command 0x90 from its own address:
//   F[12] its kind (9; 0x11 or 0x12; anything else), F[13] and F[14] its two
//   mode bytes (a kind-9 unit whose first mode byte has low bits 2 or 3 is
//   the sub-kind). The engine listens until 10 s pass without a 0x90.
//   The same broadcast heard from another station opens the same window.
// - Reply to a unit's query, 0xBD 0x0F a 0x14 0x06 0x50 0x90 0 0xFF 0 0 c
//   (sent when a unit sends 0x13, or an unknown unit sends 0x80): the unit
//   answers with its 0x90 as above.
// - 300 s broadcast, 0xE5 ... 0x50 0x80 ..., and unit query, 0xBD 0x0F a
//   0x14 0x06 0x50 0x80 0 0xFF 0 0 c: the unit answers with its status,
//   command 0x80 of at least 20 bytes: F[6] run state (bit 0 running),
//   F[7] mode (low four bits the mode number), F[9] error code and F[10]
//   error flag (bit 0 picks the second code table, bit 6 a further flag),
//   F[11] status (low three bits), F[13] set point in whole degrees, F[14]
//   tenths digit | 0x80, with 0x40 below zero, F[18] one more byte. A unit
//   that answered 0x80 in a cycle is not sent the unit query of that cycle.
// - Unit detail queries, 0xBD 0x0F a 0x14 0x06 0x50 x 0 0xFF 0 0 c, with x
//   0xD0, 0xD1, 0xD2 to kind-9 units and 0xDA, 0xDB to kinds 0x11/0x12: the
//   unit answers with command x; the engine takes it only as the end of a
//   pending command (its data goes to the live tables).
// - Group send, 0xF1 0x00 0xFF 0x08 0x06 0x6B d0 d1 d2 d3 0 c: repeats a
//   group entry's 4 bytes to all; nobody answers.
// - Central command, 0xA5 0x0F a 0x14 0x14 0x40 then bytes 6..24 and c at
//   25: byte 6 = 3 run or 2 stop, byte 7 = mode | 0x10, bytes 11 and 12 the
//   set point as in the 0x80 status, byte 15 = 0xC1 or 0x80. A part is
//   given only with its mark (bit 1 of byte 6, bit 4 of byte 7, bit 7 of
//   bytes 12 and 15); the rest are 0. The unit applies the given parts and
//   answers with its 0x80 status. Seeing its own 0x40 come back (own-frame
//   mark) the engine marks the address pending until the unit's 0x13, 0x80,
//   0x90 or detail answer. A 0x40 between others updates the engine's view
//   of the addressed unit the same way.
// - Central state, 0xA4 0x0F a 0x14 0x14 0x40 0x02 ... byte 15 ... c at 25:
//   sent after a unit's 0x13 and on a station's 0x19 while run/stop is
//   locked; the unit applies it without answering.
// - Setting request 0xE6, 0xFD 0x0F 0xFF 0x08 0x04 0xE6 a n v c, and
//   setting change 0xE8, 0xFD 0x0F 0xFF 0x08 0x05 0xE8 a n vl vh c: the unit
//   at a answers with a frame of type 2 (bits 2-4 of F[0] equal 2, e.g.
//   0x88) carrying command 0xE6 or 0xE8 and its own address in F[10].
// - Answers to stations: a station's 0x06 gets 0xFD 0x0F 0xFF 0x1C 0x01
//   0x07 0 0 0 0 0 c, its 0x15 gets 0xBD 0x0F a 0x1C 0x06 0x16 0x01 0 0 0 0
//   c (both only when the engine was started with bit 0).
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
// state (0 stopped, 1 running, 3 running with the mode bit); in `header`
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
  // 0..255.
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
