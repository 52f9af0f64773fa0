// The eight measurement inputs of the sensor adapter on a map: what the
// sensor-input set-up shows and stores, the adapter's switches of inputs 7
// and 8, and the hand-over of all eight to the library.
#pragma once

#include "types/MapQ7net.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

inline constexpr int kSensorInputs = 8;
// The longest item name and unit the library takes, in UTF-8 bytes.
inline constexpr int kSensorNameBytes = 63;
inline constexpr int kSensorUnitBytes = 31;
// Input ranges: "0 - 5V" and "0 - 1V".
inline constexpr int32_t kRange5V = 5;
inline constexpr int32_t kRange1V = 1;

// The name of an input as its check box shows it: "Th1".."Th4", "HP", "LP",
// and for inputs 7 and 8 "Th5" / "Th6" at switch position 0, "A" / "V" at 1
// ("" for another position or input).
QString sensorInputName(int channel, int32_t switchPosition);

// The boxes of inputs 7 and 8 beyond the check and the name.
struct AnalogEntry {
  int32_t range = kRange5V;
  QString offset;
  QString fullScale;
  QString unit;
};
// The set-up's boxes for the eight inputs, index 0 for input 1.
struct SensorItemEntries {
  std::array<bool, kSensorInputs> checks{};
  std::array<QString, kSensorInputs> names;
  std::array<AnalogEntry, 2> analog;  // inputs 7 and 8
};

// Takes the switch positions the adapter last reported: an input whose
// switch moved gets the name of its new position. Unmoved inputs keep the
// engineer's name.
void applySensorSwitches(MapQ7net& map);
// The boxes as the map fills them, after the switches were taken. The
// analog boxes of an input are for use only while its switch is 1.
SensorItemEntries showSensorItems(MapQ7net& map);
// The boxes as the map fills them now, without asking the adapter.
SensorItemEntries sensorItemsOf(const MapQ7net& map);

// The boxes that must be numbers, in the order they are checked.
enum class SensorValueBox { Offset7, Offset8, FullScale7, FullScale8 };
// The first offset or full scale that is not a 32-bit whole number, or none.
std::optional<SensorValueBox> checkSensorValues(const SensorItemEntries& entries);
// Stores the boxes on the map (names trimmed, an empty name of input 7 or 8
// the name of its position, offsets and full scales rounded, units as
// typed) and makes inputs 7 and 8 the program's defaults. A value box that
// is not a number leaves its field as it was.
void saveSensorItems(MapQ7net& map, const SensorItemEntries& entries);

// Hands the eight inputs to the library, after taking the switches. Inputs
// 1 to 6 go as fixed inputs; an empty unit goes as one blank; names and units
// are cut to what the library takes.
void setSensorData(MapQ7net& map);
