// The unit and system kind codes shared by the map, the display windows and
// the library calls.
#pragma once

#include <cstdint>

// MapAircon::airconType, and the unit kind of the library calls.
constexpr int32_t kOutdoorUnit = 0;
constexpr int32_t kIndoorUnit = 1;
constexpr int32_t kCentralUnit = 100;
constexpr int32_t kSensorUnit = 200;

// MapShowOnePage::systemKind and GraphSystem::systemKind.
constexpr int32_t kOrdinarySystem = 0;
constexpr int32_t kCentralSystem = 100;
constexpr int32_t kSensorSystem = 200;
