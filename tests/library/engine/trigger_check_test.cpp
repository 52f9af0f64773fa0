#include "engine/trigger_check.h"
#include "files/recording_step.h"
#include "library/files/recording_support.h"
#include "library/tables/fake_source.h"

using namespace recordingtest;
using tramsoll::testing::makeItem;

namespace {

constexpr uint32_t kOff = 0, kOn = 1, kNone = 3;

// An outdoor unit at address 16 with block "E0"; its items (group 0):
// 0 "Run" bit 0 of E0[0], 1 "Alarm" bit 1 (type O), 2 "Pressure" (a
// number), 3 "Lost" reading a block the unit does not have.
class TriggerCheckTest : public RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    addTwoState(0, 0, "btob,E0[0],0,OFF,ON");
    addTwoState(0, 0, "btob,E0[0],1,OFF,ON", datatype::kOnOff);
    addTwoState(0, 0, "btoua,E0[0],x", datatype::kAnalog);
    addTwoState(0, 0, "btob,ZZ[0],0,OFF,ON");
    addUnit(unitKind::kOutdoor, 16, 3, 1, {{"E0", 4}}, 4);
  }

  void addTwoState(int unitType, int group, const char* program, int32_t type = datatype::kBinary) {
    ItemRecord item = makeItem(program, type);
    std::snprintf(item.name, sizeof item.name, "item %d", itemCounter++);
    ASSERT_TRUE(addItem(model, unitType, group, item));
  }

  void condition(int kind, int address, int item, uint32_t group1, uint32_t group2) {
    ASSERT_TRUE(liveDataTable().setTriggerFlags(kind, address, 0, item, group1 | group2 << 2));
  }

  // One finished snapshot whose E0[0] (of every unit at `address`) is `bits`.
  void snapshot(uint8_t bits, int address = 16) {
    fixedBytes[{address, 0, 0}] = bits;
    gatherSlot(kStart + 5);
  }

  int itemCounter = 0;
};

TEST_F(TriggerCheckTest, NoConditionNeverFires) {
  EXPECT_FALSE(checkTriggerCondition(triggeraccess::kBus)) << "an empty live table";
  snapshot(0);
  EXPECT_FALSE(checkTriggerCondition(triggeraccess::kBus)) << "a unit nobody chose has no list";
  condition(0, 16, 0, kNone, kNone);
  EXPECT_FALSE(checkTriggerCondition(triggeraccess::kBus));
  condition(0, 16, 2, kOff, kOn);
  EXPECT_FALSE(checkTriggerCondition(triggeraccess::kBus)) << "numeric items take no part";
}

TEST_F(TriggerCheckTest, AGroupFiresOnlyWhenAllItsConditionsHoldInOneSnapshot) {
  condition(0, 16, 0, kOn, kNone);   // Run ON
  condition(0, 16, 1, kOff, kNone);  // Alarm OFF
  snapshot(0x1);
  EXPECT_TRUE(checkTriggerCondition(triggeraccess::kBus));
  snapshot(0x3);
  EXPECT_FALSE(checkTriggerCondition(triggeraccess::kBus));
  snapshot(0x0);
  EXPECT_FALSE(checkTriggerCondition(triggeraccess::kBus));

  condition(0, 16, 1, kOff, kOn);  // group 2: Alarm ON
  snapshot(0x2);
  EXPECT_TRUE(checkTriggerCondition(triggeraccess::kBus)) << "group 1 fails, group 2 holds";
}

TEST_F(TriggerCheckTest, AnItemThatCannotBeEvaluatedCountsAsOff) {
  condition(0, 16, 3, kOff, kNone);
  snapshot(0x1);
  EXPECT_TRUE(checkTriggerCondition(triggeraccess::kBus));
  condition(0, 16, 3, kOn, kNone);
  EXPECT_FALSE(checkTriggerCondition(triggeraccess::kBus));

  // Before the history holds a finished snapshot every item reads OFF.
  freeUnitTables();
  addUnit(unitKind::kOutdoor, 16, 3, 1, {{"E0", 4}}, 4);
  const uint8_t on[4] = {1, 0, 0, 0};
  ASSERT_TRUE(liveDataTable().storeByNumber(0, 16, 0, 0, kStart, {}, on));  // current, not finished
  condition(0, 16, 0, kOff, kNone);
  EXPECT_TRUE(checkTriggerCondition(triggeraccess::kBus));
}

TEST_F(TriggerCheckTest, SensorInputsChooseTheirAnalogItemBySwitch) {
  // Sensor items 0..9 of group (200, 0); items 6/7 are channel 7's two
  // definitions, here reading bit 0 or bit 1 of the answer.
  for (int k = 0; k < 10; ++k) {
    addTwoState(unitKind::kSensor, 0, k == 7 ? "btob,E0[0],1,OFF,ON" : "btob,E0[0],0,OFF,ON");
  }
  addUnit(unitKind::kSensor, 0, 3, 1, {{"E0", 4}}, 10);
  condition(unitKind::kSensor, 0, 6, kOn, kNone);
  snapshot(0x1, 0);
  EXPECT_TRUE(checkTriggerCondition(triggeraccess::kBus));
  LogEntry channel7{};
  channel7.switchPosition = 1;
  ASSERT_TRUE(liveDataTable().setLogEntry(unitKind::kSensor, 0, 0, 6, channel7));
  EXPECT_FALSE(checkTriggerCondition(triggeraccess::kBus)) << "switch on: the second definition, bit 1";
  snapshot(0x2, 0);
  EXPECT_TRUE(checkTriggerCondition(triggeraccess::kBus));
}

TEST_F(TriggerCheckTest, OverABoardConnectionItemsReadTheBoardUnit) {
  // One system over a board: the data sits on the board unit (0, 0, row 0);
  // the indoor unit of group 2 (entry 1/1) has no blocks of its own.
  freeUnitTables();
  addUnit(unitKind::kOutdoor, 0, 3, 1, {{"E0", 4}});
  addUnit(unitKind::kIndoor, 1, 3, 2, {}, 1);
  addTwoState(unitKind::kIndoor, 2, "btob,E0[0],0,OFF,ON");
  condition(unitKind::kIndoor, 1, 0, kOn, kNone);
  snapshot(0x1, 0);
  EXPECT_TRUE(checkTriggerCondition(triggeraccess::kBoard));
  snapshot(0x0, 0);
  EXPECT_FALSE(checkTriggerCondition(triggeraccess::kBoard));
}

}  // namespace
