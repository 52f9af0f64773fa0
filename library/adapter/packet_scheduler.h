// The scheduler both adapter protocols run: one packet in flight at a time,
// written again after its time-out (6 writes in all) and then given up, and
// a bus send that is never retried but replaced by a status poll. The
// protocols differ only in their codes and time-outs, given as rules.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

#include "adapter/check_bytes.h"

namespace tramsoll {

struct SchedulerRules {
  // The code in flight of a bus send (packet byte 1).
  uint8_t busSendCode;
  // How long a command with this code waits for its answer before a retry.
  std::chrono::milliseconds (*timeoutOf)(uint8_t code);
  // The status poll that replaces a bus send whose answer did not come;
  // answers its length.
  int (*buildStatusPoll)(std::span<uint8_t, kPacketSize> out);
};

// Sends the next queued packet or handles the one in flight; false only when
// nothing was in flight and the ring was empty.
bool runScheduler(const SchedulerRules& rules);

}  // namespace tramsoll
