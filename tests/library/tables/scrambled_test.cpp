#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/status_words.h"
#include "library/support/program_folder.h"
#include "tables/scrambled.h"

using namespace tramsoll;

namespace {

// `plain` as a file stores it, scrambled by the byte rule.
std::string stored(const std::string& plain) {
  std::string bytes = plain;
  for (char& c : bytes) c = static_cast<char>(scrambleByte(static_cast<uint8_t>(c)));
  return bytes;
}

std::vector<std::string> readAll(const std::string& plain, std::vector<LineResult>* results = nullptr) {
  std::string bytes = stored(plain);
  ScrambledText text(bytes);
  std::vector<std::string> lines;
  char line[kMaxLine + 1];
  for (;;) {
    LineResult r = readScrambledLine(text, line);
    if (results) results->push_back(r);
    if (r == LineResult::EndOfFile) break;
    lines.emplace_back(line);
  }
  return lines;
}

TEST(ByteRule, MatchesTheKnownStoredForms) {
  EXPECT_EQ(scrambleByte(0x0A), 0x5F);
  EXPECT_EQ(scrambleByte(0x0D), 0x2F);
  EXPECT_EQ(scrambleByte(0x2C), 0x3D);
  EXPECT_EQ(scrambleByte(0x61), 0xE9);
  EXPECT_EQ(scrambleByte(0x00), 0xFF);
  for (int b = 0; b < 256; ++b) EXPECT_EQ(scrambleByte(scrambleByte(static_cast<uint8_t>(b))), b);
}

TEST(LineReader, LineEndsAndLastLineWithoutLineFeed) {
  EXPECT_EQ(readAll("ab\r\ncd\r\nlast"), (std::vector<std::string>{"ab", "cd", "last"}));
  // Bare LF files lose the byte before each line feed.
  EXPECT_EQ(readAll("ab\ncd\n"), (std::vector<std::string>{"a", "c"}));
  // A line feed as the very first byte is an empty line.
  EXPECT_EQ(readAll("\nx\r\n"), (std::vector<std::string>{"", "x"}));
}

TEST(LineReader, LineOverThenTheLineFeedAsAnEmptyLine) {
  errFault.store(0);
  std::vector<LineResult> results;
  auto lines = readAll(std::string(1280, 'a') + "\nb\r\n", &results);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(results[0], LineResult::LineOver);
  EXPECT_EQ(lines[0].size(), 1280u);
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "b");
  EXPECT_TRUE(hasBits(errFault, fault::kTableLoad));
  errFault.store(0);

  auto fits = readAll(std::string(1279, 'a') + "\n", &results);
  EXPECT_EQ(fits.size(), 1u);
  EXPECT_EQ(fits[0].size(), 1278u);
  EXPECT_FALSE(hasBits(errFault, fault::kTableLoad));
}

std::vector<std::string> split(const std::string& line, bool* content = nullptr, Fields* out = nullptr) {
  static Fields fields;
  bool has = splitFields(line.c_str(), fields);
  if (content) *content = has;
  if (out) *out = fields;
  std::vector<std::string> result;
  int last = -1;
  for (int i = 0; i < kFieldCount; ++i)
    if (fields[i][0]) last = i;
  for (int i = 0; i <= last; ++i) result.emplace_back(fields[i]);
  return result;
}

TEST(Splitter, CommentsQuotesAndBlanks) {
  bool content = false;
  EXPECT_EQ(split("A, B ;comment", &content), (std::vector<std::string>{"A", "B"}));
  EXPECT_TRUE(content);
  split(";only a comment", &content);
  EXPECT_FALSE(content);
  split(" \t \t", &content);
  EXPECT_FALSE(content);
  EXPECT_TRUE(split(",", &content).empty());
  EXPECT_TRUE(content);  // a lone comma is content: two empty fields
  EXPECT_EQ(split("\"x y\""), (std::vector<std::string>{"xy"}));
  EXPECT_EQ(split("a\x81\x40" "b,c\xE3\x80\x80" "d"), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(split("a\x81" "Ab"), (std::vector<std::string>{"a\x81" "Ab"}));
  EXPECT_EQ(split(",,x"), (std::vector<std::string>{"", "", "x"}));
}

TEST(Splitter, OverlongFieldsAndRowsAreBoundedAndMarked) {
  Fields fields;
  auto cut = split(std::string(70, 'z') + ",b", nullptr, &fields);
  EXPECT_EQ(cut[0].size(), 63u);
  EXPECT_EQ(cut[1], "b");
  EXPECT_TRUE(fields.overlongField);
  EXPECT_TRUE(fields.cutField[0]);
  EXPECT_FALSE(fields.cutField[1]);

  std::string row;
  for (int i = 0; i < 130; ++i) row += "f" + std::to_string(i) + ",";
  auto many = split(row, nullptr, &fields);
  EXPECT_EQ(many.size(), 128u);
  EXPECT_EQ(many[127], "f127");
  EXPECT_TRUE(fields.tooManyFields);

  split("a,b", nullptr, &fields);
  EXPECT_FALSE(fields.cutField[0]);
  EXPECT_FALSE(fields.overlongField);
  EXPECT_FALSE(fields.tooManyFields);
}

TEST(Parsers, BitPatternHexAndDecimal) {
  int32_t pos = 0;
  uint32_t value = 0, mask = 0;
  EXPECT_TRUE(parseBitPattern("01x1", pos, 4, value, mask));
  EXPECT_EQ(value, 0b0101u);
  EXPECT_EQ(mask, 0b1101u);
  EXPECT_EQ(pos, 4);
  pos = 0;
  EXPECT_FALSE(parseBitPattern("01", pos, 4, value, mask));
  EXPECT_EQ(pos, 0);
  EXPECT_EQ(value, 0b01u);  // the bits of the characters present
  EXPECT_EQ(mask, 0b11u);

  pos = 0;
  EXPECT_EQ(parseHex("1A[3]", pos), 0x1Au);
  EXPECT_EQ(pos, 2);
  pos = 3;
  EXPECT_EQ(parseHex("1A[3]", pos), 3u);
  pos = 0;
  EXPECT_EQ(parseHex("[", pos), 0u);
  EXPECT_EQ(pos, 0);
  pos = 0;
  EXPECT_EQ(parseHex("fFfFfFfF1", pos), 0xFFFFFFF1u);  // wraps past 8 digits
  pos = 0;
  EXPECT_EQ(parseDecimal("0300C", pos), 300u);
  EXPECT_EQ(pos, 4);
  std::string digits(70, '1');
  pos = 0;
  parseDecimal(digits.c_str(), pos);
  EXPECT_EQ(pos, 64);  // never reads at or past index 64
}

// The build scrambles the plain sample sources with CR LF line ends into the
// test data folder and the program folder.
TEST(SampleFiles, AreTheSourcesWithCrLfScrambled) {
  std::ifstream in(PELOMAR_SOURCE_DIR "/testdata/vexa5.set", std::ios::binary);
  std::ostringstream source;
  source << in.rdbuf();
  std::string expected;
  for (char c : source.str()) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  ASSERT_FALSE(source.str().empty());
  EXPECT_EQ(testsupport::readUnscrambled(PELOMAR_TESTDATA_DIR "/vexa5.set"), expected);
  EXPECT_EQ(testsupport::readUnscrambled(PELOMAR_BIN_DIR "/vexa5.set"), expected);
}

}  // namespace
