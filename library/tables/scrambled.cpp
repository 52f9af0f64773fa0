#include "tables/scrambled.h"

#include <cstring>

#include "base/status_words.h"

namespace tramsoll {

LineResult readScrambledLine(ScrambledText& text, char* line) {
  int count = 0;
  while (count < kMaxLine) {
    int c = text.next();
    if (c < 0) {
      if (text.readError()) setBits(errFault, fault::kTableLoad);
      line[count] = '\0';
      return count == 0 ? LineResult::EndOfFile : LineResult::Line;
    }
    char plain = static_cast<char>(scrambleByte(static_cast<uint8_t>(c)));
    if (plain == '\n') {
      line[count > 0 ? count - 1 : 0] = '\0';
      return LineResult::Line;
    }
    line[count++] = plain;
  }
  line[kMaxLine] = '\0';
  setBits(errFault, fault::kTableLoad);
  return LineResult::LineOver;
}

namespace {

bool isDoubleByteBlank(const unsigned char* p) {
  if (p[0] == 0x81 && p[1] == 0x40) return true;
  return p[0] == 0xE3 && p[1] == 0x80 && p[2] == 0x80;
}

int doubleByteBlankLength(const unsigned char* p) { return p[0] == 0x81 ? 2 : 3; }

}  // namespace

bool splitUsedFields(const char* line, Fields& fields) {
  fields.overlongField = false;
  fields.tooManyFields = false;
  std::memset(fields.cutField, 0, sizeof fields.cutField);
  int index = 0;
  int length = 0;
  bool content = false;
  const auto* p = reinterpret_cast<const unsigned char*>(line);
  while (*p && *p != ';') {
    if (*p == '"' || *p == ' ' || *p == '\t') {
      ++p;
      continue;
    }
    if (isDoubleByteBlank(p)) {
      p += doubleByteBlankLength(p);
      continue;
    }
    content = true;
    if (*p == ',') {
      if (index < kFieldCount) fields[index][length] = '\0';
      ++index;
      length = 0;
      if (index >= kFieldCount) fields.tooManyFields = true;
      ++p;
      continue;
    }
    if (index < kFieldCount) {
      if (length < kFieldSize - 1) {
        fields[index][length++] = static_cast<char>(*p);
      } else {
        fields.overlongField = true;
        fields.cutField[index] = true;
      }
    }
    ++p;
  }
  if (index < kFieldCount) {
    fields[index][length] = '\0';
    ++index;
  }
  fields.used = index < kFieldCount ? index : kFieldCount;
  return content;
}

bool splitFields(const char* line, Fields& fields) {
  bool content = splitUsedFields(line, fields);
  for (int index = fields.used; index < kFieldCount; ++index) fields[index][0] = '\0';
  return content;
}

bool parseBitPattern(const char* text, int32_t& position, int n, uint32_t& value, uint32_t& mask) {
  uint32_t v = 0;
  uint32_t m = 0;
  for (int i = 0; i < n; ++i) {
    int32_t at = position + i;
    if (at < 0 || at >= kFieldSize || text[at] == '\0') {
      value = v;
      mask = m;
      return false;
    }
    v <<= 1;
    m <<= 1;
    if (text[at] == '0') m |= 1;
    if (text[at] == '1') {
      v |= 1;
      m |= 1;
    }
  }
  value = v;
  mask = m;
  position += n;
  return true;
}

namespace {

int digitValue(char c, int base) {
  int d = -1;
  if (c >= '0' && c <= '9') d = c - '0';
  if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
  if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
  return d < base ? d : -1;
}

uint32_t parseNumber(const char* text, int32_t& position, int base) {
  uint32_t value = 0;
  if (position < 0) return 0;
  while (position < kFieldSize) {
    int d = digitValue(text[position], base);
    if (d < 0) break;
    value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
    ++position;
  }
  return value;
}

}  // namespace

uint32_t parseHex(const char* text, int32_t& position) { return parseNumber(text, position, 16); }

uint32_t parseDecimal(const char* text, int32_t& position) { return parseNumber(text, position, 10); }

bool writeScrambled(std::FILE* file, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  for (std::size_t i = 0; i < size; ++i) {
    if (std::putc(scrambleByte(bytes[i]), file) == EOF) return false;
  }
  return true;
}

}  // namespace tramsoll
