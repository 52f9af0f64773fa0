#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "library/support/library_test.h"
#include "tables/model_tables.h"

using namespace tramsoll;

namespace {

int32_t addModel(const char* fileName) {
  KishuEntry entry{};
  std::strcpy(entry.fileName, fileName);
  entry.firstReportValue = 7;
  std::strcpy(entry.reportTextA[0], "report");
  int32_t index = -1;
  EXPECT_TRUE(addKishu(entry, index));
  return index;
}

ItemRecord makeItem(const char* name, uint32_t flags) {
  ItemRecord item{};
  std::strcpy(item.name, name);
  item.flags = flags;
  std::strcpy(item.fullScale, "100");
  std::strcpy(item.program, "btoua,d[0],C");
  return item;
}

UnitGroup makeGroup(uint8_t type, uint8_t number, const char* name) {
  UnitGroup group{};
  group.unitType = type;
  group.groupNumber = number;
  std::strcpy(group.groupName, name);
  std::strcpy(group.groupTexts[0], "MODEL-A");
  return group;
}

using ModelTables = testsupport::LibraryTest;

TEST_F(ModelTables, ItemFilesAreKeyedByNameIgnoringCase) {
  EXPECT_EQ(addModel("OutDoor1.ktb"), 0);
  EXPECT_EQ(addModel("indoor.ktb"), 1);
  int32_t index = -1;
  ASSERT_TRUE(findKishuByFile("OUTDOOR1.KTB", index));
  EXPECT_EQ(index, 0);
  ASSERT_TRUE(findKishuByFile("indoor.KTB", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(findKishuByFile("other.ktb", index));
  EXPECT_EQ(index, 0);

  KishuEntry again{};
  std::strcpy(again.fileName, "outdoor1.ktb");
  EXPECT_FALSE(addKishu(again, index));
  EXPECT_EQ(index, 0);
  EXPECT_EQ(kishuCount(), 2);

  KishuEntry out{};
  ASSERT_TRUE(getKishu(0, out));
  EXPECT_STREQ(out.fileName, "OutDoor1.ktb");
  EXPECT_EQ(out.firstReportValue, 7);
  EXPECT_STREQ(out.reportTextA[0], "report");
  std::memset(&out, 0x55, sizeof out);
  EXPECT_FALSE(getKishu(2, out));
  EXPECT_EQ(out.fileName[0], '\0');
  EXPECT_EQ(out.firstReportValue, 0);
  EXPECT_FALSE(getKishu(-1, out));
}

TEST_F(ModelTables, DataBlocksAreKeyedExactly) {
  int32_t model = addModel("m.ktb");
  int32_t index = -1;
  ASSERT_TRUE(addKishuData(model, "ABCDEFGH", 256, index));  // eight characters, kept whole
  EXPECT_EQ(index, 0);
  ASSERT_TRUE(addKishuData(model, "abcdefgh", 16, index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(addKishuData(model, "ABCDEFGH", 5, index));
  EXPECT_FALSE(addKishuData(model + 1, "x", 5, index));

  uint16_t length = 0;
  ASSERT_TRUE(findKishuDataLength(model, "ABCDEFGH", length));
  EXPECT_EQ(length, 256);
  EXPECT_FALSE(findKishuDataLength(model, "ABCDEFG", length));
  EXPECT_EQ(length, 0);
  EXPECT_FALSE(findKishuDataLength(model, "ABCDEFGHI", length));

  char name[kBlockNameSize];
  ASSERT_TRUE(getKishuData(model, 1, name, length));
  EXPECT_STREQ(name, "abcdefgh");
  EXPECT_EQ(length, 16);
  EXPECT_FALSE(getKishuData(model, 2, name, length));
  EXPECT_STREQ(name, "");

  KishuEntry entry{};
  ASSERT_TRUE(getKishu(model, entry));
  EXPECT_EQ(entry.dataBlockCount, 2);
}

TEST_F(ModelTables, CountsStopAt255) {
  int32_t model = addModel("m.ktb");
  int32_t index = 0;
  for (int i = 0; i < 255; ++i) ASSERT_TRUE(addKishuData(model, std::to_string(i).c_str(), 1, index));
  EXPECT_FALSE(addKishuData(model, "255", 1, index));
  for (int i = 0; i < 255; ++i) ASSERT_TRUE(addItem(model, 0, 0, makeItem(std::to_string(i).c_str(), 0)));
  EXPECT_FALSE(addItem(model, 0, 0, makeItem("255", 0)));
  KishuEntry entry{};
  ASSERT_TRUE(getKishu(model, entry));
  EXPECT_EQ(entry.dataBlockCount, 255);
  UnitGroup group{};
  ASSERT_TRUE(findKishuSub(model, 0, 0, group));
  EXPECT_EQ(group.itemCount, 255);
}

TEST_F(ModelTables, UnitGroupsAreKeyedByTypeAndNumber) {
  int32_t model = addModel("m.ktb");
  ASSERT_TRUE(addKishuSub(model, makeGroup(0, 1, "outdoor one")));
  ASSERT_TRUE(addKishuSub(model, makeGroup(1, 1, "indoor one")));
  EXPECT_FALSE(addKishuSub(model, makeGroup(0, 1, "again")));
  EXPECT_FALSE(addKishuSub(model + 1, makeGroup(0, 2, "no file")));

  UnitGroup group{};
  ASSERT_TRUE(findKishuSub(model, 1, 1, group));
  EXPECT_STREQ(group.groupName, "indoor one");
  EXPECT_STREQ(group.groupTexts[0], "MODEL-A");
  EXPECT_FALSE(findKishuSub(model, 1, 2, group));
  EXPECT_STREQ(group.groupName, "");
  ASSERT_TRUE(getKishuSub(model, 0, group));
  EXPECT_STREQ(group.groupName, "outdoor one");
  EXPECT_FALSE(getKishuSub(model, 2, group));
}

TEST_F(ModelTables, ItemsLandInTheirGroupCreatingItWhenUndeclared) {
  int32_t model = addModel("m.ktb");
  ASSERT_TRUE(addKishuSub(model, makeGroup(0, 0, "outdoor")));
  ASSERT_TRUE(addItem(model, 1, 2, makeItem("Room temp", 0)));
  UnitGroup group{};
  ASSERT_TRUE(findKishuSub(model, 1, 2, group));
  EXPECT_EQ(group.itemCount, 1);
  EXPECT_STREQ(group.groupName, "");
  ASSERT_TRUE(findKishuSub(model, 0, 0, group));
  EXPECT_EQ(group.itemCount, 0);

  ItemRecord item{};
  ASSERT_TRUE(getItem(model, 1, 2, 0, item));
  EXPECT_STREQ(item.name, "Room temp");
  EXPECT_STREQ(item.program, "btoua,d[0],C");
  EXPECT_FALSE(getItem(model, 0, 0, 0, item));
  EXPECT_STREQ(item.name, "");
  EXPECT_FALSE(getItem(model, 1, 2, 1, item));
  EXPECT_FALSE(getItem(model, 1, 2, -1, item));
  EXPECT_FALSE(getItem(model + 1, 1, 2, 0, item));
}

TEST_F(ModelTables, DuplicateItemNamesAreRefusedAndTheFirstKept) {
  int32_t model = addModel("m.ktb");
  ASSERT_TRUE(addItem(model, 0, 0, makeItem("Pd", 1u << itemflag::kTypeShift)));
  ItemRecord second = makeItem("Pd", 4u << itemflag::kTypeShift);
  std::strcpy(second.program, "on,x");
  EXPECT_FALSE(addItem(model, 0, 0, second));
  // The same name in another group is another item.
  EXPECT_TRUE(addItem(model, 1, 0, second));
  ItemRecord item{};
  ASSERT_TRUE(getItem(model, 0, 0, 0, item));
  EXPECT_STREQ(item.program, "btoua,d[0],C");
  EXPECT_EQ(itemDataType(item), 1);
  EXPECT_FALSE(getItem(model, 0, 0, 1, item));
}

TEST_F(ModelTables, FlagsKeepTheEightFlagsDefaultGraphAndType) {
  int32_t model = addModel("m.ktb");
  ASSERT_TRUE(addItem(model, 0, 0, makeItem("all", 0xFFFFFFFFu)));
  ASSERT_TRUE(addItem(model, 0, 0, makeItem("typed", 0x0185u | (6u << itemflag::kTypeShift))));
  ItemRecord item{};
  ASSERT_TRUE(getItem(model, 0, 0, 0, item));
  EXPECT_EQ(item.flags, 0xF9FFu);
  EXPECT_EQ(itemDataType(item), 31);
  ASSERT_TRUE(getItem(model, 0, 0, 1, item));
  EXPECT_EQ(item.flags & 0xFFu, 0x85u);
  EXPECT_NE(item.flags & itemflag::kDefaultGraph, 0u);
  EXPECT_EQ(itemDataType(item), datatype::kFloat2);
}

TEST_F(ModelTables, ItemNamesComeBackCutBeforeThePressureUnit) {
  int32_t model = addModel("m.ktb");
  ASSERT_TRUE(addItem(model, 0, 0, makeItem("Pd(kgf/cm2)", 0)));
  ASSERT_TRUE(addItem(model, 0, 0, makeItem("(kgf/cm2)", 0)));
  ASSERT_TRUE(addItem(model, 0, 0, makeItem("Ps (kgf/cm2) high", 0)));
  ASSERT_TRUE(addItem(model, 0, 0, makeItem("Ps(kgf)", 0)));
  const char* expected[] = {"Pd", "", "Ps ", "Ps(kgf)"};
  for (int i = 0; i < 4; ++i) {
    ItemRecord item{};
    ASSERT_TRUE(getItem(model, 0, 0, i, item));
    EXPECT_STREQ(item.name, expected[i]);
  }
}

TEST_F(ModelTables, UnterminatedTextsAreKeptInsideTheirFields) {
  int32_t model = addModel("m.ktb");
  ItemRecord item = makeItem("x", 0);
  std::memset(item.name, 'n', sizeof item.name);
  std::memset(item.program, 'p', sizeof item.program);
  ASSERT_TRUE(addItem(model, 0, 0, item));
  ItemRecord out{};
  ASSERT_TRUE(getItem(model, 0, 0, 0, out));
  EXPECT_EQ(std::string(out.name), std::string(kItemNameSize - 1, 'n'));
  EXPECT_EQ(std::strlen(out.program), static_cast<std::size_t>(kProgramSize - 1));

  KishuEntry entry{};
  std::memset(entry.fileName, 'f', sizeof entry.fileName);
  int32_t index = 0;
  ASSERT_TRUE(addKishu(entry, index));
  ASSERT_TRUE(findKishuByFile(std::string(31, 'F').c_str(), index));
}

TEST(FindText, OneBasedPositionOfThePart) {
  EXPECT_EQ(findText("Pd(kgf/cm2)", "(kgf/cm2)"), 3);
  EXPECT_EQ(findText("abcabc", "c"), 3);
  EXPECT_EQ(findText("abc", "abc"), 1);
  EXPECT_EQ(findText("abc", "abcd"), 0);
  EXPECT_EQ(findText("", "a"), 0);
  EXPECT_EQ(findText("a", ""), 0);
  EXPECT_EQ(findText(nullptr, "a"), 0);
}

}  // namespace
