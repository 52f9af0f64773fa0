#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "base/clock.h"
#include "library/support/library_test.h"
#include "q7/q7_engine.h"

using namespace tramsoll;

namespace {

using Frame = std::vector<uint8_t>;

const Frame kPoll = {0xFD, 0x0F, 0xFF, 0x14, 0x06, 0x18, 0xFF, 0, 0x7E, 0, 0, 0x43};
const Frame kStartupBroadcast = {0xE5, 0x0F, 0xFF, 0x14, 0x06, 0x50, 0x90, 0, 0xFF, 0, 0, 0xF9};
const Frame kCycleBroadcast = {0xE5, 0x0F, 0xFF, 0x14, 0x06, 0x50, 0x80, 0, 0xFF, 0, 0, 0x09};
const Frame kQueryUnit5 = {0xBD, 0x0F, 0x05, 0x14, 0x06, 0x50, 0x80, 0, 0xFF, 0, 0, 0x03};
const Frame kReplyUnit5 = {0xBD, 0x0F, 0x05, 0x14, 0x06, 0x50, 0x90, 0, 0xFF, 0, 0, 0xF3};

// A received frame of 26 bytes: header, then data bytes set by the test.
Frame busFrame(uint8_t type, uint8_t sender, uint8_t receiver, uint8_t command) {
  Frame f(26, 0);
  f[0] = type;
  f[1] = sender;
  f[2] = receiver;
  f[3] = 0x14;
  f[4] = 0x06;
  f[5] = command;
  return f;
}

// The frame a central command to `address` would be, with bytes 6..24 set.
Frame commandTo(uint8_t address, std::initializer_list<std::pair<int, uint8_t>> bytes, uint8_t check) {
  Frame f(26, 0);
  const uint8_t head[] = {0xA5, 0x0F, address, 0x14, 0x14, 0x40};
  std::copy(head, head + 6, f.begin());
  for (auto [index, value] : bytes) f[index] = value;
  f[25] = check;
  return f;
}

int countOf(const std::vector<Frame>& frames, const Frame& wanted) {
  return static_cast<int>(std::count(frames.begin(), frames.end(), wanted));
}

// Frames of one query code (byte 6 of a 0x50 frame) sent to `address`.
int queriesTo(const std::vector<Frame>& frames, uint8_t address, uint8_t code) {
  return static_cast<int>(std::count_if(frames.begin(), frames.end(), [&](const Frame& f) {
    return f[0] == 0xBD && f[2] == address && f[5] == 0x50 && f[6] == code;
  }));
}

class Q7EngineTest : public testsupport::LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    setClock(&clock);
    engine->initialise(1);
  }

  void after(int seconds) { clock.advance(std::chrono::seconds(seconds)); }

  std::vector<Frame> drain() {
    std::vector<Frame> frames;
    uint8_t out[kQ7FrameBytes];
    int32_t length = 0;
    while (engine->nextFrame(out, length) == 0) frames.emplace_back(out, out + length);
    return frames;
  }
  std::vector<Frame> tickFrames() {
    engine->tick();
    return drain();
  }
  // Ticks `seconds` - 1 and then `seconds` from now: `frame` is due at the
  // second and not before.
  void expectDueAfter(const Frame& frame, int seconds) {
    after(seconds - 1);
    EXPECT_EQ(countOf(tickFrames(), frame), 0) << "one second early";
    after(1);
    EXPECT_EQ(countOf(tickFrames(), frame), 1) << "on time";
  }
  uint32_t receive(const Frame& f, bool own = false) { return engine->receiveFrame(f, own); }
  uint32_t announce(uint8_t address, uint8_t kind, uint8_t firstMode = 0) {
    Frame f = busFrame(0x9D, address, kQ7OwnAddress, 0x90);
    f[12] = kind;
    f[13] = firstMode;
    return receive(f);
  }
  uint32_t status(uint8_t address, uint8_t run, uint8_t mode, uint8_t whole = 0, uint8_t tenths = 0) {
    Frame f = busFrame(0x9D, address, 0xFF, 0x80);
    f[6] = run;
    f[7] = mode;
    f[13] = whole;
    f[14] = tenths;
    return receive(f);
  }
  uint32_t stationFrame(uint8_t station, uint8_t command, uint8_t data6 = 0) {
    Frame f = busFrame(0xFD, station, 0xFF, command);
    f[6] = data6;
    return receive(f);
  }
  // First tick, then the end of the 10 s listening window; the cycle
  // begins at the tick after that.
  void endListening() {
    engine->tick();
    after(10);
    engine->tick();
    ASSERT_FALSE(engine->state() & q7state::kListening);
    drain();
  }
  uint8_t infoWord(int address) {
    Q7ControlInfo info;
    engine->controlInfo(info);
    return info.word[address];
  }
  uint32_t infoHeader() {
    Q7ControlInfo info;
    engine->controlInfo(info);
    return info.header;
  }

  ManualClock clock;
  std::unique_ptr<Q7Engine> engine = std::make_unique<Q7Engine>();
};

TEST_F(Q7EngineTest, FirstTickSendsThePollAndTheStartupBroadcast) {
  EXPECT_EQ(engine->state(), q7state::kListening);
  EXPECT_EQ(tickFrames(), (std::vector<Frame>{kPoll, kStartupBroadcast}));
  EXPECT_EQ(engine->state(), q7state::kListening | q7state::kStartupSent);
  after(1);
  EXPECT_TRUE(tickFrames().empty());
}

TEST_F(Q7EngineTest, ListeningLastsTenSecondsAfterTheBroadcastOrTheLastAnnouncement) {
  // Ticks after `seconds` - 1 and `seconds`: listening ends at the second.
  auto expectListeningEndsAfter = [&](int seconds) {
    after(seconds - 1);
    engine->tick();
    EXPECT_TRUE(engine->state() & q7state::kListening);
    after(1);
    engine->tick();
    EXPECT_FALSE(engine->state() & q7state::kListening);
  };
  engine->tick();
  expectListeningEndsAfter(10);

  // An announcement 8 s after the broadcast keeps the window open to 18 s.
  engine->initialise(1);
  engine->tick();
  after(8);
  announce(5, 1);
  expectListeningEndsAfter(10);
  // The cycle broadcast waits for the next tick; the unit was not queried
  // while the engine listened.
  auto frames = tickFrames();
  EXPECT_EQ(countOf(frames, kCycleBroadcast), 1);
  EXPECT_EQ(queriesTo(frames, 5, 0x80), 0);
}

TEST_F(Q7EngineTest, PollGoesOutOnlyWhenMoreThanSixtySecondsHavePassed) {
  EXPECT_EQ(countOf(tickFrames(), kPoll), 1);
  expectDueAfter(kPoll, 61);
  expectDueAfter(kPoll, 61);
}

TEST_F(Q7EngineTest, CycleBroadcastsEvery300SecondsAndQueriesSilentUnitsFrom120) {
  announce(5, 1);
  announce(6, 1);
  endListening();
  EXPECT_EQ(countOf(tickFrames(), kCycleBroadcast), 1);  // the cycle begins now
  status(6, 0, 0);                                       // unit 6 answered the broadcast
  EXPECT_TRUE(drain().empty());

  after(119);
  EXPECT_EQ(queriesTo(tickFrames(), 5, 0x80), 0);
  after(1);
  auto frames = tickFrames();
  EXPECT_EQ(countOf(frames, kQueryUnit5), 1);
  EXPECT_EQ(queriesTo(frames, 6, 0x80), 0);
  after(1);
  EXPECT_EQ(queriesTo(tickFrames(), 5, 0x80), 0);  // once per cycle

  expectDueAfter(kCycleBroadcast, 179);  // 300 s into the cycle
  after(120);
  frames = tickFrames();
  EXPECT_EQ(queriesTo(frames, 5, 0x80), 1);
  EXPECT_EQ(queriesTo(frames, 6, 0x80), 1);  // the new cycle forgot its answer

  // Another station's cycle broadcast restarts ours.
  after(100);
  Frame foreign = busFrame(0xE5, 4, 0xFF, 0x50);
  foreign[6] = 0x80;
  receive(foreign);
  expectDueAfter(kCycleBroadcast, 300);
}

TEST_F(Q7EngineTest, DetailQueriesGoToTheirUnitKindsEverySixtySeconds) {
  announce(9, 9);
  announce(0x21, 0x11);
  announce(0x22, 0x12);
  announce(5, 1);
  endListening();
  auto frames = tickFrames();
  for (uint8_t code : {0xD0, 0xD1, 0xD2}) {
    EXPECT_EQ(queriesTo(frames, 9, code), 1) << int(code);
    EXPECT_EQ(queriesTo(frames, 0x21, code), 0);
  }
  for (uint8_t code : {0xDA, 0xDB}) {
    EXPECT_EQ(queriesTo(frames, 0x21, code), 1) << int(code);
    EXPECT_EQ(queriesTo(frames, 0x22, code), 1) << int(code);
    EXPECT_EQ(queriesTo(frames, 9, code), 0);
  }
  for (uint8_t code : {0xD0, 0xDA}) EXPECT_EQ(queriesTo(frames, 5, code), 0);
  EXPECT_EQ(std::count_if(frames.begin(), frames.end(), [](const Frame& f) { return f[0] == 0xBD && f[6] >= 0xD0; }),
            7);

  after(59);
  frames = tickFrames();
  EXPECT_EQ(queriesTo(frames, 9, 0xD0) + queriesTo(frames, 0x21, 0xDA), 0);
  after(1);
  frames = tickFrames();
  EXPECT_EQ(queriesTo(frames, 9, 0xD1), 1);
  EXPECT_EQ(queriesTo(frames, 0x21, 0xDB), 1);

  Q7AllAddresses all;
  engine->allAddresses(all);
  EXPECT_EQ(all.address[9].unitWord & 7, 2u);
  EXPECT_EQ(all.address[0x21].unitWord & 7, 2u);
  EXPECT_EQ(all.address[5].unitWord & 7, 1u);
}

TEST_F(Q7EngineTest, UnknownUnitsAreAskedToAnnounceAndAnnouncementsAlwaysCount) {
  engine->tick();
  drain();
  // While listening nothing is answered, but the announcement is kept.
  status(5, 0, 0);
  announce(5, 9, 0x02);
  EXPECT_TRUE(drain().empty());
  EXPECT_EQ(infoWord(5) & 3, 1);
  Q7AllAddresses all;
  engine->allAddresses(all);
  EXPECT_EQ(all.address[5].unitWord & 7, 2u);
  EXPECT_EQ(all.address[5].flags >> q7view::kModeValueShift, 2u);

  engine->initialise(1);
  endListening();
  status(5, 0, 0);
  EXPECT_EQ(drain(), (std::vector<Frame>{kReplyUnit5}));
  announce(5, 1);
  EXPECT_EQ(drain(), (std::vector<Frame>{kQueryUnit5}));
  announce(5, 1);
  status(5, 0, 0);
  EXPECT_TRUE(drain().empty());  // a known unit is not asked again
  receive(busFrame(0x9D, 5, 0xFF, 0x13));
  EXPECT_EQ(drain(), (std::vector<Frame>{kReplyUnit5}));
}

TEST_F(Q7EngineTest, OwnCommandSeenBackMarksTheAddressPendingUntilTheUnitAnswers) {
  announce(5, 9);
  endListening();
  EXPECT_EQ(infoWord(5) & 3, 1);
  const Frame echo = commandTo(5, {{6, 3}}, 0x81);
  receive(echo, true);
  EXPECT_EQ(infoWord(5) & 3, 3);
  Q7AddressStatus st;
  ASSERT_EQ(engine->addressStatus(5, st), 2) << "no status of the unit yet";
  EXPECT_EQ(st.pendingFlag, 1);
  status(5, 3, 0x12);
  EXPECT_EQ(infoWord(5) & 3, 1);

  // A detail query seen back, cleared by the unit's detail answer; the same
  // frames without the own-frame mark set nothing.
  Frame query = busFrame(0xBD, kQ7OwnAddress, 5, 0x50);
  query[6] = 0xD1;
  receive(query, true);
  EXPECT_EQ(infoWord(5) & 3, 3);
  receive(busFrame(0x9D, 5, kQ7OwnAddress, 0xD1));
  EXPECT_EQ(infoWord(5) & 3, 1);
  receive(query);
  receive(echo);
  EXPECT_EQ(infoWord(5) & 3, 1);
  // The start-up broadcast seen back is not a command; the cycle's status
  // broadcast is addressed to all and marks no unit.
  receive(Frame(kStartupBroadcast), true);
  EXPECT_EQ(infoWord(0xFF) & 3, 0);
  receive(Frame(kCycleBroadcast), true);
  EXPECT_EQ(infoWord(0xFF) & 3, 0);
}

TEST_F(Q7EngineTest, CentralCommandFrameAndItsRefusals) {
  const uint32_t run = q7cmd::kRunStopGiven | q7cmd::kRun;
  EXPECT_EQ(engine->centralCommand(5, run, 0, 0), q7refuse::kRefused);  // never answered
  announce(5, 1);
  endListening();

  EXPECT_EQ(engine->centralCommand(5, run | q7cmd::kSetPointGiven, 0, 22.5f), 0);
  EXPECT_EQ(drain(), (std::vector<Frame>{commandTo(5, {{6, 3}, {11, 22}, {12, 0x85}}, 0xE6)}));
  EXPECT_EQ(engine->centralCommand(5, q7cmd::kModeGiven | q7cmd::kSetPointGiven, 2, -5.5f), 0);
  EXPECT_EQ(drain(), (std::vector<Frame>{commandTo(5, {{7, 0x12}, {11, 5}, {12, 0xC5}}, 0xA8)}));

  // Forced stop: run, mode and set point refused, stop still allowed.
  EXPECT_EQ(stationFrame(4, 0x58, 0x01), 0u);
  EXPECT_EQ(infoHeader(), 0x02u);
  EXPECT_EQ(engine->centralCommand(5, run, 0, 0), q7refuse::kForcedStop);
  EXPECT_EQ(engine->centralCommand(5, q7cmd::kModeGiven, 1, 0), q7refuse::kForcedStop);
  EXPECT_EQ(engine->centralCommand(5, q7cmd::kSetPointGiven, 0, 20.0f), q7refuse::kForcedStop);
  EXPECT_TRUE(drain().empty());
  EXPECT_EQ(engine->centralCommand(5, q7cmd::kRunStopGiven, 0, 0), 0);
  EXPECT_EQ(drain(), (std::vector<Frame>{commandTo(5, {{6, 2}}, 0x82)}));
  stationFrame(4, 0x58, 0x00);
  EXPECT_EQ(infoHeader(), 0u);

  // Run/stop locked by a station's 0x19: every known unit gets the central
  // state, and run or stop is refused until the lock is lifted.
  EXPECT_EQ(stationFrame(0x20, 0x19, 0x0C), 1u);  // class above 31
  Frame state(26, 0);
  const uint8_t head[] = {0xA4, 0x0F, 0x05, 0x14, 0x14, 0x40, 0x02};
  std::copy(head, head + 7, state.begin());
  state[25] = 0x82;
  EXPECT_EQ(drain(), (std::vector<Frame>{state}));
  EXPECT_EQ(engine->centralCommand(5, q7cmd::kRunStopGiven, 0, 0), q7refuse::kRunStopLocked);
  EXPECT_EQ(engine->centralCommand(5, q7cmd::kModeGiven, 1, 0), 0);
  drain();
  stationFrame(0x20, 0x19, 0x04);
  EXPECT_EQ(engine->centralCommand(5, q7cmd::kRunStopGiven, 0, 0), 0);
  drain();

  // The control byte is kept and goes into the central state frames.
  EXPECT_EQ(engine->centralCommand(5, q7cmd::kControlGiven, 0, 0), 0);
  EXPECT_EQ(drain()[0][15], 0xC1);
  stationFrame(0x20, 0x19, 0x0C);
  state[15] = 0xC1;
  state[25] = 0xC1;
  EXPECT_EQ(drain(), (std::vector<Frame>{state}));
  receive(busFrame(0x9D, 5, 0xFF, 0x13));
  EXPECT_EQ(drain(), (std::vector<Frame>{kReplyUnit5, state}));

  // A station of a lower class rules the control byte.
  EXPECT_EQ(stationFrame(4, 0x18), 0u);
  EXPECT_EQ(infoHeader(), 0x01u);
  EXPECT_EQ(engine->centralCommand(5, q7cmd::kControlGiven | q7cmd::kControlRelease, 0, 0),
            q7refuse::kLowerStation);
  EXPECT_TRUE(drain().empty());
}

TEST_F(Q7EngineTest, StatusReadAndControlInfoFollowTheUnitsFrames) {
  announce(5, 1);
  Frame f = busFrame(0x9D, 5, 0xFF, 0x80);
  f[6] = 0x03;   // running
  f[7] = 0x12;   // cooling
  f[9] = 0x13;   // error code
  f[10] = 0x40;  // first table, flag bit 6
  f[11] = 0x01;
  f[13] = 22;
  f[14] = 0x83;
  receive(f);
  Q7AddressStatus st;
  ASSERT_EQ(engine->addressStatus(5, st), 0);
  EXPECT_EQ(st.mode, 2);
  EXPECT_FLOAT_EQ(st.setPoint, 22.3f);
  EXPECT_STREQ(st.errorText, "A3");
  EXPECT_EQ(st.runFlag, 1);
  EXPECT_EQ(st.pendingFlag, 0);
  EXPECT_EQ(infoWord(5), 1 | 1 << 2);
  Q7AllAddresses all;
  engine->allAddresses(all);
  EXPECT_EQ(all.address[5].flags & 0x1F8u,
            q7view::kAnswered | q7view::kRunning | q7view::kStatusLow | q7view::kErrorFlag6);

  status(5, 0x03, 0x11, 5, 0xC5);  // heating below zero
  EXPECT_EQ(infoWord(5), 1 | 3 << 2);
  engine->addressStatus(5, st);
  EXPECT_FLOAT_EQ(st.setPoint, -5.5f);
  EXPECT_STREQ(st.errorText, "  ");

  // Another station's command to the unit: only the parts it gives count.
  Frame command = busFrame(0xA5, 4, 5, 0x40);
  command[6] = 0x02;
  command[7] = 0x01;  // no mode given
  command[11] = 24;
  command[12] = 0x85;
  receive(command);
  engine->addressStatus(5, st);
  EXPECT_EQ(st.runFlag, 0);
  EXPECT_EQ(st.mode, 1);
  EXPECT_FLOAT_EQ(st.setPoint, 24.5f);
  EXPECT_EQ(infoWord(5), 1);

  EXPECT_EQ(infoWord(6), 0);  // nobody there
  st.mode = 7;
  EXPECT_EQ(engine->addressStatus(256, st), 1);
  EXPECT_EQ(st.mode, 0);
  EXPECT_EQ(st.errorText[0], '\0');
  EXPECT_EQ(engine->addressStatus(-1, st), 1);
}

TEST_F(Q7EngineTest, SettingSendsAndTheirAnswers) {
  EXPECT_EQ(engine->unitSettingSend(230, 5, 3, 0), 0);
  EXPECT_EQ(engine->unitSettingSend(232, 5, 3, 0x1234), 0);
  EXPECT_EQ(engine->unitSettingSend(231, 5, 3, 0), 0);
  EXPECT_EQ(drain(), (std::vector<Frame>{
                         {0xFD, 0x0F, 0xFF, 0x08, 0x04, 0xE6, 0x05, 0x03, 0x00, 0xF8},
                         {0xFD, 0x0F, 0xFF, 0x08, 0x05, 0xE8, 0x05, 0x03, 0x34, 0x12, 0xAF},
                     }));

  Frame answer = busFrame(0x88, 5, kQ7OwnAddress, 0xE6);
  answer[10] = 5;
  receive(answer);
  Frame change = busFrame(0x88, 7, kQ7OwnAddress, 0xE8);
  change[10] = 7;
  receive(change);
  Frame notAnAnswer = busFrame(0xFD, 6, 0xFF, 0xE6);  // not a type-2 frame
  notAnAnswer[10] = 6;
  receive(notAnAnswer);
  EXPECT_EQ(engine->settingSendState(5), 1);
  EXPECT_EQ(engine->settingSendState(7), 1);
  EXPECT_EQ(engine->settingSendState(6), 0);
  EXPECT_EQ(engine->settingSendState(256), 0);
  EXPECT_EQ(engine->settingSendState(-1), 0);

  engine->initialise(0);  // every start forgets the answers
  EXPECT_EQ(engine->settingSendState(5), 0);
}

TEST_F(Q7EngineTest, GroupEntriesAreRepeatedEveryTenSeconds) {
  const Frame group1234 = {0xF1, 0x00, 0xFF, 0x08, 0x06, 0x6B, 1, 2, 3, 4, 0, 0x7E};
  engine->tick();  // the first group round
  drain();
  Frame entry = busFrame(0x88, 0x20, 0xFF, 0x65);
  entry[6] = 1, entry[7] = 2, entry[8] = 3, entry[9] = 4;
  receive(entry);
  Frame notType2 = entry;
  notType2[0] = 0xFD;
  notType2[1] = 0x21;
  receive(notType2);
  after(9);
  EXPECT_EQ(countOf(tickFrames(), group1234), 0);
  after(1);
  EXPECT_EQ(countOf(tickFrames(), group1234), 1);
  after(10);
  EXPECT_EQ(countOf(tickFrames(), group1234), 1);

  // Our own group send seen back (sender 0) is not kept.
  receive(group1234);
  // A primary frame makes its entry quiet unless a second-table entry
  // without one carries the same bytes.
  Frame primary = busFrame(0x88, 0x22, 0xFF, 0x60);
  primary[6] = 5, primary[7] = 6, primary[8] = 7, primary[9] = 8;
  receive(primary);
  const Frame group5678 = {0xF1, 0x00, 0xFF, 0x08, 0x06, 0x6B, 5, 6, 7, 8, 0, 0x6E};
  after(10);
  auto frames = tickFrames();
  EXPECT_EQ(countOf(frames, group5678), 0);
  EXPECT_EQ(frames.size(), 1u);
  Frame second = busFrame(0xFD, 0x30, 0xFF, 0x62);
  second[6] = 5, second[7] = 6, second[8] = 7, second[9] = 8;
  receive(second);
  receive(busFrame(0x88, 0x20, 0xFF, 0xA8));  // acknowledges 0x20
  after(10);
  frames = tickFrames();
  EXPECT_EQ(countOf(frames, group5678), 1);
  EXPECT_EQ(countOf(frames, group1234), 0);

  // Without bit 0 of the start argument there are no group sends and no
  // answers to stations.
  engine->initialise(0);
  receive(entry);
  stationFrame(4, 0x06);
  stationFrame(4, 0x15);
  EXPECT_EQ(countOf(tickFrames(), group1234), 0);
  engine->initialise(1);
  stationFrame(4, 0x06);
  stationFrame(4, 0x15);
  EXPECT_EQ(drain(), (std::vector<Frame>{{0xFD, 0x0F, 0xFF, 0x1C, 0x01, 0x07, 0, 0, 0, 0, 0, 0xCE},
                                         {0xBD, 0x0F, 0x04, 0x1C, 0x06, 0x16, 0x01, 0, 0, 0, 0, 0xB4}}));
}

TEST_F(Q7EngineTest, FullQueueIsReportedAndKeepsWhatWasQueued) {
  announce(5, 1);
  for (int i = 0; i < 511; ++i) ASSERT_EQ(engine->unitSettingSend(230, 5, i & 0xFF, 0), 0);
  EXPECT_EQ(engine->unitSettingSend(232, 5, 1, 1), kQ7QueueFull);
  EXPECT_EQ(engine->centralCommand(5, q7cmd::kControlGiven, 0, 0), kQ7QueueFull);
  EXPECT_EQ(engine->tick() & kQ7QueueFull, static_cast<uint32_t>(kQ7QueueFull));
  EXPECT_EQ(stationFrame(0x20, 0x06), 1u | kQ7QueueFull);
  EXPECT_EQ(engine->queuedFrames(), 511u);
  auto frames = drain();
  ASSERT_EQ(frames.size(), 511u);
  EXPECT_EQ(frames.front()[7], 0);
  EXPECT_EQ(frames.back()[7], 510 & 0xFF);

  // The lost control command did not change the kept control byte.
  stationFrame(0x20, 0x19, 0x0C);
  EXPECT_EQ(drain().at(0)[15], 0);
}

}  // namespace
