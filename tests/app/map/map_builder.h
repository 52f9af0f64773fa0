// Maps for the map tests: ordinary systems of so many outdoor and indoor
// units, central systems and a tied sensor system. Every unit is on line,
// numbered from 1 with its zubrelAddress equal to its number, and linked to
// a record placed "P<link>" at control address 16 + link.
#pragma once

#include "types/map_tree.h"
#include "types/GraphSystem.h"
#include "types/unit_kinds.h"

#include <tuple>
#include <utility>
#include <vector>

struct MapBuilder {
  MapQ7net map;
  int32_t links = 0;

  MapBuilder& ordinary(int outdoor, int indoor) {
    const auto system = addSystem(map.systems);
    for (int n = 1; n <= outdoor; ++n) system->airconsOut.add(unit(kOutdoorUnit, n, 1), numberKey(n));
    for (int n = 1; n <= indoor; ++n) system->airconsIn.add(unit(kIndoorUnit, n, 1));
    return *this;
  }
  MapBuilder& central(int count) {
    for (int c = 0; c < count; ++c) addSystem(map.systemsCen)->airconsCen.add(unit(kCentralUnit, 1, 0), numberKey(1));
    return *this;
  }
  MapBuilder& tiedSensor(int32_t systemNumber) {
    addSystem(map.systemsSen)->systemNumber = systemNumber;
    return *this;
  }
  std::shared_ptr<MapAircon> unit(int32_t type, int32_t number, int32_t state) {
    auto link = std::make_shared<LinkAircon>();
    link->linkNo = ++links;
    link->place = QStringLiteral("P%1").arg(links);
    link->controlAddress = 16 + links;
    map.linkAircons.add(link, numberKey(links));
    auto made = std::make_shared<MapAircon>();
    std::tie(made->airconType, made->airconNumber, made->zubrelAddress, made->onLine, made->state, made->linkNoNow) =
        std::tuple(type, number, number, 3, state, links);
    return made;
  }
  static std::shared_ptr<MapSystem> addSystem(Collection<MapSystem>& systems) {
    auto system = std::make_shared<MapSystem>();
    system->systemNumber = systems.count() + 1;
    systems.add(system, numberKey(system->systemNumber));
    return system;
  }
};

// Ordinary systems of {outdoor, indoor} units, central systems, and a sensor
// system tied to a system number (0 for none).
inline MapQ7net mapOf(const std::vector<std::pair<int, int>>& ordinary, int central = 0, int32_t tiedSensor = 0) {
  MapBuilder built;
  for (const auto& [outdoor, indoor] : ordinary) built.ordinary(outdoor, indoor);
  built.central(central);
  if (tiedSensor) built.tiedSensor(tiedSensor);
  return built.map;
}

// A trigger-condition model for outdoor unit 1 of system 1 holding one
// two-state item (the library's item number given) whose first condition
// asks for state 1, the second unused.
inline void giveTheModelOneCondition(GraphSystem& model, int32_t dataItemNo) {
  auto item = std::make_shared<GraphDataItem>();
  std::tie(item->listNo, item->dataItemNo, item->dataType, item->triggerCondition1, item->triggerCondition2) =
      std::tuple(1, dataItemNo, 1, 1, 2);
  auto unit = std::make_shared<GraphAircon>();
  unit->airconNumber = 1;
  unit->dataItems.add(item, numberKey(1));
  std::tie(model.systemKind, model.systemNumber, model.digitalItemNumber) = std::tuple(0, 1, 1);
  model.airconsOut.add(unit, numberKey(1));
}
