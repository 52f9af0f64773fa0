#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "adapter/send_ring.h"
#include "adapter_support.h"

using namespace tramsoll;
using adaptertest::Bytes;

namespace {

class SerialPortTest : public adaptertest::AdapterTest {
 protected:
  void TearDown() override {
    unsetenv("TRAMSOLL_COM2");
    unsetenv("TRAMSOLL_COM3");
    AdapterTest::TearDown();
  }
  void useFakeLine() {
    auto shared = line;
    setSerialDeviceFactory([shared] { return std::make_unique<adaptertest::FakeSerialDevice>(shared); });
  }
};

TEST_F(SerialPortTest, PortNumbersMapToDevicesAndTheEnvironmentOverrides) {
  unsetenv("TRAMSOLL_COM3");
  EXPECT_EQ(comDevicePath(1), "/dev/ttyS0");
  EXPECT_EQ(comDevicePath(8), "/dev/ttyS7");
  setenv("TRAMSOLL_COM3", "/dev/ttyUSB0", 1);
  EXPECT_EQ(comDevicePath(3), "/dev/ttyUSB0");
  useFakeLine();
  ASSERT_TRUE(openPort(3, kAdapterVexa5));
  EXPECT_EQ(line->openedPath, "/dev/ttyUSB0");
  EXPECT_EQ(line->settings.baud, 19200);
  EXPECT_TRUE(line->settings.ctsFlowControl);
  auto opened = busLog.of('M');
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].data, adaptertest::textBytes("COM Port 3 Open"));
  EXPECT_EQ(adaptertest::drainDebugLines(), std::vector<std::string>{"AdpComm : COM Port 3 Open"});
}

TEST_F(SerialPortTest, OpenRefusesBadNumbersAndASecondPort) {
  useFakeLine();
  EXPECT_FALSE(openPort(0, kAdapterVexa5));
  EXPECT_FALSE(openPort(9, kAdapterVexa5));
  EXPECT_EQ(errFault.load(), fault::kComOpen);
  EXPECT_FALSE(line->open);

  ASSERT_TRUE(openPort(1, kAdapterPlus));
  EXPECT_EQ(line->settings.baud, 38400);
  EXPECT_FALSE(line->settings.ctsFlowControl);
  EXPECT_FALSE(openPort(2, kAdapterVexa5));
  EXPECT_TRUE(hasBits(errCall, call::kOpenWhileOpen));
  EXPECT_TRUE(portIsOpen());
  EXPECT_TRUE(line->open);
}

TEST_F(SerialPortTest, OpenFailuresTellTheEngineerWhy) {
  setenv("TRAMSOLL_COM3", "/nonexistent/ttyUSB9", 1);
  EXPECT_FALSE(openPort(3, kAdapterVexa5));
  EXPECT_TRUE(hasBits(errFault, fault::kComOpen));
  EXPECT_EQ(adaptertest::drainDebugLines(),
            std::vector<std::string>{"AdpComm : COM3 no such device (error 2): /nonexistent/ttyUSB9"});

  // A device that is no tty fails in its set-up and is closed again.
  setenv("TRAMSOLL_COM2", "/dev/null", 1);
  EXPECT_FALSE(openPort(2, kAdapterVexa5));
  EXPECT_TRUE(hasBits(errFault, fault::kComSetup));
  EXPECT_EQ(adaptertest::drainDebugLines(),
            std::vector<std::string>{"AdpComm : COM2 not a serial device (error 25): /dev/null"});
  EXPECT_FALSE(portIsOpen());

  useFakeLine();
  line->openError = EACCES;
  EXPECT_FALSE(openPort(1, kAdapterVexa5));
  auto lines = adaptertest::drainDebugLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("AdpComm : COM1 permission denied (user not in group dialout)", 0), 0u) << lines[0];
}

TEST_F(SerialPortTest, CloseSendsTheStopCommandAndClearsTheLink) {
  useFakeLine();
  ASSERT_TRUE(openPort(1, kAdapterVexa5));
  queueStatusPoll();
  queueSensorRequest();
  ASSERT_TRUE(vexa5Scheduler());
  receiveAssembly().count = 2;
  line->writes.clear();
  ASSERT_TRUE(closePort());
  EXPECT_EQ(line->writes, (std::vector<Bytes>{{0x02, 0x53, 0x50, 0x01, 0x03}}));
  EXPECT_FALSE(line->open);
  EXPECT_EQ(sendRing().freeCount(), 1024);
  EXPECT_EQ(packetInFlight().code, 0);
  EXPECT_EQ(receiveAssembly().count, 0);
  EXPECT_EQ(busLog.of('M').back().data, adaptertest::textBytes("COM Port close"));

  line->writes.clear();
  ASSERT_TRUE(openPort(1, kAdapterPlus));
  ASSERT_TRUE(closePort());
  EXPECT_EQ(line->writes, (std::vector<Bytes>{{0x20, 0x05, 0x03, 0x00, 0x00, 0x00, 0x26}}));

  // Nothing open: no stop command, only the call error.
  line->writes.clear();
  EXPECT_FALSE(closePort());
  EXPECT_TRUE(hasBits(errCall, call::kCloseNotOpen));
  EXPECT_TRUE(line->writes.empty());
}

TEST_F(SerialPortTest, UnwritableStopCommandStillClosesThePort) {
  useFakeLine();
  ASSERT_TRUE(openPort(1, kAdapterVexa5));
  adaptertest::drainDebugLines();
  line->writeError = EIO;
  EXPECT_TRUE(closePort());
  EXPECT_FALSE(portIsOpen());
  EXPECT_TRUE(hasBits(errFault, fault::kAdapterTimeout));
  EXPECT_EQ(adaptertest::drainDebugLines(),
            (std::vector<std::string>{"AdpComm : Vexa5 WriteFile Error 5", "AdpComm : COM Port close"}));
}

TEST_F(SerialPortTest, FailedWriteIsNotTracedAndIsLeftToTheTimeOut) {
  openFakePort();
  line->writeError = EIO;
  queueStatusPoll();
  ASSERT_TRUE(vexa5Scheduler());
  EXPECT_EQ(packetInFlight().code, 'Z');
  EXPECT_TRUE(hasBits(errFault, fault::kSerialIo));
  EXPECT_TRUE(busLog.of('S').empty());
  EXPECT_EQ(adaptertest::drainDebugLines(), std::vector<std::string>{"AdpComm : Vexa5 WriteFile Error 5"});
  line->writeError = 0;
  clock.advance(std::chrono::milliseconds(3000));
  ASSERT_TRUE(vexa5Scheduler());
  EXPECT_EQ(line->writes, (std::vector<Bytes>{{0x02, 0x5A, 0x58, 0x03}}));
  EXPECT_EQ(busLog.of('S').size(), 1u);
}

TEST_F(SerialPortTest, TraceClampsItsBytesAndGoesOnlyToAnOpenBusLog) {
  uint8_t bytes[300];
  for (int i = 0; i < 300; ++i) bytes[i] = static_cast<uint8_t>(i + 1);
  clock.setSystem(1700000300);
  clock.advance(std::chrono::milliseconds(250));
  traceLink('U', 7, bytes, -1);
  traceLink('U', 0, bytes, 300);
  ASSERT_EQ(busLog.entries.size(), 2u);
  EXPECT_TRUE(busLog.entries[0].data.empty());
  EXPECT_EQ(busLog.entries[0].value, 7u);
  EXPECT_EQ(busLog.entries[0].seconds, 1700000300);
  EXPECT_EQ(busLog.entries[0].milliseconds, 250);
  EXPECT_EQ(busLog.entries[1].data.size(), 256u);
  EXPECT_EQ(busLog.entries[1].data[255], 0x00);  // byte 256 of the input
  gatherState.store(gather::kRunning);
  traceLink('U', 0, bytes, 3);
  EXPECT_EQ(busLog.entries.size(), 2u);
}

// The tty marks a byte that came with a parity or framing error as FF 00
// byte and doubles a data byte FF; the device undoes both. A FIFO stands in
// for the tty here, since a pseudo-terminal never makes a line error.
TEST(TermiosDeviceTest, MarkedBytesCarryTheirErrorAndDoubledFfIsOneByte) {
  char folder[] = "/tmp/termios-markXXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string fifo = std::string(folder) + "/line";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  TermiosDevice device;
  ASSERT_EQ(device.open(fifo), 0);
  int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  const uint8_t raw[] = {0x41, 0xFF, 0xFF, 0x42, 0xFF, 0x00, 0x43, 0xFF, 0x00, 0xFF, 0x44};
  ASSERT_EQ(::write(writer, raw, sizeof raw), static_cast<ssize_t>(sizeof raw));

  std::vector<std::pair<uint8_t, uint32_t>> got;
  for (;;) {
    uint32_t flags = 0;
    int queued = 0;
    ASSERT_EQ(device.query(flags, queued), 0);
    if (queued == 0) break;
    uint8_t byte = 0;
    ASSERT_EQ(device.readByte(byte), 0);
    got.emplace_back(byte, flags);
  }
  const std::vector<std::pair<uint8_t, uint32_t>> expected = {
      {0x41, 0}, {0xFF, 0}, {0x42, 0}, {0x43, line::kParity}, {0xFF, line::kParity}, {0x44, 0}};
  EXPECT_EQ(got, expected);
  ::close(writer);
  device.close();
  unlink(fifo.c_str());
  rmdir(folder);
}

}  // namespace
