// Writing an export's outputs: the caller may pass a null pointer for any
// output it does not want.
#pragma once

#include <cstdint>

#include "base/caller_values.h"

namespace tramsoll {

inline void setOut(int32_t* out, int32_t value) {
  if (out) *out = value;
}

// A text into the caller's buffer of `capacity` bytes, cut to fit, and its
// length.
inline void setTextOut(char* buffer, int32_t* length, int32_t capacity, const char* text) {
  setOut(length, copyText(buffer, capacity, text));
}

}  // namespace tramsoll
