#include "types/map_tree.h"

std::shared_ptr<MapSystem> findSystem(const Collection<MapSystem>& systems, int32_t systemNumber) {
  for (const auto& system : systems) {
    if (system->systemNumber == systemNumber) return system;
  }
  return nullptr;
}

std::shared_ptr<LinkAircon> findLink(const MapQ7net& map, int32_t linkNo) {
  for (const auto& link : map.linkAircons) {
    if (link->linkNo == linkNo) return link;
  }
  return nullptr;
}

void forEachLinkedUnit(const MapQ7net& map, const std::function<void(MapAircon&)>& visit) {
  for (const auto& system : map.systems) {
    for (const auto& unit : system->airconsOut) visit(*unit);
    for (const auto& unit : system->airconsIn) visit(*unit);
  }
  for (const auto& system : map.systemsCen) {
    for (const auto& unit : system->airconsCen) visit(*unit);
  }
}

int32_t mapUnitCount(const MapQ7net& map) {
  int32_t count = 0;
  forEachLinkedUnit(map, [&](MapAircon&) { ++count; });
  return count;
}

namespace {

bool linkInUse(const MapQ7net& map, int32_t linkNo) {
  bool used = false;
  forEachLinkedUnit(map, [&](MapAircon& unit) { used = used || unit.linkNoNow == linkNo; });
  return used;
}

}  // namespace

int32_t firstFreeLinkNumber(const MapQ7net& map) {
  for (const auto& link : map.linkAircons) {
    if (!linkInUse(map, link->linkNo)) return link->linkNo;
  }
  return map.linkAircons.count() + 1;
}

int32_t nextNewLinkNumber(const MapQ7net& map) {
  int32_t number = 1;
  while (findLink(map, number)) ++number;
  return number;
}

void linkNewUnit(MapQ7net& map, MapAircon& unit) {
  int32_t linkNo = 0;
  if (mapUnitCount(map) < map.linkAircons.count()) {
    linkNo = firstFreeLinkNumber(map);
  } else {
    auto link = std::make_shared<LinkAircon>();
    link->linkNo = nextNewLinkNumber(map);
    link->controlAddress = -1;
    link->kind = unit.generalKind;
    map.linkAircons.add(link, numberKey(link->linkNo));
    linkNo = link->linkNo;
  }
  unit.linkNoNow = linkNo;
  unit.linkNoOld = 0;
}

void removeLinksOf(MapQ7net& map, const Collection<MapAircon>& units) {
  for (const auto& unit : units) {
    for (int position = map.linkAircons.count(); position >= 1; --position) {
      if (map.linkAircons.item(position)->linkNo == unit->linkNoNow) map.linkAircons.remove(position);
    }
  }
}
