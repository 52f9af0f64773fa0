#include "adapter/serial_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#ifdef __linux__
#include <linux/serial.h>
#endif

#include "base/status_words.h"

namespace tramsoll {

namespace {

// A write may wait 1 ms per byte and 1 ms more; the slack covers a busy
// desktop scheduler.
constexpr int kWriteSlackMs = 50;
constexpr int kReadChunk = 1024;

// Modem lines of a pseudo-terminal (and of some adapters) cannot be set;
// that is no reason to refuse the port.
int setModemLine(int fd, unsigned long request, int line) {
  if (ioctl(fd, request, &line) == 0) return 0;
  return (errno == ENOTTY || errno == EINVAL) ? 0 : errno;
}

}  // namespace

TermiosDevice::~TermiosDevice() {
  if (fd_ >= 0) ::close(fd_);
}

int TermiosDevice::open(const std::string& path) {
  if (fd_ >= 0) return EBUSY;
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return errno;
  // Keeps other programs off the port while it is ours; a device that is no
  // tty fails in configure() with a clearer reason.
  ioctl(fd, TIOCEXCL);
  fd_ = fd;
  received_.clear();
  markState_ = 0;
  pendingFlags_ = 0;
  countersKnown_ = false;
  return 0;
}

void applyLineSettings(termios& t, const LineSettings& settings) {
  // Raw bytes: 0x03 is no interrupt, 0x11/0x13 are no flow control and 0x0D
  // is not translated.
  cfmakeraw(&t);
  t.c_cflag &= ~(CSIZE | PARODD | CSTOPB | CRTSCTS);
  t.c_cflag |= CS8 | PARENB | CREAD | CLOCAL;
  if (settings.ctsFlowControl) t.c_cflag |= CRTSCTS;
  // Parity checking on; a byte with a parity or framing error arrives marked
  // as 0xFF 0x00 byte, and a data byte 0xFF arrives doubled.
  t.c_iflag &= ~(IGNPAR | ISTRIP | IXON | IXOFF | IXANY | IGNBRK | BRKINT);
  t.c_iflag |= INPCK | PARMRK;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  speed_t speed = settings.baud == 38400 ? B38400 : B19200;
  cfsetispeed(&t, speed);
  cfsetospeed(&t, speed);
}

namespace {

// A pseudo-terminal keeps no parity, stop-bit or flow-control setting. When
// it holds everything else already (the second open of the same one), the C
// library reports that nothing could be applied; that device is as set up as
// it can be.
bool holdsAllItCan(int fd, const termios& wanted) {
  constexpr tcflag_t kLineOnly = PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
  termios held{};
  if (tcgetattr(fd, &held) != 0) return false;
  return held.c_iflag == wanted.c_iflag && held.c_oflag == wanted.c_oflag && held.c_lflag == wanted.c_lflag &&
         (held.c_cflag & ~kLineOnly) == (wanted.c_cflag & ~kLineOnly);
}

}  // namespace

int TermiosDevice::configure(const LineSettings& settings) {
  termios t{};
  if (tcgetattr(fd_, &t) != 0) return errno;
  applyLineSettings(t, settings);
  if (tcsetattr(fd_, TCSANOW, &t) != 0) {
    int error = errno;
    if (error != EINVAL || !holdsAllItCan(fd_, t)) return error;
  }
  if (int error = setModemLine(fd_, TIOCMBIS, TIOCM_RTS)) return error;
  return setModemLine(fd_, TIOCMBIC, TIOCM_DTR);
}

void TermiosDevice::purge() {
  if (fd_ >= 0) tcflush(fd_, TCIOFLUSH);
  received_.clear();
  markState_ = 0;
}

uint32_t TermiosDevice::counterFlags() {
#if defined(__linux__) && defined(TIOCGICOUNT)
  serial_icounter_struct counts{};
  if (ioctl(fd_, TIOCGICOUNT, &counts) != 0) return 0;
  const int now[4] = {counts.frame, counts.overrun, counts.parity, counts.buf_overrun};
  const uint32_t bits[4] = {line::kFraming, line::kOverrun, line::kParity, line::kRxFull};
  uint32_t flags = 0;
  for (int i = 0; i < 4; ++i) {
    if (countersKnown_ && now[i] != counters_[i]) flags |= bits[i];
    counters_[i] = now[i];
  }
  countersKnown_ = true;
  return flags;
#else
  return 0;
#endif
}

void TermiosDevice::decode(uint8_t raw) {
  constexpr uint32_t kMarkKinds = line::kParity | line::kFraming;
  if (markState_ == 2) {
    uint32_t flags = pendingFlags_ & kMarkKinds ? pendingFlags_ : pendingFlags_ | line::kParity;
    received_.push_back({raw, flags});
    pendingFlags_ = 0;
    markState_ = 0;
    return;
  }
  if (markState_ == 1) {
    markState_ = 0;
    if (raw == 0x00) {
      markState_ = 2;
      return;
    }
    received_.push_back({0xFF, pendingFlags_ & ~kMarkKinds});
    pendingFlags_ &= kMarkKinds;
    if (raw == 0xFF) return;  // a doubled data byte 0xFF
  }
  if (raw == 0xFF) {
    markState_ = 1;
    return;
  }
  received_.push_back({raw, pendingFlags_ & ~kMarkKinds});
  pendingFlags_ &= kMarkKinds;
}

int TermiosDevice::fill() {
  if (fd_ < 0) return EBADF;
  uint8_t chunk[kReadChunk];
  ssize_t n = ::read(fd_, chunk, sizeof chunk);
  // With VMIN and VTIME 0 an empty line reads as 0 bytes, not as EAGAIN.
  if (n <= 0) return n == 0 || errno == EAGAIN || errno == EINTR ? 0 : errno;
  pendingFlags_ |= counterFlags();
  for (ssize_t i = 0; i < n; ++i) decode(chunk[i]);
  return 0;
}

int TermiosDevice::query(uint32_t& lineFlags, int& queued) {
  lineFlags = 0;
  queued = 0;
  if (received_.empty()) {
    if (int error = fill()) return error;
  }
  if (!received_.empty()) lineFlags = received_.front().flags;
  queued = static_cast<int>(received_.size());
  return 0;
}

int TermiosDevice::readByte(uint8_t& byte) {
  if (received_.empty()) {
    if (int error = fill()) return error;
    if (received_.empty()) return EAGAIN;
  }
  byte = received_.front().byte;
  received_.pop_front();
  return 0;
}

int TermiosDevice::write(const uint8_t* bytes, int length) {
  if (fd_ < 0) return EBADF;
  int done = 0;
  while (done < length) {
    ssize_t n = ::write(fd_, bytes + done, static_cast<std::size_t>(length - done));
    if (n > 0) {
      done += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return errno;
    pollfd p{fd_, POLLOUT, 0};
    int ready = poll(&p, 1, length + 1 + kWriteSlackMs);
    if (ready == 0) return ETIMEDOUT;
    if (ready < 0 && errno != EINTR) return errno;
  }
  return 0;
}

int TermiosDevice::close() {
  if (fd_ < 0) return EBADF;
  // The exclusive flag belongs to the tty, not to this descriptor: left set,
  // it would lock us out of our own next open while another holds the line.
  ioctl(fd_, TIOCNXCL);
  int result = ::close(fd_) == 0 ? 0 : errno;
  fd_ = -1;
  received_.clear();
  return result;
}

std::string comDevicePath(int portNumber) {
  std::string name = "TRAMSOLL_COM" + std::to_string(portNumber);
  const char* path = std::getenv(name.c_str());
  if (path && *path) return path;
  return "/dev/ttyS" + std::to_string(portNumber - 1);
}

namespace {
std::mutex factoryMutex;
SerialDeviceFactory& factorySlot() {
  static SerialDeviceFactory factory;
  return factory;
}
}  // namespace

void setSerialDeviceFactory(SerialDeviceFactory factory) {
  std::lock_guard lock(factoryMutex);
  factorySlot() = std::move(factory);
}

std::unique_ptr<SerialDevice> makeSerialDevice() {
  std::lock_guard lock(factoryMutex);
  if (factorySlot()) return factorySlot()();
  return std::make_unique<TermiosDevice>();
}

}  // namespace tramsoll
