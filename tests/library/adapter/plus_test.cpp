// The Plus adapter protocol against a fake line and the manual clock, and
// against the simulated Plus adapter on a real pseudo-terminal for what only
// the tty layer can break.
#include <gtest/gtest.h>

#include "adapter/plus.h"
#include "adapter/send_ring.h"
#include "adapter_support.h"
#include "sim_link_support.h"

using namespace tramsoll;
using adaptertest::Bytes;
using namespace std::chrono_literals;

namespace {

// A Plus packet: the bytes and the XOR of all of them.
Bytes plusPacket(Bytes bytes) {
  uint8_t x = 0;
  for (uint8_t b : bytes) x ^= b;
  bytes.push_back(x);
  return bytes;
}

// An 0x80 answer carrying a bus frame behind the two bytes the library skips.
Bytes busFrameAnswer(const Bytes& frame) {
  Bytes body{0x80, 0x00, static_cast<uint8_t>(frame.size() + 2), 0x00, 0x00};
  body.insert(body.end(), frame.begin(), frame.end());
  return plusPacket(body);
}

const Bytes kPoll{0x21, 0x15, 0x00, 0x34};
const Bytes kBusSendAck{0x06, 0x18, 0x00, 0x1E};
const Bytes kPollFrame{0xFD, 0x0F, 0xFF, 0x14, 0x06, 0x18, 0xFF, 0x00, 0x7E, 0x00, 0x00, 0x43};

class PlusTest : public adaptertest::AdapterTest {
 protected:
  void SetUp() override {
    AdapterTest::SetUp();
    openFakePort(kAdapterPlus);
  }
  std::vector<Bytes> queued() { return adaptertest::takeQueued(); }
  std::vector<BusFrameRecord> takeFrames() {
    std::vector<BusFrameRecord> frames;
    BusFrameRecord record;
    while (recvRingTake(record)) frames.push_back(record);
    return frames;
  }
  // Runs the scheduler every 100 ms of the manual clock up to `until` and
  // answers the times at which a packet was written.
  std::vector<long> writesWithin(std::chrono::milliseconds until) {
    std::vector<long> at;
    for (auto t = 0ms; t <= until; t += 100ms) {
      std::size_t before = line->writes.size();
      plusScheduler();
      if (line->writes.size() > before) at.push_back(static_cast<long>(t.count()));
      clock.advance(100ms);
    }
    return at;
  }
};

TEST_F(PlusTest, CommandPacketsAreExact) {
  queueStartCommand(kAdapterPlus, start::kBusMonitoring, 0, nullptr);
  queuePlusStatusPoll();
  queuePlusBusSend(kPollFrame.data(), static_cast<int>(kPollFrame.size()));
  auto packets = queued();
  ASSERT_EQ(packets.size(), 3u);
  EXPECT_EQ(packets[0], (Bytes{0x20, 0x06, 0x03, 0x01, 0x00, 0x00, 0x24}));
  EXPECT_EQ(packets[1], kPoll);
  Bytes send{0x24, 0x18, 0x0C};
  send.insert(send.end(), kPollFrame.begin(), kPollFrame.end());
  EXPECT_EQ(packets[2], plusPacket(send));
  EXPECT_EQ(packets[2].size(), kPollFrame.size() + 4);

  uint8_t stop[kPlusStartStopLength];
  ASSERT_EQ(buildPlusStartStop(0, stop), 7);
  EXPECT_EQ(Bytes(stop, stop + 7), (Bytes{0x20, 0x05, 0x03, 0x00, 0x00, 0x00, 0x26}));

  // The longest frame fills a slot; one byte more is refused whole.
  Bytes longest(252, 0x11);
  EXPECT_TRUE(queuePlusBusSend(longest.data(), 252));
  EXPECT_EQ(queued()[0].size(), 256u);
  Bytes tooLong(253, 0x11);
  EXPECT_FALSE(queuePlusBusSend(tooLong.data(), 253));
  EXPECT_TRUE(queued().empty());
}

TEST_F(PlusTest, OnlyBusMonitoringStartsThePlusAdapter) {
  // The adapter has no parameter or one-unit mode: no Vexa5 packets for it.
  const uint8_t startBytes[8] = {'1', '8', '2', '1', 'S', 'S', 'K', 'K'};
  queuePlusStatusPoll();
  queueStartCommand(kAdapterPlus, start::kParameterMode, 0, nullptr);
  EXPECT_TRUE(queued().empty()) << "the ring is emptied all the same";
  queueStartCommand(kAdapterPlus, start::kOneUnit, 9, startBytes);
  EXPECT_TRUE(queued().empty());
  queueStartCommand(kAdapterPlus, start::kBusMonitoring | start::kParameterMode, 0, nullptr);
  EXPECT_EQ(queued(), (std::vector<Bytes>{{0x20, 0x06, 0x03, 0x01, 0x00, 0x00, 0x24}}));
}

TEST_F(PlusTest, BusSendEndsWithItsAcknowledgementAndTheNextPacketFollows) {
  queuePlusBusSend(kPollFrame.data(), static_cast<int>(kPollFrame.size()));
  queuePlusStatusPoll();
  ASSERT_TRUE(plusScheduler());
  EXPECT_EQ(packetInFlight().code, plus::kBusSend);
  line->feed(kBusSendAck);
  plusDispatch();
  EXPECT_EQ(packetInFlight().code, 0);
  EXPECT_TRUE(packetInFlight().requestAccepted);
  ASSERT_TRUE(plusScheduler());
  ASSERT_EQ(line->writes.size(), 2u);
  EXPECT_EQ(line->writes[1], kPoll);
  EXPECT_TRUE(adaptertest::drainDebugLines().empty());

  // An acknowledgement of another command leaves the poll in flight.
  line->feed(plusPacket({0x06, 0x06, 0x00}));
  plusDispatch();
  EXPECT_EQ(packetInFlight().code, plus::kStatusPoll);
  // The status answer, under any of the answer codes, ends it and keeps the
  // fixed adapter status.
  line->feed(plusPacket({0x41, 0x15, 0x02, 0x01, 0x10}));
  plusDispatch();
  EXPECT_EQ(packetInFlight().code, 0);
  ASSERT_EQ(adapterStatus.kept.size(), 1u);
  EXPECT_EQ(adapterStatus.kept[0].switch1, 0);
  EXPECT_EQ(adapterStatus.kept[0].switch2, 0);
  EXPECT_EQ(adapterStatus.kept[0].value, 0x10);
  EXPECT_FALSE(plusScheduler()) << "nothing in flight, nothing queued";
}

TEST_F(PlusTest, UnansweredBusSendIsReplacedByTheStatusPollAfterHalfASecond) {
  queuePlusBusSend(kPollFrame.data(), static_cast<int>(kPollFrame.size()));
  ASSERT_EQ(writesWithin(700ms), (std::vector<long>{0, 500}));
  EXPECT_EQ(line->writes[1], kPoll);
  EXPECT_EQ(packetInFlight().code, plus::kStatusPoll);
  EXPECT_EQ(packetInFlight().retryCount, 0);
  EXPECT_EQ(adaptertest::drainDebugLines(), std::vector<std::string>{"AdpComm : Q7 Send Timeout for F-cmd"});
  EXPECT_EQ(busLog.of('M').back().data, adaptertest::textBytes("Q7 Send Request Timeout"));
  EXPECT_FALSE(hasBits(errFault, fault::kAdapterTimeout)) << "a bus send is never retried";
}

TEST_F(PlusTest, UnansweredCommandsAreRetriedFiveTimesThenGivenUp) {
  // The status poll waits 3 s between writes and gives up at 18 s.
  queuePlusStatusPoll();
  EXPECT_EQ(writesWithin(18000ms), (std::vector<long>{0, 3000, 6000, 9000, 12000, 15000}));
  EXPECT_TRUE(hasBits(errFault, fault::kAdapterTimeout));
  EXPECT_EQ(packetInFlight().code, 0);
  for (const Bytes& written : line->writes) EXPECT_EQ(written, kPoll);
  auto lines = adaptertest::drainDebugLines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "AdpComm : Vexa5 \x15-cmd retry 0");
  EXPECT_EQ(lines[4], "AdpComm : Vexa5 \x15-cmd retry 4");
  EXPECT_EQ(lines[5], "AdpComm : Vexa5 \x15-cmd Timeout");
  EXPECT_EQ(busLog.of('M').back().data, adaptertest::textBytes("'\x15' Command Timeout"));

  // The start command waits 3 s too; any other function byte 1 s.
  clearErrorWords();
  line->writes.clear();
  queuePlusStart();
  EXPECT_EQ(writesWithin(3000ms), (std::vector<long>{0, 3000}));
  clearLinkState();
  line->writes.clear();
  uint8_t stop[kPlusStartStopLength];
  sendRing().put(stop, buildPlusStartStop(0, stop));
  EXPECT_EQ(writesWithin(6000ms), (std::vector<long>{0, 1000, 2000, 3000, 4000, 5000}));
  EXPECT_TRUE(hasBits(errFault, fault::kAdapterTimeout));
}

TEST_F(PlusTest, StrayBytesCostOnlyThemselvesAndBadPacketsAreLogged) {
  clock.setSystem(1700000400);
  line->feed({0x33});                                          // stray byte
  line->feed(kBusSendAck);                                     // its answer right behind it
  line->feed({0x00, 0x7F});                                    // two more unknown codes
  line->feed({0x06, 0x18, 0x00, 0x1F});                        // wrong check byte
  line->feed(busFrameAnswer({0x08, 0x03, 0xFF, 0x14}));        // a four-byte frame
  queuePlusBusSend(kPollFrame.data(), static_cast<int>(kPollFrame.size()));
  ASSERT_TRUE(plusScheduler());

  plusDispatch();  // stops at the check-byte error
  EXPECT_EQ(adaptertest::drainDebugLines(),
            (std::vector<std::string>{"AdpComm : Unknown Command (33h)", "AdpComm : Unknown Command (00h)",
                                      "AdpComm : Unknown Command (7Fh)", "AdpComm : COM Port BCC Error"}));
  EXPECT_EQ(packetInFlight().code, 0) << "the acknowledgement behind the stray byte was framed";
  EXPECT_EQ(errLine.load(), line::kCheckByte);
  auto useless = busLog.of('U');
  ASSERT_EQ(useless.size(), 3u);
  EXPECT_EQ(useless[0].data, Bytes{0x33});
  EXPECT_EQ(useless[2].data, Bytes{0x7F});
  ASSERT_EQ(busLog.of('B').size(), 1u);
  EXPECT_EQ(busLog.of('B')[0].data, (Bytes{0x06, 0x18, 0x00, 0x1F}));
  EXPECT_TRUE(takeFrames().empty());

  plusDispatch();
  auto frames = takeFrames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].count, 4);
  EXPECT_EQ(Bytes(frames[0].data, frames[0].data + 5), (Bytes{0x08, 0x03, 0xFF, 0x14, 0x00}));
  EXPECT_EQ(frames[0].attributes[0], 0);
  EXPECT_EQ(frames[0].status, 0x40);
  EXPECT_EQ(frames[0].time, 1700000400);
  auto received = busLog.of('R');
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[1].data.size(), 10u) << "the whole packet, check byte included";
}

TEST_F(PlusTest, BusFrameAnswersTooShortForAFrameAreDropped) {
  line->feed(plusPacket({0x80, 0x00, 0x00}));              // no data at all
  line->feed(plusPacket({0x80, 0x00, 0x01, 0x00}));        // one of the two skipped bytes
  line->feed(plusPacket({0x80, 0x00, 0x02, 0x00, 0x00}));  // both, and an empty frame
  plusDispatch();
  auto frames = takeFrames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].count, 0);
  EXPECT_EQ(frames[0].data[0], 0);
  EXPECT_TRUE(adaptertest::drainDebugLines().empty());
}

TEST_F(PlusTest, OverLongPacketAndLineErrorsDropTheAssembly) {
  // Length byte 0xFD: 257 bytes expected, the 257th drops the packet.
  Bytes longPacket{0x80, 0x00, 0xFD};
  longPacket.resize(257, 0x00);
  line->feed(longPacket);
  line->feed({0x06, 0x18}, 0);
  line->feed({0x00}, line::kFraming);
  line->feed(kBusSendAck);
  queuePlusBusSend(kPollFrame.data(), static_cast<int>(kPollFrame.size()));
  ASSERT_TRUE(plusScheduler());
  plusDispatch();
  EXPECT_EQ(adaptertest::drainDebugLines(),
            (std::vector<std::string>{"AdpComm : Recv-Packet length over buffer", "AdpComm : COM Port FE"}));
  auto useless = busLog.of('U');
  ASSERT_EQ(useless.size(), 1u);
  EXPECT_EQ(useless[0].data.size(), 256u);
  ASSERT_EQ(busLog.of('E').size(), 1u);
  EXPECT_EQ(busLog.of('E')[0].data, (Bytes{0x06, 0x18}));
  EXPECT_EQ(packetInFlight().code, 0) << "the whole acknowledgement after the broken one";
  EXPECT_TRUE(takeFrames().empty());
}

// ---- Over the pseudo-terminal ----

const char kScenario[] = R"(
adapter type plus
unit outdoor 3 rom 00A1B2C3 model 1234 zubrel 2
frame 60 every 40 after 0
unit indoor 17
frame 62 every 40 after 0 data 03 11 13 0D FF 00 FF
)";

class PlusLinkTest : public adaptertest::SimLinkTest {
 protected:
  void SetUp() override {
    SimLinkTest::SetUp();
    startSimulator(kScenario, {kAdapterPlus, plusDispatch, plusScheduler});
    open();
    queueStartCommand(kAdapterPlus, start::kBusMonitoring, 0, nullptr);
    sendNext();
    ASSERT_TRUE(answered());
    ASSERT_EQ(simulator->mode(), 1);
  }
};

TEST_F(PlusLinkTest, PollAndBusSendAreAnsweredAndStopGoesOutAtClose) {
  queuePlusStatusPoll();
  sendNext();
  ASSERT_TRUE(answered());
  ASSERT_EQ(adapterStatus.kept.size(), 1u);
  EXPECT_EQ(adapterStatus.kept[0].value, 0x10);

  queuePlusBusSend(kPollFrame.data(), static_cast<int>(kPollFrame.size()));
  queuePlusStatusPoll();
  sendNext();
  ASSERT_TRUE(answered());
  EXPECT_TRUE(packetInFlight().requestAccepted);
  EXPECT_EQ(sendNext(), kPoll) << "the next packet follows at once";
  ASSERT_TRUE(answered());
  EXPECT_TRUE(adaptertest::drainDebugLines().empty());

  std::size_t before = simulator->received().size();
  ASSERT_TRUE(closePort());
  ASSERT_TRUE(simulator->waitForReceived(before + 1, adaptertest::kLinkWait));
  EXPECT_EQ(simulator->received().back().bytes, (Bytes{0x20, 0x05, 0x03, 0x00, 0x00, 0x00, 0x26}));
  EXPECT_EQ(simulator->mode(), 0);
}

TEST_F(PlusLinkTest, UnitFramesArriveAsRecordsByteForByte) {
  BusFrameRecord indoor{};
  ASSERT_TRUE(pumpUntil([&] {
    BusFrameRecord record;
    while (recvRingTake(record)) {
      if (record.data[1] == 17) indoor = record;
    }
    return indoor.count > 0;
  }));
  // 0x03, 0x11, 0x13, 0x0D, 0xFF and 0x00 pass the tty untouched.
  const Bytes expected{0x10, 0x11, 0xFF, 0x14, 0x08, 0x62, 0x03, 0x11, 0x13, 0x0D, 0xFF, 0x00, 0xFF, 0x40};
  EXPECT_EQ(Bytes(indoor.data, indoor.data + indoor.count), expected);
  EXPECT_EQ(indoor.status, 0x40);
  EXPECT_EQ(indoor.attributes[0], 0x00);
}

}  // namespace
