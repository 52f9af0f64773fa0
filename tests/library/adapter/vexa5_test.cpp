// The Vexa5 adapter protocol's receive side against a fake line, and the
// library's serial path against the simulated adapter on a real
// pseudo-terminal for what only the tty layer can break: every byte crosses
// it both ways.
#include <gtest/gtest.h>

#include <termios.h>

#include "adapter/send_ring.h"
#include "adapter_support.h"
#include "sim_link_support.h"

using namespace tramsoll;
using adaptertest::Bytes;
using adaptertest::packet;
using namespace std::chrono_literals;

namespace {

class Vexa5ReceiveTest : public adaptertest::AdapterTest {
 protected:
  void SetUp() override {
    AdapterTest::SetUp();
    openFakePort();
  }
  // Puts a packet in flight the way the scheduler does.
  void sendNow(const Bytes& bytes) {
    ASSERT_TRUE(sendRing().put(bytes.data(), static_cast<int>(bytes.size())));
    ASSERT_TRUE(vexa5Scheduler());
    ASSERT_EQ(packetInFlight().code, bytes[1]);
  }
  std::vector<BusFrameRecord> takeFrames() {
    std::vector<BusFrameRecord> frames;
    BusFrameRecord record;
    while (recvRingTake(record)) frames.push_back(record);
    return frames;
  }
};

TEST_F(Vexa5ReceiveTest, MixedStreamGivesTheDiagnosticLinesAndKeepsTheGoodPackets) {
  line->feed({0x55});                      // stray byte before any STX
  line->feed({0x02, 0x00, 0x41});          // zero code, then a byte
  line->feed({0x02, 0x51, 0x10});          // unknown code 'Q'
  line->feed({0x02, 0x53, 0x00, 0x03});    // 'S' with a wrong check byte
  line->feed(packet({'S'}));
  line->feed(packet({'Z', 1, 0, 0, 0, 0, 0, 0, 0x03, 0x22, 0, 0}));

  vexa5Dispatch();  // stops at the check-byte error
  EXPECT_EQ(adaptertest::drainDebugLines(),
            (std::vector<std::string>{"AdpComm : Useless charactor 41h", "AdpComm : Unknown Command (51h)",
                                      "AdpComm : COM Port BCC Error"}));
  EXPECT_TRUE(adapterStatus.kept.empty());
  vexa5Dispatch();
  ASSERT_EQ(adapterStatus.kept.size(), 1u);
  EXPECT_EQ(adapterStatus.kept[0].switch1, 1);
  EXPECT_EQ(adapterStatus.kept[0].switch2, 1);
  EXPECT_EQ(adapterStatus.kept[0].value, 0x22);
  EXPECT_TRUE(adaptertest::drainDebugLines().empty());

  EXPECT_EQ(errLine.load(), line::kStrayByte | line::kCheckByte);
  auto useless = busLog.of('U');
  ASSERT_EQ(useless.size(), 3u);
  EXPECT_EQ(useless[0].data, Bytes{0x55});
  EXPECT_EQ(useless[1].data, (Bytes{0x02, 0x00, 0x41}));
  EXPECT_EQ(useless[2].data, (Bytes{0x02, 0x51, 0x10}));
  ASSERT_EQ(busLog.of('B').size(), 1u);
  EXPECT_EQ(busLog.of('B')[0].data, (Bytes{0x02, 0x53, 0x00, 0x03}));
  auto good = busLog.of('R');
  ASSERT_EQ(good.size(), 2u);
  EXPECT_EQ(good[0].data, packet({'S'}));
  EXPECT_EQ(good[1].data.size(), 15u);
}

TEST_F(Vexa5ReceiveTest, LengthCodedPacketWithoutEtxIsReportedAndStillUsed) {
  Bytes status = packet({'Z', 2, 0, 0, 0, 0, 0, 0, 0x01, 0x07, 0, 0});
  status.back() = 0x04;
  line->feed(status);
  vexa5Dispatch();
  EXPECT_EQ(adaptertest::drainDebugLines(), std::vector<std::string>{"AdpComm : COM Port Not ETX char (0x04)"});
  EXPECT_TRUE(hasBits(errLine, line::kNoEtx));
  ASSERT_EQ(adapterStatus.kept.size(), 1u);
  EXPECT_EQ(adapterStatus.kept[0].value, 7);
}

TEST_F(Vexa5ReceiveTest, OverLongPacketIsDroppedBeforeItsExtraByteIsStored) {
  Bytes longPacket{0x02, 'D', 0xFC};  // 257 bytes expected
  longPacket.resize(257, 0x00);
  line->feed(longPacket);
  line->feed(packet({'S'}));
  sendNow(packet({'S', 'P'}));
  vexa5Dispatch();
  EXPECT_EQ(adaptertest::drainDebugLines(), std::vector<std::string>{"AdpComm : Recv-Packet length over buffer"});
  auto dropped = busLog.of('U');
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_EQ(dropped[0].data.size(), 256u);
  EXPECT_EQ(packetInFlight().code, 0) << "the 'S' answer after it was framed";
}

TEST_F(Vexa5ReceiveTest, ByteWithLineErrorsDropsTheAssemblyAndIsDiscarded) {
  line->feed({0x02, 'S'});
  line->feed({0x51}, line::kParity | line::kOverrun);
  line->feed({0x03});  // the rest of the broken packet: a stray byte now
  line->feed(packet({'S'}));
  sendNow(packet({'S', 'P'}));
  vexa5Dispatch();
  EXPECT_EQ(adaptertest::drainDebugLines(),
            (std::vector<std::string>{"AdpComm : COM Port PE", "AdpComm : COM Port OverRun"}));
  EXPECT_EQ(errLine.load(), line::kParity | line::kOverrun | line::kStrayByte);
  auto errors = busLog.of('E');
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].value, line::kParity | line::kOverrun);
  EXPECT_EQ(errors[0].data, (Bytes{0x02, 'S'}));
  EXPECT_EQ(packetInFlight().code, 0);
}

TEST_F(Vexa5ReceiveTest, FailingReadEndsTheRoundAndIsLoggedOnce) {
  line->feed(packet({'S'}));
  line->readError = EIO;
  vexa5Dispatch();
  vexa5Dispatch();
  EXPECT_EQ(adaptertest::drainDebugLines(), std::vector<std::string>{"AdpComm : ReadFile Error No=5"});
  EXPECT_TRUE(hasBits(errFault, fault::kSerialIo));
  line->readError = 0;
  vexa5Dispatch();
  EXPECT_EQ(busLog.of('R').size(), 1u);
}

TEST_F(Vexa5ReceiveTest, StatusAnswerInAnotherModeStartsTheAdapterAgain) {
  queueStartCommand(kAdapterVexa5, start::kBusMonitoring, 0, nullptr);
  queueStatusPoll();
  ASSERT_TRUE(vexa5Scheduler());  // the start command is in flight
  line->feed(packet({'Z', 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  vexa5Dispatch();
  // The queued poll was dropped and the start command queued again.
  uint8_t out[kPacketSize];
  int length = 0;
  ASSERT_TRUE(sendRing().take(out, length));
  EXPECT_EQ(Bytes(out, out + length), (Bytes{0x02, 0x53, 0x44, 0x30, 0x46, 0x46, 0x46, 0x46, 0x25, 0x03}));
  EXPECT_FALSE(sendRing().take(out, length));

  queueStatusPoll();
  line->feed(packet({'Z', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  vexa5Dispatch();
  EXPECT_EQ(sendRing().waiting(), 1) << "right mode: nothing requeued";
}

TEST_F(Vexa5ReceiveTest, BusFrameAnswersBecomeRecords) {
  clock.setSystem(1700000123);
  // One pair and the status byte, then a frame of three pairs.
  line->feed(packet({'E', 3, 0x08, 0x00, 0x40}));
  line->feed(packet({'E', 7, 0x31, 0x00, 0x01, 0x80, 0xFF, 0x00, 0x00}));
  line->feed(packet({'E', 0}));  // too short for a status byte: dropped
  vexa5Dispatch();
  auto frames = takeFrames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].count, 1);
  EXPECT_EQ(frames[0].data[0], 0x08);
  EXPECT_EQ(frames[0].status, 0x40);
  EXPECT_EQ(frames[0].time, 1700000123);
  EXPECT_EQ(frames[1].count, 3);
  EXPECT_EQ(frames[1].data[2], 0xFF);
  EXPECT_EQ(frames[1].attributes[1], 0x80);
  EXPECT_EQ(frames[1].data[3], 0x00);
  EXPECT_EQ(frames[1].status, 0x00);
}

TEST_F(Vexa5ReceiveTest, BusSendEndsWithItsEchoOrAFinalStatus) {
  const Bytes frame{0xFD, 0x0F, 0xFF, 0x14, 0x06, 0x18, 0xFF, 0x00, 0x7E, 0x00, 0x00, 0x43};
  Bytes send{'F'};
  send.insert(send.end(), frame.begin(), frame.end());
  Bytes echo{'E', static_cast<uint8_t>(2 * frame.size() + 1)};
  for (uint8_t b : frame) echo.insert(echo.end(), {b, 0x00});

  sendNow(packet(send));
  line->feed(packet({'F'}));
  Bytes pending = echo;
  pending.push_back(0x08);  // our own frame, not yet final
  line->feed(packet(pending));
  vexa5Dispatch();
  EXPECT_TRUE(packetInFlight().requestAccepted);
  EXPECT_EQ(packetInFlight().code, 'F');

  Bytes done = echo;
  done.push_back(0x0E);  // our own frame, final state 6
  line->feed(packet(done));
  vexa5Dispatch();
  EXPECT_EQ(packetInFlight().code, 0);
  EXPECT_EQ(takeFrames().size(), 2u) << "the echoes go into the ring too";

  // Another frame with bit 0x20 and a final state also ends the send.
  sendNow(packet(send));
  line->feed(packet({'E', 3, 0x10, 0x00, 0x27}));
  vexa5Dispatch();
  EXPECT_EQ(packetInFlight().code, 0);
}

TEST_F(Vexa5ReceiveTest, SensorAndParameterAnswersGoToTheLiveData) {
  clock.setSystem(1700000200);
  sendNow(packet({'A'}));
  line->feed(packet({'A', '1', '2', '3'}));
  vexa5Dispatch();
  ASSERT_EQ(liveData.stored.size(), 1u);
  const adaptertest::StoredBlock& sensor = liveData.stored[0];
  EXPECT_EQ(sensor.kind, 200);
  EXPECT_EQ(sensor.block, 0);
  EXPECT_EQ(sensor.time, 1700000200);
  EXPECT_EQ(sensor.extra, (Bytes{'A', 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(sensor.data.begin(), sensor.data.begin() + 4), (Bytes{'1', '2', '3', 0}));

  sendNow(packet({'B', '0', '1'}));
  Bytes block{'B'};
  for (int i = 0; i < 16; ++i) {
    char hex[3];
    std::snprintf(hex, sizeof hex, i % 2 ? "%02x" : "%02X", 0xA0 + i);
    block.insert(block.end(), {static_cast<uint8_t>(hex[0]), static_cast<uint8_t>(hex[1])});
  }
  line->feed(packet(block));
  vexa5Dispatch();
  ASSERT_EQ(liveData.stored.size(), 2u);
  const adaptertest::StoredBlock& parameter = liveData.stored[1];
  EXPECT_EQ(parameter.key, "B-01");
  EXPECT_EQ(parameter.extra, (Bytes{'B', '-', '0', '1', 0, 0, 0, 0}));
  EXPECT_EQ(parameter.data[0], 0xA0);
  EXPECT_EQ(parameter.data[15], 0xAF);
  EXPECT_EQ(parameter.data[16], 0x00);
}

TEST_F(Vexa5ReceiveTest, LateOrShortParameterAnswersAreNotFiled) {
  Bytes block{'C'};
  block.resize(33, '7');
  sendNow(packet({'Z'}));
  line->feed(packet(block));  // a 'C' answer while a poll is in flight
  vexa5Dispatch();
  EXPECT_TRUE(liveData.stored.empty());
  EXPECT_EQ(packetInFlight().code, 'Z');

  line->feed(packet({'Z', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  vexa5Dispatch();
  sendNow(packet({'C', '0', '2'}));
  line->feed(packet(Bytes(block.begin(), block.begin() + 32)));  // one character short
  vexa5Dispatch();
  EXPECT_TRUE(liveData.stored.empty());
  EXPECT_EQ(packetInFlight().code, 0);
}

TEST_F(Vexa5ReceiveTest, BoardAnswersAreCheckedByUnitKind) {
  const uint8_t startBytes[8] = {};
  // Kind 9: 02 'R' n key data.. sum 03, the sum over bytes 4..(length - 1).
  queueStartCommand(kAdapterVexa5, start::kOneUnit, 9, startBytes);
  sendRing().reset();
  queueUnitRequest(9, "Q", 0);
  ASSERT_TRUE(vexa5Scheduler());
  Bytes inner{0x02, 'R', 0x02, 'Q', 0x11, 0x22};
  inner.push_back(static_cast<uint8_t>(0x02 + 'Q' + 0x11 + 0x22));
  inner.push_back(0x03);
  Bytes answer{'D', static_cast<uint8_t>(inner.size())};
  answer.insert(answer.end(), inner.begin(), inner.end());
  line->feed(packet(answer));
  vexa5Dispatch();
  ASSERT_EQ(liveData.stored.size(), 1u);
  EXPECT_EQ(liveData.stored[0].key, "Q");
  EXPECT_EQ(Bytes(liveData.stored[0].data.begin(), liveData.stored[0].data.begin() + 5),
            (Bytes{0x11, 0x22, inner[6], 0x03, 0x00}));

  // The same answer with a broken sum is dropped.
  queueUnitRequest(9, "Q", 0);
  ASSERT_TRUE(vexa5Scheduler());
  answer[8] ^= 1;
  line->feed(packet(answer));
  vexa5Dispatch();
  EXPECT_EQ(liveData.stored.size(), 1u);

  // Kind 13: the whole answer sums to 0xFF, keyed by the request's bytes.
  queueStartCommand(kAdapterVexa5, start::kOneUnit, 13, startBytes);
  sendRing().reset();
  queueUnitRequest(13, "12AB", 3);
  ASSERT_TRUE(vexa5Scheduler());
  Bytes board{0x06, 0x10, 0x20};
  board.push_back(static_cast<uint8_t>(0xFF - 0x06 - 0x10 - 0x20));
  Bytes answer13{'D', static_cast<uint8_t>(board.size())};
  answer13.insert(answer13.end(), board.begin(), board.end());
  line->feed(packet(answer13));
  vexa5Dispatch();
  ASSERT_EQ(liveData.stored.size(), 2u);
  EXPECT_EQ(liveData.stored[1].key, "12AB");
  EXPECT_EQ(liveData.stored[1].data[1], 0x10);

  // A 'D' answer with no 'D' in flight is not filed.
  line->feed(packet(answer13));
  vexa5Dispatch();
  EXPECT_EQ(liveData.stored.size(), 2u);
}

// ---- Over the pseudo-terminal ----


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
