#include "engine/settings.h"

namespace tramsoll {

std::atomic<int32_t> adapterType{0};
std::atomic<int32_t> centralOperationFlag{0};

GatherValues& gatherValues() {
  static GatherValues values;
  return values;
}

void resetGatherValues() {
  GatherValues& v = gatherValues();
  const int32_t targetIndex = v.targetIndex;
  const int32_t requestCount = v.requestCount;
  v = GatherValues{};
  v.targetIndex = targetIndex;
  v.requestCount = requestCount;
}

}  // namespace tramsoll
