#include "vexa5_adapter.h"

#include <algorithm>

namespace adaptersim {

namespace {

constexpr std::size_t kLongestPacket = 300;
constexpr std::size_t kBlockBytes = 16;
constexpr std::size_t kMostBoardBytes = 240;
constexpr uint8_t kAck = 0x06;

std::string hexName(const uint8_t* bytes, std::size_t count) {
  return hexText(Bytes(bytes, bytes + count), false);
}

std::string textName(const uint8_t* bytes, std::size_t count) {
  std::string name(reinterpret_cast<const char*>(bytes), count);
  return name.substr(0, name.find('\0'));
}

Bytes resized(Bytes bytes, std::size_t size) {
  bytes.resize(size, 0);
  return bytes;
}

// Frame bytes inside an adapter packet are sent as (byte, attribute) pairs.
Bytes pairsOf(const Bytes& frame) {
  Bytes pairs;
  for (uint8_t b : frame) pairs.insert(pairs.end(), {b, 0x00});
  return pairs;
}

}  // namespace

Bytes Vexa5Adapter::busFramePacket(const Bytes& frame, uint8_t status) {
  Bytes pairs = pairsOf(frame);
  Bytes body{'E', static_cast<uint8_t>(pairs.size() + 1)};
  append(body, pairs);
  body.push_back(status);
  return framePacket(body);
}

// Total length of the packet in the buffer as far as its first bytes tell;
// 0 while only its ETX can end it.
int Vexa5Adapter::expectedLength() const {
  const std::size_t n = buffer_.size();
  switch (buffer_[1]) {
    case 'Z':
    case 'A':
      return 4;
    case 'S':
      if (n < 3) return 0;
      return buffer_[2] == 'D' ? 10 : buffer_[2] == 'P' ? 5 : buffer_[2] == 'S' ? 13 : 0;
    case 'D':
      return n < 3 ? 0 : buffer_[2] + 5;
    case 'F':
      // The bus frame's own length byte (frame byte 4) tells its size.
      return n < 7 ? 0 : buffer_[6] + 6 + 4;
    default:
      return 6;  // a parameter request: letter and two characters
  }
}

void Vexa5Adapter::feed(uint8_t byte, std::vector<ReceivedPacket>& packets, std::vector<Answer>& answers) {
  if (buffer_.empty() && byte != kStx) {
    packets.push_back({{byte}, false, "stray byte"});
    return;
  }
  buffer_.push_back(byte);
  if (buffer_.size() < 2) return;
  if (buffer_.size() > kLongestPacket) {
    packets.push_back({buffer_, false, "too long, dropped"});
    buffer_.clear();
    return;
  }
  int expected = expectedLength();
  bool done = expected > 0 ? static_cast<int>(buffer_.size()) >= expected
                           : byte == kEtx && xorOf(buffer_, 0, buffer_.size() - 1) == 0;
  if (done) complete(packets, answers);
}

void Vexa5Adapter::complete(std::vector<ReceivedPacket>& packets, std::vector<Answer>& answers) {
  Bytes packet;
  packet.swap(buffer_);
  ReceivedPacket received{packet, false, ""};
  if (packet.back() != kEtx) {
    received.note = "no ETX";
  } else if (xorOf(packet, 0, packet.size() - 1) != 0) {
    received.note = "bad check byte";
  } else {
    received.good = true;
    answer(packet, received, answers);
  }
  packets.push_back(received);
}

Answer Vexa5Adapter::statusAnswer() const {
  int mode = reportedMode_ >= 0 ? reportedMode_ : mode_;
  int switches = switches_ >= 0 ? switches_ : scenario_.switches;
  Bytes body{'Z', static_cast<uint8_t>(mode), 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(switches & 0x03),
             static_cast<uint8_t>(scenario_.value), 0, 0};
  return {framePacket(body), 0, false, "status"};
}

void Vexa5Adapter::answer(const Bytes& packet, ReceivedPacket& received, std::vector<Answer>& answers) {
  const uint8_t letter = packet[1];
  if (letter == 'Z') {
    received.note = "status poll";
    answers.push_back(statusAnswer());
    return;
  }
  if (letter == 'A') {
    received.note = "sensor-input request";
    Bytes body{'A'};
    append(body, scenario_.logger);
    answers.push_back({framePacket(body), 0, false, "sensor data"});
    return;
  }
  if (letter == 'S') {
    static const char* const kNotes[] = {"", "start bus monitoring", "parameter mode", "one-unit connection"};
    mode_ = packet[2] == 'D' ? 1 : packet[2] == 'P' ? 2 : packet[2] == 'S' ? 3 : mode_;
    received.note = kNotes[mode_];
    answers.push_back({framePacket({'S'}), 0, false, "acknowledge"});
    return;
  }
  if (letter == 'F') {
    received.note = "bus send";
    if (mode_ != 1) {
      received.note += ", not in bus mode: no answer";
      return;
    }
    answers.push_back({framePacket({'F'}), 0, false, "bus send accepted"});
    received.busFrame.assign(packet.begin() + 2, packet.end() - 2);
    answers.push_back({busFramePacket(received.busFrame, scenario_.echoStatus), scenario_.echoDelayMs, true, "echo"});
    return;
  }
  if (letter == 'D') {
    Answer reply;
    received.note = "board request";
    if (mode_ != 3) {
      received.note += ", not in one-unit mode: no answer";
      return;
    }
    std::string note;
    if (boardAnswer(packet, reply, note)) answers.push_back(reply);
    received.note += note;
    return;
  }
  if ((letter == 'B' || letter == 'C') && packet.size() == 6) {
    std::string key{static_cast<char>(letter), '-', static_cast<char>(packet[2]), static_cast<char>(packet[3])};
    received.note = "parameter request " + key;
    if (mode_ != 2) {
      received.note += ", not in parameter mode: no answer";
      return;
    }
    auto found = scenario_.params.find(key);
    Bytes block = resized(found == scenario_.params.end() ? Bytes{} : found->second, kBlockBytes);
    Bytes body{letter};
    for (uint8_t b : block) appendHex(body, b);
    answers.push_back({framePacket(body), 0, false, "parameter block " + key});
    return;
  }
  received.note = "unknown request: no answer";
}

int Vexa5Adapter::boardKindOf(const Bytes& packet) const {
  if (scenario_.boardKind) return scenario_.boardKind;
  const uint8_t n = packet[2];
  const uint8_t* d = packet.data() + 3;
  if (n == 9 && d[0] == 'M' && d[1] == 'R') return 8;
  if (n == 5 && d[0] == kStx && d[1] == 'R') return 9;
  if (n == 9 && d[0] == kStx && d[1] == 'X' && d[2] == 'E') return 10;
  if (n == 1) return 11;
  if (n == 9 && d[0] == kStx) return 12;
  if (n == 3 && d[0] == 1) return 14;
  if (n >= 2 && d[0] == n - 1) return 13;
  return 0;
}

// Checks the request for the board inside a 'D' packet and builds the
// board's answer from the scenario's data for the block.
bool Vexa5Adapter::boardAnswer(const Bytes& packet, Answer& out, std::string& note) const {
  const int kind = boardKindOf(packet);
  const std::size_t n = packet[2];
  if (packet.size() != n + 5) return false;
  const uint8_t* d = packet.data() + 3;
  Bytes inner(d, d + n);
  std::string name;
  bool intact = true;
  switch (kind) {
    case 8:
      name = textName(d + 2, 4);
      intact = n == 9 && hexDigit(static_cast<char>(d[6])) * 16 + hexDigit(static_cast<char>(d[7])) ==
                             static_cast<uint8_t>(~sumOf(inner, 0, 6)) && d[8] == 0x0D;
      break;
    case 9:
      name = textName(d + 2, 1);
      intact = n == 5 && d[3] == sumOf(inner, 1, 3) && d[4] == kEtx;
      break;
    case 10:
      name = textName(d + 3, 4);
      intact = n == 9 && d[7] == sumOf(inner, 1, 7) && d[8] == kEtx;
      break;
    case 11:
      name = hexName(d, 1);
      break;
    case 12:
      name = textName(d + 1, 6);
      intact = n == 9 && d[7] == sumOf(inner, 1, 7) && d[8] == kEtx;
      break;
    case 13:
      name = hexName(d + 1, n - 2);
      intact = static_cast<uint8_t>(sumOf(inner, 0, n - 1) + d[n - 1]) == 0xFF;
      break;
    case 14:
      name = hexName(d + 1, 2);
      intact = n == 3;
      break;
    default:
      note = ", kind unknown: no answer";
      return false;
  }
  note = " kind " + std::to_string(kind) + " block '" + name + "'";
  if (!intact) {
    note += ", bad inner check: no answer";
    return false;
  }
  auto found = scenario_.board.find(name);
  Bytes data = found == scenario_.board.end() ? Bytes(kBlockBytes, 0) : found->second;
  if (data.size() > kMostBoardBytes) data.resize(kMostBoardBytes);
  Bytes reply;
  switch (kind) {
    case 8: {
      for (uint8_t b : resized(data, kBlockBytes)) appendHex(reply, b);
      appendHex(reply, static_cast<uint8_t>(0xFF - sumOf(reply, 0, reply.size())));
      reply.push_back(0x0D);
      break;
    }
    case 9:
      reply = {kStx, 'R', static_cast<uint8_t>(data.size()), static_cast<uint8_t>(name.empty() ? 0 : name[0])};
      append(reply, data);
      reply.push_back(sumOf(reply, 2, reply.size()));
      reply.push_back(kEtx);
      break;
    case 10:
      if (data.empty()) data.push_back(0);
      reply = {kStx, 'X', 'E', static_cast<uint8_t>(data.size())};
      append(reply, data);
      reply.push_back(sumOf(reply, 2, reply.size()));
      reply.push_back(kEtx);
      break;
    case 12:
      reply = {kStx, kAck};
      append(reply, data);
      reply.push_back(sumOf(reply, 2, reply.size()));
      reply.push_back(kEtx);
      break;
    case 13:
      reply = {kAck};
      append(reply, data);
      reply.push_back(static_cast<uint8_t>(0xFF - sumOf(reply, 0, reply.size())));
      break;
    default:  // 11 and 14: the board's bytes as they are
      reply = resized(data, std::max<std::size_t>(data.size(), kind == 14 ? 4 : 1));
      break;
  }
  Bytes body{'D', static_cast<uint8_t>(reply.size())};
  append(body, reply);
  out = {framePacket(body), 0, false, "board answer" + note};
  return true;
}

}  // namespace adaptersim
