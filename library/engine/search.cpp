#include "engine/search.h"

#include <algorithm>

#include "base/caller_values.h"
#include "base/table_growth.h"
#include "files/file_list.h"
#include "files/item_lookup.h"
#include "files/replay_tables.h"

namespace tramsoll {

namespace {

constexpr float kNoMinimum = 1e16f;
constexpr float kNoMaximum = -1e16f;

// Finds the file, the unit and the item, as the graph exports do.
int32_t prepareSearchItem(const char* folder, int32_t fileIndex, int32_t unitClass, int32_t unitNumber,
                          int32_t itemNumber, SearchItem& out, int32_t& recordCount) {
  out = SearchItem{};
  recordCount = 0;
  if (!validUnitClass(unitClass)) return searchresult::kBadClass;
  const ReplayTables* replay = openedReplay(folder, subtractHeld(fileIndex, 1));
  ItemUnit unit;
  if (!replay || !findFileUnit(*replay, unitClass, unitNumber, unit)) return searchresult::kNoUnit;
  ItemRecord item;
  if (!unitItem(unit, itemNumber, item) || itemDataType(item) == datatype::kText) return searchresult::kBadItem;
  // Without memory for the item the search cannot run: it stays finished.
  if (!allocateOrReport("search", [&] {
        out.item = PreparedItem(item);
        out.folder = folder;
      }))
    return searchresult::kNoUnit;
  out.fileIndex = subtractHeld(fileIndex, 1);
  out.unitClass = unitClass;
  out.unitNumber = unitNumber;
  recordCount = replay->recordCount();
  return searchresult::kPrepared;
}

enum class Reading { Value, NoData, Failed };

// The target's file and unit for one slice.
class SliceReader {
 public:
  SliceReader(const SearchItem& target, int32_t recordCount) : target_(target), count_(recordCount) {
    replay_ = openedReplay(target.folder.c_str(), target.fileIndex);
    if (replay_) unitIndex_ = replay_->findUnit(target.unitClass, target.unitNumber);
  }

  // False when the file is no longer opened or no longer holds the unit.
  bool ready() const { return replay_ && unitIndex_ >= 0; }

  // The item's value at a record; Failed when the file cannot be read.
  Reading read(int32_t record, float& value) {
    if (!replay_->holds(record, 1) &&
        !replay_->ensureRecords(record, std::min(kSearchSlice, std::max(count_ - record, 1))))
      return Reading::Failed;
    uint32_t time = 0;
    ReplayDataSource source(*replay_, unitIndex_, record);
    evaluateRecordValue(target_.item, source, value, time);
    return static_cast<int32_t>(time) > 0 ? Reading::Value : Reading::NoData;
  }

 private:
  const SearchItem& target_;
  int32_t count_;
  ReplayTables* replay_ = nullptr;
  int32_t unitIndex_ = -1;
};

}  // namespace

// ---- Min/max ----

int32_t MinMaxSearch::prepare(const char* folder, int32_t fileIndex, int32_t unitClass, int32_t unitNumber,
                              int32_t itemNumber) {
  int32_t result = prepareSearchItem(folder, fileIndex, unitClass, unitNumber, itemNumber, target_, count_);
  position_ = 0;
  minimum_ = kNoMinimum;
  maximum_ = kNoMaximum;
  finished_ = result != searchresult::kPrepared;
  hasValues_ = false;
  return result;
}

void MinMaxSearch::end(bool withValues) {
  finished_ = true;
  hasValues_ = withValues;
}

int32_t MinMaxSearch::step(int32_t& progress) {
  progress = 100;
  if (finished_) return 0;
  // Every record is read, the last one too; a file without records ends at once.
  if (position_ >= count_) {
    end(true);
    return 0;
  }
  SliceReader reader(target_, count_);
  if (!reader.ready()) {
    end(false);
    return 0;
  }
  for (int32_t n = 0; n < kSearchSlice && position_ < count_; ++n, ++position_) {
    float value = 0;
    Reading reading = reader.read(position_, value);
    if (reading == Reading::Failed) {
      end(false);
      return 0;
    }
    if (reading == Reading::NoData) continue;
    minimum_ = std::min(minimum_, value);
    maximum_ = std::max(maximum_, value);
  }
  if (position_ >= count_) {
    end(true);
    return 0;
  }
  progress = static_cast<int32_t>(int64_t{position_} * 100 / count_);
  return 1;
}

int32_t MinMaxSearch::values(float& minimum, float& maximum) const {
  minimum = 0;
  maximum = 0;
  if (!finished_ || !hasValues_) return 1;
  minimum = minimum_;
  maximum = maximum_;
  return 0;
}

// ---- Value search ----

int32_t ValueSearch::prepare(const char* folder, int32_t fileIndex, int32_t unitClass, int32_t unitNumber,
                             int32_t itemNumber, int32_t startRecord, bool atOrAbove, float limit) {
  finished_ = true;
  int32_t result = prepareSearchItem(folder, fileIndex, unitClass, unitNumber, itemNumber, target_, count_);
  if (result != searchresult::kPrepared) return result;
  if (startRecord < 1 || startRecord > count_) return searchresult::kBadItem;
  position_ = startRecord - 1;
  end_ = startRecord == 1 ? count_ - 1 : startRecord - 2;
  atOrAbove_ = atOrAbove;
  limit_ = limit;
  finished_ = false;
  return searchresult::kPrepared;
}

int32_t ValueSearch::step(int32_t& record) {
  record = 0;
  if (finished_) return 1;
  SliceReader reader(target_, count_);
  if (!reader.ready()) {
    finished_ = true;
    return 1;
  }
  for (int32_t n = 0; n < kSearchSlice; ++n) {
    float value = 0;
    Reading reading = reader.read(position_, value);
    if (reading == Reading::Failed) {
      finished_ = true;
      return 1;
    }
    if (reading == Reading::Value && (atOrAbove_ ? value >= limit_ : value <= limit_)) {
      record = position_ + 1;
      finished_ = true;
      return 0;
    }
    if (position_ == end_) {
      record = position_;
      finished_ = true;
      return 1;
    }
    if (++position_ >= count_) position_ = 0;
  }
  record = position_;
  return 2;
}

MinMaxSearch& minMaxSearch() {
  static MinMaxSearch search;
  return search;
}

ValueSearch& valueSearch() {
  static ValueSearch search;
  return search;
}

}  // namespace tramsoll
