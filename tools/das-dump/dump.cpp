#include "dump.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

#include "tables/scrambled.h"

namespace dasdump {

namespace das = tramsoll::das;

namespace {

constexpr std::size_t kLogHeaderSize = 64;
constexpr std::size_t kEventHeadSize = 16;
constexpr std::size_t kLineSize = 16;
constexpr std::size_t kLineData = 15;
constexpr uint32_t kMaxEventData = 256;

std::string quoted(const char* text) { return std::string("\"") + text + "\""; }

std::string utc(uint32_t seconds) {
  std::time_t t = seconds;
  std::tm parts{};
  char text[40] = "?";
  if (gmtime_r(&t, &parts)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
  return std::to_string(seconds) + " (" + text + ")";
}

std::string hex(const std::vector<uint8_t>& bytes) {
  std::string text;
  char pair[4];
  for (uint8_t byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02X", byte);
    if (!text.empty()) text += ' ';
    text += pair;
  }
  return text.empty() ? "-" : text;
}

void printHeader(const das::FileHeader& h, std::ostream& out) {
  out << "header\n"
      << "  customer id " << quoted(h.customerId) << "\n"
      << "  customer name " << quoted(h.customerName) << "\n"
      << "  person in charge " << quoted(h.personInCharge) << "\n"
      << "  model text " << quoted(h.modelText) << "\n"
      << "  map name " << quoted(h.mapName) << "\n"
      << "  map number " << h.mapNumber << ", system " << h.systemNumber << ", interface mode " << h.interfaceMode
      << ", kind " << h.recordingKind << (h.recordingKind == das::kTrigger ? " (trigger)" : " (periodic)") << "\n"
      << "  rom number " << h.romNumber << "\n"
      << "  first record time " << utc(h.firstRecordTime) << "\n"
      << "  trigger record " << h.triggerRecord << ", record count " << h.recordCount << ", interval "
      << h.interval << " s\n"
      << "  version " << h.version << ", first record at " << h.firstRecordOffset << ", record size "
      << h.recordSize << ", status length " << h.statusLength << "\n"
      << "  sensor flag " << h.sensorFlag << ", units " << h.unitCount << " (outdoor " << h.outdoorCount
      << ", indoor " << h.indoorCount << ", central " << h.centralCount << ")\n";
}

void printUnit(int index, const das::Unit& unit, std::ostream& out) {
  const das::UnitBlock& b = unit.block;
  out << "unit " << index << ": class " << int{b.unitClass} << ", number " << int{b.unitNumber} << ", address "
      << int{b.address} << ", row " << int{b.rowIndex} << ", zubrel " << int{b.zubrelAddress} << ", control "
      << int{b.controlAddress} << "\n"
      << "  model " << quoted(b.modelName) << ", text " << quoted(b.modelText) << ", serial "
      << quoted(b.serialNumber) << ", place " << quoted(b.place) << "\n";
  for (const das::GroupBlock& g : unit.groups) out << "  group " << quoted(g.key) << " length " << g.dataLength << "\n";
  for (std::size_t c = 0; c < unit.conditions.size(); ++c) {
    const das::ConditionBlock& k = unit.conditions[c];
    out << "  condition " << c + 1 << ": " << quoted(k.itemName) << " " << quoted(k.condition1) << " "
        << quoted(k.condition2) << " type " << k.dataType << "\n";
  }
  if (!unit.hasSensor) return;
  const das::SensorBlock& s = unit.sensor;
  for (int ch = 0; ch < das::kChannels; ++ch)
    out << "  channel " << ch + 1 << ": " << quoted(s.names[ch]) << " used " << int{s.used[ch]} << "\n";
  for (int a = 0; a < 2; ++a)
    out << "  analog " << a + 7 << ": switch " << int{s.switches[a]} << ", range " << int{s.ranges[a]}
        << ", offset " << s.offsets[a] << ", full scale " << s.fullScales[a] << ", unit " << quoted(s.units[a])
        << "\n";
}

void printRecord(std::size_t index, const das::File& file, const das::Record& record, std::ostream& out) {
  out << "record " << index << ": time " << utc(record.time)
      << (file.header.recordingKind == das::kTrigger && index == file.header.triggerRecord ? " trigger" : "") << "\n";
  std::size_t part = 0;
  for (std::size_t u = 0; u < file.units.size(); ++u) {
    for (const das::GroupBlock& g : file.units[u].groups) {
      const das::GroupPart& p = record.parts[part++];
      out << "  unit " << u + 1 << " " << quoted(g.key) << " stamp " << p.stamp << " status " << hex(p.status)
          << "\n    data " << hex(p.data) << "\n";
    }
  }
}

}  // namespace

bool parseBusLog(const std::vector<uint8_t>& stored, BusLog& out, std::string& error) {
  out = BusLog{};
  std::vector<uint8_t> plain(stored);
  for (uint8_t& byte : plain) byte = tramsoll::scrambleByte(byte);
  if (plain.size() < kLogHeaderSize) {
    error = "no log header";
    return false;
  }
  const uint8_t* h = plain.data();
  out.header.title.assign(reinterpret_cast<const char*>(h), strnlen(reinterpret_cast<const char*>(h), 28));
  out.header.sequence = das::getU32(h + 28);
  out.header.version.assign(reinterpret_cast<const char*>(h + 32), strnlen(reinterpret_cast<const char*>(h + 32), 16));
  out.header.adapterStatus = das::getU32(h + 48);
  out.header.startTime = das::getU32(h + 52);
  std::size_t at = kLogHeaderSize;
  while (at < plain.size()) {
    if (plain.size() - at < kEventHeadSize || plain[at] != 'h') {
      error = "no event head at " + std::to_string(at);
      return false;
    }
    BusLogEvent event;
    event.kind = static_cast<char>(plain[at + 1]);
    event.seconds = das::getU32(&plain[at + 2]);
    event.milliseconds = das::getU16(&plain[at + 6]);
    event.value = das::getU32(&plain[at + 8]);
    event.length = das::getU32(&plain[at + 12]);
    if (event.length > kMaxEventData) {
      error = "event length " + std::to_string(event.length) + " at " + std::to_string(at);
      return false;
    }
    std::size_t lines = event.length == 0 ? 1 : (event.length + kLineData - 1) / kLineData;
    at += kEventHeadSize;
    if (plain.size() - at < lines * kLineSize) {
      error = "event data past the end at " + std::to_string(at);
      return false;
    }
    for (std::size_t line = 0; line < lines; ++line, at += kLineSize) {
      if (plain[at] != 'd') {
        error = "no data line at " + std::to_string(at);
        return false;
      }
      for (std::size_t i = 1; i < kLineSize && event.data.size() < event.length; ++i) event.data.push_back(plain[at + i]);
    }
    out.events.push_back(std::move(event));
  }
  return true;
}

bool readBusLog(const std::string& path, BusLog& out, std::string& error) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) {
    error = "cannot open the file";
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  return parseBusLog(bytes, out, error);
}

void printDasFile(const das::File& file, std::ostream& out) {
  printHeader(file.header, out);
  for (std::size_t u = 0; u < file.units.size(); ++u) printUnit(static_cast<int>(u + 1), file.units[u], out);
  for (std::size_t r = 0; r < file.records.size(); ++r) printRecord(r, file, file.records[r], out);
  if (file.recordsPresent > file.records.size())
    out << "(" << file.recordsPresent - file.records.size() << " record(s) past the header's count)\n";
}

void printBusLog(const BusLog& log, std::ostream& out) {
  out << "log " << quoted(log.header.title.c_str()) << ", sequence " << log.header.sequence << ", version "
      << quoted(log.header.version.c_str()) << ", adapter status " << log.header.adapterStatus << ", started "
      << utc(log.header.startTime) << "\n";
  for (const BusLogEvent& e : log.events) {
    char milliseconds[8];
    std::snprintf(milliseconds, sizeof milliseconds, "%03u", unsigned{e.milliseconds});
    out << e.kind << " " << utc(e.seconds) << " ms " << milliseconds << " value " << e.value << " length "
        << e.length << "\n  " << hex(e.data) << "\n";
  }
}

}  // namespace dasdump
