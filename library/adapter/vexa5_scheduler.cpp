// Sends the queued packets to the Vexa5 adapter one at a time: a packet
// stays in flight until its answer clears it, it is written again after its
// time-out (6 writes in all), or, for a bus send, replaced by a status poll.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "adapter/link_state.h"
#include "adapter/send_ring.h"
#include "adapter/serial_port.h"
#include "adapter/vexa5.h"
#include "engine/clock.h"
#include "engine/frame.h"
#include "store/debug_ring.h"

namespace tramsoll {

namespace {

using std::chrono::milliseconds;

constexpr int kMostRetries = 5;
constexpr milliseconds kBusSendTimeout{500};
constexpr milliseconds kSlowCommandTimeout{3000};
constexpr milliseconds kCommandTimeout{1000};

milliseconds timeoutOf(uint8_t code) {
  if (code == 'A' || code == 'S' || code == 'Z') return kSlowCommandTimeout;
  return kCommandTimeout;
}

// Writes the packet in flight and starts its time-out; a failed write is
// left to the time-out to try again.
void sendInFlight(PacketInFlight& packet, std::chrono::steady_clock::time_point now) {
  writePacketInFlight();
  packet.code = packet.bytes[1];
  packet.requestAccepted = false;
  packet.sentTime = now;
}

void replaceBusSendByPoll(PacketInFlight& packet, std::chrono::steady_clock::time_point now) {
  if (packet.requestAccepted) {
    traceMessage("Q7 Send Echo-back Timeout");
    logLine("AdpComm : Q7 Echo Timeout at E-cmd (%02X)", packet.bytes[7]);
  } else {
    traceMessage("Q7 Send Request Timeout");
    putDebugMessage("AdpComm : Q7 Send Timeout for F-cmd");
  }
  std::memset(packet.bytes, 0, sizeof packet.bytes);
  packet.bytes[0] = kStx;
  packet.bytes[1] = 'Z';
  packet.bytes[2] = static_cast<uint8_t>(kStx ^ 'Z');
  packet.bytes[3] = kEtx;
  packet.length = 4;
  packet.retryCount = 0;
  sendInFlight(packet, now);
}

void retryOrGiveUp(PacketInFlight& packet, std::chrono::steady_clock::time_point now) {
  char text[40];
  if (packet.retryCount < kMostRetries) {
    std::snprintf(text, sizeof text, "'%c' Command retry %d", packet.code, packet.retryCount);
    traceMessage(text);
    logLine("AdpComm : Vexa5 %c-cmd retry %d", packet.code, packet.retryCount);
    ++packet.retryCount;
    sendInFlight(packet, now);
    return;
  }
  std::snprintf(text, sizeof text, "'%c' Command Timeout", packet.code);
  traceMessage(text);
  logLine("AdpComm : Vexa5 %c-cmd Timeout", packet.code);
  packet.code = 0;
  packet.requestAccepted = false;
  packet.retryCount = 0;
  packet.sentTime = now;
  setBits(errFault, fault::kAdapterTimeout);
}

}  // namespace

bool vexa5Scheduler() {
  auto now = clock().steadyNow();
  PacketInFlight& packet = packetInFlight();
  if (packet.code == 0) {
    if (!sendRing().take(packet.bytes, packet.length)) return false;
    packet.retryCount = 0;
    sendInFlight(packet, now);
    return true;
  }
  if (now < packet.sentTime) packet.sentTime = now;  // the clock was set back
  auto waited = now - packet.sentTime;
  if (packet.code == 'F') {
    if (waited >= kBusSendTimeout) replaceBusSendByPoll(packet, now);
    return true;
  }
  if (waited >= timeoutOf(packet.code)) retryOrGiveUp(packet, now);
  return true;
}

}  // namespace tramsoll
