// What crosses the library's boundary by value: numbers handed in by the
// caller, held where they would wrap, and texts handed back into the
// caller's fixed-size buffers.
#pragma once

#include <cstdint>

namespace tramsoll {

// ---- Numbers handed in by the caller ----
// value - amount (amount >= 0), held at the lowest 32-bit value where it
// would wrap: 1-based numbers and calendar years arrive unchecked, and -2^31
// must still read as "none" or "before everything".
constexpr int32_t subtractHeld(int32_t value, int32_t amount) {
  return value < INT32_MIN + amount ? INT32_MIN : value - amount;
}

// ---- Texts handed to the caller ----
// Length of the text in `buffer` within `capacity`; a text that fills the
// buffer is cut at capacity - 1 with a terminator written there.
int32_t boundedLength(char* buffer, int32_t capacity);
// Copies `text` into a caller's buffer of `capacity` bytes, cut to fit and
// terminated, and answers its length.
int32_t copyText(char* buffer, int32_t capacity, const char* text);

}  // namespace tramsoll
