#include "map/map_lifecycle.h"

#include "frame/gathering.h"
#include "types/map_tree.h"
#include "map/map_window_maps.h"
#include "recording/trigger_model.h"

#include <algorithm>

namespace {

void emptySystems(Collection<MapSystem>& systems) {
  for (const auto& system : systems) {
    system->airconsOut.clear();
    system->airconsIn.clear();
    system->airconsCen.clear();
    system->airconsSen.clear();
  }
  systems.clear();
}

void setOffLine(const Collection<MapAircon>& units) {
  for (const auto& unit : units) unit->onLine = 0;
}

bool isCustomerMap(const CustomInfor& customer, const std::shared_ptr<MapQ7net>& map) {
  return std::any_of(customer.q7nets.begin(), customer.q7nets.end(), [&map](const auto& held) { return held == map; });
}

}  // namespace

void applyRecordingDefaults(MapQ7net& map, const SensorParams& sensor) {
  map.recodeInterval = 20;
  map.recodeMethod = 0;
  map.recodeTime = 30;
  map.recodeTriggerTime = 30;
  map.check1 = map.check2 = map.check3 = map.check4 = map.check5 = map.check6 = 1;
  map.check7 = map.check8 = 0;
  map.itemName1 = QStringLiteral("Th1");
  map.itemName2 = QStringLiteral("Th2");
  map.itemName3 = QStringLiteral("Th3");
  map.itemName4 = QStringLiteral("Th4");
  map.itemName5 = QStringLiteral("HP");
  map.itemName6 = QStringLiteral("LP");
  map.itemName7 = QStringLiteral("Th5");
  map.itemName8 = QStringLiteral("Th6");
  map.switch7 = 0;
  map.range7 = sensor.range7;
  map.offset7 = sensor.offset7;
  map.fullscall7 = sensor.fullScale7;
  map.unit7 = sensor.unit7;
  map.switch8 = 0;
  map.range8 = sensor.range8;
  map.offset8 = sensor.offset8;
  map.fullscall8 = sensor.fullScale8;
  map.unit8 = sensor.unit8;
}

void deleteMapQ7netObj(MapQ7net& map) {
  emptySystems(map.systems);
  emptySystems(map.systemsCen);
  map.linkAircons.clear();
  emptySystems(map.systemsSen);
}

void deleteMapShowManagerObj(MapShowManager& manager) { manager.pages.clear(); }

void releaseSystemTriggerObj(GraphSystem& model) {
  deleteSystemTriggerObj(model);
  model = GraphSystem();
}

void storeMapIntoCustomer(const std::shared_ptr<MapQ7net>& map, int32_t mapMode, CustomInfor& customer,
                          int32_t& gatherMode) {
  if (map->systems.isEmpty() && map->systemsCen.isEmpty()) {
    if (!isCustomerMap(customer, map)) deleteMapQ7netObj(*map);
    return;
  }
  for (const auto& system : map->systems) {
    setOffLine(system->airconsOut);
    setOffLine(system->airconsIn);
  }
  for (const auto& system : map->systemsCen) setOffLine(system->airconsCen);
  if (hasSensorInput(map->ifMode)) {
    map->ifMode = withoutSensorInput(map->ifMode);
    gatherMode = map->ifMode;
  }
  emptySystems(map->systemsSen);
  if (mapMode == kMapModeScan && customer.q7nets.count() < map->mapNumber) {
    customer.q7nets.add(map, numberKey(map->mapIndex));
  }
}
