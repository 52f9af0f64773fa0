// The live data table: the raw bytes of every gathered unit, one DataTable
// block per data source of a unit row, each with a history of 122 snapshots.
// All blocks move to their next snapshot together at every gather interval,
// so readers see consistent rows in time. Beside the blocks each unit row
// has its LogTable (sensor-channel settings) and TrConditn (trigger-condition
// flags).
//
// Snapshot numbers count from the oldest kept snapshot: 0 .. count - 1 are
// finished; the current snapshot, which the decoders keep overwriting until
// the next advance, is not readable by number.
#pragma once

#include <cstdint>
#include <span>

#include "store/discovery_table.h"
#include "store/live_records.h"

namespace tramsoll {

// A block's key, data length and snapshot times, without the data.
struct DataBlockHeader {
  char key[kBlockKeySize];
  int16_t dataLength;
  uint32_t times[kSnapshotSlots];
};

// One snapshot of one block.
struct Snapshot {
  uint32_t time;
  int16_t dataLength;
  uint8_t extra[kExtraBytes];
  uint8_t data[kBlockDataSize];
};

// A block's bytes at one snapshot, read in place (valid until the tables
// change).
struct BlockView {
  const uint8_t* bytes = nullptr;
  int length = 0;
  uint32_t time = 0;
};

class LiveDataTable {
 public:
  explicit LiveDataTable(AutoAdrTable& units) : units_(units) {}

  // Appends a block to the row of that identity, all snapshots zeroed.
  // Refuses a key the row already has, an empty key or one longer than 7
  // characters, and a data length outside 1..256.
  bool addBlock(int kind, int address, const uint8_t* identity, const char* key, int dataLength);
  bool blockHeader(int kind, int address, int rowIndex, int blockIndex, DataBlockHeader& out) const;

  // Write the current snapshot of a block: the time, the first frameKeyLength()
  // bytes of `extra` and the first data-length bytes of `data` (a source
  // shorter than that leaves zeros behind what it gives).
  bool storeByNumber(int kind, int address, int rowIndex, int blockIndex, uint32_t time,
                     std::span<const uint8_t> extra, std::span<const uint8_t> data);
  bool storeByKey(int kind, int address, int rowIndex, const char* key, uint32_t time,
                  std::span<const uint8_t> extra, std::span<const uint8_t> data);

  // Copies snapshot `number` (0..120, from the oldest) of the row's block
  // with that key; false (output zeroed) for a missing block or a number
  // outside 0..120.
  bool readSnapshot(int kind, int address, int rowIndex, const char* key, int number, Snapshot& out) const;
  // The same without copying: the block's bytes and time at a position.
  bool fetchBlock(int kind, int address, int rowIndex, const char* key, int position, BlockView& out) const;
  const DataBlock* findBlock(int kind, int address, int rowIndex, const char* key) const;
  const DataBlock* blockAt(int kind, int address, int rowIndex, int blockIndex) const;

  // Finished snapshots kept: (current - oldest) modulo 122, at most 121.
  int32_t snapshotCount() const;
  // Ring slot of snapshot `number`, -1 outside 0..120.
  int snapshotSlot(int number) const;
  // Ring slot of the current snapshot (the newest data).
  int currentSlot() const { return current_; }
  // Moves every block to its next snapshot `times` times (a catch-up after
  // missed slots). The work is bounded: past 121 advances every slot holds
  // the same bytes, so only the indices move on.
  void advanceSnapshot(uint32_t times = 1);
  void resetHistory();

  // Extra bytes stored per snapshot (0..8; the gather mode sets it).
  void setFrameKeyLength(int count);
  int frameKeyLength() const { return frameKeyLength_; }

  // Sensor-channel settings of a row, slots 0..7.
  bool setLogEntry(int kind, int address, int rowIndex, int slot, const LogEntry& entry);
  // Copies the entry out; zeroed when the row has none yet; false (zeroed)
  // for a missing row or a slot outside 0..7.
  bool getLogEntry(int kind, int address, int rowIndex, int slot, LogEntry& out) const;

  // Replaces bits 0-1 and 2-3 of the slot's condition word. The row's list is
  // made on the first set with every word 0xF. False for a missing row or a
  // slot at or past the row's trigger slot count.
  bool setTriggerFlags(int kind, int address, int rowIndex, int slot, uint32_t value);
  // Bits 0-3 of the slot's word; 0 and false when the row, its list or the
  // slot is missing.
  bool getTriggerFlags(int kind, int address, int rowIndex, int slot, uint32_t& out) const;
  void freeTriggerFlags();

 private:
  DataBlock* block(int kind, int address, int rowIndex, int blockIndex);
  DataBlock* block(int kind, int address, int rowIndex, const char* key);
  void store(DataBlock& block, uint32_t time, std::span<const uint8_t> extra, std::span<const uint8_t> data);
  void advanceOnce();

  AutoAdrTable& units_;
  int current_ = 0;
  int oldest_ = 0;
  int frameKeyLength_ = 0;
};

// The live table of the running gathering, over autoAdrTable().
LiveDataTable& liveDataTable();

// Gathering stop (and start): frees the trigger lists, every unit with its
// blocks and sensor settings, the entries, and starts the history afresh.
void freeUnitTables();

}  // namespace tramsoll
