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
// Number of records the trigger work file holds now.
int32_t triggerRecordCount();
// Drops the `count` oldest records of the trigger work file.
void dropOldestTriggerRecords(int32_t count);
// Marks the newest record of the trigger work file as the trigger record.
void markTriggerRecord();
// Ends trigger recording: releases its file slot. The caller frees the
// units' conditions and clears the selection marks and state bits.
void releaseTriggerRecording();
// True when the armed trigger condition holds on the current snapshot;
// `mode` is 2 on the bus, 4 over a board connection.
bool checkTriggerCondition(int mode);

}  // namespace tramsoll
