#include <gtest/gtest.h>

#include <cstring>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "library/support/library_test.h"
#include "store/recv_ring.h"

using namespace tramsoll;

namespace {

class RecvRingTest : public testsupport::LibraryTest {
 protected:
  static BusFrameRecord numbered(int n) {
    BusFrameRecord record{};
    record.data[0] = static_cast<uint8_t>(n);
    record.data[1] = static_cast<uint8_t>(n >> 8);
    record.count = 2;
    record.time = n;
    return record;
  }
};

TEST_F(RecvRingTest, Holds1023RecordsAndDropsTheOldestOnOverflow) {
  for (int i = 0; i < 1023; ++i) ASSERT_TRUE(recvRingPut(numbered(i))) << i;
  EXPECT_EQ(recvBuffQ7().waiting(), 1023);
  EXPECT_FALSE(hasBits(errLine, line::kRecvRingFull));

  EXPECT_FALSE(recvRingPut(numbered(1023)));
  EXPECT_TRUE(hasBits(errLine, line::kRecvRingFull));
  char text[kLineSize];
  ASSERT_TRUE(debugRing().take(text));
  EXPECT_STREQ(text, "MemMngr: Recv Buffer Full");
  EXPECT_EQ(recvBuffQ7().waiting(), 1023);

  BusFrameRecord out;
  for (int i = 1; i <= 1023; ++i) {
    ASSERT_TRUE(recvRingTake(out));
    ASSERT_EQ(out.time, i) << "the oldest went, the newest stayed";
  }
  EXPECT_FALSE(recvRingTake(out));
  EXPECT_EQ(recvBuffQ7().highWater(), 1022);
}

TEST_F(RecvRingTest, ReleasedRingGivesNothingAndComesBackOnPut) {
  recvRingPut(numbered(5));
  recvRingRelease();
  BusFrameRecord out;
  std::memset(&out, 0x77, sizeof out);
  EXPECT_FALSE(recvRingTake(out));
  const uint8_t* raw = reinterpret_cast<const uint8_t*>(&out);
  for (std::size_t i = 0; i < sizeof out; ++i) ASSERT_EQ(raw[i], 0) << i;
  EXPECT_TRUE(recvRingPut(numbered(6)));
  ASSERT_TRUE(recvRingTake(out));
  EXPECT_EQ(out.time, 6);
}

TEST_F(RecvRingTest, PutAppliesTheFrameFixUp) {
  BusFrameRecord record{};
  record.data[0] = 0xF1;  // 0x31 in the low six bits
  record.data[5] = 0xE0;
  record.data[11] = 0x81;
  record.count = 12;
  recvRingPut(record);
  record.data[11] = 0x80;
  recvRingPut(record);
  BusFrameRecord out;
  ASSERT_TRUE(recvRingTake(out));
  EXPECT_EQ(out.data[5], 0xE1);
  ASSERT_TRUE(recvRingTake(out));
  EXPECT_EQ(out.data[5], 0xE0);
}

}  // namespace
