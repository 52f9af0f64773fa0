#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/program_files.h"
#include "library/support/program_folder.h"

using namespace tramsoll;

namespace {

TEST(ProgramFiles, BackslashNamesAreRelativePaths) {
  EXPECT_EQ(programPath("table\\pressure.ktb"), "table/pressure.ktb");
  EXPECT_EQ(programPath(nullptr), "");
}

TEST(ProgramFiles, ExactNameFirstThenAnyCaseFolderByFolder) {
  testsupport::ProgramFolder folder;
  folder.writePlain("Table/Outdr01.ITM", "upper");
  folder.writePlain("Table/outdr01.itm", "lower");
  folder.writePlain("Table/OUTDR01.itm", "mixed");
  folder.writePlain("VEXA5.SET", "set");

  EXPECT_EQ(findProgramFile("Table\\outdr01.itm"), "Table/outdr01.itm");
  // Several matches: the smallest name in byte order, whatever the folder's order.
  EXPECT_EQ(findProgramFile("table\\outdr01.Itm"), "Table/OUTDR01.itm");
  EXPECT_EQ(findProgramFile("vexa5.set"), "VEXA5.SET");
  EXPECT_EQ(findProgramFile("table\\missing.itm"), "table/missing.itm");
  EXPECT_EQ(findProgramFile((folder.path() + "/table/OUTDR01.ITM").c_str()), folder.path() + "/Table/OUTDR01.itm");

  ProgramFileBytes file;
  ASSERT_TRUE(readProgramFile("TABLE\\outdr01.ITM", file));
  EXPECT_EQ(file.bytes, "mixed");
  EXPECT_FALSE(file.readError);
  EXPECT_FALSE(readProgramFile("nothing.set", file));
}

}  // namespace
