// The adapter's side of the serial line, for either adapter type: it frames
// the packets the library sends, works out the adapter's answers, and wraps
// the frames seen on the bus into the adapter's packets. No I/O and no
// clock: the simulator around it does those.
#pragma once

#include <cstdint>
#include <memory>
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
  bool unitFrame = false;  // a unit's frame on the bus, not an adapter answer
};

struct ReceivedPacket {
  Bytes bytes;
  bool good = false;
  std::string note;  // what the adapter made of it
  Bytes busFrame{};  // the frame a bus send put on the bus, if any
};

class AdapterSide {
 public:
  virtual ~AdapterSide() = default;
  // Takes one byte from the line. A complete packet (or a stray byte) is
  // added to `packets`, and what the adapter answers to `answers`.
  virtual void feed(uint8_t byte, std::vector<ReceivedPacket>& packets, std::vector<Answer>& answers) = 0;
  // The adapter's mode; 1 is bus monitoring, in which the units' frames flow
  // and bus sends are taken.
  virtual int mode() const = 0;
  // Reports this mode in status answers instead of the real one (-1: real).
  virtual void setReportedMode(int mode) = 0;
  // Sensor switch bits of the status answer, where the adapter has them.
  virtual void setSwitches(int switches) = 0;
  // The packet that hands a frame seen on the bus to the library, with the
  // adapter's status byte where its packets carry one.
  virtual Bytes unitFramePacket(const Bytes& frame, uint8_t status) const = 0;
};

std::unique_ptr<AdapterSide> makeAdapterSide(const Scenario& scenario);

}  // namespace adaptersim
