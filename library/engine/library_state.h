// The library's process-wide state put back to that of a freshly loaded
// library: the one reset that tests (and anything else that needs a clean
// library without reloading it) call, composed of each floor's own resets.
#pragma once

namespace tramsoll {

// Ends gathering (the worker joined, the port closed) and then empties every
// floor from the top down: engine, files, q7, adapter, store, tables, base.
// Not for use inside an export or a worker step.
void resetLibraryState();

}  // namespace tramsoll
