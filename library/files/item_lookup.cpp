#include "files/item_lookup.h"

#include <cstdio>
#include <cstring>

#include "base/caller_values.h"
#include "base/status_words.h"
#include "files/file_list.h"
#include "store/discovery_table.h"
#include "store/live_source.h"
#include "store/live_table.h"

namespace tramsoll {

namespace {

constexpr int kFirstAnalogInput = 6;  // items 7 and 8: channels 7 and 8

int32_t unitGroupItemCount(const ItemUnit& unit) {
  if (unit.unitClass == unitKind::kSensor) return kSensorItems;
  UnitGroup group;
  return unit.model >= 0 && findKishuSub(unit.model, unit.unitClass, unit.group, group) ? group.itemCount : 0;
}

// The item definition that sensor item `index` (0-based) uses: inputs 7 and
// 8 have one for each position of their switch.
int32_t sensorDefinition(int32_t index, const LogEntry& channel) {
  if (index == kFirstAnalogInput) return channel.switchPosition ? 7 : 6;
  if (index == kFirstAnalogInput + 1) return channel.switchPosition ? 9 : 8;
  return index;
}

// The live history of a unit row. Its snapshots stand still while the
// export that reads them holds its frame, so the count taken is read once.
class LiveItemSource final : public ItemSource {
 public:
  LiveItemSource(const ItemUnit& unit, const LiveTiming& timing)
      : unit_(unit), timing_(timing), taken_(liveDataTable().snapshotCount()) {}

  bool readBlock(const char* name, BlockBytes& out) override { return data().readBlock(name, out); }
  bool readSensorChannel(int channel, SensorChannel& out) override { return data().readSensorChannel(channel, out); }
  uint32_t sampleTime() override { return data().sampleTime(); }

  RecordSpan span() const override { return {kLiveRecords, 0, timing_.interval}; }
  // A graph reads the whole history, a cursor its newest snapshot.
  bool holdRange(int32_t first, int32_t count) override { return first == 1 && count == kLiveRecords; }
  bool holdRecord(int32_t record) override { return record == kLiveRecords; }
  RecordState moveTo(int32_t record) override {
    if (record <= kLiveRecords - taken_ || record > kLiveRecords) return RecordState::Missing;
    position_ = taken_ + record - kLiveRecords - 1;
    return RecordState::Held;
  }
  // A live cursor shows the time of the next gather slot.
  int64_t cursorTime(int32_t) const override { return timing_.due + timing_.interval; }
  bool triggerFlags(int32_t number, uint32_t& flags) const override {
    liveDataTable().getTriggerFlags(unit_.unitClass, unit_.address, unit_.row, number - 1, flags);
    return true;
  }
  bool keepsTextWithoutData() const override { return false; }

 private:
  LiveDataSource data() const {
    return {liveDataTable(), unit_.dataKind, unit_.dataAddress, unit_.dataRow, position_};
  }

  ItemUnit unit_;
  LiveTiming timing_;
  int32_t taken_;
  int position_ = -1;
};

// A recorded file opened for replay, read through its record window. Without
// the unit (or without the file's tables) it still reports the file's
// records, and reads none.
class FileItemSource final : public ItemSource {
 public:
  FileItemSource(const ListedFile* file, ReplayTables* replay, int32_t unitIndex)
      : file_(file), replay_(replay), unitIndex_(unitIndex) {}

  bool readBlock(const char* name, BlockBytes& out) override {
    out = BlockBytes{};
    return replay_ && data().readBlock(name, out);
  }
  bool readSensorChannel(int channel, SensorChannel& out) override {
    out = SensorChannel{};
    return replay_ && data().readSensorChannel(channel, out);
  }
  uint32_t sampleTime() override { return replay_ ? data().sampleTime() : 0; }

  RecordSpan span() const override {
    if (!file_) return {};
    const das::FileHeader& header = file_->header;
    bool trigger = header.recordingKind == das::kTrigger;
    return {static_cast<int32_t>(header.recordCount), trigger ? static_cast<int32_t>(header.triggerRecord + 1) : 0,
            header.interval};
  }
  bool holdRange(int32_t first, int32_t count) override {
    int32_t records = replay_ ? replay_->recordCount() : 0;
    if (first < 1 || first > records || count < 0) return false;
    int32_t held = count < records - first + 1 ? count : records - first + 1;
    return held <= 0 || replay_->ensureRecords(first - 1, held);
  }
  bool holdRecord(int32_t record) override { return holdRange(record, 1); }
  RecordState moveTo(int32_t record) override {
    record_ = record - 1;
    if (!replay_ || record > replay_->recordCount() || !replay_->recordBytes(record_)) return RecordState::Empty;
    return RecordState::Held;
  }
  int64_t cursorTime(int32_t record) const override { return replay_ ? replay_->recordTime(record - 1) : 0; }
  bool triggerFlags(int32_t, uint32_t&) const override { return false; }
  bool keepsTextWithoutData() const override { return true; }

 private:
  ReplayDataSource data() const { return {*replay_, unitIndex_, record_}; }

  const ListedFile* file_;
  ReplayTables* replay_;
  int32_t unitIndex_;
  int32_t record_ = -1;
};

int32_t findLiveSource(const ItemRequest& request, const LiveTiming& timing, FoundItem& out) {
  if (!findLiveUnit(request.system, request.unitClass, request.unitNumber, out.unit)) return itemfound::kNoLiveUnit;
  out.source = std::make_unique<LiveItemSource>(out.unit, timing);
  return itemfound::kFound;
}

int32_t findFileSource(const ItemRequest& request, FoundItem& out) {
  int32_t index = subtractHeld(request.filePosition, 1);
  ReplayTables* replay = openedReplay(request.folder, index);
  bool found = replay && findFileUnit(*replay, request.unitClass, request.unitNumber, out.unit);
  out.source = std::make_unique<FileItemSource>(findListedFile(request.folder, index), found ? replay : nullptr,
                                                out.unit.unitIndex);
  return found ? itemfound::kFound : itemfound::kNoFileUnit;
}

}  // namespace

bool validUnitClass(int32_t unitClass) {
  return unitClass == unitKind::kOutdoor || unitClass == unitKind::kIndoor || unitClass == unitKind::kCentral ||
         unitClass == unitKind::kSensor;
}

bool findLiveUnit(int32_t system, int32_t unitClass, int32_t unitNumber, ItemUnit& out) {
  out = ItemUnit{};
  uint8_t address = 0;
  int row = 0;
  AutoAdrEntry entry;
  AirconRow aircon;
  if (!autoAdrTable().findRowByNumber(system, unitClass, unitNumber, address, row) ||
      !autoAdrTable().rowByIndex(unitClass, address, row, entry, aircon))
    return false;
  bool sensor = unitClass == unitKind::kSensor;
  bool bus = hasBits(gatherState, gather::kBusMonitor);
  out.unitClass = unitClass;
  out.address = address;
  out.row = row;
  if (!findKishuByFile(aircon.secondText, out.model)) out.model = -1;
  out.group = sensor || bus ? 0 : unitNumber;
  out.itemCount = unitGroupItemCount(out);
  if (sensor || bus) {
    out.dataKind = unitClass;
    out.dataAddress = address;
    out.dataRow = row;
  }
  for (int slot = 0; sensor && slot < kLogEntries; ++slot)
    liveDataTable().getLogEntry(unitClass, address, row, slot, out.channels[slot]);
  return true;
}

bool findFileUnit(const ReplayTables& replay, int32_t unitClass, int32_t unitNumber, ItemUnit& out) {
  out = ItemUnit{};
  int32_t index = replay.findUnit(unitClass, unitNumber);
  if (index < 0) return false;
  const ReplayUnit& unit = replay.unitAt(index);
  out.unitClass = unitClass;
  out.model = unit.model;
  out.group = replayItemGroup(replay.header(), unit.block);
  out.itemCount = unitGroupItemCount(out);
  for (std::size_t slot = 0; slot < unit.channels.size() && slot < kLogEntries; ++slot)
    out.channels[slot] = unit.channels[slot];
  out.replay = &replay;
  out.unitIndex = index;
  return true;
}

int32_t findItemSource(const ItemRequest& request, const LiveTiming& timing, FoundItem& out) {
  out.unit = ItemUnit{};
  out.source.reset();
  bool live = request.source == itemsource::kLive;
  if (!live && request.source != itemsource::kReplay) return itemfound::kBadSource;
  if (live && !hasBits(gatherState, gather::kRunning)) return itemfound::kNotGathering;
  if (!validUnitClass(request.unitClass)) return itemfound::kBadClass;
  return live ? findLiveSource(request, timing, out) : findFileSource(request, out);
}

bool unitItemDefinition(const ItemUnit& unit, int32_t number, ItemRecord& out) {
  std::memset(&out, 0, sizeof out);
  if (number < 1 || number > unit.itemCount || unit.model < 0) return false;
  int32_t index = number - 1;
  if (unit.unitClass != unitKind::kSensor) return getItem(unit.model, unit.unitClass, unit.group, index, out);
  const LogEntry& channel = unit.channels[index];
  if (!getItem(unit.model, unitKind::kSensor, 0, sensorDefinition(index, channel), out)) return false;
  if (index >= kFirstAnalogInput && channel.switchPosition)
    std::snprintf(out.fullScale, sizeof out.fullScale, "%d", channel.fullScale);
  return true;
}

bool unitItem(const ItemUnit& unit, int32_t number, ItemRecord& out) {
  if (!unitItemDefinition(unit, number, out)) return false;
  if (unit.unitClass != unitKind::kSensor) return true;
  const LogEntry& channel = unit.channels[number - 1];
  setFieldText(out.name, channel.name);
  out.flags &= ~itemflag::kDefaultGraph;
  if (channel.used & 1) out.flags |= itemflag::kDefaultGraph;
  return true;
}

int32_t reportedDataType(int32_t dataType) {
  switch (dataType) {
    case datatype::kInteger:
    case datatype::kFloat1:
    case datatype::kFloat2: return datatype::kAnalog;
    case datatype::kOnOff: return datatype::kDigital;
    default: return dataType;
  }
}

}  // namespace tramsoll
