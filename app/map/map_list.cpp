#include "map/map_list.h"

#include "frame/program_values.h"
#include "map/map_gathering.h"
#include "map/map_lifecycle.h"

#include <algorithm>
#include <vector>

namespace {

bool anyModelMissing(const Collection<MapAircon>& units) {
  return std::any_of(units.begin(), units.end(), [](const auto& unit) { return unit->generalKind.isEmpty(); });
}

// Marks the trigger system among `systems` while none is marked yet.
void resetChoices(Collection<MapSystem>& systems, bool& triggerGiven) {
  for (const auto& system : systems) {
    system->recode = 1;
    const bool trigger = !triggerGiven && system->systemNumber == 1;
    system->recodeTrigger = trigger ? 1 : 0;
    triggerGiven = triggerGiven || trigger;
  }
}

}  // namespace

void renumberMaps(CustomInfor& customer) {
  std::vector<std::shared_ptr<MapQ7net>> maps(customer.q7nets.begin(), customer.q7nets.end());
  std::stable_sort(maps.begin(), maps.end(), [](const auto& a, const auto& b) { return a->mapNumber < b->mapNumber; });
  int32_t number = 0;
  for (const auto& map : maps) map->mapNumber = ++number;
}

std::shared_ptr<MapQ7net> mapOfNumber(const CustomInfor& customer, int32_t mapNumber) {
  for (const auto& map : customer.q7nets) {
    if (map->mapNumber == mapNumber) return map;
  }
  return nullptr;
}

int32_t mapListSelectedRow(int32_t selectedRow, int32_t mapCount) {
  if (mapCount <= 0) return 0;
  if (selectedRow <= 0) return 1;
  return std::min(selectedRow, mapCount);
}

SiteFileResult deleteMap(int32_t mapNumber) {
  CustomInfor& customer = currentCustomer();
  const auto deleted = mapOfNumber(customer, mapNumber);
  if (!deleted) return {};
  for (const auto& map : customer.q7nets) {
    if (map->mapNumber > deleted->mapNumber) --map->mapNumber;
  }
  for (int position = 1; position <= customer.q7nets.count(); ++position) {
    if (customer.q7nets.item(position) == deleted) customer.q7nets.remove(position);
  }
  deleteMapQ7netObj(*deleted);
  // The maps of a recording without a customer have no file.
  if (customer.id.isEmpty()) return {};
  return saveCustomerFile();
}

bool everyUnitHasKnownModel(const MapQ7net& map) {
  for (const auto& system : map.systems) {
    if (anyModelMissing(system->airconsOut) || anyModelMissing(system->airconsIn)) return false;
  }
  for (const auto& system : map.systemsCen) {
    if (anyModelMissing(system->airconsCen)) return false;
  }
  return true;
}

void resetRecordingChoices(MapQ7net& map) {
  bool triggerGiven = false;
  resetChoices(map.systems, triggerGiven);
  resetChoices(map.systemsCen, triggerGiven);
}

void fixMapForWindow(MapWindowMaps maps, const std::shared_ptr<MapQ7net>& map, int32_t mode, TramsollApi& api) {
  if (!map) return;
  deleteMapShowManagerObj(maps.mapShowManagerObj);
  // In stored mode the window's scan map is its own; never the chosen map.
  if (maps.mapMode == kMapModeStored && maps.newMapQ7netObj && maps.newMapQ7netObj != map) {
    deleteMapQ7netObj(*maps.newMapQ7netObj);
  }
  if (mode == kFixRestartWithScan) restartGatheringWithBusScan(api, program().gatherMode);
  maps.mapMode = kMapModeStored;
  maps.newMapQ7netObj = std::make_shared<MapQ7net>();
  if (mode == kFixGathering || mode == kFixRestartWithScan) resetRecordingChoices(*map);
  maps.mapQ7netObj = map;
}
