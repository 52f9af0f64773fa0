// The one conversion between stored time values (seconds since 1970) and the
// calendar fields of the local time, both ways, and the texts made of them:
// the file and cursor exports, the recorded files' names, the CSV date range
// and the record-time lines all go through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

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

// The local date of `seconds` since 1970; false (and all zeros) for a value
// that has none.
bool localFields(int64_t seconds, LocalDate& out);

// The same for a value the caller handed in: one without a date also sets
// the bad-time bit of the call error word and writes the diagnostic line
// "<module>: Bad Time Value %d".
bool localDate(int64_t seconds, LocalDate& out, const char* module = "Tramsoll");

// Seconds since 1970 of local calendar fields as the engineer typed them
// (daylight saving found by the C library; fields out of range carried over
// as mktime carries them), -1 when the fields name no time.
int64_t localSeconds(const LocalDate& date);

// "yy/mm/dd hh:mm:ss" of the local time, the year counted from 1900.
// Answers false (and an empty text) for a time that has no date.
bool dateTimeText(std::time_t seconds, char* out, std::size_t size);

}  // namespace tramsoll
