// The Plus adapter's side of the protocol: binary packets (command code,
// function byte, length byte, data, XOR check byte) for bus monitoring and
// bus sends only. Frames seen on the bus go to the library as 0x80 packets.
#pragma once

#include <cstdint>
#include <vector>

#include "adapter_side.h"
#include "sim_bytes.h"

namespace adaptersim {

class PlusAdapter : public AdapterSide {
 public:
  PlusAdapter() = default;

  void feed(uint8_t byte, std::vector<ReceivedPacket>& packets, std::vector<Answer>& answers) override;
  // 0 stopped, 1 bus monitoring.
  int mode() const override { return mode_; }
  void setReportedMode(int mode) override { reportedMode_ = mode; }
  void setSwitches(int) override {}  // the Plus adapter has no sensor inputs
  Bytes unitFramePacket(const Bytes& frame, uint8_t status) const override;

  // A Plus packet: the bytes and the XOR of all of them.
  static Bytes packet(const Bytes& head);
  // 80 00 n 00 00 frame chk, n counting the two zero bytes and the frame.
  static Bytes busFramePacket(const Bytes& frame);

 private:
  void complete(std::vector<ReceivedPacket>& packets, std::vector<Answer>& answers);
  void answer(const Bytes& packet, ReceivedPacket& received, std::vector<Answer>& answers);

  Bytes buffer_;
  int mode_ = 0;
  int reportedMode_ = -1;
};

}  // namespace adaptersim
