// The two searches over a recorded file opened for replay, for one item of
// one unit: the smallest and largest value over the whole file, and the
// next record from a start record on (wrapping round to the first) whose
// value is at or above, or at or below, a limit. Each is prepared once and
// then driven in slices of at most 32 records, so the caller's window stays
// responsive and can show progress. Values are those of the item's
// conversion program in the chosen display unit; records without data are
// passed over.
#pragma once

#include <cstdint>
#include <string>

#include "tables/conversion.h"

namespace tramsoll {

constexpr int32_t kSearchSlice = 32;

namespace searchresult {
constexpr int32_t kPrepared = 0;
constexpr int32_t kNoUnit = 1;    // the file is not opened, or holds no such unit
constexpr int32_t kBadClass = 2;
constexpr int32_t kBadItem = 3;   // item (or start record) out of range, or an item never shown
}  // namespace searchresult

// What a search reads. The file and its unit are looked up again at every
// slice, so a file closed meanwhile ends the search instead of being read.
struct SearchItem {
  std::string folder;
  int32_t fileIndex = -1;  // 0-based
  int32_t unitClass = 0;
  int32_t unitNumber = 0;
  PreparedItem item;
};

class MinMaxSearch {
 public:
  // 0 prepared, else a searchresult code. A failed preparation leaves a
  // finished search without values.
  int32_t prepare(const char* folder, int32_t fileIndex, int32_t unitClass, int32_t unitNumber, int32_t itemNumber);
  // Reads the next slice: 0 finished (progress 100), 1 call again.
  int32_t step(int32_t& progress);
  // 0 with both values once a prepared search has finished; 1 and zeros
  // otherwise. A file whose records all lack data gives 1e16 and -1e16.
  int32_t values(float& minimum, float& maximum) const;

 private:
  void end(bool withValues);

  SearchItem target_;
  int32_t position_ = 0;
  int32_t count_ = 0;
  float minimum_ = 0;
  float maximum_ = 0;
  bool finished_ = true;
  bool hasValues_ = false;
};

class ValueSearch {
 public:
  // `atOrAbove` false finds a value at or below the limit. 0 prepared, else
  // a searchresult code; a failed preparation leaves a finished search.
  int32_t prepare(const char* folder, int32_t fileIndex, int32_t unitClass, int32_t unitNumber, int32_t itemNumber,
                  int32_t startRecord, bool atOrAbove, float limit);
  // Reads the next slice: 0 found (`record` the 1-based record); 1 not
  // found (`record` the 0-based last record read) or already finished
  // (`record` 0); 2 call again (`record` the 0-based next record).
  int32_t step(int32_t& record);

 private:
  SearchItem target_;
  int32_t position_ = 0;
  int32_t end_ = 0;
  int32_t count_ = 0;
  float limit_ = 0;
  bool atOrAbove_ = true;
  bool finished_ = true;
};

// The program's one search of each kind.
MinMaxSearch& minMaxSearch();
ValueSearch& valueSearch();

}  // namespace tramsoll
