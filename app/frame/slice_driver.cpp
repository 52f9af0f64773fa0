#include "frame/slice_driver.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {

std::vector<SliceDriver*>& runningDrivers() {
  static std::vector<SliceDriver*> drivers;
  return drivers;
}

void forget(SliceDriver* driver) {
  std::vector<SliceDriver*>& drivers = runningDrivers();
  drivers.erase(std::remove(drivers.begin(), drivers.end(), driver), drivers.end());
}

}  // namespace

SliceDriver::SliceDriver(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
  timer_->setInterval(0);
  connect(timer_, &QTimer::timeout, this, [this] { runSlices(); });
}

SliceDriver::~SliceDriver() { forget(this); }

bool SliceDriver::start(Slice slice) {
  if (running_ || !slice) return false;
  slice_ = std::move(slice);
  running_ = true;
  cancelRequested_ = false;
  progress_ = 0;
  runningDrivers().push_back(this);
  timer_->start();
  return true;
}

void SliceDriver::cancel() {
  if (!running_) return;
  cancelRequested_ = true;
  if (!inSlice_) end(SliceOutcome::Cancelled, 0);
}

void SliceDriver::runSlices() {
  // A slice that waits for a question runs an event loop, where this timer
  // fires again: the next slice comes only after it returns.
  if (inSlice_ || !running_) return;
  QElapsedTimer spent;
  spent.start();
  do {
    inSlice_ = true;
    const SliceStep step = slice_();
    inSlice_ = false;
    if (!take(step)) return;
  } while (spent.elapsed() < kBudgetMs);
}

bool SliceDriver::take(const SliceStep& step) {
  if (step.state == SliceStep::Finished) {
    end(SliceOutcome::Finished, step.value);
    return false;
  }
  if (step.state == SliceStep::Failed) {
    end(SliceOutcome::Failed, step.value);
    return false;
  }
  const int progress = std::clamp(step.progress, 0, 100);
  if (progress != progress_) {
    progress_ = progress;
    emit progressChanged(progress_);
    if (!running_) return false;  // cancelled by whoever showed the progress
  }
  if (cancelRequested_) {
    end(SliceOutcome::Cancelled, 0);
    return false;
  }
  return true;
}

void SliceDriver::end(SliceOutcome outcome, int32_t value) {
  timer_->stop();
  running_ = false;
  slice_ = nullptr;
  forget(this);
  if (outcome == SliceOutcome::Finished && progress_ != 100) {
    progress_ = 100;
    emit progressChanged(progress_);
  }
  emit ended(outcome, value);
}

void cancelSliceJobsForEnd() {
  // A cancelled job leaves the list at once.
  const std::vector<SliceDriver*> drivers = runningDrivers();
  for (SliceDriver* driver : drivers) driver->cancel();
}

bool sliceJobsRunning() { return !runningDrivers().empty(); }
