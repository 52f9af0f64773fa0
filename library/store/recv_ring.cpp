#include "store/recv_ring.h"

#include <cstring>
#include <new>

#include "base/debug_ring.h"
#include "base/status_words.h"

namespace tramsoll {

namespace {
int nextSlot(int index) { return index + 1 >= kRecvRingSlots ? 0 : index + 1; }
}  // namespace

void fixRecvFrame(BusFrameRecord& record) {
  if ((record.data[0] & 0x3F) == 0x31 && record.data[5] == 0xE0 && record.data[11] == 0x81) record.data[5] = 0xE1;
}

bool BusFrameRing::put(const BusFrameRecord& record) {
  BusFrameRecord fixed = record;
  fixRecvFrame(fixed);
  if (!slots_) {
    slots_.reset(new (std::nothrow) BusFrameRecord[kRecvRingSlots]);
    if (!slots_) {
      setBits(errFault, fault::kMemory);
      putDebugMessage("MemMngr: malloc error for RecvBuffQ7");
      return false;
    }
    write_ = read_ = 0;
  }
  slots_[write_] = fixed;
  write_ = nextSlot(write_);
  if (write_ != read_) return true;
  read_ = nextSlot(read_);
  setBits(errLine, line::kRecvRingFull);
  putDebugMessage("MemMngr: Recv Buffer Full");
  return false;
}

bool BusFrameRing::take(BusFrameRecord& out) {
  std::memset(&out, 0, sizeof out);
  if (!slots_ || read_ == write_) return false;
  out = slots_[read_];
  read_ = nextSlot(read_);
  if (waiting() > highWater_) highWater_ = waiting();
  return true;
}

void BusFrameRing::release() {
  slots_.reset();
  write_ = read_ = 0;
}

int BusFrameRing::waiting() const { return (write_ - read_ + kRecvRingSlots) % kRecvRingSlots; }

BusFrameRing& recvBuffQ7() {
  static BusFrameRing ring;
  return ring;
}

}  // namespace tramsoll
