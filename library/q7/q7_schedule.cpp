// The bus engine's periodic work.
//
// Its times are whole seconds of the clock's steady reading: they only ever
// measure intervals between the engine's own events and are neither shown
// nor stored, and a steady reading cannot go back, so a user setting the
// system clock back cannot hold up the poll or the broadcasts.
#include <algorithm>

#include "q7/q7_engine.h"

namespace tramsoll {

namespace {

constexpr int64_t kPollInterval = 60;     // strictly more than this
constexpr int64_t kSilentAfter = 300;     // strictly more than this
constexpr int64_t kCycle = 300;
constexpr int64_t kUnitQueryAt = 120;
constexpr int64_t kDetailInterval = 60;
constexpr int64_t kListenFor = 10;
constexpr int64_t kGroupInterval = 10;

constexpr uint8_t kDetailCodes[] = {q7query::kDetail0, q7query::kDetail1, q7query::kDetail2};
constexpr uint8_t kDetailACode[] = {q7query::kDetailA};
constexpr uint8_t kDetailBCode[] = {q7query::kDetailB};

}  // namespace

uint32_t Q7Engine::tick() {
  const int64_t at = now();
  uint32_t result = 0;
  if (at - pollTime_ > kPollInterval) {
    pollTime_ = at;
    result |= send(pollFrame());
  }
  for (ClassState& entry : classes_) {
    if ((entry.flags & kClassHeard) && at - entry.heard > kSilentAfter) entry.flags |= kClassSilent;
  }
  if (!(state_ & q7state::kListening)) result |= runCycle(at);
  if ((state_ & q7state::kListening) && (state_ & q7state::kStartupSent)) endListening(at);
  if ((state_ & q7state::kListening) && !(state_ & q7state::kStartupSent)) {
    result |= send(broadcastQueryFrame(q7query::kAnnounce));
    startupBroadcastTime_ = at;
    state_ |= q7state::kStartupSent;
  }
  if ((config_ & kConfigGroups) && at - groupSendTime_ >= kGroupInterval) {
    groupSendTime_ = at;
    result |= sendGroups();
  }
  return result;
}

// The 300 s cycle: the broadcast that asks every unit for its status, then
// from 120 s on a query to each known unit that has not answered it, and
// the detail queries every 60 s.
uint32_t Q7Engine::runCycle(int64_t at) {
  uint32_t result = 0;
  if (at - cycleTime_ >= kCycle) {
    result |= send(broadcastQueryFrame(q7query::kStatus));
    restartCycle(at);
  }
  if (at - cycleTime_ >= kUnitQueryAt) {
    for (int a = 0; a < kQ7Addresses; ++a) {
      AddressState& unit = addresses_[a];
      if (!(unit.flags & kAnswered) || (unit.flags & (kSeen | kQueried | kPending))) continue;
      result |= send(unitQueryFrame(static_cast<uint8_t>(a), q7query::kStatus));
      unit.flags |= kQueried;
    }
  }
  if ((config_ & kConfigDetail) && at - detailTime_ >= kDetailInterval) {
    detailTime_ = at;
    result |= sendDetailQueries(kDetailUnit, kDetailCodes);
  }
  if ((config_ & kConfigDetail2) && at - detailATime_ >= kDetailInterval) {
    detailATime_ = at;
    result |= sendDetailQueries(kDetail2Unit, kDetailACode);
  }
  if ((config_ & kConfigDetail2) && at - detailBTime_ >= kDetailInterval) {
    detailBTime_ = at;
    result |= sendDetailQueries(kDetail2Unit, kDetailBCode);
  }
  return result;
}

uint32_t Q7Engine::sendDetailQueries(uint32_t flag, std::span<const uint8_t> codes) {
  uint32_t result = 0;
  for (int a = 0; a < kQ7Addresses; ++a) {
    if (!(addresses_[a].flags & flag)) continue;
    for (uint8_t code : codes) result |= send(unitQueryFrame(static_cast<uint8_t>(a), code));
  }
  return result;
}

// Listening ends 10 s after the start-up broadcast, or after the last
// unit's announcement when units keep answering.
void Q7Engine::endListening(int64_t at) {
  const int64_t last = std::max(startupBroadcastTime_, startupAnswerTime_);
  if (at - last >= kListenFor) state_ &= ~q7state::kListening;
}

uint32_t Q7Engine::sendGroups() {
  uint32_t result = 0;
  for (GroupEntry& entry : firstGroups_) {
    if (!groupEntryDue(entry)) {
      entry.flags &= ~kGroupMarked;
      continue;
    }
    entry.flags |= kGroupMarked;
    result |= send(groupSendFrame(entry.data));
  }
  return result;
}

// An entry with data is due unless its own primary frame or an
// acknowledgement was seen; a second-table entry with the same bytes that
// has no primary frame makes it due all the same.
bool Q7Engine::groupEntryDue(const GroupEntry& entry) const {
  if (!(entry.flags & kGroupData)) return false;
  if (!(entry.flags & (kGroupPrimary | kGroupAcknowledged))) return true;
  for (const GroupEntry& second : secondGroups_) {
    if ((second.flags & (kGroupPrimary | kGroupData)) != kGroupData) continue;
    if (std::equal(second.data, second.data + 4, entry.data)) return true;
  }
  return false;
}

}  // namespace tramsoll
