// The state of one run of an item's conversion program. Every evaluation
// builds its own context, so no run sees what another left behind, and the
// words of the program (converters, operators, table and text words) work
// on it alone.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tables/data_source.h"
#include "tables/scrambled.h"

namespace tramsoll {

constexpr int32_t kWordCount = kFieldCount;  // 128 words
constexpr int32_t kWordSize = kFieldSize;    // 63 characters and the terminator
constexpr std::size_t kResultTextSize = 36;  // 35 characters and the terminator
constexpr std::size_t kUnitTextSize = 36;
constexpr std::size_t kErrorTextSize = 64;

enum class EvaluationMode : uint8_t { Live = 0, Record = 1, Check = 2 };

struct ConversionContext;

// A program word: reads its operand words at the cursor, moves the cursor
// past them and changes the context; false fails the run.
using WordRun = bool (*)(ConversionContext& context);

// A data operand word `name[index]` split into the block name and the
// hexadecimal index; not valid for a word without a bracket or with a name
// the data tables cannot key.
struct OperandAddress {
  bool valid = false;
  char name[kBlockKeyLength + 1] = {};
  uint64_t index = 0;
};

// A program word prepared once for running it many times: where it begins
// in the program text, the operator and the text word it names (nullptr for
// none), and the word read as a data operand and as a decimal number.
struct PreparedWord {
  uint16_t offset = 0;
  WordRun operatorRun = nullptr;
  WordRun textWordRun = nullptr;
  OperandAddress operand;
  double number = 0;
};

// A program split and looked up once: its words and the converter of the
// first word.
struct PreparedWords {
  const char* text = nullptr;  // each word followed by its terminator
  const PreparedWord* words = nullptr;
  WordRun converter = nullptr;
  int32_t count = 0;
};

struct ConversionContext {
  ConversionContext(EvaluationMode evaluationMode, DataSource& dataSource, int32_t dataType, float scale);
  ConversionContext(const ConversionContext&) = delete;
  ConversionContext& operator=(const ConversionContext&) = delete;

  // The word at `index`; an empty word for every index outside the program
  // (behind its last word, or outside 0..127).
  const char* word(int32_t index) const;
  // The word at the cursor, and the cursor moved past it.
  const char* takeWord();
  // Moves the cursor on by `count` words; it never passes the last slot + 1.
  void skipWords(int64_t count);
  // Overwrites the word at `index` (cut to 63 characters); false and
  // nothing written for an index outside 0..127.
  bool replaceWord(int32_t index, const char* text);

  // The result and unit texts, cut to their fields (at most `maxLength`
  // characters of the result).
  void setResultText(const char* text, std::size_t maxLength = kResultTextSize - 1);
  void setUnitText(const char* text);

  // Writes the fault message (cut to 63 characters) and answers false, so a
  // word can `return context.fail(...)`.
  bool fail(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // The accumulator truncated toward zero, stopping at the 32-bit range;
  // false for NaN, which fails the run.
  bool accumulatorAsInteger(int32_t& out) const;
  // Stores a value computed in double precision as the 32-bit accumulator.
  void store(double value);
  // Records the time stamp of the first data operand of the run.
  void noteOperandTime(uint32_t time);

  // Runs the prepared words in place of `words`; the first word replaced
  // copies them into `words` and drops the view.
  void usePrepared(const PreparedWords& program) { prepared = &program; }

  Fields words;                     // the split program; slots from words.used on read as empty
  const PreparedWords* prepared = nullptr;  // when set, the program read instead of `words`
  int32_t wordCursor = 0;           // the next word to read
  float accumulator = 0;
  char resultText[kResultTextSize] = {};
  char unitText[kUnitTextSize] = {};
  char errorText[kErrorTextSize] = {};
  int32_t resultWordIndex = 0;      // where the ending began
  int32_t graphValue = 0;
  float fullScale = 0;
  uint32_t operandTime = 0;
  bool operandTimeSet = false;
  int32_t itemDataType = 0;
  EvaluationMode mode;
  DataSource& source;
};

}  // namespace tramsoll
