#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ini_file.h"
#include "library/support/program_folder.h"

namespace {

using testsupport::ProgramFolder;

const std::string kFile = "pelomar3.ini";

TEST(IniFile, MissingFileSectionOrKeyGivesTheFallback) {
  ProgramFolder folder;
  EXPECT_EQ(inifile::readInt(kFile, "HEAD", "ADPTYP", 0), 0);
  EXPECT_EQ(inifile::readString(kFile, "HEAD", "ADPTYP", "none"), "none");
  folder.writePlain(kFile, "[OTHER]\nADPTYP=1\n[HEAD]\nX=2\n");
  EXPECT_EQ(inifile::readInt(kFile, "HEAD", "ADPTYP", 7), 7);
  EXPECT_EQ(inifile::readInt(kFile, "NOSUCH", "X", 7), 7);
}

TEST(IniFile, ReadsIgnoreCaseBlanksAndQuotes) {
  ProgramFolder folder;
  folder.writePlain(kFile,
                    "\xEF\xBB\xBF; settings\r\n"
                    "x=outside any section\r\n"
                    "  [ head ]  \r\n"
                    "; ADPTYP=9 is a comment\r\n"
                    "  AdpTyp  =  1  \r\n"
                    "name = \"  quoted  \"\r\n"
                    "number = 12abc\r\n"
                    "word = abc\r\n"
                    "negative=-5\r\n"
                    "huge=99999999999\r\n"
                    "[HEAD]\r\n"
                    "late=only in the second section of that name\r\n");
  EXPECT_EQ(inifile::readInt(kFile, "HEAD", "adptyp", 0), 1);
  EXPECT_EQ(inifile::readString(kFile, "Head", "NAME", ""), "  quoted  ");
  EXPECT_EQ(inifile::readInt(kFile, "HEAD", "number", -1), 12);
  EXPECT_EQ(inifile::readInt(kFile, "HEAD", "word", -1), 0);
  EXPECT_EQ(inifile::readInt(kFile, "HEAD", "negative", 0), -5);
  EXPECT_EQ(inifile::readInt(kFile, "HEAD", "huge", 0), 2147483647);
  EXPECT_EQ(inifile::readString(kFile, "HEAD", "late", "no"), "no");
  EXPECT_EQ(inifile::readString(kFile, "HEAD", "x", "no"), "no");
}

TEST(IniFile, WritesKeepEveryOtherLine) {
  ProgramFolder folder;
  const std::string before =
      "; the adapter\r\n"
      "[Head]\r\n"
      "AdpTyp=0\r\n"
      "Port = 3\r\n"
      "\r\n"
      "[Other]\r\n"
      "ADPTYP=5\r\n";
  folder.writePlain(kFile, before);

  // An existing key keeps its spelling and place.
  ASSERT_TRUE(inifile::writeInt(kFile, "HEAD", "ADPTYP", 1));
  EXPECT_EQ(folder.readPlain(kFile),
            "; the adapter\r\n[Head]\r\nAdpTyp=1\r\nPort = 3\r\n\r\n[Other]\r\nADPTYP=5\r\n");
  // A new key goes after the section's last line, in the file's line ends.
  ASSERT_TRUE(inifile::writeString(kFile, "head", "Speed", "fast"));
  EXPECT_EQ(folder.readPlain(kFile),
            "; the adapter\r\n[Head]\r\nAdpTyp=1\r\nPort = 3\r\nSpeed=fast\r\n\r\n[Other]\r\nADPTYP=5\r\n");
  // A new section goes at the end.
  ASSERT_TRUE(inifile::writeInt(kFile, "New", "K", -3));
  EXPECT_EQ(folder.readPlain(kFile),
            "; the adapter\r\n[Head]\r\nAdpTyp=1\r\nPort = 3\r\nSpeed=fast\r\n\r\n[Other]\r\nADPTYP=5\r\n"
            "[New]\r\nK=-3\r\n");
  EXPECT_EQ(inifile::readInt(kFile, "HEAD", "adptyp", 0), 1);
  EXPECT_EQ(inifile::readInt(kFile, "OTHER", "adptyp", 0), 5);
  EXPECT_EQ(inifile::readInt(kFile, "new", "k", 0), -3);

  // No temporary file is left beside it.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(IniFile, WritesIntoFilesWithoutFinalLineEnd) {
  ProgramFolder folder;
  folder.writePlain(kFile, "[HEAD]\nA=1");
  ASSERT_TRUE(inifile::writeInt(kFile, "HEAD", "B", 2));
  EXPECT_EQ(folder.readPlain(kFile), "[HEAD]\nA=1\nB=2\n");
  folder.writePlain(kFile, "[X]");
  ASSERT_TRUE(inifile::writeInt(kFile, "HEAD", "B", 2));
  EXPECT_EQ(folder.readPlain(kFile), "[X]\n[HEAD]\nB=2\n");
}

TEST(IniFile, RefusesWhatCannotBeOneLineAndKeepsTheFile) {
  ProgramFolder folder;
  folder.writePlain(kFile, "[HEAD]\nA=1\n");
  EXPECT_FALSE(inifile::writeString(kFile, "HEAD", "A", "1\n[HEAD]"));
  EXPECT_FALSE(inifile::writeString(kFile, "HEAD", "A=B", "1"));
  EXPECT_FALSE(inifile::writeString(kFile, "HEAD", " ", "1"));
  EXPECT_FALSE(inifile::writeString(kFile, "HE]AD", "A", "1"));
  EXPECT_EQ(folder.readPlain(kFile), "[HEAD]\nA=1\n");
  EXPECT_FALSE(inifile::writeInt("no-such-folder/pelomar3.ini", "HEAD", "A", 1));
}

}  // namespace
