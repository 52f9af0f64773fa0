// The one clock through which the library reads time, so tests can pin it.
#pragma once

#include <chrono>
#include <ctime>

namespace tramsoll {

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic time for time-outs and the worker's timer.
  virtual std::chrono::steady_clock::time_point steadyNow() = 0;
  // Wall-clock time in whole seconds for record times and file names.
  virtual std::time_t systemNow() = 0;
};

class SystemClock : public Clock {
 public:
  std::chrono::steady_clock::time_point steadyNow() override { return std::chrono::steady_clock::now(); }
  std::time_t systemNow() override { return std::time(nullptr); }
};

// A clock that moves only when told to; both readings advance together.
class ManualClock : public Clock {
 public:
  explicit ManualClock(std::time_t start = 1700000000) : system_(start) {}
  std::chrono::steady_clock::time_point steadyNow() override { return steady_; }
  std::time_t systemNow() override { return system_; }
  void advance(std::chrono::milliseconds step);
  // Moves the wall clock alone, as when the user resets the system time.
  void setSystem(std::time_t seconds) { system_ = seconds; }

 private:
  std::chrono::steady_clock::time_point steady_{};
  std::time_t system_;
  std::chrono::milliseconds fraction_{0};
};

Clock& clock();
// Installs a clock (nullptr goes back to the system clock). Tests only.
void setClock(Clock* replacement);

}  // namespace tramsoll
