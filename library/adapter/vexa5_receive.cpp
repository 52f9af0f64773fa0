// Answers of the Vexa5 adapter: the receive framer assembles checked packets
// from the serial bytes, and the dispatcher hands each to its consumer.
#include <algorithm>
#include <cstring>

#include "adapter/check_bytes.h"
#include "adapter/consumers.h"
#include "adapter/link_state.h"
#include "adapter/send_ring.h"
#include "adapter/serial_port.h"
#include "adapter/vexa5.h"
#include "base/clock.h"
#include "base/debug_ring.h"
#include "base/kinds.h"
#include "base/status_words.h"
#include "store/recv_ring.h"

namespace tramsoll {

namespace {

// ---- Receive framer ----

constexpr int kStatusPacketLength = 15;

bool hasLengthByte(uint8_t code) { return code == 'D' || code == 'E' || code == 'Z'; }
bool endsAtEtx(uint8_t code) {
  return code == 'A' || code == 'S' || code == 'B' || code == 'C' || code == 'F';
}

void dropAsUseless(ReceiveAssembly& a) {
  traceLink('U', 0, a.bytes, a.count);
  setBits(errLine, line::kStrayByte);
  a.reset();
}

// Ends one packet: checks it and hands out the answer without STX, check
// byte and ETX. A length-coded packet without ETX is still used.
bool completePacket(ReceiveAssembly& a, bool lengthCoded, uint8_t* answer, int& length) {
  uint8_t last = a.bytes[a.count - 1];
  if (lengthCoded && last != kEtx) {
    logLine("AdpComm : COM Port Not ETX char (0x%02X)", last);
    setBits(errLine, line::kNoEtx);
  }
  if (checkByte(a.bytes, 0, a.count - 2) != 0) {
    putDebugMessage("AdpComm : COM Port BCC Error");
    traceLink('B', 0, a.bytes, a.count);
    setBits(errLine, line::kCheckByte);
    a.reset();
    return false;
  }
  length = a.count - 3;
  std::memcpy(answer, a.bytes + 1, static_cast<std::size_t>(length));
  traceLink('R', 0, a.bytes, a.count);
  a.reset();
  return true;
}

using Step = FramerStep;

Step takeByte(ReceiveAssembly& a, uint8_t byte, uint8_t* answer, int& length) {
  if (a.count >= kPacketSize) {
    putDebugMessage("AdpComm : Recv-Packet length over buffer");
    traceLink('U', 0, a.bytes, kPacketSize);
    a.reset();
    return Step::More;
  }
  a.bytes[a.count++] = byte;
  if (a.count == 1) {
    if (byte != kStx) dropAsUseless(a);
    return Step::More;
  }
  if (a.count == 2) {
    a.code = byte;
    return Step::More;
  }
  if (a.code == 0) {
    logLine("AdpComm : Useless charactor %02Xh", byte);
    dropAsUseless(a);
    return Step::More;
  }
  if (hasLengthByte(a.code)) {
    if (a.count == 3) a.expected = a.code == 'Z' ? kStatusPacketLength : byte + 5;
    if (a.count < a.expected) return Step::More;
    return completePacket(a, true, answer, length) ? Step::Answer : Step::Failed;
  }
  if (endsAtEtx(a.code)) {
    if (byte != kEtx) return Step::More;
    return completePacket(a, false, answer, length) ? Step::Answer : Step::Failed;
  }
  logLine("AdpComm : Unknown Command (%02Xh)", a.code);
  traceLink('U', 0, a.bytes, a.count);
  a.reset();
  return Step::More;
}

// ---- Dispatcher ----

constexpr int kHexBlockChars = 32;

// Copies `count` answer bytes from `from` on into a zeroed snapshot, never
// more than the answer holds.
void copyAnswer(const uint8_t* answer, int length, int from, uint8_t* data) {
  std::memset(data, 0, kSnapshotBytes);
  int count = std::min(length - from, kSnapshotBytes);
  if (from < length && count > 0) std::memcpy(data, answer + from, static_cast<std::size_t>(count));
}

void hexToBytes(const uint8_t* text, int pairs, uint8_t* out) {
  for (int i = 0; i < pairs; ++i) out[i] = hexToByte(static_cast<char>(text[2 * i]), static_cast<char>(text[2 * i + 1]));
}

void bytesToHex(const uint8_t* bytes, int count, char* out) {
  for (int i = 0; i < count; ++i) byteToHex(bytes[i], out + 2 * i);
}

void storeUnderKey(const char* key, std::time_t now, const uint8_t* data) {
  uint8_t extra[kExtraBytes] = {};
  std::memcpy(extra, key, strnlen(key, kExtraBytes));
  liveDataSink().storeByKey(0, 0, 0, key, now, extra, data);
}

void handleSensorData(const uint8_t* answer, int length, std::time_t now) {
  packetInFlight().clearIfCode('A');
  uint8_t extra[kExtraBytes] = {'A'};
  uint8_t data[kSnapshotBytes];
  copyAnswer(answer, length, 1, data);
  liveDataSink().storeByNumber(200, 0, 0, 0, now, extra, data);
}

void handleParameterBlock(const uint8_t* answer, int length, std::time_t now) {
  PacketInFlight& packet = packetInFlight();
  // Only the answer to the request in flight is filed; a late answer to a
  // request that timed out would land under the next request's key.
  if (packet.code != answer[0]) return;
  packet.code = 0;
  if (length < 1 + kHexBlockChars) return;
  const char key[8] = {static_cast<char>(packet.bytes[1]), '-', static_cast<char>(packet.bytes[2]),
                       static_cast<char>(packet.bytes[3])};
  uint8_t data[kSnapshotBytes] = {};
  hexToBytes(answer + 1, kHexBlockChars / 2, data);
  storeUnderKey(key, now, data);
}

// The sum rule of the board answers: bytes 4 .. (length byte - 1) add up to
// byte (length byte).
bool sumRuleHolds(const uint8_t* answer, int lengthByte) {
  return sumBytes(answer, 4, lengthByte - 1) == answer[lengthByte];
}

// Checks a board answer by unit kind and works out its key and where its
// data begin; false drops the answer.
bool readBoardAnswer(int unitKind, const uint8_t* answer, const PacketInFlight& packet, char* key, int& from) {
  const int n = answer[1];
  const char* sent = reinterpret_cast<const char*>(packet.bytes);
  switch (unitKind) {
    case rowkind::kSL: {
      if (n != 35) return false;
      uint8_t check = hexToByte(static_cast<char>(answer[34]), static_cast<char>(answer[35]));
      if (static_cast<uint8_t>(sumBytes(answer, 2, 33) + check) != 0xFF) return false;
      std::memcpy(key, sent + 5, 4);
      from = 2;
      return true;
    }
    case rowkind::kSR:
      if (n < 6 || !sumRuleHolds(answer, n)) return false;
      key[0] = static_cast<char>(answer[5]);
      from = 6;
      return true;
    case rowkind::kSX:
      if (n < 7 || !sumRuleHolds(answer, n)) return false;
      std::memcpy(key, sent + 6, 4);
      from = 6;
      return true;
    case rowkind::kSK:
      if (n < 1) return false;
      byteToHex(packet.bytes[3], key);
      from = 2;
      return true;
    case rowkind::kSH:
      if (n < 4 || !sumRuleHolds(answer, n)) return false;
      std::memcpy(key, sent + 4, 6);
      from = 4;
      return true;
    case rowkind::kSA: {
      if (n < 2 || answer[2] == 0x15 || sumBytes(answer, 2, n + 1) != 0xFF) return false;
      // The key holds 7 characters: at most 3 request bytes as hexadecimal.
      int m = std::clamp(packet.bytes[3] - 1, 0, 3);
      bytesToHex(packet.bytes + 4, m, key);
      from = 2;
      return true;
    }
    case rowkind::kSQ:
      if (n < 4) return false;
      bytesToHex(packet.bytes + 4, 2, key);
      from = 2;
      return true;
    default:
      return false;
  }
}

void handleBoardAnswer(const uint8_t* answer, int length, std::time_t now) {
  PacketInFlight& packet = packetInFlight();
  if (packet.code != 'D') return;
  packet.code = 0;
  // Every check below reads up to the length byte and one past it.
  if (length < 2 || length < answer[1] + 2) return;
  char key[8] = {};
  int from = 0;
  if (!readBoardAnswer(startUnitKind(), answer, packet, key, from)) return;
  uint8_t data[kSnapshotBytes];
  if (startUnitKind() == rowkind::kSL) {
    std::memset(data, 0, sizeof data);
    hexToBytes(answer + from, kHexBlockChars / 2, data);
  } else {
    copyAnswer(answer, length, from, data);
  }
  storeUnderKey(key, now, data);
}

void handleAdapterStatus(const uint8_t* answer) {
  packetInFlight().clearIfCode('Z');
  uint8_t mode = answer[1];
  uint32_t kind = startCommandKind();
  // An adapter that lost its mode (power cut, reset) is started again.
  bool wrongMode = ((kind & start::kBusMonitoring) && mode != 1) || ((kind & start::kParameterMode) && mode != 2) ||
                   ((kind & start::kOneUnit) && mode != 3);
  if (wrongMode) requeueStartCommand();
  adapterStatusSink().keepAdapterStatus(answer[8] & 0x1, (answer[8] >> 1) & 0x1, answer[9]);
}

bool isEchoOfBusSend(const BusFrameRecord& record, const PacketInFlight& packet) {
  uint8_t low = record.status & 0x07;
  bool finalState = low == 6 || low == 7;
  if ((record.status & 0x20) && finalState) return true;
  bool same = std::memcmp(record.data, packet.bytes + 2, 6) == 0;
  return same && (!(record.status & 0x08) || finalState);
}

void handleBusFrame(const uint8_t* answer, int length, std::time_t now) {
  if (length < 3) return;  // no room for a status byte
  BusFrameRecord record{};
  int pairs = std::min((length - 3) / 2, kBusFrameBytes);
  for (int i = 0; i < pairs; ++i) {
    record.data[i] = answer[2 + 2 * i];
    record.attributes[i] = answer[3 + 2 * i];
  }
  record.time = static_cast<int32_t>(now);
  record.count = static_cast<int16_t>(pairs);
  record.status = answer[length - 1];
  PacketInFlight& packet = packetInFlight();
  if (packet.code == 'F' && isEchoOfBusSend(record, packet)) packet.code = 0;
  recvRingPut(record);
}

void dispatchAnswer(const uint8_t* answer, int length, std::time_t now) {
  switch (answer[0]) {
    case 'A':
      handleSensorData(answer, length, now);
      break;
    case 'S':
      packetInFlight().clearIfCode('S');
      break;
    case 'B':
    case 'C':
      handleParameterBlock(answer, length, now);
      break;
    case 'D':
      handleBoardAnswer(answer, length, now);
      break;
    case 'E':
      handleBusFrame(answer, length, now);
      break;
    case 'F':
      if (packetInFlight().code == 'F') packetInFlight().requestAccepted = true;
      break;
    case 'Z':
      handleAdapterStatus(answer);
      break;
    default:
      break;
  }
}

}  // namespace

bool vexa5ReceivePacket(uint8_t* answer, int& length) { return readAnswer(takeByte, answer, length); }

void vexa5Dispatch() {
  std::time_t now = clock().systemNow();
  uint8_t answer[kPacketSize];
  int length = 0;
  while (vexa5ReceivePacket(answer, length)) dispatchAnswer(answer, length, now);
}

}  // namespace tramsoll
