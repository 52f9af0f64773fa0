// The Plus adapter's time-outs, keyed on the function byte in flight: the
// start and the status poll wait 3 s for their answer, other commands 1 s;
// a bus send is replaced by the status poll.
#include <chrono>

#include "adapter/packet_scheduler.h"
#include "adapter/plus.h"

namespace tramsoll {

namespace {

std::chrono::milliseconds timeoutOf(uint8_t code) {
  if (code == plus::kStatusPoll || code == plus::kStart) return std::chrono::milliseconds(3000);
  return std::chrono::milliseconds(1000);
}

constexpr SchedulerRules kPlusRules{plus::kBusSend, timeoutOf, buildPlusStatusPoll};

}  // namespace

bool plusScheduler() { return runScheduler(kPlusRules); }

}  // namespace tramsoll
