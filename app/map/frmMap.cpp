#include "map/frmMap.h"

#include "frame/program_values.h"

frmMap::frmMap() { setWindowTitle(QStringLiteral("Network Map Display")); }

void frmMap::onLoad() { dataShowForms.clearFlagForEnd(); }

// The library's side of stopping a recording comes with the recording
// control of the map; here only the window's flags follow.
void frmMap::stopRecode() { mapRecode = false; }

void frmMap::stopRecodeTrigger() {
  mapRecodeTrigger = false;
  mapRecodeTriggerOn = false;
}

void frmMap::stopRecodeQ7Data() { mapRecodeQ7Data = false; }

void frmMap::stopRunningRecordings() {
  if (mapRecode) stopRecode();
  if (mapRecodeTrigger) stopRecodeTrigger();
  if (mapRecodeQ7Data) stopRecodeQ7Data();
}

void frmMap::prepareForEndFormMap() {
  stopRunningRecordings();
  dataShowForms.prepareForEnd();
  unload();
  program().mapFormOpen = false;
}

bool frmMap::recordingRuns() const { return mapRecode || mapRecodeTrigger || mapRecodeQ7Data; }

void frmMap::prepareForEnd() {
  stopRunningRecordings();
  dataShowForms.prepareForEnd();
  if (program().mapFormOpen) prepareForEndFormMap();
}

bool frmMap::closed() const { return dataShowForms.isEmpty() && !program().mapFormOpen; }
