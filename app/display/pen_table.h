// The eight analog pens of a display window and which item holds each. An
// item keys its pen by its list number (its row in the item list); a freed
// pen remembers its last holder, so an item turned off and on again gets its
// colour back while nobody else took the pen.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Colours are 0x00BBGGRR (red in the low byte). The first pen is near-black,
// not black.
inline constexpr std::array<uint32_t, 8> kPenColor = {0x010101, 0x0000FF, 0x00B000, 0x404080,
                                                      0xFF00FF, 0xC0B000, 0x0080FF, 0xA000A0};
// Every digital lane is drawn in one colour.
inline constexpr uint32_t kDigitalColor = 0xFF0000;
inline constexpr int32_t kPens = 8;

class PenTable {
 public:
  // The pen of the item on that row: 0 when it holds none.
  int32_t penOfRow(int32_t row) const;
  // Gives the row a free pen, its former one first; 0 and no change when
  // all eight are taken.
  int32_t takePen(int32_t row);
  // Frees the row's pen; the pen keeps the row as its last holder.
  void releasePen(int32_t row);
  // The first marking of a window: the rows (in list order, at most eight)
  // take pens 0, 1, ...; the other pens are free.
  void assignFirst(const std::vector<int32_t>& rows);

  bool inUse(int32_t pen) const { return penInUse_[pen]; }
  int32_t rowOf(int32_t pen) const { return penRow_[pen]; }

 private:
  std::array<bool, kPens> penInUse_{};
  std::array<int32_t, kPens> penRow_{};
};
