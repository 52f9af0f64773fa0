// One refrigerant system of a network map.
#pragma once

#include "types/Collection.h"
#include "types/MapAircon.h"

#include <QString>

#include <cstdint>

struct MapSystem {
  QString systemName;
  int32_t systemNumber = 0;          // number within its collection, from 1
  Collection<MapAircon> airconsOut;  // outdoor units, keyed by airconNumber text
  Collection<MapAircon> airconsIn;   // indoor units (the customer file adds them without key)
  Collection<MapAircon> airconsCen;  // central units, keyed by airconNumber text
  Collection<MapAircon> airconsSen;  // sensor inputs
  int32_t recode = 0;                // chosen for periodic recording
  int32_t recodeTrigger = 0;         // chosen for trigger recording
};
