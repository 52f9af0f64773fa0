// The caller's status poll and the drain of the diagnostic ring.
#include "base/caller_values.h"
#include "base/debug_ring.h"
#include "base/status_words.h"
#include "engine/frame.h"
#include "tramsoll.h"

#include <cstring>

using namespace tramsoll;

namespace {

// One latched fault per poll, in order of precedence; the bit that gave
// the result is cleared so a fault that repeats between polls shows once.
int32_t takeLatchedResult() {
  struct Report {
    std::atomic<uint32_t>* word;
    uint32_t bit;
    int32_t result;
  };
  const Report reports[] = {
      {&errFault, fault::kAdapterTimeout, 2}, {&errFault, fault::kDataFile, 3},
      {&errFault, fault::kBusLogClose, 3},    {&errLine, line::kSendRingFull, 4},
      {&errLine, line::kRxFull, 5},           {&errLine, line::kRecvRingFull, 6},
  };
  for (const Report& r : reports) {
    if (!hasBits(*r.word, r.bit)) continue;
    clearBits(*r.word, r.bit);
    return r.result;
  }
  return 0;
}

}  // namespace

extern "C" TRAMSOLL_API int32_t execTramsoll(int32_t* constSaving, int32_t* trigState) {
  ExportFrame frame;
  uint32_t state = gatherState.load();
  if (constSaving) *constSaving = (state & gather::kPeriodicRecording) ? 1 : 0;
  if (trigState) {
    *trigState = !(state & gather::kTriggerArmed) ? 0 : (state & gather::kTriggerFired) ? 2 : 1;
  }
  if (!(state & gather::kRunning)) {
    if (constSaving) *constSaving = 0;
    if (trigState) *trigState = 0;
    return 1;
  }
  return takeLatchedResult();
}

extern "C" TRAMSOLL_API int32_t getDebugMessage(char* buffer, int32_t* length) {
  ExportFrame frame;
  char line[kLineSize];
  if (!debugRing().take(line)) {
    if (length) *length = 0;
    return 0;
  }
  static_assert(kLineSize == TRAMSOLL_DEBUG_MESSAGE_SIZE, "a line of the ring fills the caller's buffer");
  if (buffer) std::memcpy(buffer, line, TRAMSOLL_DEBUG_MESSAGE_SIZE);
  if (length) *length = buffer ? boundedLength(buffer, TRAMSOLL_DEBUG_MESSAGE_SIZE) : 0;
  return 1;
}
