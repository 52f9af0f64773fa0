// The map window open on a hand-built map for recording work; the test runs
// its poll and scan itself.
#pragma once

#include "frame/program_values.h"
#include "map/frmMap.h"
#include "support/map_window_inside.h"

#include <QTimer>

#include <memory>

inline frmMap& openMap(const std::shared_ptr<MapQ7net>& map) {
  program().workMode = kWorkRecording;
  frmMap& window = frmMap::instance();
  inside(window).mapMode = kMapModeScan;
  inside(window).mapQ7netObj = inside(window).newMapQ7netObj = map;
  window.showForm();
  inside(window).tmrForExecTramsoll->stop();
  inside(window).tmrForRefreshMap->stop();
  return window;
}
