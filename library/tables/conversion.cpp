#include "tables/conversion.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tables/number_text.h"
#include "tables/program_words.h"
#include "tables/table_words.h"

namespace tramsoll {

// ---- The context of one run ----

ConversionContext::ConversionContext(EvaluationMode evaluationMode, DataSource& dataSource, int32_t dataType,
                                     float scale)
    : fullScale(scale), itemDataType(dataType), mode(evaluationMode), source(dataSource) {}

const char* ConversionContext::word(int32_t index) const {
  if (prepared) return index >= 0 && index < prepared->count ? prepared->text + prepared->words[index].offset : "";
  if (index < 0 || index >= words.used) return "";
  return words[index];
}

const char* ConversionContext::takeWord() {
  const char* text = word(wordCursor);
  skipWords(1);
  return text;
}

void ConversionContext::skipWords(int64_t count) {
  int64_t next = int64_t{wordCursor} + count;
  if (next > kWordCount) next = kWordCount;
  if (next < 0) next = 0;
  wordCursor = static_cast<int32_t>(next);
}

bool ConversionContext::replaceWord(int32_t index, const char* text) {
  if (index < 0 || index >= kWordCount) return false;
  if (prepared) {
    const PreparedWords& program = *prepared;
    prepared = nullptr;
    for (int32_t i = 0; i < program.count; ++i) {
      const char* preparedWord = program.text + program.words[i].offset;
      std::memcpy(words[i], preparedWord, std::strlen(preparedWord) + 1);
    }
    words.used = program.count;
  }
  for (; words.used <= index; ++words.used) words[words.used][0] = '\0';
  std::size_t n = strnlen(text, kWordSize - 1);
  std::memmove(words[index], text, n);
  words[index][n] = '\0';
  return true;
}

namespace {

// Result and unit texts are a few characters: a plain loop beats the
// library calls.
template <std::size_t N>
void copyCut(char (&to)[N], const char* text, std::size_t maxLength) {
  std::size_t limit = maxLength < N - 1 ? maxLength : N - 1;
  std::size_t n = 0;
  for (; n < limit && text[n]; ++n) to[n] = text[n];
  to[n] = '\0';
}

}  // namespace

void ConversionContext::setResultText(const char* text, std::size_t maxLength) {
  copyCut(resultText, text, maxLength);
}

void ConversionContext::setUnitText(const char* text) { copyCut(unitText, text, kUnitTextSize - 1); }

bool ConversionContext::fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(errorText, sizeof errorText, format, args);
  va_end(args);
  return false;
}

bool ConversionContext::accumulatorAsInteger(int32_t& out) const { return truncateToInt(accumulator, out); }

void ConversionContext::store(double value) { accumulator = toStoredFloat(value); }

void ConversionContext::noteOperandTime(uint32_t time) {
  if (operandTimeSet) return;
  operandTime = time;
  operandTimeSet = true;
}

// ---- The run ----

namespace {

// The words the program names at the cursor, from the prepared lookups
// while the program is read in place.
WordRun converterAtCursor(const ConversionContext& context) {
  if (context.prepared && context.wordCursor == 0) return context.prepared->converter;
  return findConverter(context.word(context.wordCursor));
}

WordRun operatorAtCursor(const ConversionContext& context) {
  const PreparedWords* program = context.prepared;
  if (program) return context.wordCursor < program->count ? program->words[context.wordCursor].operatorRun : nullptr;
  return findOperator(context.word(context.wordCursor));
}

WordRun textWordAtCursor(const ConversionContext& context) {
  const PreparedWords* program = context.prepared;
  if (program) return context.wordCursor < program->count ? program->words[context.wordCursor].textWordRun : nullptr;
  return findTextWord(context.word(context.wordCursor));
}

bool isNumericType(int32_t dataType) {
  return dataType == datatype::kAnalog || dataType == datatype::kInteger || dataType == datatype::kFloat1 ||
         dataType == datatype::kFloat2;
}

bool isTwoStateType(int32_t dataType) {
  return dataType == datatype::kDigital || dataType == datatype::kBinary || dataType == datatype::kOnOff;
}

// The number with its unit word: decimals < 0 shows the value truncated
// toward zero.
bool showNumber(ConversionContext& context, int decimals) {
  context.setUnitText(context.word(context.wordCursor));
  tableWords().applyDisplayUnit(tempUnitFlag.load(), context.unitText, context.accumulator, context.fullScale);
  char text[64];
  std::size_t length = 0;
  if (decimals < 0) {
    int32_t value;
    if (!context.accumulatorAsInteger(value)) return false;
    length = static_cast<std::size_t>(std::to_chars(text, text + sizeof text - 2, value).ptr - text);
  } else {
    length = formatFixed(text, sizeof text - 1, context.accumulator, decimals);
  }
  text[length] = ' ';
  text[length + 1] = '\0';
  context.setResultText(text);
  context.resultWordIndex = context.wordCursor;
  context.skipWords(1);
  return true;
}

void showState(ConversionContext& context) {
  int32_t at = context.wordCursor;
  context.setResultText(context.word(context.accumulator == 0 ? at : at + 1));
  context.unitText[0] = '\0';
  context.resultWordIndex = at;
  context.skipWords(2);
}

bool showByDataType(ConversionContext& context) {
  switch (context.itemDataType) {
    case datatype::kInteger:
      return showNumber(context, -1);
    case datatype::kAnalog:
    case datatype::kFloat1:
      return showNumber(context, 1);
    case datatype::kFloat2:
      return showNumber(context, 2);
    default:
      if (isTwoStateType(context.itemDataType)) showState(context);
      return true;
  }
}

bool setGraphValue(ConversionContext& context) {
  if (!isNumericType(context.itemDataType)) {
    context.graphValue = context.accumulator != 0 ? 1 : 0;
    return true;
  }
  if (context.fullScale == 0) {
    context.graphValue = 0;
    return true;
  }
  int32_t percent;
  if (!truncateToInt(context.accumulator * 100.0f / context.fullScale, percent)) return false;
  if (percent > 100) percent = 100;
  if (percent < -20) percent = -20;
  context.graphValue = percent;
  return true;
}

// The ending after the operators; false fails the run.
bool runEnding(ConversionContext& context) {
  if (WordRun textWord = textWordAtCursor(context)) {
    context.skipWords(1);
    bool done = textWord(context);
    context.unitText[0] = '\0';
    context.resultWordIndex = context.wordCursor;
    return done;
  }
  if (isKeyword(context.word(0), "2ctoecd")) {
    context.unitText[0] = '\0';
    context.resultWordIndex = context.wordCursor;
    return true;
  }
  return showByDataType(context);
}

}  // namespace

bool runConversionProgram(ConversionContext& context) {
  WordRun converter = converterAtCursor(context);
  if (!converter) return context.fail("Unknown-Cmd \"%s\"", context.word(context.wordCursor));
  context.skipWords(1);
  if (!converter(context)) return false;
  while (WordRun op = operatorAtCursor(context)) {
    context.skipWords(1);
    if (!op(context)) return false;
  }
  if (!runEnding(context)) return false;
  return setGraphValue(context);
}

// ---- Entries ----

namespace {

// The model's declared data blocks, for the check at load: the bytes are
// zeros and carry no meaning, and there is no time.
class DeclaredBlocks : public DataSource {
 public:
  explicit DeclaredBlocks(int32_t modelIndex) : modelIndex_(modelIndex) {}

  bool readBlock(const char* name, BlockBytes& out) override {
    static const uint8_t kZeros[kBlockBytes] = {};
    uint16_t length = 0;
    if (!findKishuDataLength(modelIndex_, name, length)) return false;
    out.bytes = kZeros;
    out.length = length > kBlockBytes ? kBlockBytes : length;
    out.time = 0;
    return true;
  }
  bool readSensorChannel(int, SensorChannel&) override { return false; }
  uint32_t sampleTime() override { return 0; }

 private:
  int32_t modelIndex_;
};

// Splits the item's program into a run's words; a program text that
// fills its field without a terminator is read up to the field's end.
void loadProgram(Fields& words, const ItemRecord& item) {
  if (item.program[kProgramSize - 1] == '\0' || std::memchr(item.program, '\0', sizeof item.program)) {
    splitUsedFields(item.program, words);
    return;
  }
  char program[kProgramSize + 1];
  std::memcpy(program, item.program, kProgramSize);
  program[kProgramSize] = '\0';
  splitUsedFields(program, words);
}

// Only numeric data types show a graph value of their full scale.
float fullScaleOf(const ItemRecord& item) {
  if (!isNumericType(itemDataType(item))) return 0;
  char text[kFullScaleSize + 1];
  std::size_t n = strnlen(item.fullScale, kFullScaleSize);
  std::memcpy(text, item.fullScale, n);
  text[n] = '\0';
  return toStoredFloat(textToDouble(text));
}

// Runs the item once; the time of a program that reads no data is the
// source's own time.
bool runItem(ConversionContext& context, const ItemRecord& item) {
  loadProgram(context.words, item);
  bool done = runConversionProgram(context);
  if (done && !context.operandTimeSet) context.operandTime = context.source.sampleTime();
  return done;
}

bool runPrepared(ConversionContext& context, const PreparedItem& item) {
  PreparedWords program = item.words();
  context.usePrepared(program);
  bool done = runConversionProgram(context);
  if (done && !context.operandTimeSet) context.operandTime = context.source.sampleTime();
  return done;
}

// The result text alone, cut to the caller's buffer.
void copyResultText(const ConversionContext& context, bool done, char* text, std::size_t capacity) {
  std::size_t n = done ? strnlen(context.resultText, capacity - 1) : 0;
  std::memcpy(text, context.resultText, n);
  text[n] = '\0';
}

bool evaluateItem(EvaluationMode mode, const ItemRecord& item, DataSource& source, ItemOutput& out) {
  ConversionContext context(mode, source, itemDataType(item), fullScaleOf(item));
  out.text[0] = '\0';
  out.graphValue = 0;
  out.time = 0;
  if (!runItem(context, item)) return false;
  std::size_t n = 0;
  for (std::size_t i = 0; i < kResultTextSize - 1 && context.resultText[i]; ++i) out.text[n++] = context.resultText[i];
  for (std::size_t i = 0; i < kUnitTextSize - 1 && context.unitText[i]; ++i) out.text[n++] = context.unitText[i];
  out.text[n] = '\0';
  out.graphValue = context.graphValue;
  out.time = context.operandTime;
  return true;
}

}  // namespace

bool evaluateLiveItem(const ItemRecord& item, DataSource& source, ItemOutput& out) {
  return evaluateItem(EvaluationMode::Live, item, source, out);
}

bool evaluateRecordItem(const ItemRecord& item, DataSource& source, ItemOutput& out) {
  return evaluateItem(EvaluationMode::Record, item, source, out);
}

bool evaluateLiveValue(const ItemRecord& item, DataSource& source, float& value, uint32_t& time) {
  ConversionContext context(EvaluationMode::Live, source, itemDataType(item), 0);
  bool done = runItem(context, item);
  value = done ? context.accumulator : 0;
  time = done ? context.operandTime : 0;
  return done;
}

bool evaluateRecordText(const ItemRecord& item, DataSource& source, char* text, std::size_t capacity) {
  if (!text || capacity == 0) return false;
  ConversionContext context(EvaluationMode::Record, source, itemDataType(item), fullScaleOf(item));
  bool done = runItem(context, item);
  copyResultText(context, done, text, capacity);
  return done;
}

PreparedItem::PreparedItem(const ItemRecord& item) : dataType_(itemDataType(item)), fullScale_(fullScaleOf(item)) {
  auto split = std::make_unique<Fields>();
  loadProgram(*split, item);
  for (int32_t i = 0; i < split->used; ++i) {
    const char* word = (*split)[i];
    PreparedWord prepared;
    prepared.offset = static_cast<uint16_t>(text_.size());
    prepared.operatorRun = findOperator(word);
    prepared.textWordRun = findTextWord(word);
    prepared.operand = operandAddress(word);
    prepared.number = textToDouble(word);
    words_.push_back(prepared);
    text_.append(word, strnlen(word, kWordSize - 1));
    text_ += '\0';
  }
  if (split->used > 0) converter_ = findConverter((*split)[0]);
}

PreparedWords PreparedItem::words() const {
  PreparedWords program;
  program.text = text_.data();
  program.words = words_.data();
  program.converter = converter_;
  program.count = static_cast<int32_t>(words_.size());
  return program;
}

bool evaluateRecordText(const PreparedItem& item, DataSource& source, char* text, std::size_t capacity) {
  if (!text || capacity == 0) return false;
  ConversionContext context(EvaluationMode::Record, source, item.dataType(), item.fullScale());
  bool done = runPrepared(context, item);
  copyResultText(context, done, text, capacity);
  return done;
}

bool evaluateRecordValue(const PreparedItem& item, DataSource& source, float& value, uint32_t& time) {
  ConversionContext context(EvaluationMode::Record, source, item.dataType(), item.fullScale());
  bool done = runPrepared(context, item);
  value = context.accumulator;
  time = done ? context.operandTime : 0;
  return done;
}

bool evaluateRecordValue(const ItemRecord& item, DataSource& source, float& value, uint32_t& time) {
  ConversionContext context(EvaluationMode::Record, source, itemDataType(item), fullScaleOf(item));
  bool done = runItem(context, item);
  value = context.accumulator;
  time = done ? context.operandTime : 0;
  return done;
}

bool checkItemProgram(int32_t modelIndex, const char (*words)[kFieldSize], int32_t available, int32_t dataType,
                      ProgramCheck& out) {
  DeclaredBlocks blocks(modelIndex);
  ConversionContext context(EvaluationMode::Check, blocks, dataType, 0);
  int32_t copied = 0;
  for (; copied < available && copied < kWordCount && words[copied][0]; ++copied) {
    std::size_t n = strnlen(words[copied], kWordSize - 1);
    std::memcpy(context.words[copied], words[copied], n);
    context.words[copied][n] = '\0';
  }
  context.words.used = copied;
  bool done = runConversionProgram(context);
  out.resultWordIndex = context.resultWordIndex;
  out.wordCount = context.wordCursor;
  std::memcpy(out.errorText, context.errorText, sizeof out.errorText);
  return done;
}

}  // namespace tramsoll
