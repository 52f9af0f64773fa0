#include <algorithm>
#include <string>

#include "library/files/replay_support.h"

using namespace replaytest;

namespace {

// The graph value of E0[0] of the outdoor unit (full scale 200).
int32_t percent(int value) { return std::min(value * 100 / 200, 100); }

class CursorGraphTest : public ReplayTest {
 protected:
  void SetUp() override {
    ReplayTest::SetUp();
    addSystem();
  }

  void openRecording(int records) {
    recordPeriodic(records);
    ASSERT_EQ(listFolder(), 1);
    ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  }

  int32_t graph(int source, int kind, int number, int item, int first, int count, int32_t (&values)[121]) {
    return getGraphData(source, customerFolder().c_str(), 1, 3, kind, number, item, first, count, values);
  }
};

TEST_F(CursorGraphTest, CursorOnARecordedFileGivesValueTimeAndDate) {
  openRecording(12);
  char text[32], time[16];
  int32_t length = -1, year = -1, month = -1, day = -1, second = -1;
  ASSERT_EQ(getCursData(1, customerFolder().c_str(), 1, 3, 0, 1, kTemp, 1, text, &length, time, &year, &month, &day,
                        &second),
            0);
  // Record 1 is the slot 22:13:25; its data came in two seconds earlier.
  EXPECT_STREQ(text, "117.0 C");
  EXPECT_EQ(length, 7);
  EXPECT_STREQ(time, "22:13:23");
  EXPECT_EQ(year, 2023);
  EXPECT_EQ(month, 11);
  EXPECT_EQ(day, 14);
  EXPECT_EQ(second, 22 * 3600 + 13 * 60 + 25);

  EXPECT_EQ(cursorText(0, 1, kTemp, 12), "172.0 C");
  EXPECT_EQ(cursorText(0, 1, kRun, 1), "Stop");  // E0[1] = 118
  EXPECT_EQ(cursorText(0, 1, kRun, 2), "Run");   // 123
  EXPECT_EQ(cursorText(0, 1, kCount, 3), "142 x");  // E1[2] = 15 + 16 x 7 + 13 + 2
  EXPECT_EQ(cursorText(1, 3, 1, 4), std::to_string((20 + 34 * 7 + 3) & 0xFF) + ".0 C");

  // Record numbers run 1 .. count; a refused call leaves the outputs cleared.
  for (int record : {0, 13, -1, 0x7FFFFFFF}) EXPECT_EQ(cursorText(0, 1, kTemp, record), "refused 7") << record;
  std::strcpy(time, "xx");
  EXPECT_EQ(getCursData(1, customerFolder().c_str(), 1, 3, 0, 1, kTemp, 13, text, &length, time, &year, &month, &day,
                        &second),
            7);
  EXPECT_STREQ(text, "");
  EXPECT_STREQ(time, "");
  EXPECT_EQ(year, 0);
  EXPECT_EQ(second, 0);
}

TEST_F(CursorGraphTest, GraphOfARecordedFileIsPercentOfFullScale) {
  openRecording(60);
  int32_t values[121];
  std::fill(std::begin(values), std::end(values), -99);
  ASSERT_EQ(graph(1, 0, 1, kTemp, 1, 50, values), 0);
  // Record n holds 5n + 112 (mod 256) of a full scale of 200.
  EXPECT_EQ(values[0], 58);    // 117
  EXPECT_EQ(values[1], 61);    // 122
  EXPECT_EQ(values[16], 98);   // 197
  EXPECT_EQ(values[27], 100);  // 252: limited to the full scale
  EXPECT_EQ(values[28], 0);    // 257 wraps to 1
  EXPECT_EQ(values[49], percent(outdoorTemp(50)));
  for (int k = 50; k < 121; ++k) EXPECT_EQ(values[k], 0) << k;

  ASSERT_EQ(graph(1, 0, 1, kRun, 10, 3, values), 0);
  EXPECT_EQ(values[0], 1);  // record 10: E0[1] = 163
  EXPECT_EQ(values[1], 0);  // 168
  EXPECT_EQ(values[2], 1);

  // The last records: a range running past the count gives 0 there.
  ASSERT_EQ(graph(1, 0, 1, kTemp, 59, 5, values), 0);
  EXPECT_EQ(values[0], percent(outdoorTemp(59)));
  EXPECT_EQ(values[1], percent(outdoorTemp(60)));
  EXPECT_EQ(values[2], 0);

  EXPECT_EQ(graph(1, 0, 1, kTemp, 0, 10, values), 7);
  EXPECT_EQ(graph(1, 0, 1, kTemp, 61, 1, values), 7);
  EXPECT_EQ(graph(1, 0, 1, kTemp, 1, 122, values), 7);
  EXPECT_EQ(graph(1, 0, 1, kTemp, 1, -1, values), 7);
}

TEST_F(CursorGraphTest, GraphTextsFillTheSlotsOfTheCountOnly) {
  openRecording(20);
  char texts[121][10];
  std::memset(texts, '#', sizeof texts);
  ASSERT_EQ(getGraphData2(1, customerFolder().c_str(), 1, 3, 0, 1, kTemp, 2, 3, &texts[0][0]), 0);
  EXPECT_STREQ(texts[0], "122.0 C");
  EXPECT_STREQ(texts[1], "127.0 C");
  EXPECT_STREQ(texts[2], "132.0 C");
  EXPECT_EQ(texts[3][0], '#') << "slots from the count on keep what the caller put there";
  ASSERT_EQ(getGraphData2(1, customerFolder().c_str(), 1, 3, 0, 1, kFan, 1, 3, &texts[0][0]), 0);
  EXPECT_STREQ(texts[0], "On");   // E0[1] = 118: bit 1 set
  EXPECT_STREQ(texts[1], "On");   // 123
  EXPECT_STREQ(texts[2], "Off");  // 128
}

TEST_F(CursorGraphTest, CursorAndGraphReadsShareOneWindow) {
  // Two readers at places more than a window apart: each read must return
  // records of its own range whatever the other loaded last.
  openRecording(730);
  int32_t values[121];
  auto text = [](int record) { return std::to_string(outdoorTemp(record)) + ".0 C"; };
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(graph(1, 0, 1, kTemp, 600, 121, values), 0);
    EXPECT_EQ(values[0], percent(outdoorTemp(600)));
    EXPECT_EQ(cursorText(0, 1, kTemp, 2), text(2));
    ASSERT_EQ(graph(1, 0, 1, kTemp, 600, 121, values), 0);
    EXPECT_EQ(values[120], percent(outdoorTemp(720)));
    EXPECT_EQ(cursorText(0, 1, kTemp, 730), text(730));
    EXPECT_EQ(cursorText(0, 1, kTemp, 513), text(513));
    EXPECT_EQ(cursorText(0, 1, kTemp, 1), text(1));
  }
}

TEST_F(CursorGraphTest, RefusedSelectionsAnswerTheirCodes) {
  openRecording(5);
  int32_t values[121];
  EXPECT_EQ(graph(2, 0, 1, kTemp, 1, 5, values), 1);
  EXPECT_EQ(graph(1, 5, 1, kTemp, 1, 5, values), 4);
  EXPECT_EQ(graph(1, 0, 2, kTemp, 1, 5, values), 3) << "no outdoor unit 2 in the file";
  EXPECT_EQ(graph(1, 100, 1, kTemp, 1, 5, values), 3);
  EXPECT_EQ(graph(1, 0, 1, 0, 1, 5, values), 6);
  EXPECT_EQ(graph(1, 0, 1, kOutdoorItems + 1, 1, 5, values), 6);
  EXPECT_EQ(graph(1, 0, 1, kMessage, 1, 5, values), 6) << "text items are not shown";
  EXPECT_EQ(getGraphData(1, customerFolder().c_str(), 2, 3, 0, 1, kTemp, 1, 5, values), 3) << "no file 2";
  ASSERT_EQ(closeDataFile(customerFolder().c_str(), 1), 0);
  EXPECT_EQ(graph(1, 0, 1, kTemp, 1, 5, values), 3) << "closed";

  gatherState.store(0);
  EXPECT_EQ(graph(0, 0, 1, kTemp, 1, 121, values), 2) << "live source without gathering";
  EXPECT_EQ(graph(0, 7, 1, kTemp, 1, 121, values), 2);
}

// ---- Live data ----

TEST_F(CursorGraphTest, LiveGraphFillsTheNewestSamplesAtTheEnd) {
  int32_t values[121];
  std::fill(std::begin(values), std::end(values), -99);
  for (int n = 1; n <= 3; ++n) gatherSlot(uint32_t(kStart + 5 * n));
  ASSERT_EQ(graph(0, 0, 1, kTemp, 1, 121, values), 0);
  for (int k = 0; k < 118; ++k) EXPECT_EQ(values[k], 0) << k;
  EXPECT_EQ(values[118], percent(outdoorTemp(1)));
  EXPECT_EQ(values[119], percent(outdoorTemp(2)));
  EXPECT_EQ(values[120], percent(outdoorTemp(3)));
  EXPECT_EQ(graph(0, 0, 1, kTemp, 1, 120, values), 7);
  EXPECT_EQ(graph(0, 0, 1, kTemp, 2, 121, values), 7);
  EXPECT_EQ(graph(0, 0, 9, kTemp, 1, 121, values), 5);
  EXPECT_EQ(graph(0, 0, 1, kMessage, 1, 121, values), 6);

  // After more slots than the history holds the oldest fall out.
  for (int n = 4; n <= 200; ++n) gatherSlot(uint32_t(kStart + 5 * n));
  ASSERT_EQ(graph(0, 0, 1, kTemp, 1, 121, values), 0);
  EXPECT_EQ(values[0], percent(outdoorTemp(80)));
  EXPECT_EQ(values[120], percent(outdoorTemp(200)));

  char texts[121][10];
  std::memset(texts, '#', sizeof texts);
  ASSERT_EQ(getGraphData2(0, "", 0, 3, 1, 2, 1, 1, 121, &texts[0][0]), 0);
  EXPECT_STREQ(texts[120], (std::to_string((200 * 5 + 33 * 7 + 3) & 0xFF) + ".0 C").c_str());
}

TEST_F(CursorGraphTest, LiveCursorReadsTheLastSnapshotAndGivesTheNextGatherTime) {
  char text[32], time[16];
  int32_t length = 0, year = 0, month = 0, day = 0, second = 0;
  auto cursor = [&](int record) {
    return getCursData(0, "", 0, 3, 0, 1, kTemp, record, text, &length, time, &year, &month, &day, &second);
  };
  ASSERT_EQ(cursor(121), 0);
  EXPECT_STREQ(text, "") << "nothing gathered yet";
  EXPECT_STREQ(time, "--:--:--");
  gatherSlot(uint32_t(kStart + 5));
  gatherSlot(uint32_t(kStart + 10));
  gatherValues().dataDue = kStart + 10;
  ASSERT_EQ(cursor(121), 0);
  EXPECT_STREQ(text, (std::to_string(outdoorTemp(2)) + ".0 C").c_str());
  EXPECT_STREQ(time, "22:13:28");
  EXPECT_EQ(second, 22 * 3600 + 13 * 60 + 35) << "the next gather slot";
  EXPECT_EQ(year, 2023);
  EXPECT_EQ(cursor(120), 7);
}

TEST_F(CursorGraphTest, BoardConnectionReadsTheSingleUnitsData) {
  // Over a board connection the live data sit under kind 0, address 0,
  // whatever unit the map calls it; its items come from its own group.
  gatherState.store(gather::kRunning | gather::kOneUnit);
  addItemTo(1, 2, "Coil", "btoua,E0[4],C", datatype::kAnalog, "100", "", "");
  addUnit(unitKind::kOutdoor, 0, 5, 9, {{"E0", 20}});
  AirconRow row{};
  std::strcpy(row.secondText, "unit.itm");
  row.identity[0] = 2;
  ASSERT_TRUE(autoAdrTable().addRow(unitKind::kIndoor, 40, row, 0));
  ASSERT_TRUE(autoAdrTable().setGroup(unitKind::kIndoor, 40, 5));
  ASSERT_TRUE(autoAdrTable().setRowTexts(unitKind::kIndoor, 40, 0, 2, "", "", ""));
  gatherSlot(uint32_t(kStart + 5));
  int32_t values[121];
  ASSERT_EQ(getGraphData(0, "", 0, 5, 1, 2, 1, 1, 121, values), 0);
  EXPECT_EQ(values[120], 9) << "E0[4] of the board's unit: 5 + 4";
}

}  // namespace
