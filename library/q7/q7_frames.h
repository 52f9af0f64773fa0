// Builders and small codecs of the Q7 bus frames the library sends as a
// central station: the frame templates, the check byte, the address classes,
// the error-code text and the set-point bytes.
//
// Frame layout (sent and received): byte 0 type, byte 1 sender, byte 2
// receiver (0xFF for all), bytes 3 and 4 header, byte 5 command, data, and a
// last check byte that makes bytes 1 up to and including it add up to 0
// modulo 256.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tramsoll {

constexpr uint8_t kQ7OwnAddress = 15;
constexpr uint8_t kQ7AllAddresses = 0xFF;
constexpr std::size_t kQ7FrameBytes = 256;   // largest frame a record holds
constexpr std::size_t kQ7ShortFrame = 12;
constexpr std::size_t kQ7CommandFrame = 26;
constexpr int kQ7OwnClass = 32;              // class index of address 15
constexpr int kQ7UnknownClass = 255;

// Frame types of the frames the engine builds.
namespace q7type {
constexpr uint8_t kStation = 0xFD;     // station frames to all (poll, 0xE6/0xE8)
constexpr uint8_t kBroadcast = 0xE5;   // broadcast queries
constexpr uint8_t kUnitQuery = 0xBD;   // addressed queries and replies
constexpr uint8_t kGroup = 0xF1;
constexpr uint8_t kCommand = 0xA5;     // central command
constexpr uint8_t kCentralState = 0xA4;
}  // namespace q7type

// Query codes carried in byte 6 of a 0x50 query.
namespace q7query {
constexpr uint8_t kStatus = 0x80;
constexpr uint8_t kAnnounce = 0x90;
constexpr uint8_t kDetail0 = 0xD0;
constexpr uint8_t kDetail1 = 0xD1;
constexpr uint8_t kDetail2 = 0xD2;
constexpr uint8_t kDetailA = 0xDA;
constexpr uint8_t kDetailB = 0xDB;
}  // namespace q7query

// One frame being built; frames of the engine are at most 26 bytes.
struct Q7Frame {
  uint8_t bytes[kQ7CommandFrame] = {};
  std::size_t length = 0;
};

// Writes the check byte into the last of `length` bytes (length >= 2).
void putCheckByte(uint8_t* frame, std::size_t length);
// True when bytes 1 up to and including the last add up to 0 modulo 256.
bool checkByteMatches(const uint8_t* frame, std::size_t length);
void sealFrame(Q7Frame& frame);

// The 60 s poll of the station.
Q7Frame pollFrame();
// A query to every unit: q7query::kStatus every 300 s, kAnnounce at start-up.
Q7Frame broadcastQueryFrame(uint8_t query);
// A query to one unit: kStatus, kAnnounce (the reply to a unit's query) or a
// detail code.
Q7Frame unitQueryFrame(uint8_t address, uint8_t query);
// The group send repeating a group entry's 4 bytes.
Q7Frame groupSendFrame(const uint8_t data[4]);
// The answers to a station's 0x06 and 0x15.
Q7Frame answer06Frame();
Q7Frame answer15Frame(uint8_t address);
// 0xE6: ask a unit for setting `number` (10 bytes; the low byte of `value`).
Q7Frame settingRequestFrame(uint8_t address, uint8_t number, uint16_t value);
// 0xE8: change setting `number` of a unit to `value` (11 bytes).
Q7Frame settingChangeFrame(uint8_t address, uint8_t number, uint16_t value);
// The 26-byte 0x40 frame, data bytes 6..24 zero and no check byte yet:
// q7type::kCommand for a central command, kCentralState for the state frame.
Q7Frame commandFrame(uint8_t type, uint8_t address);

// Class index of a bus address (the station classes); 255 when unknown.
int addressClass(uint8_t address);

// Two-character error-code text of a code byte and a flag byte (bit 0 picks
// the second table); "  " when there is no error. `out` gets 3 bytes.
void errorCodeText(uint8_t code, uint8_t flag, char out[3]);

// Set point as bytes 11 and 12 of a central command: the whole degrees, and
// the tenths digit | 0x80 with 0x40 for a value below 0. The value is
// rounded to tenths first (22.3 stays 22.3); magnitudes above 255.9 and
// values that are not numbers are taken as 255.9 and 0.
struct SetPointBytes {
  uint8_t whole;
  uint8_t tenths;
};
SetPointBytes encodeSetPoint(float value);
float decodeSetPoint(uint8_t whole, uint8_t tenths);

// Operation value of a unit from the two mode bytes of its 0x90 frame:
// for units of kind 9 the low two bits of the first byte (0..3); for kinds
// 0x11 and 0x12, 16 plus the low four bits of the second byte, at most 27.
int modeValueKind9(uint8_t first, uint8_t second);
int modeValueKind11(uint8_t first, uint8_t second);

}  // namespace tramsoll
