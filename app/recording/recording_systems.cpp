#include "recording/recording_systems.h"

#include "frame/library/tramsoll_api.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"

namespace {

constexpr int32_t kOnLine = 3;
constexpr int kSystemWordEntry = 6;

bool anyOnLine(const Collection<MapAircon>& units) {
  for (const auto& unit : units) {
    if (unit && unit->onLine == kOnLine) return true;
  }
  return false;
}

std::shared_ptr<MapSystem> systemNumbered(const Collection<MapSystem>& systems, int32_t systemNumber) {
  for (const auto& system : systems) {
    if (system && system->systemNumber == systemNumber) return system;
  }
  return nullptr;
}

std::shared_ptr<MapSystem> makeSensorSystem(int32_t systemNumber) {
  auto unit = std::make_shared<MapAircon>();
  unit->airconNumber = 1;
  unit->airconType = kSensorUnit;
  auto system = std::make_shared<MapSystem>();
  system->systemNumber = systemNumber;
  system->airconsSen.add(unit, QStringLiteral("1"));
  return system;
}

void followMapMode(const MapQ7net& map) {
  ProgramValues& values = program();
  if (values.gatherMode == map.ifMode) return;
  values.gatherMode = map.ifMode;
  // The acquisition adds or drops the sensor unit; a refusal changes nothing
  // the map relies on.
  tramsollApi().changeDataGather(values.gatherMode);
}

}  // namespace

int32_t librarySystemNumber(const MapQ7net& map, int32_t systemKind, int32_t systemNumber) {
  if (systemKind == kOrdinarySystem) return systemNumber;
  return map.systems.count() + systemNumber;
}

std::vector<SystemRow> combinedSystemRows(const MapQ7net& map) {
  std::vector<SystemRow> rows;
  int32_t row = 0;
  for (const auto* systems : {&map.systems, &map.systemsCen}) {
    const int32_t kind = systems == &map.systems ? kOrdinarySystem : kCentralSystem;
    for (int32_t position = 1; position <= systems->count(); ++position) {
      if (auto system = systems->item(position)) rows.push_back({++row, kind, position, system});
    }
  }
  return rows;
}

QString systemRowCaption(int32_t row) { return tableText(kSystemWordEntry) + QLatin1Char(' ') + QString::number(row); }

bool systemCanRecode(const MapQ7net& map, int32_t systemKind, int32_t systemNumber) {
  if (systemKind == kOrdinarySystem) {
    const auto system = systemNumbered(map.systems, systemNumber);
    return system && (anyOnLine(system->airconsOut) || anyOnLine(system->airconsIn));
  }
  if (systemKind == kCentralSystem) {
    const auto system = systemNumbered(map.systemsCen, systemNumber);
    return system && anyOnLine(system->airconsCen);
  }
  return false;
}

void unmarkUnrecordableSystems(MapQ7net& map) {
  for (const SystemRow& row : combinedSystemRows(map)) {
    if (!systemCanRecode(map, row.kind, row.number)) row.system->recode = 0;
  }
}

bool recordsSensorInputs(int32_t ifMode) { return ifMode == 3 || ifMode == 5 || ifMode == 9; }

std::shared_ptr<MapSystem> sensorSystem(const MapQ7net& map) { return map.systemsSen.item(QStringLiteral("1")); }

void setSensorInputRecording(MapQ7net& map, bool on) {
  if (on) {
    if (map.ifMode == 2 || map.ifMode == 4 || map.ifMode == 8) ++map.ifMode;
    followMapMode(map);
    if (map.systemsSen.isEmpty()) map.systemsSen.add(makeSensorSystem(1), QStringLiteral("1"));
    return;
  }
  if (recordsSensorInputs(map.ifMode)) --map.ifMode;
  followMapMode(map);
  for (const auto& system : map.systemsSen) {
    if (system) system->airconsSen.clear();
  }
  map.systemsSen.clear();
}
