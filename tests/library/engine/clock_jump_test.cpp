// A forward jump of the wall clock (a corrected date, a resume from suspend)
// while recording: the missed records were once written one by one, each
// with its own open, sync and header update, all in one step while every
// export waited (a day at 5 s held the caller for seconds). They now go in
// batches over as many steps as their bytes need. The test asserts what the
// files hold and that the steps grow with the jump; the longest step is only
// shown (speed is the benchmark's).
#include <chrono>
#include <iostream>

#include "engine/timer_step.h"
#include "library/files/replay_support.h"
#include "library/support/periodic_start.h"

using namespace replaytest;

namespace {

// Each record of a recorded file: its time, and its bytes behind the time.
std::vector<std::pair<uint32_t, std::vector<uint8_t>>> recordsOf(const std::string& path) {
  std::vector<uint8_t> bytes = fileBytes(path);
  das::FileHeader h{};
  std::vector<std::pair<uint32_t, std::vector<uint8_t>>> records;
  if (bytes.size() < das::kHeaderSize || !das::decodeMainHeader(bytes.data(), h)) return records;
  for (std::size_t at = h.firstRecordOffset; records.size() < h.recordCount && at + h.recordSize <= bytes.size();
       at += h.recordSize)
    records.emplace_back(das::getU32(&bytes[at]), std::vector<uint8_t>(&bytes[at + 4], &bytes[at + h.recordSize]));
  return records;
}

using ClockJump = ReplayTest;

TEST_F(ClockJump, EveryMissedRecordIsWrittenOverStepsThatGrowWithTheJump) {
  addSystem(kOutdoorItems);
  ASSERT_EQ(setFileHeader("C001", "", "", "", customerFolder().c_str()), 0);
  int previousSteps = 0;
  for (std::time_t jump : {3600, 86400, 2 * 86400}) {
    SCOPED_TRACE(jump);
    ASSERT_EQ(testsupport::startPeriodic(3, 5), 0);
    ASSERT_EQ(saveTrigData(1, 3, 5), 0);
    std::string periodic = saveSlot(3).name, trigger = saveSlot(kTriggerSlot).name;
    gatherSlot(kStart + 5);
    appendPeriodicRecord(kStart + 5);  // one record the usual way, then the jump
    gatherValues().dataDue = gatherValues().constDue = kStart + 5;

    std::time_t now = kStart + 5 + jump + 1;
    int steps = 0;
    double longestMs = 0;
    while (gatherValues().constDue < slotTime(now, 5) - 5 || gatherValues().trigDue < slotTime(now, 10) - 10) {
      auto before = std::chrono::steady_clock::now();
      catchUpSlots(now);
      longestMs = std::max(longestMs, std::chrono::duration<double, std::milli>(
                                          std::chrono::steady_clock::now() - before).count());
      ASSERT_LT(++steps, 1000);
      gatherSlot(uint32_t(kStart + 100 * steps));  // the data moves on between the steps
    }
    std::cout << "[ a jump of " << jump << " s: " << steps << " steps, the longest " << longestMs << " ms ]\n";
    EXPECT_GT(steps, previousSteps);
    previousSteps = steps;

    // Every slot once and in order, each record the snapshot of the jump, as
    // the record written before it.
    auto records = recordsOf(periodic), triggered = recordsOf(trigger);
    ASSERT_EQ(records.size(), std::size_t(jump / 5));
    ASSERT_EQ(triggered.size(), std::size_t((slotTime(now, 10) - 10 - kStart) / 10));
    for (std::size_t r = 0; r < records.size(); ++r)
      ASSERT_EQ(records[r], std::make_pair(uint32_t(kStart + 5 + 5 * r), records[0].second)) << r;
    for (std::size_t r = 0; r < triggered.size(); ++r)
      ASSERT_EQ(triggered[r], std::make_pair(uint32_t(kStart + 10 + 10 * r), records[0].second)) << r;
    EXPECT_EQ(saveConstData(0, nullptr, 0) + saveTrigData(0, 0, 0), 0);
    gatherValues().dataDue = kStart;
  }
}

}  // namespace
