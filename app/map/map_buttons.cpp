#include "map/map_buttons.h"

#include "frame/map_title.h"
#include "frame/texts/text_table.h"

namespace {

enum Key { kF6 = 0, kF7 = 1, kF8 = 2, kF9 = 3 };

std::array<FunctionButton, 4> captioned(int f6, int f7, int f8, int f9) {
  return {FunctionButton{tableText(f6)}, {tableText(f7)}, {tableText(f8)}, {tableText(f9)}};
}

void disable(std::array<FunctionButton, 4>& buttons, std::initializer_list<Key> keys) {
  for (Key key : keys) buttons[key].enabled = false;
}

std::array<FunctionButton, 4> mapModeButtons(const MapButtonState& state) {
  auto buttons = captioned(116, 117, 118, 119);
  const bool busWithoutCentral = isBusAccess(state.ifMode) && !state.centralOperation;
  if (state.ifMode == 1) {
    disable(buttons, {kF6, kF7, kF8});
  } else if (isBoardAccess(state.ifMode) || busWithoutCentral) {
    disable(buttons, {kF7, kF8});
  }
  return buttons;
}

std::array<FunctionButton, 4> displayModeButtons(const MapButtonState& state) {
  auto buttons = captioned(120, state.mapRecodeQ7Data ? 122 : 121, 123, 124);
  // The control-data change is offered only on a bus whose setting file
  // allows it, and usable only while centralized operation is permitted.
  const bool changeOffered = isBusAccess(state.ifMode) && state.controlChangeMode == 2;
  if (!changeOffered) buttons[kF9] = {QString(), false};
  if (changeOffered) buttons[kF9].enabled = state.centralOperation;
  if (state.ifMode == 1) disable(buttons, {kF7, kF8});
  if (isBoardAccess(state.ifMode)) disable(buttons, {kF7});
  return buttons;
}

std::array<FunctionButton, 4> recordModeButtons(const MapButtonState& state) {
  const int trigger = !state.mapRecodeTrigger ? 130 : state.mapRecodeTriggerOn ? 132 : 131;
  auto buttons = captioned(126, state.mapRecode ? 128 : 127, 129, trigger);
  if (state.ifMode == 1) disable(buttons, {kF8, kF9});
  return buttons;
}

}  // namespace

std::array<FunctionButton, 4> functionButtons(const MapButtonState& state) {
  if (state.mode == kDisplayScreenMode) return displayModeButtons(state);
  if (state.mode == kRecordScreenMode) return recordModeButtons(state);
  return mapModeButtons(state);
}
