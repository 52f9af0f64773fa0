// The control exports: their argument checks, the central command they hand
// the bus engine, the address view they unpack; and central operation end
// to end over the simulated adapter of either type, the test driving the
// timer steps on a manual clock. Also the modes the Plus adapter refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "adapter/link_state.h"
#include "engine/gathering.h"
#include "engine/settings.h"
#include "library/engine/gathering_support.h"
#include "q7/q7_engine.h"
#include "simulator.h"
#include "tramsoll.h"

using namespace tramsoll;
using namespace gathertest;
using namespace std::chrono_literals;

namespace {

struct AddressInfo {
  int32_t result = -1;
  int32_t presence[256];
  int32_t state[256];
  int32_t centralControl = -1;
  int32_t forcedStop = -1;
};

struct AddressStatus {
  int32_t result = -1;
  int32_t mode = -1;
  float setPoint = -1.0f;
  char code[32];
  int32_t pending = -1;
  int32_t run = -1;
};

// Arrays filled with 7 so that untouched entries show.
AddressInfo addressInfo() {
  AddressInfo info;
  std::fill(std::begin(info.presence), std::end(info.presence), 7);
  std::fill(std::begin(info.state), std::end(info.state), 7);
  info.result = getQ7ScAdrInfo(info.presence, info.state, &info.centralControl, &info.forcedStop);
  return info;
}

AddressStatus addressStatus(int32_t address) {
  AddressStatus status;
  std::fill(std::begin(status.code), std::end(status.code), 'x');
  status.result = getQ7ScAdrStatus(address, &status.mode, &status.setPoint, status.code, &status.pending,
                                   &status.run);
  return status;
}

int32_t receiveState(int32_t address, int32_t expectedResult = 0) {
  int32_t state = -1;
  EXPECT_EQ(getAirconReceiveState(address, &state), expectedResult) << address;
  return state;
}

std::vector<Bytes> queuedFrames() {
  std::vector<Bytes> frames;
  uint8_t out[kQ7FrameBytes];
  int32_t length = 0;
  while (busEngine().nextFrame(out, length) == 0) frames.emplace_back(out, out + length);
  return frames;
}

// A unit's frame as the engine gets it: `bytes` from byte 6 on.
Bytes unitFrame(uint8_t sender, uint8_t command, const Bytes& bytes) {
  Bytes f(std::max<std::size_t>(6 + bytes.size(), 26), 0);
  const uint8_t head[] = {0x10, sender, 0x0F, 0x14, static_cast<uint8_t>(bytes.size() + 1), command};
  std::copy(std::begin(head), std::end(head), f.begin());
  std::copy(bytes.begin(), bytes.end(), f.begin() + 6);
  return f;
}

void feed(const Bytes& frame, bool own = false) { busEngine().receiveFrame(frame, own); }

// The engine as a running bus gathering holds it, without a port.
class ControlExports : public GatheringTest {
 protected:
  void SetUp() override {
    GatheringTest::SetUp();
    busEngine().initialise(0);
  }
  static void gathering() { gatherState.store(gather::kRunning | gather::kBusMonitor); }
  // The unit announces itself (kind byte 0x02: no detail queries).
  static void announce(uint8_t address) { feed(unitFrame(address, 0x90, {0, 0, 1, 1, 0, 0x43, 0x02, 0})); }
};

TEST_F(ControlExports, ValuesOutsideTheirRangesAreRefusedAndQueueNothing) {
  int32_t state = -1;
  EXPECT_EQ(getAirconReceiveState(256, &state), 1);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(receiveState(0, 1), 0);
  EXPECT_EQ(receiveState(-1, 1), 0);
  EXPECT_EQ(receiveState(255), 0);

  EXPECT_EQ(setAirconSendData(231, 5, 3, 0, 0), 2);
  EXPECT_EQ(setAirconSendData(230, 0, 3, 0, 0), 1);
  EXPECT_EQ(setAirconSendData(232, 256, 3, 0, 0), 1);
  EXPECT_EQ(setAirconSendData(232, 5, 256, 0, 0), 3) << "would change setting 0";
  EXPECT_EQ(setAirconSendData(232, 5, -1, 0, 0), 3);
  EXPECT_EQ(setAirconSendData(232, 5, 3, 65536, 0), 3) << "would write 0";
  EXPECT_EQ(setAirconSendData(230, 5, 3, -1, 0), 3);
  // A command with a wrong address would reach the unit of its low byte.
  announce(44);
  EXPECT_EQ(setQ7ScAdrCommand(300, 1, 2, 24.0f), 0);
  EXPECT_EQ(setQ7ScAdrCommand(-212, 1, 2, 24.0f), 0);
  // A unit that never answered is refused by the engine, silently.
  EXPECT_EQ(setQ7ScAdrCommand(45, 1, 2, 24.0f), 0);
  EXPECT_TRUE(queuedFrames().empty());

  // Queued also while not gathering; the broadcast request to all units too.
  EXPECT_EQ(setAirconSendData(230, 255, 0, 0, 0), 0);
  EXPECT_EQ(setAirconSendData(232, 5, 255, 65535, 0), 0);
  std::vector<Bytes> frames = queuedFrames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0][6], 0xFF);
  EXPECT_EQ(Bytes(frames[1].begin() + 5, frames[1].begin() + 10), (Bytes{0xE8, 0x05, 0xFF, 0xFF, 0xFF}));
}

TEST_F(ControlExports, CommandPartsOutsideTheirRangesStayUnchanged) {
  announce(5);
  auto commandFrame = [](int32_t runStop, int32_t mode, float setPoint) {
    EXPECT_EQ(setQ7ScAdrCommand(5, runStop, mode, setPoint), 0);
    std::vector<Bytes> frames = queuedFrames();
    EXPECT_EQ(frames.size(), 1u);
    return frames.empty() ? Bytes(26, 0) : frames[0];
  };

  Bytes none = commandFrame(256, 16, 256.0f);
  ASSERT_EQ(none.size(), 26u);
  EXPECT_EQ(Bytes(none.begin(), none.begin() + 6), (Bytes{0xA5, 0x0F, 0x05, 0x14, 0x14, 0x40}));
  EXPECT_EQ(Bytes(none.begin() + 6, none.begin() + 25), Bytes(19, 0)) << "no part given";

  Bytes all = commandFrame(1, 3, 22.5f);
  EXPECT_EQ(all[6], 3);
  EXPECT_EQ(all[7], 0x13);
  EXPECT_EQ(all[11], 22);
  EXPECT_EQ(all[12], 0x85);
  EXPECT_EQ(commandFrame(0, -1, NAN)[6], 2) << "stop";

  Bytes top = commandFrame(256, 0, 128.0f);
  EXPECT_EQ(top[7], 0x10) << "mode 0 is a mode";
  EXPECT_EQ(top[11], 128);
  EXPECT_EQ(top[12], 0x80);
  Bytes bottom = commandFrame(256, 256, -128.0f);
  EXPECT_EQ(bottom[11], 128);
  EXPECT_EQ(bottom[12], 0xC0);
  Bytes over = commandFrame(2, 256, 128.5f);
  EXPECT_EQ(Bytes(over.begin() + 6, over.begin() + 25), Bytes(19, 0)) << "run/stop 2, 128.5";
}

TEST_F(ControlExports, AddressViewShowsPresenceRunStateAndTheStationFlags) {
  AddressInfo info = addressInfo();
  EXPECT_EQ(info.result, 1);
  EXPECT_EQ(info.presence[0], 7) << "arrays untouched when not gathering";
  EXPECT_EQ(info.centralControl, 0);
  EXPECT_EQ(info.forcedStop, 0);
  AddressStatus status = addressStatus(17);
  EXPECT_EQ(status.result, 1);
  EXPECT_EQ(status.mode, 0);
  EXPECT_EQ(status.setPoint, 0.0f);
  EXPECT_EQ(status.run, 0);
  EXPECT_EQ(status.code[0], 'x') << "buffer untouched when not gathering";

  gathering();
  announce(17);
  announce(18);
  // Unit 17 runs in mode 3 at 24.5 with error A3; unit 18 runs in mode 2.
  feed(unitFrame(17, 0x80, {0x01, 0x03, 0x00, 0x13, 0x00, 0x00, 0x00, 24, 0x85, 0, 0, 0, 0}));
  feed(unitFrame(18, 0x80, {0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 21, 0xC0, 0, 0, 0, 0}));
  info = addressInfo();
  EXPECT_EQ(info.result, 0);
  EXPECT_EQ(info.presence[17], 1);
  EXPECT_EQ(info.state[17], 3) << "running with the mode bit";
  EXPECT_EQ(info.presence[18], 1);
  EXPECT_EQ(info.state[18], 1);
  EXPECT_EQ(info.presence[0], 0);
  EXPECT_EQ(info.state[0], 0);
  status = addressStatus(17);
  EXPECT_EQ(status.result, 0);
  EXPECT_EQ(status.mode, 3);
  EXPECT_EQ(status.setPoint, 24.5f);
  EXPECT_EQ(std::string(status.code, 3), std::string("A3\0", 3));
  EXPECT_EQ(status.code[31], 0) << "the whole buffer is cleared";
  EXPECT_EQ(status.run, 1);
  EXPECT_EQ(status.pending, 0);
  EXPECT_EQ(addressStatus(18).setPoint, -21.0f);
  // A unit that answered the poll but sent no status yet is not "stopped at 0".
  announce(19);
  EXPECT_EQ(addressInfo().presence[19], 1);
  EXPECT_EQ(addressInfo().state[19], 2);
  EXPECT_EQ(addressStatus(19).result, 2);

  // Our own command seen back: pending until the unit answers.
  Bytes command = unitFrame(0x0F, 0x40, {0x02});
  command[0] = 0xA5;
  command[2] = 17;
  feed(command, true);
  EXPECT_EQ(addressInfo().presence[17], 3);
  EXPECT_EQ(addressStatus(17).pending, 1);

  // A station of a lower class rules; another one stops every unit.
  Bytes station = unitFrame(4, 0x18, {0xFF, 0x00, 0x7E});
  feed(station);
  info = addressInfo();
  EXPECT_EQ(info.centralControl, 1);
  EXPECT_EQ(info.forcedStop, 0);
  station = unitFrame(4, 0x58, {0x01});
  feed(station);
  EXPECT_EQ(addressInfo().forcedStop, 1);

  for (int32_t address : {256, -1}) {
    status = addressStatus(address);
    EXPECT_EQ(status.result, 1) << address;
    EXPECT_EQ(status.mode, 0);
    EXPECT_EQ(status.run, 0);
    EXPECT_EQ(status.code[0], 0);
  }
  EXPECT_EQ(addressStatus(255).result, 2) << "an address without status";
}

// ---- Over the simulated adapter ----

// One indoor unit that stands, in mode 1 at 22.0, with control parameter 7
// at 300.
std::string installation(const char* adapter) {
  return std::string("adapter type ") + adapter +
         "\n"
         "unit indoor 17 rom 00000101 model 4302 zubrel 0 run 0 mode 1 setpoint 22.0\n"
         "setting 7 300\n";
}

bool isBusSend(const adaptersim::LogEntry& packet) {
  return packet.bytes.size() > 8 && (packet.bytes[1] == 'F' || packet.bytes[0] == 0x24);
}

// The frame inside a bus-send packet of either adapter.
Bytes sentFrame(const adaptersim::LogEntry& packet) {
  std::size_t start = packet.bytes[0] == 0x24 ? 3 : 2;
  std::size_t trail = packet.bytes[0] == 0x24 ? 1 : 2;
  return Bytes(packet.bytes.begin() + static_cast<std::ptrdiff_t>(start),
               packet.bytes.end() - static_cast<std::ptrdiff_t>(trail));
}

class CentralOperationTest : public SimulatedGatheringTest {
 protected:
  void useAdapter(const char* adapter) {
    plus = std::string(adapter) == "plus";
    adapterType.store(plus ? 1 : 0);
    startSimulator(installation(adapter));
  }
  int32_t startBus() { return initDataGather(1, 1, 3, 2, 0, " ", 5); }
  // The engine's start-up: the unit announces itself while the engine
  // listens, and gives its status once listening has ended.
  void busStarted() {
    ASSERT_TRUE(stepUntil([] { return addressInfo().presence[17] == 1; }));
    clock.advance(10s);
    ASSERT_TRUE(stepUntil([] { return addressStatus(17).mode == 1; }));
    AddressStatus status = addressStatus(17);
    EXPECT_EQ(status.setPoint, 22.0f);
    EXPECT_EQ(status.run, 0);
    EXPECT_EQ(addressInfo().state[17], 0);
  }
  std::vector<adaptersim::LogEntry> busSends() {
    std::vector<adaptersim::LogEntry> sends;
    for (const adaptersim::LogEntry& packet : simulator->received()) {
      if (isBusSend(packet)) sends.push_back(packet);
    }
    return sends;
  }
  int adapterNotes(const std::string& note) {
    int n = 0;
    for (const adaptersim::LogEntry& e : simulator->log()) {
      if (e.direction == '>' && e.good && e.note == note) ++n;
    }
    return n;
  }
  int sendsOf(uint8_t type, uint8_t command) {
    auto sends = busSends();
    return static_cast<int>(std::count_if(sends.begin(), sends.end(), [&](const adaptersim::LogEntry& p) {
      Bytes frame = sentFrame(p);
      return frame[0] == type && frame[5] == command;
    }));
  }

  bool plus = false;
};

class CentralOperation : public CentralOperationTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    CentralOperationTest::SetUp();
    useAdapter(GetParam());
  }
};

class Vexa5CentralOperation : public CentralOperationTest {
 protected:
  void SetUp() override {
    CentralOperationTest::SetUp();
    useAdapter("vexa5");
  }
};

TEST_P(CentralOperation, CommandsAndSettingChangesReachTheUnitAndItsAnswersShow) {
  setCentralOperation(1);
  ASSERT_EQ(startBus(), 0);
  busStarted();

  EXPECT_EQ(setQ7ScAdrCommand(17, 1, 2, 24.5f), 0);
  ASSERT_TRUE(stepUntil([] {
    AddressStatus s = addressStatus(17);
    return s.run == 1 && s.mode == 2 && s.setPoint == 24.5f;
  }));
  EXPECT_EQ(addressStatus(17).pending, 0) << "the unit's status ends the command";
  AddressInfo info = addressInfo();
  EXPECT_EQ(info.presence[17], 1);
  EXPECT_EQ(info.state[17], 1);
  EXPECT_EQ(info.presence[255], 0) << "the status broadcast's echo marks nobody";
  EXPECT_EQ(sendsOf(0xA5, 0x40), 1);

  EXPECT_EQ(receiveState(17), 0);
  EXPECT_EQ(setAirconSendData(232, 17, 7, 450, 0), 0);
  ASSERT_TRUE(stepUntil([] { return receiveState(17) == 1; }));
  EXPECT_EQ(adapterNotes("setting changed 7 of unit 17"), 1);
  EXPECT_EQ(sendsOf(0xFD, 0xE8), 1);

  // Every bus send was taken at once: answered (and echoed by the Vexa5
  // adapter), never sent twice.
  ASSERT_TRUE(settle());
  int sends = static_cast<int>(busSends().size());
  EXPECT_GE(sends, 5) << "poll, two broadcasts, command, setting change";
  EXPECT_EQ(adapterNotes(plus ? "bus send done" : "bus send accepted"), sends);
  EXPECT_EQ(adapterNotes("echo"), plus ? 0 : sends);
  for (const std::string& line : drainDebugLines()) {
    EXPECT_EQ(line.find("Timeout"), std::string::npos) << line;
    EXPECT_EQ(line.find("retry"), std::string::npos) << line;
  }

  // A new start forgets every unit and every setting answer, also without
  // central operation.
  EXPECT_EQ(stopGathering(), 0);
  setCentralOperation(0);
  ASSERT_EQ(startBus(), 0);
  EXPECT_EQ(receiveState(17), 0);
  EXPECT_EQ(addressInfo().presence[17], 0);
  EXPECT_EQ(addressStatus(17).setPoint, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(BothAdapters, CentralOperation, ::testing::Values("vexa5", "plus"));

TEST_F(Vexa5CentralOperation, MissingEchoEndsTheSendWithAStatusPoll) {
  setCentralOperation(1);
  ASSERT_EQ(startBus(), 0);
  busStarted();
  ASSERT_TRUE(settle());
  drainDebugLines();

  simulator->withholdEchoes(1);
  EXPECT_EQ(setQ7ScAdrCommand(17, 1, 256, 256.0f), 0);
  ASSERT_TRUE(stepUntil([] { return packetInFlight().code == 'F' && packetInFlight().requestAccepted; }));
  clock.advance(499ms);
  runOneStep(clock);
  EXPECT_EQ(packetInFlight().code, 'F') << "waits half a second for the echo";
  clock.advance(1ms);
  runOneStep(clock);
  EXPECT_EQ(packetInFlight().code, 'Z');
  EXPECT_EQ(drainDebugLines(), std::vector<std::string>{"AdpComm : Q7 Echo Timeout at E-cmd (40)"});
  ASSERT_TRUE(settle());
  std::vector<adaptersim::LogEntry> packets = simulator->received();
  ASSERT_GE(packets.size(), 2u);
  EXPECT_EQ(sentFrame(packets[packets.size() - 2])[0], 0xA5);
  EXPECT_EQ(packets.back().bytes, (Bytes{0x02, 'Z', 'X', 0x03}));
  EXPECT_EQ(sendsOf(0xA5, 0x40), 1) << "not sent again";
  // The unit heard the command all the same.
  EXPECT_TRUE(stepUntil([] { return addressStatus(17).run == 1; }));
}

class PlusAdapterModes : public SimulatedGatheringTest {
 protected:
  void SetUp() override {
    SimulatedGatheringTest::SetUp();
    adapterType.store(1);
    startSimulator(installation("plus"));
  }
};

TEST_F(PlusAdapterModes, OnlyBusMonitoringStartsAndTheLoggerCannotJoin) {
  struct Case {
    int32_t mode;
    const char* target;
  };
  // Known targets: only the adapter refuses them.
  for (Case c : {Case{1, " "}, Case{3, " "}, Case{4, "PARVO-710"}, Case{8, "BORIN-8"}, Case{5, "PARVO-710"},
                 Case{16, " "}}) {
    EXPECT_EQ(initDataGather(1, 1, 3, c.mode, 0, c.target, 5), 2) << c.mode;
    EXPECT_EQ(gatherState.load(), 0u) << c.mode;
  }
  EXPECT_TRUE(simulator->received().empty()) << "the port was never opened";

  ASSERT_EQ(initDataGather(1, 1, 3, 2, 0, " ", 5), 0);
  EXPECT_EQ(changeDataGather(3), 2);
  EXPECT_EQ(gatherState.load() & gather::kLogger, 0u);
  EXPECT_EQ(changeDataGather(2), 0);
}

}  // namespace
