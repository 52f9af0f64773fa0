#include <fcntl.h>
#include <stdio.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>

#include "engine/trigger_check.h"
#include "files/recording_step.h"
#include "library/files/recording_support.h"
#include "library/tables/fake_source.h"
#include "tramsoll.h"

using namespace recordingtest;
using tramsoll::testing::makeItem;

// While set, every rename fails as a refusing file system would fail it.
// The library is linked into this program, so its renames land here; every
// other rename goes through.
std::atomic<bool> failRenames{false};

extern "C" int rename(const char* from, const char* to) noexcept {
  if (failRenames.load()) {
    errno = EIO;
    return -1;
  }
  return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}

namespace {

// System 3: an outdoor unit whose items are "Run" (ON when bit 0 of E0[0]
// is set), "Pressure" (a number) and "Alarm" (ON when bit 1 of E0[0]).
class TriggerRecordingTest : public RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    addItemNamed("Run", "btob,E0[0],0,OFF,ON", datatype::kDigital, "Stop", "Run");
    addItemNamed("Pressure", "btoua,E0[1],kgf/cm2", datatype::kAnalog, "", "");
    addItemNamed("Alarm", "btob,E0[0],1,OFF,ON", datatype::kOnOff, "Off", "On");
    addUnit(unitKind::kOutdoor, 16, 3, 1, {{"E0", 4}}, 3);
    run(false);
  }

  void addItemNamed(const char* name, const char* program, int32_t type, const char* state0, const char* state1) {
    ItemRecord item = makeItem(program, type);
    std::strcpy(item.name, name);
    std::strcpy(item.stateText0, state0);
    std::strcpy(item.stateText1, state1);
    ASSERT_TRUE(addItem(model, 0, 0, item));
  }

  // The "Run" bit of the outdoor unit from the next gather slot on.
  void run(bool on) { fixedBytes[{16, 0, 0}] = on ? 1 : 0; }

  // What the worker's timer step does at a trigger slot.
  void triggerSlot(uint32_t slot) {
    gatherSlot(slot);
    appendTriggerRecord(slot);
    GatherValues& values = gatherValues();
    values.trigDue = slot;
    int32_t held = triggerRecordCount();
    if (hasBits(gatherState, gather::kTriggerFired)) {
      if (held < values.trigPreCount + values.trigPostCount) return;
      releaseTriggerRecording();
      liveDataTable().freeTriggerFlags();
      autoAdrTable().unmarkAll(2);
      clearBits(gatherState, gather::kTriggerArmed | gather::kTriggerFired);
      return;
    }
    if (checkTriggerCondition(triggeraccess::kBus)) {
      if (held > values.trigPreCount) dropOldestTriggerRecords(held - values.trigPreCount);
      setBits(gatherState, gather::kTriggerFired);
      markTriggerRecord();
      values.trigPreCount = triggerRecordCount();
    } else if (held > values.trigPreCount + 120) {
      dropOldestTriggerRecords(held - values.trigPreCount);
    }
  }

  std::string triggerFile() const { return folder.path() + "/35B142232AT3.das"; }
  uint32_t slotTime(int n) const { return uint32_t(kStart + 10 * n); }
};

TEST_F(TriggerRecordingTest, FiveMinutesAfterTheTriggerKeepsThePreRecordsAndEndsOnTime) {
  ASSERT_EQ(setFileHeader("C001", "", "", "", (folder.path() + "/").c_str()), 0);
  ASSERT_EQ(setTrigCondition(3, unitKind::kOutdoor, 1, 1, 1, 3), 0);  // "Run" must be ON in group 1
  ASSERT_EQ(saveTrigData(1, 3, 5), 0);
  EXPECT_EQ(gatherValues().trigPostCount, 30);
  EXPECT_EQ(gatherValues().trigPreCount, 31);
  int32_t constSaving = 0, trigState = 0;
  EXPECT_EQ(execTramsoll(&constSaving, &trigState), 0);
  EXPECT_EQ(trigState, 1);

  // Armed: the file grows to 31 + 120 + 1 records and is cut back to 31.
  for (int n = 1; n <= 151; ++n) triggerSlot(slotTime(n));
  EXPECT_EQ(triggerRecordCount(), 151);
  triggerSlot(slotTime(152));
  EXPECT_EQ(triggerRecordCount(), 31);
  EXPECT_EQ(saveSlot(kTriggerSlot).header.firstRecordTime, slotTime(122));
  for (int n = 153; n <= 160; ++n) triggerSlot(slotTime(n));

  // The condition holds at slot 161, when the file holds 40 records.
  run(true);
  triggerSlot(slotTime(161));
  EXPECT_TRUE(hasBits(gatherState, gather::kTriggerFired));
  EXPECT_EQ(triggerRecordCount(), 31);
  EXPECT_EQ(execTramsoll(&constSaving, &trigState), 0);
  EXPECT_EQ(trigState, 2);
  for (int n = 162; n <= 191; ++n) triggerSlot(slotTime(n));
  EXPECT_FALSE(hasBits(gatherState, gather::kTriggerArmed | gather::kTriggerFired));
  EXPECT_FALSE(saveSlot(kTriggerSlot).used());

  das::File file = readBack(triggerFile());
  EXPECT_EQ(file.header.recordingKind, 2);
  EXPECT_EQ(file.header.interval, 10);
  EXPECT_EQ(file.header.recordCount, 61u);
  EXPECT_EQ(file.header.triggerRecord, 30u);
  EXPECT_EQ(file.header.firstRecordTime, slotTime(131));
  ASSERT_EQ(file.records.size(), 61u);
  for (int r = 0; r < 61; ++r) EXPECT_EQ(file.records[size_t(r)].time, slotTime(131 + r));
  EXPECT_EQ(file.records[30].parts[0].data[0], 1) << "the trigger record holds the condition's data";
  EXPECT_EQ(file.records[29].parts[0].data[0], 0);

  ASSERT_EQ(file.units.size(), 1u);
  ASSERT_EQ(file.units[0].conditions.size(), 3u);
  const das::ConditionBlock& runCondition = file.units[0].conditions[0];
  EXPECT_STREQ(runCondition.itemName, "Run");
  EXPECT_STREQ(runCondition.condition1, "Run");
  EXPECT_STREQ(runCondition.condition2, "");
  EXPECT_EQ(runCondition.dataType, datatype::kDigital);
  EXPECT_STREQ(file.units[0].conditions[1].itemName, "Pressure");

  std::vector<std::string> lines = testsupport::drainDebugLines();
  auto said = [&](const std::string& text) { return std::find(lines.begin(), lines.end(), text) != lines.end(); };
  EXPECT_TRUE(said("FileHndl: TrgFile Swap DatNum 152 -> 31"));
  EXPECT_TRUE(said("FileHndl: TrgFile Swap DatNum 40 -> 31"));
  EXPECT_FALSE(std::filesystem::exists(folder.path() + "/temp.work"));
}

TEST_F(TriggerRecordingTest, ATriggerAtTheFirstRecordCutsNothingAndMarksRecordZero) {
  ASSERT_EQ(setFileHeader(" ", "", "", "", ""), 0);
  ASSERT_EQ(setTrigCondition(3, unitKind::kOutdoor, 1, 3, 3, 0), 0);  // "Alarm" OFF in group 2
  ASSERT_EQ(saveTrigData(1, 3, 1), 0);
  triggerSlot(slotTime(1));
  EXPECT_TRUE(hasBits(gatherState, gather::kTriggerFired));
  for (int n = 2; n <= 7; ++n) triggerSlot(slotTime(n));
  EXPECT_FALSE(hasBits(gatherState, gather::kTriggerArmed));
  das::File file = readBack("trigger.das");
  EXPECT_EQ(file.header.recordCount, 7u);
  EXPECT_EQ(file.header.triggerRecord, 0u);
  EXPECT_EQ(file.header.firstRecordTime, slotTime(1));
  EXPECT_STREQ(file.units[0].conditions[2].condition2, "Off");
}

TEST_F(TriggerRecordingTest, StopBeforeTheTriggerDeletesTheFileAndAfterItKeepsIt) {
  folder.writePlain("temp.work", "left by a crash");
  ASSERT_EQ(setFileHeader(" ", "", "", "", ""), 0);
  ASSERT_EQ(saveTrigData(1, 3, 60), 0);
  EXPECT_FALSE(folder.exists("temp.work"));
  EXPECT_EQ(gatherValues().trigPostCount, 360);
  EXPECT_EQ(gatherValues().trigPreCount, 361);
  EXPECT_EQ(saveTrigData(1, 3, 60), 2) << "already armed";
  EXPECT_EQ(setFileHeader(" ", "", "", "", ""), 2);
  triggerSlot(slotTime(1));
  EXPECT_TRUE(folder.exists("trigger.das"));
  EXPECT_EQ(saveTrigData(0, 0, 0), 0);
  EXPECT_FALSE(folder.exists("trigger.das"));
  EXPECT_FALSE(hasBits(gatherState, gather::kTriggerArmed));

  ASSERT_EQ(setTrigCondition(3, unitKind::kOutdoor, 1, 1, 1, 3), 0);
  ASSERT_EQ(saveTrigData(1, 3, 61), 0);
  EXPECT_EQ(gatherValues().trigPostCount, 366);
  EXPECT_EQ(gatherValues().trigPreCount, 361);
  run(true);
  triggerSlot(slotTime(2));
  ASSERT_TRUE(hasBits(gatherState, gather::kTriggerFired));
  EXPECT_EQ(saveTrigData(0, 0, 0), 0);
  EXPECT_TRUE(folder.exists("trigger.das"));
  uint32_t flags = 0;
  EXPECT_FALSE(liveDataTable().getTriggerFlags(unitKind::kOutdoor, 16, 0, 0, flags)) << "conditions released";
  EXPECT_EQ(saveTrigData(4, 3, 1), 2);
  gatherState.store(0);
  EXPECT_EQ(saveTrigData(1, 3, 1), 1);
}

TEST_F(TriggerRecordingTest, TriggerCutKeepsTheFileWhenTheWorkFileCannotBeWritten) {
  ASSERT_EQ(setFileHeader(" ", "", "", "", ""), 0);
  ASSERT_EQ(saveTrigData(1, 3, 1), 0);
  for (int n = 1; n <= 10; ++n) triggerSlot(slotTime(n));
  std::filesystem::create_directories("temp.work/blocked");
  EXPECT_FALSE(cutTriggerFile(4));
  EXPECT_EQ(triggerRecordCount(), 10);
  das::File file = readBack("trigger.das");
  EXPECT_EQ(file.header.recordCount, 10u);
  EXPECT_EQ(file.header.firstRecordTime, slotTime(1));

  std::filesystem::remove_all("temp.work");
  EXPECT_TRUE(cutTriggerFile(4)) << "the next slot tries again";
  EXPECT_FALSE(folder.exists("temp.work"));
  file = readBack("trigger.das");
  EXPECT_EQ(file.header.recordCount, 6u);
  EXPECT_EQ(file.header.firstRecordTime, slotTime(5));
  EXPECT_EQ(file.records[0].time, slotTime(5));
  EXPECT_FALSE(cutTriggerFile(6)) << "a cut never empties the file";
  EXPECT_EQ(errFault.load(), 0u);
}

TEST_F(TriggerRecordingTest, TriggerCutKeepsTheFileWhenTheRenameOfTheWorkFileFails) {
  ASSERT_EQ(setFileHeader(" ", "", "", "", ""), 0);
  ASSERT_EQ(saveTrigData(1, 3, 1), 0);
  for (int n = 1; n <= 10; ++n) triggerSlot(slotTime(n));
  failRenames = true;
  EXPECT_FALSE(cutTriggerFile(4));
  failRenames = false;
  EXPECT_EQ(triggerRecordCount(), 10);
  EXPECT_FALSE(folder.exists("temp.work"));
  das::File file = readBack("trigger.das");
  EXPECT_EQ(file.header.recordCount, 10u);
  EXPECT_EQ(file.records[0].time, slotTime(1));

  triggerSlot(slotTime(11));
  file = readBack("trigger.das");
  EXPECT_EQ(file.header.recordCount, 11u) << "the next record follows the ten kept";
  EXPECT_EQ(file.records[10].time, slotTime(11));
}

TEST_F(TriggerRecordingTest, ConditionsAreStoredOnlyForKnownUnitsAndItems) {
  EXPECT_EQ(setTrigCondition(3, 5, 1, 1, 1, 1), 2);
  EXPECT_EQ(setTrigCondition(3, unitKind::kIndoor, 1, 1, 1, 1), 3);
  EXPECT_EQ(setTrigCondition(3, unitKind::kOutdoor, 9, 1, 1, 1), 3);
  EXPECT_EQ(setTrigCondition(3, unitKind::kOutdoor, 1, 4, 1, 1), 4);
  EXPECT_EQ(setTrigCondition(3, unitKind::kOutdoor, 1, 0, 1, 1), 4);
  ASSERT_EQ(setTrigCondition(3, unitKind::kOutdoor, 1, 2, 0x11, 0x12), 0);
  uint32_t flags = 0;
  ASSERT_TRUE(liveDataTable().getTriggerFlags(unitKind::kOutdoor, 16, 0, 1, flags));
  EXPECT_EQ(flags, 0x9u);  // condition 1 and 2, each cut to two bits
  ASSERT_TRUE(liveDataTable().getTriggerFlags(unitKind::kOutdoor, 16, 0, 0, flags));
  EXPECT_EQ(flags, 0xFu);
  gatherState.store(0);
  EXPECT_EQ(setTrigCondition(3, unitKind::kOutdoor, 1, 1, 1, 1), 1);
}

}  // namespace
