// Gathering in every access mode over the simulated adapter, the test
// running the timer steps on a manual clock: what the map's exports show of
// the units, their models and their live data.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/gathering.h"
#include "engine/settings.h"
#include "engine/unit_tables.h"
#include "library/engine/gathering_support.h"
#include "library/support/program_folder.h"
#include "simulator.h"
#include "store/discovery_table.h"
#include "store/live_source.h"
#include "store/live_table.h"
#include "tables/setting_file.h"
#include "tables/setting_tables.h"
#include "tramsoll.h"

using namespace tramsoll;
using namespace gathertest;

namespace {

struct Scan {
  int32_t state[256], rows[256], alarm[256], value[256], key[256];
};

class UnitExports : public SimulatedGatheringTest {
 protected:
  void SetUp() override {
    SimulatedGatheringTest::SetUp();
    startSimulator(kSmallInstallation);
  }
  int32_t start(int32_t mode, const char* target = " ", int32_t initialScan = 0) {
    return initDataGather(1, 1, 3, mode, initialScan, target, 5);
  }
  Scan scan(int32_t unitClass, int32_t expected = 0) {
    Scan s;
    EXPECT_EQ(getQ7AuAdrStatus(unitClass, s.state, s.rows, s.alarm, s.value, s.key), expected);
    return s;
  }
  std::string modelName(int32_t unitClass, int32_t address, int32_t row = 1, int32_t expected = 0) {
    char name[64];
    int32_t length = -1;
    EXPECT_EQ(getQ7AuAdrInfo(unitClass, address, row, name, &length), expected);
    EXPECT_EQ(length, static_cast<int32_t>(std::strlen(name)));
    return name;
  }
  // The item over the unit's newest finished snapshot.
  std::string shown(const char* file, int type, int group, const char* item, int kind, int address) {
    ItemOutput out{};
    int newest = liveDataTable().snapshotCount() - 1;
    evaluateLiveItemAt(itemOf(file, type, group, item), kind, address, 0, newest, out);
    return out.text;
  }
  std::string candidates(const char* key, int32_t& count, int32_t expected = 0) {
    char text[4096] = {};
    int32_t length = -1;
    EXPECT_EQ(getKishuKouho(key, text, &length, &count), expected);
    EXPECT_EQ(length, static_cast<int32_t>(std::strlen(text)));
    return text;
  }
  bool heard(int32_t unitClass, int address, int state) { return scan(unitClass).state[address] == state; }
  // The bus is heard until every unit of the installation is known.
  bool busKnown() {
    return stepUntil([&] {
      return heard(0, 1, 3) && heard(0, 2, 2) && heard(0, 5, 1) && heard(1, 17, 3) && heard(1, 18, 3) &&
             heard(100, 32, 3);
    });
  }
};

TEST_F(UnitExports, BusMonitoringShowsEveryUnitWithItsModel) {
  ASSERT_EQ(start(2), 0);
  ASSERT_TRUE(busKnown());

  Scan outdoor = scan(0);
  EXPECT_EQ(outdoor.rows[1], 1);
  EXPECT_EQ(outdoor.value[1], 0x0101);
  EXPECT_EQ(outdoor.key[1], 1);
  EXPECT_EQ(outdoor.rows[2], 1) << "a unit without rows counts one";
  EXPECT_EQ(outdoor.state[5], 1) << "no model row knows it";
  EXPECT_EQ(outdoor.state[0], 0);
  Scan indoor = scan(1);
  EXPECT_EQ(indoor.value[17], 0x0101);
  EXPECT_EQ(indoor.key[17], 1);
  EXPECT_EQ(indoor.key[18], 2);
  Scan central = scan(100);
  EXPECT_EQ(central.key[32], 32);

  EXPECT_EQ(modelName(0, 1), "TALMA-224");
  EXPECT_EQ(modelName(1, 17), "VELUN-28");
  EXPECT_EQ(modelName(100, 32), "CORDA-CX1");
  EXPECT_EQ(modelName(0, 1, 2, 3), "");
  EXPECT_EQ(modelName(0, 1, 0, 3), "");
  EXPECT_EQ(modelName(0, 5, 1, 3), "");
  EXPECT_EQ(modelName(7, 1, 1, 2), "");

  // Live data and the alarm state at the gather slots.
  ASSERT_TRUE(slotsUntil([&] { return scan(0).alarm[1] == 1; }));
  EXPECT_EQ(shown("outdr01.itm", 0, 1, "Outlet temp", 0, 1), "23.0 C");
  EXPECT_EQ(shown("indr01.itm", 1, 1, "Room temp", 1, 17), "21.0 C");
  EXPECT_EQ(shown("indr01.itm", 1, 1, "Room temp", 1, 18), "22.0 C");
  EXPECT_EQ(scan(1).alarm[17], 0);

  int32_t count = -1;
  EXPECT_EQ(candidates("TALMA-224", count), "TALMA-224A,TALMA-224B,TALMA-224C,");
  EXPECT_EQ(count, 3);
  EXPECT_EQ(candidates("NOPE", count, 1), "");
  EXPECT_EQ(count, 0);
}

TEST_F(UnitExports, MapFixesOpenModelsAndPlacesUnits) {
  ASSERT_EQ(start(2), 0);
  ASSERT_TRUE(busKnown());
  EXPECT_EQ(setDkishuName(0, 2, 1, "NO-SUCH-MODEL"), 5);
  EXPECT_EQ(setDkishuName(0, 9, 1, "TALMA-280K"), 3);
  EXPECT_EQ(setDkishuName(5, 2, 1, "TALMA-280K"), 2);
  EXPECT_EQ(setDkishuName(0, 2, 1, " "), 0) << "no model chosen";
  EXPECT_EQ(scan(0).state[2], 2);
  EXPECT_EQ(setDkishuName(0, 2, 1, "TALMA-280K"), 0);
  EXPECT_EQ(scan(0).state[2], 3);
  EXPECT_EQ(modelName(0, 2), "TALMA-280K");
  EXPECT_EQ(setDkishuName(0, 2, 1, "TALMA-280KB"), 7);
  EXPECT_EQ(setDkishuName(0, 1, 1, "TALMA-224"), 7);

  EXPECT_EQ(setNetMapInfo(1, 17, 2, 1, 3, -1, "a", "b", "c"), 4);
  EXPECT_EQ(setNetMapInfo(1, 19, 1, 1, 3, -1, "a", "b", "c"), 3);
  EXPECT_EQ(setNetMapInfo(2, 17, 1, 1, 3, -1, "a", "b", "c"), 2);
  std::string longText(100, 'x');
  EXPECT_EQ(setNetMapInfo(1, 17, 1, 0x105, 0x10003, -1, "VELUN-28W", "SN-77", longText.c_str()), 0);
  AutoAdrEntry entry;
  AirconRow row;
  ASSERT_TRUE(autoAdrTable().rowByIndex(1, 17, 0, entry, row));
  EXPECT_EQ(entry.group, 3);
  EXPECT_EQ(entry.groupByte, 255);
  EXPECT_EQ(row.numberByte, 5);
  EXPECT_STREQ(row.linkText[0], "VELUN-28W");
  EXPECT_STREQ(row.linkText[1], "SN-77");
  EXPECT_EQ(std::string(row.linkText[2]), std::string(63, 'x'));
  int address = -1;
  uint8_t found = 0;
  int rowIndex = -1;
  ASSERT_TRUE(autoAdrTable().findRowByNumber(3, 1, 5, found, rowIndex));
  address = found;
  EXPECT_EQ(address, 17);
}

TEST_F(UnitExports, InitialScanRefusesModelChoices) {
  ASSERT_EQ(start(2, " ", 1), 0);
  ASSERT_TRUE(stepUntil([&] { return heard(0, 2, 2); }));
  EXPECT_EQ(setDkishuName(0, 2, 1, "TALMA-280K"), 6);
}

TEST_F(UnitExports, OneSystemAsksForEveryBlockEachSlot) {
  ASSERT_EQ(start(4, "PARVO-710"), 0);
  ASSERT_TRUE(settle());
  ASSERT_TRUE(slotsUntil([&] { return heard(0, 0, 3) && heard(1, 0, 3); }));
  auto received = simulator->received();
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(received[0].bytes, (Bytes{0x02, 'S', 'P', 0x01, 0x03}));
  int requests = 0;
  for (const auto& packet : received) {
    if (packet.bytes.size() == 6 && (packet.bytes[1] == 'B' || packet.bytes[1] == 'C')) ++requests;
  }
  EXPECT_GE(requests, 4) << "both blocks at every slot";

  EXPECT_EQ(modelName(0, 0), "PARVO-710");
  EXPECT_EQ(modelName(1, 0), "PARVO-I1");
  EXPECT_EQ(scan(1).state[1], 0) << "the board says the second indoor group is not there";
  EXPECT_EQ(modelName(1, 1), "PARVO-I2");
  EXPECT_EQ(scan(1).alarm[0], 1);
  EXPECT_EQ(shown("syst01.itm", 0, 1, "Pressure", 0, 0), "17.0 kgf/cm2");
  EXPECT_EQ(shown("syst01.itm", 1, 1, "Room temp", 0, 0), "22.0 C");

  int32_t count = -1;
  EXPECT_EQ(candidates("PARVO-710", count), "PARVO-710A,PARVO-710B,");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(candidates("PARVO-I1", count), "PARVO-I1A,");
  EXPECT_EQ(candidates("TALMA-224", count, 1), "") << "bus models are not this target's groups";
}

TEST_F(UnitExports, OneUnitOfEveryBoardKind) {
  for (int kind = 8; kind <= 14; ++kind) {
    SCOPED_TRACE(kind);
    std::string model = boardModelOf(kind);
    ASSERT_EQ(start(8, model.c_str()), 0) << ::testing::PrintToString(drainDebugLines());
    EXPECT_EQ(boardKindOf(gatherState.load()), kind);
    ASSERT_TRUE(settle());
    EXPECT_EQ(simulator->mode(), 3);
    std::string file = "board" + std::to_string(kind) + ".itm";
    ASSERT_TRUE(slotsUntil([&] { return heard(0, 0, 3); }));
    EXPECT_EQ(shown(file.c_str(), 0, 1, "Board temp", 0, 0), "23.0 C");
    EXPECT_EQ(modelName(0, 0), model);
    int32_t count = -1;
    EXPECT_EQ(candidates(model.c_str(), count), "BORIN-CAND,");
    EXPECT_EQ(stopGathering(), 0);
  }
}

TEST_F(UnitExports, LoggerSwitchesAndChannels) {
  int32_t sw1 = -1, sw2 = -1;
  EXPECT_EQ(setSensorParm(1, 1, "Flow", 0, 5, 0, 0, " "), 2) << "logger not on";
  EXPECT_EQ(changeDataGather(3), 1) << "not gathering";
  ASSERT_EQ(start(3), 0);  // bit 1 starts the logger alone
  EXPECT_EQ(gatherState.load() & (gather::kLogger | gather::kBusMonitor), gather::kLogger);
  ASSERT_TRUE(slotsUntil([&] { return shown("sens01.itm", 200, 0, "Channel 2", 200, 0) == "42.0 V"; }));
  EXPECT_EQ(shown("sens01.itm", 200, 0, "Channel 1", 200, 0), "23.0 V");
  for (const auto& packet : simulator->received()) EXPECT_TRUE(packet.bytes.size() < 2 || packet.bytes[1] != 'S');
  EXPECT_EQ(scan(200).state[0], 3);
  EXPECT_EQ(modelName(200, 0), "SENTA-8");

  EXPECT_EQ(getSensorSwPos(&sw1, &sw2), 0);
  EXPECT_EQ(sw1, 0);
  EXPECT_EQ(sw2, 1);
  std::string error;
  ASSERT_TRUE(simulator->command("switches 1", error));
  clock.advance(std::chrono::seconds(30));
  ASSERT_TRUE(stepUntil([&] { return getSensorSwPos(&sw1, &sw2) == 0 && sw1 == 1 && sw2 == 0; }));

  EXPECT_EQ(setSensorParm(9, 1, "Flow", 0, 5, 0, 0, " "), 1);
  EXPECT_EQ(setSensorParm(3, 1, std::string(64, 'n').c_str(), 0, 5, 0, 0, " "), 3);
  EXPECT_EQ(setSensorParm(7, 1, "Flow", 0, 5, 0, 0, std::string(32, 'u').c_str()), 3);
  EXPECT_EQ(setSensorParm(7, 1, std::string(63, 'n').c_str(), 1, 2, -40, 160, "m3/h"), 0);
  LogEntry channel;
  ASSERT_TRUE(liveDataTable().getLogEntry(200, 0, 0, 6, channel));
  EXPECT_EQ(std::string(channel.name), std::string(63, 'n'));
  EXPECT_EQ(channel.used, 1);
  EXPECT_EQ(channel.switchPosition, 1);
  EXPECT_EQ(channel.range, 2);
  EXPECT_EQ(channel.offset, -40);
  EXPECT_EQ(channel.fullScale, 160);
  EXPECT_STREQ(channel.unit, "m3/h");

  EXPECT_EQ(changeDataGather(3), 2) << "the logger is not a main mode";
  int32_t count = -1;
  EXPECT_EQ(candidates("SENTA-8", count, 1), "");
}

TEST_F(UnitExports, LoggerJoinsAndLeavesABusGathering) {
  ASSERT_EQ(start(2), 0);
  EXPECT_EQ(changeDataGather(4), 2) << "the bus must stay the main mode";
  EXPECT_EQ(changeDataGather(3), 0);
  EXPECT_NE(gatherState.load() & gather::kLogger, 0u);
  ASSERT_TRUE(slotsUntil([&] { return shown("sens01.itm", 200, 0, "Channel 1", 200, 0) == "23.0 V"; }));
  EXPECT_EQ(setSensorParm(1, 1, "Flow", 0, 5, 0, 0, " "), 0);

  EXPECT_EQ(setNetMapInfo(200, 0, 1, 0, 4, 9, "", "", ""), 0);
  EXPECT_EQ(changeDataGather(2), 0);
  EXPECT_EQ(gatherState.load() & gather::kLogger, 0u);
  AutoAdrEntry sensor;
  ASSERT_TRUE(autoAdrTable().entryByKey(200, 0, sensor));
  EXPECT_EQ(sensor.group, 0);
  EXPECT_EQ(sensor.groupByte, 255);
  EXPECT_EQ(setSensorParm(1, 1, "Flow", 0, 5, 0, 0, " "), 2);
}

TEST_F(UnitExports, ExportsRefuseWhenNotGathering) {
  Scan s = scan(0, 1);
  EXPECT_EQ(s.state[1], 0);
  EXPECT_EQ(modelName(0, 1, 1, 1), "");
  EXPECT_EQ(setNetMapInfo(0, 1, 1, 0, 0, 0, "", "", ""), 1);
  EXPECT_EQ(setDkishuName(0, 1, 1, "TALMA-224"), 1);
  int32_t count = -1;
  EXPECT_EQ(candidates("TALMA-224", count, 1), "");
  ASSERT_EQ(start(2), 0);
  int32_t values[5][256];
  for (auto& v : values) std::fill(std::begin(v), std::end(v), 7);
  EXPECT_EQ(getQ7AuAdrStatus(5, values[0], values[1], values[2], values[3], values[4]), 2);
  for (auto& v : values) EXPECT_EQ(v[17], 0);
}

// The scenario shipped for the program's simulated runs fits the sample
// model set: every unit is recognised as the scenario says, and the sample
// items show its data.
class SampleInstallation : public SampleInstallationTest {
 protected:
  std::string shown(const char* file, int type, const char* item, int kind, int address) {
    ItemOutput out{};
    evaluateLiveItemAt(itemOf(file, type, 0, item), kind, address, 0, liveDataTable().snapshotCount() - 1, out);
    return out.text;
  }
};

TEST_F(SampleInstallation, ScenarioFitsTheSampleModelSet) {
  startSampleInstallation();
  ASSERT_EQ(initDataGather(1, 1, 3, 2, 0, " ", 5), 0);
  int32_t state[3][256], alarm[3][256], rows[256], value[256], key[256];
  auto scanAll = [&] {
    getQ7AuAdrStatus(0, state[0], rows, alarm[0], value, key);
    getQ7AuAdrStatus(1, state[1], rows, alarm[1], value, key);
    getQ7AuAdrStatus(100, state[2], rows, alarm[2], value, key);
    return state[0][1] == 3 && state[0][2] == 3 && state[0][3] == 2 && state[0][6] == 1 && state[1][17] == 3 &&
           state[1][18] == 3 && state[1][19] == 3 && state[2][32] == 3;
  };
  ASSERT_TRUE(stepUntil(scanAll)) << "outdoor 1: " << state[0][1] << ", 2: " << state[0][2] << ", 3: "
                                  << state[0][3] << ", 6: " << state[0][6] << "; indoor 17: " << state[1][17]
                                  << ", 19: " << state[1][19] << "; central 32: " << state[2][32];
  char name[64];
  int32_t length = 0;
  for (auto [unitClass, address, model] :
       {std::tuple{0, 1, "TALMA-224"}, std::tuple{0, 2, "TALMA-280K"}, std::tuple{1, 18, "VELUN-28"},
        std::tuple{1, 19, "VELUN-36Z"}, std::tuple{100, 32, "CORDA-CX1"}}) {
    ASSERT_EQ(getQ7AuAdrInfo(unitClass, address, 1, name, &length), 0);
    EXPECT_STREQ(name, model);
  }
  char names[4096] = {};
  int32_t count = 0;
  ASSERT_EQ(getKishuKouho("TALMA-224", names, &length, &count), 0);
  EXPECT_STREQ(names, "TALMA-224A,TALMA-224B,TALMA-224C,");

  // The central unit's status frame is the last to come.
  ASSERT_TRUE(stepUntil([] {
    const DataBlock* status = liveDataTable().findBlock(100, 32, 0, "D0RUN");
    return status && status->data[liveDataTable().currentSlot()][5] == 0x0C;
  }));
  ASSERT_TRUE(slotsUntil([&] {
    scanAll();
    return alarm[0][1] == 1 && alarm[1][18] == 2 && shown("cntr01.itm", 100, "UnitsRunning", 100, 32) == "12 units";
  })) << "outdoor 1 warns, indoor 18 is in error, the central unit's data came";
  EXPECT_EQ(alarm[1][17], 0);
  EXPECT_EQ(shown("outdr01.itm", 0, "OutdoorAir", 0, 1), "-5.0 C");
  EXPECT_EQ(shown("indr01.itm", 1, "RoomTemp", 1, 17), "23.0 C");
  EXPECT_EQ(shown("indr01.itm", 1, "ZoneTemp", 1, 19), "21.0 C");
}

}  // namespace
