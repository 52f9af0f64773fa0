// Reading the scrambled text files: the byte rule, the line reader, the
// field splitter and the small parsers every loader stands on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace tramsoll {

constexpr int kMaxLine = 1280;
constexpr int kFieldCount = 128;
constexpr int kFieldSize = 64;  // 63 characters and the terminator

// Complement, then swap the nibbles; the rule is its own inverse.
constexpr uint8_t scrambleByte(uint8_t byte) {
  uint8_t c = static_cast<uint8_t>(~byte);
  return static_cast<uint8_t>((c << 4) | (c >> 4));
}

enum class LineResult { Line = 0, EndOfFile = 1, LineOver = 2 };

// The stored bytes of a setting or table file (read whole when it was
// opened), taken from the front by the line reader. With `readError` the
// bytes stop where a read of the file failed.
class ScrambledText {
 public:
  explicit ScrambledText(std::string_view bytes, bool readError = false) : bytes_(bytes), readError_(readError) {}
  // The next stored byte, or -1 at the end.
  int next() { return at_ < bytes_.size() ? static_cast<uint8_t>(bytes_[at_++]) : -1; }
  bool readError() const { return readError_; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
  bool readError_;
};

// Reads one line (CR LF ended) into `line` (kMaxLine + 1 bytes). The byte in
// front of the line feed is dropped whatever it is. A line of kMaxLine bytes
// without a line feed answers LineOver and sets the table-load error bit; the
// next call reads on from there. A read error ends the file and sets the bit.
LineResult readScrambledLine(ScrambledText& text, char* line);

struct Fields {
  char field[kFieldCount][kFieldSize];
  bool overlongField = false;  // a field was cut at 63 characters
  bool tooManyFields = false;  // fields past the 128th were ignored
  bool cutField[kFieldCount] = {};  // which fields were cut
  int used = 0;                     // fields the row reaches, at most kFieldCount
  const char* operator[](int i) const { return field[i]; }
  char* operator[](int i) { return field[i]; }
};

// Splits a line at commas. A semicolon starts a comment; quotes, blanks,
// tabs and the double-byte blank (0x81 0x40, or U+3000 in UTF-8) are dropped.
// Answers false for a line without content. Fields the row does not reach
// read as empty texts.
bool splitFields(const char* line, Fields& fields);
// The same, except that the fields from `used` on keep whatever they held:
// for hot callers that never read a field at or past `used`.
bool splitUsedFields(const char* line, Fields& fields);

// Reads n pattern characters: '1' a bit that must be 1, '0' a bit that must
// be 0, anything else a bit that does not matter. The first character is the
// most significant bit. Answers false (position unchanged) if the text ends
// first; value and mask then hold the bits of the characters present.
bool parseBitPattern(const char* text, int32_t& position, int n, uint32_t& value, uint32_t& mask);

// Reads hexadecimal (or decimal) digits from the position, leaving the
// position on the first other character; never reads at or past index 63.
uint32_t parseHex(const char* text, int32_t& position);
uint32_t parseDecimal(const char* text, int32_t& position);

// Reads a setting or table file line by line, counting lines from
// 1. `lineOver(number)` hears of a line over length (its first kMaxLine
// bytes are the line) and answers whether to go on; `row(fields, number)`
// gets every line with content, split into fields. False when a line over
// length ended the read.
template <typename LineOver, typename Row>
bool readTableLines(ScrambledText& text, LineOver lineOver, Row row) {
  char line[kMaxLine + 1];
  Fields fields;
  for (int number = 1;; ++number) {
    LineResult read = readScrambledLine(text, line);
    if (read == LineResult::EndOfFile) return true;
    if (read == LineResult::LineOver && !lineOver(number)) return false;
    if (splitFields(line, fields)) row(static_cast<const Fields&>(fields), number);
  }
}

// Writes `size` bytes scrambled by the byte rule.
bool writeScrambled(std::FILE* file, const void* data, std::size_t size);

}  // namespace tramsoll
