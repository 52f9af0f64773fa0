// The switches the caller sets before gathering and the gathering values that
// every start of gathering (and initTramsoll) puts back to their defaults.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>

namespace tramsoll {

// 0 adapter Vexa5, 1 Plus adapter; read from pelomar3.ini by initTramsoll.
extern std::atomic<int32_t> adapterType;
// 1 when the caller permits central operation of the bus units.
extern std::atomic<int32_t> centralOperationFlag;

// Read and written by exports and worker steps inside their frames.
struct GatherValues {
  int32_t dataInterval = 5;  // seconds between gather slots
  std::time_t dataDue = 0;   // slot time last handled
  int32_t constInterval = 0;
  std::time_t constDue = 0;
  std::time_t constReported = 0;  // the newest missed periodic slot reported skipped
  int32_t trigInterval = 10;
  std::time_t trigDue = 0;
  std::time_t trigReported = 0;  // the same for the trigger slots
  int32_t trigPreCount = 0;
  int32_t trigPostCount = 0;
  std::time_t lastPollTime = 0;
  int32_t targetIndex = 0;   // item file of the one-system or one-unit target
  int32_t requestCount = 0;  // its number of data blocks
};

GatherValues& gatherValues();

// Intervals back to 5 s and 10 s, due times, counts and the last poll time
// to 0. The target's index and request count stay; they are set when the
// target's tables are built.
void resetGatherValues();

}  // namespace tramsoll
