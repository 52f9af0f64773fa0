// What the adapter protocols share besides the send ring: the one packet in
// flight and the assembly of the packet being received.
#pragma once

#include <chrono>
#include <cstdint>

#include "adapter/check_bytes.h"

namespace tramsoll {

struct PacketInFlight {
  uint8_t bytes[kPacketSize] = {};
  int length = 0;
  uint8_t code = 0;  // 0: nothing in flight; else packet byte 1
  std::chrono::steady_clock::time_point sentTime{};
  int retryCount = 0;
  bool requestAccepted = false;

  // "Clear": the answer with this code ends the command in flight.
  void clearIfCode(uint8_t answerCode) {
    if (code == answerCode) code = 0;
  }
};

struct ReceiveAssembly {
  uint8_t bytes[kPacketSize] = {};
  uint8_t code = 0;  // 0: none yet
  int expected = 0;  // total length of a length-coded packet, 0 until known
  int count = 0;

  void reset() {
    code = 0;
    expected = 0;
    count = 0;
  }
};

PacketInFlight& packetInFlight();
ReceiveAssembly& receiveAssembly();

// Empties the send ring and forgets the packet in flight and the assembly.
void clearLinkState();

// What a protocol's framer made of one received byte.
enum class FramerStep { More, Answer, Failed };
using ByteFramer = FramerStep (*)(ReceiveAssembly& assembly, uint8_t byte, uint8_t* answer, int& length);

// Feeds the bytes the port has queued to the framer, never waiting: true
// with one checked answer; false when a packet failed its check (the caller
// stops for this tick) or nothing more is queued (the partial packet stays
// for the next call).
bool readAnswer(ByteFramer framer, uint8_t* answer, int& length);

}  // namespace tramsoll
