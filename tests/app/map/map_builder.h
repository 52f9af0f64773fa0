// Maps for the map tests: ordinary systems of so many outdoor and indoor
// units, central systems and a tied sensor system. Every unit is on line and
// running, numbered from 1 with its zubrelAddress equal to its number, and
// linked to a record placed "P<link>" at control address 16 + link.
#pragma once

#include "map/map_tree.h"
#include "types/unit_kinds.h"

struct MapBuilder {
  MapQ7net map;
  int32_t links = 0;

  MapBuilder& ordinary(int outdoor, int indoor) {
    auto system = std::make_shared<MapSystem>();
    system->systemNumber = map.systems.count() + 1;
    for (int n = 1; n <= outdoor; ++n) system->airconsOut.add(unit(kOutdoorUnit, n, 1), numberKey(n));
    for (int n = 1; n <= indoor; ++n) system->airconsIn.add(unit(kIndoorUnit, n, 1));
    map.systems.add(system, numberKey(system->systemNumber));
    return *this;
  }
  MapBuilder& central(int count) {
    for (int c = 0; c < count; ++c) {
      auto system = std::make_shared<MapSystem>();
      system->systemNumber = map.systemsCen.count() + 1;
      system->airconsCen.add(unit(kCentralUnit, 1, 0), numberKey(1));
      map.systemsCen.add(system, numberKey(system->systemNumber));
    }
    return *this;
  }
  MapBuilder& tiedSensor(int32_t systemNumber) {
    auto system = std::make_shared<MapSystem>();
    system->systemNumber = systemNumber;
    map.systemsSen.add(system, numberKey(1));
    return *this;
  }

  std::shared_ptr<MapAircon> unit(int32_t type, int32_t number, int32_t state) {
    auto record = std::make_shared<LinkAircon>();
    record->linkNo = ++links;
    record->controlAddress = 16 + links;
    record->place = QStringLiteral("P%1").arg(links);
    map.linkAircons.add(record, numberKey(links));
    auto made = std::make_shared<MapAircon>();
    made->airconType = type;
    made->airconNumber = number;
    made->onLine = 3;
    made->state = state;
    made->zubrelAddress = number;
    made->linkNoNow = links;
    return made;
  }
};
