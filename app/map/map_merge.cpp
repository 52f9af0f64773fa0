#include "map/map_merge.h"

#include "frame/map_title.h"
#include "types/map_tree.h"
#include "types/unit_kinds.h"

#include <memory>

namespace {

constexpr int32_t kOnLine = 3;

// Unit 1 of a system: the unit kept under the key "1".
std::shared_ptr<MapAircon> firstUnit(const Collection<MapAircon>& units) { return units.item(numberKey(1)); }

int32_t firstOutdoorRom(const MapSystem& system) {
  const auto unit = firstUnit(system.airconsOut);
  return unit ? unit->romNumber : 0;
}

bool isOnLine(const MapAircon& unit) { return unit.onLine >= kOnLine; }

// The first stored system whose outdoor unit 1 has that ROM number.
std::shared_ptr<MapSystem> systemOfRom(const MapQ7net& map, int32_t rom) {
  for (const auto& system : map.systems) {
    const auto unit = firstUnit(system->airconsOut);
    if (unit && unit->romNumber == rom) return system;
  }
  return nullptr;
}

// The first central system whose unit 1 has that bus address.
std::shared_ptr<MapSystem> centralSystemAt(const MapQ7net& map, int32_t address) {
  for (const auto& system : map.systemsCen) {
    const auto unit = firstUnit(system->airconsCen);
    if (unit && unit->autoAddress == address) return system;
  }
  return nullptr;
}

template <class Match>
std::shared_ptr<MapAircon> findUnit(const Collection<MapAircon>& units, Match match) {
  for (const auto& unit : units) {
    if (match(*unit)) return unit;
  }
  return nullptr;
}

bool holdsEveryAddress(const Collection<MapAircon>& scanned, const Collection<MapAircon>& stored) {
  for (const auto& unit : scanned) {
    const int32_t address = unit->autoAddress;
    if (!findUnit(stored, [&](const MapAircon& u) { return u.autoAddress == address; })) return false;
  }
  return true;
}

// A model text is taken only from a unit on line, whose text the scan has
// fetched, and never an empty one: a unit that is off line or whose text has
// not come yet leaves the stored model as it is.
void takeModel(const MapAircon& from, MapAircon& to) {
  if (isOnLine(from) && !from.generalKind.isEmpty()) to.generalKind = from.generalKind;
}

// A link record without a model takes its unit's model once the unit is on
// line; a model already set is never overwritten.
void fillEmptyLinkKind(MapQ7net& map, const MapAircon& unit) {
  if (!isOnLine(unit)) return;
  const auto link = findLink(map, unit.linkNoNow);
  if (link && link->kind.isEmpty()) link->kind = unit.generalKind;
}

void takeLiveValues(MapQ7net& map, const MapAircon& from, MapAircon& to) {
  to.zubrelAddress = from.zubrelAddress;
  to.onLine = from.onLine;
  to.state = from.state;
  takeModel(from, to);
  fillEmptyLinkKind(map, to);
}

// Adds under the unit's number; a number already used as a key (a stored
// collection keyed otherwise) still adds the unit, without a key.
void addUnit(Collection<MapAircon>& units, const std::shared_ptr<MapAircon>& unit) {
  if (!units.add(unit, numberKey(unit->airconNumber))) units.add(unit);
}

void rebuildOutdoorUnits(MapQ7net& map, const MapSystem& scanned, MapSystem& stored) {
  stored.airconsOut.clear();
  for (const auto& from : scanned.airconsOut) {
    auto unit = std::make_shared<MapAircon>(*from);
    unit->airconName.clear();
    linkNewUnit(map, *unit);
    addUnit(stored.airconsOut, unit);
  }
}

void mergeBusSystem(MapQ7net& map, const MapSystem& scanned, MapSystem& stored) {
  if (scanned.airconsOut.count() > stored.airconsOut.count()) {
    rebuildOutdoorUnits(map, scanned, stored);
  } else {
    for (const auto& from : scanned.airconsOut) {
      const auto to = findUnit(stored.airconsOut, [&](const MapAircon& u) {
        return u.airconSubNo == from->airconSubNo && u.autoAddress == from->autoAddress;
      });
      if (to) takeLiveValues(map, *from, *to);
    }
  }
  for (const auto& from : scanned.airconsIn) {
    const auto to = findUnit(stored.airconsIn, [&](const MapAircon& u) { return u.autoAddress == from->autoAddress; });
    if (to) takeLiveValues(map, *from, *to);
  }
}

void takeScanValues(const MapAircon& from, MapAircon& to) {
  to.zubrelAddress = from.zubrelAddress;
  to.romNumber = from.romNumber;
  to.onLine = from.onLine;
  to.state = from.state;
  takeModel(from, to);
}

// Board access: the stored collection grows to the scanned count, then each
// scanned unit hands everything it knows to the stored unit of its number.
void mergeBoardUnits(MapQ7net& map, const Collection<MapAircon>& scanned, Collection<MapAircon>& stored,
                     int32_t airconType) {
  for (int32_t number = stored.count() + 1; number <= scanned.count(); ++number) {
    auto unit = std::make_shared<MapAircon>();
    unit->airconNumber = number;
    unit->airconType = airconType;
    linkNewUnit(map, *unit);  // a new record gets no model: the unit has none yet
    addUnit(stored, unit);
  }
  for (const auto& from : scanned) {
    const auto to = findUnit(stored, [&](const MapAircon& u) { return u.airconNumber == from->airconNumber; });
    if (!to) continue;
    to->autoAddress = from->autoAddress;
    to->airconSubNo = from->airconSubNo;
    takeScanValues(*from, *to);
    fillEmptyLinkKind(map, *to);
  }
}

}  // namespace

bool compareScanWithMap(const MapQ7net& scanned, const MapQ7net& stored) {
  for (const auto& system : scanned.systems) {
    const int32_t rom = firstOutdoorRom(*system);
    if (rom == 0) continue;
    const auto partner = systemOfRom(stored, rom);
    if (!partner) return false;
    if (!holdsEveryAddress(system->airconsOut, partner->airconsOut)) return false;
    if (!holdsEveryAddress(system->airconsIn, partner->airconsIn)) return false;
  }
  for (const auto& system : scanned.systemsCen) {
    const auto unit = firstUnit(system->airconsCen);
    if (!unit || !isOnLine(*unit)) continue;
    if (!centralSystemAt(stored, unit->autoAddress)) return false;
  }
  return true;
}

void mergeScanBus(const MapQ7net& scanned, MapQ7net& stored) {
  for (const auto& system : scanned.systems) {
    const int32_t rom = firstOutdoorRom(*system);
    if (rom == 0) continue;
    if (const auto partner = systemOfRom(stored, rom)) mergeBusSystem(stored, *system, *partner);
  }
  for (const auto& system : scanned.systemsCen) {
    const auto from = firstUnit(system->airconsCen);
    if (!from || !isOnLine(*from)) continue;
    const auto partner = centralSystemAt(stored, from->autoAddress);
    if (!partner) continue;
    if (const auto to = firstUnit(partner->airconsCen)) takeScanValues(*from, *to);
  }
}

void mergeScanBoard(const MapQ7net& scanned, MapQ7net& stored) {
  for (const auto& system : scanned.systems) {
    for (const auto& partner : stored.systems) {
      mergeBoardUnits(stored, system->airconsOut, partner->airconsOut, kOutdoorUnit);
      mergeBoardUnits(stored, system->airconsIn, partner->airconsIn, kIndoorUnit);
    }
  }
  for (const auto& system : scanned.systemsCen) {
    const auto partner = findSystem(stored.systemsCen, system->systemNumber);
    if (!partner) continue;
    const auto from = firstUnit(system->airconsCen);
    const auto to = firstUnit(partner->airconsCen);
    if (!from || !to) continue;
    to->autoAddress = from->autoAddress;
    takeScanValues(*from, *to);
  }
}

ScanReconcile reconcileScanWithMap(const MapQ7net& scanned, MapQ7net& stored) {
  if (isBusAccess(stored.ifMode)) {
    if (!compareScanWithMap(scanned, stored)) return ScanReconcile::kMapsDiffer;
    mergeScanBus(scanned, stored);
    return ScanReconcile::kMergedBus;
  }
  if (isBoardAccess(stored.ifMode)) {
    mergeScanBoard(scanned, stored);
    return ScanReconcile::kMergedBoard;
  }
  return ScanReconcile::kNotReconciled;
}
