// Number texts read and written without the process locale: the item and
// table files, and the values shown to the engineer, always use a point.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tramsoll {

// The leading decimal number of a text, as the C library's text-to-double
// conversion reads it in the "C" locale (sign, digits, point, exponent,
// "inf", "nan"); 0 when the text does not begin with a number. Numbers too
// large for a double give +-infinity, too small ones 0.
double textToDouble(const char* text);

// The leading decimal integer of a text (optional sign, digits); 0 when none.
// Values beyond the 32-bit range stop at its ends.
int32_t textToInt(const char* text);

// Hexadecimal digits from the start of the text, at most `maxDigits` of them
// (negative: no limit); stops at the first other character. The value stops
// at the 64-bit maximum instead of wrapping.
uint64_t hexTextValue(const char* text, int maxDigits);

// A 32-bit float narrowed from a double: values beyond the float range
// become +-infinity instead of undefined behaviour.
float toStoredFloat(double value);

// The one conversion of a float to an integer: truncates toward zero and
// stops at the 32-bit range. Answers false for NaN.
bool truncateToInt(float value, int32_t& out);

// Writes `value` with `decimals` digits after the point, as "%.<decimals>f"
// does in the "C" locale, terminated. Answers the length written; a text
// that does not fit is cut at size - 1.
std::size_t formatFixed(char* out, std::size_t size, double value, int decimals);

}  // namespace tramsoll
