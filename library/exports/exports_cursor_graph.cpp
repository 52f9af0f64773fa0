// Cursor and graph exports: one item's value at the cursor, and its graph
// values or value texts over up to 121 samples, from the live snapshot
// history or from a recorded file opened for replay.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/caller_values.h"
#include "base/local_time.h"
#include "base/status_words.h"
#include "engine/frame.h"
#include "engine/settings.h"
#include "exports/export_outs.h"
#include "files/file_list.h"
#include "files/item_lookup.h"
#include "store/live_source.h"
#include "store/live_table.h"
#include "tramsoll.h"

using namespace tramsoll;

namespace {

constexpr int32_t kSamples = TRAMSOLL_GRAPH_RECORD_COUNT;      // samples of one graph call, and the live cursor record
constexpr int32_t kValueTextSize = TRAMSOLL_VALUE_TEXT_SIZE;
constexpr std::size_t kTimeTextSize = TRAMSOLL_TIME_TEXT_SIZE;
constexpr std::size_t kSlotTextSize = TRAMSOLL_GRAPH_TEXT_SLOT_SIZE;
constexpr char kNoTime[] = "--:--:--";

namespace result {
constexpr int32_t kDone = 0;
constexpr int32_t kBadSource = 1;
constexpr int32_t kNotGathering = 2;
constexpr int32_t kNoFileUnit = 3;
constexpr int32_t kBadClass = 4;
constexpr int32_t kNoLiveUnit = 5;
constexpr int32_t kBadItem = 6;
constexpr int32_t kBadRange = 7;
}  // namespace result

// The seven arguments that every export of this family begins with.
struct Selector {
  int32_t source;
  const char* folder;
  int32_t fileIndex;
  int32_t system;
  int32_t unitClass;
  int32_t unitNumber;
  int32_t itemNumber;
};

struct GraphItem {
  bool live = true;
  ItemUnit unit;
  ItemRecord item;
  ReplayTables* replay = nullptr;
};

int32_t findGraphItem(const Selector& s, GraphItem& out) {
  if (s.source != itemsource::kLive && s.source != itemsource::kReplay) return result::kBadSource;
  out.live = s.source == itemsource::kLive;
  if (out.live && !hasBits(gatherState, gather::kRunning)) return result::kNotGathering;
  if (!validUnitClass(s.unitClass)) return result::kBadClass;
  if (out.live) {
    if (!findLiveUnit(s.system, s.unitClass, s.unitNumber, out.unit)) return result::kNoLiveUnit;
  } else {
    out.replay = openedReplay(s.folder, subtractHeld(s.fileIndex, 1));
    if (!out.replay || !findFileUnit(*out.replay, s.unitClass, s.unitNumber, out.unit)) return result::kNoFileUnit;
  }
  if (!unitItem(out.unit, s.itemNumber, out.item) || itemDataType(out.item) == datatype::kText)
    return result::kBadItem;
  return result::kDone;
}

// A live unit's data rows: a board connection's single unit keeps them under
// kind 0, address 0.
void evaluateLiveUnitAt(const ItemUnit& unit, int32_t position, const ItemRecord& item, ItemOutput& out) {
  evaluateLiveItemAt(item, unit.dataKind, unit.dataAddress, unit.dataRow, position, out);
}

bool hasData(const ItemOutput& output) { return static_cast<int32_t>(output.time) > 0; }

// Finds the item and calls take(k, output) for the 121 samples of a graph
// call: output is the evaluation of the sample, or nullptr for a sample that
// does not exist (a live snapshot not taken yet, a file slot at or past the
// count).
template <class Take>
int32_t graphSamples(const Selector& selector, int32_t firstRecord, int32_t count, Take take) {
  GraphItem target;
  int32_t found = findGraphItem(selector, target);
  if (found != result::kDone) return found;
  ItemOutput output;
  if (target.live) {
    if (firstRecord != 1 || count != kSamples) return result::kBadRange;
    int32_t taken = liveDataTable().snapshotCount();
    for (int32_t k = 0; k < kSamples; ++k) {
      if (k < kSamples - taken) {
        take(k, nullptr);
        continue;
      }
      evaluateLiveUnitAt(target.unit, taken + k - kSamples, target.item, output);
      take(k, &output);
    }
    return result::kDone;
  }
  ReplayTables& replay = *target.replay;
  int32_t records = replay.recordCount();
  if (firstRecord < 1 || firstRecord > records || count < 0 || count > kSamples) return result::kBadRange;
  int32_t first = firstRecord - 1;
  int32_t held = count < records - first ? count : records - first;
  if (held > 0 && !replay.ensureRecords(first, held)) return result::kBadRange;
  for (int32_t k = 0; k < kSamples; ++k) {
    if (k >= count) {
      take(k, nullptr);
      continue;
    }
    output = ItemOutput{};
    if (k < held) replay.evaluateItem(target.unit.unitIndex, first + k, target.item, output);
    take(k, &output);
  }
  return result::kDone;
}

void putDate(int64_t time, int32_t* year, int32_t* month, int32_t* day, int32_t* secondOfDay) {
  LocalDate date;
  localDate(time, date);
  setOut(year, date.year);
  setOut(month, date.month);
  setOut(day, date.day);
  setOut(secondOfDay, date.secondOfDay());
}

void putCursorTexts(const ItemOutput& output, char* valueText, int32_t* valueTextLength, char* timeText) {
  if (!hasData(output)) {
    if (timeText) std::snprintf(timeText, kTimeTextSize, "%s", kNoTime);
    return;
  }
  setTextOut(valueText, valueTextLength, kValueTextSize, output.text);
  LocalDate date;
  if (!timeText) return;
  if (localDate(output.time, date)) {
    std::snprintf(timeText, kTimeTextSize, "%02u:%02u:%02u", static_cast<unsigned>(date.hour) % 100u,
                  static_cast<unsigned>(date.minute) % 100u, static_cast<unsigned>(date.second) % 100u);
  } else {
    std::snprintf(timeText, kTimeTextSize, "%s", kNoTime);
  }
}

}  // namespace

extern "C" TRAMSOLL_API int32_t getCursData(int32_t dataSource, const char* customerFolder, int32_t fileIndex,
                                            int32_t systemNumber, int32_t unitClass, int32_t unitNumber,
                                            int32_t itemNumber, int32_t recordNumber, char* valueText,
                                            int32_t* valueTextLength, char* timeText, int32_t* year, int32_t* month,
                                            int32_t* day, int32_t* secondOfDay) {
  ExportFrame frame;
  if (valueText) std::memset(valueText, 0, kValueTextSize);
  if (timeText) timeText[0] = '\0';
  for (int32_t* out : {valueTextLength, year, month, day, secondOfDay}) setOut(out, 0);
  GraphItem target;
  int32_t found = findGraphItem(
      {dataSource, customerFolder, fileIndex, systemNumber, unitClass, unitNumber, itemNumber}, target);
  if (found != result::kDone) return found;

  ItemOutput output{};
  int64_t dateTime = 0;
  if (target.live) {
    if (recordNumber != kSamples) return result::kBadRange;
    evaluateLiveUnitAt(target.unit, liveDataTable().snapshotCount() - 1, target.item, output);
    const GatherValues& values = gatherValues();
    dateTime = static_cast<int64_t>(values.dataDue) + values.dataInterval;
  } else {
    ReplayTables& replay = *target.replay;
    if (recordNumber < 1 || recordNumber > replay.recordCount()) return result::kBadRange;
    int32_t record = recordNumber - 1;
    if (!replay.ensureRecords(record, 1)) return result::kBadRange;
    replay.evaluateItem(target.unit.unitIndex, record, target.item, output);
    dateTime = replay.recordTime(record);
  }
  putCursorTexts(output, valueText, valueTextLength, timeText);
  putDate(dateTime, year, month, day, secondOfDay);
  return result::kDone;
}

extern "C" TRAMSOLL_API int32_t getGraphData(int32_t dataSource, const char* customerFolder, int32_t fileIndex,
                                             int32_t systemNumber, int32_t unitClass, int32_t unitNumber,
                                             int32_t itemNumber, int32_t firstRecord, int32_t recordCount,
                                             int32_t* graphValues) {
  ExportFrame frame;
  Selector selector{dataSource, customerFolder, fileIndex, systemNumber, unitClass, unitNumber, itemNumber};
  return graphSamples(selector, firstRecord, recordCount, [&](int32_t k, const ItemOutput* output) {
    if (graphValues) graphValues[k] = output && hasData(*output) ? output->graphValue : 0;
  });
}

extern "C" TRAMSOLL_API int32_t getGraphData2(int32_t dataSource, const char* customerFolder, int32_t fileIndex,
                                              int32_t systemNumber, int32_t unitClass, int32_t unitNumber,
                                              int32_t itemNumber, int32_t firstRecord, int32_t recordCount,
                                              char* valueTexts) {
  ExportFrame frame;
  // A live sample without data gets an empty text; a file's text is what the
  // evaluation gave.
  Selector selector{dataSource, customerFolder, fileIndex, systemNumber, unitClass, unitNumber, itemNumber};
  return graphSamples(selector, firstRecord, recordCount, [&](int32_t k, const ItemOutput* output) {
    if (!output || !valueTexts) return;
    char* slot = valueTexts + kSlotTextSize * static_cast<std::size_t>(k);
    copyText(slot, kSlotTextSize, dataSource == itemsource::kLive && !hasData(*output) ? "" : output->text);
  });
}
