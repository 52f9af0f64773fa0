// Building the unit tables that gathering needs: the unit rows and live data
// blocks of a bus unit whose model is fixed, of the sensor-input logger and
// of a one-system or one-unit target; and the meaning of an entry's status
// word.
#pragma once

#include <cstdint>

#include "base/kinds.h"
#include "store/discovery_table.h"
#include "tables/model_tables.h"
#include "tables/setting_tables.h"

namespace tramsoll {

// Status word of a discovery entry: bits 10-12 the discovery state (0 not
// recognised, 1 heard, 2 model family known, 3 model fixed; bit 12 on top of
// any state: silent), bits 13-15 the alarm state (0 normal, 1 warning,
// 2 error).
namespace unitstate {
constexpr int kNotRecognised = 0;
constexpr int kHeard = 1;
constexpr int kFamilyKnown = 2;
constexpr int kFixed = 3;
constexpr int kReportedSilent = 4;
constexpr uint32_t kSilent = 0x1000;
constexpr int kDiscoveryShift = 10;
constexpr int kAlarmShift = 13;
constexpr uint32_t kDiscoveryMask = 0x7u << kDiscoveryShift;
constexpr uint32_t kAlarmMask = 0x7u << kAlarmShift;
constexpr int kAlarmWarning = 1;
constexpr int kAlarmError = 2;
}  // namespace unitstate

inline int discoveryState(uint32_t status) {
  return static_cast<int>((status & unitstate::kDiscoveryMask) >> unitstate::kDiscoveryShift);
}
inline uint32_t withDiscoveryState(uint32_t status, int state) {
  return (status & ~unitstate::kDiscoveryMask) | ((static_cast<uint32_t>(state) << unitstate::kDiscoveryShift) &
                                                  unitstate::kDiscoveryMask);
}
inline int alarmState(uint32_t status) {
  return static_cast<int>((status & unitstate::kAlarmMask) >> unitstate::kAlarmShift);
}
inline uint32_t withAlarmState(uint32_t status, int alarm) {
  return (status & ~unitstate::kAlarmMask) |
         ((static_cast<uint32_t>(alarm) << unitstate::kAlarmShift) & unitstate::kAlarmMask);
}

// Identity byte 0 of the logger's row: its row kind.
constexpr uint8_t kLoggerIdentity = rowkind::kLog;
// Unit kind of the one-system target's row.
constexpr int kOneSystemKind = rowkind::kPara;

// Unit group 0 of an item file: its first group.
bool firstUnitGroup(int32_t fileIndex, UnitGroup& out);

// Fixes the model of the entry (a copy with its key pair and the fields to
// keep) with a bus model row: discovery state 3, the entry stored, a unit row
// with the model's name, item file and identity, and one live block per data
// block of the item file. A row that the entry has already is refused by the
// table, so a repeated frame adds nothing twice.
bool fixModel(AutoAdrEntry entry, const SettingQ7Row& model);

// The logger's unit (kind 200, address 0) in state 3 with one row and the
// blocks of its item file. False when the setting file has no 'L' row.
bool buildLoggerTables();

// The board unit of a one-system (kind 7) or one-unit (kinds SL..SQ, 8..14) target:
// entry (kind 0, address 0) in state 1, one row named after the item file's
// first outdoor group 1 (else its last group) and the file's blocks. Sets
// the gathering's targetIndex and requestCount. False when the item file is
// not loaded.
bool buildTargetTables(const char* itemFile, int boardKind);

}  // namespace tramsoll
