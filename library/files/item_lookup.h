// Finding a unit's data items, for a unit of the running gathering or one
// stored in a recorded file opened for replay: its model, the unit group its
// items come from, its item count, and the item records, the sensor inputs'
// completed from their channel settings. The item, cursor, graph and search
// exports all go through here, so they agree on which item a number names;
// the item, cursor and graph exports also take from here the source that
// reads the unit's records.
#pragma once

#include <cstdint>
#include <memory>

#include "files/replay_tables.h"
#include "store/live_records.h"
#include "tables/conversion.h"
#include "tables/data_source.h"
#include "tables/model_tables.h"

namespace tramsoll {

constexpr int32_t kSensorItems = 8;

// The data source an item, cursor or graph export names: the running
// gathering or a file opened for replay.
namespace itemsource {
constexpr int32_t kLive = 0;
constexpr int32_t kReplay = 1;
}  // namespace itemsource

// The records of the live history: its snapshots, the newest record 121.
constexpr int32_t kLiveRecords = kSnapshotSlots - 1;

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

// What the item-count export reports of a source's records.
struct RecordSpan {
  int32_t recordCount = 0;
  int32_t triggerRecord = 0;  // 1-based; 0 when there is none
  int32_t interval = 0;       // seconds between records
};

// Whether a record of a held range exists, and whether it carries data.
enum class RecordState { Missing, Empty, Held };

// A found unit's records as the item, cursor and graph exports read them:
// the running gathering's snapshot history or a recorded file opened for
// replay. Records count from 1. The interpreter reads the record that moveTo
// bound through the DataSource interface, so a live value and a recorded
// one take the same path to the caller.
class ItemSource : public DataSource {
 public:
  virtual RecordSpan span() const = 0;
  // Whether a graph call may read `count` (0 .. 121) records from `first`;
  // when it may, they are made readable.
  virtual bool holdRange(int32_t first, int32_t count) = 0;
  // The same for the one record of a cursor call.
  virtual bool holdRecord(int32_t record) = 0;
  // Binds the source to a record of the held range: Missing for a record not
  // taken yet, Empty for one past the recorded count.
  virtual RecordState moveTo(int32_t record) = 0;
  // The time the cursor shows beside the record's value.
  virtual int64_t cursorTime(int32_t record) const = 0;
  // The trigger-condition bits of the unit's item `number`; false when the
  // source keeps none.
  virtual bool triggerFlags(int32_t number, uint32_t& flags) const = 0;
  // Whether a record without data keeps the text its evaluation gave (a
  // recorded file) or shows none (a live snapshot not filled for the unit).
  virtual bool keepsTextWithoutData() const = 0;
};

// An item, cursor or graph export's unit, as the caller names it (the file
// counted from 1).
struct ItemRequest {
  int32_t source;
  const char* folder;
  int32_t filePosition;
  int32_t system;
  int32_t unitClass;
  int32_t unitNumber;
};

// What a live source reports of the running gathering's slots.
struct LiveTiming {
  int32_t interval = 0;  // seconds between slots
  int64_t due = 0;       // the slot last handled
};

// The unit an export names, with the source its records read from.
struct FoundItem {
  ItemUnit unit;
  std::unique_ptr<ItemSource> source;
};

// What finding an export's unit answered; the cursor and graph exports
// return these codes as their own.
namespace itemfound {
constexpr int32_t kFound = 0;
constexpr int32_t kBadSource = 1;
constexpr int32_t kNotGathering = 2;
constexpr int32_t kNoFileUnit = 3;  // the source is still set: the file's records, no unit
constexpr int32_t kBadClass = 4;
constexpr int32_t kNoLiveUnit = 5;
}  // namespace itemfound

int32_t findItemSource(const ItemRequest& request, const LiveTiming& timing, FoundItem& out);

// The data type as the display takes it: 4, 5 and 6 are numbers (0), 7 is a
// two-state item (1).
int32_t reportedDataType(int32_t dataType);

}  // namespace tramsoll
