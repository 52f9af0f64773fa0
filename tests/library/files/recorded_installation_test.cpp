// Searches and CSV conversion over a recording of the sample installation,
// gathered from the simulated adapter with the sample model set.
#include <string>

#include "library/engine/gathering_support.h"
#include "library/support/periodic_start.h"
#include "library/support/program_folder.h"
#include "simulator.h"
#include "store/live_table.h"
#include "tramsoll.h"

using namespace gathertest;
using namespace tramsoll;

namespace {

class RecordedInstallation : public SampleInstallationTest {
 protected:
  std::string customerFolder() const { return output.path() + "/"; }

  // The 1-based number of the item of that name of a unit of file 1.
  int32_t itemNumber(int kind, int number, const std::string& name) {
    int32_t count = 0, records = 0, trigger = 0, interval = 0;
    getDataItemNum(1, customerFolder().c_str(), 1, 1, kind, number, &count, &records, &trigger, &interval);
    for (int32_t item = 1; item <= count; ++item) {
      char text[64], scale[32], state0[64], state1[64];
      int32_t length = 0, type = 0, graph = 0, code1 = 0, code2 = 0;
      getDataItem(1, customerFolder().c_str(), 1, 1, kind, number, item, text, &length, scale, &length, &type,
                  &graph, state0, &length, state1, &length, &code1, &code2);
      if (name == text) return item;
    }
    return 0;
  }

  testsupport::ProgramFolder output;
};

TEST_F(RecordedInstallation, SearchesAndCsvOverARecordingOfTheSampleInstallation) {
  startSampleInstallation();
  ASSERT_EQ(initDataGather(1, 1, 3, 2, 0, " ", 5), 0);
  // System 1: outdoor unit 1, indoor units 17 and 18 (18 in error).
  // System 1: outdoor unit 1, indoor units 17 and 18 (18 in error), once
  // their data frames have come.
  auto arrived = [](int kind, int address, const char* block, uint8_t byte5) {
    const DataBlock* data = liveDataTable().findBlock(kind, address, 0, block);
    return data && data->data[liveDataTable().currentSlot()][5] == byte5;
  };
  ASSERT_TRUE(stepUntil([&] {
    return arrived(0, 1, "E2TMP", 0xFB) && arrived(1, 17, "63TMP", 0x17) && arrived(1, 18, "6BERR", 0x12);
  }));
  ASSERT_EQ(setNetMapInfo(0, 1, 1, 1, 1, 0x10, "TALMA-224", "SN-1", "Roof"), 0);
  ASSERT_EQ(setNetMapInfo(1, 17, 1, 1, 1, 0x11, "VELUN-28", "SN-17", "Office"), 0);
  ASSERT_EQ(setNetMapInfo(1, 18, 1, 2, 1, 0x12, "VELUN-28", "SN-18", "Hall"), 0);
  ASSERT_EQ(setFileHeader("C001", "Customer", "Person", "Map A", customerFolder().c_str()), 0);
  ASSERT_EQ(testsupport::startPeriodic(1, 5), 0);
  for (int slot = 0; slot < 3; ++slot) {
    nextSlot();
    ASSERT_TRUE(settle());
  }
  ASSERT_EQ(saveConstData(0, nullptr, 0), 0);
  ASSERT_EQ(initDataGather(0, 1, 3, 2, 0, " ", 5), 0);

  int32_t files = 0;
  ASSERT_EQ(getFileNum(customerFolder().c_str(), &files), 0);
  ASSERT_EQ(files, 1);
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  int32_t outdoorAir = itemNumber(0, 1, "OutdoorAir");
  int32_t error = itemNumber(1, 2, "Error");
  ASSERT_GT(outdoorAir, 0);
  ASSERT_GT(error, 0);

  // The outdoor air reads -5.0 C in every record; in F it is 23.0.
  ASSERT_EQ(setMinMaxSrch(customerFolder().c_str(), 1, 0, 1, outdoorAir), 0);
  int32_t progress = 0;
  ASSERT_EQ(execMinMaxSrch(&progress), 0);
  float low = 0, high = 0;
  ASSERT_EQ(getMinMaxData(&low, &high), 0);
  EXPECT_FLOAT_EQ(low, -5.0f);
  EXPECT_FLOAT_EQ(high, -5.0f);

  // The error-code search: indoor unit 2 (address 18) is in error from the
  // first record; unit 1 never.
  int32_t record = -1;
  ASSERT_EQ(setDataSrch(customerFolder().c_str(), 1, 1, 2, error, 1, 1, 1.0f), 0);
  EXPECT_EQ(execDataSrch(&record), 0);
  EXPECT_EQ(record, 1);
  ASSERT_EQ(setDataSrch(customerFolder().c_str(), 1, 1, 1, error, 1, 1, 1.0f), 0);
  EXPECT_EQ(execDataSrch(&record), 1);

  CsvDateSet("", "", 3);
  const char* w = "w";
  std::string base = output.path() + "/site";
  ASSERT_EQ(setCsvFile(customerFolder().c_str(), 1, base.c_str(), w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w, w,
                       w, w, w, w, w, w, w, w, w, w, "O-", "I-", "H-", "Sensor"),
            0);
  ASSERT_EQ(execCsvOut(&progress), 0);
  std::string outdoor = output.readPlain("site_Ou01.csv");
  EXPECT_NE(outdoor.find(",\"O-1-OutdoorAir\","), std::string::npos);
  EXPECT_NE(outdoor.find("\"w\",\"SN-1\"\r\n"), std::string::npos);
  std::string hall = output.readPlain("site_Iu02.csv");
  EXPECT_NE(hall.find(",\"I-2-Error\","), std::string::npos);
  EXPECT_NE(hall.find(",\"ERROR\","), std::string::npos);
  EXPECT_NE(output.readPlain("site_Iu01.csv").find(",\"OK\","), std::string::npos);
}

}  // namespace
