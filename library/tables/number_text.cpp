#include "tables/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace tramsoll {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

const char* skipSpace(const char* p) {
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  return p;
}

// from_chars leaves the value alone when it is out of range; the decimal
// exponent of the leading digit tells overflow from underflow.
double outOfRangeValue(const char* p, const char* end) {
  while (p < end && *p == '0') ++p;
  int64_t exponent = 0;
  bool leadFound = false;
  for (; p < end && isDigit(*p); ++p) {
    if (leadFound) ++exponent;
    leadFound = true;
  }
  if (p < end && *p == '.') {
    for (++p; p < end && isDigit(*p); ++p) {
      if (leadFound) continue;
      --exponent;
      if (*p != '0') leadFound = true;
    }
  }
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    int64_t written = 0;
    for (; p < end && isDigit(*p); ++p) {
      if (written < 100000000) written = written * 10 + (*p - '0');
    }
    exponent += negative ? -written : written;
  }
  return exponent > 0 ? HUGE_VAL : 0.0;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

double textToDouble(const char* text) {
  if (!text) return 0;
  const char* p = skipSpace(text);
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (*p == '-' || *p == '+') return 0;
  const char* end = p + std::strlen(p);
  double value = 0;
  auto [stop, error] = std::from_chars(p, end, value, std::chars_format::general);
  if (error == std::errc::invalid_argument) return 0;
  if (error == std::errc::result_out_of_range) value = outOfRangeValue(p, stop);
  return negative ? -value : value;
}

int32_t textToInt(const char* text) {
  if (!text) return 0;
  const char* p = skipSpace(text);
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int64_t value = 0;
  for (; isDigit(*p); ++p) {
    value = value * 10 + (*p - '0');
    if (value > int64_t{1} << 32) value = int64_t{1} << 32;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

uint64_t hexTextValue(const char* text, int maxDigits) {
  uint64_t value = 0;
  if (!text) return 0;
  for (int i = 0; maxDigits < 0 || i < maxDigits; ++i) {
    int d = hexDigit(text[i]);
    if (d < 0) break;
    if (value > (std::numeric_limits<uint64_t>::max() >> 4)) {
      value = std::numeric_limits<uint64_t>::max();
      continue;
    }
    value = (value << 4) | static_cast<uint64_t>(d);
  }
  return value;
}

float toStoredFloat(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (value > kMax) return std::numeric_limits<float>::infinity();
  if (value < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

bool truncateToInt(float value, int32_t& out) {
  if (std::isnan(value)) {
    out = 0;
    return false;
  }
  if (value >= 2147483648.0f) {
    out = std::numeric_limits<int32_t>::max();
  } else if (value <= -2147483648.0f) {
    out = std::numeric_limits<int32_t>::min();
  } else {
    out = static_cast<int32_t>(value);
  }
  return true;
}

namespace {

constexpr int kFastDecimals = 4;
constexpr uint64_t kPowersOfTen[kFastDecimals + 1] = {1, 10, 100, 1000, 10000};

// The value times 10^decimals, rounded to the nearest whole number, worked
// out exactly from the bits of a float of magnitude below 2^32. False where
// the quick way does not apply (not a float, too large or small, or exactly
// halfway between two results); the caller then uses the full formatter.
bool scaledFloatDigits(double value, int decimals, bool& negative, uint64_t& scaled) {
  if (decimals < 0 || decimals > kFastDecimals || !(value > -4294967296.0 && value < 4294967296.0)) return false;
  auto single = static_cast<float>(value);
  if (static_cast<double>(single) != value) return false;
  uint32_t bits;
  std::memcpy(&bits, &single, sizeof bits);
  negative = (bits >> 31) != 0;
  auto biased = static_cast<int>((bits >> 23) & 0xFF);
  uint64_t mantissa = bits & 0x7FFFFF;
  int exponent = -149;
  if (biased != 0) {
    mantissa |= 0x800000;
    exponent = biased - 150;
  }
  uint64_t product = mantissa * kPowersOfTen[decimals];
  if (exponent >= 0) {
    scaled = product << exponent;
    return true;
  }
  int shift = -exponent;
  if (shift > 60) return false;
  uint64_t rest = product & ((uint64_t{1} << shift) - 1);
  uint64_t half = uint64_t{1} << (shift - 1);
  if (rest == half) return false;
  scaled = (product >> shift) + (rest > half ? 1 : 0);
  return true;
}

std::size_t writeFixedDigits(char* work, bool negative, uint64_t scaled, int decimals) {
  std::size_t length = 0;
  if (negative) work[length++] = '-';
  uint64_t power = kPowersOfTen[decimals];
  length = static_cast<std::size_t>(std::to_chars(work + length, work + 32, scaled / power).ptr - work);
  if (decimals == 0) return length;
  work[length++] = '.';
  uint64_t fraction = scaled % power;
  for (int i = decimals - 1; i >= 0; --i) {
    work[length + static_cast<std::size_t>(i)] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  return length + static_cast<std::size_t>(decimals);
}

}  // namespace

std::size_t formatFixed(char* out, std::size_t size, double value, int decimals) {
  if (size == 0) return 0;
  // The widest float in fixed notation is 39 digits, a sign, a point and
  // the decimals; a double may need far more.
  char work[400];
  std::size_t length = 0;
  bool negative = false;
  uint64_t scaled = 0;
  if (scaledFloatDigits(value, decimals, negative, scaled)) {
    length = writeFixedDigits(work, negative, scaled, decimals);
  } else {
    auto [end, error] = std::to_chars(work, work + sizeof work, value, std::chars_format::fixed, decimals);
    length = error == std::errc() ? static_cast<std::size_t>(end - work) : 0;
  }
  if (length > size - 1) length = size - 1;
  std::memcpy(out, work, length);
  out[length] = '\0';
  return length;
}

}  // namespace tramsoll
