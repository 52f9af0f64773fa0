// The bus engine's state, its commands and what it reports.
#include "q7/q7_engine.h"

#include <chrono>
#include <cstring>

#include "base/clock.h"

namespace tramsoll {

Q7Engine& busEngine() {
  static Q7Engine engine;
  return engine;
}

int64_t Q7Engine::now() const {
  return std::chrono::duration_cast<std::chrono::seconds>(clock().steadyNow().time_since_epoch()).count();
}

void Q7Engine::initialise(int32_t startArgument) {
  config_ = (static_cast<uint32_t>(startArgument) & kConfigGroups) | kConfigDetail | kConfigDetail2;
  state_ = q7state::kListening;
  std::memset(classes_, 0, sizeof classes_);
  std::memset(addresses_, 0, sizeof addresses_);
  std::memset(firstGroups_, 0, sizeof firstGroups_);
  std::memset(secondGroups_, 0, sizeof secondGroups_);
  std::memset(settingAnswers_, 0, sizeof settingAnswers_);
  queue_.clear();
  pollTime_ = cycleTime_ = detailTime_ = detailATime_ = detailBTime_ = kNever;
  startupBroadcastTime_ = startupAnswerTime_ = groupSendTime_ = kNever;
}

int32_t Q7Engine::send(const Q7Frame& frame) { return queue_.put({frame.bytes, frame.length}); }

int32_t Q7Engine::nextFrame(uint8_t out[kQ7FrameBytes], int32_t& length) { return queue_.take(out, length); }

// The 0x40 frame that tells a unit the central state; its byte 15 is the
// control byte last commanded, unless a station of a lower class rules.
int32_t Q7Engine::sendCentralState(uint8_t address) {
  Q7Frame frame = commandFrame(q7type::kCentralState, address);
  frame.bytes[6] = 0x02;
  if (!(state_ & q7state::kLowerStation)) frame.bytes[15] = addresses_[address].data[kControlByte];
  sealFrame(frame);
  return send(frame);
}

void Q7Engine::restartCycle(int64_t at) {
  cycleTime_ = at;
  for (AddressState& entry : addresses_) entry.flags &= ~(kSeen | kQueried);
}

int32_t Q7Engine::unitSettingSend(int32_t command, int32_t address, int32_t setting, int32_t value) {
  const auto a = static_cast<uint8_t>(address);
  const auto n = static_cast<uint8_t>(setting);
  const auto v = static_cast<uint16_t>(value);
  if (command == 230) return send(settingRequestFrame(a, n, v));
  if (command == 232) return send(settingChangeFrame(a, n, v));
  return 0;
}

int32_t Q7Engine::settingSendState(int32_t address) const {
  if (address < 0 || address >= kQ7Addresses) return 0;
  return settingAnswers_[address] & 0x03 ? 1 : 0;
}

int32_t Q7Engine::centralCommand(uint8_t address, uint32_t commandBits, uint8_t mode, float setPoint) {
  Q7Frame frame = commandFrame(q7type::kCommand, address);
  int32_t refusal = 0;
  const bool forcedStop = state_ & q7state::kForcedStop;
  if (!(addresses_[address].flags & kAnswered)) refusal |= q7refuse::kRefused;
  if (commandBits & q7cmd::kRunStopGiven) {
    const bool run = commandBits & q7cmd::kRun;
    frame.bytes[6] = run ? 3 : 2;
    if (run && forcedStop) refusal |= q7refuse::kForcedStop;
    if (state_ & q7state::kRunStopLocked) refusal |= q7refuse::kRunStopLocked;
  }
  if (commandBits & q7cmd::kModeGiven) {
    frame.bytes[7] = static_cast<uint8_t>(mode | 0x10);
    if (forcedStop) refusal |= q7refuse::kForcedStop;
  }
  if (commandBits & q7cmd::kSetPointGiven) {
    SetPointBytes bytes = encodeSetPoint(setPoint);
    frame.bytes[11] = bytes.whole;
    frame.bytes[12] = bytes.tenths;
    if (forcedStop) refusal |= q7refuse::kForcedStop;
  }
  if (commandBits & q7cmd::kControlGiven) {
    frame.bytes[15] = (commandBits & q7cmd::kControlRelease) ? 0x80 : 0xC1;
    if (forcedStop) refusal |= q7refuse::kForcedStop;
    if (state_ & q7state::kLowerStation) return refusal | q7refuse::kLowerStation;
  }
  if (refusal) return refusal;
  sealFrame(frame);
  int32_t result = send(frame);
  // A refused or lost command leaves the kept control byte as it was.
  if (result == 0 && (commandBits & q7cmd::kControlGiven)) addresses_[address].data[kControlByte] = frame.bytes[15];
  return result;
}

Q7AddressView Q7Engine::viewOf(int address) const {
  const AddressState& entry = addresses_[address];
  const uint8_t* d = entry.data;
  Q7AddressView view{};
  const bool detailKind = entry.flags & (kDetailUnit | kDetail2Unit);
  view.unitWord = (detailKind ? 2u : 1u) | ((classes_[address].flags & kClassHeard) ? 0x08u : 0u);
  if (entry.flags & kAnswered) view.flags |= q7view::kAnswered;
  if (entry.flags & kPending) view.flags |= q7view::kPending;
  if (entry.flags & kStatusHeard) view.flags |= q7view::kStatusHeard;
  if (d[kRunState] & 0x01) view.flags |= q7view::kRunning;
  if (d[kMode] & 0x01) view.flags |= q7view::kModeBit;
  if ((d[kStatus] & 0x07) <= 1) view.flags |= q7view::kStatusLow;
  if (d[kErrorFlag] & 0x40) view.flags |= q7view::kErrorFlag6;
  int modeValue = 0;
  if (entry.flags & kDetailUnit) modeValue = modeValueKind9(d[kModeFirst], d[kModeSecond]);
  if (entry.flags & kDetail2Unit) modeValue = modeValueKind11(d[kModeFirst], d[kModeSecond]);
  view.flags |= static_cast<uint32_t>(modeValue) << q7view::kModeValueShift;
  view.setPoint = decodeSetPoint(d[kSetWhole], d[kSetTenths]);
  view.mode = d[kMode] & 0x0F;
  errorCodeText(d[kErrorCode], d[kErrorFlag], view.errorText);
  return view;
}

void Q7Engine::allAddresses(Q7AllAddresses& out) const {
  for (int a = 0; a < kQ7Addresses; ++a) out.address[a] = viewOf(a);
  out.stateBits = state_ & (q7state::kLowerStation | q7state::kForcedStop | q7state::kRunStopLocked);
}

namespace {

// Bits 2-3 of an address's control word: 2 while a unit that answered has
// sent no status yet, so that nobody takes its zeros for a stopped unit.
unsigned runStateWord(uint32_t viewFlags) {
  if ((viewFlags & q7view::kAnswered) && !(viewFlags & q7view::kStatusHeard)) return 2;
  if (!(viewFlags & q7view::kRunning)) return 0;
  return (viewFlags & q7view::kModeBit) ? 3 : 1;
}

}  // namespace

void Q7Engine::controlInfo(Q7ControlInfo& out) const {
  for (int a = 0; a < kQ7Addresses; ++a) {
    const uint32_t flags = viewOf(a).flags;
    unsigned presence = (flags & q7view::kPending) ? 3 : (flags & q7view::kAnswered) ? 1 : 0;
    unsigned run = runStateWord(flags);
    out.word[a] = static_cast<uint8_t>(presence | run << 2);
  }
  out.header = ((state_ & q7state::kLowerStation) ? 0x01u : 0u) | ((state_ & q7state::kForcedStop) ? 0x02u : 0u);
}

int32_t Q7Engine::addressStatus(int32_t address, Q7AddressStatus& out) const {
  out = Q7AddressStatus{};
  if (address < 0 || address >= kQ7Addresses) return 1;
  const Q7AddressView view = viewOf(address);
  out.mode = view.mode;
  out.setPoint = view.setPoint;
  std::memcpy(out.errorText, view.errorText, sizeof out.errorText);
  out.pendingFlag = (view.flags & q7view::kPending) ? 1 : 0;
  out.runFlag = (view.flags & q7view::kRunning) ? 1 : 0;
  // Until a status arrives, mode, set point and run flag are zeros that
  // would read as a stopped unit set to 0.
  return (view.flags & q7view::kStatusHeard) ? 0 : 2;
}

}  // namespace tramsoll
