// What the worker's timer step needs of the Plus adapter protocol: its
// dispatcher, status poll, bus send and scheduler, in the shape of the
// Vexa5 ones.
#pragma once

#include <cstdint>

namespace tramsoll {

// Takes and handles every complete answer of the Plus adapter.
void plusDispatch();
// Queues the Plus adapter's status poll.
bool queuePlusStatusPoll();
// Queues a frame to send on the Q7 bus.
bool queuePlusBusSend(const uint8_t* frame, int length);
// Sends the next queued packet or handles the one in flight.
bool plusScheduler();

}  // namespace tramsoll
