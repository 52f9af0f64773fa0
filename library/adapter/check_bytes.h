// Check bytes and hexadecimal text of the adapter packets.
#pragma once

#include <cstdint>

namespace tramsoll {

// Buffers handed to the check routines are packet buffers of this size.
constexpr int kPacketSize = 256;

// XOR of bytes[first..last]; 0 unless 0 <= first <= last < kPacketSize, so
// the routine never reads past the end of a packet buffer.
uint8_t checkByte(const uint8_t* bytes, int first, int last);
// 8-bit sum of bytes[first..last], with the same range rule.
uint8_t sumBytes(const uint8_t* bytes, int first, int last);

// Two upper-case hexadecimal characters of a byte.
void byteToHex(uint8_t value, char out[2]);
// The byte two characters spell; a character other than 0-9, A-F, a-f counts
// as 0 for its half.
uint8_t hexToByte(char high, char low);

}  // namespace tramsoll
