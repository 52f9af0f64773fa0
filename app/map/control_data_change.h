// The rules of the control-parameter change apart from its windows: which
// outdoor unit the map's selection names, and when control-data frames may
// be sent. A frame to one unit needs a bus map, the setting file's change
// mode 2 and centralized operation permitted; a request to every unit goes
// out at change mode 1 too.
#pragma once

#include "types/MapQ7net.h"
#include "types/MapShowManager.h"

#include <cstdint>

// The library's command codes and the address of every unit.
inline constexpr int32_t kControlDataRequest = 230;  // read a parameter back (0xE6)
inline constexpr int32_t kControlDataSetting = 232;  // change a parameter (0xE8)
inline constexpr int32_t kEveryUnit = 255;

bool controlDataSendAllowed(int32_t ifMode);
bool controlDataBroadcastAllowed(int32_t ifMode);

// The zubrel address of the outdoor unit selected on an ordinary system's
// page: 0 when the page is not an ordinary system's, no system carries the
// page's number, the selected place holds no outdoor unit, or the unit has
// no zubrel address.
int32_t selectedOutdoorZubrelAddress(const MapQ7net& map, const MapShowManager& place);

// Whether the library has had control data from the unit (its answer to a
// request or a setting). While it has not, the first asking in a map window
// (broadcastDone still false) asks every unit for its data, where the sends
// are allowed, so that a later asking may find the unit's answer.
bool controlDataReceived(int32_t zubrelAddress, int32_t ifMode, bool& broadcastDone);
