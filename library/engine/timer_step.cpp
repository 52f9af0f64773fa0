#include "engine/timer_step.h"

#include <algorithm>
#include <atomic>
#include <span>

#include "adapter/plus.h"
#include "adapter/send_ring.h"
#include "adapter/vexa5.h"
#include "base/debug_ring.h"
#include "base/local_time.h"
#include "base/status_words.h"
#include "engine/bus_decode.h"
#include "engine/gathering.h"
#include "engine/settings.h"
#include "engine/trigger_check.h"
#include "engine/unit_tables.h"
#include "files/recording_step.h"
#include "q7/q7_engine.h"
#include "store/discovery_table.h"
#include "store/live_table.h"
#include "store/recv_ring.h"
#include "tables/model_tables.h"

namespace tramsoll {

namespace {

// Records a trigger recording keeps before the trigger beyond its pre-trigger
// count before the oldest are dropped.
constexpr int32_t kTriggerSlack = 120;

std::atomic<SnapshotObserver> snapshotObserver{nullptr};

// What differs between the two adapter types' steps.
struct AdapterCalls {
  void (*dispatch)();
  bool (*queuePoll)();
  bool (*queueBusSend)(const uint8_t*, int);
  bool (*scheduler)();
  // Vexa5 only: the line on a clock set back, the board snapshots and the
  // data requests of the next slot.
  bool boardWork;
};

void dispatchVexa5() { vexa5Dispatch(); }

const AdapterCalls kVexa5Calls{dispatchVexa5, queueStatusPoll, queueBusSend, vexa5Scheduler, true};
const AdapterCalls kPlusCalls{plusDispatch, queuePlusStatusPoll, queuePlusBusSend, plusScheduler, false};

bool stateHas(uint32_t bits) { return (gatherState.load() & bits) != 0; }

// " yy/mm/dd hh:mm:ss" of a time, for the ends of diagnostic lines.
struct DateText {
  explicit DateText(std::time_t t) { dateTimeText(t, text, sizeof text); }
  char text[24];
};

void reportSkipped(const char* what, int64_t missed, std::time_t now) {
  logLine("Tramsoll: %s Skipped=%d times %s", what, static_cast<int>(missed), DateText(now).text);
}

// Missed slots of one interval: how many, logged with `what`; the due time
// then stands one interval before the current slot.
int64_t missedSlots(std::time_t slot, std::time_t& due, int32_t interval, const char* what, std::time_t now) {
  if (slot - due <= interval) return 0;
  int64_t missed = (slot - due) / interval - 1;
  reportSkipped(what, missed, now);
  return missed;
}

enum class SlotDue { No, Yes, Reversed };

SlotDue slotDue(std::time_t slot, std::time_t due, int32_t interval) {
  if (slot - due == interval) return SlotDue::Yes;
  return slot >= due ? SlotDue::No : SlotDue::Reversed;
}

// One recording's missed slots: due + interval up to the slot before the
// current one. They are appended in batches of what one step may write, so
// a long catch-up goes on over the next steps while the exports get their
// turns between them; the due time moves only with what was written, so the
// step writes no current record before the catch-up is done and the records
// stay in time order. Each missed slot is reported once, when first seen.
void catchUpRecording(SlotRecording recording, std::time_t slot, std::time_t& due, std::time_t& reported,
                      int32_t interval, const char* what, std::time_t now) {
  std::time_t newest = slot - interval;
  if (newest <= due) {
    if (reported) endCatchUp(recording);
    reported = 0;
    return;
  }
  if (newest > std::max(due, reported)) {
    reportSkipped(what, (newest - std::max(due, reported)) / interval, now);
    if (recording == SlotRecording::Trigger) logLine("Tramsoll: Trig PreTim set %s", DateText(slot).text);
    reported = newest;
  }
  int64_t missed = (newest - due) / interval;
  int32_t count = catchUpBatch(recording, missed);
  appendCatchUpRecords(recording, due + interval, count);
  due = count >= missed ? newest : due + static_cast<std::time_t>(count) * interval;
  if (due < newest) return;
  endCatchUp(recording);
  reported = 0;
}

// ---- Adapter poll and bus work ----

void pollAdapter(const AdapterCalls& calls, std::time_t tick) {
  GatherValues& v = gatherValues();
  if (tick - v.lastPollTime < kPollSeconds && tick >= v.lastPollTime) return;
  calls.queuePoll();
  v.lastPollTime = tick;
}

// Every received frame into the unit tables and, with central operation
// permitted, the bus engine; then its periodic work and its frames out.
void busWork(const AdapterCalls& calls) {
  bool central = centralOperationFlag.load() == 1;
  BusFrameRecord record;
  while (recvRingTake(record)) {
    bool ownFrame = false;
    if (!checkBusRecord(record, ownFrame)) continue;
    if (!ownFrame) {
      decodeAutoAddress(record);
      decodeUnitData(record);
    }
    if (central) {
      std::size_t count = static_cast<std::size_t>(record.count < 0 ? 0 : record.count);
      busEngine().receiveFrame(std::span<const uint8_t>(record.data, count), ownFrame);
    }
  }
  watchSilence();
  if (!central) return;
  busEngine().tick();
  uint8_t frame[kQ7FrameBytes];
  int32_t length = 0;
  while (busEngine().nextFrame(frame, length) == 0) calls.queueBusSend(frame, length);
}

// ---- Gather slot ----

// Step 4: whether the gather slot of `now` is due (also when the clock went
// back behind the last slot).
bool gatherSlotDue(const AdapterCalls& calls, std::time_t slot) {
  GatherValues& v = gatherValues();
  switch (slotDue(slot, v.dataDue, v.dataInterval)) {
    case SlotDue::Yes:
      return true;
    case SlotDue::No:
      return false;
    case SlotDue::Reversed:
      break;
  }
  if (calls.boardWork)
    logLine("Tramsoll: Exec-Call Interval Reversed=%d sec", static_cast<int>(v.dataDue - slot));
  setBits(errLine, line::kClockBack);
  return true;
}

void takeSnapshot(const AdapterCalls& calls, std::time_t slot) {
  GatherValues& v = gatherValues();
  if (stateHas(gather::kBusMonitor)) {
    gatherBusSnapshot();
  } else if (calls.boardWork && stateHas(gather::kOneSystem)) {
    gatherTargetSnapshot(v.targetIndex, 7);
  } else if (calls.boardWork && stateHas(gather::kOneUnit)) {
    gatherTargetSnapshot(v.targetIndex, boardKindOf(gatherState.load()));
  }
  liveDataTable().advanceSnapshot();
  v.dataDue = slot;
  if (SnapshotObserver observer = snapshotObserver.load()) observer(slot);
}

// The slot of `now` for a recording interval when it is due, also when the
// clock went back behind the last one (said with `reversedLine`).
bool recordingSlotDue(std::time_t now, int32_t interval, std::time_t due, const char* reversedLine,
                      std::time_t& slot) {
  slot = slotTime(now, interval);
  SlotDue state = slotDue(slot, due, interval);
  if (state == SlotDue::Reversed) putDebugMessage(reversedLine);
  return state != SlotDue::No;
}

void periodicRecord(std::time_t now) {
  GatherValues& v = gatherValues();
  std::time_t slot = 0;
  if (!stateHas(gather::kPeriodicRecording) || v.constInterval <= 0) return;
  if (!recordingSlotDue(now, v.constInterval, v.constDue, "Tramsoll: Cnst-Save Interval Reversed", slot)) return;
  appendPeriodicRecord(slot);
  v.constDue = slot;
}

void endTriggerRecording(int32_t records) {
  logLine("Tramsoll: Trig-Save End DatNum=%d", records);
  releaseTriggerRecording();
  liveDataTable().freeTriggerFlags();
  autoAdrTable().unmarkAll(2);
  clearBits(gatherState, gather::kTriggerArmed | gather::kTriggerFired);
}

void triggerWork(std::time_t now) {
  GatherValues& v = gatherValues();
  std::time_t slot = 0;
  if (!stateHas(gather::kTriggerArmed) || v.trigInterval <= 0) return;
  if (!recordingSlotDue(now, v.trigInterval, v.trigDue, "Tramsoll: Trig-Save Interval Reversed", slot)) return;
  appendTriggerRecord(slot);
  v.trigDue = slot;
  int32_t records = triggerRecordCount();
  if (stateHas(gather::kTriggerFired)) {
    if (records >= v.trigPreCount + v.trigPostCount) endTriggerRecording(records);
    return;
  }
  if (checkTriggerCondition(stateHas(gather::kBusMonitor) ? triggeraccess::kBus : triggeraccess::kBoard)) {
    logLine("Tramsoll: Trig-ON DatNum=%d", records);
    if (records > v.trigPreCount) dropOldestTriggerRecords(records - v.trigPreCount);
    setBits(gatherState, gather::kTriggerFired);
    markTriggerRecord();
    v.trigPreCount = triggerRecordCount();
  } else if (records > v.trigPreCount + kTriggerSlack) {
    dropOldestTriggerRecords(records - v.trigPreCount);
  }
}

// Step 8: the requests for the next slot. A slot's board requests go out
// whole or not at all.
void queueRequests() {
  GatherValues& v = gatherValues();
  if (stateHas(gather::kLogger)) queueSensorRequest();
  int kind = stateHas(gather::kOneSystem) ? kOneSystemKind : stateHas(gather::kOneUnit) ? boardKindOf(gatherState.load()) : 0;
  if (kind == 0 || !sendRing().hasRoomFor(v.requestCount)) return;
  for (int32_t i = 0; i < v.requestCount; ++i) {
    char name[kBlockNameSize];
    uint16_t length = 0;
    if (!getKishuData(v.targetIndex, i, name, length)) continue;
    if (kind == kOneSystemKind)
      queueParameterRequest(name);
    else
      queueUnitRequest(kind, name, length);
  }
}

void adapterStep(const AdapterCalls& calls, std::time_t tick, std::time_t now) {
  calls.dispatch();
  pollAdapter(calls, tick);
  if (stateHas(gather::kBusMonitor)) busWork(calls);
  std::time_t slot = slotTime(now, gatherValues().dataInterval);
  if (gatherSlotDue(calls, slot)) {
    takeSnapshot(calls, slot);
    periodicRecord(now);
    triggerWork(now);
    if (calls.boardWork) queueRequests();
  }
  calls.scheduler();
}

}  // namespace

std::time_t catchUpSlots(std::time_t now) {
  GatherValues& v = gatherValues();
  std::time_t gatherSlot = slotTime(now, v.dataInterval);
  if (int64_t missed = missedSlots(gatherSlot, v.dataDue, v.dataInterval, "Timer Intv", now)) {
    liveDataTable().advanceSnapshot(static_cast<uint32_t>(missed));
    setBits(errLine, line::kSlotsSkipped);
    v.dataDue = gatherSlot - v.dataInterval;
  }
  if (stateHas(gather::kPeriodicRecording) && v.constInterval > 0)
    catchUpRecording(SlotRecording::Periodic, slotTime(now, v.constInterval), v.constDue, v.constReported,
                     v.constInterval, "Cnst-Save Intv", now);
  if (stateHas(gather::kTriggerArmed) && v.trigInterval > 0)
    catchUpRecording(SlotRecording::Trigger, slotTime(now, v.trigInterval), v.trigDue, v.trigReported,
                     v.trigInterval, "Trig-Save Intv", now);
  return gatherSlot;
}

void vexa5Step(std::time_t tick, std::time_t now) { adapterStep(kVexa5Calls, tick, now); }

void plusStep(std::time_t tick, std::time_t now) { adapterStep(kPlusCalls, tick, now); }

void runTimerStep(std::time_t now) {
  std::time_t tick = catchUpSlots(now);
  switch (adapterType.load()) {
    case 0:
      vexa5Step(tick, now);
      break;
    case 1:
      plusStep(tick, now);
      break;
    default:
      break;
  }
}

void setSnapshotObserver(SnapshotObserver observer) { snapshotObserver.store(observer); }

}  // namespace tramsoll
