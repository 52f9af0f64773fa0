// Every converter, operator and the hex ending on hand-computed raw bytes:
// the shown text (value, blank, unit) and the graph value.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "library/support/library_test.h"
#include "library/tables/fake_source.h"
#include "tables/conversion.h"

using namespace tramsoll;
using tramsoll::testing::FakeSource;
using tramsoll::testing::makeItem;

namespace {

// Each case starts from a freshly loaded library: no table words installed,
// degrees C.
using Converters = testsupport::LibraryTest;
using Operators = testsupport::LibraryTest;
using TextWords = testsupport::LibraryTest;

struct Case {
  const char* program;
  std::vector<uint8_t> bytes;  // block "d"
  int32_t dataType;
  const char* fullScale;
  const char* text;
  int32_t graph;
};

void expectShown(const Case& c) {
  SCOPED_TRACE(c.program);
  FakeSource source;
  source.add("d", c.bytes, 1234);
  ItemOutput out{};
  ASSERT_TRUE(evaluateRecordItem(makeItem(c.program, c.dataType, c.fullScale), source, out));
  EXPECT_STREQ(out.text, c.text);
  EXPECT_EQ(out.graphValue, c.graph);
}

std::vector<uint8_t> chars(const char* text) { return std::vector<uint8_t>(text, text + std::strlen(text)); }

TEST_F(Converters, SingleByteConverters) {
  const Case cases[] = {
      {"btob,d[0],2,x", {0x04}, 4, "1", "1 x", 100},
      {"btob,d[0],3,x", {0x04}, 4, "1", "0 x", 0},
      {"btob,d[1],7,x", {0x00, 0x80}, 4, "1", "1 x", 100},
      {"btoua,d[1],C", {0x00, 0x85}, 0, "200", "133.0 C", 66},
      {"btosa,d[0],C", {0x85}, 0, "100", "-5.0 C", -5},
      {"INT8,d[0],C", {0x85}, 0, "100", "-123.0 C", -20},
      {"btoan,d[0],5,2,x", {0xB4}, 4, "16", "13 x", 81},
      {"btoan,d[0],2,5,x", {0xB4}, 4, "16", "13 x", 81},
      {"btoan,d[0],0,7,x", {0xB4}, 4, "1000", "180 x", 18},
      {"btoan,d[0],4,4,x", {0xB4}, 4, "1", "1 x", 100},
      {"ctob,d[0],x", chars("1"), 4, "1", "1 x", 100},
      {"ctob,d[0],x", chars("0"), 4, "1", "0 x", 0},
      {"ctoua,d[0],x", chars("b"), 4, "100", "11 x", 11},
      {"ctoua,d[0],x", chars("F"), 4, "100", "15 x", 15},
      {"ctoua,d[0],x", chars("g"), 4, "100", "0 x", 0},
      {"on,x", {0}, 4, "1", "1 x", 100},
  };
  for (const Case& c : cases) expectShown(c);
}

TEST_F(Converters, TwoAndThreeByteConverters) {
  const Case cases[] = {
      {"2btouam,d[0],d[1],x", {0x81, 0x02}, 4, "65535", "33026 x", 50},
      {"2btosam,d[0],d[1],x", {0x81, 0x02}, 4, "1000", "-258 x", -20},
      {"2btosam,d[0],d[1],x", {0x01, 0x02}, 4, "1000", "258 x", 25},
      {"2btouad,d[0],d[1],x", {0x12, 0x40}, 6, "100", "18.25 x", 18},
      {"2btosad,d[0],d[1],x", {0x81, 0x80}, 6, "10", "-1.50 x", -15},
      {"2btosad2,d[0],d[1],x", {0xFF, 0x80}, 6, "10", "-0.50 x", -5},
      {"2btosad2,d[0],d[1],x", {0x7F, 0xFF}, 6, "200", "128.00 x", 63},
      {"2btosa1,d[0],d[1],x", {0x2A, 0x80}, 4, "1000", "-42 x", -4},
      {"2btosa1,d[0],d[1],x", {0x2A, 0x7F}, 4, "1000", "42 x", 4},
      {"2btosan,d[0],d[1],3,x", {0x2A, 0x08}, 4, "1000", "-42 x", -4},
      {"2btosan,d[0],d[1],2,x", {0x2A, 0x08}, 4, "1000", "42 x", 4},
      {"2btosac1,d[0],d[1],x", {0x41, 0x05}, 4, "2000", "-261 x", -13},
      {"2btosac1,d[0],d[1],x", {0x81, 0x05}, 4, "2000", "261 x", 13},
      {"2btosae1,d[0],d[1],C", {20, 0x4C}, 0, "100", "-20.9 C", -20},
      {"2btosae1,d[0],d[1],C", {20, 0x03}, 0, "100", "20.3 C", 20},
      {"2btosae2,d[0],d[1],x", {0x29, 0x10}, 0, "100", "27.2 x", 27},
      {"2btosae2,d[0],d[1],x", {0x53, 0xFF}, 4, "100", "-102300 x", -20},
      {"2btosae2,d[0],d[1],x", {0x32, 0x0C}, 6, "100", "5.24 x", 5},
      {"3btosac1,d[0],d[1],d[2],x", {0x41, 0x02, 0x80}, 6, "10000", "-258.50 x", -2},
      {"3btosae1,d[0],d[1],d[2],x", {0x01, 0x02, 0x03}, 4, "200000", "66051 x", 33},
      {"2ctosa,d[0],d[1],x", chars("F6"), 4, "100", "-10 x", -10},
      {"2ctosa,d[0],d[1],x", chars("7x"), 4, "100", "7 x", 7},
  };
  for (const Case& c : cases) expectShown(c);
}

TEST_F(Converters, FloatAndCharacterTextConverters) {
  const Case cases[] = {
      // 12.5 and 2e6 as IEEE singles, least significant byte first.
      {"4ftosa,d[1],x", {0xEE, 0x00, 0x00, 0x48, 0x41}, 6, "50", "12.50 x", 25},
      {"4ftosa,d[0],x", {0x00, 0x24, 0xF4, 0x49}, 4, "1000000", "1000000 x", 100},
      {"4ftosa,d[0],x", {0x00, 0x24, 0xF4, 0xC9}, 4, "1000000", "-1000000 x", -20},
      {"nctoa,d[0],3,x", chars("5.2"), 0, "10", "2.5 x", 25},
      {"nctoa,d[1],2,x", chars("x21"), 4, "100", "12 x", 12},
      {"nctoa,d[0],0,x", chars("5.2"), 0, "10", "0.0 x", 0},
      {"nctoha,d[0],2,x", chars("A1"), 4, "100", "26 x", 26},
      {"nctoar,d[0],2,x", chars("A1"), 4, "1000", "161 x", 16},
      {"nctoar,d[0],4,x", chars("1G23"), 4, "1000", "1 x", 0},
  };
  for (const Case& c : cases) expectShown(c);
}

TEST_F(Converters, ErrorCodeConverterShowsTheTwoCharactersWithoutUnit) {
  const Case cases[] = {
      {"2ctoecd,d[0],d[1]", chars("E3"), 3, "", "E3", 1},
      {"2ctoecd,d[0],d[1]", chars("00"), 3, "", "00", 0},
      {"2ctoecd,d[0],d[1]", chars("  "), 3, "", "  ", 0},
      {"2ctoecd,d[0],d[1]", chars("0 "), 3, "", "0 ", 1},
      // Whatever the data type, the code is the ending.
      {"2ctoecd,d[0],d[1],C", chars("U4"), 0, "100", "U4", 1},
  };
  for (const Case& c : cases) expectShown(c);
}

TEST_F(Operators, ArithmeticComparisonsAndMask) {
  const Case cases[] = {
      {"btoua,d[0],add,1.5,x", {3}, 0, "10", "4.5 x", 45},
      {"btoua,d[0],sub,4,x", {3}, 0, "10", "-1.0 x", -10},
      {"btoua,d[0],mul,2.5,x", {3}, 0, "10", "7.5 x", 75},
      {"btoua,d[0],div,2,x", {3}, 0, "10", "1.5 x", 15},
      {"btoua,d[0],cmp,3.0,x", {3}, 4, "1", "1 x", 100},
      {"btoua,d[0],cmp,4,x", {3}, 4, "1", "0 x", 0},
      {"btoua,d[0],ncmp,3,x", {3}, 4, "1", "0 x", 0},
      {"btoua,d[0],ncmp,4,x", {3}, 4, "1", "1 x", 100},
      {"btoua,d[0],small,3,x", {3}, 4, "1", "1 x", 100},
      {"btoua,d[0],small,2,x", {3}, 4, "1", "0 x", 0},
      {"btoua,d[0],big,4,x", {3}, 4, "1", "0 x", 0},
      {"btoua,d[0],big,3,x", {3}, 4, "1", "1 x", 100},
      {"btoua,d[0],and,1100,x", {13}, 4, "100", "12 x", 12},
      {"INT8,d[0],and,1100,x", {0xFF}, 4, "100", "12 x", 12},
      {"btoua,d[0],and,1x1,x", {7}, 4, "100", "3 x", 3},
      // Operators chain left to right: (100 x 0.1) - 40.
      {"btoua,d[0],mul,0.1,sub,40,C", {100}, 0, "100", "-30.0 C", -20},
      {"2btosae2,d[0],d[1],cmp,27.2,x", {0x29, 0x10}, 4, "1", "1 x", 100},
  };
  for (const Case& c : cases) expectShown(c);
}

TEST_F(Operators, DivisionByZeroFailsAndLeavesTheAccumulatorZero) {
  FakeSource source;
  source.add("d", {3}, 7);
  for (const char* program : {"btoua,d[0],div,0,x", "btoua,d[0],div,abc,x"}) {
    ItemRecord item = makeItem(program, 0, "10");
    float value = 99;
    uint32_t time = 99;
    EXPECT_FALSE(evaluateRecordValue(item, source, value, time)) << program;
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(time, 0u);
    ItemOutput out{};
    EXPECT_FALSE(evaluateLiveItem(item, source, out));
    EXPECT_STREQ(out.text, "");
  }
}

TEST_F(TextWords, HexShowsTheTruncatedValueInFourLowerCaseDigits) {
  const Case cases[] = {
      {"btoua,d[0],add,0.9,hex", {26}, 3, "", "001a", 1},
      {"2btouam,d[0],d[1],hex", {0xAB, 0xCD}, 3, "", "abcd", 1},
      {"INT8,d[0],hex", {0xFF}, 3, "", "ffffffff", 1},
      {"btoua,d[0],hex", {0}, 3, "", "0000", 0},
      // A text word ends the program even for a numeric data type.
      {"btoua,d[0],hex,C", {26}, 0, "100", "001a", 26},
  };
  for (const Case& c : cases) expectShown(c);
}

TEST_F(Converters, BitNumbersOutsideTheByte) {
  FakeSource source;
  source.add("d", {0xFF, 0x81});
  ItemOutput out{};
  // btob and btoan refuse a bit number past 7.
  EXPECT_FALSE(evaluateRecordItem(makeItem("btob,d[0],8,x", 4, "1"), source, out));
  EXPECT_FALSE(evaluateRecordItem(makeItem("btoan,d[0],2,8,x", 4, "1"), source, out));
  EXPECT_FALSE(evaluateRecordItem(makeItem("btob,d[0],100000000,x", 4, "1"), source, out));
  // 2btosan counts a bit number outside 0..7 as a sign bit that is not set.
  for (const char* bit : {"8", "-1", "99999999999"}) {
    std::string program = std::string("2btosan,d[1],d[0],") + bit + ",x";
    ASSERT_TRUE(evaluateRecordItem(makeItem(program.c_str(), 4, "1000"), source, out)) << bit;
    EXPECT_STREQ(out.text, "129 x") << bit;
  }
}

TEST_F(Converters, NaNFromTheUnitFailsTheRun) {
  FakeSource source;
  source.add("d", {0x00, 0x00, 0xC0, 0x7F});  // a quiet NaN
  ItemOutput out{};
  EXPECT_FALSE(evaluateRecordItem(makeItem("4ftosa,d[0],x", 0, "100"), source, out));
  // An infinity is limited like any large value.
  source.add("e", {0x00, 0x00, 0x80, 0x7F});
  ASSERT_TRUE(evaluateRecordItem(makeItem("4ftosa,e[0],x", 4, "100"), source, out));
  EXPECT_STREQ(out.text, "1000000 x");
}

TEST_F(Converters, ValuesBeyondTheIntegerRangeStopAtItsEnds) {
  FakeSource source;
  source.add("d", {0xFF, 0xFF});
  ItemOutput out{};
  ASSERT_TRUE(evaluateRecordItem(makeItem("2btouam,d[0],d[1],mul,1e6,x", 4, "0"), source, out));
  EXPECT_STREQ(out.text, "2147483647 x");
  ASSERT_TRUE(evaluateRecordItem(makeItem("2btouam,d[0],d[1],mul,-1e30,hex", 3, ""), source, out));
  EXPECT_STREQ(out.text, "80000000");
  // Past the float range the value is infinite, never undefined.
  ASSERT_TRUE(evaluateRecordItem(makeItem("2btouam,d[0],d[1],mul,1e300,x", 0, "100"), source, out));
  EXPECT_STREQ(out.text, "inf x");
  EXPECT_EQ(out.graphValue, 100);
  // inf - inf is NaN: the integer forms refuse it.
  EXPECT_FALSE(evaluateRecordItem(makeItem("2btouam,d[0],d[1],mul,1e300,sub,1e400,hex", 3, ""), source, out));
  EXPECT_FALSE(evaluateRecordItem(makeItem("2btouam,d[0],d[1],mul,1e300,sub,1e400,x", 4, ""), source, out));
  EXPECT_FALSE(evaluateRecordItem(makeItem("2btouam,d[0],d[1],mul,1e300,sub,1e400,x", 0, "100"), source, out));
}

}  // namespace
