// The table and text words of the conversion programs and the change to
// degrees F and PSI, on hand-computed values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "library/support/library_test.h"
#include "library/tables/fake_source.h"
#include "tables/conversion.h"
#include "tables/conversion_tables.h"
#include "tables/table_lookups.h"
#include "tables/table_words.h"

using namespace tramsoll;
using tramsoll::testing::FakeSource;
using tramsoll::testing::makeItem;

namespace {

class TableWordsTest : public testsupport::LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    installTableWords();
  }
};

// One run of a program over block "d" holding `bytes`; the context keeps
// the accumulator, the texts and the fault message.
struct ProgramRun {
  ProgramRun(const std::string& program, std::vector<uint8_t> bytes, int32_t dataType = datatype::kFloat2,
      EvaluationMode mode = EvaluationMode::Live)
      : context(mode, source, dataType, 0) {
    source.add("d", std::move(bytes));
    splitFields(program.c_str(), context.words);
    done = runConversionProgram(context);
  }
  FakeSource source;
  ConversionContext context;
  bool done = false;
};

void addRows(bool pressure, uint32_t table, const std::vector<std::vector<float>>& rows) {
  for (uint32_t i = 0; i < rows.size(); ++i) {
    float columns[kTableColumns] = {rows[i][0], rows[i][1], rows[i][2], rows[i][3]};
    if (pressure)
      addPressureRow(table, i, columns);
    else
      addSaturateRow(table, i, columns);
  }
}

TEST_F(TableWordsTest, PtableAndStableChooseTheirRowDifferentlyAtABound) {
  // Bounds 10, 20, 30 with factors 2, 4, 5 and offsets 0, 10, 20.
  const std::vector<std::vector<float>> rows = {{0, 10, 2, 0}, {1, 20, 4, 10}, {2, 30, 5, 20}};
  addRows(true, 1, rows);
  addRows(false, 1, rows);
  struct Case {
    uint8_t raw;
    float pressure;    // (raw - offset) / factor
    float saturation;  // raw x factor + offset
  } cases[] = {
      {5, 2.5f, 10},     // first row for both
      {20, 2.5f, 120},   // ptable the row of bound 20, stable the next
      {25, 1, 145},
      {99, 15.8f, 515},  // above every bound: the last row
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int{c.raw});
    EXPECT_EQ(ProgramRun("btoua,d[0],ptable,1,u", {c.raw}).context.accumulator, c.pressure);
    EXPECT_EQ(ProgramRun("btoua,d[0],stable,1,u", {c.raw}).context.accumulator, c.saturation);
  }
  // Operators go on after a table word.
  ProgramRun chained("btoua,d[0],ptable,1,stable,1,add,1,kgf/cm2", {20});
  ASSERT_TRUE(chained.done);
  EXPECT_STREQ(chained.context.resultText, "6.00 ");  // 2.5 x 2 + 0 + 1
  EXPECT_STREQ(chained.context.unitText, "kgf/cm2");
}

TEST_F(TableWordsTest, MissingTablesAndRowsThatWouldDivideByZeroFail) {
  ProgramRun ptable("btoua,d[0],ptable,9,u", {7});
  EXPECT_FALSE(ptable.done);
  EXPECT_STREQ(ptable.context.errorText, "No ptable number \"9\"");
  EXPECT_EQ(ptable.context.accumulator, 7);
  ProgramRun stable("btoua,d[0],stable,-2,u", {7});
  EXPECT_FALSE(stable.done);
  EXPECT_STREQ(stable.context.errorText, "No stable number \"-2\"");

  // A chosen row without a factor: the value becomes 0 and the run fails.
  addRows(true, 3, {{0, 10, 0, 1}, {1, 20, 2, 0}});
  ProgramRun zero("btoua,d[0],ptable,3,u", {4});
  EXPECT_FALSE(zero.done);
  EXPECT_EQ(zero.context.accumulator, 0);
  EXPECT_STREQ(zero.context.errorText, "");
  EXPECT_TRUE(ProgramRun("btoua,d[0],ptable,3,u", {14}).done);  // the other row is fine

  // The load-time check finds tables by their numbers as well.
  FakeSource none;
  ConversionContext check(EvaluationMode::Check, none, datatype::kAnalog, 0);
  splitFields("on,stable,4,u", check.words);
  EXPECT_FALSE(runConversionProgram(check));
  EXPECT_STREQ(check.errorText, "No stable number \"4\"");
}

TEST_F(TableWordsTest, UtableScalesAnalogInputsSevenAndEight) {
  FakeSource source;
  source.add("d", {0x02, 0x00});
  SensorChannel seven;
  seven.fullScale = 1023;
  std::strcpy(seven.unit, "bar");
  source.setChannel(7, seven);
  SensorChannel eight;
  eight.range = 1;
  eight.offset = -100;
  eight.fullScale = 923;
  std::strcpy(eight.unit, "m3/h");
  source.setChannel(8, eight);
  ItemOutput out{};
  ASSERT_TRUE(evaluateLiveItem(makeItem("2btouam,d[0],d[1],utable,0,V", datatype::kAnalog), source, out));
  EXPECT_STREQ(out.text, "512.0 bar");
  // Range 1 multiplies by 5; any selector other than 0 is input 8:
  // (923 + 100) x 512 x 5 / 1023 - 100 = 2460.
  ASSERT_TRUE(evaluateLiveItem(makeItem("2btouam,d[0],d[1],utable,3,V", datatype::kAnalog), source, out));
  EXPECT_STREQ(out.text, "2460.0 m3/h");

  // Without a channel record: every field 0 and an empty unit.
  FakeSource bare;
  bare.add("d", {0x02, 0x00});
  ASSERT_TRUE(evaluateLiveItem(makeItem("2btouam,d[0],d[1],utable,0,V", datatype::kAnalog), bare, out));
  EXPECT_STREQ(out.text, "0.0 ");

  // The load-time check neither fetches nor changes anything.
  ProgramRun check("on,utable,1,V", {}, datatype::kAnalog, EvaluationMode::Check);
  ASSERT_TRUE(check.done);
  EXPECT_EQ(check.context.accumulator, 1);
  EXPECT_STREQ(check.context.unitText, "V");
}

TEST_F(TableWordsTest, ErcdSpellsTheUnitsTwoCharacterCode) {
  struct Case {
    std::vector<uint8_t> bytes;
    const char* text;
  } cases[] = {
      {{0xA3}, "M3"}, {{0x0F}, "  "}, {{0x1B}, "AH"}, {{0xFF}, "0F"}, {{0x3E}, "EE"},
  };
  for (const Case& c : cases) {
    ProgramRun run("btoua,d[0],ercd,unit", c.bytes, datatype::kText);
    ASSERT_TRUE(run.done);
    EXPECT_STREQ(run.context.resultText, c.text);
    EXPECT_STREQ(run.context.unitText, "");
  }
  // Only the low eight bits of the whole value count: 0x1A3 -> 0xA3.
  EXPECT_STREQ(ProgramRun("2btouam,d[0],d[1],ercd", {0x01, 0xA3}, datatype::kText).context.resultText, "M3");
  EXPECT_STREQ(ProgramRun("INT8,d[0],ercd", {0xE4}, datatype::kText).context.resultText, "6" "4");  // -28 is 0xE4
}

TEST_F(TableWordsTest, TableTakesOneOfTheTextsThatFollow) {
  struct Case {
    uint8_t value;
    const char* text;
  } cases[] = {{0, "LOW"}, {2, "HIGH"}, {5, "LOW"}};
  for (const Case& c : cases) {
    ProgramRun run("btoua,d[0],table,3,LOW,MID,HIGH", {c.value}, datatype::kText);
    ASSERT_TRUE(run.done);
    EXPECT_STREQ(run.context.resultText, c.text);
    EXPECT_EQ(run.context.wordCursor, 7);
  }
  EXPECT_STREQ(ProgramRun("INT8,d[0],table,3,LOW,MID,HIGH", {0xFF}, datatype::kText).context.resultText, "LOW");
  // A count of 0 shows the word at the cursor and moves nowhere.
  ProgramRun empty("btoua,d[0],table,0,next", {1}, datatype::kText);
  EXPECT_STREQ(empty.context.resultText, "next");
  EXPECT_EQ(empty.context.wordCursor, 4);
  // At most 32 characters of the text.
  ProgramRun cut("btoua,d[0],table,1," + std::string(40, 't'), {0}, datatype::kText);
  EXPECT_EQ(std::string(cut.context.resultText), std::string(32, 't'));

  // The texts must lie within the program's 128 words.
  for (const char* program : {"btoua,d[0],table,-5,a", "btoua,d[0],table,200,a", "btoua,d[0],table,125,a"}) {
    ProgramRun bad(program, {0}, datatype::kText);
    EXPECT_FALSE(bad.done) << program;
    EXPECT_STRNE(bad.context.errorText, "") << program;
  }
  EXPECT_TRUE(ProgramRun("btoua,d[0],table,124,a", {0}, datatype::kText).done);
}

TEST_F(TableWordsTest, EtableTakesTheCodeFromItsEntry) {
  const char rows[3][kErrorCodeRowSize] = {
      {' ', 'a', 'c', 'e', 'h', 'f', 'j', 'l', 'p', 'u', 'n', 'r', 't', 'y', 'b', 'd'},
      {' ', 'A', 'C', 'E', 'H', 'F', 'J', 'L', 'P', 'U', 'N', 'R', 'T', 'Y', 'B', 'D'},
      {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'b', 'C', 'd', 'E', 'F'}};
  ASSERT_TRUE(addErrorCodeEntry(2, rows));
  struct Case {
    std::string program;
    std::vector<uint8_t> bytes;
    const char* text;
  } cases[] = {
      {"btoua,d[0],etable,2", {0x34}, "E4"},
      {"2btouam,d[0],d[1],etable,2", {0x01, 0xA1}, "N1"},  // (0x1A1 / 16) mod 16 = 10
      {"btoua,d[0],etable,2", {0x0C}, " "},                // a blank first character stands alone
      {"INT8,d[0],etable,2", {0xDE}, "cE"},                // -34: row 1 at 2, low bits of 0xFFFFFFDE
      {"2btosad2,d[0],d[1],etable,2", {0xFF, 0x80}, " "},  // -0.5 is negative, its whole part 0
  };
  for (const Case& c : cases) {
    ProgramRun run(c.program, c.bytes, datatype::kText);
    ASSERT_TRUE(run.done) << c.program;
    EXPECT_STREQ(run.context.resultText, c.text) << c.program;
  }
  ProgramRun missing("btoua,d[0],etable,7", {1}, datatype::kText);
  EXPECT_FALSE(missing.done);
  EXPECT_STREQ(missing.context.errorText, "No table no \"7\"");
}

TEST_F(TableWordsTest, DisplayUnitsConvertTemperaturesPressuresAndTheirFullScales) {
  struct Case {
    const char* unit;
    float value;
    float fullScale;
    const char* newUnit;
    float newValue;
    float newFullScale;
  } cases[] = {
      {"C", 23, 100, "F", 73.4f, 200},
      {"\x81\x8E", 100, 150, "F", 212, 300},
      {"\xE2\x84\x83", -40, 50, "F", -40, 50},  // only 100 and 150 change
      {"kgf/cm2", 5, 50, "PSI", 71.1168f, 500},
      {"kgf/cm2", 5, 40, "PSI", 71.1168f, 40},
      {"F", 10, 100, "F", 10, 100},  // never converted twice
      {"%", 10, 100, "%", 10, 100},
      {"", 10, 50, "", 10, 50},
      {"c", 10, 100, "c", 10, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.unit);
    char unit[kUnitTextSize] = {};
    std::strcpy(unit, c.unit);
    float value = c.value, fullScale = c.fullScale;
    applyDisplayUnit(0, unit, value, fullScale);
    EXPECT_STREQ(unit, c.unit);
    EXPECT_EQ(value, c.value);
    applyDisplayUnit(1, unit, value, fullScale);
    EXPECT_STREQ(unit, c.newUnit);
    EXPECT_FLOAT_EQ(value, c.newValue);
    EXPECT_EQ(fullScale, c.newFullScale);
  }
  // 1.8 and 14.22336 are held as 32-bit floats.
  char unit[kUnitTextSize] = "C";
  float value = 1, fullScale = 0;
  applyDisplayUnit(1, unit, value, fullScale);
  EXPECT_EQ(value, static_cast<float>(double{1.8f} + 32));
}

// Shown numbers under both unit choices, whatever converter read them (the
// converters themselves are checked on their own): the shown text and the
// graph value with the changed full scale.
TEST_F(TableWordsTest, ShownNumbersInBothUnitChoices) {
  struct Case {
    std::string program;
    std::vector<uint8_t> bytes;
    const char* celsius;
    const char* fahrenheit;
  };
  const std::vector<Case> cases = {
      {"btoua,d[0],C", {0x85}, "133.0 C", "271.4 F"},
      {"2btosam,d[0],d[1],C", {0x81, 0x02}, "-258.0 C", "-432.4 F"},
      {"4ftosa,d[0],C", {0x00, 0x00, 0x48, 0x41}, "12.5 C", "54.5 F"},
      {"nctoa,d[0],3,C", {'5', '.', '2'}, "2.5 C", "36.5 F"},
      {"2ctoecd,d[0],d[1],C", {'E', '4'}, "E4", "E4"},
      {"on,C", {}, "1.0 C", "33.8 F"},
      {"btoua,d[0],kgf/cm2", {10}, "10.0 kgf/cm2", "142.2 PSI"},
      {"btoua,d[0],\x81\x8E", {100}, "100.0 \x81\x8E", "212.0 F"},
      {"btoua,d[0],\xE2\x84\x83", {100}, "100.0 \xE2\x84\x83", "212.0 F"},
  };
  for (int choice : {0, 1}) {
    tempUnitFlag.store(choice);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.program + (choice ? " in F" : " in C"));
      FakeSource source;
      source.add("d", c.bytes);
      ItemOutput out{};
      ASSERT_TRUE(evaluateLiveItem(makeItem(c.program, datatype::kAnalog, "150"), source, out));
      EXPECT_STREQ(out.text, choice ? c.fahrenheit : c.celsius);
    }
  }
  // Graph values follow the changed full scale: 100 C of 150 is 212 F of 300.
  FakeSource source;
  source.add("d", {100, 10});
  struct Graph {
    const char* program;
    const char* fullScale;
    int32_t celsius;
    int32_t fahrenheit;
  } graphs[] = {
      {"btoua,d[0],C", "150", 66, 70},
      {"btoua,d[1],C", "100", 10, 25},        // 50 F of 200
      {"btoua,d[1],kgf/cm2", "50", 20, 28},   // 142.2 PSI of 500
      {"btoua,d[1],kgf/cm2", "40", 25, 100},  // 142.2 PSI of 40, limited
      {"btoua,d[1],C", "250", 4, 20},         // 50 F of 250
  };
  for (const Graph& g : graphs) {
    SCOPED_TRACE(g.program + std::string(" ") + g.fullScale);
    ItemOutput out{};
    tempUnitFlag.store(0);
    ASSERT_TRUE(evaluateLiveItem(makeItem(g.program, datatype::kAnalog, g.fullScale), source, out));
    EXPECT_EQ(out.graphValue, g.celsius);
    tempUnitFlag.store(1);
    ASSERT_TRUE(evaluateLiveItem(makeItem(g.program, datatype::kAnalog, g.fullScale), source, out));
    EXPECT_EQ(out.graphValue, g.fahrenheit);
  }
  // Two-state items and text words are never converted.
  ItemOutput out{};
  ASSERT_TRUE(evaluateLiveItem(makeItem("btoua,d[0],C,HOT", datatype::kDigital), source, out));
  EXPECT_STREQ(out.text, "HOT");
}

}  // namespace

namespace {

// A prepared item runs like its record, run after run: a word that one run
// replaces (utable's unit) is back for the next.
TEST_F(TableWordsTest, PreparedItemsRunLikeTheirRecordsEveryTime) {
  FakeSource source;
  source.add("d", {0x02, 0x00, 0x41, 0x30}, 1700000000);
  SensorChannel seven;
  seven.fullScale = 1023;
  std::strcpy(seven.unit, "bar");
  source.setChannel(7, seven);
  const ItemRecord items[] = {
      makeItem("2btouam,d[0],d[1],utable,0,V", datatype::kAnalog, "100"),
      makeItem("btoua,d[2],C", datatype::kFloat2, "150"),
      makeItem("btoua,d[3],mul,0.5,kgf/cm2", datatype::kInteger, "50"),
      makeItem("btob,d[2],0,Off,On", datatype::kDigital),
      makeItem("btoua,d[2],hex", datatype::kText),
      makeItem("btoua,d[9],C", datatype::kAnalog),  // fails: no such byte
      makeItem("2btouam,d[0],d[1],utable,add,1,V", datatype::kFloat1, "100"),  // the unit lands on an operator
      makeItem("btoua,d[2],div,0,C", datatype::kAnalog),
      makeItem("btoua,d[2],sub,-1e40,mul,0.1,C", datatype::kFloat2),
      makeItem("btoua,dd,C", datatype::kAnalog),
      makeItem("bogus,d[0],C", datatype::kAnalog),
  };
  for (int choice : {0, 1}) {
    tempUnitFlag.store(choice);
    for (const ItemRecord& item : items) {
      PreparedItem prepared(item);
      char expected[32], text[32];
      float expectedValue = -1, value = -2;
      uint32_t expectedTime = 1, time = 2;
      bool done = evaluateRecordText(item, source, expected, sizeof expected);
      evaluateRecordValue(item, source, expectedValue, expectedTime);
      for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(evaluateRecordText(prepared, source, text, sizeof text), done) << item.program;
        EXPECT_STREQ(text, expected) << item.program;
        evaluateRecordValue(prepared, source, value, time);
        EXPECT_EQ(value, expectedValue) << item.program;
        EXPECT_EQ(time, expectedTime) << item.program;
      }
    }
  }
}

}  // namespace
