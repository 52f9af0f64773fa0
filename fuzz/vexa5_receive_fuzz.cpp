// Feeds arbitrary byte streams through the serial port to the Vexa5 receive
// framer and dispatcher. The input's first bytes pick the one-unit kind and
// the packet in flight, so stored answers of every kind are reached; a byte
// 0xF7 gives the byte after it the line error flags of the one after that.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "adapter/link_state.h"
#include "adapter/vexa5.h"
#include "fuzz_serial_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzline::openOnce(tramsoll::kAdapterVexa5);
  constexpr size_t kHead = 18;
  if (size < kHead) return 0;
  const uint8_t startBytes[8] = {};
  tramsoll::queueStartCommand(tramsoll::kAdapterVexa5, data[0] & 0x0E, 8 + data[0] % 7, startBytes);
  tramsoll::PacketInFlight& packet = tramsoll::packetInFlight();
  std::memset(packet.bytes, 0, sizeof packet.bytes);
  std::memcpy(packet.bytes, data + 1, kHead - 1);
  packet.length = kHead - 1;

  fuzzline::feedLine(data, kHead, size);
  while (!fuzzline::lineInput().empty()) {
    packet.code = packet.bytes[1];
    tramsoll::vexa5Dispatch();
  }
  fuzzline::resetAfterInput();
  return 0;
}
