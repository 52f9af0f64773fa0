#include "sim_bytes.h"

namespace adaptersim {

uint8_t xorOf(const Bytes& bytes, std::size_t first, std::size_t end) {
  uint8_t x = 0;
  for (std::size_t i = first; i < end && i < bytes.size(); ++i) x ^= bytes[i];
  return x;
}

uint8_t sumOf(const Bytes& bytes, std::size_t first, std::size_t end) {
  uint8_t s = 0;
  for (std::size_t i = first; i < end && i < bytes.size(); ++i) s = static_cast<uint8_t>(s + bytes[i]);
  return s;
}

std::string hexText(const Bytes& bytes, bool spaced) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (uint8_t b : bytes) {
    if (spaced && !text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void appendHex(Bytes& out, uint8_t value) {
  static const char kDigits[] = "0123456789ABCDEF";
  out.push_back(static_cast<uint8_t>(kDigits[value >> 4]));
  out.push_back(static_cast<uint8_t>(kDigits[value & 0x0F]));
}

bool parseHexBytes(std::istream& words, Bytes& out, std::string& error) {
  std::string word;
  while (words >> word) {
    if (word.size() != 2 || hexDigit(word[0]) < 0 || hexDigit(word[1]) < 0) {
      error = "'" + word + "' is not a hexadecimal byte";
      return false;
    }
    out.push_back(static_cast<uint8_t>(hexDigit(word[0]) << 4 | hexDigit(word[1])));
  }
  return true;
}

void append(Bytes& out, const Bytes& more) {
  out.reserve(out.size() + more.size());
  for (uint8_t b : more) out.push_back(b);
}

Bytes framePacket(const Bytes& body) {
  Bytes packet{kStx};
  append(packet, body);
  packet.push_back(xorOf(packet, 0, packet.size()));
  packet.push_back(kEtx);
  return packet;
}

}  // namespace adaptersim
