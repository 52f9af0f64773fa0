#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "library/support/library_test.h"
#include "library/support/program_folder.h"
#include "tables/all_tables.h"
#include "tables/setting_file.h"
#include "tables/setting_tables.h"

using namespace tramsoll;
using testsupport::drainDebugLines;
using Lines = std::vector<std::string>;

namespace {

class SettingFileTest : public testsupport::LibraryTest {
 protected:
  // Writes vexa5.set with these lines and loads it.
  bool load(const Lines& lines) {
    folder.writeScrambledLines("vexa5.set", lines);
    return loadSettingFile();
  }
  bool tableLoadFailed() const { return hasBits(errFault, fault::kTableLoad); }

  testsupport::ProgramFolder folder;
};

SettingQ7Row q7(const char* model) {
  SettingQ7Row row;
  EXPECT_TRUE(findSettingQ7ByModel(model, row)) << model;
  return row;
}

SettingSeriRow seri(const char* model) {
  SettingSeriRow row;
  EXPECT_TRUE(findSettingSeriByModel(model, row)) << model;
  return row;
}

TEST_F(SettingFileTest, SampleFileFillsEveryTable) {
  folder.copyTestdata("vexa5.set");
  EXPECT_TRUE(loadSettingFile());
  EXPECT_EQ(drainDebugLines(), Lines{});
  EXPECT_FALSE(tableLoadFailed());

  int32_t count = 0;
  EXPECT_TRUE(getSettingQ7Count(count));
  EXPECT_EQ(count, 9);
  EXPECT_TRUE(getSettingParaCount(count));
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(getSettingSeriCount(count));
  EXPECT_EQ(count, 7);

  // Every bus row of the sample file as its line gives it: kind, pattern,
  // the numbers of /E0[5]/ and the short pattern after them, and the
  // central pattern of DC.
  struct BusRow {
    const char* model;
    uint8_t kind;
    uint16_t longValue, longMask;
    uint8_t first, second, shortValue, shortMask, centralValue, centralMask;
  };
  const BusRow busRows[] = {
      {"TALMA-224", connect::kDO, 0xA000, 0xF0F0, 0, 0, 0, 0, 0, 0},
      {"TALMA-280K", connect::kDOK, 0xA010, 0xF0F0, 0xE0, 5, 0x01, 0x0F, 0, 0},
      {"TALMA-335U", connect::kDOU, 0xA020, 0xF0F0, 0xE0, 5, 0x02, 0x0F, 0, 0},
      {"TALMA-400E", connect::kDOE, 0xA030, 0xF0F0, 0xE0, 5, 0x03, 0x0F, 0, 0},
      {"NORVE-500P", connect::kDONP, 0xB000, 0xF0F0, 0xE0, 5, 0x04, 0x0F, 0, 0},
      {"NORVE-560C", connect::kDONC, 0xB010, 0xF0F0, 0xE0, 5, 0x05, 0x0F, 0, 0},
      {"VELUN-28", connect::kDI, 0x4000, 0xF0F0, 0, 0, 0, 0, 0, 0},
      {"VELUN-36Z", connect::kDIZ, 0x4080, 0xF0F0, 0, 0, 0, 0, 0, 0},
      {"CORDA-CX1", connect::kDC, 0x7001, 0xF00F, 0, 0, 0, 0, 0xE1, 0xF3},
  };
  for (const BusRow& e : busRows) {
    SCOPED_TRACE(e.model);
    SettingQ7Row row = q7(e.model);
    EXPECT_EQ(row.connectionKind, e.kind);
    EXPECT_EQ((std::vector<int>{row.longValue, row.longMask, row.firstNumber, row.secondNumber, row.shortValue,
                                row.shortMask, row.centralValue, row.centralMask}),
              (std::vector<int>{e.longValue, e.longMask, e.first, e.second, e.shortValue, e.shortMask,
                                e.centralValue, e.centralMask}));
  }
  SettingQ7Row row = q7("TALMA-224");
  EXPECT_STREQ(row.itemFile, "outdr01.itm");
  EXPECT_STREQ(row.otherNames[0], "TALMA-224A");
  EXPECT_STREQ(row.otherNames[2], "TALMA-224C");
  EXPECT_STREQ(row.otherNames[3], "");
  EXPECT_TRUE(findSettingQ7ByItemFile("INDR01.ITM", row));
  EXPECT_STREQ(row.modelName, "VELUN-28");

  SettingModelRow model;
  ASSERT_TRUE(getSettingLog(0, model));
  EXPECT_EQ(model.rowKind, rowkind::kLog);
  EXPECT_STREQ(model.modelName, "SENTA-8");
  EXPECT_STREQ(model.itemFile, "sens01.itm");
  ASSERT_TRUE(getSettingPara(1, model));
  EXPECT_EQ(model.rowKind, rowkind::kPara);
  EXPECT_STREQ(model.modelName, "PARVO-850");
  EXPECT_FALSE(getSettingPara(2, model));
  EXPECT_STREQ(model.modelName, "");  // cleared on a miss

  // Every board row: kind, then speed, data bits, parity and stop bits of
  // "B<speed>C<bits>P<parity>S<stop>", then the S, T and K texts.
  struct BoardRow {
    const char* model;
    uint8_t kind;
    const char* line;
    const char* s;
    const char* t;
    const char* k;
  };
  const BoardRow boardRows[] = {
      {"BORIN-L1", rowkind::kSL, "6821", "01", "0100", "02"}, {"BORIN-R1", rowkind::kSR, "5801", "02", "0200", "03"},
      {"BORIN-X1", rowkind::kSX, "4712", "03", "0300", "04"}, {"BORIN-K1", rowkind::kSK, "3822", "04", "0400", "05"},
      {"BORIN-H1", rowkind::kSH, "2701", "05", "0500", "06"}, {"BORIN-A1", rowkind::kSA, "1811", "06", "0600", "07"},
      {"BORIN-Q1", rowkind::kSQ, "6801", "07", "0700", "08"},
  };
  for (const BoardRow& e : boardRows) {
    SCOPED_TRACE(e.model);
    SettingSeriRow unit = seri(e.model);
    EXPECT_EQ(unit.rowKind, e.kind);
    EXPECT_EQ(std::string({unit.speedCode, unit.dataBits, unit.parityCode, unit.stopBits}), e.line);
    EXPECT_STREQ(unit.sText, e.s);
    EXPECT_STREQ(unit.tText, e.t);
    EXPECT_STREQ(unit.kText, e.k);
  }

  int32_t mode = 0;
  EXPECT_TRUE(getControlMode(mode));
  EXPECT_EQ(mode, 1);
  char password[kPasswordSize];
  getPassword(password);
  EXPECT_STREQ(password, "kestrel7");
}

TEST_F(SettingFileTest, BusRowRefusalsNameTheirReasons) {
  const std::string pattern = "1010xxxx0001xxxx";
  EXPECT_FALSE(load({
      "DX, M1, a.itm, " + pattern,
      "DOU, M2, a.itm, " + pattern + "/1A[3/xx01xx10",
      "DC, M3, a.itm, 1110xx01" + pattern,
      "DOE, M4, a.itm, " + pattern + "/1A[3]xx01xx10",
  }));
  EXPECT_EQ(drainDebugLines(), (Lines{
                                   "KtbError: vexa5.set(1) Unknown Conect-Type \"DX\"",
                                   "KtbError: vexa5.set(2) Error \"" + pattern + "/1A[3/xx01xx10\"",
                                   "KtbError: vexa5.set(3) Error \"1110xx01" + pattern + "\"",
                                   "KtbError: vexa5.set(4) Error \"" + pattern + "/1A[3]xx01xx10\"",
                               }));
  EXPECT_TRUE(tableLoadFailed());
  int32_t count = -1;
  EXPECT_FALSE(getSettingQ7Count(count));
  EXPECT_EQ(count, 0);
}

TEST_F(SettingFileTest, DokWithoutItsNumbersIsRefusedAndNamedOnlyInCheckMode) {
  const Lines rows = {"DOK, M1, a.itm, 1010xxxx0001xxxx", "DO, M2, a.itm, 1010xxxx0001xxxx",
                      "DOK, M3, a.itm, 1010xxxx0001xxxx/1A3]/xx"};
  EXPECT_FALSE(load(rows));
  EXPECT_EQ(drainDebugLines(), (Lines{"KtbError: vexa5.set(1) ", "KtbError: vexa5.set(3) "}));
  SettingQ7Row row;
  EXPECT_TRUE(findSettingQ7ByModel("M2", row));
  EXPECT_FALSE(findSettingQ7ByModel("M1", row));

  checkMode = true;
  EXPECT_FALSE(load(rows));
  EXPECT_EQ(drainDebugLines(), (Lines{"KtbError: vexa5.set(1) Error \"1010xxxx0001xxxx\"",
                                      "KtbError: vexa5.set(3) Error \"1010xxxx0001xxxx/1A3]/xx\""}));
}

TEST_F(SettingFileTest, BusRowNameLengths) {
  const std::string name63(63, 'N');
  const std::string file31 = std::string(27, 'f') + ".itm";
  std::string names65;
  for (int i = 0; i < 65; ++i) names65 += ", C" + std::to_string(i);
  const Lines rows = {
      "DO, " + name63 + ", " + file31 + ", 1",
      "DO, " + name63 + "X, a.itm, 1",
      "DO, M3, " + file31 + "x, 1",
      "DO, M4, a.itm, 1" + names65,
      "DO, M5, a.itm, 1, " + std::string(64, 'c'),
  };
  EXPECT_FALSE(load(rows));
  // Outside check mode the two length reasons are not named.
  EXPECT_EQ(drainDebugLines(), (Lines{
                                   "KtbError: vexa5.set(2) ",
                                   "KtbError: vexa5.set(3) ",
                                   "KtbError: vexa5.set(4) Model name over 64",
                                   "KtbError: vexa5.set(5) Model name over 64 bytes",
                               }));
  EXPECT_TRUE(tableLoadFailed());
  SettingQ7Row row = q7(name63.c_str());
  EXPECT_STREQ(row.itemFile, file31.c_str());

  clearSettingTables();
  checkMode = true;
  EXPECT_FALSE(load(rows));
  Lines lines = drainDebugLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "KtbError: vexa5.set(2) Model name over 64 bytes");
  EXPECT_EQ(lines[1], "KtbError: vexa5.set(3) File name over 32 bytes");
}

TEST_F(SettingFileTest, BusRowPatternsAndDuplicates) {
  EXPECT_TRUE(load({
      "DO, M1, a.itm, 101",                        // short pattern: the bits present
      "DI, M2, b.itm, 1111000011110000trailing",   // nothing after the pattern matters
      "DO, M1, c.itm, 0000000000000000",           // a known model keeps its first row
      "DONC, M3, d.itm, 0000000000000000/fff[100]/1", // numbers keep their low 8 bits
  }));
  EXPECT_EQ(drainDebugLines(), Lines{});
  SettingQ7Row row = q7("M1");
  EXPECT_EQ(row.longValue, 0b101);
  EXPECT_EQ(row.longMask, 0b111);
  EXPECT_STREQ(row.itemFile, "a.itm");
  EXPECT_EQ(q7("M2").longValue, 0xF0F0);
  row = q7("M3");
  EXPECT_EQ(row.firstNumber, 0xFF);
  EXPECT_EQ(row.secondNumber, 0x00);
  EXPECT_EQ(row.shortValue, 1);
  EXPECT_EQ(row.shortMask, 1);
}

TEST_F(SettingFileTest, LoggerAndSystemRows) {
  EXPECT_FALSE(load({
      "L, LOG1, l1.itm",
      "LX, LOG2, l2.itm",  // a second logger row is ignored
      "P, SYS1, p1.itm",
      "P, SYS1, p2.itm",  // and so is a known one-system model
      "P, " + std::string(64, 'S') + ", p.itm",
      "L, LOG3, " + std::string(32, 'f'),
  }));
  EXPECT_EQ(drainDebugLines(), (Lines{
                                   "KtbError: vexa5.set(5) Model name over 64 bytes",
                                   "KtbError: vexa5.set(6) File name over 32 bytes",
                               }));
  EXPECT_TRUE(tableLoadFailed());
  SettingModelRow row;
  EXPECT_TRUE(getSettingLog(0, row));
  EXPECT_STREQ(row.modelName, "LOG1");
  EXPECT_FALSE(getSettingLog(1, row));
  EXPECT_TRUE(findSettingParaByModel("SYS1", row));
  EXPECT_STREQ(row.itemFile, "p1.itm");
  int32_t count = 0;
  getSettingParaCount(count);
  EXPECT_EQ(count, 1);
}

TEST_F(SettingFileTest, BoardRowsCheckEveryPieceOfTheLineSettings) {
  EXPECT_FALSE(load({
      "SZ, U1, u.itm, B9600C8PES1/S01T0100K02",
      "SL, U2, u.itm, B19200C8PES1/S01T0100K02",
      "SL, U3, u.itm, B9600C9PES1/S01T0100K02",
      "SL, U4, u.itm, B9600C8PXS1/S01T0100K02",
      "SL, U5, u.itm, B9600C8PES3/S01T0100K02",
      "SL, U6, u.itm, B9600C8PES1/S01T0100K0",
      "SR, U7, u.itm, B9600C8PES1/S01T0100K02;comment",
      "SK, U8, u.itm, B9600C8PES1/S01T0100K02extra",
      "SA, " + std::string(64, 'U') + ", u.itm, B9600C8PES1/S01T0100K02",
  }));
  EXPECT_EQ(drainDebugLines(), (Lines{
                                   "KtbError: vexa5.set(1) Unknown Type \"SZ\"",
                                   "KtbError: vexa5.set(2) Error \"B19200C8PES1/S01T0100K02\"",
                                   "KtbError: vexa5.set(3) Error \"B9600C9PES1/S01T0100K02\"",
                                   "KtbError: vexa5.set(4) Error \"B9600C8PXS1/S01T0100K02\"",
                                   "KtbError: vexa5.set(5) Error \"B9600C8PES3/S01T0100K02\"",
                                   "KtbError: vexa5.set(6) Error \"B9600C8PES1/S01T0100K0\"",
                                   "KtbError: vexa5.set(9) Model name over 64 bytes",
                               }));
  EXPECT_TRUE(tableLoadFailed());
  SettingSeriRow row = seri("U7");
  EXPECT_EQ(row.rowKind, rowkind::kSR);
  EXPECT_EQ(row.speedCode, '6');
  EXPECT_EQ(row.parityCode, '2');
  EXPECT_STREQ(row.kText, "02");
  EXPECT_EQ(seri("U8").rowKind, rowkind::kSK);
}

TEST_F(SettingFileTest, ModeAndPasswordKeys) {
  EXPECT_FALSE(load({
      "mode, 3",  // keys are known in capitals only
      "MODE, 2",
      "MODE, 4",
      "PASSWORD, first",
      "PASSWORD, \"second\"",
  }));
  // An unknown first letter is logged but does not fail the load.
  EXPECT_EQ(drainDebugLines(), Lines{"KtbError: vexa5.set(1) error \"mode\""});
  EXPECT_FALSE(tableLoadFailed());
  int32_t mode = 0;
  EXPECT_TRUE(getControlMode(mode));
  EXPECT_EQ(mode, 2);
  char password[kPasswordSize];
  getPassword(password);
  EXPECT_STREQ(password, "second");

  // The first mode read since load wins across loads; the password is
  // emptied by every read of the file.
  EXPECT_TRUE(load({"MODE, 7"}));
  EXPECT_TRUE(getControlMode(mode));
  EXPECT_EQ(mode, 2);
  getPassword(password);
  EXPECT_STREQ(password, "");
}

TEST_F(SettingFileTest, OverlongPasswordIsCutWithoutFailingTheLoad) {
  EXPECT_TRUE(load({"PASSWORD, " + std::string(31, 'p') + "qrs"}));
  EXPECT_EQ(drainDebugLines(), Lines{"KtbError: vexa5.set(1) Password over 32 bytes"});
  EXPECT_FALSE(tableLoadFailed());
  char password[kPasswordSize];
  getPassword(password);
  EXPECT_EQ(std::string(password), std::string(31, 'p'));
}

TEST_F(SettingFileTest, LineOverIsReportedAndItsStartStillRead) {
  std::string longLine = "P, SYS1, p1.itm ;" + std::string(1300, 'x');
  longLine.replace(1280, 1, "Q");  // the rest comes back as line 2
  EXPECT_FALSE(load({longLine, "P, SYS2, p2.itm"}));
  EXPECT_EQ(drainDebugLines(), (Lines{
                                   "KtbError: vexa5.set(1) line over 1280 char",
                                   "KtbError: vexa5.set(2) error \"Q" + std::string(36, 'x') + "\"",
                               }));
  EXPECT_TRUE(tableLoadFailed());
  SettingModelRow row;
  EXPECT_TRUE(findSettingParaByModel("SYS1", row));
  EXPECT_TRUE(findSettingParaByModel("SYS2", row));
}

TEST_F(SettingFileTest, MissingFileKeepsTablesAndPassword) {
  EXPECT_TRUE(load({"PASSWORD, kept", "P, SYS1, p1.itm"}));
  std::remove("vexa5.set");
  EXPECT_FALSE(loadSettingFile());
  EXPECT_EQ(drainDebugLines(), Lines{"KtbError: can't open \"vexa5.set\" file!!"});
  EXPECT_TRUE(tableLoadFailed());
  char password[kPasswordSize];
  getPassword(password);
  EXPECT_STREQ(password, "kept");
  SettingModelRow row;
  EXPECT_TRUE(findSettingParaByModel("SYS1", row));
}

}  // namespace
