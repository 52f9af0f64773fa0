#include "adapter/packet_scheduler.h"

#include <cstdio>
#include <cstring>

#include "adapter/link_state.h"
#include "adapter/send_ring.h"
#include "adapter/serial_port.h"
#include "base/clock.h"
#include "base/debug_ring.h"
#include "base/status_words.h"

namespace tramsoll {

namespace {

using std::chrono::milliseconds;
using TimePoint = std::chrono::steady_clock::time_point;

constexpr int kMostRetries = 5;
constexpr milliseconds kBusSendTimeout{500};

// Writes the packet in flight and starts its time-out; a failed write is
// left to the time-out to try again.
void sendInFlight(PacketInFlight& packet, TimePoint now) {
  writePacketInFlight();
  packet.code = packet.bytes[1];
  packet.requestAccepted = false;
  packet.sentTime = now;
}

void replaceBusSendByPoll(const SchedulerRules& rules, PacketInFlight& packet, TimePoint now) {
  if (packet.requestAccepted) {
    traceMessage("Q7 Send Echo-back Timeout");
    logLine("AdpComm : Q7 Echo Timeout at E-cmd (%02X)", packet.bytes[7]);
  } else {
    traceMessage("Q7 Send Request Timeout");
    putDebugMessage("AdpComm : Q7 Send Timeout for F-cmd");
  }
  std::memset(packet.bytes, 0, sizeof packet.bytes);
  packet.length = rules.buildStatusPoll(std::span<uint8_t, kPacketSize>(packet.bytes, kPacketSize));
  packet.retryCount = 0;
  sendInFlight(packet, now);
}

void retryOrGiveUp(PacketInFlight& packet, TimePoint now) {
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

bool runScheduler(const SchedulerRules& rules) {
  TimePoint now = clock().steadyNow();
  PacketInFlight& packet = packetInFlight();
  if (packet.code == 0) {
    if (!sendRing().take(packet.bytes, packet.length)) return false;
    packet.retryCount = 0;
    sendInFlight(packet, now);
    return true;
  }
  if (now < packet.sentTime) packet.sentTime = now;  // the clock was set back
  auto waited = now - packet.sentTime;
  if (packet.code == rules.busSendCode) {
    if (waited >= kBusSendTimeout) replaceBusSendByPoll(rules, packet, now);
    return true;
  }
  if (waited >= rules.timeoutOf(packet.code)) retryOrGiveUp(packet, now);
  return true;
}

}  // namespace tramsoll
