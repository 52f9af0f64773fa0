// The library's serial path against the simulated adapter on a real
// pseudo-terminal: every byte crosses the tty layer both ways.
#include <gtest/gtest.h>

#include <termios.h>

#include "adapter/send_ring.h"
#include "sim_link_support.h"

using namespace tramsoll;
using adaptertest::Bytes;
using namespace std::chrono_literals;

namespace {

constexpr auto kWait = adaptertest::kLinkWait;

const char kScenario[] = R"(
# A small installation for the link tests.
adapter switches 2 value 0x10 echo-delay 2
unit outdoor 3 rom 00A1B2C3 model 1234 zubrel 2
frame 60 every 40 after 0
unit indoor 17
frame 62 every 40 after 0 data 03 11 13 0D FF 00 FF
param B-01 00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF
board AB12 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10
board Q 51 52 53
board W012 10 20
board 3F 3F
board ABC 41 42 43 44
board 12AB 12 AB 00
board 0A0B 0A 0B 0C 0D
)";

class AdapterLinkTest : public adaptertest::SimLinkTest {
 protected:
  void SetUp() override {
    SimLinkTest::SetUp();
    startSimulator(kScenario, {kAdapterVexa5, vexa5Dispatch, vexa5Scheduler});
  }
  void startMode(uint32_t kind, int unitKind = 0) {
    const uint8_t startBytes[8] = {'1', '8', '2', '1', 'S', 'S', 'K', 'K'};
    queueStartCommand(kAdapterVexa5, kind, unitKind, startBytes);
    sendNext();
    ASSERT_TRUE(answered());
  }
};

TEST_F(AdapterLinkTest, LineSettingsReadBackFromTheMasterSide) {
  open(kAdapterVexa5);
  termios t{};
  ASSERT_TRUE(simulator->lineSettings(t));
  EXPECT_EQ(cfgetospeed(&t), B19200);
  EXPECT_EQ(cfgetispeed(&t), B19200);
  // A pseudo-terminal keeps no parity bit (its driver clears PARENB); the
  // rest of the settings come back as set.
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_FALSE(t.c_cflag & CSTOPB);
  EXPECT_TRUE(t.c_cflag & CRTSCTS);
  EXPECT_TRUE(t.c_iflag & INPCK);
  EXPECT_TRUE(t.c_iflag & PARMRK);
  EXPECT_FALSE(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP));
  EXPECT_FALSE(t.c_lflag & (ISIG | ICANON | ECHO | IEXTEN));
  EXPECT_FALSE(t.c_oflag & OPOST);
  EXPECT_EQ(t.c_cc[VMIN], 0);
  ASSERT_TRUE(closePort());

  open(kAdapterPlus);
  ASSERT_TRUE(simulator->lineSettings(t));
  EXPECT_EQ(cfgetospeed(&t), B38400);
  EXPECT_FALSE(t.c_cflag & CRTSCTS);
}

TEST(LineSettingsTest, EightDataBitsEvenParityOneStopBitRaw) {
  termios t{};
  t.c_cflag = CS7 | PARODD | CSTOPB;
  t.c_iflag = IXON | ICRNL | ISTRIP | IGNPAR;
  t.c_lflag = ISIG | ICANON | ECHO;
  t.c_oflag = OPOST;
  applyLineSettings(t, LineSettings{19200, true});
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_TRUE(t.c_cflag & PARENB);
  EXPECT_FALSE(t.c_cflag & (PARODD | CSTOPB));
  EXPECT_TRUE(t.c_cflag & (CRTSCTS | CLOCAL | CREAD));
  EXPECT_EQ(t.c_iflag & (IXON | ICRNL | ISTRIP | IGNPAR), 0u);
  EXPECT_TRUE(t.c_iflag & INPCK);
  EXPECT_EQ(t.c_lflag & (ISIG | ICANON | ECHO), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(cfgetospeed(&t), B19200);
  applyLineSettings(t, LineSettings{38400, false});
  EXPECT_FALSE(t.c_cflag & CRTSCTS);
  EXPECT_EQ(cfgetispeed(&t), B38400);
}

TEST_F(AdapterLinkTest, StartPacketsOfEachModeReachTheAdapterAndAreAcknowledged) {
  open();
  queueStartCommand(kAdapterVexa5, start::kBusMonitoring, 0, nullptr);
  EXPECT_EQ(sendNext(), (Bytes{0x02, 0x53, 0x44, 0x30, 0x46, 0x46, 0x46, 0x46, 0x25, 0x03}));
  ASSERT_TRUE(answered());
  EXPECT_EQ(simulator->mode(), 1);

  queueStartCommand(kAdapterVexa5, start::kParameterMode, 0, nullptr);
  EXPECT_EQ(sendNext(), (Bytes{0x02, 0x53, 0x50, 0x01, 0x03}));
  ASSERT_TRUE(answered());
  EXPECT_EQ(simulator->mode(), 2);

  const uint8_t startBytes[8] = {'1', '8', '2', '1', 'S', 'S', 'K', 'K'};
  queueStartCommand(kAdapterVexa5, start::kOneUnit, 13, startBytes);
  EXPECT_EQ(sendNext(), (Bytes{0x02, 0x53, 0x53, '1', '8', '2', '1', 'S', 'S', '0', '4', 0x0C, 0x03}));
  ASSERT_TRUE(answered());
  EXPECT_EQ(simulator->mode(), 3);
  EXPECT_EQ(busLog.of('S').size(), 3u);
  EXPECT_GE(busLog.of('R').size(), 3u);  // the units' frames come in too
}

TEST_F(AdapterLinkTest, StatusPollKeepsTheSwitchesAndStopGoesOutAtClose) {
  open();
  queueStatusPoll();
  EXPECT_EQ(sendNext(), (Bytes{0x02, 0x5A, 0x58, 0x03}));
  ASSERT_TRUE(answered());
  ASSERT_EQ(adapterStatus.kept.size(), 1u);
  EXPECT_EQ(adapterStatus.kept[0].switch1, 0);
  EXPECT_EQ(adapterStatus.kept[0].switch2, 1);
  EXPECT_EQ(adapterStatus.kept[0].value, 0x10);

  std::size_t before = simulator->received().size();
  ASSERT_TRUE(closePort());
  ASSERT_TRUE(simulator->waitForReceived(before + 1, kWait));
  EXPECT_EQ(simulator->received().back().bytes, (Bytes{0x02, 0x53, 0x50, 0x01, 0x03}));
}

TEST_F(AdapterLinkTest, UnansweredCommandIsWrittenSixTimesThenGivenUp) {
  open();
  simulator->setSilent(true);
  queueSensorRequest();
  std::vector<long> writtenAt;
  for (long ms = 0; ms <= 19000; ms += 100) {
    std::size_t before = busLog.of('S').size();
    vexa5Scheduler();
    if (busLog.of('S').size() > before) writtenAt.push_back(ms);
    if (hasBits(errFault, fault::kAdapterTimeout)) {
      EXPECT_EQ(ms, 18000);
      break;
    }
    clock.advance(100ms);
  }
  EXPECT_EQ(writtenAt, (std::vector<long>{0, 3000, 6000, 9000, 12000, 15000}));
  EXPECT_TRUE(hasBits(errFault, fault::kAdapterTimeout));
  EXPECT_EQ(packetInFlight().code, 0);
  EXPECT_EQ(adaptertest::drainDebugLines(),
            (std::vector<std::string>{"AdpComm : Vexa5 A-cmd retry 0", "AdpComm : Vexa5 A-cmd retry 1",
                                      "AdpComm : Vexa5 A-cmd retry 2", "AdpComm : Vexa5 A-cmd retry 3",
                                      "AdpComm : Vexa5 A-cmd retry 4", "AdpComm : Vexa5 A-cmd Timeout"}));
  auto messages = busLog.of('M');
  ASSERT_EQ(messages.size(), 6u);
  EXPECT_EQ(messages[0].data, adaptertest::textBytes("'A' Command retry 0"));
  EXPECT_EQ(messages[5].data, adaptertest::textBytes("'A' Command Timeout"));
  // All six reached the adapter, byte for byte.
  ASSERT_TRUE(simulator->waitForReceived(6, kWait));
  for (const adaptersim::LogEntry& e : simulator->received()) EXPECT_EQ(e.bytes, (Bytes{0x02, 0x41, 0x43, 0x03}));
}

TEST_F(AdapterLinkTest, DroppedAnswerIsFetchedByTheRetry) {
  open();
  simulator->dropAnswers(1);
  queueStatusPoll();
  sendNext();
  clock.advance(2900ms);
  vexa5Scheduler();
  EXPECT_EQ(simulator->received().size(), 1u);
  clock.advance(100ms);
  EXPECT_EQ(sendNext(), (Bytes{0x02, 0x5A, 0x58, 0x03}));
  ASSERT_TRUE(answered());
  EXPECT_EQ(adaptertest::drainDebugLines(), std::vector<std::string>{"AdpComm : Vexa5 Z-cmd retry 0"});
}

TEST_F(AdapterLinkTest, BusSendWithoutEchoIsReplacedByAStatusPoll) {
  open();
  startMode(start::kBusMonitoring);
  simulator->withholdEchoes(1);
  const uint8_t frame[] = {0xFD, 0x0F, 0xFF, 0x14, 0x06, 0x18, 0xFF, 0x00, 0x7E, 0x00, 0x00, 0x43};
  queueBusSend(frame, sizeof frame);
  sendNext();
  ASSERT_TRUE(pumpUntil([] { return packetInFlight().requestAccepted; }));
  EXPECT_EQ(packetInFlight().code, 'F');
  clock.advance(400ms);
  vexa5Scheduler();
  EXPECT_EQ(packetInFlight().code, 'F');
  clock.advance(100ms);
  EXPECT_EQ(sendNext(), (Bytes{0x02, 0x5A, 0x58, 0x03}));
  EXPECT_EQ(packetInFlight().code, 'Z');
  auto lines = adaptertest::drainDebugLines();
  EXPECT_EQ(lines, std::vector<std::string>{"AdpComm : Q7 Echo Timeout at E-cmd (18)"});
  EXPECT_EQ(busLog.of('M').back().data, adaptertest::textBytes("Q7 Send Echo-back Timeout"));
  ASSERT_TRUE(answered());

  // With its echo the send ends, and the echo is in the ring as our own frame.
  recvRingRelease();
  queueBusSend(frame, sizeof frame);
  Bytes sent = sendNext();
  EXPECT_EQ(Bytes(sent.begin() + 2, sent.end() - 2), Bytes(frame, frame + sizeof frame));
  ASSERT_TRUE(answered());
  bool echoed = false;
  BusFrameRecord record;
  while (recvRingTake(record)) {
    if (record.data[1] == 0x0F && record.count == 12 && record.status == 0x0E) echoed = true;
  }
  EXPECT_TRUE(echoed);
}

TEST_F(AdapterLinkTest, UnitFramesArriveByteForByteThroughTheTty) {
  open();
  startMode(start::kBusMonitoring);
  BusFrameRecord outdoor{}, indoor{};
  bool haveOutdoor = false, haveIndoor = false;
  ASSERT_TRUE(pumpUntil([&] {
    BusFrameRecord record;
    while (recvRingTake(record)) {
      if (record.data[1] == 3) outdoor = record, haveOutdoor = true;
      if (record.data[1] == 17) indoor = record, haveIndoor = true;
    }
    return haveOutdoor && haveIndoor;
  }));
  const Bytes outdoorHead{0x08, 0x03, 0xFF, 0x14, 0x09, 0x60, 0x00, 0xA1, 0xB2, 0xC3, 0x02, 0x12, 0x34, 0x00};
  ASSERT_EQ(outdoor.count, 15);
  EXPECT_EQ(Bytes(outdoor.data, outdoor.data + 14), outdoorHead);
  // 0x03, 0x11, 0x13, 0x0D, 0xFF and 0x00 pass the tty untouched.
  const Bytes indoorHead{0x10, 0x11, 0xFF, 0x14, 0x08, 0x62, 0x03, 0x11, 0x13, 0x0D, 0xFF, 0x00, 0xFF};
  ASSERT_EQ(indoor.count, 14);
  EXPECT_EQ(Bytes(indoor.data, indoor.data + 13), indoorHead);
  for (const BusFrameRecord* r : {&outdoor, &indoor}) {
    uint8_t sum = 0;
    for (int i = 1; i < r->count; ++i) sum = static_cast<uint8_t>(sum + r->data[i]);
    EXPECT_EQ(sum, 0) << "bytes after the first add up to 0";
    EXPECT_EQ(r->status, 0x00);
  }
}

TEST_F(AdapterLinkTest, MixedStreamFromTheAdapterIsFramedAsTheProtocolSays) {
  open();
  simulator->injectBytes({0x55, 0x02, 0x00, 0x41, 0x02, 0x51, 0x10});
  simulator->corruptChecks(1);
  queueStatusPoll();
  sendNext();
  ASSERT_TRUE(pumpUntil([this] { return busLog.of('B').size() == 1; }));
  clock.advance(3000ms);
  sendNext();  // the retry gets a good answer
  ASSERT_TRUE(answered());
  EXPECT_EQ(adaptertest::drainDebugLines(),
            (std::vector<std::string>{"AdpComm : Useless charactor 41h", "AdpComm : Unknown Command (51h)",
                                      "AdpComm : COM Port BCC Error", "AdpComm : Vexa5 Z-cmd retry 0"}));
  EXPECT_EQ(errLine.load(), line::kStrayByte | line::kCheckByte);
  EXPECT_EQ(adapterStatus.kept.size(), 1u);
}

TEST_F(AdapterLinkTest, WrongModeInTheStatusStartsTheAdapterAgain) {
  open();
  startMode(start::kBusMonitoring);
  simulator->reportMode(2);
  queueStatusPoll();
  sendNext();
  ASSERT_TRUE(answered());
  EXPECT_EQ(sendNext(), (Bytes{0x02, 0x53, 0x44, 0x30, 0x46, 0x46, 0x46, 0x46, 0x25, 0x03}));
}

TEST_F(AdapterLinkTest, BoardAnswersOfEachUnitKindAreFiledUnderTheirKeys) {
  open();
  struct Case {
    int kind;
    const char* text;
    std::string key;
    Bytes data;
  };
  const std::vector<Case> cases = {
      {8, "AB12", "AB12", {0x01, 0x02, 0x03}},
      {9, "Q", "Q", {0x51, 0x52, 0x53}},
      {10, "W012", "W012", {0x10, 0x20}},
      {11, "3F", "3F", {0x3F}},
      {12, "ABC", "ABC", {0x41, 0x42, 0x43, 0x44}},
      {13, "12AB", "12AB", {0x06, 0x12, 0xAB, 0x00}},
      {14, "0A0B", "0A0B", {0x0A, 0x0B, 0x0C, 0x0D}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    startMode(start::kOneUnit, c.kind);
    if (c.kind == 11) {  // the kind's own "01" request follows the connection
      sendNext();
      ASSERT_TRUE(answered());
    }
    liveData.stored.clear();
    queueUnitRequest(c.kind, c.text, 3);
    sendNext();
    ASSERT_TRUE(answered());
    ASSERT_EQ(liveData.stored.size(), 1u);
    EXPECT_EQ(liveData.stored[0].key, c.key);
    EXPECT_EQ(Bytes(liveData.stored[0].data.begin(), liveData.stored[0].data.begin() + c.data.size()), c.data);
  }
}

TEST_F(AdapterLinkTest, ParameterBlockIsFiledUnderItsRequest) {
  open();
  startMode(start::kParameterMode);
  queueParameterRequest("B-01");
  EXPECT_EQ(sendNext(), (Bytes{0x02, 0x42, 0x30, 0x31, 0x41, 0x03}));
  ASSERT_TRUE(answered());
  ASSERT_EQ(liveData.stored.size(), 1u);
  EXPECT_EQ(liveData.stored[0].key, "B-01");
  EXPECT_EQ(liveData.stored[0].data[1], 0x11);
  EXPECT_EQ(liveData.stored[0].data[15], 0xFF);
}

}  // namespace

// A pseudo-terminal keeps no parity bit, so on its second open the line
// settings change nothing; the port must open all the same (gathering
// restarts on the same device).
TEST_F(AdapterLinkTest, PortOpensAgainAfterAClose) {
  for (int round = 0; round < 3; ++round) {
    open();
    EXPECT_TRUE(closePort());
  }
  EXPECT_EQ(errFault.load() & (fault::kComOpen | fault::kComSetup), 0u);
}
