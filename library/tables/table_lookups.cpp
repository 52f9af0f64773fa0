#include "tables/table_lookups.h"

#include <cstdint>
#include <cstring>

#include "tables/conversion_tables.h"
#include "tables/number_text.h"
#include "tables/table_words.h"

namespace tramsoll {

namespace {

// ---- ptable and stable: a piecewise-linear segment ----

using RowCount = bool (*)(uint32_t, int32_t&);
using RowFetch = bool (*)(uint32_t, uint32_t, float (&)[kTableColumns]);

struct SegmentTable {
  const char* keyword;
  RowCount count;
  RowFetch fetch;
  bool boundInclusive;  // ptable takes the row of a value equal to its bound
};

constexpr int kBound = 1;   // column 2: the row's upper bound
constexpr int kFactor = 2;  // column 3
constexpr int kOffset = 3;  // column 4

// The first row whose bound the accumulator does not pass, else the last
// row. False (after the message) when the table is missing or empty.
bool chooseRow(ConversionContext& context, const SegmentTable& table, int32_t number,
               float (&columns)[kTableColumns]) {
  int32_t rows = 0;
  if (!table.count(static_cast<uint32_t>(number), rows)) return context.fail("No %s number \"%d\"", table.keyword, number);
  // A table without rows has no last row to fall back on.
  if (rows <= 0) {
    context.accumulator = 0;
    return context.fail("No %s number \"%d\"", table.keyword, number);
  }
  for (int32_t row = 0; row < rows; ++row) {
    table.fetch(static_cast<uint32_t>(number), static_cast<uint32_t>(row), columns);
    float bound = columns[kBound];
    if (table.boundInclusive ? bound >= context.accumulator : bound > context.accumulator) return true;
  }
  return true;  // the last row fetched
}

constexpr SegmentTable kPressure{"ptable", getPressureRowCount, getPressureRow, true};
constexpr SegmentTable kSaturate{"stable", getSaturateRowCount, getSaturateRow, false};

bool wordPtable(ConversionContext& context) {
  int32_t number = textToInt(context.takeWord());
  float columns[kTableColumns];
  if (!chooseRow(context, kPressure, number, columns)) return false;
  // A row without a factor would divide by zero: the run fails as `div` by
  // 0 does.
  if (columns[kFactor] == 0) {
    context.accumulator = 0;
    return false;
  }
  context.store((double{context.accumulator} - columns[kOffset]) / columns[kFactor]);
  return true;
}

bool wordStable(ConversionContext& context) {
  int32_t number = textToInt(context.takeWord());
  float columns[kTableColumns];
  if (!chooseRow(context, kSaturate, number, columns)) return false;
  context.store(double{context.accumulator} * columns[kFactor] + columns[kOffset]);
  return true;
}

// ---- utable: an analog sensor input scaled to its range ----

constexpr float kPerCount = 1.0f / 1023.0f;

bool wordUtable(ConversionContext& context) {
  int channelNumber = textToInt(context.takeWord()) != 0 ? 8 : 7;
  if (context.mode == EvaluationMode::Check) return true;
  SensorChannel channel;
  if (!context.source.readSensorChannel(channelNumber, channel)) channel = SensorChannel{};
  double raw = context.accumulator;
  if (channel.range == 1) raw *= 5;
  double span = static_cast<double>(channel.fullScale) - channel.offset;
  context.store(span * kPerCount * raw + channel.offset);
  char unit[kChannelUnitSize];
  std::size_t n = strnlen(channel.unit, kChannelUnitSize - 1);
  std::memcpy(unit, channel.unit, n);
  unit[n] = '\0';
  context.replaceWord(context.wordCursor, unit);
  return true;
}

// ---- ercd, etable, table: texts ----

constexpr char kErcdFirst[] = " ACEHFJLPUM34560";  // by the high nibble; 0 shows blanks
constexpr char kErcdSecond[] = "0123456789AHCJEF";

bool wordErcd(ConversionContext& context) {
  int32_t value;
  if (!context.accumulatorAsInteger(value)) return false;
  unsigned code = static_cast<unsigned>(value) & 0xFF;
  unsigned high = code >> 4;
  if (high == 0) {
    context.setResultText("  ");
    return true;
  }
  const char text[3] = {kErcdFirst[high], kErcdSecond[code & 0x0F], '\0'};
  context.setResultText(text);
  return true;
}

bool wordEtable(ConversionContext& context) {
  int32_t number = textToInt(context.takeWord());
  ErrorCodeEntry entry;
  if (!getErrorCodeEntry(static_cast<uint32_t>(number), entry)) return context.fail("No table no \"%d\"", number);
  int32_t value;
  if (!context.accumulatorAsInteger(value)) return false;
  int64_t i = value;
  char first = context.accumulator >= 0 ? entry.rows[1][(i / 16) % 16] : entry.rows[0][(-i / 16) % 16];
  if (first == ' ') {
    context.setResultText(" ");
    return true;
  }
  const char text[3] = {first, entry.rows[2][static_cast<uint32_t>(value) & 0x0F], '\0'};
  context.setResultText(text);
  return true;
}

constexpr std::size_t kTableTextLength = 32;

// The texts stay inside the program's 128 words: a count that would reach
// past them (or a negative one) fails.
bool wordTable(ConversionContext& context) {
  int32_t count = textToInt(context.takeWord());
  int32_t first = context.wordCursor;
  if (count < 0 || count > kWordCount - first) return context.fail("Table count error \"%d\"", count);
  int32_t value;
  if (!context.accumulatorAsInteger(value)) return false;
  int32_t chosen = count >= 1 && value >= 0 && value < count ? first + value : first;
  context.setResultText(context.word(chosen), kTableTextLength);
  context.skipWords(count);
  return true;
}

// ---- Units ----

bool isCelsius(const char* unit) {
  return std::strcmp(unit, "C") == 0 || std::strcmp(unit, "\x81\x8E") == 0 || std::strcmp(unit, "\xE2\x84\x83") == 0;
}

}  // namespace

void applyDisplayUnit(int32_t unitFlag, char (&unitText)[kUnitTextSize], float& value, float& fullScale) {
  if (unitFlag == 0) return;
  if (isCelsius(unitText)) {
    std::strcpy(unitText, "F");
    value = toStoredFloat(double{value} * double{1.8f} + double{32.0f});
    if (fullScale == 100) fullScale = 200;
    else if (fullScale == 150) fullScale = 300;
  }
  if (std::strcmp(unitText, "kgf/cm2") == 0) {
    std::strcpy(unitText, "PSI");
    value = toStoredFloat(double{value} * double{14.22336f});
    if (fullScale == 50) fullScale = 500;
  }
}

void installTableWords() {
  setTableWords(TableWords{wordPtable, wordStable, wordUtable, wordErcd, wordTable, wordEtable, applyDisplayUnit});
}

}  // namespace tramsoll
