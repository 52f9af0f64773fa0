#include "frame/number_box.h"

#include <algorithm>
#include <limits>

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
int digitValue(QChar c) { return c.unicode() - '0'; }

// Magnitudes are held here once they pass it; far beyond every box's range,
// so a held value still reads as too large.
constexpr int64_t kHeldMagnitude = std::numeric_limits<int64_t>::max() / 10 - 10;

}  // namespace

std::optional<int64_t> parseBoxNumber(const QString& typed) {
  const QString text = typed.trimmed();
  qsizetype at = 0;
  const qsizetype end = text.size();
  bool negative = false;
  if (at < end && (text[at] == QLatin1Char('+') || text[at] == QLatin1Char('-'))) {
    negative = text[at] == QLatin1Char('-');
    ++at;
  }
  int64_t whole = 0;
  bool anyDigit = false;
  for (; at < end && isDigit(text[at]); ++at) {
    whole = std::min(whole * 10 + digitValue(text[at]), kHeldMagnitude);
    anyDigit = true;
  }
  // The fraction only decides the rounding: its first digit against 5, and
  // whether anything follows a 5.
  int firstFraction = 0;
  bool restNonZero = false;
  if (at < end && text[at] == QLatin1Char('.')) {
    ++at;
    for (bool first = true; at < end && isDigit(text[at]); ++at, first = false) {
      anyDigit = true;
      if (first) {
        firstFraction = digitValue(text[at]);
      } else if (text[at] != QLatin1Char('0')) {
        restNonZero = true;
      }
    }
  }
  if (at != end || !anyDigit) return std::nullopt;
  if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || whole % 2 == 1))) ++whole;
  return negative ? -whole : whole;
}

MinutesEntry minutesFromBox(const QString& text) {
  const std::optional<int64_t> number = parseBoxNumber(text);
  if (!number) return {};
  const int64_t held = std::clamp<int64_t>(*number, std::numeric_limits<int32_t>::min(),
                                           std::numeric_limits<int32_t>::max());
  if (held > kMaxRecodeMinutes) return {kMaxRecodeMinutes, true};
  return {static_cast<int32_t>(held), false};
}

std::optional<int32_t> wholeNumberFromBox(const QString& text) {
  const std::optional<int64_t> number = parseBoxNumber(text);
  if (!number || *number < std::numeric_limits<int32_t>::min() || *number > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(*number);
}
