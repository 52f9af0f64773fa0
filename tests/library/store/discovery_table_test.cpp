#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "base/table_growth.h"
#include "library/support/library_test.h"
#include "store/discovery_table.h"

using namespace tramsoll;

namespace {

uint32_t keyWord(uint8_t kind, uint8_t address, uint8_t byte3 = 0, uint8_t byte4 = 0) {
  return entryKeyWord(kind, address, byte3, byte4);
}

AirconRow rowTemplate(const char* name, uint8_t id0, uint8_t id1 = 0, uint8_t id2 = 0, uint8_t id3 = 0,
                      uint8_t id4 = 0) {
  AirconRow row{};
  std::strncpy(row.name, name, sizeof row.name - 1);
  std::strncpy(row.secondText, "item.itm", sizeof row.secondText - 1);
  uint8_t identity[kRowIdentitySize] = {id0, id1, id2, id3, id4};
  std::memcpy(row.identity, identity, kRowIdentitySize);
  row.numberByte = 99;  // not taken from the template
  row.triggerSlotCount = 77;
  return row;
}

std::string takeLine() {
  char line[kLineSize];
  return debugRing().take(line) ? line : "<empty>";
}

class DiscoveryTableTest : public testsupport::LibraryTest {
 protected:
  std::unique_ptr<AutoAdrTable> table = std::make_unique<AutoAdrTable>();
};

TEST_F(DiscoveryTableTest, AddOrUpdateKeepsOneEntryPerKeyAndReplacesOnlyTheMaskedStatusBits) {
  ASSERT_TRUE(table->addOrUpdateEntry(keyWord(0, 5, 0x11, 0x22), 0x1234, 0xCAFEF00D, 0xFFFFFFFF));
  AutoAdrEntry entry;
  ASSERT_TRUE(table->entryByKey(0, 5, entry));
  EXPECT_EQ(entry.kind, 0);
  EXPECT_EQ(entry.address, 5);
  EXPECT_EQ(entry.keyByte3, 0x11);
  EXPECT_EQ(entry.keyByte4, 0x22);
  EXPECT_EQ(entry.number, 0x1234);
  EXPECT_EQ(entry.value, 0xCAFEF00Du);
  EXPECT_EQ(entry.status, 0xFCFFu);  // bits 8-9 and 16-31 never come from an add
  EXPECT_EQ(entry.group, 0);
  EXPECT_EQ(entry.groupByte, 255);
  EXPECT_EQ(entry.rowCount, 0);

  ASSERT_TRUE(table->setGroup(0, 5, 0x00070003));
  ASSERT_TRUE(table->addOrUpdateEntry(keyWord(0, 5, 0x33, 0x44), 7, 1, 0x0C05));
  EXPECT_EQ(table->count(), 1);
  ASSERT_TRUE(table->entryByKey(0, 5, entry));
  EXPECT_EQ(entry.keyByte3, 0x33);
  EXPECT_EQ(entry.keyByte4, 0x44);
  EXPECT_EQ(entry.number, 7);
  EXPECT_EQ(entry.value, 1u);
  EXPECT_EQ(entry.status, 0x0C05u);
  EXPECT_EQ(entry.group, 3);  // an update leaves the map assignment alone
  EXPECT_EQ(entry.groupByte, 7);

  // A changed copy stored back: bit 12 (silent) set on top of state 3.
  entry.status |= 0x1000;
  entry.number = 8;
  ASSERT_TRUE(table->storeEntry(entry));
  ASSERT_TRUE(table->entryByKey(0, 5, entry));
  EXPECT_EQ(entry.status, 0x1C05u);
  EXPECT_EQ(entry.number, 8);
  EXPECT_EQ(entry.keyByte4, 0x44);

  // The same address under another kind is another entry, appended behind.
  ASSERT_TRUE(table->addOrUpdateEntry(keyWord(1, 5), 0, 0, 0));
  EXPECT_EQ(table->count(), 2);
  ASSERT_TRUE(table->entryByIndex(1, entry));
  EXPECT_EQ(entry.kind, 1);
  EXPECT_FALSE(table->entryByIndex(2, entry));
  EXPECT_EQ(entry.address, 0);
}

TEST_F(DiscoveryTableTest, AddRowCreatesEntryWithGroupByteZeroAndRefusesARepeatedIdentity) {
  ASSERT_TRUE(table->addRow(1, 9, rowTemplate("PUHY-P250", 22, 1, 2, 3, 4), 12));
  AutoAdrEntry entry;
  AirconRow row;
  ASSERT_TRUE(table->rowByIndex(1, 9, 0, entry, row));
  EXPECT_EQ(entry.groupByte, 0);
  EXPECT_EQ(entry.group, 0);
  EXPECT_EQ(entry.status, 0u);
  EXPECT_EQ(entry.rowCount, 1);
  EXPECT_STREQ(row.name, "PUHY-P250");
  EXPECT_STREQ(row.secondText, "item.itm");
  EXPECT_EQ(row.identity[0], 22);
  EXPECT_EQ(row.identity[4], 4);
  EXPECT_EQ(row.triggerSlotCount, 12);
  EXPECT_EQ(row.numberByte, 0);
  EXPECT_EQ(row.triggerFlagCount, 0);
  EXPECT_EQ(row.dataBlockCount, 0);

  EXPECT_FALSE(table->addRow(1, 9, rowTemplate("other name", 22, 1, 2, 3, 4), 5));
  ASSERT_TRUE(table->entryByKey(1, 9, entry));
  EXPECT_EQ(entry.rowCount, 1);

  // One identity byte differs: a second row.
  ASSERT_TRUE(table->addRow(1, 9, rowTemplate("second", 22, 1, 2, 3, 5), 300));
  ASSERT_TRUE(table->rowByIndex(1, 9, 1, entry, row));
  EXPECT_EQ(entry.rowCount, 2);
  EXPECT_EQ(row.triggerSlotCount, 255);  // the count is one byte
  EXPECT_FALSE(table->rowByIndex(1, 9, 2, entry, row));
  EXPECT_EQ(row.name[0], 0);
  EXPECT_EQ(entry.kind, 0);
}

TEST_F(DiscoveryTableTest, RowTextsAreCutToTheirFields) {
  AirconRow longName = rowTemplate("", 6);
  std::memset(longName.name, 'N', sizeof longName.name);           // no terminator
  std::memset(longName.secondText, 'S', sizeof longName.secondText);
  ASSERT_TRUE(table->addRow(200, 0, longName, 10));
  std::string text1(100, 'a');
  ASSERT_TRUE(table->setRowTexts(200, 0, 0, 4, text1.c_str(), "serial", nullptr));
  AutoAdrEntry entry;
  AirconRow row;
  ASSERT_TRUE(table->rowByIndex(200, 0, 0, entry, row));
  EXPECT_EQ(std::string(row.name), std::string(63, 'N'));
  EXPECT_EQ(std::string(row.secondText), std::string(31, 'S'));
  EXPECT_EQ(row.numberByte, 4);
  EXPECT_EQ(std::string(row.linkText[0]), std::string(63, 'a'));
  EXPECT_STREQ(row.linkText[1], "serial");
  EXPECT_STREQ(row.linkText[2], "");
  EXPECT_FALSE(table->setRowTexts(200, 0, 1, 4, "x", "y", "z"));
  EXPECT_FALSE(table->setRowTexts(200, 1, 0, 4, "x", "y", "z"));
}

TEST_F(DiscoveryTableTest, SearchesAnswerTheFirstMatchInTableOrder) {
  // outdoor: value 50 with number 0 (skipped), then 7, then 8
  table->addOrUpdateEntry(keyWord(0, 1), 0, 50, 0);
  table->addOrUpdateEntry(keyWord(1, 2), 9, 50, 0);  // indoor: not an outdoor answer
  table->addOrUpdateEntry(keyWord(0, 3), 7, 50, 0);
  table->addOrUpdateEntry(keyWord(0, 4), 8, 50, 0);
  uint16_t number = 1;
  ASSERT_TRUE(table->findNumberByValue(50, number));
  EXPECT_EQ(number, 7);
  EXPECT_FALSE(table->findNumberByValue(51, number));
  EXPECT_EQ(number, 0);

  // indoor: the entry needs a first row of identity 22
  uint8_t address = 1;
  EXPECT_FALSE(table->findIndoorAddressByValue(50, address));
  table->addRow(1, 2, rowTemplate("no", 4), 0);
  table->addOrUpdateEntry(keyWord(1, 6), 0, 50, 0);
  table->addRow(1, 6, rowTemplate("yes", 22), 0);
  table->addOrUpdateEntry(keyWord(1, 8), 0, 50, 0);
  table->addRow(1, 8, rowTemplate("later", 22), 0);
  ASSERT_TRUE(table->findIndoorAddressByValue(50, address));
  EXPECT_EQ(address, 6);

  // rows by (group, kind, number byte)
  uint8_t found = 9;
  int rowIndex = 9;
  EXPECT_FALSE(table->findRowByNumber(0, 1, 3, found, rowIndex));
  EXPECT_EQ(found, 0);
  EXPECT_EQ(rowIndex, 0);
  table->addRow(1, 8, rowTemplate("second", 22, 1), 0);
  table->setRowTexts(1, 8, 1, 3, "", "", "");
  table->setGroup(1, 6, 2);
  table->setGroup(1, 8, 2);
  table->setRowTexts(1, 6, 0, 3, "", "", "");
  ASSERT_TRUE(table->findRowByNumber(2, 1, 3, found, rowIndex));
  EXPECT_EQ(found, 6);
  EXPECT_EQ(rowIndex, 0);
  table->setGroup(1, 6, 4);
  ASSERT_TRUE(table->findRowByNumber(2, 1, 3, found, rowIndex));
  EXPECT_EQ(found, 8);
  EXPECT_EQ(rowIndex, 1);
  EXPECT_FALSE(table->findRowByNumber(2, 0, 3, found, rowIndex));
  EXPECT_FALSE(table->findRowByNumber(2, 1, 3 + 256, found, rowIndex));
}

TEST_F(DiscoveryTableTest, MarksAreSetPerGroupAndClearedForAll) {
  table->addOrUpdateEntry(keyWord(0, 1), 0, 0, 0);
  table->addOrUpdateEntry(keyWord(1, 2), 0, 0, 0);
  table->addOrUpdateEntry(keyWord(1, 3), 0, 0, 0);
  table->setGroup(0, 1, 5);
  table->setGroup(1, 2, 5);
  table->setGroup(1, 3, 6);
  EXPECT_TRUE(table->markGroup(5, 1));
  EXPECT_TRUE(table->markGroup(6, 2));
  EXPECT_TRUE(table->markGroup(5, 2));
  EXPECT_FALSE(table->markGroup(7, 1));
  EXPECT_FALSE(table->markGroup(5, 3));
  AutoAdrEntry entry;
  table->entryByKey(0, 1, entry);
  EXPECT_EQ(entry.marks, 3u);
  table->entryByKey(1, 3, entry);
  EXPECT_EQ(entry.marks, 2u);

  EXPECT_TRUE(table->unmarkAll(2));
  EXPECT_FALSE(table->unmarkAll(0));
  table->entryByKey(0, 1, entry);
  EXPECT_EQ(entry.marks, 1u);
  table->entryByKey(1, 3, entry);
  EXPECT_EQ(entry.marks, 0u);
}

TEST_F(DiscoveryTableTest, MissingOrOutOfRangeKeysFindNothing) {
  table->addOrUpdateEntry(keyWord(200, 0), 1, 2, 3);
  AutoAdrEntry entry;
  AirconRow row;
  EXPECT_FALSE(table->entryByKey(200, 1, entry));
  EXPECT_FALSE(table->entryByKey(456, 0, entry));  // would alias kind 200 in a byte
  EXPECT_FALSE(table->entryByKey(200, -1, entry));
  EXPECT_FALSE(table->entryByKey(200, 256, entry));
  EXPECT_FALSE(table->setGroup(1, 0, 1));
  EXPECT_FALSE(table->addRow(-1, 0, rowTemplate("x", 1), 0));
  EXPECT_FALSE(table->rowByIndex(200, 0, 0, entry, row));  // the entry has no rows
  EXPECT_EQ(entry.value, 0u);
  EXPECT_EQ(table->count(), 1);
}

TEST_F(DiscoveryTableTest, FreeAllEmptiesTheTableAndItsIndex) {
  for (int address = 0; address < 256; ++address) table->addOrUpdateEntry(keyWord(1, address), 0, 0, 0);
  table->addRow(1, 17, rowTemplate("x", 1), 3);
  EXPECT_EQ(table->count(), 256);
  table->freeAll();
  EXPECT_EQ(table->count(), 0);
  AutoAdrEntry entry;
  EXPECT_FALSE(table->entryByKey(1, 17, entry));
  ASSERT_TRUE(table->addOrUpdateEntry(keyWord(1, 17), 0, 0, 0));
  ASSERT_TRUE(table->entryByIndex(0, entry));
  EXPECT_EQ(entry.address, 17);
  EXPECT_EQ(entry.rowCount, 0);
}

TEST_F(DiscoveryTableTest, GrowthFailureKeepsTheTableAndReportsTheTable) {
  table->addOrUpdateEntry(keyWord(0, 1), 0, 0, 0);
  failNextGrowths(1);
  EXPECT_FALSE(table->addOrUpdateEntry(keyWord(0, 2), 0, 0, 0));
  EXPECT_EQ(table->count(), 1);
  AutoAdrEntry entry;
  EXPECT_FALSE(table->entryByKey(0, 2, entry));
  EXPECT_TRUE(hasBits(errFault, fault::kMemory));
  EXPECT_EQ(takeLine(), "MemMngr: malloc error for AutoAdrTable");

  // An update needs no growth.
  failNextGrowths(1);
  EXPECT_TRUE(table->addOrUpdateEntry(keyWord(0, 1), 3, 0, 0));
  failNextGrowths(0);

  failNextGrowths(1);
  EXPECT_FALSE(table->addRow(0, 1, rowTemplate("x", 1), 0));
  ASSERT_TRUE(table->entryByKey(0, 1, entry));
  EXPECT_EQ(entry.rowCount, 0);
  EXPECT_EQ(takeLine(), "MemMngr: malloc error for AirconTable");
  EXPECT_TRUE(table->addRow(0, 1, rowTemplate("x", 1), 0));  // memory back: the same row goes in
}

}  // namespace
