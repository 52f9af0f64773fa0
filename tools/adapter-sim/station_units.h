// How the scenario's units answer the central station (the library, bus
// address 15) when it sends a frame on the bus, whichever adapter carries
// it. Every frame is: type, sender, receiver (FF for all), two header
// bytes, command, data, and a check byte that makes the bytes after the
// first add up to 0. What the units do, by the station's command:
//
// - 18, the station's poll: a unit the station has not yet asked who it is
//   asks to be asked, with its 13.
// - 50 90 (to all at start-up, or to one unit as the reply to its 13): the
//   unit tells who it is with its 90 (its identity bytes).
// - 50 80 (to all every 300 s, or to one unit as the unit query): the unit
//   sends its status, 80.
// - 50 D0, D1, D2, DA, DB (detail queries): the unit answers with that
//   command and the data of its scenario frame of that command (16 zero
//   bytes without one).
// - 40 in a frame of type A5 (central command): the unit applies each part
//   that carries its mark (run/stop in byte 6, mode in byte 7, set point in
//   bytes 11-12, the control byte 15) and sends its new status, 80. In a
//   frame of type A4 (central state) it takes only the control byte and
//   does not answer.
// - E6 a n v (setting request) and E8 a n vl vh (setting change), a being
//   the unit's address or FF for all: the unit answers in a frame of type
//   08 with the same command, n, the value (low byte first; after a change
//   the new one), 0 and its own address.
//
// The status 80 carries, from byte 6: run state (bit 0 running), mode,
// 0, error code, error flag, status 0, 0, set point whole degrees, tenths
// digit | 80 (| 40 below zero), and four zero bytes: 20 bytes in all.
// Frames with a wrong check byte are ignored; other commands get no answer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scenario.h"
#include "sim_bytes.h"

namespace adaptersim {

constexpr uint8_t kStationAddress = 0x0F;

struct UnitAnswer {
  Bytes frame;
  std::string note;
};

class StationUnits {
 public:
  explicit StationUnits(const std::vector<ScenarioUnit>& units);

  // The frames the units send in answer to one frame the station sent, in
  // the order of the scenario's units.
  std::vector<UnitAnswer> hear(const Bytes& frame);

 private:
  struct State {
    ScenarioUnit unit;  // its identity and its operation as it is now
    uint8_t control = 0;
    bool announced = false;  // has sent its 90
  };

  static void answerQuery(State& state, uint8_t query, std::vector<UnitAnswer>& out);
  static void applyCommand(State& state, const Bytes& frame);
  static void answerSetting(State& state, const Bytes& frame, std::vector<UnitAnswer>& out);

  std::vector<State> states_;
};

}  // namespace adaptersim
