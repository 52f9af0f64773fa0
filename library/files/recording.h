// The open recordings: the pending customer data for the next file and 256
// save slots, slot 0 the trigger file and slots 1..255 the periodic files of
// systems 1..255. A slot keeps its file's name, the header as it stands on
// disk, and the record layout frozen when the file was made, so units,
// rows or blocks that appear later never change what a record holds.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "files/das_format.h"
#include "store/discovery_table.h"

namespace tramsoll {

constexpr int kSaveSlots = 256;
constexpr int kTriggerSlot = 0;
constexpr std::size_t kFolderSize = 1024;
// The trigger file's work file, in the trigger file's folder.
constexpr char kTriggerWorkFile[] = "temp.work";

struct PendingFileHeader {
  char folder[kFolderSize];
  char customerId[32];
  char customerName[64];
  char personInCharge[32];
  char mapName[64];
};

// Every file created afterwards copies it; texts are cut to their fields.
void setPendingFileHeader(const char* customerId, const char* customerName, const char* personInCharge,
                          const char* mapName, const char* folder);
const PendingFileHeader& pendingFileHeader();
// True when recording without a customer (the id begins with a blank).
bool withoutCustomer();

struct LayoutGroup {
  char key[das::kGroupBlockSize / 2];
  uint16_t dataLength;
};

// One unit of a record, found again in the live tables by its entry key,
// row index and row identity.
struct LayoutUnit {
  uint8_t kind;
  uint8_t address;
  int rowIndex;
  uint8_t identity[kRowIdentitySize];
  std::vector<LayoutGroup> groups;
};

struct SaveSlot {
  std::string name;  // empty: the slot is free
  das::FileHeader header{};
  std::vector<LayoutUnit> layout;
  // The record a catch-up of missed slots repeats (its time aside); empty
  // while none runs.
  std::vector<uint8_t> heldRecord;
  bool used() const { return !name.empty(); }
};

// Slot 0..255; any other index gives slot 0.
SaveSlot& saveSlot(int index);
// Periodic files created since the last clear of the periodic slots.
int32_t periodicFileCount();

// Creates the file of a recording (kind 1 periodic in slot `system`, kind 2
// trigger in slot 0) with its header and blocks, no record yet. False (and
// the slot left free) when the file cannot be made or could not be
// described by the format's 16-bit sizes.
bool createDataFile(int kind, int system, int modeBits, std::time_t firstRecord, int interval);
// Appends `count` records stamped first, first + interval, ... from the
// newest snapshot to every used slot of the kind. False when one failed.
bool appendRecords(int kind, std::time_t first, int count);
// The bytes one step may append to the files of a catch-up of missed slots:
// a write and sync of this much keep the exports waiting well below 100 ms.
constexpr std::size_t kCatchUpBytesPerStep = std::size_t{1} << 20;
// Kind 1 frees slots 1..255 and the count; any other kind slot 0.
void clearSaveSlots(int kind);
// Deletes the leftovers of recordings without a customer in the pending
// folder: kind 1 every "const*.das", any other kind "trigger.das" and the
// work file.
void deleteLeftoverFiles(int kind);

// Interface mode bits of a file made now: 2 bus, 4 one system, 8 one unit.
int currentModeBits();

// ---- The trigger file (slot 0) ----

// Rewrites the trigger file without its `count` oldest records, through a
// work file in the same folder that is renamed over it. False (the file and
// its header unchanged, the work file removed) when anything fails.
bool cutTriggerFile(int32_t count);
// Deletes the trigger file (a trigger recording stopped before the trigger).
void deleteTriggerFile();
// The work file beside the trigger file; never named "*.das".
std::string triggerWorkFileName();

}  // namespace tramsoll
