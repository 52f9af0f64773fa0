#include "station_units.h"

#include <cstdlib>

namespace adaptersim {

namespace {

constexpr uint8_t kHead = 0x14;
constexpr uint8_t kPoll = 0x18;
constexpr uint8_t kUnitQuery = 0x13;
constexpr uint8_t kQuery = 0x50;
constexpr uint8_t kIdentity = 0x90;
constexpr uint8_t kStatus = 0x80;
constexpr uint8_t kCentralCommand = 0x40;
constexpr uint8_t kCommandType = 0xA5;
constexpr uint8_t kStateType = 0xA4;
constexpr uint8_t kSettingRequest = 0xE6;
constexpr uint8_t kSettingChange = 0xE8;
constexpr uint8_t kSettingType = 0x08;  // frame code 2 in bits 2-4
constexpr uint8_t kSettingHead = 0x08;
constexpr std::size_t kDetailBytes = 16;
constexpr std::size_t kCommandLength = 26;

bool isDetailQuery(uint8_t query) {
  return query == 0xD0 || query == 0xD1 || query == 0xD2 || query == 0xDA || query == 0xDB;
}

// Type, sender, receiver, header byte, length (command and data), command,
// data and the check byte.
Bytes unitFrame(uint8_t type, uint8_t sender, uint8_t head, uint8_t command, const Bytes& data) {
  Bytes bytes{type, sender, kStationAddress, head, static_cast<uint8_t>(data.size() + 1), command};
  append(bytes, data);
  bytes.push_back(static_cast<uint8_t>(-sumOf(bytes, 1, bytes.size())));
  return bytes;
}

// E6 a n v c (10 bytes) or E8 a n vl vh c (11 bytes).
bool isSettingFrame(const Bytes& f) {
  return (f[5] == kSettingRequest && f.size() >= 10) || (f[5] == kSettingChange && f.size() >= 11);
}

bool addressed(const ScenarioUnit& unit, uint8_t receiver) { return receiver == 0xFF || receiver == unit.address; }

const ScenarioFrame* scenarioFrame(const ScenarioUnit& unit, uint8_t command) {
  for (const ScenarioFrame& f : unit.frames) {
    if (f.command == command && f.hasData) return &f;
  }
  return nullptr;
}

Bytes statusFrame(const ScenarioUnit& u) {
  int magnitude = std::abs(u.setPointTenths);
  uint8_t tenths = static_cast<uint8_t>(0x80 | magnitude % 10 | (u.setPointTenths < 0 ? 0x40 : 0));
  Bytes data{static_cast<uint8_t>(u.running ? 1 : 0),
             static_cast<uint8_t>(u.mode),
             0x00,
             u.errorCode,
             u.errorFlag,
             0x00,
             0x00,
             static_cast<uint8_t>(magnitude / 10),
             tenths,
             0x00,
             0x00,
             0x00,
             0x00};
  return unitFrame(frameType(u), u.address, kHead, kStatus, data);
}

}  // namespace

StationUnits::StationUnits(const std::vector<ScenarioUnit>& units) {
  for (const ScenarioUnit& unit : units) states_.push_back({unit});
}

void StationUnits::answerQuery(State& state, uint8_t query, std::vector<UnitAnswer>& out) {
  const ScenarioUnit& u = state.unit;
  std::string who = " of unit " + std::to_string(u.address);
  if (query == kIdentity) {
    state.announced = true;
    out.push_back({unitFrame(frameType(u), u.address, kHead, kIdentity, identityBytes(u)), "identity" + who});
  } else if (query == kStatus) {
    out.push_back({statusFrame(u), "status" + who});
  } else if (isDetailQuery(query)) {
    const ScenarioFrame* given = scenarioFrame(u, query);
    Bytes data = given ? given->data : Bytes(kDetailBytes, 0);
    out.push_back({unitFrame(frameType(u), u.address, kHead, query, data), "detail" + who});
  }
}

// Takes the parts of a central command that carry their mark.
void StationUnits::applyCommand(State& state, const Bytes& f) {
  ScenarioUnit& u = state.unit;
  if (f[0] == kCommandType) {
    if (f[6] & 0x02) u.running = f[6] & 0x01;
    if (f[7] & 0x10) u.mode = f[7] & 0x0F;
    if (f[12] & 0x80) {
      int tenths = f[11] * 10 + (f[12] & 0x0F);
      u.setPointTenths = f[12] & 0x40 ? -tenths : tenths;
    }
  }
  if (f[15] & 0x80) state.control = f[15];
}

void StationUnits::answerSetting(State& state, const Bytes& f, std::vector<UnitAnswer>& out) {
  ScenarioUnit& u = state.unit;
  const uint8_t number = f[7];
  if (f[5] == kSettingChange) u.settings[number] = static_cast<uint16_t>(f[8] | f[9] << 8);
  uint16_t value = u.settings.count(number) ? u.settings.at(number) : 0;
  Bytes data{number, static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), 0x00, u.address};
  std::string what = f[5] == kSettingChange ? "setting changed" : "setting";
  out.push_back({unitFrame(kSettingType, u.address, kSettingHead, f[5], data),
                 what + " " + std::to_string(number) + " of unit " + std::to_string(u.address)});
}

std::vector<UnitAnswer> StationUnits::hear(const Bytes& f) {
  std::vector<UnitAnswer> out;
  if (f.size() < 7 || sumOf(f, 1, f.size()) != 0) return out;
  const uint8_t receiver = f[2];
  const uint8_t command = f[5];
  for (State& state : states_) {
    const ScenarioUnit& u = state.unit;
    if (command == kPoll && !state.announced) {
      out.push_back({unitFrame(frameType(u), u.address, kHead, kUnitQuery, {0x00}),
                     "unit " + std::to_string(u.address) + " asks to be asked"});
    } else if (command == kQuery && addressed(u, receiver)) {
      answerQuery(state, f[6], out);
    } else if (command == kCentralCommand && f.size() >= kCommandLength && addressed(u, receiver) &&
               (f[0] == kCommandType || f[0] == kStateType)) {
      applyCommand(state, f);
      if (f[0] == kCommandType) {
        out.push_back({statusFrame(u), "new status of unit " + std::to_string(u.address)});
      }
    } else if (isSettingFrame(f) && addressed(u, f[6])) {
      answerSetting(state, f, out);
    }
  }
  return out;
}

}  // namespace adaptersim
