// Shared pieces of the gathering tests: a small model set put straight into
// the setting and model tables (the bus models, the logger, one system and
// one board model per unit kind 8..14), bus-frame records as units send
// them, and fixtures that run gathering over a fake line or the simulator
// with the test driving the timer steps on a manual clock.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "library/support/library_test.h"
#include "library/support/program_folder.h"
#include "store/recv_ring.h"
#include "tables/model_tables.h"

namespace adaptersim {
class Simulator;
}

namespace gathertest {

using Bytes = std::vector<uint8_t>;

// ---- Model set ----

// Model numbers and identities that the model set recognises.
constexpr uint16_t kTalmaNumber = 0xA005;     // "DO" TALMA-224
constexpr uint16_t kTalmaKNumber = 0xA015;    // "DOK" TALMA-280K and -280KB
constexpr uint16_t kVelunNumber = 0x4302;     // "DI" VELUN-28
constexpr uint16_t kVelunZNumber = 0x4085;    // "DIZ" VELUN-36Z
constexpr uint16_t kCordaNumber = 0x7231;     // "DC" CORDA-CX1 (with kind 0xE1)
constexpr uint8_t kCordaKind = 0xE1;
constexpr uint16_t kUnknownNumber = 0x1234;   // no model row matches

// Block name of the board model of one-unit kind 8..14 and the index of the
// board's byte k within it (kind 13 answers carry an ACK before the data).
const char* boardBlockOf(int kind);
int boardIndexOf(int kind, int k);
// Model name of the 'S' row of kind 8..14 ("BORIN-8" ...).
std::string boardModelOf(int kind);

// Empties the setting and model tables and fills them with the model set.
void loadModelSet();

// The item of a loaded item file's group (type, number) by name.
tramsoll::ItemRecord itemOf(const char* itemFile, int unitType, int groupNumber, const char* name);

// ---- Bus frames ----

// A frame as a unit sends it: type byte, sender, receiver 0xFF, head 0x14,
// length byte, command, data from byte 6, check byte.
Bytes busFrame(uint8_t type, uint8_t sender, uint8_t command, const Bytes& data);
// Data bytes 6 on of outdoor and indoor frames: ROM number (6-9), key byte
// (10), model number (11-12), then `more`.
Bytes unitData(uint32_t rom, uint8_t key, uint16_t number, const Bytes& more = {});
tramsoll::BusFrameRecord record(const Bytes& frame, int32_t time = 0, uint8_t status = 0);

// A small installation for the model set, every frame every 20 ms: outdoor
// unit 1 (TALMA-224) with indoor units 17 and 18 on its ROM, central unit
// 32, a second system whose outdoor unit 2 is of a model family (TALMA-280K
// rows), outdoor unit 5 of a model no row knows; the board data of the
// one-system model and of every board kind; the logger with its switches.
extern const char kSmallInstallation[];

// ---- Fixtures ----

// Model set loaded, unit tables empty, a manual clock installed (its time a
// whole multiple of 5 s), the worker left out so the test runs the steps.
class GatheringTest : public testsupport::LibraryTest {
 protected:
  void SetUp() override;
  // initDataGather(0, ...).
  int32_t stopGathering();

  tramsoll::ManualClock clock{1700000000};
};

// The same over the simulated adapter on a pseudo-terminal as COM1.
class SimulatedGatheringTest : public GatheringTest {
 protected:
  void TearDown() override;
  void startSimulator(const std::string& scenario);
  // Runs timer steps at the clock's time until `done` holds or the real
  // wait (generous, for sanitizer builds) runs out.
  template <class Done>
  bool stepUntil(Done done, std::chrono::milliseconds wait = std::chrono::seconds(10));
  // Moves the clock to the next gather slot (5 s) and runs one step.
  void nextSlot();
  // Runs steps until the adapter has answered every queued packet.
  bool settle();
  // Takes gather slots, letting the adapter answer between them, until
  // `done` holds after one (at most `slots`).
  template <class Done>
  bool slotsUntil(Done done, int slots = 6);

  std::unique_ptr<adaptersim::Simulator> simulator;
};

// The sample model set, loaded by initTramsoll with the testdata folder as
// the current folder (the previous one is current again afterwards), over
// the simulated adapter.
class SampleInstallationTest : public SimulatedGatheringTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Starts the simulator with the sample installation's scenario.
  void startSampleInstallation();

  std::filesystem::path previousFolder;
};

void runOneStep(tramsoll::ManualClock& clock);
void pauseBriefly();

template <class Done>
bool SimulatedGatheringTest::stepUntil(Done done, std::chrono::milliseconds wait) {
  auto deadline = std::chrono::steady_clock::now() + wait;
  while (std::chrono::steady_clock::now() < deadline) {
    runOneStep(clock);
    if (done()) return true;
    pauseBriefly();
  }
  return false;
}

template <class Done>
bool SimulatedGatheringTest::slotsUntil(Done done, int slots) {
  for (int i = 0; i < slots; ++i) {
    nextSlot();
    if (!settle()) return false;
    if (done()) return true;
  }
  return false;
}

using testsupport::drainDebugLines;
bool hasLineStartingWith(const std::vector<std::string>& lines, const std::string& start);

}  // namespace gathertest
