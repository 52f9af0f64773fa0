// Gathering with its worker thread over the simulated adapter: the results
// of initDataGather, the worker's start and stop lines, restarts that leave
// no thread or descriptor behind, and a bus scan as the map makes it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <future>
#include <regex>
#include <string>
#include <thread>

#include "adapter/serial_port.h"
#include "engine/gathering.h"
#include "engine/settings.h"
#include "library/engine/gathering_support.h"
#include "simulator.h"
#include "tables/setting_tables.h"
#include "tramsoll.h"

using namespace tramsoll;
using namespace gathertest;
using namespace std::chrono_literals;

namespace {

class GatheringThread : public SimulatedGatheringTest {
 protected:
  void SetUp() override {
    SimulatedGatheringTest::SetUp();
    setClock(nullptr);  // the worker reads the system clock; the test never moves it
    setWorkerAutostart(true);
    startSimulator(kSmallInstallation);
  }
  int32_t start(int32_t mode, const char* target = " ", int32_t initialScan = 0) {
    return initDataGather(1, 1, 3, mode, initialScan, target, 5);
  }
  template <class Done>
  static bool waitFor(Done done, std::chrono::milliseconds wait = 10s) {
    auto deadline = std::chrono::steady_clock::now() + wait;
    while (std::chrono::steady_clock::now() < deadline) {
      if (done()) return true;
      std::this_thread::sleep_for(2ms);
    }
    return done();
  }
  // Collects diagnostic lines until one begins with `start`.
  bool waitForLine(const std::string& start, std::vector<std::string>& lines) {
    return waitFor([&] {
      for (std::string& line : drainDebugLines()) lines.push_back(line);
      return hasLineStartingWith(lines, start);
    });
  }
  static std::size_t entriesOf(const char* folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
    return n;
  }
};

TEST_F(GatheringThread, StartResultsAndWhatEachLeavesBehind) {
  ASSERT_EQ(start(2), 0);
  EXPECT_TRUE(workerRunning());
  uint32_t running = gatherState.load();
  EXPECT_EQ(running, gather::kRunning | gather::kStarted | gather::kBusMonitor);
  EXPECT_EQ(start(2), 2) << "already gathering";
  EXPECT_EQ(gatherState.load(), running);
  EXPECT_EQ(stopGathering(), 0);
  EXPECT_FALSE(workerRunning());
  EXPECT_FALSE(portIsOpen());
  EXPECT_EQ(gatherState.load(), 0u);
  const Bytes stopPacket{0x02, 'S', 'P', 0x01, 0x03};
  ASSERT_TRUE(waitFor([&] {
    auto received = simulator->received();
    return !received.empty() && received.back().bytes == stopPacket;
  })) << "the adapter is told to stop";

  setBits(errCall, call::kRecordRead);
  EXPECT_EQ(initDataGather(1, 0, 3, 2, 0, " ", 5), 3);
  EXPECT_EQ(initDataGather(1, 9, 3, 2, 0, " ", 5), 3);
  EXPECT_TRUE(hasBits(errCall, call::kRecordRead)) << "a bad port number changes nothing";

  std::size_t before = simulator->received().size();
  EXPECT_EQ(initDataGather(1, 1, 2, 2, 0, " ", 5), 1);
  EXPECT_FALSE(hasBits(errCall, call::kRecordRead)) << "the error words are reset first";
  EXPECT_EQ(initDataGather(1, 1, 3, 2, 0, " ", 0), 2) << "an interval of 0 is refused";
  EXPECT_EQ(initDataGather(1, 1, 3, 2, 0, " ", -5), 2);
  EXPECT_FALSE(portIsOpen());

  EXPECT_EQ(start(16), 2);
  ASSERT_TRUE(simulator->waitForReceived(before + 1, 10s));
  std::this_thread::sleep_for(20ms);
  auto received = simulator->received();
  ASSERT_EQ(received.size(), before + 1) << "the port was touched only by the bad mode";
  EXPECT_EQ(received.back().bytes, stopPacket) << "only the stop packet";
  EXPECT_FALSE(portIsOpen());
  EXPECT_EQ(gatherState.load(), 0u);

  EXPECT_EQ(start(4, "NO-SUCH-SYSTEM"), 4);
  EXPECT_EQ(start(8, "NO-SUCH-UNIT"), 4);
  SettingModelRow ghost{};
  ghost.rowKind = rowkind::kPara;
  std::strcpy(ghost.modelName, "PARVO-GHOST");
  std::strcpy(ghost.itemFile, "ghost.itm");  // never loaded
  addSettingPara(ghost);
  EXPECT_EQ(start(4, "PARVO-GHOST"), 4) << "a target whose item file is not loaded";
  clearSettingTables();
  EXPECT_EQ(start(1), 4) << "no logger row";
  EXPECT_EQ(setSensorParm(1, 1, "Flow", 0, 5, 0, 0, " "), 2);
  EXPECT_FALSE(portIsOpen());
  EXPECT_FALSE(workerRunning());
  EXPECT_EQ(stopGathering(), 0) << "a stop when not gathering";
}

TEST_F(GatheringThread, WorkerPutsItsStartLineWithTheModeTagsAndItsStopLine) {
  const std::regex dated("Tramsoll: Start Timer Q7 Ini \\d+/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d");
  drainDebugLines();
  std::vector<std::string> lines;
  ASSERT_EQ(start(2, " ", 1), 0);
  ASSERT_TRUE(waitForLine("Tramsoll: Start Timer ", lines));
  bool found = false;
  for (const std::string& line : lines) found = found || std::regex_match(line, dated);
  EXPECT_TRUE(found) << ::testing::PrintToString(lines);
  EXPECT_EQ(stopGathering(), 0);
  lines = drainDebugLines();
  auto stop = std::find_if(lines.begin(), lines.end(),
                           [](const std::string& l) { return l.rfind("Tramsoll: Stop Timer ", 0) == 0; });
  auto close = std::find(lines.begin(), lines.end(), "AdpComm : COM Port close");
  ASSERT_NE(stop, lines.end());
  EXPECT_LT(stop, close) << "the worker is gone before the port closes";

  struct Mode {
    int32_t mode;
    const char* target;
    const char* tags;
  };
  std::string unit = boardModelOf(12);
  for (Mode m : {Mode{4, "PARVO-710", "P "}, Mode{8, unit.c_str(), "SH "}, Mode{3, " ", "LOG "}}) {
    lines.clear();
    ASSERT_EQ(start(m.mode, m.target), 0) << m.tags;
    EXPECT_TRUE(waitForLine(std::string("Tramsoll: Start Timer ") + m.tags, lines)) << ::testing::PrintToString(lines);
    EXPECT_EQ(stopGathering(), 0);
  }
}

TEST_F(GatheringThread, HundredRestartsLeaveNoThreadOrDescriptorBehind) {
  ASSERT_EQ(start(2), 0);
  ASSERT_EQ(stopGathering(), 0);
  drainDebugLines();
  std::size_t descriptors = entriesOf("/proc/self/fd");
  std::size_t threads = entriesOf("/proc/self/task");
  int starts = 0;
  int stops = 0;
  for (int round = 0; round < 100; ++round) {
    ASSERT_EQ(start(2), 0) << round;
    ASSERT_EQ(stopGathering(), 0) << round;
    for (const std::string& line : drainDebugLines()) {
      starts += line.rfind("Tramsoll: Start Timer Q7", 0) == 0;
      stops += line.rfind("Tramsoll: Stop Timer", 0) == 0;
    }
  }
  EXPECT_EQ(starts, 100);
  EXPECT_EQ(stops, 100);
  EXPECT_FALSE(workerRunning());
  // The first count may hold a descriptor that something else of the process
  // (the sanitizer's runtime, the simulator) had open for a moment: a
  // restart that leaves one behind shows as a count above it.
  EXPECT_TRUE(waitFor([&] { return entriesOf("/proc/self/fd") <= descriptors; }, 2s))
      << entriesOf("/proc/self/fd") << " descriptors, " << descriptors << " before the restarts";
  EXPECT_TRUE(waitFor([&] { return entriesOf("/proc/self/task") == threads; }, 2s));
}

TEST_F(GatheringThread, MapScanFindsTheInstallationAndCentralControlTalks) {
  setCentralOperation(1);
  ASSERT_EQ(start(2), 0);
  int32_t state[256], rows[256], alarm[256], value[256], key[256];
  auto stateOf = [&](int32_t unitClass, int address) {
    getQ7AuAdrStatus(unitClass, state, rows, alarm, value, key);
    return state[address];
  };
  ASSERT_TRUE(waitFor([&] {
    return stateOf(0, 1) == 3 && stateOf(1, 17) == 3 && stateOf(1, 18) == 3 && stateOf(100, 32) == 3 &&
           stateOf(0, 2) == 2 && stateOf(0, 5) == 1;
  }));
  char name[64];
  int32_t length = 0;
  ASSERT_EQ(getQ7AuAdrInfo(1, 18, 1, name, &length), 0);
  EXPECT_STREQ(name, "VELUN-28");
  // The bus engine's frames go out as bus sends and come back as echoes.
  EXPECT_TRUE(waitFor([&] {
    for (const auto& packet : simulator->received()) {
      if (packet.bytes.size() > 2 && packet.bytes[1] == 'F') return true;
    }
    return false;
  }));
  int32_t saving = -1, trigger = -1;
  EXPECT_EQ(execTramsoll(&saving, &trigger), 0);
  EXPECT_EQ(stopGathering(), 0);
  EXPECT_EQ(execTramsoll(&saving, &trigger), 1);
}

// Two threads stopping at once once left one of them waiting forever (both
// joined the one worker). The second stop must wait for the first and then
// stop a stopped library: its port close finds no port.
TEST_F(GatheringThread, TwoConcurrentStopsBothReturnAndTheSecondFindsGatheringStopped) {
  for (int round = 0; round < 20; ++round) {
    ASSERT_EQ(start(2), 0) << round;
    drainDebugLines();
    clearErrorWords();
    auto first = std::async(std::launch::async, [this] { return stopGathering(); });
    auto second = std::async(std::launch::async, [this] { return stopGathering(); });
    EXPECT_EQ(first.get(), 0) << round;
    EXPECT_EQ(second.get(), 0) << round;
    EXPECT_FALSE(workerRunning()) << round;
    EXPECT_FALSE(portIsOpen()) << round;
    EXPECT_TRUE(hasBits(errCall, call::kCloseNotOpen)) << round << ": the later stop found the port closed";
    int stopLines = 0;
    for (const std::string& line : drainDebugLines()) stopLines += line.rfind("Tramsoll: Stop Timer", 0) == 0;
    EXPECT_EQ(stopLines, 1) << round;
  }
}

}  // namespace
