// Reading table/pressure.ktb, table/saturate.ktb and table/errcode.ktb.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "library/support/library_test.h"
#include "library/support/program_folder.h"
#include "tables/all_tables.h"
#include "tables/conversion_tables.h"

using namespace tramsoll;
using testsupport::drainDebugLines;
using Lines = std::vector<std::string>;

namespace {

class ConversionTablesTest : public testsupport::LibraryTest {
 protected:
  bool failed() const { return hasBits(errFault, fault::kTableLoad); }

  testsupport::ProgramFolder folder;
};

std::vector<float> pressureRow(uint32_t table, uint32_t row) {
  float columns[kTableColumns] = {9, 9, 9, 9};
  if (!getPressureRow(table, row, columns)) return {};
  return {columns[0], columns[1], columns[2], columns[3]};
}

TEST_F(ConversionTablesTest, PressureTablesByBracketNumber) {
  folder.writeScrambledLines("table/pressure.ktb",
                             {"0, 1, 2, 3     ; before any bracket: table 0", "[7]", "0, 10, 2.5, -1, ignored",
                              "1, 20, x, 1e1", "[12] a comment after the number", "5", "[7]", "9, 9, 9, 9", "9, 9, 9, 9",
                              "0, 30, 3, 3"});
  EXPECT_TRUE(loadPressureTable());
  EXPECT_FALSE(failed());
  int32_t count = -1;
  ASSERT_TRUE(getPressureRowCount(0, count));
  EXPECT_EQ(count, 1);
  ASSERT_TRUE(getPressureRowCount(7, count));
  EXPECT_EQ(count, 3);  // the second [7] adds only its third row
  EXPECT_EQ(pressureRow(7, 0), (std::vector<float>{0, 10, 2.5f, -1}));
  EXPECT_EQ(pressureRow(7, 1), (std::vector<float>{1, 20, 0, 10}));  // not a number gives 0
  EXPECT_EQ(pressureRow(7, 2), (std::vector<float>{0, 30, 3, 3}));
  EXPECT_EQ(pressureRow(12, 0), (std::vector<float>{5, 0, 0, 0}));

  float columns[kTableColumns] = {9, 9, 9, 9};
  EXPECT_FALSE(getPressureRow(7, 3, columns));  // at the row count
  EXPECT_EQ(columns[0] + columns[1] + columns[2] + columns[3], 0.0f);
  EXPECT_FALSE(getPressureRowCount(8, count));
  EXPECT_EQ(count, 0);
  // The saturation tables are a list of their own.
  EXPECT_FALSE(getSaturateRowCount(7, count));
  float row[kTableColumns] = {1, 2, 3, 4};
  EXPECT_TRUE(addSaturateRow(7, 0, row));
  EXPECT_FALSE(addSaturateRow(7, 0, row));
}

TEST_F(ConversionTablesTest, ErrorCodeEntriesTakeThreeRowsOfFirstCharacters) {
  folder.writeScrambledLines("table/errcode.ktb",
                             {"[4]", ", A, Cx", "1, 2", "[5]", "a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p",
                              ",B", "0123, 1", "ignored after the third row", "[5]", "x", "y", "z", "[6]", "q"});
  EXPECT_TRUE(loadErrorCodeTable());
  ErrorCodeEntry entry;
  EXPECT_FALSE(getErrorCodeEntry(4, entry));  // two rows only: its rows went to [5]
  EXPECT_EQ(entry.number, 0u);
  EXPECT_EQ(entry.rows[0][0], '\0');
  ASSERT_TRUE(getErrorCodeEntry(5, entry));
  EXPECT_EQ(std::string(entry.rows[0], 16), "abcdefghijklmnop");
  EXPECT_EQ(std::string(entry.rows[1], 16), " B              ");
  EXPECT_EQ(std::string(entry.rows[2], 16), "01              ");
  EXPECT_FALSE(getErrorCodeEntry(6, entry));
  // The second [5] was not taken.
  char rows[3][kErrorCodeRowSize] = {};
  EXPECT_FALSE(addErrorCodeEntry(5, rows));
}

TEST_F(ConversionTablesTest, MissingFilesAndLongLinesAreNamedOnlyWhenChecking) {
  EXPECT_FALSE(loadPressureTable());
  EXPECT_FALSE(loadSaturateTable());
  EXPECT_FALSE(loadErrorCodeTable());
  EXPECT_TRUE(failed());
  EXPECT_EQ(drainDebugLines(), Lines{});

  clearErrorWords();
  checkMode = true;
  EXPECT_FALSE(loadSaturateTable());
  EXPECT_TRUE(failed());
  EXPECT_EQ(drainDebugLines(), Lines{"FileHndl: can't open \"saturate.ktb\" file!!"});

  // A line over length ends the read; what came before stays.
  clearErrorWords();
  const Lines lines = {"[1]", "0, 1, 1, 0", std::string(1300, '1'), "1, 2, 2, 0"};
  folder.writeScrambledLines("table/saturate.ktb", lines);
  folder.writeScrambledLines("table/errcode.ktb", lines);
  EXPECT_FALSE(loadSaturateTable());
  EXPECT_FALSE(loadErrorCodeTable());
  EXPECT_TRUE(failed());
  int32_t count = 0;
  ASSERT_TRUE(getSaturateRowCount(1, count));
  EXPECT_EQ(count, 1);
  EXPECT_EQ(drainDebugLines(),
            (Lines{"FileHndl: saturate.ktb(3) line over 1280", "FileHndl: errcode.ktb(3) line over 1280"}));
  checkMode = false;
  EXPECT_FALSE(loadSaturateTable());
  EXPECT_EQ(drainDebugLines(), Lines{});
}

}  // namespace
