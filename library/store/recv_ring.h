// The ring of bus frames received through the adapter (RecvBuffQ7), held as
// fixed 520-byte records until the timer step takes them.
#pragma once

#include <cstdint>
#include <memory>

namespace tramsoll {

constexpr int kBusFrameBytes = 256;
constexpr int kRecvRingSlots = 1024;

struct BusFrameRecord {
  uint8_t data[kBusFrameBytes];        // the frame's bytes in bus order, 0 past count
  uint8_t attributes[kBusFrameBytes];  // one attribute byte per data byte
  int32_t time;                        // whole seconds of the dispatcher's tick
  int16_t count;                       // number of frame bytes, at most 256
  uint8_t status;                      // the adapter's status byte for the frame
  uint8_t reserved;
};
static_assert(sizeof(BusFrameRecord) == 520);

// The fix-up every record gets before it is stored: a frame of type 0x31
// with command 0xE0 and byte 11 = 0x81 is taken as command 0xE1.
void fixRecvFrame(BusFrameRecord& record);

class BusFrameRing {
 public:
  // Stores the record (after fixRecvFrame). A full ring keeps the new record
  // and drops the oldest, sets errLine 0x40 and answers false.
  bool put(const BusFrameRecord& record);
  // Takes the oldest record; false with a zeroed record when there is none.
  bool take(BusFrameRecord& out);
  // Frees the block; the next put allocates it again.
  void release();
  int waiting() const;
  int highWater() const { return highWater_; }

 private:
  std::unique_ptr<BusFrameRecord[]> slots_;
  int write_ = 0;
  int read_ = 0;
  int highWater_ = 0;
};

BusFrameRing& recvBuffQ7();

inline bool recvRingPut(const BusFrameRecord& record) { return recvBuffQ7().put(record); }
inline bool recvRingTake(BusFrameRecord& out) { return recvBuffQ7().take(out); }
inline void recvRingRelease() { recvBuffQ7().release(); }

}  // namespace tramsoll
