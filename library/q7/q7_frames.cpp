#include "q7/q7_frames.h"

#include <cmath>
#include <initializer_list>

namespace tramsoll {

namespace {

Q7Frame makeFrame(std::initializer_list<uint8_t> body) {
  Q7Frame frame;
  for (uint8_t byte : body) frame.bytes[frame.length++] = byte;
  frame.length++;  // room for the check byte
  sealFrame(frame);
  return frame;
}

// The addressed 12-byte 0x50 query: type 0xBD, or 0xE5 to all units.
Q7Frame queryFrame(uint8_t type, uint8_t receiver, uint8_t query) {
  return makeFrame({type, kQ7OwnAddress, receiver, 0x14, 0x06, 0x50, query, 0, 0xFF, 0, 0});
}

struct ClassEntry {
  uint8_t address;
  uint8_t index;
};

constexpr ClassEntry kClasses[] = {
    {4, 0},    {10, 1},   {26, 2},   {42, 3},   {58, 4},   {1, 5},    {8, 6},    {9, 7},    {6, 8},
    {22, 9},   {38, 10},  {54, 11},  {70, 12},  {86, 13},  {102, 14}, {118, 15}, {14, 16},  {30, 17},
    {46, 18},  {62, 19},  {78, 20},  {94, 21},  {110, 22}, {126, 23}, {12, 24},  {28, 25},  {44, 26},
    {60, 27},  {76, 28},  {92, 29},  {108, 30}, {124, 31}, {15, 32},
};

constexpr char kFirstPlain[16] = {' ', 'A', 'C', 'E', 'H', 'F', 'J', 'L', 'P', 'U', '9', '8', '7', '6', '5', '4'};
constexpr char kFirstFlagged[16] = {'3', '2', '1', 'G', 'K', 'M', 'N', 'R', 'T', 'V', 'W', 'X', 'Y', 'Z', '*', '-'};
constexpr char kSecond[16] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'H', 'C', 'J', 'E', 'F'};

}  // namespace

void putCheckByte(uint8_t* frame, std::size_t length) {
  if (length < 2) return;
  unsigned sum = 0;
  for (std::size_t i = 1; i + 1 < length; ++i) sum += frame[i];
  frame[length - 1] = static_cast<uint8_t>(0x100 - (sum & 0xFF));
}

bool checkByteMatches(const uint8_t* frame, std::size_t length) {
  if (length < 2) return false;
  unsigned sum = 0;
  for (std::size_t i = 1; i < length; ++i) sum += frame[i];
  return (sum & 0xFF) == 0;
}

void sealFrame(Q7Frame& frame) { putCheckByte(frame.bytes, frame.length); }

Q7Frame pollFrame() {
  return makeFrame({q7type::kStation, kQ7OwnAddress, kQ7AllAddresses, 0x14, 0x06, 0x18, 0xFF, 0, 0x7E, 0, 0});
}

Q7Frame broadcastQueryFrame(uint8_t query) { return queryFrame(q7type::kBroadcast, kQ7AllAddresses, query); }

Q7Frame unitQueryFrame(uint8_t address, uint8_t query) { return queryFrame(q7type::kUnitQuery, address, query); }

Q7Frame groupSendFrame(const uint8_t data[4]) {
  // The group send goes out with sender 0, not the station's own address.
  return makeFrame({q7type::kGroup, 0x00, kQ7AllAddresses, 0x08, 0x06, 0x6B, data[0], data[1], data[2], data[3], 0});
}

Q7Frame answer06Frame() {
  return makeFrame({q7type::kStation, kQ7OwnAddress, kQ7AllAddresses, 0x1C, 0x01, 0x07, 0, 0, 0, 0, 0});
}

Q7Frame answer15Frame(uint8_t address) {
  return makeFrame({q7type::kUnitQuery, kQ7OwnAddress, address, 0x1C, 0x06, 0x16, 0x01, 0, 0, 0, 0});
}

Q7Frame settingRequestFrame(uint8_t address, uint8_t number, uint16_t value) {
  return makeFrame({q7type::kStation, kQ7OwnAddress, kQ7AllAddresses, 0x08, 0x04, 0xE6, address, number,
                    static_cast<uint8_t>(value & 0xFF)});
}

Q7Frame settingChangeFrame(uint8_t address, uint8_t number, uint16_t value) {
  return makeFrame({q7type::kStation, kQ7OwnAddress, kQ7AllAddresses, 0x08, 0x05, 0xE8, address, number,
                    static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)});
}

Q7Frame commandFrame(uint8_t type, uint8_t address) {
  Q7Frame frame;
  const uint8_t head[] = {type, kQ7OwnAddress, address, 0x14, 0x14, 0x40};
  for (std::size_t i = 0; i < sizeof head; ++i) frame.bytes[i] = head[i];
  frame.length = kQ7CommandFrame;
  return frame;
}

int addressClass(uint8_t address) {
  for (const ClassEntry& entry : kClasses) {
    if (entry.address == address) return entry.index;
  }
  return kQ7UnknownClass;
}

void errorCodeText(uint8_t code, uint8_t flag, char out[3]) {
  const char first = (flag & 0x01) ? kFirstFlagged[code >> 4] : kFirstPlain[code >> 4];
  out[0] = first;
  out[1] = first == ' ' ? ' ' : kSecond[code & 0x0F];
  out[2] = '\0';
}

SetPointBytes encodeSetPoint(float value) {
  if (!std::isfinite(value)) value = 0.0f;
  // Rounding to tenths first keeps 22.3 (stored as 22.2999...) at 22.3.
  long tenths = std::lround(std::fabs(static_cast<double>(value)) * 10.0);
  if (tenths > 2559) tenths = 2559;
  SetPointBytes bytes;
  bytes.whole = static_cast<uint8_t>(tenths / 10);
  bytes.tenths = static_cast<uint8_t>(0x80 | (tenths % 10));
  if (value < 0 && tenths != 0) bytes.tenths |= 0x40;
  return bytes;
}

float decodeSetPoint(uint8_t whole, uint8_t tenths) {
  // One division from whole tenths gives the float nearest to the decimal.
  float value = static_cast<float>(whole * 10 + (tenths & 0x0F)) / 10.0f;
  return (tenths & 0x40) ? -value : value;
}

int modeValueKind9(uint8_t first, uint8_t /*second*/) { return first & 0x03; }

int modeValueKind11(uint8_t /*first*/, uint8_t second) {
  int value = 16 + (second & 0x0F);
  return value > 27 ? 27 : value;
}

}  // namespace tramsoll
