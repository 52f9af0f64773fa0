// The ring of diagnostic lines that the caller drains with getDebugMessage.
#pragma once

#include <cstddef>
#include <mutex>

namespace tramsoll {

constexpr std::size_t kLineSize = 80;        // 79 characters and the terminator
constexpr std::size_t kDebugRingSlots = 1025; // one slot stays free

class DebugRing {
 public:
  // Puts one line (cut to 79 characters). When the ring is full the oldest
  // line is dropped, the new line is lost, and the newest slot reads the
  // overflow text, so the caller learns that lines went missing.
  void put(const char* text);
  // Copies the oldest line into `out` (kLineSize bytes) and answers true, or
  // zeroes `out` and answers false when the ring is empty.
  bool take(char* out);
  std::size_t size() const;
  void clear();

 private:
  mutable std::mutex mutex_;
  char slots_[kDebugRingSlots][kLineSize] = {};
  std::size_t write_ = 0;
  std::size_t read_ = 0;
};

DebugRing& debugRing();

// Formats a diagnostic line (printf rules, cut to 79 characters) and puts it.
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
void putDebugMessage(const char* text);

}  // namespace tramsoll
