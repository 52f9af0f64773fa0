// Cursor and graph exports: one item's value at the cursor, and its graph
// values or value texts over up to 121 samples, from the live snapshot
// history or from a recorded file opened for replay.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/caller_values.h"
#include "base/local_time.h"
#include "engine/frame.h"
#include "exports/export_outs.h"
#include "exports/item_request.h"
#include "tramsoll.h"

using namespace tramsoll;

namespace {

constexpr int32_t kSamples = TRAMSOLL_GRAPH_RECORD_COUNT;  // samples of one graph call
// A live graph is the whole snapshot history: one sample a record.
static_assert(kSamples == kLiveRecords, "a live graph call spans the live records");
constexpr int32_t kValueTextSize = TRAMSOLL_VALUE_TEXT_SIZE;
constexpr std::size_t kTimeTextSize = TRAMSOLL_TIME_TEXT_SIZE;
constexpr std::size_t kSlotTextSize = TRAMSOLL_GRAPH_TEXT_SLOT_SIZE;
constexpr char kNoTime[] = "--:--:--";

namespace result {
constexpr int32_t kDone = itemfound::kFound;
constexpr int32_t kBadItem = 6;
constexpr int32_t kBadRange = 7;
}  // namespace result

struct GraphItem {
  FoundItem found;
  ItemRecord item;
};

// Finds the unit, its source and the item: kDone, a lookup code or kBadItem.
int32_t findGraphItem(const ItemRequest& request, int32_t itemNumber, GraphItem& out) {
  int32_t found = findExportItem(request, out.found);
  if (found != itemfound::kFound) return found;
  if (!unitItem(out.found.unit, itemNumber, out.item) || itemDataType(out.item) == datatype::kText)
    return result::kBadItem;
  return result::kDone;
}

bool hasData(const ItemOutput& output) { return static_cast<int32_t>(output.time) > 0; }

// The item's evaluation at a record of the held range into `output`: empty
// for a record without data, and false for a record that does not exist.
bool evaluateAt(ItemSource& source, const ItemRecord& item, int32_t record, ItemOutput& output) {
  output = ItemOutput{};
  RecordState state = source.moveTo(record);
  if (state == RecordState::Held) evaluateRecordItem(item, source, output);
  if (!hasData(output) && !source.keepsTextWithoutData()) output.text[0] = '\0';
  return state != RecordState::Missing;
}

// Finds the item and calls take(k, output) for the 121 samples of a graph
// call: output is the evaluation of the sample, or nullptr for a sample that
// does not exist (a live snapshot not taken yet, a slot at or past the
// count).
template <class Take>
int32_t graphSamples(const ItemRequest& request, int32_t itemNumber, int32_t firstRecord, int32_t count, Take take) {
  GraphItem target;
  int32_t found = findGraphItem(request, itemNumber, target);
  if (found != result::kDone) return found;
  ItemSource& source = *target.found.source;
  if (count < 0 || count > kSamples || !source.holdRange(firstRecord, count)) return result::kBadRange;
  ItemOutput output;
  for (int32_t k = 0; k < kSamples; ++k)
    take(k, k < count && evaluateAt(source, target.item, firstRecord + k, output) ? &output : nullptr);
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
  int32_t found = findGraphItem({dataSource, customerFolder, fileIndex, systemNumber, unitClass, unitNumber},
                                itemNumber, target);
  if (found != result::kDone) return found;
  ItemSource& source = *target.found.source;
  if (!source.holdRecord(recordNumber)) return result::kBadRange;
  ItemOutput output;
  evaluateAt(source, target.item, recordNumber, output);
  putCursorTexts(output, valueText, valueTextLength, timeText);
  putDate(source.cursorTime(recordNumber), year, month, day, secondOfDay);
  return result::kDone;
}

extern "C" TRAMSOLL_API int32_t getGraphData(int32_t dataSource, const char* customerFolder, int32_t fileIndex,
                                             int32_t systemNumber, int32_t unitClass, int32_t unitNumber,
                                             int32_t itemNumber, int32_t firstRecord, int32_t recordCount,
                                             int32_t* graphValues) {
  ExportFrame frame;
  ItemRequest request{dataSource, customerFolder, fileIndex, systemNumber, unitClass, unitNumber};
  return graphSamples(request, itemNumber, firstRecord, recordCount, [&](int32_t k, const ItemOutput* output) {
    if (graphValues) graphValues[k] = output && hasData(*output) ? output->graphValue : 0;
  });
}

extern "C" TRAMSOLL_API int32_t getGraphData2(int32_t dataSource, const char* customerFolder, int32_t fileIndex,
                                              int32_t systemNumber, int32_t unitClass, int32_t unitNumber,
                                              int32_t itemNumber, int32_t firstRecord, int32_t recordCount,
                                              char* valueTexts) {
  ExportFrame frame;
  ItemRequest request{dataSource, customerFolder, fileIndex, systemNumber, unitClass, unitNumber};
  return graphSamples(request, itemNumber, firstRecord, recordCount, [&](int32_t k, const ItemOutput* output) {
    if (!output || !valueTexts) return;
    char* slot = valueTexts + kSlotTextSize * static_cast<std::size_t>(k);
    copyText(slot, kSlotTextSize, output->text);
  });
}
