// Rounding of the display window's twips arithmetic: whole numbers are taken
// to the nearest, halves to the even one, and quotients are rounded exactly
// (a product such as 5098 x 0.995 is not exact in binary floating point).
#pragma once

#include <cmath>
#include <cstdint>

// x to the nearest whole number, halves to the even one (2.5 gives 2).
inline int32_t roundHalfEven(double x) { return static_cast<int32_t>(std::nearbyint(x)); }

// numerator / denominator to the nearest whole number, halves to the even
// one, computed in integers. The denominator is positive.
inline int32_t roundedQuotient(int64_t numerator, int64_t denominator) {
  int64_t quotient = numerator / denominator;
  int64_t remainder = numerator % denominator;
  if (remainder < 0) {  // floor division, so the remainder lies in 0..denominator-1
    quotient -= 1;
    remainder += denominator;
  }
  const int64_t twice = 2 * remainder;
  if (twice > denominator || (twice == denominator && quotient % 2 != 0)) quotient += 1;
  return static_cast<int32_t>(quotient);
}
