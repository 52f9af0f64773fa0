// A gathering made by hand for the recording tests: units put straight into
// the discovery and live tables, a pinned clock, a temporary program folder,
// and the state word saying "gathering on the bus". Every block's bytes at a
// gather slot follow a pattern of the slot time, so records can be checked
// byte by byte.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "base/clock.h"
#include "base/debug_ring.h"
#include "base/status_words.h"
#include "engine/settings.h"
#include "files/das_format.h"
#include "files/recording.h"
#include "library/support/library_test.h"
#include "library/support/program_folder.h"
#include "store/live_table.h"
#include "tables/model_tables.h"

namespace recordingtest {

using namespace tramsoll;

// 2023-11-14 22:13:20 UTC, a multiple of 5 and of 10.
constexpr std::time_t kStart = 1700000000;
constexpr int kStatusLength = 6;  // bus monitoring

struct BlockSpec {
  const char* key;
  int length;
};

// Data byte i of block b of the unit at `address` for a gather slot.
inline uint8_t patternByte(uint32_t slot, int address, int block, int i) {
  return static_cast<uint8_t>(slot + address * 7 + block * 13 + i);
}
// The time the live table keeps with the block's bytes: the frame came in
// two seconds before the slot.
inline uint32_t stampOf(uint32_t slot) { return slot - 2; }

class RecordingTest : public testsupport::LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    setClock(&clock);
    gatherState.store(gather::kRunning | gather::kBusMonitor);
    gatherValues().dataDue = kStart;
    liveDataTable().setFrameKeyLength(kStatusLength);
    KishuEntry entry{};
    std::strcpy(entry.fileName, "unit.itm");
    ASSERT_TRUE(addKishu(entry, model));
  }

  // A unit row of the model "unit.itm" under (kind, address) in `system`,
  // with the three link texts "<kind>-<address> model/serial/place".
  void addUnit(int kind, int address, int system, int number, const std::vector<BlockSpec>& blocks,
               int triggerSlots = 0, uint8_t identity = 1) {
    AirconRow row{};
    std::snprintf(row.name, sizeof row.name, "model %d", kind);
    std::strcpy(row.secondText, "unit.itm");
    row.identity[0] = identity;
    ASSERT_TRUE(autoAdrTable().addOrUpdateEntry(entryKeyWord(uint8_t(kind), uint8_t(address), 0x30, 0), 7,
                                                0x1000u + uint32_t(address), 0x0C00));
    ASSERT_TRUE(autoAdrTable().addRow(kind, address, row, triggerSlots));
    ASSERT_TRUE(autoAdrTable().setGroup(kind, address, uint32_t(system) | 0x20u << 16));
    AutoAdrEntry entry;
    ASSERT_TRUE(autoAdrTable().entryByKey(kind, address, entry));
    std::string prefix = std::to_string(kind) + "-" + std::to_string(address);
    ASSERT_TRUE(autoAdrTable().setRowTexts(kind, address, entry.rowCount - 1, uint8_t(number),
                                           (prefix + " model").c_str(), (prefix + " serial").c_str(),
                                           (prefix + " place").c_str()));
    for (const BlockSpec& block : blocks)
      ASSERT_TRUE(liveDataTable().addBlock(kind, address, row.identity, block.key, block.length));
  }

  // Stores every block of every unit for the slot and moves the history on,
  // as a gather slot does before the records are written.
  void gatherSlot(uint32_t slot) {
    AutoAdrTable& units = autoAdrTable();
    for (int32_t i = 0; i < units.count(); ++i) {
      AutoAdrEntry entry;
      units.entryByIndex(i, entry);
      for (int r = 0; r < entry.rowCount; ++r) {
        for (int b = 0;; ++b) {
          const DataBlock* block = liveDataTable().blockAt(entry.kind, entry.address, r, b);
          if (!block) break;
          std::vector<uint8_t> data(256), extra(8);
          for (int k = 0; k < 256; ++k) data[size_t(k)] = patternByte(slot, entry.address, b, k);
          for (const auto& [where, value] : fixedBytes)
            if (std::get<0>(where) == entry.address && std::get<1>(where) == b) data[size_t(std::get<2>(where))] = value;
          for (int k = 0; k < 8; ++k) extra[size_t(k)] = uint8_t(0xA0 + entry.address + k);
          liveDataTable().storeByNumber(entry.kind, entry.address, r, b, stampOf(slot), extra, data);
        }
      }
    }
    liveDataTable().advanceSnapshot();
  }

  // Parses a recorded file, failing the test when it does not read back.
  static das::File readBack(const std::string& path) {
    das::File file;
    std::string error;
    EXPECT_TRUE(das::readFile(path, file, error)) << path << ": " << error;
    return file;
  }

  // Bytes that gatherSlot stores instead of the pattern: (address, block
  // index, byte index) -> value.
  std::map<std::tuple<int, int, int>, uint8_t> fixedBytes;
  testsupport::ProgramFolder folder;
  ManualClock clock{kStart};
  int32_t model = -1;
};

}  // namespace recordingtest
