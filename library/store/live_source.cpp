#include "store/live_source.h"

#include <algorithm>

namespace tramsoll {

bool LiveDataSource::readBlock(const char* name, BlockBytes& out) {
  out = BlockBytes{};
  BlockView view;
  if (!table_.fetchBlock(kind_, address_, row_, name, position_, view)) return false;
  out.bytes = view.bytes;
  out.length = static_cast<uint16_t>(view.length);
  out.time = view.time;
  return true;
}

bool LiveDataSource::readSensorChannel(int channel, SensorChannel& out) {
  out = SensorChannel{};
  LogEntry entry;
  if (channel < 1 || !table_.getLogEntry(kind_, address_, row_, channel - 1, entry)) return false;
  out.range = entry.range;
  out.offset = entry.offset;
  out.fullScale = entry.fullScale;
  setFieldText(out.unit, entry.unit);
  return true;
}

uint32_t LiveDataSource::sampleTime() {
  int slot = table_.snapshotSlot(position_);
  if (slot < 0) return 0;
  uint32_t newest = 0;
  for (int index = 0;; ++index) {
    const DataBlock* block = table_.blockAt(kind_, address_, row_, index);
    if (!block) return newest;
    newest = std::max(newest, block->times[slot]);
  }
}

bool evaluateLiveItemAt(const ItemRecord& item, int kind, int address, int row, int position, ItemOutput& out) {
  LiveDataSource source(liveDataTable(), kind, address, row, position);
  return evaluateLiveItem(item, source, out);
}

bool evaluateLiveValueAt(const ItemRecord& item, int kind, int address, int row, int position, float& value,
                         uint32_t& time) {
  LiveDataSource source(liveDataTable(), kind, address, row, position);
  return evaluateLiveValue(item, source, value, time);
}

}  // namespace tramsoll
