// The adapter protocols file unit-board answers and sensor data through a
// sink; this one stores them into the running gathering's live table.
#pragma once

namespace tramsoll {

// Makes the adapter's answers land in liveDataTable().
void installLiveTableSink();

}  // namespace tramsoll
