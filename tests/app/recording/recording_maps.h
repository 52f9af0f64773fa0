// Hand-built maps for the recording set-up tests.
#pragma once

#include "types/MapQ7net.h"

#include <memory>
#include <vector>

// A system's mark and the on-line states of its (outdoor, indoor or central) units.
struct SystemPlan {
  int32_t recode = 1;
  std::vector<int32_t> onLine = {3};
  bool indoor = false;
};

inline void addSystems(Collection<MapSystem>& systems, const std::vector<SystemPlan>& plans, bool central) {
  for (const SystemPlan& plan : plans) {
    auto system = std::make_shared<MapSystem>();
    system->systemNumber = systems.count() + 1;
    system->recode = plan.recode;
    auto& units = central ? system->airconsCen : plan.indoor ? system->airconsIn : system->airconsOut;
    for (int32_t state : plan.onLine) {
      auto unit = std::make_shared<MapAircon>();
      unit->airconNumber = units.count() + 1;
      unit->onLine = state;
      units.add(unit, QString::number(unit->airconNumber));
    }
    systems.add(system, QString::number(system->systemNumber));
  }
}

// A bus map at 20 s for 30 minutes, with a sensor system of that number unless 0.
inline std::shared_ptr<MapQ7net> makeMap(const std::vector<SystemPlan>& ordinary,
                                         const std::vector<SystemPlan>& central = {}, int32_t sensorSystem = 0) {
  auto map = std::make_shared<MapQ7net>();
  map->ifMode = 2;
  map->recodeInterval = 20;
  map->recodeTime = 30;
  addSystems(map->systems, ordinary, false);
  addSystems(map->systemsCen, central, true);
  if (sensorSystem == 0) return map;
  auto sensor = std::make_shared<MapSystem>();
  sensor->systemNumber = sensorSystem;
  map->systemsSen.add(sensor, QStringLiteral("1"));
  return map;
}
