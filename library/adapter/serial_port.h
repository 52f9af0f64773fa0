// The one serial port of the library: open and close with the adapter's
// line settings, the write of the packet in flight, the byte reader with its
// line-error handling, and the communication trace for the bus log.
#pragma once

#include <cstdint>

#include "base/kinds.h"

namespace tramsoll {

// Opens COM1..COM8 for the adapter type (0 Vexa5: 19200 baud with CTS flow
// control; 1 Plus: 38400 baud without).
bool openPort(int portNumber, int adapterType);
// Writes the adapter's stop command, closes the port, and clears the send
// ring, the packet in flight, the assembly and the start-command state.
bool closePort();
bool portIsOpen();

// Writes the packet in flight with its stored length; traces 'S' on success.
bool writePacketInFlight();

// Takes the next received byte. With nothing queued, or when the device read
// fails, answers false and the round ends. A byte that comes with line errors
// latches them, is traced 'E' with the assembly so far, and is discarded with
// that assembly; reading goes on.
bool readPortByte(uint8_t& byte);

// One trace entry: handed to the bus-log writer only while the bus log is on.
// The count is clamped to 0..256.
void traceLink(char letter, uint32_t attribute, const uint8_t* bytes, int count);
void traceMessage(const char* text);

}  // namespace tramsoll
