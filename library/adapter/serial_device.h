// The serial device under the port: a small interface, so that tests can put
// in line errors (parity, framing, overrun) that a pseudo-terminal never
// gives, and its implementation on a termios device.
#pragma once

#include <termios.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace tramsoll {

struct LineSettings {
  int baud = 19200;  // 19200 or 38400
  bool ctsFlowControl = true;
};

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;
  // Each answers 0 or the system error number.
  virtual int open(const std::string& path) = 0;
  virtual int configure(const LineSettings& settings) = 0;
  // Drops what is queued in both directions.
  virtual void purge() = 0;
  // The line error flags that come with the next byte (errLine's bits 0x1
  // parity, 0x2 framing, 0x4 overrun, 0x8 receive overflow, 0x10 transmit
  // full) and the number of bytes waiting.
  virtual int query(uint32_t& lineFlags, int& queued) = 0;
  virtual int readByte(uint8_t& byte) = 0;
  // Writes all `length` bytes within a bounded wait; a short write fails.
  virtual int write(const uint8_t* bytes, int length) = 0;
  virtual int close() = 0;
};

// A tty opened non-blocking and exclusive, in raw mode, 8 data bits, even
// parity, 1 stop bit, RTS on and DTR off. Parity and framing errors are
// marked in the byte stream (PARMRK) and told apart, with overruns, by the
// driver's error counters where the device keeps them.
class TermiosDevice : public SerialDevice {
 public:
  ~TermiosDevice() override;
  int open(const std::string& path) override;
  int configure(const LineSettings& settings) override;
  void purge() override;
  int query(uint32_t& lineFlags, int& queued) override;
  int readByte(uint8_t& byte) override;
  int write(const uint8_t* bytes, int length) override;
  int close() override;

 private:
  struct Received {
    uint8_t byte;
    uint32_t flags;
  };
  int fill();
  void decode(uint8_t raw);
  uint32_t counterFlags();

  int fd_ = -1;
  std::deque<Received> received_;
  int markState_ = 0;  // bytes of a 0xFF 0x00 mark seen so far
  uint32_t pendingFlags_ = 0;
  bool countersKnown_ = false;
  int counters_[4] = {};  // frame, overrun, parity, buffer overrun
};

// Raw mode, the speed, 8 data bits, even parity, 1 stop bit, parity
// checking with marked error bytes, and CTS flow control when asked for.
void applyLineSettings(termios& t, const LineSettings& settings);

// Device path of COM1..COM8: TRAMSOLL_COMn when set, else /dev/ttyS(n-1).
std::string comDevicePath(int portNumber);

// Makes the devices the port opens. Tests install their own; nullptr goes
// back to TermiosDevice.
using SerialDeviceFactory = std::function<std::unique_ptr<SerialDevice>()>;
void setSerialDeviceFactory(SerialDeviceFactory factory);
std::unique_ptr<SerialDevice> makeSerialDevice();

}  // namespace tramsoll
