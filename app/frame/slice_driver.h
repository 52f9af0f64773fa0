// Long work cut into slices (the library's CSV conversion and searches, the
// program's data-transfer copies) run slice after slice from a timer, so the
// window keeps answering between them: a progress value, a Cancel that lets
// no further slice start, and an end of the program that cancels every job
// and waits for a slice still in progress.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

class QTimer;

// What one slice did.
struct SliceStep {
  enum State { More, Finished, Failed };
  State state = More;
  int progress = 0;   // percent of the job done, 0..100
  int32_t value = 0;  // the job's answer: a found record, a failure code

  static SliceStep more(int progress) { return {More, progress, 0}; }
  static SliceStep finished(int32_t value = 0) { return {Finished, 100, value}; }
  static SliceStep failed(int32_t value) { return {Failed, 0, value}; }
};

enum class SliceOutcome { Finished, Failed, Cancelled };

class SliceDriver : public QObject {
  Q_OBJECT
 public:
  using Slice = std::function<SliceStep()>;
  // Slices run back to back for at most this long before the window's
  // events get their turn.
  static constexpr int kBudgetMs = 20;

  explicit SliceDriver(QObject* parent = nullptr);
  // A job still running is cancelled without being told.
  ~SliceDriver() override;

  // Starts running `slice` until it finishes, fails or is cancelled; the
  // first slice runs once the event loop has its turn. False, and nothing
  // starts, while a job runs.
  bool start(Slice slice);
  // No slice starts after this. Asked inside a slice (a question the slice
  // shows), it takes effect when that slice returns.
  void cancel();
  bool isRunning() const { return running_; }
  // True while a slice is being run (its caller waits in an event loop).
  bool isInSlice() const { return inSlice_; }
  int progress() const { return progress_; }

 signals:
  void progressChanged(int percent);
  // Once per job. `value` is the last slice's (0 for a cancelled job).
  void ended(SliceOutcome outcome, int32_t value);

 private:
  void runSlices();
  // True when the job goes on after this step.
  bool take(const SliceStep& step);
  void end(SliceOutcome outcome, int32_t value);

  QTimer* timer_ = nullptr;
  Slice slice_;
  bool running_ = false;
  bool inSlice_ = false;
  bool cancelRequested_ = false;
  int progress_ = 0;
};

// The end of the program: every running job is cancelled.
void cancelSliceJobsForEnd();
// True while some job still runs (a slice in progress finishes first).
bool sliceJobsRunning();
