// Command packets of the Plus adapter.
#include <cstring>
#include <span>

#include "adapter/plus.h"
#include "adapter/send_ring.h"

namespace tramsoll {

namespace {

constexpr uint8_t kCommandStartStop = 0x20;
constexpr uint8_t kCommandStatus = 0x21;
constexpr uint8_t kCommandBusSend = 0x24;
constexpr int kHeadLength = 3;  // code, function, length
// The most frame bytes one packet carries: head and check byte around them.
constexpr int kMostFrameBytes = kPacketSize - kHeadLength - 1;

// Appends the check byte over bytes 0..end-1; answers the length.
int finishPacket(std::span<uint8_t> packet, int end) {
  packet[end] = checkByte(packet.data(), 0, end - 1);
  return end + 1;
}

}  // namespace

int buildPlusStartStop(int a, std::span<uint8_t, kPlusStartStopLength> out) {
  const uint8_t head[6] = {kCommandStartStop, static_cast<uint8_t>(a + 5), 0x03, static_cast<uint8_t>(a), 0x00, 0x00};
  std::memcpy(out.data(), head, sizeof head);
  return finishPacket(out, 6);
}

int buildPlusStatusPoll(std::span<uint8_t, kPacketSize> out) {
  out[0] = kCommandStatus;
  out[1] = plus::kStatusPoll;
  out[2] = 0x00;
  return finishPacket(out, 3);
}

bool queuePlusStart() {
  uint8_t packet[kPlusStartStopLength];
  return sendRing().put(packet, buildPlusStartStop(1, packet));
}

bool queuePlusStatusPoll() {
  uint8_t packet[kPacketSize];
  return sendRing().put(packet, buildPlusStatusPoll(packet));
}

bool queuePlusBusSend(const uint8_t* frame, int length) {
  if (!frame || length < 0) return false;
  // Too long for a slot: the ring refuses it by its length alone.
  if (length > kMostFrameBytes) return sendRing().put(frame, length + kHeadLength + 1);
  uint8_t packet[kPacketSize] = {kCommandBusSend, plus::kBusSend, static_cast<uint8_t>(length)};
  std::memcpy(packet + kHeadLength, frame, static_cast<std::size_t>(length));
  return sendRing().put(packet, finishPacket(packet, kHeadLength + length));
}

}  // namespace tramsoll
