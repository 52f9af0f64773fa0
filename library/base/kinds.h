// The kinds and mode bits that several floors share, by name: the adapter
// types, the caller's interface-mode bits (also kept in a recorded file's
// header), and the unit kinds of the logger and of the one-system and
// one-unit board connections (the setting file's row kinds).
#pragma once

#include <cstdint>

namespace tramsoll {

// The adapter on the serial port (ADPTYP of pelomar3.ini).
constexpr int kAdapterVexa5 = 0;
constexpr int kAdapterPlus = 1;

// Mode bits of initDataGather and changeDataGather, and of a recorded
// file's interface mode (0 in files of old: the bus).
namespace gathermode {
constexpr int32_t kLogger = 1;
constexpr int32_t kBus = 2;
constexpr int32_t kOneSystem = 4;
constexpr int32_t kOneUnit = 8;
}  // namespace gathermode

// Row kinds of the logger ('L'), one-system ('P') and one-unit ('S...')
// rows; a one-system or one-unit target's board unit has its row's kind.
namespace rowkind {
constexpr uint8_t kLog = 6, kPara = 7;
constexpr uint8_t kSL = 8, kSR = 9, kSX = 10, kSK = 11, kSH = 12, kSA = 13, kSQ = 14;
}  // namespace rowkind

// The one-unit board kinds run from SL to SQ.
constexpr bool isBoardKind(int kind) { return kind >= rowkind::kSL && kind <= rowkind::kSQ; }

}  // namespace tramsoll
