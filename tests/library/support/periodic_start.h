// Starts periodic recording of one system (1-based) as the map does:
// saveConstData with that system marked in a selection of 256.
#pragma once

#include <cstdint>

#include "tramsoll.h"

namespace testsupport {

inline int32_t startPeriodic(int system, int32_t interval = 5) {
  int32_t selection[256] = {};
  selection[system - 1] = 1;
  return saveConstData(1, selection, interval);
}

}  // namespace testsupport
