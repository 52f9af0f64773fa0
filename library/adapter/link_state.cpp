#include "adapter/link_state.h"

#include "adapter/send_ring.h"

namespace tramsoll {

PacketInFlight& packetInFlight() {
  static PacketInFlight packet;
  return packet;
}

ReceiveAssembly& receiveAssembly() {
  static ReceiveAssembly assembly;
  return assembly;
}

void clearLinkState() {
  receiveAssembly().reset();
  sendRing().reset();
  PacketInFlight& packet = packetInFlight();
  packet.code = 0;
  packet.sentTime = {};
  packet.retryCount = 0;
  packet.requestAccepted = false;
}

}  // namespace tramsoll
