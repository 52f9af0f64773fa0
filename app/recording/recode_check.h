// The checks a periodic recording passes before it starts, and the numbered
// messages of the recording set-ups.
#pragma once

#include "types/MapQ7net.h"

#include <QString>

#include <array>
#include <cstdint>

// Results of the checks; a window moves the focus to the record time box
// (time missing) or to the system grid (no system) when it is shown, then
// shows the result's message.
enum RecodeCheckResult : int32_t { kRecodeReady = 0, kRecodeTimeMissing = 1, kRecodeSystemMissing = 2 };

// A recording stopped by time needs a record time above 0.
int32_t checkRecodeTime(const MapQ7net& map);
// The record time, then a recorded system: the ordinary systems are walked
// in order, then the central ones, each walk stopping at the first system
// still marked after losing its mark when no unit of it is on line. Marks
// after the found system stay as they are.
int32_t checkRecodeData(MapQ7net& map);

// A numbered message of the set-up: its key and three lines from the text
// table.
struct NumberedMessage {
  QString key;
  std::array<QString, 3> lines;
};
enum class RecordingMessage {
  RecordTime,      // "7-1": no record time for a recording stopped by time
  RecordSystem,    // "7-2": no system to record
  SensorSettings,  // "7-3": the sensor-input set-up was not visited
  SensorValues,    // "8-1": an offset or full scale is not a number
  TriggerTime,     // "9-1": no record time before and after the trigger
  TriggerConditions,  // "9-2": no trigger condition set
};
NumberedMessage recordingMessage(RecordingMessage which);
// The message of a failed check (kRecodeTimeMissing or kRecodeSystemMissing).
NumberedMessage recodeCheckMessage(int32_t result);
// Shows the message modal over the main window.
void showRecordingMessage(const NumberedMessage& message);
