// The Plus adapter protocol: binary packets (command code, function byte,
// length byte, data, XOR check byte; no STX or ETX) for bus monitoring and
// bus sends only. Its builders, scheduler, receive framer and dispatcher
// share the send ring, the packet in flight and the receive assembly with
// the Vexa5 protocol. The adapter has no parameter, board or sensor-input
// requests, so nothing here offers them.
#pragma once

#include <cstdint>
#include <span>

#include "adapter/check_bytes.h"

namespace tramsoll {

constexpr int kPlusStartStopLength = 7;

// Function bytes: what the library keeps as the code in flight (packet byte
// 1) and what an answer's byte 1 names.
namespace plus {
constexpr uint8_t kStart = 0x06;
constexpr uint8_t kStop = 0x05;
constexpr uint8_t kStatusPoll = 0x15;
constexpr uint8_t kBusSend = 0x18;
// Answer codes (answer byte 0).
constexpr uint8_t kAnswerAck = 0x06;
constexpr uint8_t kAnswerStatus = 0x15;
constexpr uint8_t kAnswerOther = 0x41;
constexpr uint8_t kAnswerBusFrame = 0x80;
}  // namespace plus

// The start (a = 1) and stop (a = 0) command: 20, a + 5, 03, a, 00, 00, chk.
int buildPlusStartStop(int a, std::span<uint8_t, kPlusStartStopLength> out);
// The status poll 21 15 00 34; answers its length.
int buildPlusStatusPoll(std::span<uint8_t, kPacketSize> out);

// ---- Builders: each queues one packet in the send ring ----
bool queuePlusStart();                                        // 20 06 03 01 00 00 24
bool queuePlusStatusPoll();                                   // 21 15 00 34
bool queuePlusBusSend(const uint8_t* frame, int length);      // 24 18 n frame chk

// ---- Scheduler, framer, dispatcher ----
// Sends the next queued packet or handles the one in flight: the start and
// the poll wait 3 s for their answer, other commands 1 s; a bus send is
// replaced by the status poll after 0.5 s. False only when nothing was in
// flight and the ring was empty.
bool plusScheduler();
// Assembles one answer from the received bytes; true with the answer (the
// packet without its check byte, code first; at most 255 bytes) when one
// checked packet was taken.
bool plusReceivePacket(uint8_t* answer, int& length);
// Takes and handles every complete answer that has arrived.
void plusDispatch();

}  // namespace tramsoll
