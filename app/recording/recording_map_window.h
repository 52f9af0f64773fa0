// The map window as the recording set-up windows see it: the map they edit
// in place, the trigger-condition model it keeps for that map, whether
// periodic or trigger recording runs, the visit of the sensor-input set-up,
// the refresh of its buttons, its closing, and the two recordings a
// confirmation may start. The map window opens the set-up windows, so they
// cannot include it; it puts itself in place here when it is made.
#pragma once

#include "types/GraphSystem.h"
#include "types/MapQ7net.h"

#include <QObject>

#include <memory>

class RecordingMapWindow {
 public:
  // frmMap.mapQ7netObj: the current map (null before any map was opened).
  virtual std::shared_ptr<MapQ7net> recordingMap() const = 0;
  // frmMap.mapRecode: periodic recording runs; the set-ups then only show.
  virtual bool periodicRecordingRuns() const = 0;
  // frmMap.systemTriggerObj: the trigger-condition model of the current map.
  virtual GraphSystem& triggerModel() = 0;
  // frmMap.mapRecodeTrigger: trigger recording is armed or runs; the
  // trigger set-up then only shows.
  virtual bool triggerRecordingRuns() const = 0;
  // frmMap.flagRecodeSensorInputShow: the sensor-input set-up has been
  // opened since the map window opened.
  virtual bool sensorInputSetUpShown() const = 0;
  virtual void noteSensorInputSetUpShown() = 0;
  // frmMap.showButtonName.
  virtual void refreshModeButtons() = 0;
  // frmMap.flagForEnd: the map window is closing.
  virtual bool mapClosing() const = 0;
  // frmMap.startRecode and frmMap.startRecodeTrigger.
  virtual void startPeriodicRecording() = 0;
  virtual void startTriggerRecording() = 0;

 protected:
  RecordingMapWindow() = default;
  ~RecordingMapWindow() = default;
};

// Puts the map window in place; it drops out by itself when the window is
// destroyed.
void installRecordingMapWindow(QObject* window, RecordingMapWindow* asSeen);
// The map window, or null when none exists.
RecordingMapWindow* recordingMapWindow();
// The current map, or null when there is no map window or no map.
std::shared_ptr<MapQ7net> recordingMap();
// Whether periodic recording runs (false without a map window).
bool periodicRecordingRuns();
// Whether trigger recording runs (false without a map window).
bool triggerRecordingRuns();
