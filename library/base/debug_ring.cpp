#include "base/debug_ring.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace tramsoll {

namespace {

constexpr const char kOverflowText[] = "ErrHndl: Debug Message Buffer Overflow";

std::size_t nextSlot(std::size_t index) { return index + 1 >= kDebugRingSlots ? 0 : index + 1; }

void copyLine(char* slot, const char* text) {
  std::size_t n = text ? strnlen(text, kLineSize - 1) : 0;
  if (n) std::memcpy(slot, text, n);
  slot[n] = '\0';
}

}  // namespace

void DebugRing::put(const char* text) {
  std::lock_guard lock(mutex_);
  std::size_t next = nextSlot(write_);
  if (next != read_) {
    copyLine(slots_[write_], text);
    write_ = next;
    return;
  }
  copyLine(slots_[write_], kOverflowText);
  write_ = next;
  read_ = nextSlot(read_);
}

bool DebugRing::take(char* out) {
  std::lock_guard lock(mutex_);
  if (read_ == write_) {
    std::memset(out, 0, kLineSize);
    return false;
  }
  std::memcpy(out, slots_[read_], kLineSize);
  out[kLineSize - 1] = '\0';
  read_ = nextSlot(read_);
  return true;
}

std::size_t DebugRing::size() const {
  std::lock_guard lock(mutex_);
  return (write_ + kDebugRingSlots - read_) % kDebugRingSlots;
}

void DebugRing::clear() {
  std::lock_guard lock(mutex_);
  read_ = write_ = 0;
}

DebugRing& debugRing() {
  static DebugRing ring;
  return ring;
}

void putDebugMessage(const char* text) { debugRing().put(text); }

void logLine(const char* format, ...) {
  char line[kLineSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);  // cuts at 79 characters
  va_end(args);
  debugRing().put(line);
}

}  // namespace tramsoll
