// The one reader of numbers typed into the boxes of the recording set-up, the
// records windows and the control-parameter change: a signed decimal number
// with at most one point (and, where the box allows it, an exponent), read
// without the locale and taken to a whole number, halves to the even one.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The largest record time a box stores, in minutes, and how the box then
// shows it.
inline constexpr int32_t kMaxRecodeMinutes = 10'000'000;
inline constexpr const char* kMaxRecodeMinutesText = "10000000";

enum class Exponent { Refused, Allowed };

// The whole number a box holds: outer blanks removed, an optional sign,
// digits and at most one "." (digits on at least one side of it), and with
// Exponent::Allowed an optional "e" or "E", a sign and digits; no grouping,
// hexadecimal, "nan", "inf" or locale. Rounded to the nearest, a half to the
// even neighbour, exactly on the typed digits. Values past the 64-bit range
// are held at its ends. None for any other text.
std::optional<int64_t> parseBoxNumber(const QString& text, Exponent exponent = Exponent::Refused);

// A record time box: what it stores and whether the box must be rewritten
// to kMaxRecodeMinutesText. Not a number stores 0 and the text stays; a
// number is first held within 32 bits, then anything above
// kMaxRecodeMinutes becomes kMaxRecodeMinutes.
struct MinutesEntry {
  int32_t minutes = 0;
  bool clamped = false;
};
MinutesEntry minutesFromBox(const QString& text);

// A box that must hold a 32-bit whole number (offsets, full scales): none
// when the text is not a number or the number does not fit in 32 bits.
std::optional<int32_t> wholeNumberFromBox(const QString& text);
