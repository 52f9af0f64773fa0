// The Plus adapter protocol against the simulated Plus adapter on a real
// pseudo-terminal.
#include <gtest/gtest.h>

#include <termios.h>

#include "adapter/plus.h"
#include "adapter/send_ring.h"
#include "sim_link_support.h"

using namespace tramsoll;
using adaptertest::Bytes;
using namespace std::chrono_literals;

namespace {

const char kScenario[] = R"(
adapter type plus
unit outdoor 3 rom 00A1B2C3 model 1234 zubrel 2
frame 60 every 40 after 0
unit indoor 17
frame 62 every 40 after 0 data 03 11 13 0D FF 00 FF
)";

const Bytes kStart{0x20, 0x06, 0x03, 0x01, 0x00, 0x00, 0x24};
const Bytes kStop{0x20, 0x05, 0x03, 0x00, 0x00, 0x00, 0x26};
const Bytes kPoll{0x21, 0x15, 0x00, 0x34};
const Bytes kPollFrame{0xFD, 0x0F, 0xFF, 0x14, 0x06, 0x18, 0xFF, 0x00, 0x7E, 0x00, 0x00, 0x43};

class PlusLinkTest : public adaptertest::SimLinkTest {
 protected:
  void SetUp() override {
    SimLinkTest::SetUp();
    startSimulator(kScenario, {kAdapterPlus, plusDispatch, plusScheduler});
    open();
  }
  void startMonitoring() {
    queueStartCommand(kAdapterPlus, start::kBusMonitoring, 0, nullptr);
    EXPECT_EQ(sendNext(), kStart);
    ASSERT_TRUE(answered());
    EXPECT_EQ(simulator->mode(), 1);
  }
};

TEST_F(PlusLinkTest, LineIs38400BaudWithoutFlowControl) {
  termios t{};
  ASSERT_TRUE(simulator->lineSettings(t));
  EXPECT_EQ(cfgetospeed(&t), B38400);
  EXPECT_EQ(cfgetispeed(&t), B38400);
  EXPECT_FALSE(t.c_cflag & CRTSCTS);
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
}

TEST_F(PlusLinkTest, StartPollBusSendAndStopRoundTrips) {
  startMonitoring();

  queuePlusStatusPoll();
  EXPECT_EQ(sendNext(), kPoll);
  ASSERT_TRUE(answered());
  ASSERT_EQ(adapterStatus.kept.size(), 1u);
  EXPECT_EQ(adapterStatus.kept[0].value, 0x10);

  queuePlusBusSend(kPollFrame.data(), static_cast<int>(kPollFrame.size()));
  queuePlusStatusPoll();
  Bytes sent = sendNext();
  ASSERT_EQ(sent.size(), kPollFrame.size() + 4);
  EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 3), (Bytes{0x24, 0x18, 0x0C}));
  EXPECT_EQ(Bytes(sent.begin() + 3, sent.end() - 1), kPollFrame);
  ASSERT_TRUE(answered());
  EXPECT_TRUE(packetInFlight().requestAccepted);
  EXPECT_EQ(sendNext(), kPoll) << "the next packet follows at once";
  ASSERT_TRUE(answered());
  EXPECT_TRUE(adaptertest::drainDebugLines().empty());

  std::size_t before = simulator->received().size();
  ASSERT_TRUE(closePort());
  ASSERT_TRUE(simulator->waitForReceived(before + 1, adaptertest::kLinkWait));
  EXPECT_EQ(simulator->received().back().bytes, kStop);
  EXPECT_EQ(simulator->mode(), 0);
}

TEST_F(PlusLinkTest, UnitFramesArriveAsRecordsByteForByte) {
  startMonitoring();
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

TEST_F(PlusLinkTest, BusSendWithoutAnswerIsReplacedByTheStatusPoll) {
  startMonitoring();
  simulator->dropAnswers(1);
  queuePlusBusSend(kPollFrame.data(), static_cast<int>(kPollFrame.size()));
  sendNext();
  clock.advance(400ms);
  plusScheduler();
  EXPECT_EQ(packetInFlight().code, plus::kBusSend);
  clock.advance(100ms);
  EXPECT_EQ(sendNext(), kPoll);
  EXPECT_EQ(adaptertest::drainDebugLines(), std::vector<std::string>{"AdpComm : Q7 Send Timeout for F-cmd"});
  ASSERT_TRUE(answered());
}

TEST_F(PlusLinkTest, StrayBytesAndABrokenAnswerAreLoggedAndTheRetryIsAnswered) {
  simulator->injectBytes({0x33, 0x7F});
  simulator->corruptChecks(1);
  queuePlusStatusPoll();
  sendNext();
  ASSERT_TRUE(pumpUntil([this] { return busLog.of('B').size() == 1; }));
  clock.advance(3000ms);
  EXPECT_EQ(sendNext(), kPoll);
  ASSERT_TRUE(answered());
  EXPECT_EQ(adaptertest::drainDebugLines(),
            (std::vector<std::string>{"AdpComm : Unknown Command (33h)", "AdpComm : Unknown Command (7Fh)",
                                      "AdpComm : COM Port BCC Error", "AdpComm : Vexa5 \x15-cmd retry 0"}));
  EXPECT_EQ(errLine.load(), line::kCheckByte);
}

}  // namespace
