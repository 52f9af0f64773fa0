#include "tables/program_words.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "tables/number_text.h"

namespace tramsoll {

namespace {

// ---- Data operands: name[index] ----

struct Operand {
  BlockBytes block;
  uint64_t index = 0;
  const char* word = "";
};

bool badAddress(ConversionContext& context, const char* word) { return context.fail("Bad Addr \"%s\"", word); }

// The block name before the opening bracket and the hexadecimal index after
// it; false for a word without a bracket or a name the data tables cannot key.
bool splitOperand(const char* word, char (&name)[kBlockKeyLength + 1], uint64_t& index) {
  const char* bracket = std::strchr(word, '[');
  if (!bracket) return false;
  auto length = static_cast<std::size_t>(bracket - word);
  if (length > kBlockKeyLength) return false;
  std::memcpy(name, word, length);
  name[length] = '\0';
  index = hexTextValue(bracket + 1, -1);
  return true;
}

// The prepared form of the word at the cursor; nullptr when the program is
// not read in place or the cursor is behind its last word.
const PreparedWords* preparedAtCursor(const ConversionContext& context) {
  const PreparedWords* program = context.prepared;
  return program && context.wordCursor < program->count ? program : nullptr;
}

// Reads the data operand at the cursor and moves past it. The first operand
// of a run gives the run its time.
bool fetchOperand(ConversionContext& context, Operand& operand) {
  operand.word = context.word(context.wordCursor);
  OperandAddress split;
  const OperandAddress* address = &split;
  if (const PreparedWords* program = preparedAtCursor(context)) {
    address = &program->words[context.wordCursor].operand;
  } else {
    split = operandAddress(operand.word);
  }
  if (!address->valid) return badAddress(context, operand.word);
  operand.index = address->index;
  if (!context.source.readBlock(address->name, operand.block) || !operand.block.bytes)
    return badAddress(context, operand.word);
  if (operand.block.length > kBlockBytes) operand.block.length = kBlockBytes;
  if (operand.index >= operand.block.length) return badAddress(context, operand.word);
  context.noteOperandTime(operand.block.time);
  context.skipWords(1);
  return true;
}

// One byte from each of `count` data operands, in order.
bool fetchBytes(ConversionContext& context, uint8_t* bytes, int count) {
  for (int i = 0; i < count; ++i) {
    Operand operand;
    if (!fetchOperand(context, operand)) return false;
    bytes[i] = operand.block.bytes[operand.index];
  }
  return true;
}

bool bitSet(uint8_t byte, uint64_t bit) { return bit <= 7 && ((byte >> bit) & 1) != 0; }

double negatedWhen(bool negative, double value) { return negative ? -value : value; }

// ---- Converters ----

bool wordBtob(ConversionContext& context) {
  uint8_t b;
  if (!fetchBytes(context, &b, 1)) return false;
  uint64_t bit = hexTextValue(context.takeWord(), -1);
  if (bit > 7) return false;
  context.store(bitSet(b, bit) ? 1 : 0);
  return true;
}

bool wordBtoua(ConversionContext& context) {
  uint8_t b;
  if (!fetchBytes(context, &b, 1)) return false;
  context.store(b);
  return true;
}

bool wordBtosa(ConversionContext& context) {
  uint8_t b;
  if (!fetchBytes(context, &b, 1)) return false;
  context.store(negatedWhen(bitSet(b, 7), b & 0x7F));
  return true;
}

bool wordInt8(ConversionContext& context) {
  uint8_t b;
  if (!fetchBytes(context, &b, 1)) return false;
  context.store(static_cast<int8_t>(b));
  return true;
}

bool wordBtoan(ConversionContext& context) {
  uint8_t b;
  if (!fetchBytes(context, &b, 1)) return false;
  uint64_t first = hexTextValue(context.takeWord(), -1);
  uint64_t second = hexTextValue(context.takeWord(), -1);
  uint64_t low = first < second ? first : second;
  uint64_t high = first < second ? second : first;
  if (high > 7) return false;
  unsigned mask = (1u << (high - low + 1)) - 1;
  context.store((b >> low) & mask);
  return true;
}

bool word2btouam(ConversionContext& context) {
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  context.store(b[0] * 256 + b[1]);
  return true;
}

bool word2btosam(ConversionContext& context) {
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  context.store(negatedWhen(bitSet(b[0], 7), (b[0] & 0x7F) * 256 + b[1]));
  return true;
}

bool word2btouad(ConversionContext& context) {
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  context.store(b[0] + b[1] / 256.0);
  return true;
}

bool word2btosad(ConversionContext& context) {
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  context.store(negatedWhen(bitSet(b[0], 7), (b[0] & 0x7F) + b[1] / 256.0));
  return true;
}

bool word2btosad2(ConversionContext& context) {
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  auto raw = static_cast<int16_t>(static_cast<uint16_t>(b[0] << 8 | b[1]));
  context.store(raw / 256.0);
  return true;
}

bool word2btosa1(ConversionContext& context) {
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  context.store(negatedWhen(bitSet(b[1], 7), b[0]));
  return true;
}

// The bit number is not bounded by the program; one outside 0..7 counts as
// a sign bit that is not set.
bool word2btosan(ConversionContext& context) {
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  int32_t bit = textToInt(context.takeWord());
  context.store(negatedWhen(bit >= 0 && bitSet(b[1], static_cast<uint64_t>(bit)), b[0]));
  return true;
}

bool word2btosac1(ConversionContext& context) {
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  context.store(negatedWhen(bitSet(b[0], 6), (b[0] & 1) * 256 + b[1]));
  return true;
}

bool word2btosae1(ConversionContext& context) {
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  int tenths = b[1] & 0x0F;
  if (tenths > 9) tenths = 9;
  context.store(negatedWhen(bitSet(b[1], 6), b[0] + tenths * 0.1));
  return true;
}

bool word2btosae2(ConversionContext& context) {
  static constexpr double kPowers[8] = {1, 10, 100, 1000, 1, 0.1, 0.01, 0.001};
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  double magnitude = (b[0] & 0x03) * 256 + b[1];
  context.store(negatedWhen(bitSet(b[0], 6), magnitude) * kPowers[(b[0] >> 3) & 0x07]);
  return true;
}

bool word3btosac1(ConversionContext& context) {
  uint8_t b[3];
  if (!fetchBytes(context, b, 3)) return false;
  context.store(negatedWhen(bitSet(b[0], 6), (b[0] & 1) * 256 + b[1] + b[2] / 256.0));
  return true;
}

bool word3btosae1(ConversionContext& context) {
  uint8_t b[3];
  if (!fetchBytes(context, b, 3)) return false;
  context.store((b[0] & 1) * 65536 + b[1] * 256 + b[2]);
  return true;
}

// Four bytes, least significant first, as an IEEE single. A NaN cannot be
// limited to the range and fails the run.
bool word4ftosa(ConversionContext& context) {
  Operand operand;
  if (!fetchOperand(context, operand)) return false;
  if (operand.block.length - operand.index < 4) return badAddress(context, operand.word);
  const uint8_t* p = operand.block.bytes + operand.index;
  uint32_t bits = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  float value;
  std::memcpy(&value, &bits, sizeof value);
  if (std::isnan(value)) return false;
  if (value > 1000000.0f) value = 1000000.0f;
  if (value < -1000000.0f) value = -1000000.0f;
  context.accumulator = value;
  return true;
}

bool wordCtob(ConversionContext& context) {
  uint8_t b;
  if (!fetchBytes(context, &b, 1)) return false;
  context.store(b == '1' ? 1 : 0);
  return true;
}

bool wordCtoua(ConversionContext& context) {
  uint8_t b;
  if (!fetchBytes(context, &b, 1)) return false;
  const char text[2] = {static_cast<char>(b), '\0'};
  context.store(static_cast<double>(hexTextValue(text, 1)));
  return true;
}

// The characters of `nctoa`, `nctoha` and `nctoar`: a data operand and a
// hexadecimal count; all of them must lie inside the block.
bool readCharacters(ConversionContext& context, bool reversed, char (&text)[kBlockBytes + 1]) {
  Operand operand;
  if (!fetchOperand(context, operand)) return false;
  uint64_t count = hexTextValue(context.takeWord(), 32);
  if (count > operand.block.length - operand.index) return badAddress(context, operand.word);
  const uint8_t* first = operand.block.bytes + operand.index;
  for (uint64_t k = 0; k < count; ++k) {
    text[k] = static_cast<char>(reversed ? first[count - 1 - k] : first[k]);
  }
  text[count] = '\0';
  return true;
}

bool wordNctoa(ConversionContext& context) {
  char text[kBlockBytes + 1];
  if (!readCharacters(context, true, text)) return false;
  context.store(textToDouble(text));
  return true;
}

bool wordNctoha(ConversionContext& context) {
  char text[kBlockBytes + 1];
  if (!readCharacters(context, true, text)) return false;
  context.store(static_cast<double>(hexTextValue(text, 32)));
  return true;
}

bool wordNctoar(ConversionContext& context) {
  char text[kBlockBytes + 1];
  if (!readCharacters(context, false, text)) return false;
  context.store(static_cast<double>(hexTextValue(text, 32)));
  return true;
}

bool word2ctosa(ConversionContext& context) {
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  const char text[3] = {static_cast<char>(b[0]), static_cast<char>(b[1]), '\0'};
  context.store(static_cast<int8_t>(static_cast<uint8_t>(hexTextValue(text, 2))));
  return true;
}

bool word2ctoecd(ConversionContext& context) {
  uint8_t b[2];
  if (!fetchBytes(context, b, 2)) return false;
  const char code[3] = {static_cast<char>(b[0]), static_cast<char>(b[1]), '\0'};
  context.setResultText(code);
  bool noCode = (b[0] == ' ' && b[1] == ' ') || (b[0] == '0' && b[1] == '0');
  context.store(noCode ? 0 : 1);
  return true;
}

bool wordOn(ConversionContext& context) {
  context.store(1);
  return true;
}

// ---- Operators ----

double decimalOperand(ConversionContext& context) {
  if (const PreparedWords* program = preparedAtCursor(context)) {
    double value = program->words[context.wordCursor].number;
    context.skipWords(1);
    return value;
  }
  return textToDouble(context.takeWord());
}

// Comparisons are made between 32-bit values, as the accumulator holds them.
float comparedOperand(ConversionContext& context) { return toStoredFloat(decimalOperand(context)); }

// Up to 32 characters of 0 and 1, most significant first; others skipped.
uint32_t parseBitText(const char* text) {
  uint32_t mask = 0;
  for (int i = 0; i < 32 && text[i]; ++i) {
    if (text[i] == '0') mask <<= 1;
    if (text[i] == '1') mask = mask << 1 | 1;
  }
  return mask;
}

bool wordAdd(ConversionContext& context) {
  context.store(context.accumulator + decimalOperand(context));
  return true;
}

bool wordSub(ConversionContext& context) {
  context.store(context.accumulator - decimalOperand(context));
  return true;
}

bool wordMul(ConversionContext& context) {
  context.store(context.accumulator * decimalOperand(context));
  return true;
}

bool wordDiv(ConversionContext& context) {
  double divisor = decimalOperand(context);
  if (divisor == 0) {
    context.accumulator = 0;
    return false;
  }
  context.store(context.accumulator / divisor);
  return true;
}

bool wordAnd(ConversionContext& context) {
  uint32_t mask = parseBitText(context.takeWord());
  int32_t value;
  if (!context.accumulatorAsInteger(value)) return false;
  context.store(static_cast<uint32_t>(value) & mask);
  return true;
}

bool wordCmp(ConversionContext& context) {
  context.store(context.accumulator == comparedOperand(context) ? 1 : 0);
  return true;
}

bool wordNcmp(ConversionContext& context) {
  context.store(context.accumulator != comparedOperand(context) ? 1 : 0);
  return true;
}

bool wordSmall(ConversionContext& context) {
  context.store(context.accumulator <= comparedOperand(context) ? 1 : 0);
  return true;
}

bool wordBig(ConversionContext& context) {
  context.store(context.accumulator >= comparedOperand(context) ? 1 : 0);
  return true;
}

// ---- Text word ----

bool wordHex(ConversionContext& context) {
  int32_t value;
  if (!context.accumulatorAsInteger(value)) return false;
  char text[16];
  std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(value));
  context.setResultText(text);
  return true;
}

// ---- The words of the conversion tables, looked up at each run ----

bool wordPtable(ConversionContext& context) { return tableWords().ptable(context); }
bool wordStable(ConversionContext& context) { return tableWords().stable(context); }
bool wordUtable(ConversionContext& context) { return tableWords().utable(context); }
bool wordErcd(ConversionContext& context) { return tableWords().ercd(context); }
bool wordTable(ConversionContext& context) { return tableWords().table(context); }
bool wordEtable(ConversionContext& context) { return tableWords().etable(context); }

struct Keyword {
  const char* text;
  WordRun run;
};

constexpr Keyword kConverters[] = {
    {"btob", wordBtob},         {"btoua", wordBtoua},       {"btosa", wordBtosa},       {"INT8", wordInt8},
    {"btoan", wordBtoan},       {"2btouam", word2btouam},   {"2btosam", word2btosam},   {"2btouad", word2btouad},
    {"2btosad", word2btosad},   {"2btosad2", word2btosad2}, {"2btosa1", word2btosa1},   {"2btosan", word2btosan},
    {"2btosac1", word2btosac1}, {"2btosae1", word2btosae1}, {"2btosae2", word2btosae2}, {"3btosac1", word3btosac1},
    {"3btosae1", word3btosae1}, {"4ftosa", word4ftosa},     {"ctob", wordCtob},         {"ctoua", wordCtoua},
    {"nctoa", wordNctoa},       {"nctoha", wordNctoha},     {"nctoar", wordNctoar},     {"2ctosa", word2ctosa},
    {"2ctoecd", word2ctoecd},   {"on", wordOn},
};

constexpr Keyword kOperators[] = {
    {"add", wordAdd},     {"sub", wordSub},   {"mul", wordMul},       {"div", wordDiv},
    {"and", wordAnd},     {"cmp", wordCmp},   {"ncmp", wordNcmp},     {"small", wordSmall},
    {"big", wordBig},     {"ptable", wordPtable}, {"stable", wordStable}, {"utable", wordUtable},
};

constexpr Keyword kTextWords[] = {
    {"ercd", wordErcd},
    {"hex", wordHex},
    {"table", wordTable},
    {"etable", wordEtable},
};

template <std::size_t N>
WordRun findIn(const Keyword (&list)[N], const char* word) {
  for (const Keyword& keyword : list) {
    if (isKeyword(word, keyword.text)) return keyword.run;
  }
  return nullptr;
}

}  // namespace

OperandAddress operandAddress(const char* word) {
  OperandAddress address;
  address.valid = splitOperand(word, address.name, address.index);
  return address;
}

WordRun findConverter(const char* word) { return findIn(kConverters, word); }
WordRun findOperator(const char* word) { return findIn(kOperators, word); }
WordRun findTextWord(const char* word) { return findIn(kTextWords, word); }

}  // namespace tramsoll
