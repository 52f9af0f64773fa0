#include "engine/live_sink.h"

#include <span>

#include "adapter/consumers.h"
#include "store/live_table.h"

namespace tramsoll {

namespace {

class LiveTableSink : public LiveDataSink {
 public:
  bool storeByNumber(int kind, int address, int row, int block, std::time_t time, const uint8_t* extra,
                     const uint8_t* data) override {
    return liveDataTable().storeByNumber(kind, address, row, block, static_cast<uint32_t>(time), extraOf(extra),
                                         dataOf(data));
  }
  bool storeByKey(int kind, int address, int row, const char* key, std::time_t time, const uint8_t* extra,
                  const uint8_t* data) override {
    return liveDataTable().storeByKey(kind, address, row, key, static_cast<uint32_t>(time), extraOf(extra),
                                      dataOf(data));
  }

 private:
  static std::span<const uint8_t> extraOf(const uint8_t* extra) {
    return extra ? std::span<const uint8_t>(extra, kExtraBytes) : std::span<const uint8_t>();
  }
  static std::span<const uint8_t> dataOf(const uint8_t* data) {
    return data ? std::span<const uint8_t>(data, kSnapshotBytes) : std::span<const uint8_t>();
  }
};

}  // namespace

void installLiveTableSink() {
  static LiveTableSink sink;
  setLiveDataSink(&sink);
}

}  // namespace tramsoll
