// Feeds arbitrary byte streams through the serial port to the Vexa5 receive
// framer and dispatcher. The input's first bytes pick the one-unit kind and
// the packet in flight, so stored answers of every kind are reached; a byte
// 0xF7 gives the byte after it the line error flags of the one after that.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>

#include "adapter/link_state.h"
#include "adapter/serial_device.h"
#include "adapter/serial_port.h"
#include "adapter/vexa5.h"
#include "engine/frame.h"
#include "store/debug_ring.h"
#include "store/recv_ring.h"

namespace {

struct Received {
  uint8_t byte;
  uint32_t flags;
};

std::deque<Received>& lineInput() {
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

void openOnce() {
  static bool opened = false;
  if (opened) return;
  tramsoll::setSerialDeviceFactory([] { return std::make_unique<FuzzDevice>(); });
  tramsoll::openPort(1, tramsoll::kAdapterVexa5);
  opened = true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  openOnce();
  constexpr size_t kHead = 18;
  if (size < kHead) return 0;
  const uint8_t startBytes[8] = {};
  tramsoll::queueStartCommand(tramsoll::kAdapterVexa5, data[0] & 0x0E, 8 + data[0] % 7, startBytes);
  tramsoll::PacketInFlight& packet = tramsoll::packetInFlight();
  std::memset(packet.bytes, 0, sizeof packet.bytes);
  std::memcpy(packet.bytes, data + 1, kHead - 1);
  packet.length = kHead - 1;

  auto& input = lineInput();
  input.clear();
  for (size_t i = kHead; i < size; ++i) {
    if (data[i] == 0xF7 && i + 2 < size) {
      input.push_back({data[i + 1], data[i + 2] & 0x1Fu});
      i += 2;
      continue;
    }
    input.push_back({data[i], 0});
  }
  while (!input.empty()) {
    packet.code = packet.bytes[1];
    tramsoll::vexa5Dispatch();
  }
  tramsoll::BusFrameRecord record;
  while (tramsoll::recvRingTake(record)) {
  }
  tramsoll::clearLinkState();
  tramsoll::debugRing().clear();
  tramsoll::clearErrorWords();
  return 0;
}
