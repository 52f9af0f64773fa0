// The bus engine's handling of received frames: answers to stations and
// units, and what it keeps of every address, class and group entry.
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
#include <algorithm>
#include <cstring>

#include "q7/q7_engine.h"

namespace tramsoll {

namespace {

bool isBroadcast(const uint8_t* f) { return (f[0] & 0x40) != 0; }
bool isType2(const uint8_t* f) { return ((f[0] >> 2) & 0x07) == 2; }

// The commands and queries the engine sends itself; seen back with the
// own-frame mark they tell that the addressed unit has a command pending.
bool isOwnCommandEcho(const uint8_t* f) {
  if (f[5] == 0x40) return true;
  if (f[5] != 0x50) return false;
  switch (f[6]) {
    case q7query::kStatus:
    case q7query::kDetail0:
    case q7query::kDetail1:
    case q7query::kDetail2:
    case q7query::kDetailA:
    case q7query::kDetailB:
      return true;
    default:
      return false;
  }
}

}  // namespace

uint32_t Q7Engine::receiveFrame(std::span<const uint8_t> data, bool ownFrame) {
  // A zero-filled copy lets every handler read any byte it names.
  uint8_t f[kQ7FrameBytes] = {};
  if (!data.empty()) std::memcpy(f, data.data(), std::min(data.size(), kQ7FrameBytes));
  if (ownFrame && isOwnCommandEcho(f)) {
    // The cycle's status broadcast goes to all (0xFF): no unit waits on it,
    // and address 255 must not show as a unit with a command pending.
    if (f[2] != kQ7AllAddresses) addresses_[f[2]].flags |= kPending;
    return 0;
  }
  const int64_t at = now();
  switch (f[5]) {
    case 0x06:
    case 0x15:
    case 0x17:
    case 0x18:
    case 0x19:
    case 0x58:
      return handleStationFrame(f, at);
    case 0x40:
      handleCommandFrame(f);
      return 0;
    case 0x60: case 0x61: case 0x62: case 0x63: case 0x65: case 0x66:
    case 0x68: case 0x69: case 0x6A: case 0x6B: case 0xA8: case 0xE0:
      handleGroupFrame(f);
      return 0;
    default:
      return handleUnitFrame(f, at);
  }
}

uint32_t Q7Engine::handleStationFrame(const uint8_t* f, int64_t at) {
  const uint8_t sender = f[1];
  const int cls = addressClass(sender);
  ClassState& entry = classes_[cls];
  uint32_t result = cls > 31 ? 1u : 0u;
  switch (f[5]) {
    case 0x06:
      if (config_ & kConfigGroups) result |= send(answer06Frame());
      break;
    case 0x15:
      if (config_ & kConfigGroups) result |= send(answer15Frame(sender));
      break;
    case 0x18:
      entry.heard = at;
      entry.flags |= kClassHeard;
      if (cls < kQ7OwnClass) state_ |= q7state::kLowerStation;
      break;
    case 0x19:
      if ((f[6] & 0x0C) == 0x0C) {
        for (int a = 0; a < kQ7Addresses; ++a) {
          if (addresses_[a].flags & kAnswered) result |= sendCentralState(static_cast<uint8_t>(a));
        }
        state_ |= q7state::kRunStopLocked;
      } else {
        state_ &= ~q7state::kRunStopLocked;
      }
      break;
    case 0x58:
      if (f[6] & 0x01) {
        state_ |= q7state::kForcedStop;
      } else {
        state_ &= ~q7state::kForcedStop;
      }
      break;
    default:
      break;
  }
  entry.flags &= ~kClassSilent;
  return result;
}

// Another station's (or the echo of our own) 0x40 command to address F[2]:
// keep the parts it gives.
void Q7Engine::handleCommandFrame(const uint8_t* f) {
  uint8_t* d = addresses_[f[2]].data;
  if (f[6] & 0x02) d[kRunState] = f[6];
  if (isBroadcast(f)) return;
  if (f[7] & 0x10) d[kMode] = f[7];
  if (f[15] & 0x80) d[kControlByte] = f[15];
  if (f[12] & 0x80) {
    d[kSetWhole] = f[11];
    d[kSetTenths] = f[12];
  }
}

void Q7Engine::handleGroupFrame(const uint8_t* f) {
  const uint8_t sender = f[1];
  auto keep = [f](GroupEntry& entry, uint32_t bits) {
    entry.flags |= bits;
    std::memcpy(entry.data, f + 6, sizeof entry.data);
  };
  switch (f[5]) {
    case 0x60:
      if (isType2(f)) keep(firstGroups_[sender], kGroupPrimary | kGroupData);
      break;
    case 0x65: case 0x66: case 0x68: case 0x69: case 0x6A: case 0xE0:
      if (isType2(f)) keep(firstGroups_[sender], kGroupData);
      break;
    case 0x61:
      if (sender != 0) keep(secondGroups_[sender], kGroupPrimary | kGroupData);
      break;
    case 0x62: case 0x63: case 0x6B:
      // Our own group sends come back with sender 0 and are not kept.
      if (sender != 0) keep(secondGroups_[sender], kGroupData);
      break;
    case 0xA8:
      if (isType2(f)) firstGroups_[sender].flags |= kGroupAcknowledged;
      break;
    default:
      break;
  }
}

uint32_t Q7Engine::handleUnitFrame(const uint8_t* f, int64_t at) {
  const uint8_t sender = f[1];
  AddressState& unit = addresses_[sender];
  switch (f[5]) {
    case 0x13: {
      uint32_t result = 0;
      if (!(state_ & q7state::kListening)) {
        result |= send(unitQueryFrame(sender, q7query::kAnnounce));
        if (state_ & q7state::kRunStopLocked) result |= sendCentralState(sender);
      }
      unit.flags &= ~kPending;
      return result;
    }
    case 0x50:
      if (!isBroadcast(f)) return 0;
      if (f[6] == q7query::kAnnounce) {
        startupBroadcastTime_ = at;
        state_ |= q7state::kStartupSent;
      } else if (f[6] == q7query::kStatus) {
        restartCycle(at);
      }
      return 0;
    case 0x80:
      return handleStatusFrame(f);
    case 0x90:
      return handleAnnounceFrame(f, at);
    case 0xD0: case 0xD1: case 0xD2: case 0xDA: case 0xDB:
      unit.flags &= ~kPending;
      return 0;
    case 0xE6:
    case 0xE8:
      if (isType2(f)) settingAnswers_[f[10]] |= f[5] == 0xE6 ? 0x01u : 0x02u;
      return 0;
    default:
      return 0;
  }
}

// A unit's status: an unknown unit is asked to announce itself.
uint32_t Q7Engine::handleStatusFrame(const uint8_t* f) {
  const uint8_t sender = f[1];
  AddressState& unit = addresses_[sender];
  uint32_t result = 0;
  if (!(state_ & q7state::kListening) && !(unit.flags & kAnswered)) {
    result |= send(unitQueryFrame(sender, q7query::kAnnounce));
  }
  unit.flags = (unit.flags | kSeen | kStatusHeard) & ~kPending;
  constexpr int kSources[] = {6, 7, 9, 10, 11, 13, 14, 18};
  for (int i = 0; i < 8; ++i) unit.data[kRunState + i] = f[kSources[i]];
  return result;
}

// A unit's announcement: it is always taken, and only a unit the engine did
// not know yet is asked for its status at once.
uint32_t Q7Engine::handleAnnounceFrame(const uint8_t* f, int64_t at) {
  const uint8_t sender = f[1];
  AddressState& unit = addresses_[sender];
  uint32_t result = 0;
  if (!(state_ & q7state::kListening) && !(unit.flags & kAnswered)) {
    result |= send(unitQueryFrame(sender, q7query::kStatus));
  }
  startupAnswerTime_ = at;
  unit.flags = (unit.flags | kAnswered) & ~kPending;
  unit.data[kKind] = f[12];
  unit.data[kModeFirst] = f[13];
  unit.data[kModeSecond] = f[14];
  if (f[12] == 9) {
    unit.flags = (unit.flags | kDetailUnit) & ~(kDetail2Unit | kDetailSubKind);
    if (modeValueKind9(f[13], f[14]) >= 2) unit.flags |= kDetailSubKind;
  } else if (f[12] == 0x11 || f[12] == 0x12) {
    unit.flags = (unit.flags | kDetail2Unit) & ~(kDetailUnit | kDetailSubKind);
  }
  return result;
}

}  // namespace tramsoll
