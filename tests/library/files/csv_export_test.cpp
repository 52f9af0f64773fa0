#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "base/table_growth.h"
#include "das_gen.h"
#include "files/csv_export.h"
#include "files/file_list.h"
#include "library/files/replay_support.h"
#include "sample_units.h"
#include "tables/conversion_tables.h"
#include "tables/setting_tables.h"
#include "tables/table_lookups.h"

using namespace replaytest;

namespace {

// The heading words the program passes, in their English texts.
const char* const kWords[31] = {
    "Customer ID", "Customer name", "SS contact", "Access method", "Q7-NET", "PCB connection",
    "Sensor input only", "Q7-NET and sensor input", "PCB connection and sensor input", "Recording mode",
    "Periodic record", "Trigger record", "Trigger condition meeting time", "Recording interval",
    "Network map name", "System No.", "ROM serial No.", "Number of outdoor units", "Number of indoor units",
    "Number of central devices", "Airconditioner No.", "Model name", "Model No.", "Install site (name)",
    "Auto address", "Zubrel address", "Centralized address", "O-", "I-", "H-", "Sensor"};

constexpr int kHeaderOn = 1;
constexpr int kAllData = 2;

// Outdoor unit 1 of a small periodic recording of system 3, header rows on.
// Item names lose their "(kgf/cm2)"; values are the result texts without
// the unit.
const char kOutdoorFile[] =
    "\"Customer ID\",\"C001\"\r\n"
    "\"Customer name\",\"Customer\"\r\n"
    "\"SS contact\",\"Person\"\r\n"
    "\"Network map name\",\"Map A\"\r\n"
    "\"System No.\",\"3\"\r\n"
    "\"Number of outdoor units\",\"1\"\r\n"
    "\"Number of indoor units\",\"2\"\r\n"
    "\"Number of central devices\",\"0\"\r\n"
    "\"Access method\",\"Q7-NET \"\r\n"
    "\"Recording interval\",\"5\"\r\n"
    "\"Recording mode\",\"Periodic record\"\r\n"
    "\"Trigger condition meeting time\"\r\n"
    "\"Airconditioner No.\",\"1\"\r\n"
    "\"Model name\",\"0-16 model\"\r\n"
    "\"Model No.\",\"0-16 serial\"\r\n"
    "\"Install site (name)\",\"0-16 place\"\r\n"
    "\"Auto address\",\"016\"\r\n"
    "\"Zubrel address\",\"048\"\r\n"
    "\"Centralized address\",\"'3-00\"\r\n"
    "\r\n"
    "\"\",\"O-1-Temp\",\"O-1-Run\",\"O-1-Message\",\"O-1-Fan\",\"O-1-Count\"\r\n"
    "\"2023/11/14 22:13:25\",\"117.0 \",\"Stop\",\"0077\",\"On\",\"132 \"\r\n"
    "\"2023/11/14 22:13:30\",\"122.0 \",\"Run\",\"007c\",\"On\",\"137 \"\r\n"
    "\"2023/11/14 22:13:35\",\"127.0 \",\"Stop\",\"0081\",\"Off\",\"142 \"\r\n";

const char kIndoorHeads[] = "\"\",\"I-1-Room\"\r\n";
const char kIndoorRows[] =
    "\"2023/11/14 22:13:25\",\"239.0 \"\r\n"
    "\"2023/11/14 22:13:30\",\"244.0 \"\r\n"
    "\"2023/11/14 22:13:35\",\"249.0 \"\r\n";

class CsvTest : public ReplayTest {
 protected:
  void SetUp() override {
    ReplayTest::SetUp();
    installTableWords();
    CsvDateSet("", "", kHeaderOn | kAllData);
  }

  // Outdoor unit 1 and indoor units 1 and 2 of system 3.
  void addNumberedSystem() {
    std::vector<BlockSpec> groups = {{"E0", 20}, {"E1", 20}};
    addUnit(unitKind::kOutdoor, 16, 3, 1, groups);
    addUnit(unitKind::kIndoor, 33, 3, 1, groups);
    addUnit(unitKind::kIndoor, 34, 3, 2, groups);
  }

  void recordAndList(int records) {
    recordPeriodic(records);
    ASSERT_EQ(listFolder(), 1);
  }

  std::string base() const { return folder.path() + "/out"; }
  std::string output(const std::string& suffix) const { return base() + suffix; }

  int32_t startCsv(int position = 1, const std::string& basePath = "") {
    std::string stem = basePath.empty() ? base() : basePath;
    const char* const* w = kWords;
    return setCsvFile(customerFolder().c_str(), position, stem.c_str(), w[0], w[1], w[2], w[3], w[4], w[5], w[6],
                      w[7], w[8], w[9], w[10], w[11], w[12], w[13], w[14], w[15], w[16], w[17], w[18], w[19], w[20],
                      w[21], w[22], w[23], w[24], w[25], w[26], w[27], w[28], w[29], w[30]);
  }

  // execCsvOut until it answers anything but 1; "<result>:<progress>" of
  // every call.
  static std::vector<std::string> runCsv() {
    std::vector<std::string> calls;
    for (int n = 0; n < 100000; ++n) {
      int32_t progress = -1;
      int32_t result = execCsvOut(&progress);
      calls.push_back(std::to_string(result) + ":" + std::to_string(progress));
      if (result != 1) return calls;
    }
    ADD_FAILURE() << "the conversion never ended";
    return calls;
  }

  static std::string text(const std::string& path) {
    std::vector<uint8_t> bytes = fileBytes(path);
    return std::string(bytes.begin(), bytes.end());
  }

  static bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
  }

  int32_t openCount(int position = 1) {
    const ListedFile* file = findListedFile(customerFolder().c_str(), position - 1);
    return file ? file->openCount : -1;
  }
};

TEST_F(CsvTest, EachUnitGetsItsFileWithHeaderHeadsAndRows) {
  addNumberedSystem();
  recordAndList(3);
  ASSERT_EQ(startCsv(), 0);
  EXPECT_EQ(openCount(), 1) << "the conversion holds its source file";
  EXPECT_EQ(runCsv(), std::vector<std::string>{"0:100"});
  EXPECT_EQ(text(output("_Ou01.csv")), kOutdoorFile);
  std::string indoor = text(output("_Iu01.csv"));
  EXPECT_NE(indoor.find("\"Airconditioner No.\",\"1\"\r\n\"Model name\",\"1-33 model\"\r\n"), std::string::npos);
  EXPECT_NE(indoor.find("\"Auto address\",\"033\"\r\n"), std::string::npos);
  EXPECT_EQ(indoor.substr(indoor.find("\r\n\r\n") + 4), std::string(kIndoorHeads) + kIndoorRows);
  EXPECT_TRUE(exists(output("_Iu02.csv")));
  EXPECT_FALSE(exists(output("_Ou01-1.csv")));
  EXPECT_EQ(openCount(), 0) << "a finished conversion releases its source file";
  EXPECT_EQ(runCsv(), std::vector<std::string>{"2:0"});

  // Without header rows the file begins with the column heads; values
  // follow the display unit.
  setTmpUnit(1);
  CsvDateSet("", "", kAllData);
  ASSERT_EQ(startCsv(), 0);
  runCsv();
  std::string fahrenheit = text(output("_Iu01.csv"));
  EXPECT_EQ(fahrenheit.substr(0, sizeof kIndoorHeads - 1), kIndoorHeads);
  EXPECT_NE(fahrenheit.find("\"2023/11/14 22:13:25\",\"462.2 \"\r\n"), std::string::npos) << fahrenheit;
}

TEST_F(CsvTest, DateRangeTakesBothEndsAndNothingOutside) {
  addNumberedSystem();
  recordAndList(3);
  auto rowsOf = [&](const char* from, const char* to) {
    CsvDateSet(from, to, kHeaderOn);
    EXPECT_EQ(startCsv(), 0);
    runCsv();
    std::string indoor = text(output("_Iu01.csv"));
    return indoor.substr(indoor.find(kIndoorHeads) + sizeof kIndoorHeads - 1);
  };
  std::string row2 = "\"2023/11/14 22:13:30\",\"244.0 \"\r\n";
  std::string row3 = "\"2023/11/14 22:13:35\",\"249.0 \"\r\n";
  EXPECT_EQ(rowsOf("2023/11/14 22:13:30", "2023/11/14 22:13:35"), row2 + row3);
  EXPECT_EQ(rowsOf("2023/11/14 22:13:30", "2023/11/14 22:13:30"), row2);
  EXPECT_EQ(rowsOf("2023/11/14 22:13:31", "2023/11/14 22:13:34"), "");
  EXPECT_EQ(rowsOf("2023/11/14 22:13:36", "2024/01/01 00:00:00"), "");
  // Every record outside: each unit still gets its header and heads.
  EXPECT_EQ(text(output("_Ou01.csv")), std::string(kOutdoorFile).substr(0, std::string(kOutdoorFile).find("\"2023")));
}

TEST_F(CsvTest, DateBoundsAreLocalTimeWithSummerTimeAsTheCLibraryKnowsIt) {
  std::string zone = std::getenv("TZ") ? std::getenv("TZ") : "";
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  CsvDateSet("2023/07/01 12:00:00", "2023/12/01 12:00:00", 0);
  CsvRange range = csvRange();
  setenv("TZ", zone.c_str(), 1);
  tzset();
  EXPECT_EQ(range.from, 1688205600);  // 10:00 UTC in summer
  EXPECT_EQ(range.to, 1701428400);    // 11:00 UTC in winter
  EXPECT_FALSE(range.header);
  EXPECT_FALSE(range.allData);
  EXPECT_TRUE(range.accepts(1688205600));
  EXPECT_FALSE(range.accepts(1688205599));
  EXPECT_TRUE(range.accepts(1701428400));
  EXPECT_FALSE(range.accepts(1701428401));
  CsvDateSet(nullptr, nullptr, kAllData | kHeaderOn);
  EXPECT_TRUE(csvRange().accepts(0));
  EXPECT_TRUE(csvRange().header);
}

TEST_F(CsvTest, ProgressAndTheEndOfSlices) {
  addNumberedSystem();
  recordAndList(128);
  ASSERT_EQ(startCsv(), 0);
  // A count that is a multiple of 64 ends with its last slice, once.
  EXPECT_EQ(runCsv(), (std::vector<std::string>{"1:50", "0:100"}));
  EXPECT_EQ(runCsv(), std::vector<std::string>{"2:0"});
  std::string outdoor = text(output("_Ou01.csv"));
  EXPECT_EQ(std::count(outdoor.begin(), outdoor.end(), '\n'), 21 + 128);
  EXPECT_EQ(openCount(), 0);
}

TEST_F(CsvTest, FileWithoutRecordsEndsAtOnceWithoutFiles) {
  addNumberedSystem();
  recordAndList(0);
  ASSERT_EQ(startCsv(), 0);
  EXPECT_EQ(runCsv(), std::vector<std::string>{"0:100"});
  EXPECT_FALSE(exists(output("_Ou01.csv")));
  EXPECT_EQ(openCount(), 0);
}

TEST_F(CsvTest, NewSetUpAlwaysDiscardsTheEarlierJobAndItsFile) {
  addNumberedSystem();
  recordAndList(100);
  EXPECT_EQ(runCsv(), std::vector<std::string>{"2:0"}) << "nothing set up yet";
  ASSERT_EQ(startCsv(), 0);
  int32_t progress = 0;
  ASSERT_EQ(execCsvOut(&progress), 1);
  EXPECT_EQ(progress, 64);

  // A source that cannot be opened: nothing is set up and the earlier job
  // is gone with its hold on its file.
  EXPECT_EQ(startCsv(2), 1);
  EXPECT_EQ(openCount(), 0);
  EXPECT_EQ(runCsv(), std::vector<std::string>{"2:0"});
  std::string outdoor = text(output("_Ou01.csv"));
  EXPECT_EQ(std::count(outdoor.begin(), outdoor.end(), '\n'), 21 + 64);

  // A display that has the file open keeps it open across conversions.
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  // No memory for the job: set up as far as the caller can tell, nothing to
  // write, and the file is not held by the job.
  failNextGrowths(1);
  EXPECT_EQ(startCsv(), 0);
  EXPECT_TRUE(hasBits(errFault, fault::kMemory));
  EXPECT_EQ(openCount(), 1);
  EXPECT_EQ(runCsv(), std::vector<std::string>{"2:0"});
  ASSERT_EQ(startCsv(), 0);
  ASSERT_EQ(startCsv(), 0);
  EXPECT_EQ(openCount(), 2);
  EXPECT_EQ(runCsv(), (std::vector<std::string>{"1:64", "0:100"}));
  EXPECT_EQ(openCount(), 1);
  ASSERT_EQ(closeDataFile(customerFolder().c_str(), 1), 0);
  EXPECT_EQ(openCount(), 0);
}

TEST_F(CsvTest, ListClearedUnderAConversionEndsIt) {
  addNumberedSystem();
  recordAndList(100);
  ASSERT_EQ(startCsv(), 0);
  int32_t progress = 0;
  ASSERT_EQ(execCsvOut(&progress), 1);
  ASSERT_EQ(clearFileList(), 0);
  EXPECT_EQ(runCsv(), std::vector<std::string>{"2:0"});

  // Listed and opened again by a display, the file is not released by the
  // job that was dropped.
  ASSERT_EQ(listFolder(), 1);
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  EXPECT_EQ(runCsv(), std::vector<std::string>{"2:0"});
  EXPECT_EQ(openCount(), 1);
}

TEST_F(CsvTest, QuotesAreDoubledAndUnitsMissingFromTheNumberingSkipped) {
  // Indoor units 2 and 3 in a file that counts two indoor units.
  addSystem();
  recordPeriodic(2, "C\"7");
  ASSERT_EQ(listFolder(), 1);
  testsupport::drainDebugLines();
  ASSERT_EQ(startCsv(), 0);
  std::vector<std::string> lines = testsupport::drainDebugLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 41), "FileHndl: CSV skips indoor unit 1, not in");
  runCsv();
  EXPECT_FALSE(exists(output("_Iu01.csv")));
  EXPECT_TRUE(exists(output("_Iu02.csv")));
  EXPECT_FALSE(exists(output("_Iu03.csv")));
  std::string outdoor = text(output("_Ou01.csv"));
  EXPECT_EQ(outdoor.substr(0, outdoor.find("\n") + 1), "\"Customer ID\",\"C\"\"7\"\r\n");
}

TEST_F(CsvTest, FailedFileCreationAnswers3AndARepeatWritesNothingTwice) {
  addNumberedSystem();
  recordAndList(100);
  EXPECT_EQ(startCsv(1, folder.path() + "/missing/out"), 0);
  int32_t progress = -1;
  EXPECT_EQ(execCsvOut(&progress), 3);
  EXPECT_EQ(progress, 0);
  EXPECT_TRUE(hasBits(errFault, fault::kCsvCreate));
  clearErrorWords();

  // A file of the set that cannot be made: the set is made again whole by
  // the repeated call.
  ASSERT_EQ(startCsv(), 0);
  ASSERT_EQ(::mkdir(output("_Iu01.csv").c_str(), 0755), 0);
  EXPECT_EQ(execCsvOut(&progress), 3);
  ASSERT_EQ(::rmdir(output("_Iu01.csv").c_str()), 0);
  EXPECT_EQ(execCsvOut(&progress), 1);

  // A file that cannot be reopened for the next slice.
  std::string second = output("_Iu02.csv");
  std::string kept = text(second);
  ASSERT_EQ(std::rename(second.c_str(), (second + ".kept").c_str()), 0);
  ASSERT_EQ(::mkdir(second.c_str(), 0755), 0);
  EXPECT_EQ(execCsvOut(&progress), 3);
  ASSERT_EQ(::rmdir(second.c_str()), 0);
  ASSERT_EQ(std::rename((second + ".kept").c_str(), second.c_str()), 0);
  EXPECT_EQ(runCsv(), std::vector<std::string>{"0:100"});
  for (const char* unit : {"_Ou01.csv", "_Iu01.csv", "_Iu02.csv"}) {
    std::string file = text(output(unit));
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 21 + 100) << unit;
  }
  EXPECT_EQ(text(second).substr(0, kept.size()), kept);
}

// ---- Generated files ----

class CsvGeneratedTest : public CsvTest {
 protected:
  // A file of the fixture's model "unit.itm", listed and ready to convert.
  void writeAndList(dasgen::Recording& recording) {
    das::FileHeader& h = recording.header;
    std::strcpy(h.customerId, "C9");
    std::strcpy(h.customerName, "Generated");
    std::strcpy(h.mapName, "Map G");
    h.systemNumber = 4;
    h.firstRecordTime = uint32_t(kStart);
    h.interval = 5;
    h.statusLength = 6;
    std::string error;
    ASSERT_TRUE(dasgen::writeRecording(customerFolder() + "gen.das", recording, error)) << error;
    ASSERT_EQ(listFolder(), 1);
  }

  static dasgen::Unit unit(uint8_t unitClass, uint8_t number, uint8_t address) {
    dasgen::Unit u;
    u.block = dasgen::unitBlock(unitClass, number, address, "unit.itm", std::to_string(number));
    u.groups = {{"E0", 20}, {"E1", 20}};
    return u;
  }
};

TEST_F(CsvGeneratedTest, SetsOf65536LinesCountRecordsOutsideTheRange) {
  dasgen::Recording recording;
  recording.header.interfaceMode = 2;
  recording.header.recordingKind = das::kPeriodic;
  recording.units = {unit(0, 1, 16)};
  recording.records = 65520;
  writeAndList(recording);
  // Only the last seven records are in the range: the first set holds 65515
  // records (65536 lines less 21 for the header) whether written or not.
  auto timeOf = [](int record) {
    std::time_t t = kStart + 5 * (record - 1);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", std::gmtime(&t));
    return std::string(text);
  };
  CsvDateSet(timeOf(65514).c_str(), timeOf(65520).c_str(), kHeaderOn);
  ASSERT_EQ(startCsv(), 0);
  std::vector<std::string> calls = runCsv();
  EXPECT_EQ(calls.size(), 1024u);
  EXPECT_EQ(calls.back(), "0:100");
  std::string first = text(output("_Ou01.csv"));
  std::string second = text(output("_Ou01-1.csv"));
  EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 21 + 2);
  EXPECT_EQ(std::count(second.begin(), second.end(), '\n'), 21 + 5);
  EXPECT_NE(first.find("\"" + timeOf(65515) + "\""), std::string::npos);
  EXPECT_EQ(second.find("\"" + timeOf(65515) + "\""), std::string::npos);
  EXPECT_NE(second.find("\"" + timeOf(65516) + "\""), std::string::npos);
  EXPECT_FALSE(exists(output("_Ou01-2.csv")));
}

TEST_F(CsvGeneratedTest, CentralAndSensorUnitsAndATriggerFile) {
  ItemRecord item = makeItem("btoua,E0[0],C", datatype::kAnalog, "100");
  std::strcpy(item.name, "GroupTemp");
  ASSERT_TRUE(addItem(model, unitKind::kCentral, 0, item));
  for (int d = 1; d <= 10; ++d) {
    ItemRecord input = makeItem("btoua,LOG[0],cnt", datatype::kInteger, "1000");
    std::snprintf(input.name, sizeof input.name, "Def%d", d);
    ASSERT_TRUE(addItem(model, unitKind::kSensor, 0, input));
  }
  dasgen::Recording recording;
  recording.header.interfaceMode = 3;  // the bus with sensor input
  recording.header.recordingKind = das::kTrigger;
  recording.header.triggerRecord = 4;
  dasgen::Unit central = unit(100, 1, 48);
  central.block.zubrelAddress = 0;
  central.block.controlAddress = 0x80;
  dasgen::Unit sensor = unit(das::kSensorClass, 1, 0);
  sensor.groups = {{"LOG", 12}};
  std::strcpy(sensor.sensor.names[6], "Pressure");
  sensor.sensor.switches[0] = 1;  // input 7 scaled: the second definition
  sensor.sensor.fullScales[0] = 250;
  recording.units = {unit(0, 1, 16), central, sensor};
  recording.units[0].block.zubrelAddress = 129;
  recording.units[0].block.controlAddress = 0x15;
  recording.records = 6;
  writeAndList(recording);
  ASSERT_EQ(startCsv(), 0);
  EXPECT_EQ(runCsv(), std::vector<std::string>{"0:100"});

  std::string outdoor = text(output("_Ou01.csv"));
  EXPECT_NE(outdoor.find("\"Access method\",\"Q7-NET and sensor input \"\r\n"), std::string::npos);
  EXPECT_NE(outdoor.find("\"Recording mode\",\"Trigger record\"\r\n"
                         "\"Trigger condition meeting time\",\"2023/11/14 22:13:40\"\r\n"),
            std::string::npos);
  EXPECT_NE(outdoor.find("\"Zubrel address\",\" \"\r\n\"Centralized address\",\"'2-05\"\r\n"), std::string::npos);

  std::string center = text(output("_Cu01.csv"));
  EXPECT_NE(center.find("\"Auto address\",\" \"\r\n\"Zubrel address\",\" \"\r\n\"Centralized address\",\" \"\r\n"),
            std::string::npos);
  EXPECT_NE(center.find("\r\n\"\",\"H-1-GroupTemp\"\r\n"), std::string::npos);

  // Sensor columns carry the item definitions' names; input 7 takes its
  // second definition once its switch is set.
  std::string inputs = text(output("_Se01.csv"));
  EXPECT_NE(inputs.find("\r\n\"\",\"Sensor1-Def1\",\"Sensor1-Def2\",\"Sensor1-Def3\",\"Sensor1-Def4\",\"Sensor1-Def5\","
                        "\"Sensor1-Def6\",\"Sensor1-Def8\",\"Sensor1-Def9\"\r\n"),
            std::string::npos)
      << inputs;
  EXPECT_EQ(std::count(inputs.begin(), inputs.end(), '\n'), 21 + 6);
}

// The sample models loaded from the program folder: the files the program's
// end-to-end test expects of the same recording (testdata/csv/).
using CsvSampleModelTest = CsvTest;

TEST_F(CsvSampleModelTest, ASampleRecordingGivesTheSharedExpectedFiles) {
  folder.copyTestdataSet();
  ASSERT_EQ(initTramsoll(), 0);
  std::string error;
  ASSERT_TRUE(dasgen::writeRecording(customerFolder() + "sample.das", dasgen::sampleCsvRecording(), error)) << error;
  ASSERT_EQ(listFolder(), 1);
  ASSERT_EQ(startCsv(1, folder.path() + "/sample"), 0);
  EXPECT_EQ(runCsv(), std::vector<std::string>{"0:100"});
  for (const char* unit : {"_Ou01.csv", "_Iu01.csv"}) {
    EXPECT_EQ(text(folder.path() + "/sample" + unit), text(std::string(PELOMAR_SOURCE_DIR "/testdata/csv/sample") + unit))
        << unit;
  }
}

}  // namespace
