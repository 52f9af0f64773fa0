#include "engine/frame.h"

namespace tramsoll {

std::atomic<bool> apiBusy{false};
std::atomic<bool> stepBusy{false};
std::atomic<bool> threadAlive{false};

std::mutex& exclusionMutex() {
  static std::mutex mutex;
  return mutex;
}

ExportFrame::ExportFrame() : lock_(exclusionMutex()) { apiBusy.store(true); }

ExportFrame::~ExportFrame() {
  if (lock_.owns_lock()) apiBusy.store(false);
}

void ExportFrame::release() {
  apiBusy.store(false);
  lock_.unlock();
}

void ExportFrame::reacquire() {
  lock_.lock();
  apiBusy.store(true);
}

StepFrame::StepFrame() : lock_(exclusionMutex()) { stepBusy.store(true); }

StepFrame::~StepFrame() { stepBusy.store(false); }

}  // namespace tramsoll
