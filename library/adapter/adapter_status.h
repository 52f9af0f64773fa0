// The adapter status from the last 'Z' answer, kept for the unit exports and
// the bus log's status entries.
#pragma once

namespace tramsoll {

// Switch 1 and 2 of the sensor inputs (0 or 1; 2 until the first answer)
// and the status value.
struct AdapterStatus {
  int switch1 = 2;
  int switch2 = 2;
  int value = 0;
};
AdapterStatus adapterStatus();
// Makes the adapter dispatchers keep their status answers here.
void installAdapterStatusSink();
// Back to the status before the first answer.
void resetAdapterStatus();

}  // namespace tramsoll
