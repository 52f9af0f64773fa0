// The timer step on a manual clock over a fake serial line: gather slots on
// whole multiples of the interval, catch-up after a jump forward, the clock
// set back, the status poll, the request gate and the bus engine's frames;
// and the unit states the map reads through the exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "adapter/send_ring.h"
#include "engine/gathering.h"
#include "engine/settings.h"
#include "engine/timer_step.h"
#include "library/adapter/adapter_support.h"
#include "library/engine/gathering_support.h"
#include "q7/q7_engine.h"
#include "store/live_table.h"
#include "tramsoll.h"
#include "vexa5_adapter.h"

using namespace tramsoll;
using namespace gathertest;
using namespace std::chrono_literals;

namespace {

constexpr std::time_t kStart = 1700000000;  // 2023-11-14 22:13:20 UTC, a gather slot

class TimerStep : public GatheringTest {
 protected:
  void SetUp() override {
    GatheringTest::SetUp();
    auto shared = line;
    setSerialDeviceFactory([shared] { return std::make_unique<adaptertest::FakeSerialDevice>(shared); });
  }
  int32_t start(int32_t mode, const char* target = " ") { return initDataGather(1, 1, 3, mode, 0, target, 5); }
  // A step at a wall-clock second; `fraction` moves only the steady time.
  void stepAt(std::time_t seconds, std::chrono::milliseconds fraction = 0ms) {
    clock.advance(fraction);
    clock.setSystem(seconds);
    runTimerStep(clock.systemNow());
  }
  // Answers the packet in flight as the adapter would (the status answer in
  // bus mode, an acknowledge otherwise).
  void answer(const Bytes& body) { line->feed(adaptertest::packet(body)); }
  void answerStatus() { answer({'Z', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}); }
  int writtenWith(uint8_t letter) const {
    return static_cast<int>(std::count_if(line->writes.begin(), line->writes.end(),
                                          [&](const Bytes& p) { return p.size() > 1 && p[1] == letter; }));
  }
  void hearFrame(const Bytes& frame) { line->feed(adaptersim::Vexa5Adapter::busFramePacket(frame, 0)); }
  int32_t snapshots() const { return liveDataTable().snapshotCount(); }

  std::shared_ptr<adaptertest::FakeLine> line = std::make_shared<adaptertest::FakeLine>();
};

TEST_F(TimerStep, GatherSlotsFallOnWholeMultiplesOfTheInterval) {
  clock.setSystem(kStart + 7);
  ASSERT_EQ(start(2), 0);
  EXPECT_EQ(gatherValues().dataDue, kStart + 5);
  stepAt(kStart + 7);
  stepAt(kStart + 9, 900ms);
  EXPECT_EQ(snapshots(), 0);
  stepAt(kStart + 10);
  EXPECT_EQ(snapshots(), 1);
  EXPECT_EQ(gatherValues().dataDue, kStart + 10);
  stepAt(kStart + 10, 500ms);
  stepAt(kStart + 14, 999ms);
  EXPECT_EQ(snapshots(), 1);
  stepAt(kStart + 15);
  EXPECT_EQ(snapshots(), 2);
  EXPECT_FALSE(hasLineStartingWith(drainDebugLines(), "Tramsoll: Timer Intv"));
}

TEST_F(TimerStep, MissedSlotsAreFilledAndReported) {
  clock.setSystem(kStart);
  ASSERT_EQ(start(2), 0);
  stepAt(kStart + 5);
  ASSERT_EQ(snapshots(), 1);
  drainDebugLines();
  stepAt(kStart + 22);  // the slots of +10 and +15 were missed, +20 is due
  EXPECT_EQ(snapshots(), 4);
  EXPECT_EQ(gatherValues().dataDue, kStart + 20);
  EXPECT_TRUE(hasBits(errLine, line::kSlotsSkipped));
  auto lines = drainDebugLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Tramsoll: Timer Intv Skipped=2 times 123/11/14 22:13:42"),
            lines.end());

  // A day forward: every slot is accounted for, the history simply full.
  auto before = std::chrono::steady_clock::now();
  stepAt(kStart + 20 + 86400);
  EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
  EXPECT_EQ(snapshots(), 121);
  EXPECT_EQ(gatherValues().dataDue, kStart + 20 + 86400);
  lines = drainDebugLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Tramsoll: Timer Intv Skipped=17279 times 123/11/15 22:13:40"),
            lines.end());
}

TEST_F(TimerStep, ClockSetBackHandlesASlotAtOnceAndPollsAgain) {
  clock.setSystem(kStart);
  ASSERT_EQ(start(2), 0);
  stepAt(kStart + 5);
  int32_t taken = snapshots();
  drainDebugLines();
  stepAt(kStart + 5 - 3600 + 2);
  EXPECT_EQ(snapshots(), taken + 1);
  EXPECT_TRUE(hasBits(errLine, line::kClockBack));
  EXPECT_EQ(gatherValues().dataDue, kStart + 5 - 3600);
  EXPECT_EQ(gatherValues().lastPollTime, kStart + 5 - 3600);
  auto lines = drainDebugLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Tramsoll: Exec-Call Interval Reversed=3600 sec"), lines.end());
  stepAt(kStart + 5 - 3600 + 3);
  EXPECT_EQ(snapshots(), taken + 1) << "the due time follows the clock";

  // The Plus step reports it without a line.
  adapterType.store(1);
  clearErrorWords();
  stepAt(kStart - 7200);
  EXPECT_TRUE(hasBits(errLine, line::kClockBack));
  EXPECT_FALSE(hasLineStartingWith(drainDebugLines(), "Tramsoll: Exec-Call"));
}

TEST_F(TimerStep, StatusPollFollowsTheGatherSlotsEveryThirtySeconds) {
  clock.setSystem(kStart + 1);
  ASSERT_EQ(start(2), 0);
  stepAt(kStart + 1);  // the start command goes out, the poll waits behind it
  answer({'S'});
  stepAt(kStart + 1, 100ms);
  EXPECT_EQ(writtenWith('Z'), 1) << "polled at the first step";
  answerStatus();
  for (std::time_t t = kStart + 2; t < kStart + 30; ++t) stepAt(t);
  EXPECT_EQ(writtenWith('Z'), 1);
  stepAt(kStart + 30);
  EXPECT_EQ(writtenWith('Z'), 2);
  EXPECT_EQ(gatherValues().lastPollTime, kStart + 30);
}

TEST_F(TimerStep, BoardRequestsOfASlotGoOutWholeOrNotAtAll) {
  clock.setSystem(kStart);
  ASSERT_EQ(start(4, "PARVO-710"), 0);
  ASSERT_EQ(gatherValues().requestCount, 2);
  stepAt(kStart);  // 'SP' and the first poll
  // Leave room for one request only.
  const uint8_t filler[] = {2, 'X', 'X', 3};
  while (sendRing().freeCount() > 2) sendRing().put(filler, sizeof filler);
  int waiting = sendRing().waiting();
  stepAt(kStart + 5);
  EXPECT_EQ(sendRing().waiting(), waiting);

  sendRing().reset();
  while (sendRing().freeCount() > 3) sendRing().put(filler, sizeof filler);
  waiting = sendRing().waiting();
  stepAt(kStart + 10);
  EXPECT_EQ(sendRing().waiting(), waiting + 2);
}

TEST_F(TimerStep, BusEngineSendsOnlyWithCentralOperation) {
  clock.setSystem(kStart);
  ASSERT_EQ(start(2), 0);
  stepAt(kStart);
  int waiting = sendRing().waiting();
  EXPECT_EQ(busEngine().queuedFrames(), 0u);
  stepAt(kStart, 1ms);
  EXPECT_EQ(sendRing().waiting(), waiting) << "no engine work without central operation";

  centralOperationFlag.store(1);
  stepAt(kStart, 2ms);
  EXPECT_EQ(busEngine().queuedFrames(), 0u) << "the engine's queue is drained";
  EXPECT_GE(sendRing().waiting(), waiting + 2) << "its poll and start-up broadcast as bus sends";
}

TEST_F(TimerStep, MapSeesUnitsGoSilentAndComeBack) {
  clock.setSystem(kStart);
  ASSERT_EQ(start(2), 0);
  Bytes outdoor = busFrame(0x08, 3, 0x60, unitData(0x0101, 2, kTalmaNumber));
  hearFrame(outdoor);
  stepAt(kStart);
  int32_t state[256], rows[256], alarm[256], value[256], key[256];
  ASSERT_EQ(getQ7AuAdrStatus(0, state, rows, alarm, value, key), 0);
  EXPECT_EQ(state[3], 3);
  EXPECT_EQ(rows[3], 1);
  EXPECT_EQ(value[3], 0x0101);
  EXPECT_EQ(key[3], 2);

  stepAt(kStart + 299);
  ASSERT_EQ(getQ7AuAdrStatus(0, state, rows, alarm, value, key), 0);
  EXPECT_EQ(state[3], 3);
  stepAt(kStart + 300);
  ASSERT_EQ(getQ7AuAdrStatus(0, state, rows, alarm, value, key), 0);
  EXPECT_EQ(state[3], 4);
  EXPECT_EQ(rows[3], 1);
  hearFrame(busFrame(0x08, 3, 0x65, unitData(0x0101, 2, 0)));
  stepAt(kStart + 301);
  ASSERT_EQ(getQ7AuAdrStatus(0, state, rows, alarm, value, key), 0);
  EXPECT_EQ(state[3], 3);
}

}  // namespace
