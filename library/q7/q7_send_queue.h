// The bus engine's queue of frames waiting to go to the adapter. It holds at
// most 511 frames; a full queue refuses a new frame instead of overwriting
// the oldest, so frames already queued always go out in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "q7/q7_frames.h"

namespace tramsoll {

constexpr std::size_t kQ7QueueSlots = 512;
constexpr int32_t kQ7QueueFull = 2;
constexpr int32_t kQ7QueueEmpty = 4;

class Q7SendQueue {
 public:
  // 0 when stored; kQ7QueueFull (nothing stored) when 511 frames wait.
  // A frame longer than 256 bytes is cut to 256.
  int32_t put(std::span<const uint8_t> frame);
  // 0 with the oldest frame in `out` (256 bytes) and its length, or
  // kQ7QueueEmpty with `out` zeroed and length 0.
  int32_t take(uint8_t* out, int32_t& length);
  std::size_t size() const;
  void clear();

 private:
  uint8_t slots_[kQ7QueueSlots][kQ7FrameBytes] = {};
  uint16_t lengths_[kQ7QueueSlots] = {};
  std::size_t write_ = 0;
  std::size_t read_ = 0;
};

}  // namespace tramsoll
