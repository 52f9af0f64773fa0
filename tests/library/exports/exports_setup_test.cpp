#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "engine/settings.h"
#include "library/support/library_test.h"
#include "library/support/program_folder.h"
#include "tables/all_tables.h"
#include "tables/setting_tables.h"
#include "tables/table_words.h"
#include "tramsoll.h"

using namespace tramsoll;
using testsupport::drainDebugLines;
using Lines = std::vector<std::string>;

namespace {

class SetupExportsTest : public testsupport::LibraryTest {
 protected:
  void writeSettings(const Lines& lines) { folder.writeScrambledLines("vexa5.set", lines); }

  testsupport::ProgramFolder folder;
};

struct VersionTexts {
  char text[4][32];
  int32_t length[4] = {-1, -1, -1, -1};
  VersionTexts() { std::memset(text, 'z', sizeof text); }
  int32_t fetch() {
    return getSetFileVer(text[0], &length[0], text[1], &length[1], text[2], &length[2], text[3], &length[3]);
  }
};

TEST_F(SetupExportsTest, InitTramsollLoadsTheSampleAndReadsTheAdapterType) {
  folder.copyTestdataSet();
  folder.writePlain("pelomar3.ini", "[Head]\r\nadptyp = 1\r\n");
  setBits(errLine, line::kParity);
  gatherValues().dataInterval = 30;
  gatherValues().lastPollTime = 99;

  EXPECT_EQ(initTramsoll(), 0);
  EXPECT_EQ(errLine.load(), 0u);
  EXPECT_EQ(gatherValues().dataInterval, 5);
  EXPECT_EQ(gatherValues().lastPollTime, 0);
  EXPECT_EQ(adapterType.load(), 1);
  EXPECT_EQ(drainDebugLines(), Lines{});
  int32_t count = 0;
  EXPECT_EQ(getRAMKishuNum(0, &count), 0);
  EXPECT_EQ(count, 2);
}

TEST_F(SetupExportsTest, LoadFailureAnswersOneAndClearsTheBit) {
  EXPECT_EQ(initTramsoll(), 1);  // no vexa5.set
  EXPECT_FALSE(hasBits(errFault, fault::kTableLoad));
  EXPECT_EQ(drainDebugLines(), Lines{"KtbError: can't open \"vexa5.set\" file!!"});
  EXPECT_EQ(adapterType.load(), 0);  // no pelomar3.ini

  // checkKishuTbl loads in check mode, so it names what initTramsoll does not.
  writeSettings({"DO, " + std::string(64, 'M') + ", a.itm, 1"});
  EXPECT_EQ(initTramsoll(), 1);
  EXPECT_EQ(drainDebugLines(), Lines{"KtbError: vexa5.set(1) "});
  EXPECT_EQ(checkKishuTbl(), 1);
  EXPECT_EQ(drainDebugLines(), (Lines{"FileHndl: can't open \"pressure.ktb\" file!!",
                                      "FileHndl: can't open \"saturate.ktb\" file!!",
                                      "FileHndl: can't open \"errcode.ktb\" file!!",
                                      "KtbError: vexa5.set(1) Model name over 64 bytes"}));
}

TEST_F(SetupExportsTest, InitTramsollWhileGatheringLeavesTheGatheringAlone) {
  folder.copyTestdataSet();
  const uint32_t running = gather::kRunning | gather::kBusMonitor | gather::kPeriodicRecording;
  gatherState.store(running);
  gatherValues().dataInterval = 10;
  gatherValues().constDue = 1234;
  setBits(errFault, fault::kAdapterTimeout);

  EXPECT_EQ(initTramsoll(), 0);
  EXPECT_EQ(gatherState.load(), running);
  EXPECT_EQ(gatherValues().dataInterval, 10);
  EXPECT_EQ(gatherValues().constDue, 1234);
  EXPECT_EQ(errFault.load(), 0u);

  gatherState.store(0);
  EXPECT_EQ(initTramsoll(), 0);
  EXPECT_EQ(gatherValues().dataInterval, 5);
  EXPECT_EQ(gatherValues().constDue, 0);
}

TEST_F(SetupExportsTest, SetFileVersionTakesFieldsTwoAndThree) {
  writeSettings({"P, SYS1, p.itm", "VER, TAG, 2.40, 2024/01/31, ignored"});
  VersionTexts v;
  EXPECT_EQ(v.fetch(), 0);
  EXPECT_STREQ(v.text[0], "2.40");
  EXPECT_EQ(v.length[0], 4);
  EXPECT_STREQ(v.text[1], "2024/01/31");
  EXPECT_EQ(v.length[1], 10);
  EXPECT_STREQ(v.text[2], "1.53A");
  EXPECT_EQ(v.length[2], 5);
  EXPECT_STREQ(v.text[3], "2015/02/25");
  EXPECT_EQ(v.length[3], 10);

  // A version of 40 characters is cut to the 32-byte buffer.
  writeSettings({"VER, TAG, " + std::string(40, '9') + ", " + std::string(63, 'd')});
  VersionTexts cut;
  EXPECT_EQ(cut.fetch(), 0);
  EXPECT_EQ(std::string(cut.text[0]), std::string(31, '9'));
  EXPECT_EQ(cut.length[0], 31);
  EXPECT_EQ(cut.length[1], 31);
}

TEST_F(SetupExportsTest, SetFileVersionWithoutAVersionRow) {
  writeSettings({"ver, TAG, 2.40, 2024/01/31", std::string(1300, 'V'), "P, SYS1, p.itm"});
  VersionTexts v;
  EXPECT_EQ(v.fetch(), 1);
  EXPECT_STREQ(v.text[0], "0.00");
  EXPECT_EQ(v.length[0], 4);
  EXPECT_EQ(v.text[1][0], 'z');  // the others are left as they were
  EXPECT_EQ(v.length[1], -1);
  EXPECT_EQ(v.length[3], -1);
  EXPECT_TRUE(hasBits(errFault, fault::kTableLoad));  // the line over

  std::remove("vexa5.set");
  VersionTexts none;
  EXPECT_EQ(none.fetch(), 1);
  EXPECT_STREQ(none.text[0], "0.00");
}

TEST_F(SetupExportsTest, ControlDataChangeModeAndPassword) {
  int32_t mode = -5, length = -1;
  char password[32];
  folder.copyTestdataSet();  // the conversion tables
  writeSettings({"PASSWORD, owl"});
  EXPECT_EQ(initTramsoll(), 0);
  EXPECT_EQ(getControlDataChangeMode(&mode, password, &length), 1);
  EXPECT_EQ(mode, 0);
  EXPECT_STREQ(password, "owl");
  EXPECT_EQ(length, 3);

  writeSettings({"MODE, 2"});
  EXPECT_EQ(initTramsoll(), 0);
  EXPECT_EQ(getControlDataChangeMode(&mode, password, &length), 0);
  EXPECT_EQ(mode, 2);
  EXPECT_STREQ(password, "");
  EXPECT_EQ(length, 0);
}

TEST_F(SetupExportsTest, ModelQueriesListOneSystemAndOneUnitRows) {
  folder.copyTestdataSet();
  ASSERT_EQ(initTramsoll(), 0);
  int32_t count = 0;
  EXPECT_EQ(getRAMKishuNum(0, &count), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(getRAMKishuNum(3, &count), 0);
  EXPECT_EQ(count, 7);

  char name[64];
  int32_t length = -1;
  EXPECT_EQ(getRAMKishuName(0, 2, name, &length), 0);
  EXPECT_STREQ(name, "PARVO-850");
  EXPECT_EQ(length, 9);
  EXPECT_EQ(getRAMKishuName(1, 7, name, &length), 0);
  EXPECT_STREQ(name, "BORIN-Q1");
  EXPECT_EQ(getRAMKishuName(0, INT32_MIN, name, &length), 1);
  EXPECT_EQ(getRAMKishuName(0, 0, name, &length), 1);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(length, 0);
  std::strcpy(name, "stale");
  length = 5;
  EXPECT_EQ(getRAMKishuName(1, 8, name, &length), 1);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(length, 0);
}

struct Candidates {
  char text[4096] = {};
  int32_t length = -1;
  int32_t count = -1;
  int32_t ask(const char* key) { return getKishuKouho(key, text, &length, &count); }
};

TEST_F(SetupExportsTest, CandidateNamesInBusMonitoring) {
  folder.copyTestdataSet();
  ASSERT_EQ(initTramsoll(), 0);

  Candidates notGathering;
  EXPECT_EQ(notGathering.ask("TALMA-224"), 1);
  EXPECT_EQ(notGathering.count, 0);
  EXPECT_EQ(notGathering.length, 0);

  gatherState.store(gather::kRunning | gather::kLogger);
  Candidates logger;
  EXPECT_EQ(logger.ask("TALMA-224"), 1);
  EXPECT_EQ(logger.count, 0);

  gatherState.store(gather::kRunning | gather::kBusMonitor);
  Candidates bus;
  EXPECT_EQ(bus.ask("TALMA-224"), 0);
  EXPECT_STREQ(bus.text, "TALMA-224A,TALMA-224B,TALMA-224C,");
  EXPECT_EQ(bus.count, 3);
  EXPECT_EQ(bus.length, 33);

  Candidates none;
  EXPECT_EQ(none.ask("TALMA-335U"), 0);  // a model without other names
  EXPECT_EQ(none.count, 0);
  EXPECT_STREQ(none.text, "");
  Candidates unknown;
  EXPECT_EQ(unknown.ask("talma-224"), 1);  // model names are compared exactly
}

TEST_F(SetupExportsTest, CandidateNamesNeverPassTheBuffer) {
  folder.copyTestdataSet();
  ASSERT_EQ(initTramsoll(), 0);
  gatherState.store(gather::kRunning | gather::kBusMonitor);
  // Names are appended to what the buffer holds; only whole names that fit
  // with the terminator go in, and only those are counted.
  Candidates c;
  std::memset(c.text, 'x', 4080);
  EXPECT_EQ(c.ask("TALMA-224"), 0);
  EXPECT_EQ(c.count, 1);
  EXPECT_EQ(c.length, 4091);
  EXPECT_EQ(std::string(c.text + 4080), "TALMA-224A,");

  Candidates unterminated;
  std::memset(unterminated.text, 'x', sizeof unterminated.text);
  EXPECT_EQ(unterminated.ask("TALMA-224"), 0);
  EXPECT_EQ(unterminated.count, 0);
  EXPECT_EQ(unterminated.length, 4095);
  EXPECT_EQ(unterminated.text[4095], '\0');
}

TEST_F(SetupExportsTest, IniKeysOfTheCurrentFolder) {
  EXPECT_EQ(ReadINIfile("ADPTYP"), 0);  // no pelomar3.ini
  EXPECT_EQ(WriteINIfile("ADPTYP", 1), 1);
  EXPECT_EQ(folder.readPlain("pelomar3.ini"), "[HEAD]\nADPTYP=1\n");
  EXPECT_EQ(ReadINIfile("adptyp"), 1);
  EXPECT_EQ(WriteINIfile("Other", -12), 1);
  EXPECT_EQ(ReadINIfile("OTHER"), -12);
  EXPECT_EQ(ReadINIfile("missing"), 0);
  EXPECT_EQ(ReadINIfile(nullptr), 0);
  EXPECT_EQ(WriteINIfile(nullptr, 3), 1);
}

TEST_F(SetupExportsTest, SwitchesKeepTheirValuesAcrossInit) {
  folder.copyTestdataSet();
  EXPECT_EQ(setTmpUnit(1), 1);
  EXPECT_EQ(setCentralOperation(1), 0);
  EXPECT_EQ(initTramsoll(), 0);
  EXPECT_EQ(tempUnitFlag.load(), 1);
  EXPECT_EQ(centralOperationFlag.load(), 1);
}

}  // namespace
