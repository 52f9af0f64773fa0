// The installation the simulated adapter stands for: its own settings, the
// units on the bus with the frames they send, and the unit-board data it
// answers with. Read from a small text file (see docs/building-and-testing.md, "Adapter simulator").
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <string>
#include <vector>

#include "sim_bytes.h"

namespace adaptersim {

enum class UnitClass { Outdoor, Indoor, Central };
enum class AdapterType { Vexa5, Plus };

// "vexa5" or "plus"; false for any other word.
bool parseAdapterType(const std::string& word, AdapterType& out);

struct ScenarioFrame {
  uint8_t command = 0;
  int everyMs = 5000;
  int afterMs = -1;  // first frame after this long in bus mode; -1: everyMs
  uint8_t receiver = 0xFF;
  uint8_t head = 0x14;
  uint8_t status = 0x00;  // the adapter's status byte of the 'E' packet
  int type = -1;          // frame byte 0; -1: the unit's
  bool hasData = false;
  Bytes data;  // frame bytes 6 on; without them the unit's identity bytes
};

struct ScenarioUnit {
  UnitClass unitClass = UnitClass::Outdoor;
  uint8_t address = 0;
  uint32_t rom = 0;
  uint16_t model = 0;
  uint8_t zubrel = 0;
  uint8_t centralKind = 0;
  int type = -1;  // frame byte 0; -1: by class (0x08, 0x10, 0x14)
  // The unit sends nothing from pauseAfterMs (counted from the start of bus
  // mode) for pauseForMs, then goes on; -1: never pauses.
  int pauseAfterMs = -1;
  int pauseForMs = 0;
  std::vector<ScenarioFrame> frames;
  // The unit's operation as it starts; central commands change it.
  bool running = false;
  int mode = 0;              // 0..15
  int setPointTenths = 220;  // 22.0 degrees
  uint8_t errorCode = 0;
  uint8_t errorFlag = 0;
  std::map<int, uint16_t> settings;  // control parameters by setting number
};

struct Scenario {
  AdapterType adapterType = AdapterType::Vexa5;
  int unitDelayMs = 10;  // from a frame on the bus to the units' answers
  int switches = 0;  // sensor switches: bit 0 switch 1, bit 1 switch 2
  int value = 0;     // status value of the 'Z' answer
  uint8_t echoStatus = 0x0E;
  int echoDelayMs = 5;
  int boardKind = 0;  // unit kind of the board connection, 0: told by the requests
  std::vector<ScenarioUnit> units;
  std::map<std::string, Bytes> params;  // parameter blocks by key ("B-01")
  std::map<std::string, Bytes> board;   // board answers by block name
  Bytes logger;                         // sensor-input answer data
  std::vector<std::string> faults;      // fault commands applied at start
};

// Reads a scenario; on a bad line answers false with "line N: reason".
bool parseScenario(std::istream& in, Scenario& out, std::string& error);
bool loadScenario(const std::string& path, Scenario& out, std::string& error);

// Frame byte 0 and the identity bytes (frame bytes 6 on) of a unit.
uint8_t frameType(const ScenarioUnit& unit);
Bytes identityBytes(const ScenarioUnit& unit);

// True while the unit is pausing, `sinceBusStartMs` after bus mode began.
bool unitPaused(const ScenarioUnit& unit, long long sinceBusStartMs);

// A whole bus frame of a unit: type, sender, receiver, head, length, command,
// data and the check byte that makes bytes 1 onwards add up to 0.
Bytes busFrame(const ScenarioUnit& unit, const ScenarioFrame& frame);

}  // namespace adaptersim
