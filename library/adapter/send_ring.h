// The ring of packets waiting to be sent to the adapter, shared by both
// adapter types. One slot always stays free, so it holds at most 1023.
#pragma once

#include <cstdint>

#include "adapter/check_bytes.h"

namespace tramsoll {

constexpr int kSendRingSlots = 1024;

class SendRing {
 public:
  // Queues one packet. A full ring drops it ("MemMngr: Send Buffer Full",
  // errLine 0x80); a packet longer than a slot is refused.
  bool put(const uint8_t* bytes, int length);
  // Takes the oldest packet into a zeroed 256-byte buffer; false when empty.
  bool take(uint8_t out[kPacketSize], int& length);
  void reset();
  // (read - write) modulo 1024, 1024 when empty. With one slot kept free a
  // caller that needs n slots asks hasRoomFor(n).
  int freeCount() const;
  bool hasRoomFor(int packets) const { return freeCount() - 1 >= packets; }
  int waiting() const { return kSendRingSlots - freeCount(); }
  int highWater() const { return highWater_; }

 private:
  uint8_t slots_[kSendRingSlots][kPacketSize] = {};
  int lengths_[kSendRingSlots] = {};
  int write_ = 0;
  int read_ = 0;
  int highWater_ = 0;
};

SendRing& sendRing();

}  // namespace tramsoll
