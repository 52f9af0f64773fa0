// The item lookup's sources: a live snapshot and the record a recording made
// of it answer alike through the one DataSource path the exports use.
#include <string>
#include <vector>

#include "files/item_lookup.h"
#include "library/files/replay_support.h"

using namespace replaytest;

namespace {

class ItemSourceTest : public ReplayTest {};

TEST_F(ItemSourceTest, LiveSnapshotAndItsRecordAnswerAlikeThroughTheItemSource) {
  constexpr int kSlots = 12;
  addSystem();
  recordPeriodic(kSlots);
  ASSERT_EQ(listFolder(), 1);
  ASSERT_EQ(selectDataFile(customerFolder().c_str(), 1), 0);

  struct Row {
    int kind, number, item;
    int slot;  // 1 .. kSlots: the file's record, the live history's record kLiveRecords - kSlots + slot
    std::string text;
    int32_t graphValue;
  };
  const std::vector<Row> rows = {
      {unitKind::kOutdoor, 1, kTemp, 1, "117.0 C", 58},
      {unitKind::kOutdoor, 1, kTemp, kSlots, "172.0 C", 86},
      {unitKind::kOutdoor, 1, kRun, 2, "Run", 1},
      {unitKind::kOutdoor, 1, kCount, 3, "142 x", 28},        // of 500
      {unitKind::kIndoor, 3, 1, 4, "5.0 C", 5},                // (20 + 34 x 7 + 3) & 0xFF of 100
  };
  for (const Row& row : rows) {
    for (int32_t source : {itemsource::kLive, itemsource::kReplay}) {
      SCOPED_TRACE("source " + std::to_string(source) + ", item " + std::to_string(row.item) + ", slot " +
                   std::to_string(row.slot));
      FoundItem found;
      ASSERT_EQ(findItemSource({source, customerFolder().c_str(), 1, 3, row.kind, row.number}, {5, kStart}, found),
                itemfound::kFound);
      ItemRecord item;
      ASSERT_TRUE(unitItem(found.unit, row.item, item));
      ItemSource& records = *found.source;
      ASSERT_TRUE(records.holdRange(1, kLiveRecords));
      int32_t record = source == itemsource::kLive ? kLiveRecords - kSlots + row.slot : row.slot;
      ASSERT_EQ(records.moveTo(record), RecordState::Held);
      ItemOutput output{};
      ASSERT_TRUE(evaluateRecordItem(item, records, output));
      EXPECT_STREQ(output.text, row.text.c_str());
      EXPECT_EQ(output.graphValue, row.graphValue);
      EXPECT_EQ(output.time, uint32_t(kStart + 5 * row.slot - 2)) << "the data's stamp, two seconds before the slot";
    }
  }
}

}  // namespace
