// The fixed-size records that hang under a unit row: its live data blocks
// with their snapshot history, and its sensor-channel settings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tramsoll {

constexpr int kSnapshotSlots = 122;     // the ring of snapshots of every block
constexpr int kReadableSnapshots = 121; // numbers 0..120, oldest first
constexpr int kBlockKeySize = 8;        // 7 characters and the terminator
constexpr int kBlockDataSize = 256;
constexpr int kExtraBytes = 8;
constexpr int kLogEntries = 8;          // sensor channels 1..8 as slots 0..7

// One data source of a unit row (a bus data group, a board request key or
// the sensor-input answer) with 122 snapshots of its raw bytes. Bytes past
// the data length stay 0.
struct DataBlock {
  char key[kBlockKeySize];
  int16_t dataLength;
  uint32_t times[kSnapshotSlots];
  uint8_t extra[kSnapshotSlots][kExtraBytes];
  uint8_t data[kSnapshotSlots][kBlockDataSize];
};
static_assert(sizeof(DataBlock) == 32708);

// One sensor channel's settings, as the sensor set-up hands them over.
struct LogEntry {
  char name[64];
  uint8_t used;
  uint8_t switchPosition;
  uint8_t range;
  int32_t offset;
  int32_t fullScale;
  char unit[64];
};
static_assert(sizeof(LogEntry) == 140);

// Sets a fixed text field of these records: the text up to its terminator,
// cut to N - 1 characters, the rest of the field zeroed.
template <std::size_t N>
void setFieldText(char (&field)[N], const char* text) {
  std::memset(field, 0, N);
  if (text) std::memcpy(field, text, strnlen(text, N - 1));
}

}  // namespace tramsoll
