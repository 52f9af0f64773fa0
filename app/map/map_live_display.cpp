#include "map/map_live_display.h"

#include "types/map_tree.h"
#include "recording/recording_systems.h"
#include "types/unit_kinds.h"

namespace {

constexpr int32_t kSlotsPerPage = 24;
constexpr int32_t kSlotsPerCentralRow = 8;

void addUnits(Collection<GraphAircon>& into, const Collection<MapAircon>& units, int32_t type) {
  for (const auto& unit : units) {
    if (!unit) continue;
    auto shown = std::make_shared<GraphAircon>();
    shown->airconNumber = unit->airconNumber;
    shown->airconType = type;
    into.add(shown, numberKey(unit->airconNumber));
  }
}

// The model text of a system: the link record's model of its unit "1".
QString modelOf(const MapQ7net& map, const Collection<MapAircon>& units) {
  const auto first = units.item(numberKey(1));
  if (!first) return QString();
  const auto link = findLink(map, first->linkNoNow);
  return link ? link->kind : QString();
}

// Whether the map's sensor system (key "1") belongs to the shown system;
// `offset` is what its number carries beyond the shown system's.
bool sensorTiedTo(const MapQ7net& map, int32_t systemNumber, int32_t offset) {
  if (map.flagForSensor || map.systemsSen.isEmpty()) return false;
  const auto sensor = sensorSystem(map);
  return sensor && sensor->systemNumber - offset == systemNumber;
}

void addSensorUnits(const MapQ7net& map, int32_t systemNumber, int32_t offset, GraphSystem& graph) {
  for (const auto& system : map.systemsSen) {
    if (system && system->systemNumber - offset == systemNumber) {
      addUnits(graph.airconsSen, system->airconsSen, kSensorUnit);
      return;
    }
  }
}

// The sensor inputs beside the system, or the access method without them.
void showSensorOrDropIt(const MapQ7net& map, int32_t offset, GraphSystem& graph) {
  if (graph.sensorDataShow) {
    addSensorUnits(map, graph.systemNumber, offset, graph);
  } else if (recordsSensorInputs(graph.ifMode)) {
    --graph.ifMode;
  }
}

void fillOrdinary(const MapQ7net& map, const MapShowManager& manager, GraphSystem& graph) {
  graph.systemNumber = manager.systemNumberNow;
  graph.airconNumberNow = (manager.systemPageNumberNow - 1) * kSlotsPerPage + manager.airconNumberNow;
  graph.sensorDataShow = sensorTiedTo(map, graph.systemNumber, 0);
  if (const auto system = findSystem(map.systems, graph.systemNumber)) {
    addUnits(graph.airconsOut, system->airconsOut, kOutdoorUnit);
    addUnits(graph.airconsIn, system->airconsIn, kIndoorUnit);
    graph.kind = modelOf(map, system->airconsOut);
  }
  showSensorOrDropIt(map, 0, graph);
}

void fillCentral(const MapQ7net& map, const MapShowManager& manager, int32_t selectedSlot, GraphSystem& graph) {
  // Sensor systems of a central system are numbered after the ordinary ones.
  const int32_t offset = map.systems.count();
  graph.systemNumber = manager.systemNumberNow + manager.systemCenNow - 1;
  graph.sensorDataShow = sensorTiedTo(map, graph.systemNumber, offset);
  // A row's first slot is its central unit, the next its sensor icon.
  graph.airconNumberNow = graph.sensorDataShow && selectedSlot % kSlotsPerCentralRow != 0 ? 2 : 1;
  if (const auto system = findSystem(map.systemsCen, graph.systemNumber)) {
    addUnits(graph.airconsCen, system->airconsCen, kCentralUnit);
    graph.kind = modelOf(map, system->airconsCen);
  }
  showSensorOrDropIt(map, offset, graph);
}

void fillSensor(const MapQ7net& map, const MapShowManager& manager, GraphSystem& graph) {
  graph.systemNumber = manager.systemNumberNow;
  graph.airconNumberNow = 1;
  addSensorUnits(map, graph.systemNumber, 0, graph);
  graph.kind.clear();
}

}  // namespace

void setDataToGraphSystemObj(const MapQ7net& map, const MapShowManager& manager, int32_t selectedSlot,
                             GraphSystem& graph) {
  setGraphSystemMap(graph, map.customName, map.mapName, map.mapNumber, map.ifMode, 1);
  graph.systemKind = manager.systemKindNow;
  switch (graph.systemKind) {
    case kOrdinarySystem:
      fillOrdinary(map, manager, graph);
      break;
    case kCentralSystem:
      fillCentral(map, manager, selectedSlot, graph);
      break;
    case kSensorSystem:
      fillSensor(map, manager, graph);
      break;
    default:
      break;
  }
}
