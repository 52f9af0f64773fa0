// Unit discovery and data filing from hand-made bus frames, the silence
// watch on a manual clock, and the per-slot alarm and unit-group states.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/bus_decode.h"
#include "engine/settings.h"
#include "engine/unit_tables.h"
#include "library/engine/gathering_support.h"
#include "store/discovery_table.h"
#include "store/live_source.h"
#include "store/live_table.h"
#include "tables/model_tables.h"
#include "tables/setting_tables.h"

using namespace tramsoll;
using namespace gathertest;

namespace {

constexpr uint8_t kOutdoor = 0x08;  // frame code 2
constexpr uint8_t kIndoorShort = 0x0C;  // frame code 3
constexpr uint8_t kIndoor = 0x10;   // frame code 4
constexpr uint8_t kCentral = 0x14;  // frame code 5
constexpr uint32_t kRom = 0x00000101;

// Data of an outdoor 0x65 frame: ROM, key byte, then the outlet temperature
// (data byte 5) and the alarm bits (byte 6: bit 0 error, bit 1 warning).
Bytes status65(uint8_t temperature, uint8_t alarms) {
  return unitData(kRom, 2, static_cast<uint16_t>(temperature << 8 | alarms));
}

class BusDecode : public GatheringTest {
 protected:
  // What the timer step does with each received record.
  void hear(const Bytes& frame, uint8_t status = 0) {
    BusFrameRecord r = record(frame, static_cast<int32_t>(clock.systemNow()), status);
    bool special = false;
    if (!checkBusRecord(r, special) || special) return;
    decodeAutoAddress(r);
    decodeUnitData(r);
  }
  AutoAdrEntry entry(int kind, int address) {
    AutoAdrEntry e;
    EXPECT_TRUE(autoAdrTable().entryByKey(kind, address, e)) << kind << "/" << address;
    return e;
  }
  bool exists(int kind, int address) {
    AutoAdrEntry e;
    return autoAdrTable().entryByKey(kind, address, e);
  }
  AirconRow row(int kind, int address, int index) {
    AutoAdrEntry e;
    AirconRow r{};
    EXPECT_TRUE(autoAdrTable().rowByIndex(kind, address, index, e, r));
    return r;
  }
  std::string shown(const char* file, int type, int group, const char* item, int kind, int address, int row = 0) {
    ItemOutput out{};
    int newest = liveDataTable().snapshotCount() - 1;
    evaluateLiveItemAt(itemOf(file, type, group, item), kind, address, row, newest, out);
    return out.text;
  }
  void fixOutdoor(uint8_t address, const Bytes& more = {}) {
    hear(busFrame(kOutdoor, address, 0x60, unitData(kRom, 2, kTalmaNumber, more)));
  }
};

TEST_F(BusDecode, RecordCheckDropsShortFlaggedAndForeignRecords) {
  Bytes frame = busFrame(kOutdoor, 3, 0x65, {1, 2, 3, 4});  // length byte 5: 11 bytes
  bool special = true;
  BusFrameRecord r = record(frame);
  EXPECT_TRUE(checkBusRecord(r, special));
  EXPECT_FALSE(special);

  r.count = 10;  // one byte short of F[4] + 6
  EXPECT_FALSE(checkBusRecord(r, special));

  r = record(frame);
  r.attributes[10] = 0x01;
  EXPECT_FALSE(checkBusRecord(r, special));
  r.attributes[10] = 0;
  r.attributes[11] = 0x01;  // past the frame: not looked at
  EXPECT_TRUE(checkBusRecord(r, special));

  EXPECT_FALSE(checkBusRecord(record(frame, 0, 0x10), special));
  EXPECT_FALSE(checkBusRecord(record(frame, 0, 0x08), special));  // marked own, but not from address 15
  Bytes own = busFrame(0xFD, 0x0F, 0x18, {0xFF, 0, 0x7E, 0, 0});
  EXPECT_TRUE(checkBusRecord(record(own, 0, 0x0E), special));
  EXPECT_TRUE(special);
}

TEST_F(BusDecode, OutdoorNumberFrameFixesAnOrdinaryModelOnce) {
  fixOutdoor(3);
  AutoAdrEntry e = entry(0, 3);
  EXPECT_EQ(discoveryState(e.status), 3);
  EXPECT_EQ(e.rowCount, 1);
  EXPECT_EQ(e.number, kTalmaNumber);
  EXPECT_EQ(e.value, kRom);
  EXPECT_EQ(e.keyByte3, 2);
  AirconRow r = row(0, 3, 0);
  EXPECT_STREQ(r.name, "TALMA-224");
  EXPECT_STREQ(r.secondText, "outdr01.itm");
  EXPECT_EQ(r.identity[0], connect::kDO);
  EXPECT_EQ(r.triggerSlotCount, 4);  // the items of the file's first group
  EXPECT_EQ(r.dataBlockCount, 3);

  fixOutdoor(3);
  EXPECT_EQ(entry(0, 3).rowCount, 1);
  EXPECT_EQ(row(0, 3, 0).dataBlockCount, 3);
}

TEST_F(BusDecode, FamilyModelWaitsForTheFrameThatTellsItsRows) {
  Bytes numberFrame = busFrame(kOutdoor, 4, 0x60, unitData(kRom, 2, kTalmaKNumber));
  hear(numberFrame);
  EXPECT_EQ(discoveryState(entry(0, 4).status), 2);
  EXPECT_EQ(entry(0, 4).rowCount, 0);

  // Bytes 9 and 10 (second numbers 3 and 4) pass neither pattern: nothing.
  hear(busFrame(kOutdoor, 4, 0xE0, {0, 0, 0, 0x00, 0x00}));
  EXPECT_EQ(entry(0, 4).rowCount, 0);
  // A frame too short to hold byte 10 cannot pass the second row.
  hear(busFrame(kOutdoor, 4, 0xE0, {0, 0, 0, 0x12}));
  EXPECT_EQ(entry(0, 4).rowCount, 1);
  EXPECT_STREQ(row(0, 4, 0).name, "TALMA-280K");

  hear(busFrame(kOutdoor, 4, 0xE0, {0, 0, 0, 0x12, 0x01}));
  AutoAdrEntry e = entry(0, 4);
  EXPECT_EQ(discoveryState(e.status), 3);
  EXPECT_EQ(e.rowCount, 2);
  EXPECT_EQ(e.keyByte3, 0x01);
  EXPECT_STREQ(row(0, 4, 1).name, "TALMA-280KB");
  EXPECT_EQ(row(0, 4, 1).identity[2], 4);

  // The number frame again makes the family open once more.
  hear(numberFrame);
  EXPECT_EQ(discoveryState(entry(0, 4).status), 2);
  EXPECT_EQ(entry(0, 4).rowCount, 2);
}

TEST_F(BusDecode, UnknownModelsLeaveUnitsHeardWithoutRows) {
  hear(busFrame(kOutdoor, 5, 0x60, unitData(kRom, 2, kUnknownNumber)));
  EXPECT_FALSE(exists(0, 5));  // a number frame without a model row stores nothing
  hear(busFrame(kOutdoor, 5, 0x65, unitData(kRom, 2, 0)));
  EXPECT_EQ(discoveryState(entry(0, 5).status), 1);
  EXPECT_EQ(entry(0, 5).rowCount, 0);

  hear(busFrame(kIndoor, 0, 0x61, unitData(kRom, 0, kVelunNumber)));
  EXPECT_FALSE(exists(1, 0));  // indoor address 0 is nobody
  EXPECT_FALSE(decodeAutoAddress(record(busFrame(kIndoor, 0, 0x62, unitData(kRom, 0, 0)))));
  hear(busFrame(kIndoor, 18, 0x61, unitData(kRom, 0, kUnknownNumber)));
  EXPECT_FALSE(exists(1, 18));
  hear(busFrame(kIndoor, 18, 0x62, unitData(kRom, 5, 0)));
  EXPECT_EQ(discoveryState(entry(1, 18).status), 1);
  EXPECT_EQ(entry(1, 18).keyByte3, 6);
  EXPECT_FALSE(decodeAutoAddress(record(busFrame(kIndoorShort, 18, 0x62, unitData(kRom, 5, 0)))));
}

TEST_F(BusDecode, IndoorAndCentralModelsAreFixedByTheirOwnRows) {
  hear(busFrame(kIndoor, 17, 0x61, unitData(kRom, 1, kVelunNumber)));
  AutoAdrEntry indoor = entry(1, 17);
  EXPECT_EQ(discoveryState(indoor.status), 3);
  EXPECT_EQ(indoor.keyByte3, 2);
  EXPECT_STREQ(row(1, 17, 0).name, "VELUN-28");

  // Rows of other kinds are not taken for an indoor unit, even if the
  // number would match them: TALMA-224's number is outdoor-only.
  hear(busFrame(kIndoor, 19, 0x61, unitData(kRom, 1, kTalmaNumber)));
  EXPECT_FALSE(exists(1, 19));

  // Central: key byte 4 (frame byte 12) and number (bytes 13-14).
  Bytes announce{0, 0, 0, 0x20, 0x07, 0x00, kCordaKind, kCordaNumber >> 8, kCordaNumber & 0xFF, 0};
  hear(busFrame(kCentral, 32, 0x90, announce));
  AutoAdrEntry central = entry(100, 32);
  EXPECT_EQ(discoveryState(central.status), 3);
  EXPECT_EQ(central.keyByte3, 32);
  EXPECT_EQ(central.keyByte4, kCordaKind);
  EXPECT_STREQ(row(100, 32, 0).name, "CORDA-CX1");
  announce[6] = 0x00;  // the central pattern fails
  hear(busFrame(kCentral, 33, 0x90, announce));
  EXPECT_FALSE(exists(100, 33));
  hear(busFrame(kCentral, 33, 0xD0, {0, 0, 0, 0, 0}));
  EXPECT_EQ(discoveryState(entry(100, 33).status), 0);
}

TEST_F(BusDecode, FramesLandInTheBlocksTheirCommandNames) {
  liveDataTable().setFrameKeyLength(6);  // as bus gathering sets it
  fixOutdoor(3);
  Bytes frame = busFrame(kOutdoor, 3, 0x65, status65(0x17, 0x02));
  BusFrameRecord r = record(frame, 1234);
  r.data[frame.size()] = 0xEE;  // garbage past the frame's count is not filed
  ASSERT_TRUE(decodeUnitData(r));
  liveDataTable().advanceSnapshot();
  Snapshot snap;
  ASSERT_TRUE(liveDataTable().readSnapshot(0, 3, 0, "65", 0, snap));
  EXPECT_EQ(snap.time, 1234u);
  EXPECT_EQ(snap.data[5], 0x17);
  EXPECT_EQ(snap.data[6], 0x02);
  EXPECT_EQ(snap.data[7], frame[13]);  // the check byte ...
  EXPECT_EQ(snap.data[8], 0x00);       // ... and nothing after it
  EXPECT_EQ(std::memcmp(snap.extra, frame.data(), 6), 0) << "bus gathering keeps the frame's first 6 bytes";
  EXPECT_EQ(shown("outdr01.itm", 0, 1, "Outlet temp", 0, 3), "23.0 C");

  EXPECT_FALSE(decodeUnitData(record(busFrame(kOutdoor, 9, 0x65, unitData(kRom, 2, 0)))));  // nobody there
}

TEST_F(BusDecode, FamilyFramesGoOnlyToTheRowsTheyPass) {
  hear(busFrame(kOutdoor, 4, 0x60, unitData(kRom, 2, kTalmaKNumber)));
  hear(busFrame(kOutdoor, 4, 0xE0, {0, 0, 0, 0x12, 0x01, 0x21}));
  ASSERT_EQ(entry(0, 4).rowCount, 2);
  // Passes TALMA-280K (byte 9) only.
  hear(busFrame(kOutdoor, 4, 0xE0, {0, 0, 0, 0x12, 0x00, 0x33}));
  liveDataTable().advanceSnapshot();
  EXPECT_EQ(shown("outdr01.itm", 0, 1, "Family", 0, 4, 0), "0 x") << "byte 4 of the last passing frame";
  EXPECT_EQ(shown("outdr01.itm", 0, 1, "Family", 0, 4, 1), "1 x");

  // Frame code 3 carries an indoor unit's data, found by its ROM number
  // among the "DIZ" units.
  hear(busFrame(kIndoor, 20, 0x61, unitData(0x0202, 0, kVelunZNumber)));
  hear(busFrame(kIndoorShort, 9, 0xE0, unitData(0x0202, 0, 0, {0x44})));
  hear(busFrame(kIndoorShort, 9, 0xE0, unitData(0x0303, 0, 0, {0x55})));  // no such ROM
  liveDataTable().advanceSnapshot();
  EXPECT_EQ(shown("indr01.itm", 1, 1, "Zone", 1, 20), "68 x");
  EXPECT_FALSE(exists(1, 9));
}

TEST_F(BusDecode, SilentUnitsShowAfterFiveMinutesAndComeBackWithTheirNextFrame) {
  resetSilenceWatch();
  fixOutdoor(3);
  hear(busFrame(kIndoor, 17, 0x61, unitData(kRom, 1, kVelunNumber)));
  hear(busFrame(kOutdoor, 6, 0x65, unitData(kRom, 2, 0)));  // heard, model open: never silent
  Bytes announce{0, 0, 0, 0x20, 0x07, 0x00, kCordaKind, kCordaNumber >> 8, kCordaNumber & 0xFF, 0};
  hear(busFrame(kCentral, 32, 0x90, announce));

  clock.advance(std::chrono::seconds(59));
  watchSilence();
  EXPECT_EQ(entry(100, 32).status & unitstate::kSilent, 0u);
  clock.advance(std::chrono::seconds(1));  // a central unit has 60 s to answer
  watchSilence();
  EXPECT_NE(entry(100, 32).status & unitstate::kSilent, 0u);
  hear(busFrame(kCentral, 32, 0xD1, {0, 0, 0, 0, 0}));
  EXPECT_EQ(entry(100, 32).status & unitstate::kSilent, 0u);

  clock.advance(std::chrono::seconds(239));
  hear(busFrame(kIndoor, 17, 0x62, unitData(kRom, 1, 0)));
  watchSilence();
  EXPECT_EQ(entry(0, 3).status & unitstate::kSilent, 0u);
  clock.advance(std::chrono::seconds(1));  // 300 s since the outdoor unit's frame
  watchSilence();
  EXPECT_EQ(discoveryState(entry(0, 3).status), 3 + 4) << "state 3 with the silent bit";
  EXPECT_EQ(entry(1, 17).status & unitstate::kSilent, 0u);
  EXPECT_EQ(entry(0, 6).status & unitstate::kSilent, 0u);

  hear(busFrame(kOutdoor, 3, 0x65, unitData(kRom, 2, 0)));
  EXPECT_EQ(discoveryState(entry(0, 3).status), 3);
}

TEST_F(BusDecode, AlarmStateFollowsTheErrorAndWarningItems) {
  EXPECT_FALSE(gatherBusSnapshot()) << "no finished snapshot yet";
  fixOutdoor(3);
  struct Case {
    uint8_t flags;
    int alarm;
  };
  for (Case c : {Case{0x00, 0}, Case{0x02, 1}, Case{0x03, 2}, Case{0x01, 2}}) {
    hear(busFrame(kOutdoor, 3, 0x65, status65(0x17, c.flags)));
    liveDataTable().advanceSnapshot();
    ASSERT_TRUE(gatherBusSnapshot());
    EXPECT_EQ(alarmState(entry(0, 3).status), c.alarm) << int(c.flags);
  }
}

TEST_F(BusDecode, BoardSnapshotTellsWhichGroupsExist) {
  ASSERT_TRUE(buildTargetTables("syst01.itm", 7));
  int32_t file = gatherValues().targetIndex;
  EXPECT_EQ(gatherValues().requestCount, 2);
  EXPECT_FALSE(gatherTargetSnapshot(file, 7));

  uint8_t block[16] = {0x03, 0, 0x02};  // outdoor and first indoor group; a warning
  ASSERT_TRUE(liveDataTable().storeByKey(0, 0, 0, "B-01", 100, {}, block));
  liveDataTable().advanceSnapshot();
  ASSERT_TRUE(gatherTargetSnapshot(file, 7));

  AutoAdrEntry board = entry(0, 0);
  EXPECT_EQ(discoveryState(board.status), 3) << "the second outdoor group is missing, the first is there";
  EXPECT_EQ(alarmState(board.status), 0);
  EXPECT_EQ(board.rowCount, 2) << "the first outdoor group's row is the target's own row";
  EXPECT_STREQ(row(0, 0, 0).name, "PARVO-710");
  EXPECT_STREQ(row(0, 0, 1).name, "PARVO-O2");
  EXPECT_EQ(row(0, 0, 1).identity[3], 1);
  EXPECT_EQ(discoveryState(entry(1, 0).status), 3);
  EXPECT_EQ(alarmState(entry(1, 0).status), 1);
  EXPECT_STREQ(row(1, 0, 0).name, "PARVO-I1");
  EXPECT_EQ(row(1, 0, 0).identity[0], 7);
  EXPECT_EQ(discoveryState(entry(1, 1).status), 0);
  EXPECT_STREQ(row(1, 1, 0).name, "PARVO-I2");

  block[0] = 0x00;  // the board says no group exists any more
  block[2] = 0x01;
  liveDataTable().storeByKey(0, 0, 0, "B-01", 105, {}, block);
  liveDataTable().advanceSnapshot();
  gatherTargetSnapshot(file, 7);
  EXPECT_EQ(discoveryState(entry(0, 0).status), 0);
  EXPECT_EQ(alarmState(entry(0, 0).status), 0) << "a group that does not exist has no alarm";
  EXPECT_EQ(entry(1, 0).rowCount, 1);
}

TEST_F(BusDecode, ModelsWithoutItemsStillGetTheirRows) {
  // A model row whose item file was never loaded: a row, no blocks, and no
  // alarm items to evaluate.
  SettingQ7Row ghost{};
  ghost.connectionKind = connect::kDI;
  std::strcpy(ghost.modelName, "GHOST-1");
  std::strcpy(ghost.itemFile, "ghost.itm");
  ghost.longValue = 0x5000;
  ghost.longMask = 0xF000;
  addSettingQ7(ghost);
  hear(busFrame(kIndoor, 40, 0x61, unitData(kRom, 0, 0x5123)));
  EXPECT_EQ(discoveryState(entry(1, 40).status), 3);
  EXPECT_STREQ(row(1, 40, 0).name, "GHOST-1");
  EXPECT_EQ(row(1, 40, 0).dataBlockCount, 0);
  EXPECT_EQ(row(1, 40, 0).triggerSlotCount, 0);
  liveDataTable().advanceSnapshot();
  ASSERT_TRUE(gatherBusSnapshot());
  EXPECT_EQ(alarmState(entry(1, 40).status), 0);

  // A target file without unit groups: one nameless row with its blocks.
  KishuEntry bare{};
  std::strcpy(bare.fileName, "bare.itm");
  int32_t file = -1;
  int32_t block = -1;
  ASSERT_TRUE(addKishu(bare, file));
  ASSERT_TRUE(addKishuData(file, "0A0B", 16, block));
  ASSERT_TRUE(buildTargetTables("bare.itm", 14));
  EXPECT_EQ(discoveryState(entry(0, 0).status), 1);
  AirconRow target = row(0, 0, 0);
  EXPECT_STREQ(target.name, "");
  EXPECT_EQ(target.identity[0], 14);
  EXPECT_EQ(target.triggerSlotCount, 0);
  EXPECT_EQ(target.dataBlockCount, 1);
  EXPECT_FALSE(buildTargetTables("ghost.itm", 14));
}

TEST_F(BusDecode, HexPairsSpellOnlyUpperCaseDigits) {
  EXPECT_EQ(hexPairToByte('E', '0'), 0xE0);
  EXPECT_EQ(hexPairToByte('e', '0'), 0x00);
  EXPECT_EQ(hexPairToByte('G', '1'), 0x01);
  EXPECT_EQ(hexPairToByte('9', 'F'), 0x9F);
}

}  // namespace
