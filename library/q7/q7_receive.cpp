// The bus engine's handling of received frames: answers to stations and
// units, and what it keeps of every address, class and group entry.
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
  unit.flags = (unit.flags | kSeen) & ~kPending;
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
