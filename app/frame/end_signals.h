// SIGTERM and SIGHUP (logout, shutdown, a closed terminal) end the program
// by its normal road: recordings stopped as on END, display windows
// closed, settings written. The handler only writes a byte to a pipe; the
// event loop reads it and starts the end.
#pragma once

// Installs the handlers once; later calls do nothing.
void endOnTerminationSignals();
