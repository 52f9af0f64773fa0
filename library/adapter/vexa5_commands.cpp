// Command packets of the Vexa5 adapter and the start command.
#include <cstdio>
#include <cstring>
#include <span>

#include "adapter/check_bytes.h"
#include "adapter/plus.h"
#include "adapter/send_ring.h"
#include "adapter/serial_port.h"
#include "adapter/vexa5.h"
#include "base/kinds.h"

namespace tramsoll {

namespace {

constexpr int kSsLength = 13;

struct StartCommandState {
  int adapterType = kAdapterVexa5;
  uint32_t startKind = 0;
  int unitKind = 0;
  uint8_t startBytes[kStartBytes] = {};
  uint16_t sequence = 0;  // kind 13: the sequence number the adapter holds
  uint8_t savedSs[kSsLength] = {};
  bool hasSavedSs = false;
};

StartCommandState& startState() {
  static StartCommandState state;
  return state;
}

// Appends the check byte over bytes 0..end-1 and the ETX; answers the length.
int finishPacket(std::span<uint8_t> packet, int end) {
  packet[end] = checkByte(packet.data(), 0, end - 1);
  packet[end + 1] = kEtx;
  return end + 2;
}

bool queueLetter(uint8_t letter) {
  uint8_t packet[4] = {kStx, letter};
  return sendRing().put(packet, finishPacket(packet, 2));
}

// Copies up to `width` characters of a block name; a short name is padded
// with zero bytes.
void copyName(const char* text, uint8_t* out, int width) {
  std::memset(out, 0, static_cast<std::size_t>(width));
  if (!text) return;
  for (int i = 0; i < width && text[i]; ++i) out[i] = static_cast<uint8_t>(text[i]);
}

int buildSs(std::span<const uint8_t, kStartBytes> startBytes, std::span<uint8_t, kSsLength> out) {
  out[0] = kStx;
  out[1] = 'S';
  out[2] = 'S';
  std::memcpy(out.data() + 3, startBytes.data(), kStartBytes);
  return finishPacket(out, 3 + kStartBytes);
}

// Kind 13 runs a sequence number through the adapter: when it moves on, the
// saved 'SS' command is sent again with the number as its last two start
// bytes, in lower-case hexadecimal.
void followSequence(int number) {
  StartCommandState& state = startState();
  uint16_t next = static_cast<uint16_t>((number + 1) & 0xFF);
  if (next == state.sequence) return;
  state.sequence = next;
  if (!state.hasSavedSs) return;
  uint8_t packet[kSsLength];
  std::memcpy(packet, state.savedSs, 9);
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02x", next);
  packet[9] = static_cast<uint8_t>(digits[0]);
  packet[10] = static_cast<uint8_t>(digits[1]);
  sendRing().put(packet, finishPacket(packet, 11));
}

int buildUnitRequest(int unitKind, const char* text, std::span<uint8_t, kPacketSize> packet) {
  uint8_t* p = packet.data();
  p[0] = kStx;
  p[1] = 'D';
  switch (unitKind) {
    case rowkind::kSL: {
      p[2] = 9;
      p[3] = 'M';
      p[4] = 'R';
      copyName(text, p + 5, 4);
      byteToHex(static_cast<uint8_t>(~sumBytes(p, 3, 8)), reinterpret_cast<char*>(p + 9));
      p[11] = 0x0D;
      return finishPacket(packet, 12);
    }
    case rowkind::kSR:
      p[2] = 5;
      p[3] = kStx;
      p[4] = 'R';
      copyName(text, p + 5, 1);
      p[6] = sumBytes(p, 4, 5);
      p[7] = kEtx;
      return finishPacket(packet, 8);
    case rowkind::kSX:
      p[2] = 9;
      p[3] = kStx;
      p[4] = 'X';
      p[5] = 'E';
      copyName(text, p + 6, 4);
      p[10] = sumBytes(p, 4, 9);
      p[11] = kEtx;
      return finishPacket(packet, 12);
    case rowkind::kSK: {
      uint8_t hex[2];
      copyName(text, hex, 2);
      p[2] = 1;
      p[3] = hexToByte(static_cast<char>(hex[0]), static_cast<char>(hex[1]));
      return finishPacket(packet, 4);
    }
    case rowkind::kSH:
      p[2] = 9;
      p[3] = kStx;
      copyName(text, p + 4, 6);
      p[10] = sumBytes(p, 4, 9);
      p[11] = kEtx;
      return finishPacket(packet, 12);
    case rowkind::kSA: {
      constexpr int kMostBytes = kPacketSize - 7;
      int m = text ? static_cast<int>(strnlen(text, 2 * kMostBytes)) / 2 : 0;
      p[2] = static_cast<uint8_t>(m + 2);
      p[3] = static_cast<uint8_t>(m + 1);
      for (int i = 0; i < m; ++i) p[4 + i] = hexToByte(text[2 * i], text[2 * i + 1]);
      p[4 + m] = static_cast<uint8_t>(~sumBytes(p, 3, 3 + m));
      return finishPacket(packet, 5 + m);
    }
    case rowkind::kSQ: {
      uint8_t hex[4];
      copyName(text, hex, 4);
      p[2] = 3;
      p[3] = 1;
      p[4] = hexToByte(static_cast<char>(hex[0]), static_cast<char>(hex[1]));
      p[5] = hexToByte(static_cast<char>(hex[2]), static_cast<char>(hex[3]));
      return finishPacket(packet, 6);
    }
    default:
      return 0;
  }
}

}  // namespace

int buildStatusPoll(std::span<uint8_t, kPacketSize> out) {
  out[0] = kStx;
  out[1] = 'Z';
  return finishPacket(out, 2);
}

bool queueStatusPoll() { return queueLetter('Z'); }

bool queueSensorRequest() { return queueLetter('A'); }

bool queueBusSend(const uint8_t* frame, int length) {
  if (!frame || length < 0) return false;
  // Too long for a slot: the ring refuses it by its length alone.
  if (length > kPacketSize - 4) return sendRing().put(frame, length + 4);
  uint8_t packet[kPacketSize] = {kStx, 'F'};
  std::memcpy(packet + 2, frame, static_cast<std::size_t>(length));
  return sendRing().put(packet, finishPacket(packet, 2 + length));
}

bool queueParameterRequest(const char* text) {
  uint8_t name[4];
  copyName(text, name, 4);
  uint8_t packet[6] = {kStx, name[0], name[2], name[3]};
  return sendRing().put(packet, finishPacket(packet, 4));
}

bool queueUnitRequest(int unitKind, const char* text, int number) {
  if (!isBoardKind(unitKind)) return false;
  if (unitKind == rowkind::kSA) followSequence(number);
  uint8_t packet[kPacketSize] = {};
  return sendRing().put(packet, buildUnitRequest(unitKind, text, packet));
}

int buildStopParameterMode(std::span<uint8_t, kVexa5StopLength> out) {
  out[0] = kStx;
  out[1] = 'S';
  out[2] = 'P';
  return finishPacket(out, 3);
}

void resetStartCommandState() { startState() = StartCommandState{}; }

int startUnitKind() { return startState().unitKind; }

uint32_t startCommandKind() { return startState().startKind; }

void requeueStartCommand() {
  StartCommandState kept = startState();
  queueStartCommand(kept.adapterType, kept.startKind, kept.unitKind, kept.startBytes);
}

void queueStartCommand(int adapterType, uint32_t startKind, int unitKind, const uint8_t* startBytes) {
  StartCommandState& state = startState();
  state = StartCommandState{};
  state.adapterType = adapterType;
  state.startKind = startKind;
  state.unitKind = unitKind;
  if (startBytes) std::memcpy(state.startBytes, startBytes, kStartBytes);
  sendRing().reset();

  // The Plus adapter has no parameter or one-unit mode: sending it Vexa5
  // packets would only time out again and again.
  if (adapterType == kAdapterPlus) {
    if (startKind & start::kBusMonitoring) queuePlusStart();
    return;
  }
  uint8_t packet[kPacketSize] = {};
  if (startKind & start::kBusMonitoring) {
    const uint8_t monitor[] = {kStx, 'S', 'D', '0', 'F', 'F', 'F', 'F'};
    std::memcpy(packet, monitor, sizeof monitor);
    sendRing().put(packet, finishPacket(packet, sizeof monitor));
  } else if (startKind & start::kParameterMode) {
    sendRing().put(packet, buildStopParameterMode(std::span(packet).first<kVexa5StopLength>()));
  } else if (startKind & start::kOneUnit) {
    uint8_t bytes[kStartBytes];
    std::memcpy(bytes, state.startBytes, kStartBytes);
    if (unitKind == rowkind::kSA) {
      bytes[6] = '0';
      bytes[7] = '4';
      state.sequence = 4;
    }
    int length = buildSs(bytes, std::span(packet).first<kSsLength>());
    if (unitKind == rowkind::kSA) {
      std::memcpy(state.savedSs, packet, kSsLength);
      state.hasSavedSs = true;
    }
    sendRing().put(packet, length);
    if (unitKind == rowkind::kSK) queueUnitRequest(rowkind::kSK, "01", 0);
  }
}

}  // namespace tramsoll
