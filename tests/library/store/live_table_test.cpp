#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "base/table_growth.h"
#include "library/support/library_test.h"
#include "store/discovery_table.h"
#include "store/live_table.h"

using namespace tramsoll;

namespace {

const uint8_t kIdentity[kRowIdentitySize] = {4, 0xE0, 3, 1, 0x0F};

std::string takeLine() {
  char line[kLineSize];
  return debugRing().take(line) ? line : "<empty>";
}

// One indoor unit at address 9 with one row and the blocks "E0" (4 bytes)
// and "E1" (2 bytes), and a second unit at address 10 with its own "E0".
class LiveTableTest : public testsupport::LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    AirconRow row{};
    std::strcpy(row.name, "indoor");
    std::memcpy(row.identity, kIdentity, kRowIdentitySize);
    ASSERT_TRUE(units->addOrUpdateEntry(1 | 9 << 8, 0, 0, 0x0C00));
    ASSERT_TRUE(units->addRow(1, 9, row, 3));
    ASSERT_TRUE(live.addBlock(1, 9, kIdentity, "E0", 4));
    ASSERT_TRUE(live.addBlock(1, 9, kIdentity, "E1", 2));
    ASSERT_TRUE(units->addRow(1, 10, row, 0));
    ASSERT_TRUE(live.addBlock(1, 10, kIdentity, "E0", 4));
    live.setFrameKeyLength(6);
  }
  // Stores time t and data bytes {t, t+1, t+2, t+3} into block E0 of unit 9.
  void storeE0(uint32_t t) {
    uint8_t data[4] = {uint8_t(t), uint8_t(t + 1), uint8_t(t + 2), uint8_t(t + 3)};
    ASSERT_TRUE(live.storeByNumber(1, 9, 0, 0, t, {}, data));
  }
  uint32_t timeAt(int number) {
    Snapshot snapshot;
    EXPECT_TRUE(live.readSnapshot(1, 9, 0, "E0", number, snapshot));
    return snapshot.time;
  }

  std::unique_ptr<AutoAdrTable> units = std::make_unique<AutoAdrTable>();
  LiveDataTable live{*units};
};

TEST_F(LiveTableTest, HistoryKeeps121FinishedSnapshotsOldestFirst) {
  EXPECT_EQ(live.snapshotCount(), 0);
  for (uint32_t t = 1; t <= 3; ++t) {
    storeE0(t);
    live.advanceSnapshot();
  }
  EXPECT_EQ(live.snapshotCount(), 3);
  EXPECT_EQ(timeAt(0), 1u);
  EXPECT_EQ(timeAt(2), 3u);
  EXPECT_EQ(timeAt(3), 3u);  // the current snapshot carries the last one on

  for (uint32_t t = 4; t <= 200; ++t) {
    storeE0(t);
    live.advanceSnapshot();
  }
  // 200 advances: the 121 finished snapshots are those stored before
  // advances 80 .. 200.
  EXPECT_EQ(live.snapshotCount(), 121);
  EXPECT_EQ(timeAt(0), 80u);
  EXPECT_EQ(timeAt(120), 200u);
  Snapshot snapshot;
  ASSERT_TRUE(live.readSnapshot(1, 9, 0, "E0", 120, snapshot));
  EXPECT_EQ(snapshot.dataLength, 4);
  EXPECT_EQ(snapshot.data[0], 200);
  EXPECT_EQ(snapshot.data[3], 203);
  EXPECT_EQ(snapshot.data[4], 0);
  EXPECT_FALSE(live.readSnapshot(1, 9, 0, "E0", 121, snapshot));
  EXPECT_EQ(snapshot.time, 0u);
  EXPECT_FALSE(live.readSnapshot(1, 9, 0, "E0", -1, snapshot));
  EXPECT_EQ(live.snapshotSlot(0), (live.currentSlot() + 1) % kSnapshotSlots);
}

TEST_F(LiveTableTest, CatchUpAdvanceEndsAsSingleAdvancesWouldWithBoundedWork) {
  auto otherUnits = std::make_unique<AutoAdrTable>();
  LiveDataTable other{*otherUnits};
  AirconRow row{};
  std::memcpy(row.identity, kIdentity, kRowIdentitySize);
  otherUnits->addRow(1, 9, row, 0);
  other.addBlock(1, 9, kIdentity, "E0", 4);
  other.setFrameKeyLength(6);

  for (uint32_t gap : {5u, 121u, 122u, 300u, 1000u}) {
    for (uint32_t t = 1; t <= 7; ++t) {
      uint8_t data[4] = {uint8_t(gap), uint8_t(t), 0, 0};
      live.storeByNumber(1, 9, 0, 0, t, {}, data);
      other.storeByNumber(1, 9, 0, 0, t, {}, data);
      live.advanceSnapshot();
      other.advanceSnapshot();
    }
    live.advanceSnapshot(gap);
    for (uint32_t i = 0; i < gap; ++i) other.advanceSnapshot();
    ASSERT_EQ(live.currentSlot(), other.currentSlot()) << gap;
    ASSERT_EQ(live.snapshotCount(), other.snapshotCount()) << gap;
    for (int n = 0; n < kReadableSnapshots; ++n) {
      Snapshot a, b;
      live.readSnapshot(1, 9, 0, "E0", n, a);
      other.readSnapshot(1, 9, 0, "E0", n, b);
      ASSERT_EQ(0, std::memcmp(&a, &b, sizeof a)) << "gap " << gap << " number " << n;
    }
  }

  // A jump of decades: one bounded call, and every kept snapshot repeats the
  // last stored one.
  storeE0(42);
  auto start = std::chrono::steady_clock::now();
  live.advanceSnapshot(4000000000u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(live.snapshotCount(), 121);
  EXPECT_EQ(timeAt(0), 42u);
  EXPECT_EQ(timeAt(120), 42u);
}

TEST_F(LiveTableTest, StoresWriteOnlyTheCurrentSnapshotOfTheirBlock) {
  const uint8_t frame[10] = {0x31, 9, 2, 3, 4, 5, 6, 7, 8, 9};
  const uint8_t data[10] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  ASSERT_TRUE(live.storeByKey(1, 9, 0, "E0", 1000, frame, data));
  ASSERT_TRUE(live.storeByKey(1, 9, 0, "E1", 1001, frame, std::span(data, 1)));  // short source
  EXPECT_FALSE(live.storeByKey(1, 9, 0, "E2", 1002, frame, data));
  EXPECT_FALSE(live.storeByKey(1, 9, 0, "E0XXXXXX", 1002, frame, data));
  EXPECT_FALSE(live.storeByNumber(1, 9, 0, 2, 1002, frame, data));
  EXPECT_FALSE(live.storeByNumber(1, 9, 1, 0, 1002, frame, data));
  live.advanceSnapshot();

  Snapshot snapshot;
  ASSERT_TRUE(live.readSnapshot(1, 9, 0, "E0", 0, snapshot));
  EXPECT_EQ(snapshot.time, 1000u);
  EXPECT_EQ(0, std::memcmp(snapshot.extra, frame, 6));
  EXPECT_EQ(snapshot.extra[6], 0);  // six extra bytes kept in this mode
  EXPECT_EQ(snapshot.extra[7], 0);
  EXPECT_EQ(0, std::memcmp(snapshot.data, data, 4));
  EXPECT_EQ(snapshot.data[4], 0);  // only the block's length is taken
  ASSERT_TRUE(live.readSnapshot(1, 9, 0, "E1", 0, snapshot));
  EXPECT_EQ(snapshot.data[0], 10);
  EXPECT_EQ(snapshot.data[1], 0);
  ASSERT_TRUE(live.readSnapshot(1, 10, 0, "E0", 0, snapshot));
  EXPECT_EQ(snapshot.time, 0u);  // another unit's block is untouched

  // A block that receives nothing keeps what the advance carried on.
  live.advanceSnapshot();
  ASSERT_TRUE(live.readSnapshot(1, 9, 0, "E0", 1, snapshot));
  EXPECT_EQ(snapshot.time, 1000u);
  EXPECT_EQ(snapshot.data[3], 13);

  BlockView view;
  ASSERT_TRUE(live.fetchBlock(1, 9, 0, "E0", 1, view));
  EXPECT_EQ(view.length, 4);
  EXPECT_EQ(view.time, 1000u);
  EXPECT_EQ(view.bytes[2], 12);
  EXPECT_FALSE(live.fetchBlock(1, 9, 0, "E0", 121, view));
  EXPECT_EQ(view.bytes, nullptr);
  EXPECT_FALSE(live.fetchBlock(0, 9, 0, "E0", 0, view));

  DataBlockHeader header;
  ASSERT_TRUE(live.blockHeader(1, 9, 0, 1, header));
  EXPECT_STREQ(header.key, "E1");
  EXPECT_EQ(header.dataLength, 2);
  EXPECT_EQ(header.times[live.snapshotSlot(0)], 1001u);
  EXPECT_FALSE(live.blockHeader(1, 9, 0, 2, header));
  EXPECT_EQ(header.key[0], 0);
}

TEST_F(LiveTableTest, AddBlockRefusesRepeatedKeysBadKeysAndLengthsOutside1To256) {
  EXPECT_FALSE(live.addBlock(1, 9, kIdentity, "E0", 8));
  EXPECT_FALSE(live.addBlock(1, 9, kIdentity, "F0", 0));
  EXPECT_FALSE(live.addBlock(1, 9, kIdentity, "F0", 257));
  EXPECT_FALSE(live.addBlock(1, 9, kIdentity, "", 4));
  EXPECT_FALSE(live.addBlock(1, 9, kIdentity, nullptr, 4));
  EXPECT_FALSE(live.addBlock(1, 9, kIdentity, "ABCDEFGH", 4));
  const uint8_t otherIdentity[kRowIdentitySize] = {4, 0xE0, 3, 1, 0x0E};
  EXPECT_FALSE(live.addBlock(1, 9, otherIdentity, "F0", 4));
  EXPECT_FALSE(live.addBlock(1, 11, kIdentity, "F0", 4));
  ASSERT_TRUE(live.addBlock(1, 9, kIdentity, "ABCDEFG", 256));

  AutoAdrEntry entry;
  AirconRow row;
  ASSERT_TRUE(units->rowByIndex(1, 9, 0, entry, row));
  EXPECT_EQ(row.dataBlockCount, 3);
  const DataBlock* block = live.blockAt(1, 9, 0, 2);
  ASSERT_NE(block, nullptr);
  EXPECT_STREQ(block->key, "ABCDEFG");
  EXPECT_EQ(block->dataLength, 256);
  EXPECT_EQ(live.findBlock(1, 9, 0, "ABCDEFG"), block);
  EXPECT_EQ(live.findBlock(1, 9, 0, "ABC"), nullptr);
}

TEST_F(LiveTableTest, TriggerListStartsAt0xFAndHoldsFourBitsPerSlot) {
  uint32_t flags = 7;
  EXPECT_FALSE(live.getTriggerFlags(1, 9, 0, 0, flags));  // no list yet
  EXPECT_EQ(flags, 0u);
  EXPECT_FALSE(live.setTriggerFlags(1, 9, 0, 3, 1));  // 3 slots: 0..2
  EXPECT_FALSE(live.getTriggerFlags(1, 9, 0, 0, flags));  // a refused set makes no list

  ASSERT_TRUE(live.setTriggerFlags(1, 9, 0, 1, 0x36));
  for (int slot : {0, 2}) {
    ASSERT_TRUE(live.getTriggerFlags(1, 9, 0, slot, flags));
    EXPECT_EQ(flags, 0xFu);
  }
  ASSERT_TRUE(live.getTriggerFlags(1, 9, 0, 1, flags));
  EXPECT_EQ(flags, 0x6u);
  EXPECT_FALSE(live.getTriggerFlags(1, 9, 0, 3, flags));
  AutoAdrEntry entry;
  AirconRow row;
  units->rowByIndex(1, 9, 0, entry, row);
  EXPECT_EQ(row.triggerFlagCount, 3);
  EXPECT_FALSE(live.setTriggerFlags(1, 10, 0, 0, 1));  // a row without trigger slots

  live.freeTriggerFlags();
  EXPECT_FALSE(live.getTriggerFlags(1, 9, 0, 1, flags));
  units->rowByIndex(1, 9, 0, entry, row);
  EXPECT_EQ(row.triggerFlagCount, 0);
  ASSERT_TRUE(live.setTriggerFlags(1, 9, 0, 2, 0));
  ASSERT_TRUE(live.getTriggerFlags(1, 9, 0, 1, flags));
  EXPECT_EQ(flags, 0xFu);  // a fresh list after the release
}

TEST_F(LiveTableTest, LogEntriesAreCopiedBoundedPerSlot) {
  LogEntry out;
  ASSERT_TRUE(live.getLogEntry(1, 9, 0, 7, out));  // none set yet: zeros
  EXPECT_EQ(out.name[0], 0);
  LogEntry entry{};
  std::memset(entry.name, 'n', sizeof entry.name);  // no terminator
  entry.used = 1;
  entry.switchPosition = 1;
  entry.range = 5;
  entry.offset = -40;
  entry.fullScale = 120;
  std::strcpy(entry.unit, "kPa");
  EXPECT_FALSE(live.setLogEntry(1, 9, 0, 8, entry));
  EXPECT_FALSE(live.setLogEntry(1, 9, 1, 0, entry));
  ASSERT_TRUE(live.setLogEntry(1, 9, 0, 6, entry));
  ASSERT_TRUE(live.getLogEntry(1, 9, 0, 6, out));
  EXPECT_EQ(std::string(out.name), std::string(63, 'n'));
  EXPECT_EQ(out.used, 1);
  EXPECT_EQ(out.switchPosition, 1);
  EXPECT_EQ(out.range, 5);
  EXPECT_EQ(out.offset, -40);
  EXPECT_EQ(out.fullScale, 120);
  EXPECT_STREQ(out.unit, "kPa");
  ASSERT_TRUE(live.getLogEntry(1, 9, 0, 5, out));
  EXPECT_EQ(out.range, 0);
  EXPECT_FALSE(live.getLogEntry(1, 9, 0, -1, out));
  EXPECT_FALSE(live.getLogEntry(0, 9, 0, 0, out));
}

TEST_F(LiveTableTest, AllocationFailuresKeepTheTablesAndNameTheTable) {
  failNextGrowths(1);
  EXPECT_FALSE(live.addBlock(1, 9, kIdentity, "F0", 4));
  EXPECT_EQ(live.blockAt(1, 9, 0, 2), nullptr);
  EXPECT_EQ(takeLine(), "MemMngr: malloc error for DataTable");

  LogEntry entry{};
  failNextGrowths(1);
  EXPECT_FALSE(live.setLogEntry(1, 9, 0, 0, entry));
  EXPECT_EQ(takeLine(), "MemMngr: malloc error for LogTable");

  failNextGrowths(1);
  EXPECT_FALSE(live.setTriggerFlags(1, 9, 0, 0, 1));
  uint32_t flags;
  EXPECT_FALSE(live.getTriggerFlags(1, 9, 0, 0, flags));
  EXPECT_EQ(takeLine(), "MemMngr: malloc error for TrConditn");
  EXPECT_TRUE(hasBits(errFault, fault::kMemory));

  EXPECT_TRUE(live.addBlock(1, 9, kIdentity, "F0", 4));
  EXPECT_TRUE(live.setTriggerFlags(1, 9, 0, 0, 1));
}

using LiveTablesOfGathering = testsupport::LibraryTest;

TEST_F(LiveTablesOfGathering, FreeUnitTablesEmptiesEverythingAndRestartsTheHistory) {
  AirconRow row{};
  row.identity[0] = 6;
  ASSERT_TRUE(autoAdrTable().addOrUpdateEntry(200, 0, 0, 0x0C00));
  ASSERT_TRUE(autoAdrTable().addRow(200, 0, row, 10));
  ASSERT_TRUE(liveDataTable().addBlock(200, 0, row.identity, "A", 40));
  ASSERT_TRUE(liveDataTable().setTriggerFlags(200, 0, 0, 0, 1));
  liveDataTable().advanceSnapshot(5);
  ASSERT_EQ(liveDataTable().snapshotCount(), 5);

  freeUnitTables();
  EXPECT_EQ(autoAdrTable().count(), 0);
  EXPECT_EQ(liveDataTable().snapshotCount(), 0);
  EXPECT_EQ(liveDataTable().findBlock(200, 0, 0, "A"), nullptr);
  freeUnitTables();  // freeing empty tables is harmless
  EXPECT_EQ(autoAdrTable().count(), 0);
}

}  // namespace
