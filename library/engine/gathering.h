// Gathering: the COM port held open, the worker thread running timer steps
// and the unit tables filling. Started and stopped by initDataGather, the
// sensor-input logger added and removed by changeDataGather.
#pragma once

#include <cstdint>
#include <mutex>

#include "base/kinds.h"
#include "base/status_words.h"
#include "engine/frame.h"

namespace tramsoll {

// gatherState bits beyond those in frame.h.
namespace gather {
constexpr uint32_t kBoardKindSL = 0x10000;  // one-unit kinds SL..SQ: 0x10000 << (kind - SL)
constexpr uint32_t kBoardKinds = 0x7F0000;
constexpr uint32_t kStarted = 0x4000000;
}  // namespace gather

// Results of initDataGather.
namespace gatherresult {
constexpr int32_t kDone = 0;
constexpr int32_t kBadGeneration = 1;
constexpr int32_t kRefused = 2;
constexpr int32_t kPortFailed = 3;
constexpr int32_t kNoTarget = 4;
}  // namespace gatherresult

// The state bit of one-unit kind SL..SQ.
constexpr uint32_t boardKindBit(int kind) { return gather::kBoardKindSL << (kind - rowkind::kSL); }
// The one-unit kind (SL..SQ, 8..14) whose bit is set in the state word,
// tested in the order SL, SR, SX, SK, SQ, SH, SA; 0 for none.
int boardKindOf(uint32_t state);

// Inside the caller's entry frame. Under the Plus adapter only bus
// monitoring starts (2 otherwise).
int32_t startGathering(int32_t comPort, int32_t toolGeneration, int32_t modeBits, int32_t initialScan,
                       const char* targetName, int32_t intervalSeconds);
// Held by every start and stop from before its export frame to its end, so
// that one start or stop runs at a time, the stop's wait for its worker
// included. Never taken inside the export frame or a step.
std::mutex& gatheringControlMutex();
// Lets the worker finish its last step (the frame is released while it
// waits), closes the port and frees the unit and frame tables.
int32_t stopGathering(ExportFrame& frame);
// Adds (bit 1) or removes the logger while the main mode is kept: 0; 1 not
// gathering; 2 the main mode not kept, or the logger asked of the Plus
// adapter; 4 no logger row to add.
int32_t changeGathering(int32_t modeBits);

// True while a worker thread exists (tests).
bool workerRunning();
// Tests only: with false, a start leaves the worker out and the test runs
// the steps itself (runTimerStep).
void setWorkerAutostart(bool start);

}  // namespace tramsoll
