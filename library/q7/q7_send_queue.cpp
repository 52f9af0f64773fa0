#include "q7/q7_send_queue.h"

#include <cstring>

namespace tramsoll {

int32_t Q7SendQueue::put(std::span<const uint8_t> frame) {
  std::size_t next = (write_ + 1) % kQ7QueueSlots;
  if (next == read_) return kQ7QueueFull;
  std::size_t length = frame.size() < kQ7FrameBytes ? frame.size() : kQ7FrameBytes;
  std::memset(slots_[write_], 0, kQ7FrameBytes);
  if (length > 0) std::memcpy(slots_[write_], frame.data(), length);
  lengths_[write_] = static_cast<uint16_t>(length);
  write_ = next;
  return 0;
}

int32_t Q7SendQueue::take(uint8_t* out, int32_t& length) {
  std::memset(out, 0, kQ7FrameBytes);
  length = 0;
  if (read_ == write_) return kQ7QueueEmpty;
  std::memcpy(out, slots_[read_], kQ7FrameBytes);
  length = lengths_[read_];
  read_ = (read_ + 1) % kQ7QueueSlots;
  return 0;
}

std::size_t Q7SendQueue::size() const { return (write_ + kQ7QueueSlots - read_) % kQ7QueueSlots; }

void Q7SendQueue::clear() {
  write_ = 0;
  read_ = 0;
}

}  // namespace tramsoll
