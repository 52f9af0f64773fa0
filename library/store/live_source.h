// The live data table as a data source of the conversion interpreter, and
// the evaluations of an item over one unit row at one snapshot position.
// Positions count from the oldest kept snapshot (0..120), as the history's
// snapshot numbers do.
#pragma once

#include <cstdint>

#include "store/live_table.h"
#include "tables/conversion.h"
#include "tables/data_source.h"

namespace tramsoll {

// Bound to one unit row (kind, address, row index) and one snapshot
// position of a live table.
class LiveDataSource : public DataSource {
 public:
  LiveDataSource(const LiveDataTable& table, int kind, int address, int row, int position)
      : table_(table), kind_(kind), address_(address), row_(row), position_(position) {}

  bool readBlock(const char* name, BlockBytes& out) override;
  // The sensor-channel settings of input 7 or 8 kept in the row's log table.
  bool readSensorChannel(int channel, SensorChannel& out) override;
  // The newest time among the row's blocks at the position; 0 when none.
  uint32_t sampleTime() override;

 private:
  const LiveDataTable& table_;
  int kind_;
  int address_;
  int row_;
  int position_;
};

// The shown text, graph value and time of an item over a unit row of the
// running gathering's live table; empty and 0 on failure.
bool evaluateLiveItemAt(const ItemRecord& item, int kind, int address, int row, int position, ItemOutput& out);
// The value (after the unit conversion) and its time; both 0 on failure.
bool evaluateLiveValueAt(const ItemRecord& item, int kind, int address, int row, int position, float& value,
                         uint32_t& time);

}  // namespace tramsoll
