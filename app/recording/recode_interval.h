// The nine recording intervals the set-up lists offer, in seconds.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

inline constexpr std::array<int32_t, 9> kRecodeIntervals = {5, 10, 20, 30, 60, 120, 180, 300, 600};

// The list index of an interval, -1 for a value not in the list (the list
// then selects nothing).
inline int recodeIntervalIndex(int32_t seconds) {
  for (std::size_t i = 0; i < kRecodeIntervals.size(); ++i) {
    if (kRecodeIntervals[i] == seconds) return static_cast<int>(i);
  }
  return -1;
}

// The interval a list text names; `current` for any text that is not one of
// the nine, so a stored value is never replaced by one the list cannot show.
inline int32_t recodeIntervalFromText(const QString& text, int32_t current) {
  bool ok = false;
  const int32_t seconds = text.trimmed().toInt(&ok);
  return ok && recodeIntervalIndex(seconds) >= 0 ? seconds : current;
}
