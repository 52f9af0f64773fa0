// The replay tables of a recorded file opened for replay: its units in file
// order with their item groups, stored trigger conditions and sensor
// channels, and one record window that holds a range of its records in
// memory. The interpreter reads a record of the window through
// ReplayDataSource, the same interface it reads live snapshots through.
//
// Records are numbered from 0 here; the exports count them from 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/das_format.h"
#include "store/live_records.h"
#include "tables/conversion.h"
#include "tables/data_source.h"

namespace tramsoll {

class FileHandle;

constexpr int32_t kNoWindow = 0x7FFFFFFF;  // window start while nothing is loaded
constexpr int32_t kWindowRecords = 513;    // the most records a window holds
constexpr int32_t kWindowLoad = 512;       // records a reader loads at once
constexpr uint16_t kMostStatusBytes = 8;

// One item group of a unit and where its part lies in every record.
struct ReplayGroup {
  char key[kBlockKeySize];
  uint16_t dataLength;
  uint32_t partOffset;  // of the part's stamp, from the record's start
};

// One unit of the file. A unit whose model is not loaded stays as a
// placeholder (model -1) so that the parts of the units behind it are still
// found where they are; no reader can select it.
struct ReplayUnit {
  das::UnitBlock block{};
  int32_t model = -1;  // KishuTable index
  std::vector<ReplayGroup> groups;
  std::vector<das::ConditionBlock> conditions;
  std::vector<LogEntry> channels;  // 8 for a sensor-input unit, else none
  bool known() const { return model >= 0; }
};

// The unit group number that a unit's items come from: 0 on the bus and for
// sensor inputs, the unit number over a board connection.
int replayItemGroup(const das::FileHeader& header, const das::UnitBlock& unit);

enum class ReplayOpen { Opened, OpenedWithUnknownModel, Refused };

class ReplayTables {
 public:
  // Reads the unit, item-group, trigger-condition and sensor blocks of the
  // file at `path`. The file's header must still be the one `listed` gives
  // (the list's copy, interface mode 0 already read as 2). Refused, with a
  // diagnostic line, for a file that cannot be read whole or whose blocks
  // do not describe its records.
  ReplayOpen open(const std::string& path, const das::FileHeader& listed);
  // True when the opening met a unit whose model is not loaded.
  bool hadUnknownModel() const { return unknownModel_; }

  const das::FileHeader& header() const { return header_; }
  int32_t recordCount() const { return static_cast<int32_t>(header_.recordCount); }
  // A rescan found more (or fewer) records in the same file.
  void setRecordCount(uint32_t count) { header_.recordCount = count; }
  int32_t unitCount() const { return static_cast<int32_t>(units_.size()); }
  const ReplayUnit& unitAt(int32_t index) const { return units_[static_cast<std::size_t>(index)]; }
  // Index of the first known unit of that class and unit number; -1 when none.
  int32_t findUnit(int unitClass, int unitNumber) const;

  // ---- The record window ----
  int32_t windowStart() const { return windowStart_; }
  int32_t windowCount() const { return windowCount_; }
  bool holds(int32_t first, int32_t count) const;
  // Makes the window hold records first .. first + needed - 1 (needed 1 ..
  // 513), loading from `first` up to 512 records (fewer at the file's end)
  // when it does not. False when the file could not be read; the window is
  // then empty.
  bool ensureRecords(int32_t first, int32_t needed);
  // Reads `count` (1 .. 513) records from `first` into the window. Records
  // past the end of the file read as empty: time 0 and every stamp 0, and
  // so does a record with a part whose length is not status plus data
  // (bit 0x8 of the third error word and a diagnostic line). False when the
  // file cannot be read as it was opened.
  bool readRecordWindow(int32_t first, int32_t count);
  void dropWindow();

  // A record of the window: its sample time (0 when not held) and the
  // evaluations of an item of a unit at it. All fail for a record that the
  // window does not hold.
  uint32_t recordTime(int32_t record) const;
  bool evaluateItem(int32_t unitIndex, int32_t record, const ItemRecord& item, ItemOutput& out) const;
  bool evaluateText(int32_t unitIndex, int32_t record, const ItemRecord& item, char* text,
                    std::size_t capacity) const;
  bool evaluateValue(int32_t unitIndex, int32_t record, const ItemRecord& item, float& value,
                     uint32_t& time) const;

  // The bytes of a record held by the window; nullptr when not held.
  const uint8_t* recordBytes(int32_t record) const;

 private:
  bool readBlocks(FileHandle& file, const das::FileHeader& listed);
  bool readUnit(FileHandle& file, uint64_t& position, ReplayUnit& unit, uint32_t& partOffset);
  bool readConditions(FileHandle& file, uint64_t& position, ReplayUnit& unit);
  bool refuse(const char* format, ...) __attribute__((format(printf, 2, 3)));
  bool partsAreWhole(const uint8_t* record, uint16_t& badLength) const;
  bool headerUnchanged(FileHandle& file) const;

  std::string path_;
  das::FileHeader header_{};
  std::vector<ReplayUnit> units_;
  bool unknownModel_ = false;
  int32_t windowStart_ = kNoWindow;
  int32_t windowCount_ = 0;
  std::vector<uint8_t> window_;
};

// The interpreter's view of one unit at one record of a window.
class ReplayDataSource : public DataSource {
 public:
  ReplayDataSource(const ReplayTables& tables, int32_t unitIndex, int32_t record)
      : tables_(tables), unitIndex_(unitIndex), record_(record) {}

  // The data bytes of the unit's group of that key (status bytes left out),
  // with the stamp the record keeps for them.
  bool readBlock(const char* name, BlockBytes& out) override;
  // Range, offset, full scale and unit text of input 7 or 8 as the file
  // stores them.
  bool readSensorChannel(int channel, SensorChannel& out) override;
  uint32_t sampleTime() override;

 private:
  const ReplayTables& tables_;
  int32_t unitIndex_;
  int32_t record_;
};

}  // namespace tramsoll
