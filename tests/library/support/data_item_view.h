// One data item as getDataItem hands it out, with its texts as strings.
#pragma once

#include <cstdint>
#include <string>

#include "tramsoll.h"

namespace testsupport {

struct ItemView {
  int32_t result = -1;
  std::string name, fullScale, state0, state1;
  int32_t type = -1, graph = -1, code1 = -1, code2 = -1;
};

inline ItemView readDataItem(int source, const std::string& folder, int position, int system, int kind, int number,
                             int index) {
  char name[64], fullScale[32], state0[64], state1[64];
  int32_t nameLength = 0, fullScaleLength = 0, state0Length = 0, state1Length = 0;
  ItemView view;
  view.result = getDataItem(source, folder.c_str(), position, system, kind, number, index, name, &nameLength,
                            fullScale, &fullScaleLength, &view.type, &view.graph, state0, &state0Length, state1,
                            &state1Length, &view.code1, &view.code2);
  view.name.assign(name, size_t(nameLength));
  view.fullScale.assign(fullScale, size_t(fullScaleLength));
  view.state0.assign(state0, size_t(state0Length));
  view.state1.assign(state1, size_t(state1Length));
  return view;
}

}  // namespace testsupport
