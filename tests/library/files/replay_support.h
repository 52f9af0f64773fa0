// Recorded files for the replay tests, made by the recording code over a
// gathering set up by hand (see recording_support.h), and the model whose
// items read them back.
//
// System 3: outdoor unit 1 at address 16 and indoor units 2 and 3 at 33 and
// 34, each with the groups "E0" and "E1" of 20 bytes. A periodic recording
// at 5 s writes record n (1-based) at kStart + 5n; its bytes follow the
// pattern of that slot, stamped two seconds earlier.
#pragma once

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "files/recording_step.h"
#include "library/files/recording_support.h"
#include "library/support/periodic_start.h"
#include "library/tables/fake_source.h"
#include "tramsoll.h"

namespace replaytest {

using namespace recordingtest;
using tramsoll::testing::makeItem;

// Items of the outdoor unit, 1-based.
constexpr int kTemp = 1;     // E0[0] in C, full scale 200, shown by default
constexpr int kRun = 2;      // bit 0 of E0[1]: "Stop" / "Run"
constexpr int kMessage = 3;  // a text item, never graphed
constexpr int kFan = 4;      // bit 1 of E0[1], type code 7: "Off" / "On"
constexpr int kCount = 5;    // E1[2] as a whole number, type code 4
constexpr int kOutdoorItems = 5;

// E0[0] of the outdoor unit in record n: the slot's low byte plus 16 x 7.
inline int outdoorTemp(int n) { return (5 * n + 112) & 0xFF; }

inline std::vector<uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class ReplayTest : public RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    addItemTo(0, 0, "Temp", "btoua,E0[0],C", datatype::kAnalog, "200", "", "", true);
    addItemTo(0, 0, "Run", "btob,E0[1],0,Stop,Run", datatype::kDigital, "", "Stop", "Run");
    addItemTo(0, 0, "Message", "btoua,E0[2],hex", datatype::kText, "", "", "");
    addItemTo(0, 0, "Fan", "btob,E0[1],1,Off,On", datatype::kOnOff, "", "Off", "On");
    addItemTo(0, 0, "Count(kgf/cm2)", "btoua,E1[2],x", datatype::kInteger, "500", "", "");
    addItemTo(1, 0, "Room", "btoua,E0[3],C", datatype::kAnalog, "100", "", "");
  }

  void addItemTo(int kind, int group, const char* name, const char* program, int32_t type, const char* fullScale,
                 const char* state0, const char* state1, bool graph = false) {
    ItemRecord item = makeItem(program, type, fullScale);
    std::strcpy(item.name, name);
    std::strcpy(item.stateText0, state0);
    std::strcpy(item.stateText1, state1);
    if (graph) item.flags |= itemflag::kDefaultGraph;
    ASSERT_TRUE(addItem(model, kind, group, item));
  }

  void addSystem(int triggerSlots = 0) {
    std::vector<BlockSpec> groups = {{"E0", 20}, {"E1", 20}};
    addUnit(unitKind::kOutdoor, 16, 3, 1, groups, triggerSlots);
    addUnit(unitKind::kIndoor, 33, 3, 2, groups);
    addUnit(unitKind::kIndoor, 34, 3, 3, groups);
  }

  // Records `count` periodic records of system 3 and answers the file's path.
  // `beforeRecord(n)` runs before record n (1-based) is gathered.
  std::string recordPeriodic(int count, const char* customer = "C001",
                             const std::function<void(int)>& beforeRecord = {}) {
    EXPECT_EQ(setFileHeader(customer, "Customer", "Person", "Map A", customerFolder().c_str()), 0);
    EXPECT_EQ(testsupport::startPeriodic(3, 5), 0);
    for (int n = 1; n <= count; ++n) {
      uint32_t slot = uint32_t(kStart + 5 * n);
      if (beforeRecord) beforeRecord(n);
      gatherSlot(slot);
      appendPeriodicRecord(slot);
    }
    std::string path = saveSlot(3).name;
    EXPECT_EQ(saveConstData(0, nullptr, 0), 0);
    return path;
  }

  // A trigger recording of system 3 into the customer folder: `before`
  // records at 10 s, the newest of them the trigger record, then `after`.
  void recordTrigger(int before, int after) {
    ASSERT_EQ(setFileHeader("C001", "", "", "", customerFolder().c_str()), 0);
    ASSERT_EQ(saveTrigData(1, 3, 1), 0);
    for (int n = 1; n <= before + after; ++n) {
      gatherSlot(uint32_t(kStart + 10 * n));
      appendTriggerRecord(kStart + 10 * n);
      if (n != before) continue;
      markTriggerRecord();
      setBits(gatherState, gather::kTriggerFired);
    }
    ASSERT_EQ(saveTrigData(0, 0, 0), 0);
  }

  std::string customerFolder() const { return folder.path() + "/"; }

  int32_t listFolder() {
    int32_t count = -1;
    EXPECT_EQ(getFileNum(customerFolder().c_str(), &count), 0);
    return count;
  }

  // The value text at a record of file 1, or "refused <result>".
  std::string cursorText(int kind, int number, int item, int record, int position = 1) {
    char text[32];
    char time[16];
    int32_t length = 0, year = 0, month = 0, day = 0, second = 0;
    int32_t result = getCursData(1, customerFolder().c_str(), position, 3, kind, number, item, record, text, &length,
                                 time, &year, &month, &day, &second);
    if (result != 0) return "refused " + std::to_string(result);
    return std::string(text, size_t(length));
  }
};

}  // namespace replaytest
