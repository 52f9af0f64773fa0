// The bus communication log (*.dl2): every event of the serial link while
// bus-data recording is on, each byte scrambled by the byte rule. Each event
// opens, appends to and closes the file, so the log survives an abrupt end;
// above 1,024,000 bytes the log rolls over to "<base>-1.dl2", "-2", ...
#pragma once

#include <cstdint>
#include <ctime>
#include <string>


namespace tramsoll {

namespace dl2 {
constexpr char kTitle[] = "Service Pelomar VEXA5 Log";
constexpr std::size_t kHeaderSize = 64;
constexpr std::size_t kEventHeadSize = 16;
constexpr std::size_t kLineSize = 16;
constexpr std::size_t kLineData = 15;
constexpr int kMaxData = 256;
constexpr int64_t kRollOverSize = 1024000;
constexpr std::size_t kVersionSize = 16;
}  // namespace dl2

// Sequence 0, the three kept, the first file created, and the log installed
// as the serial link's trace sink (the link hands it events only while state
// bit 0x10 is set).
bool startBusLog(const char* baseName, std::time_t startTime, const char* version);
// Creates the file of the current sequence number with its header.
bool createBusLogFile();
// Appends one link event (data cut to 256 bytes); rolls the log over when
// the file passes 1,024,000 bytes.
void appendBusLogEvent(char kind, std::time_t seconds, int milliseconds, uint32_t value, const uint8_t* data,
                       int length);
std::string busLogFileName();
int32_t busLogSequence();

}  // namespace tramsoll
