// Reading per-model item files: sections, lines field by field, the checks
// made at load and their messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "library/support/library_test.h"
#include "library/support/program_folder.h"
#include "tables/all_tables.h"
#include "tables/conversion_tables.h"
#include "tables/item_file.h"
#include "tables/model_tables.h"
#include "tables/table_lookups.h"

using namespace tramsoll;
using testsupport::drainDebugLines;
using Lines = std::vector<std::string>;

namespace {

class ItemFileTest : public testsupport::LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    installTableWords();
  }

  // Writes table/<name> and runs the three passes as the load of all
  // tables does.
  int32_t load(const std::string& name, const Lines& lines, int unitClass = 0) {
    folder.writeScrambledLines("table/" + name, lines);
    EXPECT_TRUE(loadItemReport(name.c_str()));
    EXPECT_TRUE(loadItemDataAndGroups(name.c_str()));
    EXPECT_TRUE(loadItems(name.c_str(), unitClass));
    int32_t index = -1;
    EXPECT_TRUE(findKishuByFile(name.c_str(), index));
    return index;
  }
  bool failed() const { return hasBits(errFault, fault::kTableLoad); }

  testsupport::ProgramFolder folder;
};

ItemRecord item(int32_t model, int unitType, int group, int32_t index) {
  ItemRecord record;
  EXPECT_TRUE(getItem(model, unitType, group, index, record));
  return record;
}

TEST_F(ItemFileTest, ReportSectionKeepsItsFirstEightLines) {
  int32_t model = load("r.itm", {"ignored, before, any, section", "[report]", "260", "7", "A0, B0", "A1, B1",
                                 "A2", "A3", "A4", "A5, " + std::string(32, 'b'), "A6, B6"});
  KishuEntry entry;
  ASSERT_TRUE(getKishu(model, entry));
  EXPECT_EQ(entry.firstReportValue, 4);  // low 8 bits of 260
  EXPECT_EQ(entry.secondReportValue, 7);
  EXPECT_STREQ(entry.reportTextA[0], "A0");
  EXPECT_STREQ(entry.reportTextB[1], "B1");
  EXPECT_STREQ(entry.reportTextA[5], "A5");
  EXPECT_EQ(std::string(entry.reportTextB[5]), std::string(31, 'b'));  // cut and reported
  EXPECT_STREQ(entry.reportTextA[6], "");                               // line 9 does not count
  EXPECT_EQ(drainDebugLines(), Lines{"KtbError: r.itm(10) Report text over 31 char"});
  EXPECT_TRUE(failed());

  // A second report marker starts again at its first line.
  resetModelTables();
  model = load("r2.itm", {"[report]", "1", "2", "old", "[report]", "9"});
  ASSERT_TRUE(getKishu(model, entry));
  EXPECT_EQ(entry.firstReportValue, 9);
  EXPECT_STREQ(entry.reportTextA[0], "old");
}

TEST_F(ItemFileTest, DataBlocksNeedAShortNameAndALengthOf1To256) {
  int32_t model = load("d.itm", {"[data]", "ABCDEFG, 256", "ABCDEFGH, 4", "ABCDEFGHI, 4", "Z0, 0", "Z1, 257",
                                 "Z2, 65537", "Z3, -1", "ABCDEFG, 9", ", 5", "Z4, 1"});
  EXPECT_EQ(drainDebugLines(), (Lines{"KtbError: d.itm(3) Addr Length Error", "KtbError: d.itm(4) Addr Length Error",
                                      "KtbError: d.itm(5) Data Length Error", "KtbError: d.itm(6) Data Length Error",
                                      "KtbError: d.itm(7) Data Length Error",
                                      "KtbError: d.itm(8) Data Length Error"}));
  EXPECT_TRUE(failed());
  KishuEntry entry;
  getKishu(model, entry);
  EXPECT_EQ(entry.dataBlockCount, 2);  // refused lines are not added
  uint16_t length = 0;
  EXPECT_TRUE(findKishuDataLength(model, "ABCDEFG", length));
  EXPECT_EQ(length, 256);  // the first of the same name is kept
  EXPECT_FALSE(findKishuDataLength(model, "ABCDEFGH", length));
  EXPECT_FALSE(findKishuDataLength(model, "Z2", length));  // 65537 is not taken as 1
  EXPECT_TRUE(findKishuDataLength(model, "Z4", length));
}

TEST_F(ItemFileTest, ExistGroupsTakeTheirProgramAndTheTextsAfterIt) {
  int32_t model = load("e.itm", {"[data]", "st, 4", "[exist]", "O1, OUT-1, btob, st[0], 0, NONE, FITTED, M-A, M-B",
                                 "I12, IN-12, btob, st[1], 2, NO, YES", "X3, ODD, on, NO, YES, M-X",
                                 "O1, AGAIN, on, a, b"});
  // An unknown letter is only noted: the group counts as outdoor.
  EXPECT_EQ(drainDebugLines(), Lines{"KtbError: e.itm(6) Unknown type \"X3\""});
  EXPECT_FALSE(failed());
  UnitGroup group;
  ASSERT_TRUE(findKishuSub(model, 0, 1, group));
  EXPECT_STREQ(group.groupName, "OUT-1");  // the later O1 is ignored
  EXPECT_STREQ(group.groupProgram, "btob,st[0],0,NONE,FITTED");
  EXPECT_STREQ(group.groupTexts[0], "M-A");
  EXPECT_STREQ(group.groupTexts[1], "M-B");
  EXPECT_STREQ(group.groupTexts[2], "");
  ASSERT_TRUE(findKishuSub(model, 1, 12, group));
  EXPECT_STREQ(group.groupTexts[0], "");
  ASSERT_TRUE(findKishuSub(model, 0, 3, group));
  EXPECT_STREQ(group.groupProgram, "on,NO,YES");
  EXPECT_STREQ(group.groupTexts[0], "M-X");

  // Without its two state words a group program eats the model names.
  resetModelTables();
  model = load("e2.itm", {"[data]", "st, 4", "[exist]", "O1, OUT, btob, st[0], 0, M-A, M-B, M-C", "O300, BIG, on, a, b"});
  ASSERT_TRUE(findKishuSub(model, 0, 1, group));
  EXPECT_STREQ(group.groupProgram, "btob,st[0],0,M-A,M-B");
  EXPECT_STREQ(group.groupTexts[0], "M-C");
  // A group number that cannot be held is refused.
  EXPECT_FALSE(findKishuSub(model, 0, 300 & 0xFF, group));
  EXPECT_EQ(drainDebugLines(), Lines{"KtbError: e2.itm(5) Unknown type \"O300\""});
  EXPECT_TRUE(failed());
}

TEST_F(ItemFileTest, GroupTextsPastTheLastFieldReadAsEmpty) {
  // 125 program words leave room for one text only (field 127).
  std::string line = "O1, G, on";
  for (int i = 0; i < 61; ++i) line += ", add, 1";
  line += ", OFF, ON, T1, T2";
  int32_t model = load("w.itm", {"[exist]", line});
  UnitGroup group;
  ASSERT_TRUE(findKishuSub(model, 0, 1, group));
  EXPECT_STREQ(group.groupTexts[0], "T1");
  EXPECT_STREQ(group.groupTexts[1], "");  // field 128 does not exist
  EXPECT_EQ(drainDebugLines(), Lines{"KtbError: w.itm(2) field over 128"});
}

TEST_F(ItemFileTest, ItemLinesFieldByField) {
  int32_t model = load("i.itm", {"[data]", "d, 8", "[item]",
                                 "Temp(kgf/cm2), 10100001x, , A, 100, btoua, d[0], C",
                                 "Run, 01, 0, D, 1, btob, d[1], 0, STOP, RUN",
                                 "Err, , 1, E, 1, btoua, d[2], ncmp, 0, fine, bad",
                                 "Code, , 1, M, , btoua, d[3], ercd",
                                 "Hex, , 1, , , btoua, d[3], hex",
                                 "Long, , 0, F2, 12345678, btoua, d[4], C",
                                 "Run, , 0, I, 1, btoua, d[5], x",
                                 "Types, , 0, F1, 1, btoua, d[5], x"});
  EXPECT_EQ(drainDebugLines(), (Lines{"KtbError: i.itm(8) Unknown Data-Type \"\"",
                                      "KtbError: i.itm(9) Full-Scale over 7 char"}));
  EXPECT_TRUE(failed());

  ItemRecord temp = item(model, 0, 0, 0);
  EXPECT_STREQ(temp.name, "Temp");
  EXPECT_EQ(temp.flags, 0x85u | itemflag::kDefaultGraph);  // type A is 0; an empty mark asks for the graph
  EXPECT_STREQ(temp.fullScale, "100");
  EXPECT_STREQ(temp.program, "btoua,d[0],C");
  EXPECT_STREQ(temp.stateText0, "");
  ItemRecord run = item(model, 0, 0, 1);
  EXPECT_EQ(run.flags, 0x2u | datatype::kDigital << itemflag::kTypeShift);
  EXPECT_STREQ(run.program, "btob,d[1],0,STOP,RUN");
  EXPECT_STREQ(run.stateText0, "STOP");
  EXPECT_STREQ(run.stateText1, "RUN");
  ItemRecord err = item(model, 0, 0, 2);
  EXPECT_STREQ(err.stateText0, "0");  // whatever the program says
  EXPECT_STREQ(err.stateText1, "1");
  EXPECT_EQ(item(model, 0, 0, 3).flags, uint32_t{datatype::kText} << itemflag::kTypeShift);  // M never graphed
  ItemRecord hex = item(model, 0, 0, 4);
  EXPECT_EQ(itemDataType(hex), datatype::kText);
  EXPECT_STREQ(item(model, 0, 0, 5).fullScale, "1234567");
  EXPECT_EQ(itemDataType(item(model, 0, 0, 6)), datatype::kFloat1);  // the second "Run" is ignored
}

TEST_F(ItemFileTest, DefaultGraphCountsPerSectionAndKind) {
  Lines lines = {"[data]", "d, 8", "[item]"};
  for (int i = 1; i <= 9; ++i) lines.push_back("A" + std::to_string(i) + ", , 1, A, 10, btoua, d[0], C");
  for (int i = 1; i <= 9; ++i) lines.push_back("D" + std::to_string(i) + ", , 1, O, 1, btob, d[0], 0, a, b");
  lines.insert(lines.end(), {"M1, , 1, M, , btoua, d[0], hex", "[item, O0]", "B1, , 1, I, 10, btoua, d[0], C"});
  int32_t model = load("g.itm", lines);
  EXPECT_EQ(drainDebugLines(), (Lines{"KtbError: g.itm(12) default graph over 8 item",
                                      "KtbError: g.itm(21) default graph over 8 item"}));
  EXPECT_TRUE(item(model, 0, 0, 7).flags & itemflag::kDefaultGraph);
  EXPECT_FALSE(item(model, 0, 0, 8).flags & itemflag::kDefaultGraph);
  EXPECT_TRUE(item(model, 0, 0, 16).flags & itemflag::kDefaultGraph);  // eighth two-state item
  EXPECT_FALSE(item(model, 0, 0, 17).flags & itemflag::kDefaultGraph);
  // A new section of the same group counts from 0 again.
  EXPECT_TRUE(item(model, 0, 0, 19).flags & itemflag::kDefaultGraph);
}

TEST_F(ItemFileTest, ItemSectionsNameTheirGroupOrTakeTheClassOfTheLoad) {
  int32_t model = load("s.itm", {"[data]", "d, 2", "[exist]", "O1, OU, on, a, b", "[item, I2]",
                                 "x, , 0, I, 1, btoua, d[0], u", "[items]", "y, , 0, I, 1, btoua, d[1], u",
                                 "[item, I999]", "z, , 0, I, 1, btoua, d[1], u"},
                       100);
  EXPECT_EQ(drainDebugLines(), Lines{"KtbError: s.itm(9) Unknown type \"I999]\""});
  UnitGroup group;
  ASSERT_TRUE(findKishuSub(model, 1, 2, group));  // created by its item
  EXPECT_EQ(group.itemCount, 1);
  EXPECT_STREQ(group.groupName, "");
  ASSERT_TRUE(findKishuSub(model, 100, 0, group));
  EXPECT_EQ(group.itemCount, 1);
  ASSERT_TRUE(findKishuSub(model, 0, 1, group));
  EXPECT_EQ(group.itemCount, 0);
  KishuEntry entry;
  getKishu(model, entry);
  EXPECT_EQ(entry.unitGroupCount, 3);  // nothing of the refused section
}

TEST_F(ItemFileTest, ProgramFaultsAndCheckModeMessages) {
  const Lines lines = {"[data]", "d, 4", "[item]", "Bad, , 0, I, 1, btoux, d[0], u",
                       "Extra, , 0, I, 1, btoua, d[0], u, spare",
                       "Words, , 0, I, 1, btoua, d[0], add, " + std::string(33, '1') + ", u",
                       "Far, , 0, A, 1, btoua, d[9], u"};
  load("p.itm", lines);
  EXPECT_EQ(drainDebugLines(), (Lines{"KtbError: p.itm(4) Unknown-Cmd \"btoux\"",
                                      "KtbError: p.itm(6) function over 32", "KtbError: p.itm(7) Bad Addr \"d[9]\""}));

  resetModelTables();
  checkMode = true;
  std::string many = "Many, , 0, I, 1, btoua, d[0]";
  for (int i = 0; i < 16; ++i) many += ", add, 1";
  Lines checked = lines;
  checked.push_back(many + ", u");
  load("p.itm", checked);
  EXPECT_EQ(drainDebugLines(), (Lines{"KtbError: p.itm(4) Unknown-Cmd \"btoux\"",
                                      "KtbError: p.itm(4) Useless Cmd \"btoux\"",
                                      "KtbError: p.itm(5) Useless Cmd \"spare\"", "KtbError: p.itm(6) function over 32",
                                      "KtbError: p.itm(7) Bad Addr \"d[9]\"", "KtbError: p.itm(7) Useless Cmd \"d[9]\"",
                                      "KtbError: p.itm(8) function over 32"}));
}

TEST_F(ItemFileTest, MissingLongAndRefusedFiles) {
  EXPECT_FALSE(loadItemReport("none.itm"));
  EXPECT_FALSE(loadItemDataAndGroups("none.itm"));  // no entry: silent
  EXPECT_FALSE(loadItems("none.itm", 0));
  EXPECT_EQ(drainDebugLines(), Lines{"KtbError: can't open \"none.itm\" file!!"});
  EXPECT_TRUE(failed());

  folder.writeScrambledLines("x.itm", {"[report]", "1"});
  for (const char* name : {"../x.itm", "table/../x.itm", "..", "a\\b.itm", ""}) {
    EXPECT_FALSE(loadItemReport(name)) << name;
  }
  EXPECT_EQ(drainDebugLines().size(), 5u);

  // The name is looked up without regard to case in the table folder.
  clearErrorWords();
  folder.writeScrambledLines("table/Mixed.ITM", {"[report]", "3", "[data]", "d, 1", "[item]",
                                                 std::string(1279, ';') + "xy, , 0, I, 1, btoua, d[0], u",
                                                 "n, , 0, I, 1, btoua, d[0], u"});
  EXPECT_TRUE(loadItemReport("mixed.itm"));
  EXPECT_TRUE(loadItemDataAndGroups("mixed.itm"));
  EXPECT_TRUE(loadItems("mixed.itm", 1));
  // The long line's first 1280 bytes are a comment; its rest is a line of its own.
  EXPECT_EQ(drainDebugLines(), Lines(3, "KtbError: mixed.itm(6) line over 1280 char"));
  EXPECT_TRUE(failed());
  int32_t model = 0;
  ASSERT_TRUE(findKishuByFile("MIXED.itm", model));
  UnitGroup group;
  ASSERT_TRUE(findKishuSub(model, 1, 0, group));
  EXPECT_EQ(group.itemCount, 2);
}

TEST_F(ItemFileTest, AnItemFileWithoutItemsStillLoads) {
  int32_t model = load("empty.itm", {"[report]", "1", "[data]", "d, 1"});
  KishuEntry entry;
  ASSERT_TRUE(getKishu(model, entry));
  EXPECT_EQ(entry.unitGroupCount, 0);
  EXPECT_FALSE(failed());
  EXPECT_EQ(drainDebugLines(), Lines{});
}

}  // namespace
