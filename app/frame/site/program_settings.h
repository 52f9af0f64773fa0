// What the program keeps in the settings store: the display options, the
// serial port, the sensor-input defaults and the main window's place, with
// their defaults and the values that replace unaccepted ones.
#pragma once

#include "frame/program_values.h"

#include <QString>

#include <array>
#include <cstdint>

inline constexpr const char* kSectionDisplay = "DspOption";
inline constexpr const char* kSectionSerialPort = "SerialPort";
inline constexpr const char* kSectionSensorInput = "SensorInput";

struct DisplayOptionSetting {
  DisplayOption option;
  const char* readKey;
  const char* writtenKey;
  int32_t storedDefault;
  std::array<int16_t, 3> accepted;
  int acceptedCount;
  int16_t replacement;  // taken for an index outside `accepted`
};

// In the order the options are read at start-up (TmpUnit last).
const std::array<DisplayOptionSetting, 6>& displayOptionSettings();
const DisplayOptionSetting& displayOptionSetting(DisplayOption option);
// The index itself when accepted, else the option's replacement.
int16_t acceptedDisplayIndex(const DisplayOptionSetting& setting, int32_t index);
// The stored index of the option (its default when missing or unreadable),
// not yet checked against the accepted values.
int32_t readDisplayOptionSetting(const DisplayOptionSetting& setting);
// The writers answer false when the store could not be written.
bool writeDisplayOptionSetting(const DisplayOptionSetting& setting, int32_t index);

// The main window's size and place in twips (for a maximized window, the
// place it comes back to), and whether it is maximized (Win_State 2).
struct WindowPlace {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 9600;
  int32_t height = 7095;
  bool maximized = false;
};
inline constexpr int32_t kMinimumWindowWidth = 7400;
inline constexpr int32_t kMinimumWindowHeight = 6600;
// The stored place with the minimum size; a negative top or left becomes 0.
WindowPlace readMainWindowPlace();
bool writeMainWindowPlace(const WindowPlace& place);

// The stored port 1..8 (anything else: 1).
int32_t readComPortSetting();
// The stored sensor-input defaults; a range other than 1 or 5 becomes 5.
SensorParams readSensorParamsSetting();
// SerialPort/PortNo, then the eight SensorInput keys.
bool writePortAndSensorSettings(int32_t comPortNo, const SensorParams& sensor);
