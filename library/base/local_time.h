// Calendar fields of the local time of a stored time value, as the file and
// cursor exports hand them out.
#pragma once

#include <cstdint>

namespace tramsoll {

struct LocalDate {
  int32_t year = 0;  // four digits
  int32_t month = 0;
  int32_t day = 0;
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t secondOfDay() const { return hour * 3600 + minute * 60 + second; }
};

// The local date of `seconds` since 1970. A value without one gives all
// zeros, the bad-time bit of the call error word and the diagnostic line
// "<module>: Bad Time Value %d".
bool localDate(int64_t seconds, LocalDate& out, const char* module = "Tramsoll");

}  // namespace tramsoll
