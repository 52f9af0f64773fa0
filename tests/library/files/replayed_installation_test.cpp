// The replay exports over recordings of the sample installation, gathered
// from the simulated adapter with the sample model set, and the same cursor
// and graph reads on the live data. Expected values are worked out from the
// scenario's frame bytes and the item programs of the sample item files.
#include <cstring>
#include <string>

#include "base/status_words.h"
#include "library/engine/gathering_support.h"
#include "library/support/data_item_view.h"
#include "library/support/periodic_start.h"
#include "library/support/program_folder.h"
#include "simulator.h"
#include "store/live_table.h"
#include "tramsoll.h"

using namespace gathertest;
using namespace tramsoll;

namespace {

using testsupport::ItemView;

struct CursorView {
  int32_t result = -1;
  std::string text, time;
  int32_t year = -1, month = -1, day = -1, second = -1;
};

class ReplayedInstallation : public SampleInstallationTest {
 protected:
  std::string customerFolder() const { return output.path() + "/"; }

  // Gathers the sample installation until system 1's blocks hold the
  // scenario's bytes and maps its units: outdoor unit 1, indoor units 17
  // (number 1) and 18 (number 2).
  void gatherSystemOne() {
    startSampleInstallation();
    ASSERT_EQ(initDataGather(1, 1, 3, 2, 0, " ", 5), 0);
    auto arrived = [](int kind, int address, const char* block, int byte, uint8_t value) {
      const DataBlock* data = liveDataTable().findBlock(kind, address, 0, block);
      return data && data->data[liveDataTable().currentSlot()][byte] == value;
    };
    ASSERT_TRUE(stepUntil([&] {
      return arrived(0, 1, "E0RUN", 8, 0x5A) && arrived(0, 1, "E2TMP", 5, 0xFB) && arrived(1, 17, "63TMP", 5, 0x17) &&
             arrived(1, 18, "63TMP", 5, 0x16) && arrived(1, 18, "6BERR", 5, 0x12);
    }));
    ASSERT_EQ(setNetMapInfo(0, 1, 1, 1, 1, 0x10, "TALMA-224", "SN-1", "Roof"), 0);
    ASSERT_EQ(setNetMapInfo(1, 17, 1, 1, 1, 0x11, "VELUN-28", "SN-17", "Office"), 0);
    ASSERT_EQ(setNetMapInfo(1, 18, 1, 2, 1, 0x12, "VELUN-28", "SN-18", "Hall"), 0);
    ASSERT_EQ(setFileHeader("C001", "Customer", "Person", "Map A", customerFolder().c_str()), 0);
  }

  void slots(int count) {
    for (int i = 0; i < count; ++i) {
      nextSlot();
      ASSERT_TRUE(settle());
    }
  }

  ItemView item(int source, int kind, int number, int index, int position = 1) {
    return testsupport::readDataItem(source, customerFolder(), position, 1, kind, number, index);
  }

  // The 1-based number of the item of that name of a unit, 0 if none.
  int32_t itemNumber(int source, int kind, int number, const std::string& name, int position = 1) {
    int32_t count = 0, records = 0, trigger = 0, interval = 0;
    getDataItemNum(source, customerFolder().c_str(), position, 1, kind, number, &count, &records, &trigger,
                   &interval);
    for (int32_t index = 1; index <= count; ++index)
      if (item(source, kind, number, index, position).name == name) return index;
    return 0;
  }

  CursorView cursor(int source, int kind, int number, int index, int record) {
    char text[32], time[16];
    int32_t length = 0;
    CursorView view;
    view.result = getCursData(source, customerFolder().c_str(), source ? 1 : 0, 1, kind, number, index, record, text,
                              &length, time, &view.year, &view.month, &view.day, &view.second);
    view.text.assign(text, size_t(length));
    view.time = time;
    return view;
  }

  int32_t graph(int source, int kind, int number, int index, int first, int count, int32_t (&values)[121]) {
    return getGraphData(source, customerFolder().c_str(), source ? 1 : 0, 1, kind, number, index, first, count,
                        values);
  }

  int32_t graphTexts(int source, int kind, int number, int index, int first, int count, char (&texts)[121][10]) {
    return getGraphData2(source, customerFolder().c_str(), source ? 1 : 0, 1, kind, number, index, first, count,
                         &texts[0][0]);
  }

  testsupport::ProgramFolder output;
};

TEST_F(ReplayedInstallation, APeriodicRecordingReplaysTheScenariosValues) {
  gatherSystemOne();
  ASSERT_EQ(testsupport::startPeriodic(1, 5), 0);
  slots(4);
  ASSERT_EQ(saveConstData(0, nullptr, 0), 0);
  ASSERT_EQ(initDataGather(0, 1, 3, 2, 0, " ", 5), 0);

  int32_t files = 0;
  ASSERT_EQ(getFileNum(customerFolder().c_str(), &files), 0);
  ASSERT_EQ(files, 1);
  char person[32], mapName[64], model[64], name[32];
  int32_t personLength = 0, mapLength = 0, modelLength = 0, nameLength = 0, system = 0, mode = 0, interfaceMode = 0,
          outdoor = 0, indoor = 0, central = 0, year = 0, month = 0, day = 0, second = 0, records = 0, trigger = -1,
          interval = 0, size = 0;
  ASSERT_EQ(getFileInfo(customerFolder().c_str(), 1, person, &personLength, mapName, &mapLength, &system, model,
                        &modelLength, &mode, &interfaceMode, &outdoor, &indoor, &central, &year, &month, &day, &second,
                        &records, &trigger, &interval, &size, name, &nameLength),
            0);
  EXPECT_EQ(std::string(person, size_t(personLength)), "Person");
  EXPECT_EQ(std::string(mapName, size_t(mapLength)), "Map A");
  EXPECT_EQ(system, 1);
  EXPECT_EQ(mode, 1) << "periodic";
  EXPECT_EQ(outdoor, 1);
  EXPECT_EQ(indoor, 2);
  EXPECT_EQ(records, 4);
  EXPECT_EQ(trigger, 0);
  EXPECT_EQ(interval, 5);
  // The clock starts at 2023-11-14 22:13:20; gathering took the first slot
  // (22:13:25) and the recording starts with it (0x325 seconds into the
  // hour).
  EXPECT_EQ(year, 2023);
  EXPECT_EQ(month, 11);
  EXPECT_EQ(day, 14);
  EXPECT_EQ(second, 22 * 3600 + 13 * 60 + 25);
  EXPECT_EQ(std::string(name, size_t(nameLength)), "35B1422325C1.das");
  EXPECT_GT(size, 0);

  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  int32_t items = 0, fileRecords = 0, fileTrigger = -1, fileInterval = 0;
  ASSERT_EQ(getDataItemNum(1, customerFolder().c_str(), 1, 1, 0, 1, &items, &fileRecords, &fileTrigger, &fileInterval),
            0);
  EXPECT_EQ(items, 33) << "outdr01.itm";
  EXPECT_EQ(fileRecords, 4);
  EXPECT_EQ(fileInterval, 5);
  ASSERT_EQ(getDataItemNum(1, customerFolder().c_str(), 1, 1, 1, 2, &items, &fileRecords, &fileTrigger, &fileInterval),
            0);
  EXPECT_EQ(items, 16) << "indr01.itm";

  // Items as outdr01.itm and indr01.itm define them.
  int32_t compFreq = itemNumber(1, 0, 1, "CompFreq");
  ASSERT_EQ(compFreq, 7);
  ItemView freq = item(1, 0, 1, compFreq);
  EXPECT_EQ(freq.fullScale, "150");
  EXPECT_EQ(freq.type, 0);
  EXPECT_EQ(freq.graph, 1);
  ItemView operation = item(1, 0, 1, 2);
  EXPECT_EQ(operation.name, "Operation");
  EXPECT_EQ(operation.type, 1);
  EXPECT_EQ(operation.graph, 1);
  EXPECT_EQ(operation.state0, "STOP");
  EXPECT_EQ(operation.state1, "RUN");
  ItemView hp = item(1, 0, 1, 19);
  EXPECT_EQ(hp.name, "HP") << "the pressure unit is shown apart";
  EXPECT_EQ(hp.fullScale, "50");
  EXPECT_EQ(item(1, 0, 1, 1).type, 3) << "ModelCode is text";
  EXPECT_EQ(item(1, 0, 1, 11).name, "OutdoorAir");
  int32_t roomTemp = itemNumber(1, 1, 2, "RoomTemp");
  ASSERT_EQ(roomTemp, 6);
  ItemView room = item(1, 1, 2, roomTemp);
  EXPECT_EQ(room.fullScale, "50");
  EXPECT_EQ(room.graph, 1);
  EXPECT_EQ(item(1, 1, 2, 7).graph, 0) << "RoomTempFine";
  EXPECT_EQ(item(1, 1, 2, 17).result, 6);

  // Values: E0 byte 8 of outdoor unit 1 is 0x5A (90 Hz), byte 6 bit 0 set
  // (RUN); E2 byte 5 is 0xFB (-5); 63 byte 5 of indoor unit 17 is 0x17 (23),
  // of unit 18 0x16 (22); unit 18's 6B byte 5 is 0x12 (in error).
  CursorView first = cursor(1, 0, 1, compFreq, 1);
  ASSERT_EQ(first.result, 0);
  EXPECT_EQ(first.text, "90 Hz");
  EXPECT_EQ(first.year, 2023);
  EXPECT_EQ(first.month, 11);
  EXPECT_EQ(first.day, 14);
  EXPECT_EQ(first.second, 22 * 3600 + 13 * 60 + 25);
  EXPECT_EQ(first.time.size(), 8u);
  EXPECT_EQ(first.time.compare(0, 6, "22:13:"), 0) << first.time;
  CursorView last = cursor(1, 0, 1, compFreq, 4);
  EXPECT_EQ(last.second, 22 * 3600 + 13 * 60 + 40);
  EXPECT_EQ(cursor(1, 0, 1, 2, 3).text, "RUN");
  EXPECT_EQ(cursor(1, 0, 1, 11, 2).text, "-5.0 C");
  EXPECT_EQ(cursor(1, 0, 1, 19, 2).text, "22.50 kgf/cm2") << "0x64 through pressure table 1";
  EXPECT_EQ(cursor(1, 1, 1, roomTemp, 4).text, "23.0 C");
  EXPECT_EQ(cursor(1, 1, 2, roomTemp, 4).text, "22.0 C");
  EXPECT_EQ(cursor(1, 1, 2, itemNumber(1, 1, 2, "Error"), 1).text, "ERROR");
  EXPECT_EQ(cursor(1, 1, 1, itemNumber(1, 1, 1, "Error"), 1).text, "OK") << "6B byte 5 of unit 17 is 0";
  EXPECT_EQ(cursor(1, 1, 2, itemNumber(1, 1, 2, "ErrorCode"), 1).result, 6) << "text items are not shown";
  EXPECT_EQ(cursor(1, 1, 2, roomTemp, 5).result, 7);

  // Graph values: 90 of 150 is 60 %, 23 of 50 is 46 %, 22 of 50 is 44 %,
  // RUN is 1, 22.5 kgf/cm2 of 50 is 45 %.
  int32_t values[121] = {};
  ASSERT_EQ(graph(1, 0, 1, compFreq, 1, 4, values), 0);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(values[k], 60) << k;
  ASSERT_EQ(graph(1, 0, 1, 2, 2, 3, values), 0);
  EXPECT_EQ(values[0], 1);
  EXPECT_EQ(values[2], 1);
  ASSERT_EQ(graph(1, 0, 1, 19, 1, 1, values), 0);
  EXPECT_EQ(values[0], 45);
  ASSERT_EQ(graph(1, 1, 1, roomTemp, 1, 4, values), 0);
  EXPECT_EQ(values[3], 46);
  ASSERT_EQ(graph(1, 1, 2, roomTemp, 1, 4, values), 0);
  EXPECT_EQ(values[0], 44);
  EXPECT_EQ(graph(1, 0, 1, 1, 1, 4, values), 6) << "ModelCode is not shown";

  char texts[121][10];
  std::memset(texts, '#', sizeof texts);
  ASSERT_EQ(graphTexts(1, 0, 1, compFreq, 3, 2, texts), 0);
  EXPECT_STREQ(texts[0], "90 Hz");
  EXPECT_STREQ(texts[1], "90 Hz");
  EXPECT_EQ(texts[2][0], '#');
  ASSERT_EQ(graphTexts(1, 1, 1, roomTemp, 1, 1, texts), 0);
  EXPECT_STREQ(texts[0], "23.0 C");
}

TEST_F(ReplayedInstallation, LiveCursorAndGraphFollowTheSimulatedBus) {
  gatherSystemOne();
  slots(2);
  int32_t roomTemp = itemNumber(0, 1, 1, "RoomTemp");
  ASSERT_EQ(roomTemp, 6);
  int32_t compFreq = itemNumber(0, 0, 1, "CompFreq");
  ASSERT_EQ(compFreq, 7);

  CursorView room = cursor(0, 1, 1, roomTemp, 121);
  ASSERT_EQ(room.result, 0);
  EXPECT_EQ(room.text, "23.0 C") << "63 byte 5 of indoor unit 17: 0x17";
  EXPECT_EQ(cursor(0, 1, 2, roomTemp, 121).text, "22.0 C");
  EXPECT_EQ(cursor(0, 0, 1, compFreq, 121).text, "90 Hz");
  EXPECT_EQ(cursor(0, 0, 1, 11, 121).text, "-5.0 C");
  EXPECT_EQ(cursor(0, 1, 2, itemNumber(0, 1, 2, "Error"), 121).text, "ERROR");
  EXPECT_EQ(room.year, 2023);

  int32_t values[121] = {};
  ASSERT_EQ(graph(0, 1, 1, roomTemp, 1, 121, values), 0);
  EXPECT_EQ(values[120], 46);
  EXPECT_EQ(values[119], 46);
  ASSERT_EQ(graph(0, 0, 1, compFreq, 1, 121, values), 0);
  EXPECT_EQ(values[120], 60);
  char texts[121][10];
  ASSERT_EQ(graphTexts(0, 1, 2, roomTemp, 1, 121, texts), 0);
  EXPECT_STREQ(texts[120], "22.0 C");
  EXPECT_EQ(cursor(0, 1, 9, roomTemp, 121).result, 5) << "no indoor unit 9";
}

TEST_F(ReplayedInstallation, ATriggerRecordingKeepsItsConditions) {
  gatherSystemOne();
  int32_t operation = itemNumber(0, 0, 1, "Operation");
  int32_t warning = itemNumber(0, 0, 1, "Warning");
  ASSERT_EQ(operation, 2);
  ASSERT_GT(warning, 0);
  // Outdoor unit 1 runs (E0 byte 6 bit 0), so the first trigger slot fires.
  ASSERT_EQ(setTrigCondition(1, 0, 1, operation, 1, 3), 0);
  ASSERT_EQ(setTrigCondition(1, 0, 1, warning, 0, 1), 0);
  ItemView live = item(0, 0, 1, operation);
  EXPECT_EQ(live.code1, 1);
  EXPECT_EQ(live.code2, 3);
  ASSERT_EQ(saveTrigData(1, 1, 1), 0);
  slots(16);
  EXPECT_FALSE(hasBits(gatherState, gather::kTriggerArmed | gather::kTriggerFired));
  ASSERT_EQ(initDataGather(0, 1, 3, 2, 0, " ", 5), 0);

  int32_t files = 0;
  ASSERT_EQ(getFileNum(customerFolder().c_str(), &files), 0);
  ASSERT_EQ(files, 1);
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  int32_t count = -1;
  ASSERT_EQ(getPlyTrgNum(customerFolder().c_str(), 1, 0, 1, &count), 0);
  EXPECT_EQ(count, 33);
  char itemName[64], text1[64], text2[64];
  int32_t nameLength = 0, type = -1, length1 = 0, length2 = 0;
  ASSERT_EQ(getPlyTrgItem(customerFolder().c_str(), 1, 0, 1, operation, itemName, &nameLength, &type, text1, &length1,
                          text2, &length2),
            0);
  EXPECT_STREQ(itemName, "Operation");
  EXPECT_EQ(type, 1);
  EXPECT_STREQ(text1, "RUN");
  EXPECT_STREQ(text2, "");
  ASSERT_EQ(getPlyTrgItem(customerFolder().c_str(), 1, 0, 1, warning, itemName, &nameLength, &type, text1, &length1,
                          text2, &length2),
            0);
  EXPECT_STREQ(itemName, "Warning");
  EXPECT_EQ(type, 1) << "an on/off item shows as two states";
  EXPECT_STREQ(text1, "OFF");
  EXPECT_STREQ(text2, "ON");
  ASSERT_EQ(getPlyTrgItem(customerFolder().c_str(), 1, 0, 1, 8, itemName, &nameLength, &type, text1, &length1, text2,
                          &length2),
            0);
  EXPECT_STREQ(itemName, "CompCurrent");
  EXPECT_STREQ(text1, "") << "no condition set";
  EXPECT_EQ(getPlyTrgNum(customerFolder().c_str(), 1, 1, 9, &count), 3) << "no indoor unit 9 in the file";

  // The file replays: the trigger record and the item's value there.
  int32_t items = 0, records = 0, trigger = 0, interval = 0;
  ASSERT_EQ(getDataItemNum(1, customerFolder().c_str(), 1, 1, 0, 1, &items, &records, &trigger, &interval), 0);
  EXPECT_EQ(interval, 10);
  EXPECT_GT(trigger, 0);
  EXPECT_LE(trigger, records);
  EXPECT_EQ(cursor(1, 0, 1, operation, trigger).text, "RUN");
}

}  // namespace
