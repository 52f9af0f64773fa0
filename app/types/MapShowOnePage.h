// One page of the map display: up to 24 unit places of one ordinary system,
// up to three central systems, or the sensor inputs.
#pragma once

#include <cstdint>

struct MapShowOnePage {
  int32_t pageNumber = 0;
  int32_t systemKind = 0;    // 0 ordinary, 100 central, 200 sensor
  int32_t systemNumber = 0;  // ordinary: the system's number; sensor: 1
  // Ordinary pages: the running numbers shown (outdoor units, then indoor
  // units, then a tied sensor icon), and whether the page holds the system's
  // first and last of them (1) or not (0).
  int32_t startNumber = 0;
  int32_t endNumber = 0;
  int32_t systemStart = 0;
  int32_t systemEnd = 0;
  // Central pages: the central systems of rows 1..totalSystems.
  int32_t totalSystems = 0;
  int32_t systemNumber1 = 0;
  int32_t systemNumber2 = 0;
  int32_t systemNumber3 = 0;
  bool sensorIconShow = false;
  // Place of the sensor icon: 0-based unit place on an ordinary page; 1, 9
  // or 17 beside the central unit of a row on a central page.
  int32_t sensorIconPosition = 0;
};
