#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "base/caller_values.h"
#include "base/debug_ring.h"
#include "base/local_time.h"
#include "base/status_words.h"
#include "engine/frame.h"
#include "library/support/library_test.h"
#include "tramsoll.h"

using namespace tramsoll;

namespace {

std::string drainOne() {
  char buffer[80];
  int32_t length = -1;
  if (getDebugMessage(buffer, &length) != 1) return "<empty>";
  EXPECT_EQ(static_cast<std::size_t>(length), std::strlen(buffer));
  return buffer;
}

using FrameTest = testsupport::LibraryTest;

TEST_F(FrameTest, DebugRingKeeps1024LinesAndMarksOverflow) {
  for (int i = 0; i < 1024; ++i) logLine("line %d", i);
  EXPECT_EQ(debugRing().size(), 1024u);
  logLine("lost");
  EXPECT_EQ(debugRing().size(), 1024u);
  EXPECT_EQ(drainOne(), "line 1");  // the oldest went
  for (int i = 2; i < 1024; ++i) ASSERT_EQ(drainOne(), "line " + std::to_string(i));
  EXPECT_EQ(drainOne(), "ErrHndl: Debug Message Buffer Overflow");
  EXPECT_EQ(drainOne(), "<empty>");
}

TEST_F(FrameTest, EmptyRingLeavesBufferAndGivesZeroLength) {
  char buffer[80];
  std::memset(buffer, 'x', sizeof buffer);
  int32_t length = 55;
  EXPECT_EQ(getDebugMessage(buffer, &length), 0);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(buffer[79], 'x');
}

TEST_F(FrameTest, LongLinesAreCutTo79Characters) {
  std::string path(200, 'p');
  logLine("FileHndl: cannot create '%s' file!!", path.c_str());
  std::string line = drainOne();
  EXPECT_EQ(line.size(), 79u);
  EXPECT_EQ(line.rfind("FileHndl: cannot create 'ppp", 0), 0u);
}

TEST_F(FrameTest, ExecTramsollReportsOneLatchedFaultPerPoll) {
  gatherState.store(gather::kRunning);
  setBits(errFault, fault::kAdapterTimeout);
  setBits(errLine, line::kSendRingFull);
  int32_t saving = -1, trig = -1;
  EXPECT_EQ(execTramsoll(&saving, &trig), 2);
  EXPECT_EQ(execTramsoll(&saving, &trig), 4);
  EXPECT_EQ(execTramsoll(&saving, &trig), 0);

  setBits(errFault, fault::kDataFile | fault::kBusLogClose);
  EXPECT_EQ(execTramsoll(&saving, &trig), 3);
  EXPECT_EQ(execTramsoll(&saving, &trig), 3);
  EXPECT_EQ(execTramsoll(&saving, &trig), 0);

  setBits(errLine, line::kRxFull | line::kRecvRingFull);
  EXPECT_EQ(execTramsoll(&saving, &trig), 5);
  EXPECT_EQ(execTramsoll(&saving, &trig), 6);
}

TEST_F(FrameTest, ExecTramsollShowsRecordingStates) {
  int32_t saving = -1, trig = -1;
  gatherState.store(gather::kRunning | gather::kPeriodicRecording | gather::kTriggerArmed);
  EXPECT_EQ(execTramsoll(&saving, &trig), 0);
  EXPECT_EQ(saving, 1);
  EXPECT_EQ(trig, 1);
  gatherState.store(gather::kRunning | gather::kTriggerArmed | gather::kTriggerFired);
  execTramsoll(&saving, &trig);
  EXPECT_EQ(saving, 0);
  EXPECT_EQ(trig, 2);
}

TEST_F(FrameTest, NotGatheringAnswersOneAndKeepsLatchedBits) {
  setBits(errFault, fault::kAdapterTimeout);
  int32_t saving = -1, trig = -1;
  EXPECT_EQ(execTramsoll(&saving, &trig), 1);
  EXPECT_EQ(saving, 0);
  EXPECT_EQ(trig, 0);
  EXPECT_TRUE(hasBits(errFault, fault::kAdapterTimeout));
}

TEST(BoundedLength, CutsATextThatFillsTheBuffer) {
  char full[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(boundedLength(full, 4), 3);
  EXPECT_EQ(full[3], '\0');
  char shortText[8] = "ab";
  EXPECT_EQ(boundedLength(shortText, 8), 2);
  char out[5];
  EXPECT_EQ(copyText(out, 5, "abcdefgh"), 4);
  EXPECT_STREQ(out, "abcd");
}

TEST(DateTimeText, CountsTheYearFrom1900) {
  char text[32];
  ASSERT_TRUE(dateTimeText(1700000000, text, sizeof text));  // 2023-11-14 22:13:20 UTC
  EXPECT_STREQ(text, "123/11/14 22:13:20");
}

// Exports and worker steps must never overlap: each side bumps a counter
// that the other would see half-done if both ran at once.
TEST(Exclusion, ExportsAndStepsNeverOverlap) {
  std::atomic<int> inside{0};
  std::atomic<bool> overlap{false};
  auto body = [&] {
    if (inside.fetch_add(1) != 0) overlap = true;
    std::this_thread::yield();
    inside.fetch_sub(1);
  };
  std::thread worker([&] {
    for (int i = 0; i < 20000; ++i) {
      StepFrame step;
      EXPECT_TRUE(stepBusy.load());
      body();
    }
  });
  for (int i = 0; i < 20000; ++i) {
    ExportFrame frame;
    EXPECT_TRUE(apiBusy.load());
    body();
  }
  worker.join();
  EXPECT_FALSE(overlap.load());
}

}  // namespace
