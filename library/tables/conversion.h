// The conversion interpreter: runs an item's conversion program over a
// unit's raw data and hands back what its caller shows, records or
// compares. Each entry builds its own context, so entries never share state;
// the calling frame still keeps the two threads apart, as it does for the
// data sources.
//
// A program is one converter word with its operands, any number of operator
// words, and an ending (a text word, or the display words that the item's
// data type asks for: a unit word or two state texts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tables/conversion_context.h"
#include "tables/data_source.h"
#include "tables/model_tables.h"

namespace tramsoll {

// The shown value of an item: the result text followed by the unit text,
// the graph value (percent of full scale for numbers, 0 or 1 otherwise) and
// the time of the data read.
struct ItemOutput {
  char text[kResultTextSize + kUnitTextSize];
  int32_t graphValue;
  uint32_t time;
};

// What the check at load reports of a program.
struct ProgramCheck {
  int32_t resultWordIndex;  // where the ending began
  int32_t wordCount;        // the word cursor at the end: the words used
  char errorText[kErrorTextSize];
};

// Live data (the source is bound to a unit and a snapshot). On failure the
// text is empty and the numbers 0.
bool evaluateLiveItem(const ItemRecord& item, DataSource& source, ItemOutput& out);
// The value after the unit conversion, and its time; both 0 on failure. The
// full scale counts as 0.
bool evaluateLiveValue(const ItemRecord& item, DataSource& source, float& value, uint32_t& time);

// A record of a file opened for replay (the source is bound to a unit and a
// record of the window).
bool evaluateRecordItem(const ItemRecord& item, DataSource& source, ItemOutput& out);
// The result text alone, without the unit; empty on failure.
bool evaluateRecordText(const ItemRecord& item, DataSource& source, char* text, std::size_t capacity);
// The value as the run left it, also on failure; the time, 0 on failure.
bool evaluateRecordValue(const ItemRecord& item, DataSource& source, float& value, uint32_t& time);

// An item with its program split into words once, for running the same
// item over many records (searches, CSV conversion): each run reads the
// words in place, with their keywords already looked up, instead of
// splitting the program text again.
class PreparedItem {
 public:
  PreparedItem() = default;
  explicit PreparedItem(const ItemRecord& item);

  int32_t dataType() const { return dataType_; }
  float fullScale() const { return fullScale_; }
  // The program for a run to read in place; valid while the item lives
  // unchanged.
  PreparedWords words() const;

 private:
  int32_t dataType_ = 0;
  float fullScale_ = 0;
  std::string text_;                // each word followed by its terminator
  std::vector<PreparedWord> words_;
  WordRun converter_ = nullptr;     // of the first word
};

// As the entries of the same name over an item record.
bool evaluateRecordText(const PreparedItem& item, DataSource& source, char* text, std::size_t capacity);
bool evaluateRecordValue(const PreparedItem& item, DataSource& source, float& value, uint32_t& time);

// The check at load: runs the program (at most `available` words, up to the
// first empty one) against the data blocks that model `modelIndex` declares.
bool checkItemProgram(int32_t modelIndex, const char (*words)[kFieldSize], int32_t available, int32_t dataType,
                      ProgramCheck& out);

// Runs the program already split into `context.words` (its first
// `words.used` slots), or the prepared words the context reads in place,
// from word 0.
bool runConversionProgram(ConversionContext& context);

}  // namespace tramsoll
