#include "adapter/send_ring.h"

#include <cstring>

#include "base/debug_ring.h"
#include "base/status_words.h"

namespace tramsoll {

namespace {
int nextSlot(int index) { return index + 1 >= kSendRingSlots ? 0 : index + 1; }
}  // namespace

bool SendRing::put(const uint8_t* bytes, int length) {
  if (!bytes || length <= 0 || length > kPacketSize) {
    logLine("MemMngr: Send Packet length over buffer (%d)", length);
    return false;
  }
  int next = nextSlot(write_);
  if (next == read_) {
    logLine("MemMngr: Send Buffer Full");
    setBits(errLine, line::kSendRingFull);
    return false;
  }
  std::memset(slots_[write_], 0, kPacketSize);
  std::memcpy(slots_[write_], bytes, static_cast<std::size_t>(length));
  lengths_[write_] = length;
  write_ = next;
  return true;
}

bool SendRing::take(uint8_t out[kPacketSize], int& length) {
  std::memset(out, 0, kPacketSize);
  length = 0;
  if (read_ == write_) return false;
  std::memcpy(out, slots_[read_], kPacketSize);
  length = lengths_[read_];
  read_ = nextSlot(read_);
  if (waiting() > highWater_) highWater_ = waiting();
  return true;
}

void SendRing::reset() { write_ = read_ = highWater_ = 0; }

int SendRing::freeCount() const {
  if (read_ == write_) return kSendRingSlots;
  return (read_ - write_ + kSendRingSlots) % kSendRingSlots;
}

SendRing& sendRing() {
  static SendRing ring;
  return ring;
}

}  // namespace tramsoll
