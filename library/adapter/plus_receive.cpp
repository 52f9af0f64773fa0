// Answers of the Plus adapter: the receive framer assembles checked packets
// from the serial bytes, and the dispatcher hands each to its consumer.
#include <algorithm>
#include <cstring>

#include "adapter/check_bytes.h"
#include "adapter/consumers.h"
#include "adapter/link_state.h"
#include "adapter/plus.h"
#include "adapter/serial_port.h"
#include "base/clock.h"
#include "base/debug_ring.h"
#include "base/status_words.h"
#include "store/recv_ring.h"

namespace tramsoll {

namespace {

// ---- Receive framer ----

constexpr int kLengthByte = 2;
constexpr int kHeadAndCheck = 4;  // code, function, length, check byte

bool isAnswerCode(uint8_t code) {
  return code == plus::kAnswerAck || code == plus::kAnswerStatus || code == plus::kAnswerOther ||
         code == plus::kAnswerBusFrame;
}

// The code byte is checked as it arrives, so a stray byte costs only itself
// and the answer behind it is framed from its own first byte.
FramerStep takeByte(ReceiveAssembly& a, uint8_t byte, uint8_t* answer, int& length) {
  if (a.count >= kPacketSize) {
    putDebugMessage("AdpComm : Recv-Packet length over buffer");
    traceLink('U', 0, a.bytes, kPacketSize);
    a.reset();
    return FramerStep::More;
  }
  a.bytes[a.count++] = byte;
  if (a.count == 1) {
    if (isAnswerCode(byte)) {
      a.code = byte;
      return FramerStep::More;
    }
    logLine("AdpComm : Unknown Command (%02Xh)", byte);
    traceLink('U', 0, a.bytes, a.count);
    a.reset();
    return FramerStep::More;
  }
  if (a.count == kLengthByte + 1) a.expected = byte + kHeadAndCheck;
  if (a.count <= kLengthByte || a.count < a.expected) return FramerStep::More;

  if (checkByte(a.bytes, 0, a.count - 1) != 0) {
    putDebugMessage("AdpComm : COM Port BCC Error");
    traceLink('B', 0, a.bytes, a.count);
    setBits(errLine, line::kCheckByte);
    a.reset();
    return FramerStep::Failed;
  }
  length = a.count - 1;
  std::memcpy(answer, a.bytes, static_cast<std::size_t>(length));
  traceLink('R', 0, a.bytes, a.count);
  a.reset();
  return FramerStep::Answer;
}

// ---- Dispatcher ----

constexpr int kFrameStart = 5;  // answer bytes 3 and 4 come before the frame
constexpr uint8_t kPlusFrameStatus = 0x40;
// The adapter status the unit exports show: the Plus adapter has no sensor
// switches and reports no value of its own.
constexpr int kPlusStatusValue = 0x10;

void handleCommandAnswer(const uint8_t* answer) {
  PacketInFlight& packet = packetInFlight();
  switch (answer[1]) {
    case plus::kBusSend:
      // The adapter has put the frame on the bus: no echo is awaited.
      if (packet.code == plus::kBusSend) {
        packet.requestAccepted = true;
        packet.code = 0;
      }
      break;
    case plus::kStatusPoll:
      packet.clearIfCode(plus::kStatusPoll);
      adapterStatusSink().keepAdapterStatus(0, 0, kPlusStatusValue);
      break;
    case plus::kStart:
      packet.clearIfCode(plus::kStart);
      break;
    default:
      break;
  }
}

void handleBusFrame(const uint8_t* answer, int length, std::time_t now) {
  // An answer too short to hold the two bytes before the frame carries no
  // frame at all; it is dropped rather than copied with a negative count.
  int count = std::min(length - kFrameStart, kBusFrameBytes);
  if (count < 0) return;
  BusFrameRecord record{};
  std::memcpy(record.data, answer + kFrameStart, static_cast<std::size_t>(count));
  record.time = static_cast<int32_t>(now);
  record.count = static_cast<int16_t>(count);
  record.status = kPlusFrameStatus;
  recvRingPut(record);
}

void dispatchAnswer(const uint8_t* answer, int length, std::time_t now) {
  switch (answer[0]) {
    case plus::kAnswerAck:
    case plus::kAnswerStatus:
    case plus::kAnswerOther:
      handleCommandAnswer(answer);
      break;
    case plus::kAnswerBusFrame:
      handleBusFrame(answer, length, now);
      break;
    default:
      break;
  }
}

}  // namespace

bool plusReceivePacket(uint8_t* answer, int& length) { return readAnswer(takeByte, answer, length); }

void plusDispatch() {
  std::time_t now = clock().systemNow();
  uint8_t answer[kPacketSize];
  int length = 0;
  while (plusReceivePacket(answer, length)) dispatchAnswer(answer, length, now);
}

}  // namespace tramsoll
