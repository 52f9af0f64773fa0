#include "map/control_data_change.h"

#include "frame/library/tramsoll_api.h"
#include "frame/map_title.h"
#include "frame/program_values.h"
#include "types/unit_kinds.h"

namespace {

// Unit places on one map page.
constexpr int32_t kUnitsPerPage = 24;

bool sendsAllowed(int32_t ifMode, bool broadcast) {
  const ProgramValues& values = program();
  const bool modeAllows = values.controlChangeMode == 2 || (broadcast && values.controlChangeMode == 1);
  return isBusAccess(ifMode) && modeAllows && values.centralOperation;
}

}  // namespace

bool controlDataSendAllowed(int32_t ifMode) { return sendsAllowed(ifMode, false); }

bool controlDataBroadcastAllowed(int32_t ifMode) { return sendsAllowed(ifMode, true); }

int32_t selectedOutdoorZubrelAddress(const MapQ7net& map, const MapShowManager& place) {
  if (place.systemKindNow != kOrdinarySystem || map.systems.isEmpty()) return 0;
  std::shared_ptr<MapSystem> system;
  for (const auto& each : map.systems) {
    if (each->systemNumber != place.systemNumberNow) continue;
    system = each;
    break;
  }
  if (!system) return 0;
  // Outdoor units come first in a system's running numbers.
  const int32_t position = (place.systemPageNumberNow - 1) * kUnitsPerPage + place.airconNumberNow;
  if (position < 1 || position > system->airconsOut.count()) return 0;
  const auto unit = system->airconsOut.item(QString::number(position));
  return unit ? unit->zubrelAddress : 0;
}

bool controlDataReceived(int32_t zubrelAddress, int32_t ifMode, bool& broadcastDone) {
  TramsollApi& api = tramsollApi();
  int32_t state = 0;
  api.getAirconReceiveState(zubrelAddress, &state);
  if (state != 0) return true;
  if (broadcastDone) return false;
  // Tried once per map window, even when the sends are not allowed.
  broadcastDone = true;
  if (controlDataSendAllowed(ifMode)) api.setAirconSendData(kControlDataRequest, kEveryUnit, 0, 0, 0);
  return false;
}
