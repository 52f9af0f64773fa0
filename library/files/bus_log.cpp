#include "files/bus_log.h"

#include <fcntl.h>

#include <cstring>
#include <vector>

#include "adapter/adapter_status.h"
#include "adapter/consumers.h"
#include "base/debug_ring.h"
#include "base/program_files.h"
#include "base/status_words.h"
#include "files/das_format.h"
#include "files/file_io.h"
#include "tables/scrambled.h"

namespace tramsoll {

namespace {

void scramble(uint8_t* bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) bytes[i] = scrambleByte(bytes[i]);
}

void reportCloseError(int result) {
  logLine("FileHndl: fclose function error!! (ret=%Xh)", static_cast<unsigned>(result));
  setBits(errFault, fault::kBusLogClose);
}

// The event head and its data lines, each line "d" and 15 bytes; at least
// one line, bytes past the length 0.
std::vector<uint8_t> eventBytes(char kind, std::time_t seconds, int milliseconds, uint32_t value, const uint8_t* data,
                                int length) {
  if (length < 0 || !data) length = 0;
  if (length > dl2::kMaxData) length = dl2::kMaxData;
  std::size_t lines = (static_cast<std::size_t>(length) + dl2::kLineData - 1) / dl2::kLineData;
  if (lines == 0) lines = 1;
  std::vector<uint8_t> bytes(dl2::kEventHeadSize + lines * dl2::kLineSize, 0);
  bytes[0] = 'h';
  bytes[1] = static_cast<uint8_t>(kind);
  das::putU32(&bytes[2], static_cast<uint32_t>(seconds));
  das::putU16(&bytes[6], static_cast<uint16_t>(milliseconds));
  das::putU32(&bytes[8], value);
  das::putU32(&bytes[12], static_cast<uint32_t>(length));
  for (std::size_t line = 0; line < lines; ++line) {
    uint8_t* at = &bytes[dl2::kEventHeadSize + line * dl2::kLineSize];
    at[0] = 'd';
    std::size_t from = line * dl2::kLineData;
    std::size_t left = static_cast<std::size_t>(length) > from ? static_cast<std::size_t>(length) - from : 0;
    if (left) std::memcpy(at + 1, data + from, left < dl2::kLineData ? left : dl2::kLineData);
  }
  scramble(bytes.data(), bytes.size());
  return bytes;
}

struct LogState {
  std::string base;
  int32_t sequence = 0;
  uint32_t startTime = 0;
  char version[dl2::kVersionSize] = {};
};

LogState state;

void fillHeader(uint8_t (&out)[dl2::kHeaderSize]) {
  std::memset(out, 0, sizeof out);
  std::memcpy(out, dl2::kTitle, sizeof dl2::kTitle);
  das::putU32(out + 28, static_cast<uint32_t>(state.sequence));
  std::memcpy(out + 32, state.version, dl2::kVersionSize);
  das::putU32(out + 48, static_cast<uint32_t>(adapterStatus().value));
  das::putU32(out + 52, state.startTime);
  scramble(out, sizeof out);
}

// The serial link's trace hands its events here.
class BusLogWriter : public BusLogSink {
 public:
  void appendBusLogEvent(char kind, std::time_t seconds, int milliseconds, uint32_t value, const uint8_t* data,
                         int length) override {
    tramsoll::appendBusLogEvent(kind, seconds, milliseconds, value, data, length);
  }
};

BusLogWriter writer;

}  // namespace

std::string busLogFileName() {
  std::string name = programPath(state.base.c_str());
  if (state.sequence > 0) name += "-" + std::to_string(state.sequence);
  return name + ".dl2";
}

int32_t busLogSequence() { return state.sequence; }

bool startBusLog(const char* baseName, std::time_t startTime, const char* version) {
  state.base = baseName ? baseName : "";
  state.sequence = 0;
  state.startTime = static_cast<uint32_t>(startTime);
  std::memset(state.version, 0, sizeof state.version);
  if (version) std::memcpy(state.version, version, strnlen(version, sizeof state.version - 1));
  setBusLogSink(&writer);
  return createBusLogFile();
}

bool createBusLogFile() {
  std::string name = busLogFileName();
  FileHandle file(name, O_WRONLY | O_CREAT | O_TRUNC);
  if (!file.isOpen()) {
    setBits(errFault, fault::kBusLogOpen);
    logLine("FileHndl: cannot create '%s' file!!", name.c_str());
    return false;
  }
  uint8_t head[dl2::kHeaderSize];
  fillHeader(head);
  bool written = file.append(head, sizeof head);
  int closed = file.close();
  if (!written || closed != 0) {
    reportCloseError(closed);
    return false;
  }
  return true;
}

void appendBusLogEvent(char kind, std::time_t seconds, int milliseconds, uint32_t value, const uint8_t* data,
                       int length) {
  std::string name = busLogFileName();
  FileHandle file(name, O_WRONLY | O_CREAT | O_APPEND);
  if (!file.isOpen()) {
    setBits(errFault, fault::kBusLogOpen);
    logLine("FileHndl: cannot open '%s' file!!", name.c_str());
    return;
  }
  // A log whose creation failed is found empty: it gets its header first.
  bool written = true;
  int64_t before = file.size();
  if (before == 0) {
    uint8_t head[dl2::kHeaderSize];
    fillHeader(head);
    written = file.append(head, sizeof head);
  }
  std::vector<uint8_t> bytes = eventBytes(kind, seconds, milliseconds, value, data, length);
  written = written && file.append(bytes.data(), bytes.size());
  if (!written) {
    // A cut event would leave every event behind it unreadable: the log
    // goes back to its length before this one.
    file.truncate(before);
    reportCloseError(-1);
  }
  if (file.size() > dl2::kRollOverSize) {
    ++state.sequence;
    // A failed roll-over keeps writing to this file and tries again.
    if (!createBusLogFile()) --state.sequence;
  }
  int closed = file.close();
  if (closed != 0) reportCloseError(closed);
}

}  // namespace tramsoll
