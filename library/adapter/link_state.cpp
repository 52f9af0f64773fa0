#include "adapter/link_state.h"

#include "adapter/send_ring.h"
#include "adapter/serial_port.h"

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

bool readAnswer(ByteFramer framer, uint8_t* answer, int& length) {
  length = 0;
  ReceiveAssembly& assembly = receiveAssembly();
  uint8_t byte = 0;
  while (readPortByte(byte)) {
    switch (framer(assembly, byte, answer, length)) {
      case FramerStep::Answer:
        return true;
      case FramerStep::Failed:
        return false;
      case FramerStep::More:
        break;
    }
  }
  return false;
}

}  // namespace tramsoll
