// Feeds arbitrary byte streams through the serial port to the Plus receive
// framer and dispatcher. The input's first byte picks the function byte in
// flight, so each kind of acknowledgement finds its command; a byte 0xF7
// gives the byte after it the line error flags of the one after that.
#include <cstddef>
#include <cstdint>

#include "adapter/link_state.h"
#include "adapter/plus.h"
#include "fuzz_serial_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzline::openOnce(tramsoll::kAdapterPlus);
  if (size < 1) return 0;
  static const uint8_t kCodes[] = {tramsoll::plus::kStart, tramsoll::plus::kStatusPoll, tramsoll::plus::kBusSend,
                                   0x00};
  tramsoll::PacketInFlight& packet = tramsoll::packetInFlight();
  fuzzline::feedLine(data, 1, size);
  while (!fuzzline::lineInput().empty()) {
    packet.code = kCodes[data[0] % sizeof kCodes];
    tramsoll::plusDispatch();
  }
  fuzzline::resetAfterInput();
  return 0;
}
