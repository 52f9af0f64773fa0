// The Vexa5 adapter's side of the protocol: frames the packets the library
// sends, checks their XOR and ETX, and works out the answers the adapter
// gives, without any I/O or clock (the simulator around it does those).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scenario.h"
#include "sim_bytes.h"

namespace adaptersim {

struct Answer {
  Bytes bytes;
  int delayMs = 0;     // beyond the answer delay: the echo waits for the bus
  bool echo = false;   // the 'E' echo of a bus send
  std::string note;
};

struct ReceivedPacket {
  Bytes bytes;
  bool good = false;
  std::string note;  // what the adapter made of it
};

class Vexa5Adapter {
 public:
  explicit Vexa5Adapter(const Scenario& scenario) : scenario_(scenario) {}

  // Takes one byte from the line. A complete packet (or a stray byte) is
  // added to `packets`, and what the adapter answers to `answers`.
  void feed(uint8_t byte, std::vector<ReceivedPacket>& packets, std::vector<Answer>& answers);

  // Adapter mode: 0 none yet, 1 bus monitoring, 2 parameter mode, 3 one unit.
  int mode() const { return mode_; }
  // Reports this mode in 'Z' answers instead of the real one (-1: real).
  void setReportedMode(int mode) { reportedMode_ = mode; }
  void setSwitches(int switches) { switches_ = switches; }
  // The 'E' packet of a bus frame with the adapter's status byte.
  static Bytes busFramePacket(const Bytes& frame, uint8_t status);

 private:
  int expectedLength() const;
  void complete(std::vector<ReceivedPacket>& packets, std::vector<Answer>& answers);
  void answer(const Bytes& packet, ReceivedPacket& received, std::vector<Answer>& answers);
  Answer statusAnswer() const;
  bool boardAnswer(const Bytes& packet, Answer& out, std::string& note) const;
  int boardKindOf(const Bytes& packet) const;

  const Scenario& scenario_;
  Bytes buffer_;
  int mode_ = 0;
  int reportedMode_ = -1;
  int switches_ = -1;
};

}  // namespace adaptersim
