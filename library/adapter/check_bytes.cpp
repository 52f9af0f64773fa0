#include "adapter/check_bytes.h"

namespace tramsoll {

namespace {

bool inRange(int first, int last) { return first >= 0 && first <= last && last < kPacketSize; }

uint8_t hexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<uint8_t>(c - 'a' + 10);
  return 0;
}

}  // namespace

uint8_t checkByte(const uint8_t* bytes, int first, int last) {
  if (!bytes || !inRange(first, last)) return 0;
  uint8_t x = 0;
  for (int i = first; i <= last; ++i) x ^= bytes[i];
  return x;
}

uint8_t sumBytes(const uint8_t* bytes, int first, int last) {
  if (!bytes || !inRange(first, last)) return 0;
  uint8_t s = 0;
  for (int i = first; i <= last; ++i) s = static_cast<uint8_t>(s + bytes[i]);
  return s;
}

void byteToHex(uint8_t value, char out[2]) {
  static const char kDigits[] = "0123456789ABCDEF";
  out[0] = kDigits[value >> 4];
  out[1] = kDigits[value & 0x0F];
}

uint8_t hexToByte(char high, char low) { return static_cast<uint8_t>(hexDigit(high) << 4 | hexDigit(low)); }

}  // namespace tramsoll
