// Finding a unit's data items, for a unit of the running gathering or one
// stored in a recorded file opened for replay: its model, the unit group its
// items come from, its item count, and the item records, the sensor inputs'
// completed from their channel settings. The item, cursor, graph and search
// exports all go through here, so they agree on which item a number names.
#pragma once

#include <cstdint>

#include "files/replay_tables.h"
#include "store/live_records.h"
#include "tables/conversion.h"
#include "tables/model_tables.h"

namespace tramsoll {

constexpr int32_t kSensorItems = 8;

// The data source an item, cursor or graph export names: the running
// gathering or a file opened for replay.
namespace itemsource {
constexpr int32_t kLive = 0;
constexpr int32_t kReplay = 1;
}  // namespace itemsource

bool validUnitClass(int32_t unitClass);

struct ItemUnit {
  int32_t model = -1;  // KishuTable index; -1 when the model is not loaded
  int unitClass = 0;
  int group = 0;       // the unit group number its items come from
  int32_t itemCount = 0;
  LogEntry channels[kLogEntries] = {};  // sensor inputs

  // Live: the unit's own row, and the row its data are read from (the single
  // unit of a board connection keeps its data under kind 0, address 0).
  int address = 0;
  int row = 0;
  int dataKind = 0;
  int dataAddress = 0;
  int dataRow = 0;

  // File
  const ReplayTables* replay = nullptr;
  int32_t unitIndex = -1;
};

// The unit of that system, class and unit number among the gathered units.
bool findLiveUnit(int32_t system, int32_t unitClass, int32_t unitNumber, ItemUnit& out);
// The unit of that class and unit number in an opened file.
bool findFileUnit(const ReplayTables& replay, int32_t unitClass, int32_t unitNumber, ItemUnit& out);

// The record of item `number` (1 .. itemCount) as the unit's model defines
// it; a sensor input's items 7 and 8 take the definition that their
// channel's switch chooses, and then the channel's full scale.
bool unitItemDefinition(const ItemUnit& unit, int32_t number, ItemRecord& out);
// The same as the display shows it: every sensor item carries its
// channel's name and its default-graph flag from the channel's used flag.
bool unitItem(const ItemUnit& unit, int32_t number, ItemRecord& out);

// The data type as the display takes it: 4, 5 and 6 are numbers (0), 7 is a
// two-state item (1).
int32_t reportedDataType(int32_t dataType);

}  // namespace tramsoll
