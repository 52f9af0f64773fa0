// The map window as the set-up window tests open it.
#pragma once

#include "frame/program_values.h"
#include "map/frmMap.h"
#include "map/map_lifecycle.h"
#include "recording_maps.h"
#include "support/map_window_inside.h"

#include <QAbstractItemView>
#include <QTableWidget>
#include <QtTest>

// The map window open for recording work on `map`, its timers stopped, the
// acquisition running in the map's mode, its trigger-condition model empty
// as after a closing. The opening gives the map the default recording
// settings; then it takes the interval, stop method and minutes given.
inline frmMap& openMapWindow(const std::shared_ptr<MapQ7net>& map, int32_t interval = 20, int32_t method = 0,
                             int32_t minutes = 30) {
  program().workMode = kWorkRecording;
  program().gatherMode = map->ifMode;
  frmMap& window = frmMap::instance();
  window.unload();
  releaseSystemTriggerObj(inside(window).systemTriggerObj);
  inside(window).mapMode = kMapModeScan;
  inside(window).mapQ7netObj = inside(window).newMapQ7netObj = map;
  window.showForm();
  inside(window).tmrForExecTramsoll->stop();
  inside(window).tmrForRefreshMap->stop();
  map->recodeInterval = interval;
  map->recodeMethod = method;
  map->recodeTime = minutes;
  return window;
}

// A click on a grid cell (row from 0), as the engineer makes it.
inline void clickCell(QTableWidget& grid, int row, int column) {
  const QRect cell = grid.visualRect(grid.model()->index(row, column));
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
}
inline void clickRow(QTableWidget& grid, int row) { clickCell(grid, row, 1); }

// The texts of a grid column, "" for a cell without one.
inline QStringList column(const QTableWidget& grid, int column) {
  QStringList texts;
  for (int row = 0; row < grid.rowCount(); ++row) texts << (grid.item(row, column) ? grid.item(row, column)->text() : "");
  return texts;
}
