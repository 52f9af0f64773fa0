// The systems of a map as the recording set-up and the library count them:
// ordinary systems 1..n, then the central-bus systems n+1..n+m. Also which
// systems can be recorded and the sensor-input option of a bus or board map.
#pragma once

#include "types/MapQ7net.h"
#include "types/unit_kinds.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// The number under which the library knows a system: an ordinary system is
// its systemNumber, a central-bus system (any kind but 0) follows the
// ordinary ones, count of systems + its systemNumber.
int32_t librarySystemNumber(const MapQ7net& map, int32_t systemKind, int32_t systemNumber);

// One row of the set-up windows' system lists. `row` is also the library
// system number.
struct SystemRow {
  int32_t row = 0;
  int32_t kind = kOrdinarySystem;
  int32_t number = 0;  // within its collection, from 1
  std::shared_ptr<MapSystem> system;
};
std::vector<SystemRow> combinedSystemRows(const MapQ7net& map);
// The caption of a row in the system lists: "System" and the row number.
QString systemRowCaption(int32_t row);

// Whether the system of that kind and systemNumber has a unit on line (an
// outdoor or indoor unit for kind 0, a central unit for kind 100); false for
// any other kind or a system the map does not have.
bool systemCanRecode(const MapQ7net& map, int32_t systemKind, int32_t systemNumber);
// Clears `recode` of every system that has no unit on line now, as the
// periodic set-up does when it opens.
void unmarkUnrecordableSystems(MapQ7net& map);

// Interface modes that record the sensor inputs with the bus or the board.
bool recordsSensorInputs(int32_t ifMode);
// The map's sensor system (under the key "1"), or null.
std::shared_ptr<MapSystem> sensorSystem(const MapQ7net& map);

// The sensor-input option of the periodic set-up. On: the mode takes its
// sensor variant (2 -> 3, 4 -> 5, 8 -> 9) and, when there is none yet, a
// sensor system recorded with system 1 is made. Off: the mode drops it and
// the sensor system goes. Either way a running acquisition of another mode
// is changed to the map's mode (gatherMode, changeDataGather).
void setSensorInputRecording(MapQ7net& map, bool on);
