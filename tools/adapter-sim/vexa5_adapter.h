// The Vexa5 adapter's side of the protocol: frames the packets the library
// sends (STX, letter, data, XOR check byte, ETX), checks them and works out
// the adapter's answers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "adapter_side.h"
#include "scenario.h"
#include "sim_bytes.h"

namespace adaptersim {

class Vexa5Adapter : public AdapterSide {
 public:
  explicit Vexa5Adapter(const Scenario& scenario) : scenario_(scenario) {}

  void feed(uint8_t byte, std::vector<ReceivedPacket>& packets, std::vector<Answer>& answers) override;

  // Adapter mode: 0 none yet, 1 bus monitoring, 2 parameter mode, 3 one unit.
  int mode() const override { return mode_; }
  void setReportedMode(int mode) override { reportedMode_ = mode; }
  void setSwitches(int switches) override { switches_ = switches; }
  Bytes unitFramePacket(const Bytes& frame, uint8_t status) const override { return busFramePacket(frame, status); }
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
