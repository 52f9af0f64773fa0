// The serial line under the receive fuzz targets: a device that hands the
// library the bytes the fuzzer made, each with its line error flags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "adapter/link_state.h"
#include "adapter/serial_device.h"
#include "adapter/serial_port.h"
#include "base/debug_ring.h"
#include "base/status_words.h"
#include "store/recv_ring.h"

namespace fuzzline {

struct Received {
  uint8_t byte;
  uint32_t flags;
};

inline std::deque<Received>& lineInput() {
  static std::deque<Received> input;
  return input;
}

class FuzzDevice : public tramsoll::SerialDevice {
 public:
  int open(const std::string&) override { return 0; }
  int configure(const tramsoll::LineSettings&) override { return 0; }
  void purge() override {}
  int query(uint32_t& flags, int& queued) override {
    queued = static_cast<int>(lineInput().size());
    flags = queued ? lineInput().front().flags : 0;
    return 0;
  }
  int readByte(uint8_t& byte) override {
    byte = lineInput().front().byte;
    lineInput().pop_front();
    return 0;
  }
  int write(const uint8_t*, int) override { return 0; }
  int close() override { return 0; }
};

// Opens COM1 on the fuzz device for the adapter type, once per process.
inline void openOnce(int adapterType) {
  static bool opened = false;
  if (opened) return;
  tramsoll::setSerialDeviceFactory([] { return std::make_unique<FuzzDevice>(); });
  tramsoll::openPort(1, adapterType);
  opened = true;
}

// Puts data[from..size) on the line; a byte 0xF7 gives the byte after it
// the line error flags of the one after that.
inline void feedLine(const uint8_t* data, size_t from, size_t size) {
  auto& input = lineInput();
  input.clear();
  for (size_t i = from; i < size; ++i) {
    if (data[i] == 0xF7 && i + 2 < size) {
      input.push_back({data[i + 1], data[i + 2] & 0x1Fu});
      i += 2;
      continue;
    }
    input.push_back({data[i], 0});
  }
}

// Empties what one input left behind: the frame ring, the link, the debug
// lines and the error words.
inline void resetAfterInput() {
  tramsoll::BusFrameRecord record;
  while (tramsoll::recvRingTake(record)) {
  }
  tramsoll::clearLinkState();
  tramsoll::debugRing().clear();
  tramsoll::clearErrorWords();
}

}  // namespace fuzzline
