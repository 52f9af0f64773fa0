// The simulated units answering the library's own bus frames, built here by
// hand as the bus engine sends them, through either adapter on a real
// pseudo-terminal. The expected answers are written out byte by byte.
#include <gtest/gtest.h>

#include "adapter/plus.h"
#include "sim_link_support.h"

using namespace tramsoll;
using adaptertest::Bytes;

namespace {

const char kUnits[] = R"(
adapter echo-delay 0 unit-delay 1
unit outdoor 3 rom 00A1B2C3 model 1234 zubrel 2
setting 7 300
unit indoor 17 rom 00000011 model 0042 mode 1 setpoint 24.5 error 13
unit central 32 rom 01020304 model 0010 kind 9
frame D0 every 86400000 data 01 02 03
)";

// A bus frame with its check byte: bytes 1 onwards add up to 0.
Bytes q7(Bytes bytes) {
  uint8_t sum = 0;
  for (std::size_t i = 1; i < bytes.size(); ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  bytes.push_back(static_cast<uint8_t>(-sum));
  return bytes;
}

// A 26-byte central command to `address` with bytes 6..24 as given.
Bytes centralCommand(uint8_t address, std::map<int, uint8_t> parts) {
  Bytes frame{0xA5, 0x0F, address, 0x14, 0x14, 0x40};
  frame.resize(25, 0x00);
  for (auto [at, value] : parts) frame[static_cast<std::size_t>(at)] = value;
  return q7(frame);
}

const Bytes kPoll = q7({0xFD, 0x0F, 0xFF, 0x14, 0x06, 0x18, 0xFF, 0x00, 0x7E, 0x00, 0x00});
const Bytes kStartupBroadcast = q7({0xE5, 0x0F, 0xFF, 0x14, 0x06, 0x50, 0x90, 0x00, 0xFF, 0x00, 0x00});
const Bytes kQuery17 = q7({0xBD, 0x0F, 0x11, 0x14, 0x06, 0x50, 0x80, 0x00, 0xFF, 0x00, 0x00});

class StationUnitsTest : public adaptertest::SimLinkTest {
 protected:
  void use(int adapterType) {
    std::string scenario = std::string(adapterType == kAdapterPlus ? "adapter type plus\n" : "") + kUnits;
    if (adapterType == kAdapterPlus) {
      startSimulator(scenario.c_str(), {kAdapterPlus, plusDispatch, plusScheduler});
    } else {
      startSimulator(scenario.c_str(), {kAdapterVexa5, vexa5Dispatch, vexa5Scheduler});
    }
    open();
    queueStartCommand(adapterType, start::kBusMonitoring, 0, nullptr);
    sendNext();
    ASSERT_TRUE(answered());
    adapterType_ = adapterType;
  }
  // Sends one frame on the bus and waits for the adapter to have taken it.
  void send(const Bytes& frame) {
    int length = static_cast<int>(frame.size());
    ASSERT_TRUE(adapterType_ == kAdapterPlus ? queuePlusBusSend(frame.data(), length)
                                             : queueBusSend(frame.data(), length));
    sendNext();
    ASSERT_TRUE(answered());
  }
  // The next `count` frames the units sent (the library's own echoes left
  // out), each as its bytes.
  std::vector<Bytes> unitFrames(std::size_t count) {
    std::vector<Bytes> frames;
    pumpUntil([&] {
      BusFrameRecord record;
      while (frames.size() < count && recvRingTake(record)) {
        if (record.data[1] == 0x0F) continue;
        EXPECT_EQ(record.status, adapterType_ == kAdapterPlus ? 0x40 : 0x00);
        frames.emplace_back(record.data, record.data + record.count);
      }
      return frames.size() == count;
    });
    return frames;
  }
  Bytes nextUnitFrame() {
    auto frames = unitFrames(1);
    return frames.empty() ? Bytes{} : frames[0];
  }

 private:
  int adapterType_ = kAdapterVexa5;
};

TEST_F(StationUnitsTest, UnitsAnnounceThemselvesAndAnswerQueries) {
  use(kAdapterPlus);
  // Not yet known to the station: each unit asks to be asked.
  send(kPoll);
  EXPECT_EQ(unitFrames(3), (std::vector<Bytes>{q7({0x08, 0x03, 0x0F, 0x14, 0x02, 0x13, 0x00}),
                                               q7({0x10, 0x11, 0x0F, 0x14, 0x02, 0x13, 0x00}),
                                               q7({0x14, 0x20, 0x0F, 0x14, 0x02, 0x13, 0x00})}));
  // The start-up broadcast: each tells who it is.
  send(kStartupBroadcast);
  EXPECT_EQ(unitFrames(3),
            (std::vector<Bytes>{
                q7({0x08, 0x03, 0x0F, 0x14, 0x09, 0x90, 0x00, 0xA1, 0xB2, 0xC3, 0x02, 0x12, 0x34, 0x00}),
                q7({0x10, 0x11, 0x0F, 0x14, 0x09, 0x90, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x42, 0x00}),
                q7({0x14, 0x20, 0x0F, 0x14, 0x0B, 0x90, 0x01, 0x02, 0x03, 0x04, 0x00, 0x00, 0x09, 0x00, 0x10, 0x00})}));
  // Known now: the poll gets no answer, and a query with a broken check
  // byte is ignored, so the next frame is the answer to the good query.
  send(kPoll);
  Bytes broken = kQuery17;
  broken.back() ^= 1;
  send(broken);
  send(kQuery17);
  EXPECT_EQ(nextUnitFrame(), q7({0x10, 0x11, 0x0F, 0x14, 0x0E, 0x80, 0x00, 0x01, 0x00, 0x13, 0x00, 0x00, 0x00,
                                 0x18, 0x85, 0x00, 0x00, 0x00, 0x00}));
  // A detail query is answered with the unit's own data for it.
  send(q7({0xBD, 0x0F, 0x20, 0x14, 0x06, 0x50, 0xD0, 0x00, 0xFF, 0x00, 0x00}));
  EXPECT_EQ(nextUnitFrame(), q7({0x14, 0x20, 0x0F, 0x14, 0x04, 0xD0, 0x01, 0x02, 0x03}));
}

TEST_F(StationUnitsTest, CentralCommandsApplyTheirMarkedPartsAndTheNewStatusComesBack) {
  use(kAdapterPlus);
  // Run, mode 3 and 22.5 degrees.
  send(centralCommand(0x11, {{6, 0x03}, {7, 0x13}, {11, 22}, {12, 0x85}}));
  EXPECT_EQ(nextUnitFrame(), q7({0x10, 0x11, 0x0F, 0x14, 0x0E, 0x80, 0x01, 0x03, 0x00, 0x13, 0x00, 0x00, 0x00,
                                 0x16, 0x85, 0x00, 0x00, 0x00, 0x00}));
  // Stop and -3.5 degrees; the mode, not marked, stays 3.
  send(centralCommand(0x11, {{6, 0x02}, {7, 0x05}, {11, 3}, {12, 0xC5}}));
  EXPECT_EQ(nextUnitFrame(), q7({0x10, 0x11, 0x0F, 0x14, 0x0E, 0x80, 0x00, 0x03, 0x00, 0x13, 0x00, 0x00, 0x00,
                                 0x03, 0xC5, 0x00, 0x00, 0x00, 0x00}));
  // The central state (type A4) is taken silently; the unit query shows
  // that it changed nothing of the operation.
  Bytes state = centralCommand(0x11, {{6, 0x02}, {15, 0xC1}});
  state[0] = 0xA4;
  send(q7(Bytes(state.begin(), state.end() - 1)));
  send(kQuery17);
  EXPECT_EQ(nextUnitFrame(), q7({0x10, 0x11, 0x0F, 0x14, 0x0E, 0x80, 0x00, 0x03, 0x00, 0x13, 0x00, 0x00, 0x00,
                                 0x03, 0xC5, 0x00, 0x00, 0x00, 0x00}));
}

TEST_F(StationUnitsTest, SettingRequestsAndChangesAreAnsweredByTheAddressedUnit) {
  use(kAdapterPlus);
  send(q7({0xFD, 0x0F, 0xFF, 0x08, 0x04, 0xE6, 0x03, 0x07, 0x00}));
  EXPECT_EQ(nextUnitFrame(), q7({0x08, 0x03, 0x0F, 0x08, 0x06, 0xE6, 0x07, 0x2C, 0x01, 0x00, 0x03}));
  send(q7({0xFD, 0x0F, 0xFF, 0x08, 0x05, 0xE8, 0x03, 0x07, 0xE8, 0x03}));
  EXPECT_EQ(nextUnitFrame(), q7({0x08, 0x03, 0x0F, 0x08, 0x06, 0xE8, 0x07, 0xE8, 0x03, 0x00, 0x03}));
  // A request to all: every unit answers, unknown settings read 0.
  send(q7({0xFD, 0x0F, 0xFF, 0x08, 0x04, 0xE6, 0xFF, 0x07, 0x00}));
  EXPECT_EQ(unitFrames(3), (std::vector<Bytes>{q7({0x08, 0x03, 0x0F, 0x08, 0x06, 0xE6, 0x07, 0xE8, 0x03, 0x00, 0x03}),
                                               q7({0x08, 0x11, 0x0F, 0x08, 0x06, 0xE6, 0x07, 0x00, 0x00, 0x00, 0x11}),
                                               q7({0x08, 0x20, 0x0F, 0x08, 0x06, 0xE6, 0x07, 0x00, 0x00, 0x00, 0x20})}));
}

TEST_F(StationUnitsTest, UnitsAnswerBusSendsThroughTheVexa5AdapterToo) {
  use(kAdapterVexa5);
  send(centralCommand(0x11, {{6, 0x03}, {7, 0x12}, {11, 26}, {12, 0x80}}));
  EXPECT_EQ(nextUnitFrame(), q7({0x10, 0x11, 0x0F, 0x14, 0x0E, 0x80, 0x01, 0x02, 0x00, 0x13, 0x00, 0x00, 0x00,
                                 0x1A, 0x80, 0x00, 0x00, 0x00, 0x00}));
  send(q7({0xFD, 0x0F, 0xFF, 0x08, 0x05, 0xE8, 0x03, 0x02, 0x34, 0x12}));
  EXPECT_EQ(nextUnitFrame(), q7({0x08, 0x03, 0x0F, 0x08, 0x06, 0xE8, 0x02, 0x34, 0x12, 0x00, 0x03}));
}

}  // namespace
