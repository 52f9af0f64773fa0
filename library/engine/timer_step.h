// The worker's timer step: the catch-up of missed slots, then the step of
// the adapter type: the adapter's answers, the status poll, the bus frames
// into the unit tables and the bus engine, and once per gather slot the
// snapshot, the recording and trigger work and the next data requests; last
// the next packet to the adapter.
//
// Every slot is aligned to whole multiples of its interval counted from the
// clock's epoch, so records of different recordings fall on common times.
#pragma once

#include <cstdint>
#include <ctime>

namespace tramsoll {

// The slot time of `t` for an interval of at least 1 s.
inline std::time_t slotTime(std::time_t t, int32_t interval) { return t / interval * interval; }

// Seconds between status polls of the adapter.
constexpr int kPollSeconds = 30;

// One whole step at the clock reading `now` (whole seconds). The caller holds
// the step frame (the worker) or is alone (tests).
void runTimerStep(std::time_t now);

// Fills gather, periodic and trigger slots missed since the last step, so
// that the step below finds exactly one slot due. Answers the gather slot of
// `now`, the time the status poll follows.
std::time_t catchUpSlots(std::time_t now);

// The steps of adapter type 0 (Vexa5) and 1 (Plus).
void vexa5Step(std::time_t tick, std::time_t now);
void plusStep(std::time_t tick, std::time_t now);

// Called on the worker after each gather slot's snapshot, with the slot's
// time (timing measurements). nullptr for none.
using SnapshotObserver = void (*)(std::time_t slot);
void setSnapshotObserver(SnapshotObserver observer);

}  // namespace tramsoll
