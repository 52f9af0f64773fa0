#include "base/caller_values.h"

#include <cstring>

namespace tramsoll {

int32_t boundedLength(char* buffer, int32_t capacity) {
  if (!buffer || capacity <= 0) return 0;
  const void* zero = std::memchr(buffer, 0, static_cast<std::size_t>(capacity));
  if (zero) return static_cast<int32_t>(static_cast<const char*>(zero) - buffer);
  buffer[capacity - 1] = '\0';
  return capacity - 1;
}

int32_t copyText(char* buffer, int32_t capacity, const char* text) {
  if (!buffer || capacity <= 0) return 0;
  std::size_t n = text ? strnlen(text, static_cast<std::size_t>(capacity - 1)) : 0;
  if (n) std::memcpy(buffer, text, n);
  buffer[n] = '\0';
  return static_cast<int32_t>(n);
}

}  // namespace tramsoll
