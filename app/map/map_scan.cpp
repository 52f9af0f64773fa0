#include "map/map_scan.h"

#include "frame/library/tramsoll_api.h"
#include "frame/library/tramsoll_client.h"
#include "types/map_tree.h"
#include "types/unit_kinds.h"

#include <algorithm>
#include <set>

namespace {

std::size_t at(int a) { return static_cast<std::size_t>(a); }

void askMissingTexts(MapScanTable& table, int32_t kind, int a, int32_t units, TramsollApi& api) {
  for (int32_t n = 1; n <= units; ++n) {
    QString& text = table.texts[at(a)][static_cast<std::size_t>(n - 1)];
    if (!text.isEmpty()) continue;
    const LibraryText model = TramsollClient(api).unitModelName(kind, a, n);
    if (model.result == 0) text = model.text;
  }
}

void fillScanTable(MapScanTable& table, int32_t kind, TramsollApi& api) {
  api.getQ7AuAdrStatus(kind, table.online.data(), table.count.data(), table.state.data(), table.rom.data(),
                       table.zubrel.data());
  for (int a = 0; a < kBusAddresses; ++a) {
    if (kind == kOutdoorUnit) table.count[at(a)] = std::clamp(table.count[at(a)], 0, kMaxUnitsAtAddress);
    if (table.online[at(a)] <= 2) continue;
    askMissingTexts(table, kind, a, kind == kOutdoorUnit ? table.count[at(a)] : 1, api);
  }
}

// The scan values of the unit at address a, `order` its place there (from 1).
void takeScanValues(MapAircon& unit, const MapScanTable& table, int a, int32_t order) {
  unit.zubrelAddress = table.zubrel[at(a)];
  unit.romNumber = table.rom[at(a)];
  unit.onLine = table.online[at(a)];
  unit.state = table.state[at(a)];
  unit.generalKind = table.texts[at(a)][static_cast<std::size_t>(std::clamp(order, 1, kMaxUnitsAtAddress) - 1)];
}

void refreshUnit(MapQ7net& map, MapAircon& unit, const MapScanTable& table, int a, int32_t order) {
  takeScanValues(unit, table, a, order);
  auto link = findLink(map, unit.linkNoNow);
  if (link && link->kind.isEmpty()) link->kind = unit.generalKind;
}

// A unit of the scan, linked; the caller adds it to its system's collection.
std::shared_ptr<MapAircon> newUnit(MapQ7net& map, int32_t type, int32_t number, const MapScanTable& table, int a,
                                   int32_t order) {
  auto unit = std::make_shared<MapAircon>();
  unit->airconNumber = number;
  unit->airconType = type;
  unit->autoAddress = a;
  unit->airconSubNo = order;
  takeScanValues(*unit, table, a, order);
  linkNewUnit(map, *unit);
  return unit;
}

// A new system joins its collection before it takes its units, so that the
// link numbers of its first units count as used for the next ones.
std::shared_ptr<MapSystem> addNewSystem(Collection<MapSystem>& systems) {
  auto system = std::make_shared<MapSystem>();
  system->systemNumber = systems.count() + 1;
  system->recode = 1;
  systems.add(system, numberKey(system->systemNumber));
  return system;
}

std::shared_ptr<MapSystem> systemOfRom(const MapQ7net& map, int32_t rom) {
  for (const auto& system : map.systems) {
    const auto first = system->airconsOut.item(1);
    if (first && first->romNumber == rom) return system;
  }
  return nullptr;
}

void addOutdoorUnitsAt(MapQ7net& map, MapSystem& system, const MapScanTable& table, int a) {
  for (int32_t order = 1; order <= table.count[at(a)]; ++order) {
    auto unit = newUnit(map, kOutdoorUnit, system.airconsOut.count() + 1, table, a, order);
    system.airconsOut.add(unit, numberKey(unit->airconNumber));
  }
}

int distinctRomNumbers(const MapScanTable& table) {
  std::set<int32_t> roms;
  for (int a = 0; a < kBusAddresses; ++a) {
    if (table.answers(a)) roms.insert(table.rom[at(a)]);
  }
  return static_cast<int>(roms.size());
}

void rebuildOrdinarySystems(MapQ7net& map, const MapScanTable& table, bool& mapFlagRecodeTrigger) {
  for (const auto& system : map.systems) {
    removeLinksOf(map, system->airconsOut);
    removeLinksOf(map, system->airconsIn);
    system->airconsOut.clear();
    system->airconsIn.clear();
  }
  map.systems.clear();
  mapFlagRecodeTrigger = false;
  for (int a = 0; a < kBusAddresses; ++a) {
    if (!table.answers(a)) continue;
    auto system = systemOfRom(map, table.rom[at(a)]);
    if (!system) system = addNewSystem(map.systems);
    addOutdoorUnitsAt(map, *system, table, a);
  }
}

// The system's outdoor units made again from every answering address of its
// ROM number.
void remakeOutdoorUnits(MapQ7net& map, MapSystem& system, const MapScanTable& table, int32_t rom) {
  removeLinksOf(map, system.airconsOut);
  system.airconsOut.clear();
  for (int b = 0; b < kBusAddresses; ++b) {
    if (table.answers(b) && table.rom[at(b)] == rom) addOutdoorUnitsAt(map, system, table, b);
  }
}

void updateOrdinarySystems(MapQ7net& map, const MapScanTable& table) {
  for (int a = 0; a < kBusAddresses; ++a) {
    if (!table.answers(a)) continue;
    auto system = systemOfRom(map, table.rom[at(a)]);
    if (!system) continue;
    int firstAtAddress = 0;
    int32_t unitsAtAddress = 0;
    for (int position = 1; position <= system->airconsOut.count(); ++position) {
      if (system->airconsOut.item(position)->autoAddress != a) continue;
      if (!firstAtAddress) firstAtAddress = position;
      ++unitsAtAddress;
    }
    if (unitsAtAddress == 0 || unitsAtAddress != table.count[at(a)]) {
      remakeOutdoorUnits(map, *system, table, table.rom[at(a)]);
      continue;
    }
    for (int32_t k = 1; k <= unitsAtAddress; ++k) {
      if (auto unit = system->airconsOut.item(firstAtAddress + k - 1)) refreshUnit(map, *unit, table, a, k);
    }
  }
}

std::shared_ptr<MapAircon> findUnitAt(const Collection<MapSystem>& systems, Collection<MapAircon> MapSystem::*units,
                                      int32_t type, int a) {
  for (const auto& system : systems) {
    for (const auto& unit : (*system).*units) {
      if (unit->airconType == type && unit->autoAddress == a) return unit;
    }
  }
  return nullptr;
}

void renumberIndoorUnits(const MapQ7net& map) {
  for (const auto& system : map.systems) {
    for (const auto& unit : system->airconsIn) {
      unit->airconNumber = 1 + static_cast<int32_t>(std::count_if(
                                   system->airconsIn.begin(), system->airconsIn.end(),
                                   [&](const auto& other) { return other->autoAddress < unit->autoAddress; }));
    }
  }
}

void markDefaultTriggerSystem(const Collection<MapSystem>& systems, bool& mapFlagRecodeTrigger) {
  if (mapFlagRecodeTrigger || systems.isEmpty()) return;
  systems.item(1)->recodeTrigger = 1;
  mapFlagRecodeTrigger = true;
}

}  // namespace

void MapScanTable::reset() {
  for (int a = 0; a < kBusAddresses; ++a) address[at(a)] = a;
  zubrel.fill(0);
  rom.fill(0);
  online.fill(0);
  state.fill(0);
  count.fill(0);
  for (auto& textsAtAddress : texts) textsAtAddress.fill(QString());
}

void MapScanTables::reset() {
  outdoor.reset();
  indoor.reset();
  central.reset();
}

void fillScanTables(MapScanTables& tables, TramsollApi& api) {
  fillScanTable(tables.outdoor, kOutdoorUnit, api);
  fillScanTable(tables.indoor, kIndoorUnit, api);
  fillScanTable(tables.central, kCentralUnit, api);
}

void buildOutdoorUnits(MapQ7net& map, const MapScanTable& outdoor, bool& mapFlagRecodeTrigger) {
  if (map.systems.count() < distinctRomNumbers(outdoor)) {
    rebuildOrdinarySystems(map, outdoor, mapFlagRecodeTrigger);
  } else {
    updateOrdinarySystems(map, outdoor);
  }
  markDefaultTriggerSystem(map.systems, mapFlagRecodeTrigger);
}

void buildIndoorUnits(MapQ7net& map, const MapScanTable& indoor) {
  bool added = false;
  for (int a = 0; a < kBusAddresses; ++a) {
    if (!indoor.answers(a)) continue;
    if (auto known = findUnitAt(map.systems, &MapSystem::airconsIn, kIndoorUnit, a)) {
      refreshUnit(map, *known, indoor, a, 1);
      continue;
    }
    auto system = systemOfRom(map, indoor.rom[at(a)]);
    if (!system) continue;
    system->airconsIn.add(newUnit(map, kIndoorUnit, system->airconsIn.count() + 1, indoor, a, 1));
    added = true;
  }
  if (added) renumberIndoorUnits(map);
}

void buildCentralUnits(MapQ7net& map, const MapScanTable& central, bool& mapFlagRecodeTrigger) {
  for (int a = 0; a < kBusAddresses; ++a) {
    if (!central.answers(a)) continue;
    if (auto known = findUnitAt(map.systemsCen, &MapSystem::airconsCen, kCentralUnit, a)) {
      refreshUnit(map, *known, central, a, 1);
      continue;
    }
    auto system = addNewSystem(map.systemsCen);
    system->airconsCen.add(newUnit(map, kCentralUnit, 1, central, a, 1), numberKey(1));
  }
  markDefaultTriggerSystem(map.systemsCen, mapFlagRecodeTrigger);
}

void buildMapFromScan(MapQ7net& map, const MapScanTables& tables, bool& mapFlagRecodeTrigger) {
  buildOutdoorUnits(map, tables.outdoor, mapFlagRecodeTrigger);
  buildIndoorUnits(map, tables.indoor);
  buildCentralUnits(map, tables.central, mapFlagRecodeTrigger);
}

void buildSensorOnlyMap(MapQ7net& map) {
  auto system = std::make_shared<MapSystem>();
  system->systemNumber = 1;
  system->recode = 1;
  auto unit = std::make_shared<MapAircon>();
  unit->airconNumber = 1;
  unit->airconType = kSensorUnit;
  system->airconsSen.add(unit, numberKey(1));
  map.systemsSen.add(system, numberKey(1));
}
