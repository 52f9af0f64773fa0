// The interpreter around the words: endings by data type, graph values,
// operand checks and their messages, times, the check at load and the hand
// over to the table words.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "library/support/library_test.h"
#include "library/tables/fake_source.h"
#include "tables/conversion.h"
#include "tables/table_words.h"

using namespace tramsoll;
using tramsoll::testing::FakeSource;
using tramsoll::testing::makeItem;

namespace {

// Each case starts from a freshly loaded library: no table words installed,
// degrees C.
using Display = testsupport::LibraryTest;
using Operands = testsupport::LibraryTest;
using Program = testsupport::LibraryTest;
using Times = testsupport::LibraryTest;
using Entries = testsupport::LibraryTest;
using Words = testsupport::LibraryTest;
using CheckMode = testsupport::LibraryTest;
using TableWords = testsupport::LibraryTest;

// A run on a context of our own, to look at the whole state afterwards.
struct ProgramRun {
  explicit ProgramRun(const std::string& program, int32_t dataType = 0, float fullScale = 0,
               EvaluationMode mode = EvaluationMode::Live)
      : context(mode, source, dataType, fullScale), program_(program) {}
  bool go() {
    splitFields(program_.c_str(), context.words);
    return runConversionProgram(context);
  }
  FakeSource source;
  ConversionContext context;

 private:
  std::string program_;
};

// "on" followed by `pairs` times "add,0": 1 + 2 x pairs words.
std::string longProgram(int pairs) {
  std::string program = "on";
  for (int i = 0; i < pairs; ++i) program += ",add,0";
  return program;
}

TEST_F(Display, NumericTypesFormatTheirValueAndTakeTheUnitWord) {
  FakeSource source;
  source.add("d", {0x81, 0x0B});  // 2btosam: -267
  ItemOutput out{};
  ASSERT_TRUE(evaluateLiveItem(makeItem("2btosam,d[0],d[1],mul,0.1,kgf/cm2", 0), source, out));
  EXPECT_STREQ(out.text, "-26.7 kgf/cm2");
  ASSERT_TRUE(evaluateLiveItem(makeItem("2btosam,d[0],d[1],mul,0.1,kgf/cm2", 5), source, out));
  EXPECT_STREQ(out.text, "-26.7 kgf/cm2");
  ASSERT_TRUE(evaluateLiveItem(makeItem("2btosam,d[0],d[1],mul,0.1,kgf/cm2", 6), source, out));
  EXPECT_STREQ(out.text, "-26.70 kgf/cm2");
  // Data type 4 truncates toward zero.
  ASSERT_TRUE(evaluateLiveItem(makeItem("2btosam,d[0],d[1],mul,0.1,kgf/cm2", 4), source, out));
  EXPECT_STREQ(out.text, "-26 kgf/cm2");

  // Without a unit word the unit is empty and the cursor still moves on.
  ProgramRun run("btoua,d[1]", 0);
  run.source.add("d", {0, 23});
  ASSERT_TRUE(run.go());
  EXPECT_STREQ(run.context.resultText, "23.0 ");
  EXPECT_STREQ(run.context.unitText, "");
  EXPECT_EQ(run.context.resultWordIndex, 2);
  EXPECT_EQ(run.context.wordCursor, 3);
}

TEST_F(Display, TwoStateTypesShowOneOfTwoTexts) {
  for (int32_t type : {1, 2, 7}) {
    ProgramRun zero("btoua,d[0],OFF,ON,extra", type);
    zero.source.add("d", {0});
    ASSERT_TRUE(zero.go());
    EXPECT_STREQ(zero.context.resultText, "OFF");
    EXPECT_STREQ(zero.context.unitText, "");
    EXPECT_EQ(zero.context.resultWordIndex, 2);
    EXPECT_EQ(zero.context.wordCursor, 4);
    EXPECT_EQ(zero.context.graphValue, 0);
  }
  // Any value but 0, a negative one too, shows the second text.
  ProgramRun negative("INT8,d[0],OFF,ON", 1);
  negative.source.add("d", {0xF0});
  ASSERT_TRUE(negative.go());
  EXPECT_STREQ(negative.context.resultText, "ON");
  EXPECT_EQ(negative.context.graphValue, 1);
}

TEST_F(Display, OtherTypesShowNothingUnlessATextWordEnds) {
  ProgramRun plain("btoua,d[0],C", 3);
  plain.source.add("d", {5});
  ASSERT_TRUE(plain.go());
  EXPECT_STREQ(plain.context.resultText, "");
  EXPECT_EQ(plain.context.wordCursor, 2);
  EXPECT_EQ(plain.context.graphValue, 1);
  ProgramRun unknownType("btoua,d[0],C", 31);
  unknownType.source.add("d", {0});
  ASSERT_TRUE(unknownType.go());
  EXPECT_STREQ(unknownType.context.resultText, "");
  EXPECT_EQ(unknownType.context.graphValue, 0);
}

TEST_F(Display, GraphValueIsPercentOfFullScaleWithinMinus20To100) {
  struct {
    int value;
    const char* fullScale;
    int32_t graph;
  } cases[] = {{80, "50", 100}, {-30, "50", -20}, {25, "50", 50}, {-5, "50", -10}, {80, "0", 0}, {80, "", 0},
               {33, "abc", 0},  {1, "3", 33},     {-1, "3", -20}};
  for (const auto& c : cases) {
    FakeSource source;
    source.add("d", {static_cast<uint8_t>(static_cast<int8_t>(c.value))});
    ItemOutput out{};
    ASSERT_TRUE(evaluateRecordItem(makeItem("INT8,d[0],x", 0, c.fullScale), source, out));
    EXPECT_EQ(out.graphValue, c.graph) << c.value << " of " << c.fullScale;
  }
}

TEST_F(Operands, BadAddressesNameTheFailingWord) {
  struct {
    const char* program;
    const char* message;
  } cases[] = {
      {"btoua,d[4]", "Bad Addr \"d[4]\""},                      // index equal to the length
      {"btoua,d[FFFFFFFFFFFFFFFFFF]", "Bad Addr \"d[FFFFFFFFFFFFFFFFFF]\""},
      {"btoua,d[100000000]", "Bad Addr \"d[100000000]\""},      // would wrap to 0 in 32 bits
      {"btoua,e[0]", "Bad Addr \"e[0]\""},                      // no such block
      {"btoua,d0", "Bad Addr \"d0\""},                          // no bracket
      {"btoua,abcdefgh[0]", "Bad Addr \"abcdefgh[0]\""},        // name over 7 characters
      {"btoua", "Bad Addr \"\""},                               // operand missing
      {"2btouam,d[0],d[9]", "Bad Addr \"d[9]\""},               // the second operand
      {"3btosae1,d[0],d[1],x[0]", "Bad Addr \"x[0]\""},         // the third operand
      {"4ftosa,d[1]", "Bad Addr \"d[1]\""},                     // four bytes do not fit
      {"nctoa,d[2],3", "Bad Addr \"d[2]\""},                    // three characters do not fit
      {"nctoa,d[0],FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", "Bad Addr \"d[0]\""},
  };
  for (const auto& c : cases) {
    ProgramRun run(c.program, 4);
    run.source.add("d", {1, 2, 3, 4});
    run.source.add("abcdefg", {1});
    EXPECT_FALSE(run.go()) << c.program;
    EXPECT_STREQ(run.context.errorText, c.message);
  }
  // A seven-character name and an index right below the length are fine.
  ProgramRun run("2btouam,abcdefg[0],d[3],x", 4);
  run.source.add("d", {1, 2, 3, 4});
  run.source.add("abcdefg", {1});
  ASSERT_TRUE(run.go());
  EXPECT_STREQ(run.context.resultText, "260 ");
}

TEST_F(Program, UnknownFirstWordsAreNamed) {
  for (std::string program : {"add,1,x", "BTOUA,d[0]", "btoua2,d[0]", "", "int8,d[0]"}) {
    ProgramRun run(program);
    EXPECT_FALSE(run.go());
    EXPECT_EQ(run.context.errorText, "Unknown-Cmd \"" + program.substr(0, program.find(',')) + "\"") << program;
  }
}

TEST_F(Program, LongWordsInMessagesAreCutToTheErrorField) {
  std::string word(63, 'w');
  ProgramRun run(word);
  EXPECT_FALSE(run.go());
  EXPECT_EQ(std::strlen(run.context.errorText), kErrorTextSize - 1);
  EXPECT_EQ(std::string(run.context.errorText).substr(0, 13), "Unknown-Cmd \"");
}

TEST_F(Program, OperatorsStopAtTheFirstOtherWord) {
  ProgramRun run("btoua,d[0],add,1,C,add,5", 0);
  run.source.add("d", {1});
  ASSERT_TRUE(run.go());
  EXPECT_STREQ(run.context.resultText, "2.0 ");
  EXPECT_STREQ(run.context.unitText, "C");
  EXPECT_EQ(run.context.wordCursor, 5);
}

TEST_F(Times, TheFirstOperandGivesTheTimeAndDatalessProgramsTheSourceTime) {
  FakeSource source;
  source.add("a", {1}, 100);
  source.add("b", {2}, 200);
  source.sample = 555;
  float value = 0;
  uint32_t time = 0;
  ASSERT_TRUE(evaluateRecordValue(makeItem("2btouam,b[0],a[0],x", 4), source, value, time));
  EXPECT_EQ(value, 513.0f);
  EXPECT_EQ(time, 200u);
  // A program that reads no data takes the source's time, never the time
  // that the run before left behind.
  ASSERT_TRUE(evaluateLiveValue(makeItem("on,x", 4), source, value, time));
  EXPECT_EQ(time, 555u);
  ItemOutput out{};
  ASSERT_TRUE(evaluateRecordItem(makeItem("on,x", 4), source, out));
  EXPECT_EQ(out.time, 555u);
  // A failed run hands out no time; the value entry keeps the accumulator.
  ASSERT_FALSE(evaluateRecordValue(makeItem("btoua,a[0],add,4,div,0", 4), source, value, time));
  EXPECT_EQ(time, 0u);
  EXPECT_EQ(value, 0.0f);
  ASSERT_FALSE(evaluateRecordValue(makeItem("btoua,a[0],add,4,ptable,1,x", 4), source, value, time));
  EXPECT_EQ(value, 5.0f);
  EXPECT_EQ(time, 0u);
}

TEST_F(Entries, TextEntriesAndFailures) {
  FakeSource source;
  source.add("d", {42});
  char text[8];
  ASSERT_TRUE(evaluateRecordText(makeItem("btoua,d[0],C", 0, "100"), source, text, sizeof text));
  EXPECT_STREQ(text, "42.0 ");
  // The caller's capacity bounds the text.
  char small[3];
  ASSERT_TRUE(evaluateRecordText(makeItem("btoua,d[0],C", 0, "100"), source, small, sizeof small));
  EXPECT_STREQ(small, "42");
  EXPECT_FALSE(evaluateRecordText(makeItem("btoua,x[0],C", 0, "100"), source, text, sizeof text));
  EXPECT_STREQ(text, "");

  ItemOutput out{};
  std::strcpy(out.text, "stale");
  out.graphValue = 7;
  out.time = 7;
  EXPECT_FALSE(evaluateLiveItem(makeItem("btoua,x[0],C", 0, "100"), source, out));
  EXPECT_STREQ(out.text, "");
  EXPECT_EQ(out.graphValue, 0);
  EXPECT_EQ(out.time, 0u);

  // The live value ignores the full scale; a failure gives 0 and 0.
  float value = 1;
  uint32_t time = 1;
  EXPECT_FALSE(evaluateLiveValue(makeItem("btoua,x[0],C", 0, "100"), source, value, time));
  EXPECT_EQ(value, 0.0f);
  EXPECT_EQ(time, 0u);
}

TEST_F(Entries, ResultAndUnitTextsStayInTheirFields) {
  FakeSource source;
  source.add("d", {0xFF});
  std::string unit(60, 'u');
  ItemOutput out{};
  ASSERT_TRUE(evaluateLiveItem(makeItem("btoua,d[0],mul,1e35," + unit, 0, "100"), source, out));
  std::string text = out.text;
  // 35 characters of "25500000...0.0 " and 35 of the unit.
  ASSERT_EQ(text.size(), 70u);
  EXPECT_EQ(text.substr(0, 4), "2550");
  EXPECT_EQ(text.substr(35), std::string(35, 'u'));
}

TEST_F(Entries, ProgramTextsWithoutTerminatorAreReadToTheFieldEnd) {
  FakeSource source;
  source.add("d", {9});
  ItemRecord item = makeItem("", 4);
  std::memset(item.program, ',', sizeof item.program);
  std::memcpy(item.program, "btoua,d[0],x", 12);
  std::memset(item.fullScale, '9', sizeof item.fullScale);  // no terminator either
  ItemOutput out{};
  ASSERT_TRUE(evaluateLiveItem(item, source, out));
  EXPECT_STREQ(out.text, "9 x");
  EXPECT_EQ(out.graphValue, 0);  // 900 / 99999999
}

TEST_F(Words, AccessNeverPassesTheLastSlot) {
  // 127 words before the state texts: the first text is slot 127, the second
  // would be slot 128 and reads as empty.
  ProgramRun run(longProgram(63) + ",OFF,ON", 1);
  ASSERT_TRUE(run.go());
  EXPECT_STREQ(run.context.resultText, "");
  EXPECT_EQ(run.context.resultWordIndex, 127);
  EXPECT_EQ(run.context.wordCursor, 128);
  EXPECT_FALSE(run.context.replaceWord(128, "x"));
  EXPECT_FALSE(run.context.replaceWord(-1, "x"));
  EXPECT_STREQ(run.context.word(128), "");
  run.context.skipWords(int64_t{1} << 40);
  EXPECT_EQ(run.context.wordCursor, kWordCount);
  EXPECT_TRUE(run.context.replaceWord(127, std::string(80, 'y').c_str()));
  EXPECT_EQ(std::strlen(run.context.word(127)), 63u);
}

TEST_F(CheckMode, AcceptsGoodProgramsAndReportsTheWordsUsed) {
  resetModelTables();
  KishuEntry entry{};
  std::strcpy(entry.fileName, "model.ktb");
  int32_t model = 0;
  ASSERT_TRUE(addKishu(entry, model));
  int32_t block = 0;
  ASSERT_TRUE(addKishuData(model, "d", 4, block));
  ASSERT_TRUE(addKishuData(model, "big", 300, block));  // refused by the loader, still never over-read

  struct {
    const char* line;  // the program fields as the item line holds them
    int32_t type;
    int32_t resultWordIndex;
    int32_t wordCount;
  } good[] = {
      {"btoua,d[3],C,,next", 0, 2, 3},
      {"2btosam,d[0],d[1],mul,0.1,kgf/cm2", 0, 5, 6},
      {"btob,d[0],7,OFF,ON", 1, 3, 5},
      {"btoua,d[0],and,11,hex", 3, 5, 5},
      {"2ctoecd,d[0],d[1]", 3, 3, 3},
      {"btoua,d[0]", 4, 2, 3},
      {"4ftosa,big[FC],x", 6, 2, 3},
      {"on,x", 5, 1, 2},
  };
  for (const auto& c : good) {
    Fields fields;
    splitFields(c.line, fields);
    ProgramCheck check{};
    EXPECT_TRUE(checkItemProgram(model, &fields.field[0], kFieldCount, c.type, check)) << c.line << ": "
                                                                                      << check.errorText;
    EXPECT_EQ(check.resultWordIndex, c.resultWordIndex) << c.line;
    EXPECT_EQ(check.wordCount, c.wordCount) << c.line;
    EXPECT_STREQ(check.errorText, "");
  }
  // A declared length past 256 is never read beyond the 256 bytes.
  Fields fields;
  splitFields("btoua,big[100],x", fields);
  ProgramCheck check{};
  EXPECT_FALSE(checkItemProgram(model, &fields.field[0], kFieldCount, 0, check));
  EXPECT_STREQ(check.errorText, "Bad Addr \"big[100]\"");
}

TEST_F(CheckMode, RefusesEachKindOfBadProgramWithItsMessage) {
  resetModelTables();
  KishuEntry entry{};
  std::strcpy(entry.fileName, "model.ktb");
  int32_t model = 0;
  ASSERT_TRUE(addKishu(entry, model));
  int32_t block = 0;
  ASSERT_TRUE(addKishuData(model, "d", 4, block));
  struct {
    const char* line;
    const char* message;
  } bad[] = {
      {"btou,d[0],C", "Unknown-Cmd \"btou\""},
      {"mul,2,C", "Unknown-Cmd \"mul\""},
      {"btoua,e[0],C", "Bad Addr \"e[0]\""},
      {"btoua,d[4],C", "Bad Addr \"d[4]\""},
      {"btoua,d,C", "Bad Addr \"d\""},
      {"2btouam,d[0],toolong0[0],C", "Bad Addr \"toolong0[0]\""},
      {"nctoa,d[2],3,C", "Bad Addr \"d[2]\""},
      {"4ftosa,d[1],C", "Bad Addr \"d[1]\""},
      // No message of their own; nothing of an earlier failure shows.
      {"btob,d[0],8,OFF,ON", ""},
      {"btoan,d[0],9,0,C", ""},
      {"btoua,d[0],div,0,C", ""},
      // Table words fail until their tables are installed.
      {"btoua,d[0],ptable,1,C", "No table for \"ptable\""},
      {"btoua,d[0],ercd", "No table for \"ercd\""},
  };
  for (const auto& c : bad) {
    Fields fields;
    splitFields(c.line, fields);
    ProgramCheck check{};
    EXPECT_FALSE(checkItemProgram(model, &fields.field[0], kFieldCount, 0, check)) << c.line;
    EXPECT_STREQ(check.errorText, c.message) << c.line;
  }
  // Against a model index that is not loaded every operand is unknown.
  Fields fields;
  splitFields("btoua,d[0],C", fields);
  ProgramCheck check{};
  EXPECT_FALSE(checkItemProgram(model + 1, &fields.field[0], kFieldCount, 0, check));
  EXPECT_STREQ(check.errorText, "Bad Addr \"d[0]\"");
}

TEST_F(CheckMode, CopiesUpToTheFirstEmptyWordAndNeverBeyondTheGivenWords) {
  resetModelTables();
  // Exactly 128 words in a block of exactly 128 slots: all are copied and
  // the unit word is the last one.
  auto words = std::make_unique<char[][kFieldSize]>(kFieldCount);
  Fields fields;
  splitFields((longProgram(63) + ",unit").c_str(), fields);
  for (int i = 0; i < kFieldCount; ++i) std::memcpy(words[i], fields[i], kFieldSize);
  ProgramCheck check{};
  ASSERT_TRUE(checkItemProgram(0, words.get(), kFieldCount, 0, check)) << check.errorText;
  EXPECT_EQ(check.resultWordIndex, 127);
  EXPECT_EQ(check.wordCount, 128);

  // The words after an empty one are not part of the program: the state-1
  // text is missing.
  splitFields("on,OFF,,ON", fields);
  ASSERT_TRUE(checkItemProgram(0, &fields.field[0], kFieldCount, 1, check));
  EXPECT_EQ(check.wordCount, 3);
  // A loader handing fewer words than 128 bounds the copy.
  splitFields("on,add,1,add,2,unit", fields);
  ASSERT_TRUE(checkItemProgram(0, &fields.field[0], 3, 0, check));
  EXPECT_EQ(check.wordCount, 4);
}

// Stand-ins for the table words, to see the interpreter hand over to them.
bool fakePtable(ConversionContext& context) {
  int32_t n = std::atoi(context.takeWord());
  context.store(context.accumulator * n);
  return true;
}
bool fakeUtable(ConversionContext& context) {
  context.takeWord();
  SensorChannel channel;
  if (context.mode != EvaluationMode::Check && context.source.readSensorChannel(7, channel)) {
    context.replaceWord(context.wordCursor, channel.unit);
  }
  return true;
}
bool fakeErcd(ConversionContext& context) {
  context.setResultText("E9");
  return true;
}
void fakeFahrenheit(int32_t, char (&unit)[kUnitTextSize], float& value, float& fullScale) {
  if (std::strcmp(unit, "C") != 0) return;
  std::strcpy(unit, "F");
  value = value * 1.8f + 32;
  if (fullScale == 150) fullScale = 300;
}

TEST_F(TableWords, TheInterpreterHandsOverToTheInstalledWords) {
  tramsoll::TableWords words{};
  words.ptable = fakePtable;
  words.utable = fakeUtable;
  words.ercd = fakeErcd;
  words.applyDisplayUnit = fakeFahrenheit;
  setTableWords(words);  // the fixture's reset takes them out again

  FakeSource source;
  source.add("d", {100});
  SensorChannel channel;
  std::strcpy(channel.unit, "kPa");
  source.setChannel(7, channel);
  ItemOutput out{};
  // Operators go on after a table operator.
  ASSERT_TRUE(evaluateLiveItem(makeItem("btoua,d[0],ptable,3,add,1,x", 4, "1000"), source, out));
  EXPECT_STREQ(out.text, "301 x");
  // utable's unit replaces the word at the cursor.
  ASSERT_TRUE(evaluateLiveItem(makeItem("btoua,d[0],utable,0,V", 0, "1000"), source, out));
  EXPECT_STREQ(out.text, "100.0 kPa");
  // A text word from the tables ends the program without a unit.
  ASSERT_TRUE(evaluateLiveItem(makeItem("btoua,d[0],ercd,C", 0, "1000"), source, out));
  EXPECT_STREQ(out.text, "E9");
  // The unit conversion changes value, unit and full scale before the
  // text and the graph value are made; two-state items are left alone.
  ASSERT_TRUE(evaluateLiveItem(makeItem("btoua,d[0],C", 0, "150"), source, out));
  EXPECT_STREQ(out.text, "212.0 F");
  EXPECT_EQ(out.graphValue, 70);
  float value = 0;
  uint32_t time = 0;
  ASSERT_TRUE(evaluateLiveValue(makeItem("btoua,d[0],C", 0, "150"), source, value, time));
  EXPECT_EQ(value, 212.0f);
  ASSERT_TRUE(evaluateLiveItem(makeItem("btoua,d[0],C,F", 1), source, out));
  EXPECT_STREQ(out.text, "F");
  // Words left out of the installed set keep failing clearly.
  EXPECT_FALSE(evaluateLiveItem(makeItem("btoua,d[0],stable,1,C", 0), source, out));
}

}  // namespace
