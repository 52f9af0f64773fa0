// Decoding received data into the live tables: the check of each received
// bus frame, the recognition of units and their models from the frames they
// send, the filing of each frame's data into the sender's live blocks, the
// watch for units that fell silent, and the per-slot evaluation of the
// units' alarm items (bus) or of which unit groups exist (board modes).
//
// F[k] below is data byte k of a record. Bits 2-4 of F[0] give the frame
// code (2 outdoor, 3 and 4 indoor, 5 central), F[1] is the sender, F[4] the
// length byte, F[5] the command.
#pragma once

#include <cstdint>

#include "store/recv_ring.h"

namespace tramsoll {

// Seconds without a frame after which a unit with a fixed model is silent.
constexpr int kSilenceSeconds = 300;

// True when the record may be decoded; `special` is set for the library's
// own frames seen back, which only the bus engine takes.
bool checkBusRecord(const BusFrameRecord& record, bool& special);

// Unit discovery from a frame. False for a frame code it does not handle or
// an indoor frame from address 0.
bool decodeAutoAddress(const BusFrameRecord& record);

// Files the frame's data into the live blocks of the sender whose block
// names spell its command. True when the sender's entry was found.
bool decodeUnitData(const BusFrameRecord& record);

// Marks units with a fixed model that sent nothing for 300 s as silent.
bool watchSilence();
// Forgets when units were last heard; a central unit must send one of its
// answer frames within 60 s of the start, or it shows as silent.
bool resetSilenceWatch();

// Bus monitoring, once per gather slot: the alarm state of every unit with
// a fixed model from its error and warning items over the newest snapshot.
// False when the live table holds no finished snapshot.
bool gatherBusSnapshot();
// Board modes, once per gather slot: which unit groups of the target's item
// file exist on the board, with their rows and alarm states.
bool gatherTargetSnapshot(int32_t fileIndex, int boardKind);

// The byte that two upper-case hexadecimal characters spell; any character
// other than '1'-'9' and 'A'-'F' counts 0.
uint8_t hexPairToByte(char high, char low);

}  // namespace tramsoll
