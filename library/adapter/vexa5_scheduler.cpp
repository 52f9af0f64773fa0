// The Vexa5 adapter's time-outs: 'A', 'S' and 'Z' wait 3 s for their answer,
// other commands 1 s; a bus send ('F') is replaced by the 'Z' poll.
#include <chrono>

#include "adapter/packet_scheduler.h"
#include "adapter/vexa5.h"

namespace tramsoll {

namespace {

std::chrono::milliseconds timeoutOf(uint8_t code) {
  if (code == 'A' || code == 'S' || code == 'Z') return std::chrono::milliseconds(3000);
  return std::chrono::milliseconds(1000);
}

constexpr SchedulerRules kVexa5Rules{'F', timeoutOf, buildStatusPoll};

}  // namespace

bool vexa5Scheduler() { return runScheduler(kVexa5Rules); }

}  // namespace tramsoll
