// The Vexa5 adapter protocol: command builders, the start command, the
// scheduler that sends one packet at a time with time-outs and retries, the
// receive framer and the dispatcher that hands each answer to its consumer.
#pragma once

#include <cstdint>
#include <span>

#include "adapter/check_bytes.h"

namespace tramsoll {

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;

// Start kind word of the start command.
namespace start {
constexpr uint32_t kBusMonitoring = 0x2;
constexpr uint32_t kParameterMode = 0x4;
constexpr uint32_t kOneUnit = 0x8;
}  // namespace start

constexpr int kStartBytes = 8;
constexpr int kVexa5StopLength = 5;

// ---- Builders: each queues one packet in the send ring ----
bool queueStatusPoll();                                  // 02 'Z' chk 03
bool queueSensorRequest();                               // 02 'A' chk 03
bool queueBusSend(const uint8_t* frame, int length);     // 02 'F' frame chk 03
// Parameter-mode request from a 4-character text c0 c1 c2 c3: 02 c0 c2 c3 chk 03.
bool queueParameterRequest(const char* text);
// Pass-through request to the connected unit's board for unit kinds 8..14;
// `number` is the sequence number of kind 13 and unused otherwise.
bool queueUnitRequest(int unitKind, const char* text, int number);

// The 'SP' packet (also the stop command written at port close) and the
// 'Z' status poll. Answer the length.
int buildStopParameterMode(std::span<uint8_t, kVexa5StopLength> out);
int buildStatusPoll(std::span<uint8_t, kPacketSize> out);

// ---- Start command ----
// Keeps the start-command state afresh (the adapter type, start kind, unit
// kind 8..14 and the 8 start bytes), empties the send ring and queues the
// start command of the kind. The Plus adapter knows only bus monitoring:
// for it any other kind queues nothing.
void queueStartCommand(int adapterType, uint32_t startKind, int unitKind, const uint8_t* startBytes);
// Forgets the start-command state (port close, gathering start).
void resetStartCommandState();
// Queues the kept start command again (the adapter reported another mode).
void requeueStartCommand();
uint32_t startCommandKind();
// The unit kind of the one-unit connection the start command set up, or 0.
int startUnitKind();

// ---- Scheduler, framer, dispatcher ----
// Sends the next queued packet or handles the one in flight; false only when
// nothing was in flight and the ring was empty.
bool vexa5Scheduler();
// Assembles one answer from the received bytes; true with the answer (code,
// length byte if any, data; at most 253 bytes) when one checked packet was taken.
bool vexa5ReceivePacket(uint8_t* answer, int& length);
// Takes and handles every complete answer that has arrived.
void vexa5Dispatch();

}  // namespace tramsoll
