// The exclusion between the caller's thread and the worker: every export
// that touches shared tables holds an export frame, every worker step a step
// frame.
#pragma once

#include <atomic>
#include <mutex>

namespace tramsoll {

// ---- Exclusion between exports and worker steps ----
// One mutex does the excluding; the busy flags only show who holds it.
extern std::atomic<bool> apiBusy;
extern std::atomic<bool> stepBusy;
extern std::atomic<bool> threadAlive;

std::mutex& exclusionMutex();

// Held for the whole of an export that touches shared tables.
class ExportFrame {
 public:
  ExportFrame();
  ~ExportFrame();
  ExportFrame(const ExportFrame&) = delete;
  ExportFrame& operator=(const ExportFrame&) = delete;
  // The stop sequence lets the worker run its last step while it waits.
  void release();
  void reacquire();

 private:
  std::unique_lock<std::mutex> lock_;
};

// Held for the whole of one worker step.
class StepFrame {
 public:
  StepFrame();
  ~StepFrame();
  StepFrame(const StepFrame&) = delete;
  StepFrame& operator=(const StepFrame&) = delete;

 private:
  std::unique_lock<std::mutex> lock_;
};

}  // namespace tramsoll
