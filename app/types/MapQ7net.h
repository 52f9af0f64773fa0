// One network map of a customer site.
#pragma once

#include "types/Collection.h"
#include "types/LinkAircon.h"
#include "types/MapSystem.h"

#include <QString>

#include <cstdint>

struct MapQ7net {
  QString customName;                 // the customer's name, copied when the map is read
  QString mapName;
  int32_t mapNumber = 0;              // number within the customer, from 1
  int32_t mapIndex = 0;               // key in CustomInfor::q7nets
  int32_t ifMode = 0;                 // interface mode bits: 1 sensor, 2 bus, 4 one system, 8 one unit
  QString generalKind;                // model text of the map
  int32_t saveYear = 0;
  int32_t saveMonth = 0;
  int32_t saveDay = 0;
  Collection<MapSystem> systems;      // outdoor/indoor systems, keyed by system number text
  Collection<MapSystem> systemsCen;   // central-unit systems, keyed by system number text
  Collection<LinkAircon> linkAircons; // keyed by linkNo text
  bool flagForSensor = false;         // reached by sensor input only
  Collection<MapSystem> systemsSen;   // sensor-input systems

  // Recording settings; not stored in the customer file.
  int32_t recodeInterval = 0;         // seconds
  int32_t recodeMethod = 0;
  int32_t recodeTime = 0;             // minutes
  int32_t recodeTriggerTime = 0;      // minutes
  int32_t check1 = 0, check2 = 0, check3 = 0, check4 = 0;
  int32_t check5 = 0, check6 = 0, check7 = 0, check8 = 0;
  QString itemName1, itemName2, itemName3, itemName4;
  QString itemName5, itemName6, itemName7, itemName8;
  int32_t switch7 = 0, range7 = 0, offset7 = 0, fullscall7 = 0;
  QString unit7;
  int32_t switch8 = 0, range8 = 0, offset8 = 0, fullscall8 = 0;
  QString unit8;
};
