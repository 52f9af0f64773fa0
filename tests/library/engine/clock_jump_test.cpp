// A forward jump of the wall clock (a corrected date, a resume from suspend)
// while recording: the missed periodic and trigger records were once written
// one by one, each with its own open, sync and header update, all in one
// step while every export waited (a day at 5 s held the caller for seconds).
// They are now written in batches over as many steps as their bytes need.
// The test asserts what the files hold and that the steps grow with the
// jump; the longest step is only reported (speed is the benchmark's).
#include <chrono>
#include <cstring>
#include <iostream>
#include <vector>

#include "engine/timer_step.h"
#include "files/recording_step.h"
#include "library/files/recording_support.h"
#include "tramsoll.h"

using namespace recordingtest;

namespace {

class ClockJump : public RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    std::vector<BlockSpec> groups = {{"E0", 20}, {"E1", 20}, {"E2", 20}};
    addUnit(unitKind::kOutdoor, 16, 3, 1, groups, 4);
    addUnit(unitKind::kIndoor, 33, 3, 2, groups);
    ASSERT_EQ(setFileHeader("C001", "", "", "", (folder.path() + "/").c_str()), 0);
  }

  // The records of a recording, each its time and the bytes behind it.
  struct Records {
    std::vector<uint32_t> times;
    std::vector<std::vector<uint8_t>> parts;
  };
  static Records recordsOf(const std::string& path) {
    std::vector<uint8_t> bytes;
    das::FileHeader header{};
    Records out;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return out;
    for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(uint8_t(c));
    std::fclose(file);
    if (bytes.size() < das::kHeaderSize || !das::decodeMainHeader(bytes.data(), header)) return out;
    for (uint32_t r = 0; r < header.recordCount; ++r) {
      const uint8_t* at = bytes.data() + header.firstRecordOffset + std::size_t(header.recordSize) * r;
      if (at + header.recordSize > bytes.data() + bytes.size()) break;
      out.times.push_back(das::getU32(at));
      out.parts.emplace_back(at + das::kRecordTimeSize, at + header.recordSize);
    }
    return out;
  }
};

TEST_F(ClockJump, MissedRecordsAreWrittenWholeOverStepsThatGrowWithTheJump) {
  int previousSteps = 0;
  for (std::time_t jump : {3600, 86400, 2 * 86400}) {
    SCOPED_TRACE(jump);
    // One periodic record at kStart + 5 the usual way; trigger armed.
    int32_t selection[256] = {};
    selection[2] = 1;
    ASSERT_EQ(saveConstData(1, selection, 5), 0);
    ASSERT_EQ(saveTrigData(1, 3, 5), 0);
    std::string periodic = saveSlot(3).name, trigger = saveSlot(kTriggerSlot).name;
    gatherSlot(kStart + 5);
    appendPeriodicRecord(kStart + 5);
    gatherValues().dataDue = gatherValues().constDue = kStart + 5;

    std::time_t now = kStart + 5 + jump + 1;
    std::time_t periodicEnd = slotTime(now, 5) - 5, triggerEnd = slotTime(now, 10) - 10;
    int steps = 0;
    double longestMs = 0;
    while (gatherValues().constDue < periodicEnd || gatherValues().trigDue < triggerEnd) {
      auto before = std::chrono::steady_clock::now();
      catchUpSlots(now);
      longestMs = std::max(longestMs, std::chrono::duration<double, std::milli>(
                                          std::chrono::steady_clock::now() - before).count());
      ASSERT_LT(++steps, 1000);
      gatherSlot(uint32_t(kStart + 100 * steps));  // new data between the steps
    }
    std::cout << "[ a jump of " << jump << " s: " << steps << " steps, the longest " << longestMs << " ms ]\n";
    EXPECT_GT(steps, previousSteps) << "a longer jump takes more steps";
    previousSteps = steps;

    // Every slot once, in time order, each record as the one written before
    // the jump: the snapshot of the jump, however the data moved meanwhile.
    Records records = recordsOf(periodic);
    ASSERT_EQ(records.times.size(), std::size_t(jump / 5));
    Records triggered = recordsOf(trigger);
    ASSERT_EQ(triggered.times.size(), std::size_t((triggerEnd - kStart) / 10));
    for (std::size_t r = 0; r < records.times.size(); ++r) {
      ASSERT_EQ(records.times[r], kStart + 5 + 5 * r) << r;
      ASSERT_EQ(records.parts[r], records.parts[0]) << r;
    }
    for (std::size_t r = 0; r < triggered.times.size(); ++r) {
      ASSERT_EQ(triggered.times[r], kStart + 10 + 10 * r) << r;
      ASSERT_EQ(triggered.parts[r], records.parts[0]) << r;
    }
    EXPECT_EQ(saveConstData(0, nullptr, 0), 0);
    EXPECT_EQ(saveTrigData(0, 0, 0), 0);
    gatherValues().dataDue = kStart;
  }
}

}  // namespace
