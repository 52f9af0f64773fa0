// The recording work that the worker's timer step does at its slots. The
// timer step calls these; the recorded-data file code provides them.
#pragma once

#include <cstdint>
#include <ctime>

namespace tramsoll {

// Appends one periodic record stamped `stamp` to every periodic recording.
void appendPeriodicRecord(std::time_t stamp);
// Appends one trigger record stamped `stamp` to the trigger work file.
void appendTriggerRecord(std::time_t stamp);
// The two recordings whose missed slots a step fills (their file kinds).
enum class SlotRecording { Periodic = 1, Trigger = 2 };

// The catch-up of missed slots, which may take several steps. How many of
// `missed` records one step appends: as many as fit in the bytes one step
// may write across the recording's files, at least 1.
int32_t catchUpBatch(SlotRecording recording, int64_t missed);
// Appends `count` records stamped first, first + interval, ... in one write,
// one sync and one header update per file. Every record of one catch-up
// repeats the snapshot of its first batch, as one append of all of them
// would; endCatchUp lets go of that snapshot.
void appendCatchUpRecords(SlotRecording recording, std::time_t first, int32_t count);
void endCatchUp(SlotRecording recording);

// Number of records the trigger work file holds now.
int32_t triggerRecordCount();
// Drops the `count` oldest records of the trigger work file.
void dropOldestTriggerRecords(int32_t count);
// Marks the newest record of the trigger work file as the trigger record.
void markTriggerRecord();
// Ends trigger recording: releases its file slot. The caller frees the
// units' conditions and clears the selection marks and state bits.
void releaseTriggerRecording();
}  // namespace tramsoll
