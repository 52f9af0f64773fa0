#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "q7/q7_frames.h"
#include "q7/q7_send_queue.h"

using namespace tramsoll;

namespace {

std::vector<uint8_t> bytesOf(const Q7Frame& frame) { return {frame.bytes, frame.bytes + frame.length}; }

std::string textOf(uint8_t code, uint8_t flag) {
  char out[3];
  errorCodeText(code, flag, out);
  return out;
}

TEST(Q7FramesTest, CheckByteMakesTheBytesAfterTheFirstAddUpToZero) {
  uint8_t poll[12] = {0xFD, 0x0F, 0xFF, 0x14, 0x06, 0x18, 0xFF, 0x00, 0x7E, 0x00, 0x00, 0x00};
  putCheckByte(poll, sizeof poll);
  EXPECT_EQ(poll[11], 0x43);  // 0x0F+0xFF+0x14+0x06+0x18+0xFF+0x7E = 0x2BD
  EXPECT_TRUE(checkByteMatches(poll, sizeof poll));
  EXPECT_EQ(bytesOf(pollFrame()), std::vector<uint8_t>(poll, poll + 12));

  // The first byte takes no part in the sum.
  poll[0] = 0x12;
  EXPECT_TRUE(checkByteMatches(poll, sizeof poll));
  poll[5] ^= 1;
  EXPECT_FALSE(checkByteMatches(poll, sizeof poll));
}

TEST(Q7FramesTest, DetailQueriesDifferOnlyInTheirCode) {
  EXPECT_EQ(bytesOf(unitQueryFrame(5, q7query::kDetail0)),
            (std::vector<uint8_t>{0xBD, 0x0F, 0x05, 0x14, 0x06, 0x50, 0xD0, 0, 0xFF, 0, 0, 0xB3}));
  EXPECT_EQ(bytesOf(unitQueryFrame(5, q7query::kDetailB)).back(), 0xA8);
}

TEST(Q7FramesTest, SettingFramesCarryAddressNumberAndValue) {
  EXPECT_EQ(bytesOf(settingRequestFrame(5, 3, 0)),
            (std::vector<uint8_t>{0xFD, 0x0F, 0xFF, 0x08, 0x04, 0xE6, 0x05, 0x03, 0x00, 0xF8}));
  // The request carries only the value's low byte, the change both, low first.
  EXPECT_EQ(bytesOf(settingRequestFrame(5, 3, 0x1234)),
            (std::vector<uint8_t>{0xFD, 0x0F, 0xFF, 0x08, 0x04, 0xE6, 0x05, 0x03, 0x34, 0xC4}));
  EXPECT_EQ(bytesOf(settingChangeFrame(5, 3, 0x1234)),
            (std::vector<uint8_t>{0xFD, 0x0F, 0xFF, 0x08, 0x05, 0xE8, 0x05, 0x03, 0x34, 0x12, 0xAF}));
}

TEST(Q7FramesTest, SetPointBytesRoundToTenthsAndKeepTheSign) {
  SetPointBytes b = encodeSetPoint(22.5f);
  EXPECT_EQ(b.whole, 22);
  EXPECT_EQ(b.tenths, 0x85);
  b = encodeSetPoint(22.3f);  // 22.2999992 as a float
  EXPECT_EQ(b.whole, 22);
  EXPECT_EQ(b.tenths, 0x83);
  EXPECT_FLOAT_EQ(decodeSetPoint(b.whole, b.tenths), 22.3f);
  b = encodeSetPoint(-5.5f);
  EXPECT_EQ(b.whole, 5);
  EXPECT_EQ(b.tenths, 0xC5);
  EXPECT_FLOAT_EQ(decodeSetPoint(b.whole, b.tenths), -5.5f);
  b = encodeSetPoint(-128.0f);
  EXPECT_EQ(b.whole, 128);
  EXPECT_EQ(b.tenths, 0xC0);
  b = encodeSetPoint(26.96f);  // rounds up into the next whole degree
  EXPECT_EQ(b.whole, 27);
  EXPECT_EQ(b.tenths, 0x80);

  // Values no byte can hold never wrap around.
  b = encodeSetPoint(1000.0f);
  EXPECT_EQ(b.whole, 255);
  EXPECT_EQ(b.tenths, 0x89);
  b = encodeSetPoint(std::nanf(""));
  EXPECT_EQ(b.whole, 0);
  EXPECT_EQ(b.tenths, 0x80);
  b = encodeSetPoint(-0.01f);  // rounds to zero: no sign
  EXPECT_EQ(b.tenths, 0x80);
}

TEST(Q7FramesTest, ErrorCodeTextFromBothTables) {
  EXPECT_EQ(textOf(0x13, 0x00), "A3");
  EXPECT_EQ(textOf(0x0F, 0x01), "3F");
  EXPECT_EQ(textOf(0x07, 0x00), "  ");  // no error: a blank pair
  EXPECT_EQ(textOf(0x00, 0x00), "  ");
  EXPECT_EQ(textOf(0xFA, 0x00), "4A");
  EXPECT_EQ(textOf(0xFB, 0x01), "-H");
  EXPECT_EQ(textOf(0x9C, 0x00), "UC");
  EXPECT_EQ(textOf(0x9D, 0x01), "VJ");
  EXPECT_EQ(textOf(0x2E, 0x03), "1E");  // only bit 0 of the flag counts
  EXPECT_EQ(textOf(0x2E, 0x02), "CE");
}

TEST(Q7FramesTest, AddressClassesAndModeValues) {
  EXPECT_EQ(addressClass(4), 0);
  EXPECT_EQ(addressClass(124), 31);
  EXPECT_EQ(addressClass(15), kQ7OwnClass);
  EXPECT_EQ(addressClass(0), kQ7UnknownClass);
  EXPECT_EQ(addressClass(5), kQ7UnknownClass);
  EXPECT_EQ(addressClass(255), kQ7UnknownClass);
  EXPECT_EQ(modeValueKind9(0xFE, 0), 2);
  EXPECT_EQ(modeValueKind11(0, 0x03), 19);
  EXPECT_EQ(modeValueKind11(0, 0x0F), 27);
}

TEST(Q7SendQueueTest, HoldsAtMost511FramesAndRefusesRatherThanOverwrites) {
  auto queue = std::make_unique<Q7SendQueue>();
  uint8_t frame[12] = {};
  for (int i = 0; i < 511; ++i) {
    frame[0] = static_cast<uint8_t>(i);
    ASSERT_EQ(queue->put(frame), 0) << i;
  }
  frame[0] = 0xEE;
  EXPECT_EQ(queue->put(frame), kQ7QueueFull);
  EXPECT_EQ(queue->size(), 511u);

  uint8_t out[kQ7FrameBytes];
  int32_t length = 0;
  for (int i = 0; i < 511; ++i) {
    ASSERT_EQ(queue->take(out, length), 0);
    ASSERT_EQ(out[0], static_cast<uint8_t>(i));  // the oldest frame survived
    ASSERT_EQ(length, 12);
  }
  out[3] = 0x55;
  EXPECT_EQ(queue->take(out, length), kQ7QueueEmpty);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(out[3], 0);

  // Wrapping round the slots keeps the order.
  for (int i = 0; i < 600; ++i) {
    frame[0] = static_cast<uint8_t>(i);
    ASSERT_EQ(queue->put(frame), 0);
    ASSERT_EQ(queue->take(out, length), 0);
    ASSERT_EQ(out[0], frame[0]);
  }
  std::vector<uint8_t> longFrame(300, 0xAB);
  ASSERT_EQ(queue->put(longFrame), 0);
  ASSERT_EQ(queue->take(out, length), 0);
  EXPECT_EQ(length, 256);
}

}  // namespace
