// Where the adapter's answers go. The live data table, the unit exports and
// the bus-log writer install their own sinks; until they do, the defaults
// take everything and keep nothing.
#pragma once

#include <cstdint>
#include <ctime>

#include "store/live_records.h"

namespace tramsoll {

// kExtraBytes (8) comes with the live table's records.
constexpr int kSnapshotBytes = 256;

// The live data table's two store operations. `data` always holds 256 bytes
// (zero past what the answer held); `extra` holds 8.
class LiveDataSink {
 public:
  virtual ~LiveDataSink() = default;
  virtual bool storeByNumber(int kind, int address, int row, int block, std::time_t time,
                             const uint8_t* extra, const uint8_t* data) {
    (void)kind, (void)address, (void)row, (void)block, (void)time, (void)extra, (void)data;
    return false;
  }
  virtual bool storeByKey(int kind, int address, int row, const char* key, std::time_t time,
                          const uint8_t* extra, const uint8_t* data) {
    (void)kind, (void)address, (void)row, (void)key, (void)time, (void)extra, (void)data;
    return false;
  }
};

// The adapter status kept for the unit exports: the two sensor switches (0 or
// 1) and the status value.
class AdapterStatusSink {
 public:
  virtual ~AdapterStatusSink() = default;
  virtual void keepAdapterStatus(int switch1, int switch2, int value) { (void)switch1, (void)switch2, (void)value; }
};

// The bus-log writer's append, called for each trace entry while the bus log
// is on. `data` holds 256 bytes, of which `length` (0..256) are the entry's.
class BusLogSink {
 public:
  virtual ~BusLogSink() = default;
  virtual void appendBusLogEvent(char kind, std::time_t seconds, int milliseconds, uint32_t value,
                                 const uint8_t* data, int length) {
    (void)kind, (void)seconds, (void)milliseconds, (void)value, (void)data, (void)length;
  }
};

LiveDataSink& liveDataSink();
AdapterStatusSink& adapterStatusSink();
BusLogSink& busLogSink();

// Installs a sink (nullptr goes back to the default that keeps nothing). The
// sink must outlive its use; install it before the worker runs.
void setLiveDataSink(LiveDataSink* sink);
void setAdapterStatusSink(AdapterStatusSink* sink);
void setBusLogSink(BusLogSink* sink);

}  // namespace tramsoll
