// The load of all tables over the sample set and the broken set, and the
// sample models' items converted from the raw bytes that testdata/README.md
// documents for each unit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "library/support/library_test.h"
#include "library/support/program_folder.h"
#include "library/tables/fake_source.h"
#include "tables/all_tables.h"
#include "tables/conversion.h"
#include "tables/conversion_tables.h"
#include "tables/model_tables.h"
#include "tables/setting_tables.h"
#include "tables/table_words.h"
#include "tramsoll.h"

using namespace tramsoll;
using testsupport::drainDebugLines;
using tramsoll::testing::FakeSource;
using Lines = std::vector<std::string>;

namespace {

class AllTablesTest : public testsupport::LibraryTest {
 protected:
  testsupport::ProgramFolder folder;
};

int32_t modelIndex(const char* file) {
  int32_t index = -1;
  EXPECT_TRUE(findKishuByFile(file, index)) << file;
  return index;
}

std::vector<ItemRecord> itemsOf(int32_t model, int unitType, int groupNumber) {
  std::vector<ItemRecord> items;
  ItemRecord item;
  for (int32_t i = 0; getItem(model, unitType, groupNumber, i, item); ++i) items.push_back(item);
  return items;
}

const ItemRecord* findItem(const std::vector<ItemRecord>& items, const char* name) {
  for (const auto& item : items)
    if (std::strcmp(item.name, name) == 0) return &item;
  ADD_FAILURE() << "no item " << name;
  return nullptr;
}

std::vector<uint8_t> hexBytes(const char* text) {
  std::vector<uint8_t> bytes;
  for (const char* p = text; *p;) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    char pair[3] = {p[0], p[1], '\0'};
    bytes.push_back(static_cast<uint8_t>(std::strtoul(pair, nullptr, 16)));
    p += 2;
  }
  return bytes;
}

// The sample raw data of one unit of each sample model, block by block, as
// testdata/README.md gives them.
struct SampleBlock {
  const char* name;
  const char* bytes;  // hexadecimal pairs, or text when `isText`
  bool isText = false;
};

const std::map<std::string, std::vector<SampleBlock>>& sampleUnits() {
  static const std::map<std::string, std::vector<SampleBlock>> units = {
      {"outdr01.itm",
       {{"60ID", "00A1B2C3 02 A102"},
        {"E0RUN", "00A1B2C3 02 01 05 01 5A 0C80 30 01F4 0000"},
        {"E2TMP", "00A1B2C3 02 FB 1A80 0C05 83 1433 2D00 82"},
        {"E4PRS", "00A1B2C3 02 64 32 00FA 1208 2910 000580 010010 00004841 003C 00"},
        {"EAERR", "00A1B2C3 02 34 01 00"}}},
      {"indr01.itm",
       {{"61ID", "00000011 01 4102"},
        {"62ST", "00000011 01 01 02 1605 03 00 00"},
        {"63TMP", "00000011 01 17 1740 0A 0E 00 2D"},
        {"6BERR", "00000011 01 12 00 00"},
        {"E0ZONE", "00000011 01 32 15 0000 00"}}},
      {"cntr01.itm",
       {{"90ID", "00000021 00 00 E1 7001"},
        {"D0RUN", "00000021 00 0C 04 01 00000000"},
        {"D1SET", "00000021 00 1A00 1E 00000000"},
        {"D2ERR", "00000021 00 21 00 00"}}},
      {"sens01.itm", {{"LOG", "1011001FF3FF", true}}},
      {"syst01.itm",
       {{"B-01", "01 01 64 5A 3C 00 0000 0000000000000000"},
        {"B-02", "00 00 00 00 00 00 0000 0000000000000000"},
        {"C-01", "01 01 18 1A 00 000000 01 00 16 18 01 000000"}}},
      {"unit01.itm",
       {{"0010", "03 01 46 28 50 00 04D2 0000000000000000"}, {"0020", "01 15 03 00 000000000000000000000000"}}},
      {"unit02.itm",
       {{"10", "03 01 46 28 00 00 0000 0000000000000000"}, {"20", "01 15 00 00 000000000000000000000000"}}},
      {"unit03.itm", {{"1", "125.12F6E48A10  ", true}, {"2", "1E      ", true}}},
  };
  return units;
}

void addSampleBlocks(const char* file, FakeSource& source) {
  for (const SampleBlock& block : sampleUnits().at(file)) {
    if (block.isText)
      source.addText(block.name, block.bytes, 1700000000);
    else
      source.add(block.name, hexBytes(block.bytes), 1700000000);
  }
}

std::string shown(const char* file, int unitType, int groupNumber, const char* name) {
  FakeSource source;
  addSampleBlocks(file, source);
  SensorChannel channel;
  channel.fullScale = 100;
  std::strcpy(channel.unit, "kPa");
  source.setChannel(7, channel);
  auto items = itemsOf(modelIndex(file), unitType, groupNumber);
  const ItemRecord* item = findItem(items, name);
  ItemOutput out{};
  if (!item || !evaluateLiveItem(*item, source, out)) return "(failed)";
  return out.text;
}

TEST_F(AllTablesTest, SampleSetLoadsEveryModelWithoutAFault) {
  folder.copyTestdataSet();
  EXPECT_EQ(initTramsoll(), 0);
  EXPECT_EQ(drainDebugLines(), Lines{});
  EXPECT_EQ(kishuCount(), 8);

  // Item sections without a group go to the class of the row that named the
  // file: outdoor, indoor, central, sensor input.
  EXPECT_EQ(itemsOf(modelIndex("outdr01.itm"), 0, 0).size(), 33u);
  EXPECT_EQ(itemsOf(modelIndex("indr01.itm"), 1, 0).size(), 16u);
  EXPECT_EQ(itemsOf(modelIndex("cntr01.itm"), 100, 0).size(), 10u);
  EXPECT_EQ(itemsOf(modelIndex("sens01.itm"), 200, 0).size(), 10u);

  KishuEntry entry;
  ASSERT_TRUE(getKishu(modelIndex("OUTDR01.ITM"), entry));
  EXPECT_EQ(entry.firstReportValue, 2);
  EXPECT_EQ(entry.secondReportValue, 7);
  EXPECT_STREQ(entry.reportTextA[1], "Series-code");
  EXPECT_STREQ(entry.reportTextB[1], "E0RUN[5]");
  EXPECT_EQ(entry.dataBlockCount, 5);
  uint16_t length = 0;
  EXPECT_TRUE(findKishuDataLength(modelIndex("outdr01.itm"), "E4PRS", length));
  EXPECT_EQ(length, 26);

  // The one-system model's groups keep their programs and model names.
  UnitGroup group;
  ASSERT_TRUE(findKishuSub(modelIndex("syst01.itm"), 1, 2, group));
  EXPECT_STREQ(group.groupName, "PARVO-IU2");
  EXPECT_STREQ(group.groupProgram, "btob,C-01[8],0,NONE,FITTED");
  EXPECT_STREQ(group.groupTexts[0], "VELUN-28");
  EXPECT_STREQ(group.groupTexts[1], "VELUN-36Z");
  EXPECT_STREQ(group.groupTexts[2], "");
  EXPECT_EQ(group.itemCount, 4);

  // Analog and two-state default-graph marks; flags and names as written.
  auto outdoor = itemsOf(modelIndex("outdr01.itm"), 0, 0);
  const ItemRecord* freq = findItem(outdoor, "CompFreq");
  ASSERT_NE(freq, nullptr);
  EXPECT_EQ(freq->flags, 0x2u | itemflag::kDefaultGraph | datatype::kInteger << itemflag::kTypeShift);
  const ItemRecord* hp = findItem(outdoor, "HP");  // "(kgf/cm2)" is cut from the name
  ASSERT_NE(hp, nullptr);
  EXPECT_STREQ(hp->program, "btoua,E4PRS[5],ptable,1,kgf/cm2");
  const ItemRecord* error = findItem(outdoor, "Error");
  ASSERT_NE(error, nullptr);
  EXPECT_STREQ(error->stateText0, "0");
  EXPECT_STREQ(error->stateText1, "1");
  const ItemRecord* warning = findItem(outdoor, "Warning");
  ASSERT_NE(warning, nullptr);
  EXPECT_STREQ(warning->stateText1, "ON");
}

TEST_F(AllTablesTest, EveryItemOfEverySampleModelConvertsToAValueAndAText) {
  folder.copyTestdataSet();
  ASSERT_EQ(initTramsoll(), 0);
  for (int unitChoice : {0, 1}) {
    tempUnitFlag.store(unitChoice);
    for (int32_t model = 0; model < kishuCount(); ++model) {
      KishuEntry entry;
      ASSERT_TRUE(getKishu(model, entry));
      FakeSource source;
      addSampleBlocks(entry.fileName, source);
      source.sample = 1700000000;  // the time of a program that reads no data
      UnitGroup group;
      for (int32_t g = 0; getKishuSub(model, g, group); ++g) {
        for (const ItemRecord& item : itemsOf(model, group.unitType, group.groupNumber)) {
          SCOPED_TRACE(std::string(entry.fileName) + " " + item.name);
          ItemOutput out{};
          EXPECT_TRUE(evaluateLiveItem(item, source, out));
          EXPECT_NE(out.text[0], '\0');
          EXPECT_EQ(out.time, 1700000000u);
        }
      }
    }
  }
}

TEST_F(AllTablesTest, SampleUnitsShowTheValuesTheReadmeGives) {
  folder.copyTestdataSet();
  ASSERT_EQ(initTramsoll(), 0);
  struct Expected {
    const char* file;
    int unitType;
    int group;
    const char* item;
    const char* celsius;     // shown with C and kgf/cm2
    const char* fahrenheit;  // shown with F and PSI
  };
  const Expected cases[] = {
      {"outdr01.itm", 0, 0, "ModelCode", "a102", "a102"},
      {"outdr01.itm", 0, 0, "Operation", "RUN", "RUN"},
      {"outdr01.itm", 0, 0, "Mode", "COOL", "COOL"},
      {"outdr01.itm", 0, 0, "Defrost", "ON", "ON"},
      {"outdr01.itm", 0, 0, "OilReturn", "OFF", "OFF"},
      {"outdr01.itm", 0, 0, "CompFreq", "90 Hz", "90 Hz"},
      {"outdr01.itm", 0, 0, "CompCurrent", "12.50 A", "12.50 A"},
      {"outdr01.itm", 0, 0, "FanStep", "3 step", "3 step"},
      {"outdr01.itm", 0, 0, "EEVOpening", "500 pls", "500 pls"},
      {"outdr01.itm", 0, 0, "OutdoorAir", "-5.0 C", "23.0 F"},
      {"outdr01.itm", 0, 0, "DischargeTemp", "26.5 C", "79.7 F"},
      {"outdr01.itm", 0, 0, "SuctionTemp", "12.5 \xE2\x84\x83", "54.5 F"},
      {"outdr01.itm", 0, 0, "CoilTemp", "-3.0 C", "26.6 F"},
      {"outdr01.itm", 0, 0, "LiquidTemp", "20.2 C", "68.4 F"},
      {"outdr01.itm", 0, 0, "OilTemp", "45.0 C", "113.0 F"},
      {"outdr01.itm", 0, 0, "HeatSinkTemp", "45.0 C", "113.0 F"},
      {"outdr01.itm", 0, 0, "ColdStart", "NORMAL", "NORMAL"},
      {"outdr01.itm", 0, 0, "HP", "22.50 kgf/cm2", "320.03 PSI"},
      {"outdr01.itm", 0, 0, "LP", "5.00 kgf/cm2", "71.12 PSI"},
      {"outdr01.itm", 0, 0, "HPSatTemp", "39.0 C", "102.2 F"},
      {"outdr01.itm", 0, 0, "LPSatTemp", "-10.0 C", "14.0 F"},
      {"outdr01.itm", 0, 0, "BoardTemp", "25.0 C", "77.0 F"},
      {"outdr01.itm", 0, 0, "ExchangerTemp", "-18.0 C", "-0.4 F"},
      {"outdr01.itm", 0, 0, "Flow", "27.2 L/min", "27.2 L/min"},
      {"outdr01.itm", 0, 0, "Power", "5.50 kW", "5.50 kW"},
      {"outdr01.itm", 0, 0, "Energy", "65552 kWh", "65552 kWh"},
      {"outdr01.itm", 0, 0, "Capacity", "12.5 kW", "12.5 kW"},
      {"outdr01.itm", 0, 0, "InverterTemp", "60 C", "140 F"},
      {"outdr01.itm", 0, 0, "Error", "ERROR", "ERROR"},
      {"outdr01.itm", 0, 0, "Warning", "ON", "ON"},
      {"outdr01.itm", 0, 0, "ErrorCode", "E4", "E4"},
      {"outdr01.itm", 0, 0, "ErrorCodeTable", "E4", "E4"},
      {"indr01.itm", 1, 0, "Mode", "HEAT", "HEAT"},
      {"indr01.itm", 1, 0, "SetPoint", "22.5 C", "72.5 F"},
      {"indr01.itm", 1, 0, "RoomTempFine", "23.25 C", "73.85 F"},
      {"indr01.itm", 1, 0, "CoilOutlet", "14.0 \xE2\x84\x83", "57.2 F"},
      {"indr01.itm", 1, 0, "Humidity", "45 %", "45 %"},
      {"indr01.itm", 1, 0, "ErrorCode", "A2", "A2"},
      {"indr01.itm", 1, 0, "ErrorCodeTable", "P2", "P2"},
      {"indr01.itm", 1, 0, "ZoneDamper", "50 %", "50 %"},
      {"cntr01.itm", 100, 0, "Power", "ON", "ON"},
      {"cntr01.itm", 100, 0, "Kind", "00e1", "00e1"},
      {"cntr01.itm", 100, 0, "UnitsRunning", "12 units", "12 units"},
      {"cntr01.itm", 100, 0, "GroupSetPoint", "26.0 C", "78.8 F"},
      {"cntr01.itm", 100, 0, "ErrorCode", "G1", "G1"},
      {"sens01.itm", 200, 0, "Input1", "ON", "ON"},
      {"sens01.itm", 200, 0, "Input2", "OFF", "OFF"},
      {"sens01.itm", 200, 0, "Input7Raw", "511 cnt", "511 cnt"},
      {"sens01.itm", 200, 0, "Input7", "50.0 kPa", "50.0 kPa"},
      {"sens01.itm", 200, 0, "Input8Raw", "1023 cnt", "1023 cnt"},
      {"syst01.itm", 0, 1, "HP", "22.50 kgf/cm2", "320.03 PSI"},
      {"syst01.itm", 0, 1, "DischargeTemp", "60.0 C", "140.0 F"},
      {"syst01.itm", 0, 1, "ErrorCode", "  ", "  "},
      {"syst01.itm", 1, 2, "RoomTemp", "22.0 C", "71.6 F"},
      {"syst01.itm", 1, 2, "Warning", "ON", "ON"},
      {"unit01.itm", 0, 1, "HP", "8.00 kgf/cm2", "113.79 PSI"},
      {"unit01.itm", 0, 1, "RunHours", "1234 h", "1234 h"},
      {"unit01.itm", 1, 1, "RoomTemp", "21.3 C", "70.3 F"},
      {"unit02.itm", 0, 1, "CompFreq", "70 Hz", "70 Hz"},
      {"unit03.itm", 0, 1, "Mode", "HEAT", "HEAT"},
      {"unit03.itm", 0, 1, "RoomTemp", "21.5 C", "70.7 F"},
      {"unit03.itm", 0, 1, "OutdoorAir", "-10.0 C", "14.0 F"},
      {"unit03.itm", 0, 1, "ErrorCode", "E4", "E4"},
      {"unit03.itm", 0, 1, "RunHours", "424 h", "424 h"},
      {"unit03.itm", 0, 1, "CoilTemp", "30.0 C", "86.0 F"},
  };
  for (const Expected& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + c.item);
    tempUnitFlag.store(0);
    EXPECT_EQ(shown(c.file, c.unitType, c.group, c.item), std::string(c.celsius));
    tempUnitFlag.store(1);
    EXPECT_EQ(shown(c.file, c.unitType, c.group, c.item), std::string(c.fahrenheit));
  }
}

const Lines kBrokenSetLines = {
    "KtbError: vexa5.set(5) Error \"B19200C8PES1/S01T0100K02\"",
    // Each of the three passes meets the long line (line numbers count its
    // rest as a line of its own).
    "KtbError: brkout.itm(3) line over 1280 char",
    "KtbError: brkout.itm(3) line over 1280 char",
    "KtbError: brkout.itm(11) Addr Length Error",
    "KtbError: brkout.itm(12) Addr Length Error",
    "KtbError: brkout.itm(13) Data Length Error",
    "KtbError: brkout.itm(3) line over 1280 char",
    "KtbError: brkout.itm(18) Unknown-Cmd \"btoux\"",
    "KtbError: brkout.itm(19) Bad Addr \"E0RUNDAT[0]\"",
    "KtbError: brkout.itm(20) No table no \"9\"",
    "KtbError: can't open \"missing.itm\" file!!",
    "KtbError: refused file name \"../syst01.itm\"",
};

TEST_F(AllTablesTest, BrokenSetFailsWithEveryFaultNamed) {
  folder.copyTestdataSet("broken");
  EXPECT_EQ(initTramsoll(), 1);
  EXPECT_FALSE(hasBits(errFault, fault::kTableLoad));  // reported and cleared
  EXPECT_EQ(drainDebugLines(), kBrokenSetLines);

  // What could be read is kept: the good item, and no block of a refused line.
  int32_t model = modelIndex("brkout.itm");
  uint16_t length = 0;
  EXPECT_TRUE(findKishuDataLength(model, "60ID", length));
  EXPECT_FALSE(findKishuDataLength(model, "E0RUNDAT", length));
  EXPECT_FALSE(findKishuDataLength(model, "E2TMP", length));
  EXPECT_EQ(itemsOf(model, 0, 0).size(), 4u);
  ErrorCodeEntry entry;
  EXPECT_FALSE(getErrorCodeEntry(9, entry));  // two rows only
  ASSERT_TRUE(getErrorCodeEntry(1, entry));
  EXPECT_EQ(std::string(entry.rows[2], 16), "0123456789AbCdEF");

  // A second load skips the item file it holds; the others fail again.
  EXPECT_EQ(initTramsoll(), 1);
  EXPECT_EQ(drainDebugLines(), (Lines{"KtbError: vexa5.set(5) Error \"B19200C8PES1/S01T0100K02\"",
                                      "KtbError: can't open \"missing.itm\" file!!",
                                      "KtbError: refused file name \"../syst01.itm\""}));
}

TEST_F(AllTablesTest, CheckOnAFreshLibraryWritesTheCheckModeMessages) {
  folder.copyTestdataSet("broken");
  EXPECT_EQ(checkKishuTbl(), 1);
  Lines expected = kBrokenSetLines;
  // Words that are not part of a checked program are named in check mode.
  expected.insert(expected.begin() + 8, "KtbError: brkout.itm(18) Useless Cmd \"btoux\"");
  expected.insert(expected.begin() + 10, "KtbError: brkout.itm(19) Useless Cmd \"E0RUNDAT[0]\"");
  EXPECT_EQ(drainDebugLines(), expected);

  // The sample set has nothing to report even in check mode.
  resetLibraryState();
  testsupport::ProgramFolder sample;
  sample.copyTestdataSet();
  EXPECT_EQ(checkKishuTbl(), 0);
  EXPECT_EQ(drainDebugLines(), Lines{});
}

TEST_F(AllTablesTest, ItemFilesAreLoadedWithTheClassOfTheirFirstRow) {
  folder.copyTestdataSet();
  // Only the rows' item files matter here; they share one file per class.
  folder.writeScrambledLines("table/one.itm", {"[data]", "d, 2", "[item]", "x, 0, 0, I, 1, btoua, d[0], u"});
  folder.writeScrambledLines("vexa5.set", {"DC, C1, one.itm, 1110xx01/0111xxxxxxxx0001",
                                           "DI, I1, ONE.ITM, 0100xxxx0000xxxx", "L, L1, one.itm",
                                           "P, P1, one.itm", "SL, S1, one.itm, B9600C8PES1/S01T0100K02"});
  EXPECT_EQ(initTramsoll(), 0);
  EXPECT_EQ(drainDebugLines(), Lines{});
  EXPECT_EQ(kishuCount(), 1);
  int32_t model = modelIndex("one.itm");
  EXPECT_EQ(itemsOf(model, 100, 0).size(), 1u);
  // The logger row loads its file again, as a sensor input; the held entry
  // and blocks stay, the items land in class 200.
  EXPECT_EQ(itemsOf(model, 200, 0).size(), 1u);
  EXPECT_EQ(itemsOf(model, 1, 0).size(), 0u);
  EXPECT_EQ(itemsOf(model, 0, 0).size(), 0u);
}

}  // namespace
