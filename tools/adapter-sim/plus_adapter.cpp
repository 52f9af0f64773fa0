#include "plus_adapter.h"

namespace adaptersim {

namespace {

// Command codes the adapter takes, and the function bytes inside them.
constexpr uint8_t kStartStop = 0x20;
constexpr uint8_t kStatus = 0x21;
constexpr uint8_t kBusSend = 0x24;
constexpr uint8_t kFnStart = 0x06;
constexpr uint8_t kFnStop = 0x05;
constexpr uint8_t kFnStatus = 0x15;
constexpr uint8_t kFnBusSend = 0x18;
// Answer codes: an acknowledgement, the status answer, a bus frame.
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kStatusAnswer = 0x15;
constexpr uint8_t kFrameAnswer = 0x80;
constexpr std::size_t kHead = 3;  // code, function, length

bool isCommandCode(uint8_t code) { return code == kStartStop || code == kStatus || code == kBusSend; }

}  // namespace

Bytes PlusAdapter::packet(const Bytes& head) {
  Bytes bytes = head;
  bytes.push_back(xorOf(bytes, 0, bytes.size()));
  return bytes;
}

Bytes PlusAdapter::busFramePacket(const Bytes& frame) {
  Bytes body{kFrameAnswer, 0x00, static_cast<uint8_t>(frame.size() + 2), 0x00, 0x00};
  append(body, frame);
  return packet(body);
}

Bytes PlusAdapter::unitFramePacket(const Bytes& frame, uint8_t) const { return busFramePacket(frame); }

void PlusAdapter::feed(uint8_t byte, std::vector<ReceivedPacket>& packets, std::vector<Answer>& answers) {
  if (buffer_.empty() && !isCommandCode(byte)) {
    packets.push_back({{byte}, false, "stray byte"});
    return;
  }
  buffer_.push_back(byte);
  if (buffer_.size() > kHead && buffer_.size() == buffer_[2] + kHead + 1) complete(packets, answers);
}

void PlusAdapter::complete(std::vector<ReceivedPacket>& packets, std::vector<Answer>& answers) {
  Bytes bytes;
  bytes.swap(buffer_);
  ReceivedPacket received{bytes, false, ""};
  if (xorOf(bytes, 0, bytes.size()) != 0) {
    received.note = "bad check byte";
  } else {
    received.good = true;
    answer(bytes, received, answers);
  }
  packets.push_back(received);
}

void PlusAdapter::answer(const Bytes& bytes, ReceivedPacket& received, std::vector<Answer>& answers) {
  const uint8_t code = bytes[0];
  const uint8_t function = bytes[1];
  if (code == kStartStop && (function == kFnStart || function == kFnStop)) {
    mode_ = function == kFnStart ? 1 : 0;
    received.note = mode_ ? "start bus monitoring" : "stop";
    answers.push_back({packet({kAck, function, 0x00}), 0, false, "acknowledge"});
    return;
  }
  if (code == kStatus && function == kFnStatus) {
    received.note = "status poll";
    uint8_t mode = static_cast<uint8_t>(reportedMode_ >= 0 ? reportedMode_ : mode_);
    answers.push_back({packet({kStatusAnswer, kFnStatus, 0x01, mode}), 0, false, "status"});
    return;
  }
  if (code == kBusSend && function == kFnBusSend) {
    received.note = "bus send";
    if (mode_ != 1) {
      received.note += ", not monitoring the bus: no answer";
      return;
    }
    received.busFrame.assign(bytes.begin() + kHead, bytes.end() - 1);
    answers.push_back({packet({kAck, kFnBusSend, 0x00}), 0, false, "bus send done"});
    return;
  }
  received.note = "unknown request: no answer";
}

}  // namespace adaptersim
