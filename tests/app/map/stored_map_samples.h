// Stored maps for the stored-map tests: units at bus addresses with their
// models and link records, and the stored bus map and the scan that the
// merge is checked with.
#pragma once

#include "map/map_builder.h"

#include <QStringList>

#include <initializer_list>
#include <memory>

inline constexpr int32_t kSampleRom = 0x1234;

struct UnitAt {
  int32_t address = 0, onLine = 0;
  const char* kind = "";
  int32_t link = 0, sub = 1;
};
// Indoor units go without a key, as the customer file and the scan keep them.
inline void addUnits(Collection<MapAircon>& units, int32_t type, int32_t rom, std::initializer_list<UnitAt> list) {
  for (const UnitAt& at : list) {
    auto u = std::make_shared<MapAircon>();
    std::tie(u->airconNumber, u->airconType, u->autoAddress, u->airconSubNo, u->romNumber, u->onLine, u->linkNoNow) =
        std::tuple(units.count() + 1, type, at.address, at.sub, rom, at.onLine, at.link);
    u->generalKind = QString::fromUtf8(at.kind);
    units.add(u, type == kIndoorUnit ? QString() : numberKey(u->airconNumber));
  }
}
inline std::shared_ptr<MapSystem> addOrdinary(MapQ7net& map, int32_t rom, std::initializer_list<UnitAt> outdoor,
                                              std::initializer_list<UnitAt> indoor) {
  const auto system = MapBuilder::addSystem(map.systems);
  addUnits(system->airconsOut, kOutdoorUnit, rom, outdoor);
  addUnits(system->airconsIn, kIndoorUnit, rom, indoor);
  return system;
}
inline void addCentral(MapQ7net& map, UnitAt unit) {
  addUnits(MapBuilder::addSystem(map.systemsCen)->airconsCen, kCentralUnit, 0, {unit});
}
// A link record at control address 16 + its number.
inline void addLink(MapQ7net& map, int32_t linkNo, const QString& kind, const QString& place = QString()) {
  auto link = std::make_shared<LinkAircon>();
  std::tie(link->linkNo, link->kind, link->place, link->controlAddress) = std::tuple(linkNo, kind, place, 16 + linkNo);
  map.linkAircons.add(link, numberKey(linkNo));
}
// Link records 1, 2, ... with these models, placed "@1", "@2", ... when
// `placed`.
inline void addLinks(MapQ7net& map, std::initializer_list<const char*> kinds, bool placed = false) {
  for (const char* kind : kinds) {
    const int32_t linkNo = map.linkAircons.count() + 1;
    addLink(map, linkNo, QLatin1String(kind), placed ? QStringLiteral("@%1").arg(linkNo) : QString());
  }
}
// "<link>:<model><place>" of every link record.
inline QString linksText(const MapQ7net& map) {
  QStringList texts;
  for (const auto& l : map.linkAircons) texts << QStringLiteral("%1:%2%3").arg(l->linkNo).arg(l->kind, l->place);
  return texts.join(QLatin1Char(' '));
}

// Bus map 7, number 2: outdoor a0 (link 1 "OU-X"), indoor a32 (link 2
// without model), a33 (link 3, "IU-Y").
inline std::shared_ptr<MapQ7net> storedSample(bool placed = false) {
  auto map = std::make_shared<MapQ7net>();
  std::tie(map->ifMode, map->mapIndex, map->mapNumber) = std::tuple(2, 7, 2);
  addOrdinary(*map, kSampleRom, {{0, 0, "OU-X", 1}}, {{32, 0, "", 2}, {33, 0, "IU-Y", 3}});
  addLinks(*map, {"OU-X", "", "IU-Y"}, placed);
  return map;
}
// a0 on line with a new model, a32 on line, a33 newly seen.
inline std::shared_ptr<MapQ7net> scanSample() {
  auto map = std::make_shared<MapQ7net>();
  addOrdinary(*map, kSampleRom, {{0, 3, "OU-X2", 1}}, {{32, 3, "IU-Z", 2}, {33, 1, "", 3}});
  return map;
}
