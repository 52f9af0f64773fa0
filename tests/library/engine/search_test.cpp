#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "library/files/replay_support.h"
#include "tables/table_lookups.h"

using namespace replaytest;

namespace {

constexpr int kOutdoor = 0;

class SearchTest : public ReplayTest {
 protected:
  void SetUp() override {
    ReplayTest::SetUp();
    installTableWords();
    addSystem();
  }

  // Records `count` records, outdoor E0[0] set to `temps` (record n -> value)
  // where given, and opens the file for replay.
  void openRecording(int count, const std::map<int, uint8_t>& temps = {}) {
    path = recordPeriodic(count, "C001", [&](int n) {
      auto found = temps.find(n);
      if (found != temps.end())
        fixedBytes[{16, 0, 0}] = found->second;
      else
        fixedBytes.erase({16, 0, 0});
    });
    ASSERT_EQ(listFolder(), 1);
    ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  }

  // Clears the stamp of the outdoor unit's first group in record n (1-based):
  // the record then holds no data for its items.
  void clearStamp(int n) {
    std::vector<uint8_t> bytes = fileBytes(path);
    das::FileHeader header;
    ASSERT_TRUE(das::decodeMainHeader(bytes.data(), header));
    std::size_t at = header.firstRecordOffset + std::size_t(header.recordSize) * std::size_t(n - 1) +
                     das::kRecordTimeSize;
    das::putU32(bytes.data() + at, 0);
    writeBytes(path, bytes);
  }

  int32_t prepareMinMax(int item = kTemp, int kind = kOutdoor, int number = 1) {
    return setMinMaxSrch(customerFolder().c_str(), 1, kind, number, item);
  }

  // Runs the min/max search to its end; the progress of every call.
  std::vector<int32_t> runMinMax() {
    std::vector<int32_t> progress;
    for (int call = 0; call < 1000; ++call) {
      int32_t percent = -1;
      int32_t result = execMinMaxSrch(&percent);
      progress.push_back(percent);
      if (result == 0) return progress;
      EXPECT_EQ(result, 1);
    }
    ADD_FAILURE() << "the search never finished";
    return progress;
  }

  int32_t prepareValue(int start, int flag, float limit, int item = kTemp) {
    return setDataSrch(customerFolder().c_str(), 1, kOutdoor, 1, item, start, flag, limit);
  }

  // One execDataSrch call as "<result>:<record>".
  static std::string valueStep() {
    int32_t record = -1;
    int32_t result = execDataSrch(&record);
    return std::to_string(result) + ":" + std::to_string(record);
  }

  std::string path;
};

TEST_F(SearchTest, MinMaxReadsEveryRecordIncludingTheLastOfA33RecordFile) {
  // Record n holds 5n + 112 (mod 256): 252 at record 28, 1 at record 29;
  // the last record holds more than any other.
  openRecording(33, {{33, 255}});
  ASSERT_EQ(prepareMinMax(), 0);
  float low = -1, high = -1;
  EXPECT_EQ(getMinMaxData(&low, &high), 1);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 0);
  EXPECT_EQ(runMinMax(), (std::vector<int32_t>{96, 100}));
  ASSERT_EQ(getMinMaxData(&low, &high), 0);
  EXPECT_FLOAT_EQ(low, 1);
  EXPECT_FLOAT_EQ(high, 255);

  // A finished search stays finished until it is prepared again.
  int32_t percent = -1;
  EXPECT_EQ(execMinMaxSrch(&percent), 0);
  EXPECT_EQ(percent, 100);

  // Values follow the display unit: the same file in degrees F.
  setTmpUnit(1);
  ASSERT_EQ(prepareMinMax(), 0);
  runMinMax();
  ASSERT_EQ(getMinMaxData(&low, &high), 0);
  EXPECT_FLOAT_EQ(low, 1 * 1.8f + 32);
  EXPECT_FLOAT_EQ(high, 255 * 1.8f + 32);
}

TEST_F(SearchTest, MinMaxProgressAndRecordsWithoutData) {
  openRecording(100);
  // Record n holds 5n + 112 (mod 256); the two lowest, 1 and 0 at records
  // 29 and 80, lose their data.
  clearStamp(29);
  clearStamp(80);
  ASSERT_EQ(prepareMinMax(), 0);
  EXPECT_EQ(runMinMax(), (std::vector<int32_t>{32, 64, 96, 100}));
  float low = 0, high = 0;
  ASSERT_EQ(getMinMaxData(&low, &high), 0);
  EXPECT_FLOAT_EQ(low, 5);  // record 81
  EXPECT_FLOAT_EQ(high, 252);

  // A two-state item has the extremes 0 and 1.
  ASSERT_EQ(prepareMinMax(kRun), 0);
  runMinMax();
  ASSERT_EQ(getMinMaxData(&low, &high), 0);
  EXPECT_FLOAT_EQ(low, 0);
  EXPECT_FLOAT_EQ(high, 1);
}

TEST_F(SearchTest, MinMaxOfOneRecordAndOfNoRecord) {
  openRecording(1);
  ASSERT_EQ(prepareMinMax(), 0);
  EXPECT_EQ(runMinMax(), std::vector<int32_t>{100});
  float low = 0, high = 0;
  ASSERT_EQ(getMinMaxData(&low, &high), 0);
  EXPECT_FLOAT_EQ(low, 117);
  EXPECT_FLOAT_EQ(high, 117);

  // A file without records finishes at once, with nothing found.
  ASSERT_EQ(closeDataFile(customerFolder().c_str(), 1), 0);
  ASSERT_EQ(clearFileList(), 0);
  std::remove(path.c_str());
  recordPeriodic(0);
  ASSERT_EQ(listFolder(), 1);
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  ASSERT_EQ(prepareMinMax(), 0);
  EXPECT_EQ(runMinMax(), std::vector<int32_t>{100});
  ASSERT_EQ(getMinMaxData(&low, &high), 0);
  EXPECT_FLOAT_EQ(low, 1e16f);
  EXPECT_FLOAT_EQ(high, -1e16f);
  EXPECT_EQ(prepareValue(1, 1, 0), 3);  // no start record exists
}

TEST_F(SearchTest, PreparationRefusals) {
  recordPeriodic(10);
  ASSERT_EQ(listFolder(), 1);
  EXPECT_EQ(prepareMinMax(), 1);  // listed, but not opened
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  EXPECT_EQ(setMinMaxSrch(customerFolder().c_str(), 2, kOutdoor, 1, kTemp), 1);
  EXPECT_EQ(setMinMaxSrch("nowhere/", 1, kOutdoor, 1, kTemp), 1);
  EXPECT_EQ(setMinMaxSrch(nullptr, 1, kOutdoor, 1, kTemp), 1);
  EXPECT_EQ(prepareMinMax(kTemp, 5), 2);
  EXPECT_EQ(prepareMinMax(kTemp, 2, 99), 2);  // the class is checked first
  EXPECT_EQ(prepareMinMax(kTemp, 1, 9), 1);
  EXPECT_EQ(prepareMinMax(0), 3);
  EXPECT_EQ(prepareMinMax(kOutdoorItems + 1), 3);
  EXPECT_EQ(prepareMinMax(kMessage), 3);  // a text item is never searched

  EXPECT_EQ(prepareValue(0, 1, 0), 3);
  EXPECT_EQ(prepareValue(11, 1, 0), 3);
  EXPECT_EQ(prepareValue(1, 1, 0, kMessage), 3);
  EXPECT_EQ(setDataSrch(customerFolder().c_str(), 1, 7, 1, kTemp, 1, 1, 0), 2);
  EXPECT_EQ(setDataSrch(customerFolder().c_str(), 1, kOutdoor, 4, kTemp, 1, 1, 0), 1);

  // A search whose preparation failed is finished, with nothing found.
  int32_t percent = -1;
  EXPECT_EQ(execMinMaxSrch(&percent), 0);
  EXPECT_EQ(percent, 100);
  float low = -1, high = -1;
  EXPECT_EQ(getMinMaxData(&low, &high), 1);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 0);
  EXPECT_EQ(valueStep(), "1:0");
  EXPECT_EQ(execDataSrch(nullptr), 1);
}

TEST_F(SearchTest, ValueSearchWrapsRoundFromItsStartRecord) {
  // Records hold 117, 50, 127, 132, ... 162: only record 2 is at or below 100.
  openRecording(10, {{2, 50}});
  ASSERT_EQ(prepareValue(5, 0, 100.0f), 0);
  EXPECT_EQ(valueStep(), "0:2");
  EXPECT_EQ(valueStep(), "1:0");  // finished until prepared again
  EXPECT_EQ(valueStep(), "1:0");

  // At or above: the first from the start record on.
  ASSERT_EQ(prepareValue(5, 1, 142.0f), 0);
  EXPECT_EQ(valueStep(), "0:6");
  ASSERT_EQ(prepareValue(7, 2, 137.0f), 0);  // any flag but 0 is "at or above"
  EXPECT_EQ(valueStep(), "0:7");
  // The start record itself counts; a limit met by nothing reads every
  // record once and ends at the one before the start.
  ASSERT_EQ(prepareValue(2, 0, 50.0f), 0);
  EXPECT_EQ(valueStep(), "0:2");
  ASSERT_EQ(prepareValue(5, 1, 500.0f), 0);
  EXPECT_EQ(valueStep(), "1:3");
  ASSERT_EQ(prepareValue(1, 1, 500.0f), 0);
  EXPECT_EQ(valueStep(), "1:9");

  // A record without data is never a hit.
  ASSERT_EQ(closeDataFile(customerFolder().c_str(), 1), 0);
  clearStamp(2);
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  ASSERT_EQ(prepareValue(5, 0, 100.0f), 0);
  EXPECT_EQ(valueStep(), "1:3");
}

TEST_F(SearchTest, ValueSearchInSlicesAndTheErrorCodeSearch) {
  openRecording(40);
  // From record 30 on: 30..40 and 1..21 in the first slice, the hit (252)
  // at record 28 in the second.
  ASSERT_EQ(prepareValue(30, 1, 250.0f), 0);
  EXPECT_EQ(valueStep(), "2:21");
  EXPECT_EQ(valueStep(), "0:28");

  ASSERT_EQ(prepareValue(1, 0, 0.0f), 0);
  EXPECT_EQ(valueStep(), "2:32");
  EXPECT_EQ(valueStep(), "1:39");
  EXPECT_EQ(valueStep(), "1:0");

  // The two-state "Run" (bit 0 of 5n + 113) is first 1 at record 2.
  ASSERT_EQ(prepareValue(1, 1, 1.0f, kRun), 0);
  EXPECT_EQ(valueStep(), "0:2");
  ASSERT_EQ(prepareValue(3, 1, 1.0f, kRun), 0);
  EXPECT_EQ(valueStep(), "0:4");
}

TEST_F(SearchTest, ClosingTheFileEndsARunningSearch) {
  openRecording(80);
  ASSERT_EQ(prepareMinMax(), 0);
  ASSERT_EQ(prepareValue(1, 1, 1000.0f), 0);
  int32_t percent = 0;
  ASSERT_EQ(execMinMaxSrch(&percent), 1);
  ASSERT_EQ(valueStep(), "2:32");
  ASSERT_EQ(closeDataFile(customerFolder().c_str(), 1), 0);
  EXPECT_EQ(execMinMaxSrch(&percent), 0);
  EXPECT_EQ(percent, 100);
  float low = 0, high = 0;
  EXPECT_EQ(getMinMaxData(&low, &high), 1);
  EXPECT_EQ(valueStep(), "1:0");

  // Opened again, the same searches run through.
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  ASSERT_EQ(prepareMinMax(), 0);
  EXPECT_EQ(runMinMax(), (std::vector<int32_t>{40, 80, 100}));
  EXPECT_EQ(getMinMaxData(&low, &high), 0);
}

}  // namespace
