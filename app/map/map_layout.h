// What one drawing of the map area does, worked out without any widget: the
// fixed place of every control in twips, which controls show, their texts
// and icon files, the page buttons, and the selection that follows the page
// drawn. The map window applies a scene to its controls through twipsRect.
//
// The map area holds 24 unit places in three rows of eight (place i is in
// row i / 8, column i % 8); each row has its system name and three column
// titles; lines join the units to their system and the systems to the bus.
#pragma once

#include "display/data_show_layout.h"
#include "types/MapQ7net.h"
#include "types/MapShowManager.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// Boxes in twips as the display window's layout has them.
struct TwipsLine {
  int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const TwipsLine&) const = default;
};

// The drawing area inside the map window.
constexpr TwipsBox kMapAreaPlace{90, 0, 9000, 4005};

// A control of the map area. An empty optional leaves the control as the
// drawing before left it.
struct SceneBox {
  TwipsBox place;
  std::optional<bool> visible;
  std::optional<QString> text;
};
struct SceneIcon {
  TwipsBox place;
  std::optional<bool> visible;
  std::optional<QString> picture;  // icon file below the program folder; "" for none
};
struct SceneLine {
  TwipsLine place;
  std::optional<bool> visible;
};

// One unit place: the line into it, the icon button and its three texts.
struct MapSlotScene {
  SceneLine linHor;
  SceneIcon cmdAircon;
  SceneBox txtControlAddress;  // "G-UU"
  SceneBox txtZubrelAddress;   // three digits
  SceneBox txtPlace;           // install site
};
struct MapRowScene {
  SceneBox lblSystemName;  // "System n"
  SceneBox txtControlAddressTital;
  SceneBox txtZubrelAddressTital;
  SceneBox txtPlaceTital;
  SceneLine linSystem;  // branch from the bus trunk to the row's system
};

// The page manager's place after a drawing.
struct MapSelection {
  int32_t systemKindNow = 0;
  int32_t systemNumberNow = 0;
  int32_t systemPageNumberNow = 0;
  int32_t airconNumberNow = 0;
  int32_t systemCenNow = 0;
  void storeInto(MapShowManager& manager) const;
};

struct MapPageScene {
  std::array<MapSlotScene, 24> units;  // the 24 unit places
  std::array<MapRowScene, 3> rows;
  std::array<SceneLine, 4> linVer1;  // bus trunk: above row 0, rows 0-1, rows 1-2, below row 2
  std::array<SceneLine, 4> linVer2;  // unit trunk of the system, same segments
  bool cmdUpEnabled = false;
  bool cmdDownEnabled = false;
  bool mapDataReady = false;  // the map shows data to work with
  // The page was drawn: the recording marks and the status caption follow.
  bool drawn = false;
  MapSelection selection;
};

// Every control at its place, nothing changed.
MapPageScene mapAreaScene();
// The whole map area hidden, the page buttons off, the map not ready: shown
// while the map is being rebuilt.
MapPageScene hiddenMapScene();

// The icon file of a unit by its answer state and status; none (keep the
// picture) for a unit on line with an unknown status.
std::optional<QString> unitIconFile(int32_t airconType, int32_t onLine, int32_t state);
inline QString sensorIconFile() { return QStringLiteral("icons/Sensor.ico"); }

// The drawing of page pageNumberNow of the manager. workMode 0 (recording)
// starts with the map not ready, 1 (customer records) ready, others keep
// mapDataReadyBefore; a unit on line or the sensor page makes it ready.
// `systemWord` goes before a system's number ("System").
MapPageScene layoutMapPage(const MapQ7net& map, const MapShowManager& manager, int32_t workMode,
                           bool mapDataReadyBefore, const QString& systemWord);
