// The captions and enabling of the map window's four function buttons
// (F6..F9) in its three modes: map, display and record. The captions follow
// the recordings that run; the interface mode and the centralized-operation
// setting disable what the map cannot do.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The window's modes.
constexpr int32_t kMapScreenMode = 0;
constexpr int32_t kDisplayScreenMode = 1;
constexpr int32_t kRecordScreenMode = 2;

struct MapButtonState {
  int32_t mode = kMapScreenMode;
  int32_t ifMode = 0;
  bool centralOperation = true;
  int32_t controlChangeMode = 0;  // 2: one unit's control data may be changed
  bool mapRecode = false;
  bool mapRecodeTrigger = false;
  bool mapRecodeTriggerOn = false;
  bool mapRecodeQ7Data = false;
};

struct FunctionButton {
  QString caption;
  bool enabled = true;
};

// F6, F7, F8, F9.
std::array<FunctionButton, 4> functionButtons(const MapButtonState& state);
