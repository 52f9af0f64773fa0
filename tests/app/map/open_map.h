// The map window open on a hand-built map for recording work; the test runs
// its poll and scan itself.
#pragma once

#include "frame/program_values.h"
#include "map/frmMap.h"

#include <QTimer>

#include <memory>

inline frmMap& openMap(const std::shared_ptr<MapQ7net>& map) {
  program().workMode = kWorkRecording;
  frmMap& window = frmMap::instance();
  window.mapMode = kMapModeScan;
  window.mapQ7netObj = window.newMapQ7netObj = map;
  window.showForm();
  window.tmrForExecTramsoll->stop();
  window.tmrForRefreshMap->stop();
  return window;
}
