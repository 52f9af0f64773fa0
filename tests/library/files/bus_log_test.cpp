#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "adapter/adapter_status.h"
#include "adapter/consumers.h"
#include "adapter/serial_port.h"
#include "base/clock.h"
#include "base/debug_ring.h"
#include "base/status_words.h"
#include "dump.h"
#include "files/bus_log.h"
#include "library/support/file_size_limit.h"
#include "library/support/library_test.h"
#include "library/support/program_folder.h"
#include "tables/scrambled.h"
#include "tramsoll.h"

using namespace tramsoll;
namespace fs = std::filesystem;

namespace {

constexpr std::time_t kStart = 1700000000;

class BusLogTest : public testsupport::LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    setClock(&clock);
    fs::create_directory("q7data");
  }

  static dasdump::BusLog readLog(const std::string& path) {
    dasdump::BusLog log;
    std::string error;
    EXPECT_TRUE(dasdump::readBusLog(path, log, error)) << path << ": " << error;
    return log;
  }

  testsupport::ProgramFolder folder;
  ManualClock clock{kStart};
};

TEST_F(BusLogTest, EventsAreScrambledHeadsWithSixteenByteDataLines) {
  installAdapterStatusSink();
  adapterStatusSink().keepAdapterStatus(1, 0, 0x31);  // as the 'Z' answer leaves it
  ASSERT_TRUE(startBusLog("q7data\\q7-net", kStart, "1.53A"));
  EXPECT_EQ(busLogFileName(), "q7data/q7-net.dl2");
  EXPECT_EQ(fs::file_size("q7data/q7-net.dl2"), 64u);

  std::vector<uint8_t> packet(16);
  for (int i = 0; i < 16; ++i) packet[size_t(i)] = uint8_t(0x40 + i);
  appendBusLogEvent('R', kStart + 1, 250, 7, packet.data(), 16);
  EXPECT_EQ(fs::file_size("q7data/q7-net.dl2"), 64u + 48u);
  appendBusLogEvent('S', kStart + 2, 0, 0, nullptr, 0);
  EXPECT_EQ(fs::file_size("q7data/q7-net.dl2"), 64u + 48u + 32u);

  std::string stored = folder.readPlain("q7data/q7-net.dl2");
  EXPECT_EQ(uint8_t(stored[0]), scrambleByte('S'));
  EXPECT_EQ(uint8_t(stored[64]), scrambleByte('h'));
  EXPECT_EQ(uint8_t(stored[64 + 16]), scrambleByte('d'));

  dasdump::BusLog log = readLog("q7data/q7-net.dl2");
  EXPECT_EQ(log.header.title, "Service Pelomar VEXA5 Log");
  EXPECT_EQ(log.header.sequence, 0u);
  EXPECT_EQ(log.header.version, "1.53A");
  EXPECT_EQ(log.header.adapterStatus, 0x31u);
  EXPECT_EQ(log.header.startTime, uint32_t(kStart));
  ASSERT_EQ(log.events.size(), 2u);
  EXPECT_EQ(log.events[0].kind, 'R');
  EXPECT_EQ(log.events[0].seconds, uint32_t(kStart + 1));
  EXPECT_EQ(log.events[0].milliseconds, 250);
  EXPECT_EQ(log.events[0].value, 7u);
  EXPECT_EQ(log.events[0].data, packet);
  EXPECT_EQ(log.events[1].length, 0u);
  std::string plain = testsupport::readUnscrambled(folder.pathOf("q7data/q7-net.dl2"));
  EXPECT_EQ(plain.substr(64 + 48 + 16), std::string("d") + std::string(15, '\0'));
}

TEST_F(BusLogTest, RollsOverAboveTheLimitIntoNumberedFiles) {
  ASSERT_TRUE(startBusLog("q7data/q7-net", kStart, "1.53A"));
  std::vector<uint8_t> data(256, 0x5A);
  int events = 0;
  while (!fs::exists("q7data/q7-net-2.dl2")) {
    appendBusLogEvent('R', kStart, 0, 0, data.data(), 256);
    ASSERT_LT(++events, 10000);
  }
  appendBusLogEvent('M', kStart, 0, 0, data.data(), 3);

  // 64 + n x 304 passes 1,024,000 at the 3369th event.
  EXPECT_EQ(fs::file_size("q7data/q7-net.dl2"), 64u + 3369u * 304u);
  EXPECT_EQ(fs::file_size("q7data/q7-net-1.dl2"), 64u + 3369u * 304u);
  for (int n : {1, 2}) {
    dasdump::BusLog log = readLog("q7data/q7-net-" + std::to_string(n) + ".dl2");
    EXPECT_EQ(log.header.title, "Service Pelomar VEXA5 Log");
    EXPECT_EQ(log.header.sequence, uint32_t(n));
  }
  EXPECT_EQ(readLog("q7data/q7-net-2.dl2").events.size(), 1u);
  EXPECT_EQ(errFault.load(), 0u);
}

TEST_F(BusLogTest, FailuresLoseOnlyTheirEventAndTheLogGoesOn) {
  // The log's folder is missing: creation fails and reports.
  EXPECT_FALSE(startBusLog("gone/q7-net", kStart, "1.53A"));
  EXPECT_TRUE(hasBits(errFault, fault::kBusLogOpen));
  std::vector<std::string> lines = testsupport::drainDebugLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "FileHndl: cannot create 'gone/q7-net.dl2' file!!");
  clearErrorWords();
  appendBusLogEvent('M', kStart, 0, 0, reinterpret_cast<const uint8_t*>("lost"), 4);
  EXPECT_TRUE(hasBits(errFault, fault::kBusLogOpen));

  // Once the folder is there the next event starts the file with a header.
  fs::create_directory("gone");
  appendBusLogEvent('M', kStart, 0, 0, reinterpret_cast<const uint8_t*>("kept"), 4);
  dasdump::BusLog log = readLog("gone/q7-net.dl2");
  EXPECT_EQ(log.header.title, "Service Pelomar VEXA5 Log");
  ASSERT_EQ(log.events.size(), 1u);
  EXPECT_EQ(std::string(log.events[0].data.begin(), log.events[0].data.end()), "kept");

  // A roll-over that cannot make its file keeps writing the old one and
  // tries again with the next event.
  fs::create_directory("gone/q7-net-1.dl2");
  std::vector<uint8_t> data(256, 1);
  while (fs::file_size("gone/q7-net.dl2") <= 1024000) appendBusLogEvent('R', kStart, 0, 0, data.data(), 256);
  EXPECT_EQ(busLogSequence(), 0);
  uintmax_t before = fs::file_size("gone/q7-net.dl2");
  appendBusLogEvent('R', kStart, 0, 0, data.data(), 256);
  EXPECT_EQ(fs::file_size("gone/q7-net.dl2"), before + 304);
  fs::remove("gone/q7-net-1.dl2");
  appendBusLogEvent('R', kStart, 0, 0, data.data(), 256);
  EXPECT_EQ(busLogSequence(), 1);
  EXPECT_EQ(readLog("gone/q7-net-1.dl2").header.sequence, 1u);
}

TEST_F(BusLogTest, BusDataRecordingStartsOnlyOnTheBusAndTakesTheLinkTrace) {
  EXPECT_EQ(saveQ7Data(1, "q7data\\q7-net"), 1) << "not gathering on the bus";
  gatherState.store(gather::kRunning | gather::kBusMonitor);
  clock.setSystem(kStart + 60);
  ASSERT_EQ(saveQ7Data(1, "q7data\\q7-net"), 0);
  EXPECT_TRUE(hasBits(gatherState, gather::kBusLog));
  traceMessage("link up");
  dasdump::BusLog log = readLog("q7data/q7-net.dl2");
  EXPECT_EQ(log.header.startTime, uint32_t(kStart + 60));
  ASSERT_EQ(log.events.size(), 1u);
  EXPECT_EQ(log.events[0].kind, 'M');

  // Starting again begins a new log (sequence 0) under the new name.
  ASSERT_EQ(saveQ7Data(1, "q7data\\other"), 0);
  EXPECT_EQ(busLogSequence(), 0);
  EXPECT_TRUE(fs::exists("q7data/other.dl2"));
  EXPECT_EQ(saveQ7Data(0, ""), 0);
  EXPECT_FALSE(hasBits(gatherState, gather::kBusLog));
  traceMessage("not logged");
  EXPECT_EQ(readLog("q7data/other.dl2").events.size(), 0u);
  gatherState.store(0);
  EXPECT_EQ(saveQ7Data(0, nullptr), 0);
  EXPECT_EQ(saveQ7Data(1, "q7data\\gone\\x"), 1);
  gatherState.store(gather::kRunning | gather::kBusMonitor);
  EXPECT_EQ(saveQ7Data(1, "q7data\\gone\\x"), 2);
}

// A short write (full disk, file-size limit) once left its cut event in the
// log, and every event behind it unreadable. The failed event is cut off
// again, so the log goes on whole once there is room.
TEST_F(BusLogTest, AShortWriteLeavesNoTornEventAndTheLogGoesOnWhole) {
  std::vector<uint8_t> packet(16, 0x42);
  for (uint64_t room : {0, 1, 20, 47}) {
    SCOPED_TRACE(room);
    clearErrorWords();
    ASSERT_TRUE(startBusLog("q7data/q7-net", kStart, "1.53A"));
    appendBusLogEvent('R', kStart, 0, 1, packet.data(), 16);
    {
      testsupport::FileSizeLimit limit;
      ASSERT_TRUE(limit.set(64 + 48 + room));
      appendBusLogEvent('R', kStart, 0, 2, packet.data(), 16);
    }
    EXPECT_TRUE(hasBits(errFault, fault::kBusLogClose)) << "the failed write is reported";
    EXPECT_EQ(fs::file_size("q7data/q7-net.dl2"), 64u + 48u) << "cut back to before the failed event";
    appendBusLogEvent('R', kStart, 0, 3, packet.data(), 16);
    appendBusLogEvent('M', kStart, 0, 4, nullptr, 0);
    dasdump::BusLog log = readLog("q7data/q7-net.dl2");
    ASSERT_EQ(log.events.size(), 3u);
    EXPECT_EQ(log.events[0].value, 1u);
    EXPECT_EQ(log.events[1].value, 3u);
    EXPECT_EQ(log.events[1].data, packet);
    EXPECT_EQ(log.events[2].value, 4u);
  }
}

}  // namespace
