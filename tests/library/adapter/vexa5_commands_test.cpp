#include <gtest/gtest.h>

#include "adapter/check_bytes.h"
#include "adapter/send_ring.h"
#include "adapter_support.h"

using namespace tramsoll;
using adaptertest::Bytes;

namespace {

std::vector<Bytes> queued() { return adaptertest::takeQueued(); }

const uint8_t kStartBytes1821[8] = {'1', '8', '2', '1', 'S', 'S', 'K', 'K'};

class Vexa5CommandsTest : public adaptertest::AdapterTest {};

TEST_F(Vexa5CommandsTest, PollSensorParameterAndBusSendPackets) {
  queueStatusPoll();
  queueSensorRequest();
  queueParameterRequest("B-01");
  const uint8_t frame[] = {0xFD, 0x0F, 0xFF, 0x14, 0x06, 0x18, 0xFF, 0x00, 0x7E, 0x00, 0x00, 0x43};
  queueBusSend(frame, sizeof frame);
  auto packets = queued();
  ASSERT_EQ(packets.size(), 4u);
  EXPECT_EQ(packets[0], (Bytes{0x02, 0x5A, 0x58, 0x03}));
  EXPECT_EQ(packets[1], (Bytes{0x02, 0x41, 0x43, 0x03}));
  EXPECT_EQ(packets[2], (Bytes{0x02, 0x42, 0x30, 0x31, 0x41, 0x03}));
  Bytes send{0x02, 'F'};
  send.insert(send.end(), frame, frame + sizeof frame);
  EXPECT_EQ(packets[3], adaptertest::packet(Bytes(send.begin() + 1, send.end())));
  EXPECT_EQ(packets[3].size(), sizeof frame + 4);
}

TEST_F(Vexa5CommandsTest, StartCommandOfEachMode) {
  queueStartCommand(kAdapterVexa5, start::kBusMonitoring, 0, nullptr);
  EXPECT_EQ(queued(), (std::vector<Bytes>{{0x02, 0x53, 0x44, 0x30, 0x46, 0x46, 0x46, 0x46, 0x25, 0x03}}));

  queueStartCommand(kAdapterPlus, start::kBusMonitoring, 0, nullptr);
  EXPECT_EQ(queued(), (std::vector<Bytes>{{0x20, 0x06, 0x03, 0x01, 0x00, 0x00, 0x24}}));

  queueStartCommand(kAdapterVexa5, start::kParameterMode, 0, nullptr);
  EXPECT_EQ(queued(), (std::vector<Bytes>{{0x02, 0x53, 0x50, 0x01, 0x03}}));

  queueStartCommand(kAdapterVexa5, start::kOneUnit, 9, kStartBytes1821);
  EXPECT_EQ(queued(), (std::vector<Bytes>{{0x02, 0x53, 0x53, '1', '8', '2', '1', 'S', 'S', 'K', 'K', 0x08, 0x03}}));

  // Kind 11 asks the board for block "01" right after the connection.
  queueStartCommand(kAdapterVexa5, start::kOneUnit, 11, kStartBytes1821);
  auto packets = queued();
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[1], (Bytes{0x02, 0x44, 0x01, 0x01, 0x46, 0x03}));

  // Kind 13 starts its sequence at "04".
  queueStartCommand(kAdapterVexa5, start::kOneUnit, 13, kStartBytes1821);
  EXPECT_EQ(queued(), (std::vector<Bytes>{{0x02, 0x53, 0x53, '1', '8', '2', '1', 'S', 'S', '0', '4', 0x0C, 0x03}}));
}

TEST_F(Vexa5CommandsTest, StartCommandEmptiesTheRingFirst) {
  queueStatusPoll();
  queueSensorRequest();
  queueStartCommand(kAdapterVexa5, start::kParameterMode, 0, nullptr);
  EXPECT_EQ(queued().size(), 1u);
}

TEST_F(Vexa5CommandsTest, BoardRequestOfEachUnitKind) {
  struct Case {
    int kind;
    const char* text;
    Bytes expected;
  };
  const Case cases[] = {
      {8, "AB12", {0x02, 0x44, 0x09, 0x4D, 0x52, 0x41, 0x42, 0x31, 0x32, 0x37, 0x41, 0x0D, 0x2B, 0x03}},
      {9, "Q", {0x02, 0x44, 0x05, 0x02, 0x52, 0x51, 0xA3, 0x03, 0xE2, 0x03}},
      {10, "W012", {0x02, 0x44, 0x09, 0x02, 0x58, 0x45, 0x57, 0x30, 0x31, 0x32, 0x87, 0x03, 0xB0, 0x03}},
      {11, "3f", {0x02, 0x44, 0x01, 0x3F, 0x78, 0x03}},
      // A short kind-12 name is padded with zero bytes to six.
      {12, "AB", {0x02, 0x44, 0x09, 0x02, 0x41, 0x42, 0x00, 0x00, 0x00, 0x00, 0x83, 0x03, 0xCE, 0x03}},
      {14, "0A0B", {0x02, 0x44, 0x03, 0x01, 0x0A, 0x0B, 0x45, 0x03}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    EXPECT_TRUE(queueUnitRequest(c.kind, c.text, 0));
    EXPECT_EQ(queued(), std::vector<Bytes>{c.expected});
  }
  // A kind-12 name longer than six is cut; other kinds queue nothing.
  queueUnitRequest(12, "ABCDEFGH", 0);
  EXPECT_EQ(queued()[0], adaptertest::packet({'D', 9, 0x02, 'A', 'B', 'C', 'D', 'E', 'F', 0x95, 0x03}));
  EXPECT_FALSE(queueUnitRequest(7, "AB", 0));
  EXPECT_FALSE(queueUnitRequest(15, "AB", 0));
  EXPECT_TRUE(queued().empty());
}

TEST_F(Vexa5CommandsTest, Kind13ResendsTheConnectionWhenTheSequenceMoves) {
  queueStartCommand(kAdapterVexa5, start::kOneUnit, 13, kStartBytes1821);
  queued();
  // q = 3: q + 1 is the 4 the start set, so only the request goes.
  queueUnitRequest(13, "1234", 3);
  EXPECT_EQ(queued(), (std::vector<Bytes>{{0x02, 0x44, 0x04, 0x03, 0x12, 0x34, 0xB6, 0xD1, 0x03}}));
  // q = 9: the saved 'SS' goes again with "0a" (lower case) first.
  queueUnitRequest(13, "1234", 9);
  auto packets = queued();
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0], (Bytes{0x02, 0x53, 0x53, '1', '8', '2', '1', 'S', 'S', '0', 'a', 0x59, 0x03}));
  queueUnitRequest(13, "1234", 9);
  EXPECT_EQ(queued().size(), 1u);
  // q = 255 wraps to "00" instead of running into a third digit.
  queueUnitRequest(13, "1234", 255);
  packets = queued();
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0][9], '0');
  EXPECT_EQ(packets[0][10], '0');
  EXPECT_EQ(packets[0][12], 0x03);
}

TEST_F(Vexa5CommandsTest, SendRingHolds1023AndDropsTheNewestWhenFull) {
  EXPECT_EQ(sendRing().freeCount(), 1024);
  EXPECT_TRUE(sendRing().hasRoomFor(1023));
  EXPECT_FALSE(sendRing().hasRoomFor(1024));
  for (int i = 0; i < 1023; ++i) {
    uint8_t p[3] = {0x02, static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8)};
    ASSERT_TRUE(sendRing().put(p, 3)) << i;
  }
  EXPECT_EQ(sendRing().freeCount(), 1);
  EXPECT_FALSE(sendRing().hasRoomFor(1));
  EXPECT_FALSE(queueStatusPoll());
  EXPECT_TRUE(hasBits(errLine, line::kSendRingFull));
  EXPECT_EQ(adaptertest::drainDebugLines(), std::vector<std::string>{"MemMngr: Send Buffer Full"});
  // Nothing queued was lost, in order.
  uint8_t out[kPacketSize];
  int length = 0;
  for (int i = 0; i < 1023; ++i) {
    ASSERT_TRUE(sendRing().take(out, length));
    ASSERT_EQ(out[1] | out[2] << 8, i);
  }
  EXPECT_FALSE(sendRing().take(out, length));
  EXPECT_EQ(length, 0);
}

TEST_F(Vexa5CommandsTest, SendRingRefusesPacketsLongerThanASlot) {
  Bytes frame(253, 0x11);
  EXPECT_FALSE(queueBusSend(frame.data(), 253));  // 257 bytes with its frame
  EXPECT_TRUE(queueBusSend(frame.data(), 252));
  auto packets = queued();
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(packets[0].size(), 256u);
  EXPECT_FALSE(hasBits(errLine, line::kSendRingFull));
}

TEST(CheckBytesTest, RangesStayInsideTheBufferAndHexReadsBothCases) {
  uint8_t bytes[kPacketSize];
  for (int i = 0; i < kPacketSize; ++i) bytes[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(checkByte(bytes, 1, 3), 1 ^ 2 ^ 3);
  EXPECT_EQ(sumBytes(bytes, 254, 255), static_cast<uint8_t>(254 + 255));
  EXPECT_EQ(checkByte(bytes, 0, 256), 0);  // would read past the buffer
  EXPECT_EQ(sumBytes(bytes, 3, 2), 0);
  EXPECT_EQ(sumBytes(bytes, -1, 2), 0);
  EXPECT_EQ(hexToByte('3', 'f'), 0x3F);
  EXPECT_EQ(hexToByte('3', 'F'), 0x3F);
  EXPECT_EQ(hexToByte('G', '1'), 0x01);
  char hex[2];
  byteToHex(0xA7, hex);
  EXPECT_EQ(std::string(hex, 2), "A7");
}

}  // namespace
