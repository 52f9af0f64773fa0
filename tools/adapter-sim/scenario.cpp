#include "scenario.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace adaptersim {

namespace {

bool parseNumber(const std::string& word, int base, long& value) {
  std::string text = word;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text = text.substr(2);
    base = 16;
  }
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
  return ec == std::errc() && ptr == end && !text.empty();
}

// A temperature with at most one decimal ("22.5", "-3", "-0.5") in tenths,
// its magnitude below 128 degrees.
bool parseTenths(const std::string& word, int& tenths) {
  std::size_t at = word.size() > 1 && word[0] == '-' ? 1 : 0;
  std::size_t point = word.find('.');
  std::string whole = word.substr(at, point == std::string::npos ? std::string::npos : point - at);
  std::string fraction = point == std::string::npos ? "0" : word.substr(point + 1);
  long degrees = 0, tenth = 0;
  if (whole.empty() || fraction.size() != 1 || !parseNumber(whole, 10, degrees) || !parseNumber(fraction, 10, tenth)) {
    return false;
  }
  if (degrees < 0 || degrees > 127 || tenth < 0) return false;
  tenths = static_cast<int>(degrees * 10 + tenth) * (at ? -1 : 1);
  return true;
}

// Reads "name value" pairs; hexadecimal keys take hexadecimal values.
class Options {
 public:
  Options(std::istringstream& words, std::string& error) : words_(words), error_(error) {}
  bool next(std::string& key) { return static_cast<bool>(words_ >> key); }
  bool value(const std::string& key, bool hex, long low, long high, long& out) {
    std::string word;
    if (!(words_ >> word) || !parseNumber(word, hex ? 16 : 10, out) || out < low || out > high) {
      error_ = "bad value for " + key;
      return false;
    }
    return true;
  }

 private:
  std::istringstream& words_;
  std::string& error_;
};

bool parseAdapter(std::istringstream& words, Scenario& s, std::string& error) {
  Options options(words, error);
  std::string key;
  long v = 0;
  while (options.next(key)) {
    if (key == "type") {
      std::string word;
      if (!(words >> word) || !parseAdapterType(word, s.adapterType)) {
        error = "adapter type must be vexa5 or plus";
        return false;
      }
    } else if (key == "unit-delay" && options.value(key, false, 0, 60000, v)) s.unitDelayMs = static_cast<int>(v);
    else if (key == "switches" && options.value(key, false, 0, 3, v)) s.switches = static_cast<int>(v);
    else if (key == "value" && options.value(key, false, 0, 255, v)) s.value = static_cast<int>(v);
    else if (key == "echo-status" && options.value(key, true, 0, 255, v)) s.echoStatus = static_cast<uint8_t>(v);
    else if (key == "echo-delay" && options.value(key, false, 0, 60000, v)) s.echoDelayMs = static_cast<int>(v);
    else if (key == "board-kind" && options.value(key, false, 8, 14, v)) s.boardKind = static_cast<int>(v);
    else {
      if (error.empty()) error = "unknown adapter setting '" + key + "'";
      return false;
    }
  }
  return true;
}

bool parseUnit(std::istringstream& words, Scenario& s, std::string& error) {
  ScenarioUnit unit;
  std::string kind;
  words >> kind;
  if (kind == "outdoor") unit.unitClass = UnitClass::Outdoor;
  else if (kind == "indoor") unit.unitClass = UnitClass::Indoor;
  else if (kind == "central") unit.unitClass = UnitClass::Central;
  else {
    error = "unit class must be outdoor, indoor or central";
    return false;
  }
  Options options(words, error);
  long v = 0;
  if (!options.value("address", false, 0, 255, v)) return false;
  unit.address = static_cast<uint8_t>(v);
  std::string key;
  while (options.next(key)) {
    if (key == "rom" && options.value(key, true, 0, 0xFFFFFFFFL, v)) unit.rom = static_cast<uint32_t>(v);
    else if (key == "model" && options.value(key, true, 0, 0xFFFF, v)) unit.model = static_cast<uint16_t>(v);
    else if (key == "zubrel" && options.value(key, false, 0, 255, v)) unit.zubrel = static_cast<uint8_t>(v);
    else if (key == "kind" && options.value(key, false, 0, 255, v)) unit.centralKind = static_cast<uint8_t>(v);
    else if (key == "type" && options.value(key, true, 0, 255, v)) unit.type = static_cast<int>(v);
    else if (key == "pause" && options.value(key, false, 0, 86400000, v)) {
      unit.pauseAfterMs = static_cast<int>(v);
      if (!options.value(key, false, 1, 86400000, v)) return false;
      unit.pauseForMs = static_cast<int>(v);
    } else if (key == "run" && options.value(key, false, 0, 1, v)) unit.running = v == 1;
    else if (key == "mode" && options.value(key, false, 0, 15, v)) unit.mode = static_cast<int>(v);
    else if (key == "error" && options.value(key, true, 0, 255, v)) unit.errorCode = static_cast<uint8_t>(v);
    else if (key == "error-flag" && options.value(key, true, 0, 255, v)) unit.errorFlag = static_cast<uint8_t>(v);
    else if (key == "setpoint") {
      std::string word;
      if (!(words >> word) || !parseTenths(word, unit.setPointTenths)) {
        error = "bad value for setpoint";
        return false;
      }
    } else {
      if (error.empty()) error = "unknown unit setting '" + key + "'";
      return false;
    }
  }
  s.units.push_back(unit);
  return true;
}

bool parseFrame(std::istringstream& words, Scenario& s, std::string& error) {
  if (s.units.empty()) {
    error = "frame before any unit";
    return false;
  }
  ScenarioFrame frame;
  Options options(words, error);
  long v = 0;
  if (!options.value("command", true, 0, 255, v)) return false;
  frame.command = static_cast<uint8_t>(v);
  std::string key;
  while (options.next(key)) {
    if (key == "data") {
      frame.hasData = true;
      if (!parseHexBytes(words, frame.data, error)) return false;
    } else if (key == "every" && options.value(key, false, 1, 86400000, v)) frame.everyMs = static_cast<int>(v);
    else if (key == "after" && options.value(key, false, 0, 86400000, v)) frame.afterMs = static_cast<int>(v);
    else if (key == "to" && options.value(key, true, 0, 255, v)) frame.receiver = static_cast<uint8_t>(v);
    else if (key == "head" && options.value(key, true, 0, 255, v)) frame.head = static_cast<uint8_t>(v);
    else if (key == "status" && options.value(key, true, 0, 255, v)) frame.status = static_cast<uint8_t>(v);
    else if (key == "type" && options.value(key, true, 0, 255, v)) frame.type = static_cast<int>(v);
    else {
      if (error.empty()) error = "unknown frame setting '" + key + "'";
      return false;
    }
  }
  if (frame.data.size() > 118) {
    error = "frame data longer than 118 bytes";
    return false;
  }
  s.units.back().frames.push_back(frame);
  return true;
}

bool parseSetting(std::istringstream& words, Scenario& s, std::string& error) {
  if (s.units.empty()) {
    error = "setting before any unit";
    return false;
  }
  Options options(words, error);
  long number = 0, value = 0;
  if (!options.value("setting number", false, 0, 255, number) || !options.value("setting value", false, 0, 65535, value)) {
    return false;
  }
  s.units.back().settings[static_cast<int>(number)] = static_cast<uint16_t>(value);
  return true;
}

bool parseKeyedBytes(std::istringstream& words, std::map<std::string, Bytes>& table, std::string& error) {
  std::string key;
  if (!(words >> key)) {
    error = "missing key";
    return false;
  }
  Bytes bytes;
  if (!parseHexBytes(words, bytes, error)) return false;
  table[key] = bytes;
  return true;
}

bool parseLine(const std::string& text, Scenario& s, std::string& error) {
  std::istringstream words(text.substr(0, text.find('#')));
  std::string keyword;
  if (!(words >> keyword)) return true;
  if (keyword == "adapter") return parseAdapter(words, s, error);
  if (keyword == "unit") return parseUnit(words, s, error);
  if (keyword == "frame") return parseFrame(words, s, error);
  if (keyword == "setting") return parseSetting(words, s, error);
  if (keyword == "param") return parseKeyedBytes(words, s.params, error);
  if (keyword == "board") return parseKeyedBytes(words, s.board, error);
  if (keyword == "logger") return parseHexBytes(words, s.logger, error);
  if (keyword == "fault") {
    std::string rest;
    std::getline(words >> std::ws, rest);
    s.faults.push_back(rest);
    return true;
  }
  error = "unknown keyword '" + keyword + "'";
  return false;
}

}  // namespace

bool parseAdapterType(const std::string& word, AdapterType& out) {
  if (word == "vexa5") out = AdapterType::Vexa5;
  else if (word == "plus") out = AdapterType::Plus;
  else return false;
  return true;
}

bool parseScenario(std::istream& in, Scenario& out, std::string& error) {
  Scenario s;
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    std::string reason;
    if (!parseLine(text, s, reason)) {
      error = "line " + std::to_string(number) + ": " + reason;
      return false;
    }
  }
  out = std::move(s);
  return true;
}

bool loadScenario(const std::string& path, Scenario& out, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  return parseScenario(in, out, error);
}

uint8_t frameType(const ScenarioUnit& unit) {
  if (unit.type >= 0) return static_cast<uint8_t>(unit.type);
  switch (unit.unitClass) {
    case UnitClass::Outdoor:
      return 0x08;  // frame code 2 in bits 2-4
    case UnitClass::Indoor:
      return 0x10;  // code 4
    case UnitClass::Central:
      return 0x14;  // code 5
  }
  return 0;
}

Bytes identityBytes(const ScenarioUnit& unit) {
  Bytes bytes{static_cast<uint8_t>(unit.rom >> 24), static_cast<uint8_t>(unit.rom >> 16),
              static_cast<uint8_t>(unit.rom >> 8), static_cast<uint8_t>(unit.rom), unit.zubrel};
  if (unit.unitClass == UnitClass::Central) {
    bytes.insert(bytes.end(), {0x00, unit.centralKind});
  }
  bytes.insert(bytes.end(), {static_cast<uint8_t>(unit.model >> 8), static_cast<uint8_t>(unit.model), 0x00});
  return bytes;
}

bool unitPaused(const ScenarioUnit& unit, long long sinceBusStartMs) {
  if (unit.pauseAfterMs < 0) return false;
  long long end = static_cast<long long>(unit.pauseAfterMs) + unit.pauseForMs;
  return sinceBusStartMs >= unit.pauseAfterMs && sinceBusStartMs < end;
}

Bytes busFrame(const ScenarioUnit& unit, const ScenarioFrame& frame) {
  Bytes data = frame.hasData ? frame.data : identityBytes(unit);
  uint8_t type = frame.type >= 0 ? static_cast<uint8_t>(frame.type) : frameType(unit);
  Bytes bytes{type, unit.address, frame.receiver, frame.head, static_cast<uint8_t>(data.size() + 1),
              frame.command};
  append(bytes, data);
  bytes.push_back(static_cast<uint8_t>(-sumOf(bytes, 1, bytes.size())));
  return bytes;
}

}  // namespace adaptersim
