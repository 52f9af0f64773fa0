// The map window's state and controls as the tests force and read them:
// recordings marked as running, the pages and the place in them, the timers
// stopped or sped up, the buttons clicked.
#pragma once

#include "map/frmMap.h"
#include "map/map_picture.h"

#include <QPushButton>
#include <QTimer>

#include <array>
#include <memory>

struct MapWindowInside {
  explicit MapWindowInside(frmMap& window)
      : mapMode(window.mapMode),
        newMapQ7netObj(window.newMapQ7netObj),
        mapQ7netObj(window.mapQ7netObj),
        mapShowManagerObj(window.mapShowManagerObj),
        systemTriggerObj(window.systemTriggerObj),
        dataShowForms(window.dataShowForms),
        mapRecode(window.mapRecode),
        mapRecodeTrigger(window.mapRecodeTrigger),
        mapRecodeTriggerOn(window.mapRecodeTriggerOn),
        mapRecodeQ7Data(window.mapRecodeQ7Data),
        tmrForExecTramsoll(window.tmrForExecTramsoll),
        tmrForRefreshMap(window.tmrForRefreshMap),
        tmrForRecode(window.tmrForRecode),
        tmrForEnd(window.tmrForEnd),
        tmrForSendE6(window.tmrForSendE6),
        picMap(window.picMap),
        cmdShowMode(window.cmdShowMode),
        cmdMode(window.cmdMode),
        cmdCancel(window.cmdCancel) {}

  int32_t& mapMode;
  std::shared_ptr<MapQ7net>& newMapQ7netObj;
  std::shared_ptr<MapQ7net>& mapQ7netObj;
  MapShowManager& mapShowManagerObj;
  GraphSystem& systemTriggerObj;
  DisplayWindowOwner& dataShowForms;
  bool& mapRecode;
  bool& mapRecodeTrigger;
  bool& mapRecodeTriggerOn;
  bool& mapRecodeQ7Data;
  QTimer* tmrForExecTramsoll;
  QTimer* tmrForRefreshMap;
  QTimer* tmrForRecode;
  QTimer* tmrForEnd;
  QTimer* tmrForSendE6;
  MapPicture* picMap;
  QPushButton* cmdShowMode;
  const std::array<QPushButton*, 4>& cmdMode;
  QPushButton* cmdCancel;
};

inline MapWindowInside inside(frmMap& window) { return MapWindowInside(window); }
