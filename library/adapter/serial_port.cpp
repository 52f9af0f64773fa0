#include "adapter/serial_port.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "adapter/consumers.h"
#include "adapter/link_state.h"
#include "adapter/plus.h"
#include "adapter/serial_device.h"
#include "adapter/vexa5.h"
#include "base/clock.h"
#include "base/debug_ring.h"
#include "base/status_words.h"

namespace tramsoll {

namespace {

struct Port {
  std::unique_ptr<SerialDevice> device;
  int adapterType = kAdapterVexa5;
  bool readFailing = false;  // logs a run of failed reads once
};

Port& port() {
  static Port p;
  return p;
}

// The reason first, so a long device path is what the 79-character cut takes.
const char* openFailureReason(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return "permission denied (user not in group dialout)";
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return "no such device";
    case EBUSY:
      return "in use by another program";
    default:
      return "cannot open";
  }
}

void logOpenFailure(int portNumber, const std::string& path, int error) {
  logLine("AdpComm : COM%d %s (error %d): %s", portNumber, openFailureReason(error), error, path.c_str());
}

void logSetupFailure(int portNumber, const std::string& path, int error) {
  const char* reason = error == ENOTTY ? "not a serial device" : "line settings refused";
  logLine("AdpComm : COM%d %s (error %d): %s", portNumber, reason, error, path.c_str());
}

void writeStopCommand(Port& p) {
  uint8_t packet[kPlusStartStopLength > kVexa5StopLength ? kPlusStartStopLength : kVexa5StopLength];
  std::span bytes(packet);
  int length = p.adapterType == kAdapterPlus ? buildPlusStartStop(0, bytes.first<kPlusStartStopLength>())
                                             : buildStopParameterMode(bytes.first<kVexa5StopLength>());
  int error = p.device->write(packet, length);
  if (error == 0) return;
  if (p.adapterType == kAdapterPlus) {
    logLine("AdpComm : Plus_adp WriteFile Error %d", error);
  } else {
    logLine("AdpComm : Vexa5 WriteFile Error %d", error);
  }
  setBits(errFault, fault::kAdapterTimeout);
}

void reportLineErrors(uint32_t flags) {
  struct LineError {
    uint32_t bit;
    const char* text;
  };
  static const LineError kErrors[] = {
      {line::kParity, "AdpComm : COM Port PE"},      {line::kFraming, "AdpComm : COM Port FE"},
      {line::kOverrun, "AdpComm : COM Port OverRun"}, {line::kRxFull, "AdpComm : COM Port RxFull"},
      {line::kTxFull, "AdpComm : COM Port TxFull"},
  };
  for (const LineError& e : kErrors) {
    if (!(flags & e.bit)) continue;
    setBits(errLine, e.bit);
    putDebugMessage(e.text);
  }
}

void reportReadFailure(Port& p, int error) {
  setBits(errFault, fault::kSerialIo);
  if (!p.readFailing) logLine("AdpComm : ReadFile Error No=%d", error);
  p.readFailing = true;
}

}  // namespace

bool openPort(int portNumber, int adapterType) {
  Port& p = port();
  if (p.device) {
    setBits(errCall, call::kOpenWhileOpen);
    return false;
  }
  if (portNumber < 1 || portNumber > 8) {
    setBits(errFault, fault::kComOpen);
    return false;
  }
  std::string path = comDevicePath(portNumber);
  std::unique_ptr<SerialDevice> device = makeSerialDevice();
  if (int error = device->open(path)) {
    logOpenFailure(portNumber, path, error);
    setBits(errFault, fault::kComOpen);
    return false;
  }
  device->purge();
  LineSettings settings;
  settings.baud = adapterType == kAdapterPlus ? 38400 : 19200;
  settings.ctsFlowControl = adapterType != kAdapterPlus;
  if (int error = device->configure(settings)) {
    logSetupFailure(portNumber, path, error);
    setBits(errFault, fault::kComSetup);
    device->close();
    return false;
  }
  p.device = std::move(device);
  p.adapterType = adapterType;
  p.readFailing = false;
  char text[32];
  std::snprintf(text, sizeof text, "COM Port %d Open", portNumber);
  traceMessage(text);
  logLine("AdpComm : COM Port %d Open", portNumber);
  return true;
}

bool closePort() {
  Port& p = port();
  clearLinkState();
  resetStartCommandState();
  if (!p.device) {
    setBits(errCall, call::kCloseNotOpen);
    return false;
  }
  writeStopCommand(p);
  int error = p.device->close();
  p.device.reset();
  if (error != 0) {
    setBits(errFault, fault::kComClose);
    return false;
  }
  traceMessage("COM Port close");
  putDebugMessage("AdpComm : COM Port close");
  return true;
}

bool portIsOpen() { return port().device != nullptr; }

bool writePacketInFlight() {
  Port& p = port();
  const PacketInFlight& packet = packetInFlight();
  int error = p.device ? p.device->write(packet.bytes, packet.length) : EBADF;
  if (error != 0) {
    logLine("AdpComm : Vexa5 WriteFile Error %d", error);
    setBits(errFault, fault::kSerialIo);
    return false;
  }
  traceLink('S', 0, packet.bytes, packet.length);
  return true;
}

bool readPortByte(uint8_t& byte) {
  Port& p = port();
  if (!p.device) return false;
  for (;;) {
    uint32_t flags = 0;
    int queued = 0;
    int error = p.device->query(flags, queued);
    if (error == 0 && queued <= 0) return false;
    if (error == 0) error = p.device->readByte(byte);
    if (error != 0) {
      reportReadFailure(p, error);
      return false;
    }
    p.readFailing = false;
    if (flags == 0) return true;
    reportLineErrors(flags);
    ReceiveAssembly& assembly = receiveAssembly();
    traceLink('E', flags, assembly.bytes, assembly.count);
    assembly.reset();
  }
}

void traceLink(char letter, uint32_t attribute, const uint8_t* bytes, int count) {
  if (!hasBits(gatherState, gather::kBusLog)) return;
  uint8_t block[kPacketSize] = {};
  if (count < 0 || !bytes) count = 0;
  if (count > kPacketSize) count = kPacketSize;
  if (count) std::memcpy(block, bytes, static_cast<std::size_t>(count));
  auto sinceStart = clock().steadyNow().time_since_epoch();
  int milliseconds = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count() % 1000);
  busLogSink().appendBusLogEvent(letter, clock().systemNow(), milliseconds, attribute, block, count);
}

void traceMessage(const char* text) {
  traceLink('M', 0, reinterpret_cast<const uint8_t*>(text), static_cast<int>(std::strlen(text)));
}

}  // namespace tramsoll
