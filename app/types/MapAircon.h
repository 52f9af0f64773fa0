// One unit on a network map.
#pragma once

#include <QString>

#include <cstdint>

struct MapAircon {
  QString airconName;         // display name
  int32_t airconNumber = 0;   // number within its collection, from 1
  int32_t airconType = 0;     // 0 outdoor, 1 indoor, 100 central, 200 sensor input
  int32_t autoAddress = 0;    // address on the bus
  int32_t airconSubNo = 0;    // place among outdoor units sharing autoAddress, from 1
  int32_t zubrelAddress = 0;  // address on the remote-service network
  int32_t romNumber = 0;
  int32_t onLine = 0;         // answer state of the latest bus scan, 0..4
  int32_t state = 0;          // status code choosing the icon colour
  QString generalKind;        // model text
  int32_t linkNoNow = 0;      // linkNo of its LinkAircon in the current map
  int32_t linkNoOld = 0;      // link number before the latest merge
};
