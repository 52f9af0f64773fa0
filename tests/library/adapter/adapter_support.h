// Shared pieces of the adapter tests: a serial device whose line the test
// fills (with line errors a pseudo-terminal cannot make), sinks that record
// what the dispatcher hands on, and a fixture that resets the link.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "adapter/consumers.h"
#include "adapter/link_state.h"
#include "adapter/send_ring.h"
#include "adapter/serial_device.h"
#include "adapter/serial_port.h"
#include "adapter/vexa5.h"
#include "base/clock.h"
#include "base/debug_ring.h"
#include "base/status_words.h"
#include "library/support/library_test.h"
#include "store/recv_ring.h"

namespace adaptertest {

using Bytes = std::vector<uint8_t>;

// What the test and the fake device share.
struct FakeLine {
  struct Received {
    uint8_t byte;
    uint32_t flags;
  };
  std::deque<Received> input;
  std::vector<Bytes> writes;
  std::string openedPath;
  tramsoll::LineSettings settings;
  int openError = 0;
  int configureError = 0;
  int writeError = 0;
  int readError = 0;
  bool open = false;

  void feed(const Bytes& bytes, uint32_t flags = 0) {
    for (uint8_t b : bytes) input.push_back({b, flags});
  }
};

class FakeSerialDevice : public tramsoll::SerialDevice {
 public:
  explicit FakeSerialDevice(std::shared_ptr<FakeLine> line) : line_(std::move(line)) {}
  int open(const std::string& path) override {
    line_->openedPath = path;
    if (line_->openError) return line_->openError;
    line_->open = true;
    return 0;
  }
  int configure(const tramsoll::LineSettings& settings) override {
    line_->settings = settings;
    return line_->configureError;
  }
  void purge() override {}
  int query(uint32_t& flags, int& queued) override {
    queued = static_cast<int>(line_->input.size());
    flags = queued ? line_->input.front().flags : 0;
    return 0;
  }
  int readByte(uint8_t& byte) override {
    if (line_->readError) return line_->readError;
    byte = line_->input.front().byte;
    line_->input.pop_front();
    return 0;
  }
  int write(const uint8_t* bytes, int length) override {
    if (line_->writeError) return line_->writeError;
    line_->writes.emplace_back(bytes, bytes + length);
    return 0;
  }
  int close() override {
    line_->open = false;
    return 0;
  }

 private:
  std::shared_ptr<FakeLine> line_;
};

struct StoredBlock {
  int kind = 0, address = 0, row = 0, block = -1;
  std::string key;
  std::time_t time = 0;
  Bytes extra, data;
};

class RecordingLiveData : public tramsoll::LiveDataSink {
 public:
  std::vector<StoredBlock> stored;
  bool storeByNumber(int kind, int address, int row, int block, std::time_t time, const uint8_t* extra,
                     const uint8_t* data) override {
    stored.push_back({kind, address, row, block, "", time, Bytes(extra, extra + 8), Bytes(data, data + 256)});
    return true;
  }
  bool storeByKey(int kind, int address, int row, const char* key, std::time_t time, const uint8_t* extra,
                  const uint8_t* data) override {
    stored.push_back({kind, address, row, -1, key, time, Bytes(extra, extra + 8), Bytes(data, data + 256)});
    return true;
  }
};

struct AdapterStatus {
  int switch1, switch2, value;
};

class RecordingAdapterStatus : public tramsoll::AdapterStatusSink {
 public:
  std::vector<AdapterStatus> kept;
  void keepAdapterStatus(int switch1, int switch2, int value) override { kept.push_back({switch1, switch2, value}); }
};

struct TraceEntry {
  char kind;
  std::time_t seconds;
  int milliseconds;
  uint32_t value;
  Bytes data;  // the first `length` bytes
  Bytes block;  // all 256
};

class RecordingBusLog : public tramsoll::BusLogSink {
 public:
  std::vector<TraceEntry> entries;
  void appendBusLogEvent(char kind, std::time_t seconds, int milliseconds, uint32_t value, const uint8_t* data,
                         int length) override {
    entries.push_back({kind, seconds, milliseconds, value, Bytes(data, data + length), Bytes(data, data + 256)});
  }
  std::vector<TraceEntry> of(char kind) const {
    std::vector<TraceEntry> found;
    for (const TraceEntry& e : entries) {
      if (e.kind == kind) found.push_back(e);
    }
    return found;
  }
};

inline std::vector<std::string> drainDebugLines() {
  std::vector<std::string> lines;
  char line[tramsoll::kLineSize];
  while (tramsoll::debugRing().take(line)) lines.emplace_back(line);
  return lines;
}

// An adapter packet: STX, body, XOR check byte, ETX.
inline Bytes packet(const Bytes& body) {
  Bytes p;
  p.reserve(body.size() + 3);
  p.push_back(0x02);
  for (uint8_t b : body) p.push_back(b);
  uint8_t x = 0;
  for (uint8_t b : p) x ^= b;
  p.push_back(x);
  p.push_back(0x03);
  return p;
}

// Takes every packet waiting in the send ring.
inline std::vector<Bytes> takeQueued() {
  std::vector<Bytes> packets;
  uint8_t bytes[tramsoll::kPacketSize];
  int length = 0;
  while (tramsoll::sendRing().take(bytes, length)) packets.emplace_back(bytes, bytes + length);
  return packets;
}

inline Bytes textBytes(const char* text) { return Bytes(text, text + std::strlen(text)); }

// Resets the whole link and installs recording sinks, a manual clock and,
// unless the test opens a real device, a fake line on COM1.
class AdapterTest : public testsupport::LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    tramsoll::gatherState.store(tramsoll::gather::kBusLog);
    tramsoll::setLiveDataSink(&liveData);
    tramsoll::setAdapterStatusSink(&adapterStatus);
    tramsoll::setBusLogSink(&busLog);
    tramsoll::setClock(&clock);
  }
  // Opens COM1 on a fake line.
  void openFakePort(int adapterType = tramsoll::kAdapterVexa5) {
    auto shared = line;
    tramsoll::setSerialDeviceFactory([shared] { return std::make_unique<FakeSerialDevice>(shared); });
    ASSERT_TRUE(tramsoll::openPort(1, adapterType));
    busLog.entries.clear();
    drainDebugLines();
  }

  std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
  tramsoll::ManualClock clock;
  RecordingLiveData liveData;
  RecordingAdapterStatus adapterStatus;
  RecordingBusLog busLog;
};

}  // namespace adaptertest
