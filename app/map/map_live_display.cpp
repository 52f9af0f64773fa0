#include "map/map_live_display.h"

#include "types/unit_kinds.h"

namespace {

constexpr int32_t kSlotsPerPage = 24;

std::shared_ptr<MapSystem> systemNumbered(const Collection<MapSystem>& systems, int32_t number) {
  for (const auto& system : systems) {
    if (system->systemNumber == number) return system;
  }
  return nullptr;
}

// The first sensor system: the one that belongs to an ordinary or central
// system of a map that is not reached by sensor input alone.
std::shared_ptr<MapSystem> tiedSensorSystem(const MapQ7net& map) {
  if (map.flagForSensor || map.systemsSen.isEmpty()) return nullptr;
  const auto first = map.systemsSen.item(QStringLiteral("1"));
  return first ? first : map.systemsSen.item(1);
}

void addUnits(Collection<GraphAircon>& to, const Collection<MapAircon>& units, int32_t type) {
  for (const auto& unit : units) {
    auto shown = std::make_shared<GraphAircon>();
    shown->airconNumber = unit->airconNumber;
    shown->airconType = type;
    to.add(shown, QString::number(unit->airconNumber));
  }
}

QString linkedKind(const MapQ7net& map, const Collection<MapAircon>& units) {
  auto first = units.item(QStringLiteral("1"));
  if (!first) first = units.item(1);
  if (!first) return QString();
  for (const auto& link : map.linkAircons) {
    if (link->linkNo == first->linkNoNow) return link->kind;
  }
  return QString();
}

// Without its sensor inputs the window runs without the sensor-input bit.
void dropSensorBit(GraphSystem& graph) {
  if (graph.ifMode == 3 || graph.ifMode == 5 || graph.ifMode == 9) graph.ifMode -= 1;
}

void addSensorUnits(GraphSystem& graph, const MapSystem* sensor) {
  if (!graph.sensorDataShow || !sensor) {
    dropSensorBit(graph);
    return;
  }
  addUnits(graph.airconsSen, sensor->airconsSen, kSensorUnit);
}

void fillOrdinary(GraphSystem& graph, const MapQ7net& map, const MapShowManager& pages) {
  graph.systemNumber = pages.systemNumberNow;
  graph.airconNumberNow = (pages.systemPageNumberNow - 1) * kSlotsPerPage + pages.airconNumberNow;
  const auto sensor = tiedSensorSystem(map);
  graph.sensorDataShow = sensor && sensor->systemNumber == graph.systemNumber;
  if (const auto system = systemNumbered(map.systems, graph.systemNumber)) {
    addUnits(graph.airconsOut, system->airconsOut, kOutdoorUnit);
    addUnits(graph.airconsIn, system->airconsIn, kIndoorUnit);
    graph.kind = linkedKind(map, system->airconsOut);
  }
  addSensorUnits(graph, sensor.get());
}

void fillCentral(GraphSystem& graph, const MapQ7net& map, const MapShowManager& pages, int32_t selectedSlot) {
  const int32_t ordinary = map.systems.count();
  graph.systemNumber = pages.systemNumberNow + pages.systemCenNow - 1;
  // Sensor systems that belong to a central system are numbered after the
  // ordinary systems.
  const auto sensor = tiedSensorSystem(map);
  graph.sensorDataShow = sensor && sensor->systemNumber - ordinary == graph.systemNumber;
  const bool rowStart = selectedSlot == 0 || selectedSlot == 8 || selectedSlot == 16;
  graph.airconNumberNow = graph.sensorDataShow && !rowStart ? 2 : 1;
  if (const auto system = systemNumbered(map.systemsCen, graph.systemNumber)) {
    addUnits(graph.airconsCen, system->airconsCen, kCentralUnit);
    graph.kind = linkedKind(map, system->airconsCen);
  }
  addSensorUnits(graph, sensor.get());
}

void fillSensor(GraphSystem& graph, const MapQ7net& map, const MapShowManager& pages) {
  graph.systemNumber = pages.systemNumberNow;
  graph.airconNumberNow = 1;
  if (const auto system = systemNumbered(map.systemsSen, graph.systemNumber)) {
    addUnits(graph.airconsSen, system->airconsSen, kSensorUnit);
  }
  graph.kind.clear();
}

}  // namespace

void setDataToGraphSystemObj(GraphSystem& graph, const MapQ7net& map, const MapShowManager& pages,
                             int32_t selectedSlot) {
  graph.customName = map.customName;
  graph.mapName = map.mapName;
  graph.mapNumber = map.mapNumber;
  graph.ifMode = map.ifMode;
  graph.systemKind = pages.systemKindNow;
  graph.realtime = 1;
  graph.graphTopRow = 1;
  graph.sensorDataShow = false;
  switch (pages.systemKindNow) {
    case kOrdinarySystem: fillOrdinary(graph, map, pages); break;
    case kCentralSystem: fillCentral(graph, map, pages, selectedSlot); break;
    case kSensorSystem: fillSensor(graph, map, pages); break;
    default: break;
  }
}
