// Reading and printing recorded data files and bus logs for a person or a
// test: every header field, block and record of a .das file, and every event
// of a .dl2 log with the byte rule undone.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "files/das_format.h"

namespace dasdump {

struct BusLogHeader {
  std::string title;
  uint32_t sequence = 0;
  std::string version;
  uint32_t adapterStatus = 0;
  uint32_t startTime = 0;
};

struct BusLogEvent {
  char kind = 0;
  uint32_t seconds = 0;
  uint16_t milliseconds = 0;
  uint32_t value = 0;
  uint32_t length = 0;
  std::vector<uint8_t> data;  // the `length` bytes
};

struct BusLog {
  BusLogHeader header;
  std::vector<BusLogEvent> events;
};

// Undoes the byte rule and reads the header and every event. False with a
// reason for a file that is not such a log or ends inside an event.
bool parseBusLog(const std::vector<uint8_t>& stored, BusLog& out, std::string& error);
bool readBusLog(const std::string& path, BusLog& out, std::string& error);

void printDasFile(const tramsoll::das::File& file, std::ostream& out);
void printBusLog(const BusLog& log, std::ostream& out);

}  // namespace dasdump
