#include <string>

#include "library/files/replay_support.h"
#include "library/support/data_item_view.h"

using namespace replaytest;

namespace {

using testsupport::ItemView;

struct ItemCounts {
  int32_t result = -1, items = -1, records = -1, trigger = -1, interval = -1;
};

class ItemsTest : public ReplayTest {
 protected:
  ItemView item(int source, int kind, int number, int index, int system = 3) {
    return testsupport::readDataItem(source, customerFolder(), 1, system, kind, number, index);
  }

  ItemCounts counts(int source, int kind, int number, int position = 1, int system = 3) {
    ItemCounts c;
    c.result = getDataItemNum(source, customerFolder().c_str(), position, system, kind, number, &c.items, &c.records,
                              &c.trigger, &c.interval);
    return c;
  }

  // Sensor-logger items: ten definitions "Def1" .. "Def10", full scale "10".
  void addSensorInputs() {
    for (int d = 1; d <= 10; ++d) {
      std::string name = "Def" + std::to_string(d);
      addItemTo(unitKind::kSensor, 0, name.c_str(), ("btoua,A[" + std::to_string(d - 1) + "],V").c_str(),
                datatype::kAnalog, "10", "", "");
    }
    addUnit(unitKind::kSensor, 0, 3, 1, {{"A", 16}});
    for (int slot = 0; slot < 8; ++slot) {
      LogEntry entry{};
      std::snprintf(entry.name, sizeof entry.name, "Channel %d", slot + 1);
      entry.used = slot % 2 ? 1 : 0;
      entry.switchPosition = slot == 6 ? 1 : 0;
      entry.fullScale = 250 + slot;
      ASSERT_TRUE(liveDataTable().setLogEntry(unitKind::kSensor, 0, 0, slot, entry));
    }
  }

  void checkSensorItems(int source) {
    EXPECT_EQ(counts(source, 200, 1).items, 8);
    ItemView first = item(source, 200, 1, 1);
    EXPECT_EQ(first.result, 0);
    EXPECT_EQ(first.name, "Channel 1");
    EXPECT_EQ(first.fullScale, "10");
    EXPECT_EQ(first.graph, 0);
    ItemView seventh = item(source, 200, 1, 7);  // switch set: definition 8, the channel's full scale
    EXPECT_EQ(seventh.name, "Channel 7");
    EXPECT_EQ(seventh.fullScale, "256");
    EXPECT_EQ(seventh.graph, 0);
    ItemView eighth = item(source, 200, 1, 8);  // switch clear: definition 9, its own full scale
    EXPECT_EQ(eighth.name, "Channel 8");
    EXPECT_EQ(eighth.fullScale, "10");
    EXPECT_EQ(eighth.graph, 1);
    EXPECT_EQ(item(source, 200, 1, 9).result, 6);
  }
};

TEST_F(ItemsTest, FileItemsCarryNamesFullScalesTypesAndGraphFlags) {
  addSystem();
  recordPeriodic(12);
  ASSERT_EQ(listFolder(), 1);
  ItemCounts unopened = counts(1, 0, 1);
  EXPECT_EQ(unopened.result, 0);
  EXPECT_EQ(unopened.items, 0) << "a listed file that is not open has no unit data";
  EXPECT_EQ(unopened.records, 12);
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);

  ItemCounts outdoor = counts(1, 0, 1);
  EXPECT_EQ(outdoor.result, 0);
  EXPECT_EQ(outdoor.items, kOutdoorItems);
  EXPECT_EQ(outdoor.records, 12);
  EXPECT_EQ(outdoor.trigger, 0);
  EXPECT_EQ(outdoor.interval, 5);
  EXPECT_EQ(counts(1, 1, 3).items, 1);
  EXPECT_EQ(counts(1, 1, 4).items, 0) << "not in the file";
  EXPECT_EQ(counts(1, 5, 1).result, 4);
  EXPECT_EQ(counts(1, 0, 1, 2).records, 0) << "no file 2";

  ItemView temp = item(1, 0, 1, kTemp);
  EXPECT_EQ(temp.result, 0);
  EXPECT_EQ(temp.name, "Temp");
  EXPECT_EQ(temp.fullScale, "200");
  EXPECT_EQ(temp.type, 0);
  EXPECT_EQ(temp.graph, 1);
  EXPECT_EQ(temp.code1, 3) << "files carry no live trigger conditions";
  EXPECT_EQ(temp.code2, 3);
  ItemView run = item(1, 0, 1, kRun);
  EXPECT_EQ(run.fullScale, " ");
  EXPECT_EQ(run.type, 1);
  EXPECT_EQ(run.graph, 0);
  EXPECT_EQ(run.state0, "Stop");
  EXPECT_EQ(run.state1, "Run");
  EXPECT_EQ(item(1, 0, 1, kMessage).type, 3);
  ItemView fan = item(1, 0, 1, kFan);
  EXPECT_EQ(fan.type, 1) << "code 7 shows as a two-state pen";
  EXPECT_EQ(fan.fullScale, " ");
  ItemView count = item(1, 0, 1, kCount);
  EXPECT_EQ(count.type, 0) << "code 4 shows as a number";
  EXPECT_EQ(count.name, "Count") << "the pressure unit is shown apart";
  EXPECT_EQ(count.fullScale, "500");
  EXPECT_EQ(item(1, 1, 2, 1).name, "Room");

  for (int index : {0, kOutdoorItems + 1}) {
    ItemView refused = item(1, 0, 1, index);
    EXPECT_EQ(refused.result, 6);
    EXPECT_EQ(refused.code1, 3);
    EXPECT_EQ(refused.state0, "");
  }
  EXPECT_EQ(item(1, 1, 4, 1).result, 6) << "a unit not in the file has no items";
  EXPECT_EQ(item(3, 0, 1, 1).result, 1);
  EXPECT_EQ(item(1, 2, 1, 1).result, 4);
}

TEST_F(ItemsTest, LiveItemsFollowTheGatheringAndItsTriggerConditions) {
  addSystem(kOutdoorItems);
  ItemCounts live = counts(0, 0, 1);
  EXPECT_EQ(live.result, 0);
  EXPECT_EQ(live.items, kOutdoorItems);
  EXPECT_EQ(live.records, 121);
  EXPECT_EQ(live.trigger, 0);
  EXPECT_EQ(live.interval, 5);
  EXPECT_EQ(counts(0, 0, 2).result, 5);
  EXPECT_EQ(counts(0, 0, 1, 1, 4).result, 5) << "unit 1 of system 4";
  EXPECT_EQ(counts(0, 7, 1).result, 4);
  EXPECT_EQ(counts(2, 0, 1).result, 1);

  ItemView before = item(0, 0, 1, kRun);
  EXPECT_EQ(before.code1, 0) << "no conditions kept yet";
  EXPECT_EQ(before.code2, 0);
  ASSERT_EQ(setTrigCondition(3, 0, 1, kRun, 1, 0), 0);
  ItemView after = item(0, 0, 1, kRun);
  EXPECT_EQ(after.code1, 1);
  EXPECT_EQ(after.code2, 0);
  EXPECT_EQ(item(0, 0, 1, kTemp).code1, 3) << "a new condition list holds no condition";

  gatherState.store(0);
  EXPECT_EQ(counts(0, 0, 1).result, 2);
  EXPECT_EQ(item(0, 0, 1, kTemp).result, 2);
  EXPECT_EQ(counts(0, 9, 1).result, 2) << "gathering is checked before the kind";
}

TEST_F(ItemsTest, BoardConnectionTakesTheGroupOfTheUnitNumber) {
  addItemTo(1, 2, "Coil", "btoua,E0[4],C", datatype::kAnalog, "100", "", "");
  addItemTo(1, 2, "Pipe", "btoua,E0[5],C", datatype::kAnalog, "100", "", "");
  addSystem();
  EXPECT_EQ(counts(0, 1, 2).items, 1) << "on the bus: group 0";
  EXPECT_EQ(item(0, 1, 2, 1).name, "Room");
  gatherState.store(gather::kRunning | gather::kOneUnit);
  EXPECT_EQ(counts(0, 1, 2).items, 2) << "over a board: the group of unit number 2";
  EXPECT_EQ(item(0, 1, 2, 2).name, "Pipe");
}

TEST_F(ItemsTest, SensorInputsTakeTheirChannelsLiveAndFromTheFile) {
  addSensorInputs();
  checkSensorItems(0);
  recordPeriodic(3);
  ASSERT_EQ(listFolder(), 1);
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);
  // The file keeps the channels as they were when it was made.
  for (int slot = 0; slot < 8; ++slot) {
    LogEntry entry{};
    ASSERT_TRUE(liveDataTable().setLogEntry(unitKind::kSensor, 0, 0, slot, entry));
  }
  checkSensorItems(1);
}

TEST_F(ItemsTest, TriggerFileGivesItsStoredConditions) {
  addSystem(kOutdoorItems);
  ASSERT_EQ(setTrigCondition(3, 0, 1, kRun, 1, 3), 0);
  ASSERT_EQ(setTrigCondition(3, 0, 1, kFan, 0, 1), 0);
  recordTrigger(4, 1);
  recordPeriodic(2);
  ASSERT_EQ(listFolder(), 2);
  // By name the periodic file (…325C3) comes before the trigger file (…32AT3).
  const int periodic = 1, trigger = 2;
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), trigger), 0);
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), periodic), 0);

  ItemCounts c = counts(1, 0, 1, trigger);
  EXPECT_EQ(c.records, 5);
  EXPECT_EQ(c.trigger, 4) << "the marked record, counted from 1";
  EXPECT_EQ(c.interval, 10);

  int32_t number = -1;
  ASSERT_EQ(getPlyTrgNum(customerFolder().c_str(), trigger, 0, 1, &number), 0);
  EXPECT_EQ(number, kOutdoorItems);
  char itemName[64], text1[64], text2[64];
  int32_t nameLength = 0, type = -1, length1 = 0, length2 = 0;
  ASSERT_EQ(getPlyTrgItem(customerFolder().c_str(), trigger, 0, 1, kRun, itemName, &nameLength, &type, text1,
                          &length1, text2, &length2),
            0);
  EXPECT_STREQ(itemName, "Run");
  EXPECT_EQ(type, 1);
  EXPECT_STREQ(text1, "Run");
  EXPECT_STREQ(text2, "");
  ASSERT_EQ(getPlyTrgItem(customerFolder().c_str(), trigger, 0, 1, kFan, itemName, &nameLength, &type, text1,
                          &length1, text2, &length2),
            0);
  EXPECT_EQ(type, 1) << "code 7 reported as 1";
  EXPECT_STREQ(text1, "Off");
  EXPECT_STREQ(text2, "On");
  EXPECT_EQ(length2, 2);
  ASSERT_EQ(getPlyTrgItem(customerFolder().c_str(), trigger, 0, 1, 6, itemName, &nameLength, &type, text1, &length1,
                          text2, &length2),
            0);
  EXPECT_STREQ(itemName, "") << "a condition number out of range gives empty outs";
  EXPECT_EQ(type, 0);

  EXPECT_EQ(getPlyTrgNum(customerFolder().c_str(), periodic, 0, 1, &number), 4);
  EXPECT_EQ(number, 0);
  EXPECT_EQ(getPlyTrgNum(customerFolder().c_str(), trigger, 1, 1, &number), 3) << "not in the file";
  EXPECT_EQ(getPlyTrgNum(customerFolder().c_str(), trigger, 3, 1, &number), 2);
  EXPECT_EQ(getPlyTrgNum(customerFolder().c_str(), 3, 0, 1, &number), 1);
  EXPECT_EQ(getPlyTrgItem("/elsewhere/", 1, 0, 1, 1, itemName, &nameLength, &type, text1, &length1, text2, &length2),
            1);
}

}  // namespace
