#include "display/pen_table.h"

#include <algorithm>

int32_t PenTable::penOfRow(int32_t row) const {
  for (int32_t k = 0; k < kPens; ++k) {
    if (penInUse_[k] && penRow_[k] == row) return k;
  }
  return 0;
}

int32_t PenTable::takePen(int32_t row) {
  int32_t free = -1;
  for (int32_t k = 0; k < kPens; ++k) {
    if (penInUse_[k]) continue;
    if (penRow_[k] == row) {
      free = k;
      break;
    }
    if (free < 0) free = k;
  }
  if (free < 0) return 0;
  penInUse_[free] = true;
  penRow_[free] = row;
  return free;
}

void PenTable::releasePen(int32_t row) {
  for (int32_t k = 0; k < kPens; ++k) {
    if (penInUse_[k] && penRow_[k] == row) {
      penInUse_[k] = false;
      return;
    }
  }
}

void PenTable::assignFirst(const std::vector<int32_t>& rows) {
  const int32_t m = std::min<int32_t>(static_cast<int32_t>(rows.size()), kPens);
  for (int32_t k = 0; k < kPens; ++k) {
    penInUse_[k] = k < m;
    if (k < m) penRow_[k] = rows[k];
  }
}
