#include "base/clock.h"

#include <atomic>

namespace tramsoll {

namespace {
SystemClock systemClock;
std::atomic<Clock*> current{&systemClock};
}  // namespace

void ManualClock::advance(std::chrono::milliseconds step) {
  steady_ += step;
  fraction_ += step;
  auto whole = std::chrono::duration_cast<std::chrono::seconds>(fraction_);
  system_ += static_cast<std::time_t>(whole.count());
  fraction_ -= whole;
}

Clock& clock() { return *current.load(); }

void setClock(Clock* replacement) { current.store(replacement ? replacement : &systemClock); }

}  // namespace tramsoll
