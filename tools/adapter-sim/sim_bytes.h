// Plain byte helpers of the simulated adapter.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace adaptersim {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;

// XOR and 8-bit sum of bytes[first, end).
uint8_t xorOf(const Bytes& bytes, std::size_t first, std::size_t end);
uint8_t sumOf(const Bytes& bytes, std::size_t first, std::size_t end);

// Upper-case hexadecimal text of bytes, "02 5A 58 03" when spaced.
std::string hexText(const Bytes& bytes, bool spaced);
// The value of one hexadecimal digit, or -1.
int hexDigit(char c);
// Appends the two upper-case hexadecimal characters of a byte.
void appendHex(Bytes& out, uint8_t value);

// Reads hexadecimal byte pairs ("02 5A") up to the end of the stream.
bool parseHexBytes(std::istream& words, Bytes& out, std::string& error);

// Appends `more` to `out` (byte by byte: GCC 12 misjudges the bounds of an
// insert into a vector made from an initializer list).
void append(Bytes& out, const Bytes& more);

// An adapter packet: STX, the body, the XOR of everything before it, ETX.
Bytes framePacket(const Bytes& body);

}  // namespace adaptersim
