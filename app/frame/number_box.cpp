#include "frame/number_box.h"

#include <algorithm>
#include <limits>

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
int digitValue(QChar c) { return c.unicode() - '0'; }

// Magnitudes are held here once they pass it; far beyond every box's range,
// so a held value still reads as too large.
constexpr int64_t kHeldMagnitude = std::numeric_limits<int64_t>::max() / 10 - 10;
// Exponents are held here: any number moved this far is held or 0 anyway.
constexpr int64_t kHeldExponent = 1'000'000'000;

// A typed number as its digits without the point and the place of the point
// among them (after the exponent moved it): the value is 0.d1d2d3... times
// ten to the power pointAt.
struct TypedDecimal {
  bool negative = false;
  QString digits;
  int64_t pointAt = 0;
};

// Digits from `at` on, appended to `digits`; answers how many.
qsizetype readDigits(const QString& text, qsizetype& at, QString& digits) {
  const qsizetype first = at;
  for (; at < text.size() && isDigit(text[at]); ++at) digits += text[at];
  return at - first;
}

bool readSign(const QString& text, qsizetype& at) {
  if (at >= text.size() || (text[at] != QLatin1Char('+') && text[at] != QLatin1Char('-'))) return false;
  return text[at++] == QLatin1Char('-');
}

std::optional<int64_t> readExponent(const QString& text, qsizetype& at) {
  const bool negative = readSign(text, at);
  QString digits;
  if (readDigits(text, at, digits) == 0) return std::nullopt;
  int64_t value = 0;
  for (QChar digit : digits) value = std::min(value * 10 + digitValue(digit), kHeldExponent);
  return negative ? -value : value;
}

std::optional<TypedDecimal> readDecimal(const QString& typed, Exponent exponent) {
  const QString text = typed.trimmed();
  qsizetype at = 0;
  TypedDecimal number;
  number.negative = readSign(text, at);
  number.pointAt = readDigits(text, at, number.digits);
  if (at < text.size() && text[at] == QLatin1Char('.')) {
    ++at;
    readDigits(text, at, number.digits);
  }
  if (number.digits.isEmpty()) return std::nullopt;
  if (exponent == Exponent::Allowed && at < text.size() && (text[at] == QLatin1Char('e') || text[at] == QLatin1Char('E'))) {
    ++at;
    const std::optional<int64_t> moved = readExponent(text, at);
    if (!moved) return std::nullopt;
    number.pointAt += *moved;
  }
  if (at != text.size()) return std::nullopt;
  return number;
}

// The whole part, then the fraction's first digit against 5 and whether
// anything follows a 5.
int64_t roundedHalfToEven(const TypedDecimal& number) {
  const qsizetype count = number.digits.size();
  int64_t whole = 0;
  for (int64_t i = 0; i < number.pointAt; ++i) {
    // Past the typed digits only zeros follow: nothing changes a 0, and a
    // held magnitude stays held.
    if (i >= count && (whole == 0 || whole == kHeldMagnitude)) break;
    const int digit = i < count ? digitValue(number.digits[static_cast<qsizetype>(i)]) : 0;
    whole = std::min(whole * 10 + digit, kHeldMagnitude);
  }
  int firstFraction = 0;
  bool restNonZero = false;
  if (number.pointAt >= 0 && number.pointAt < count) {
    const auto first = static_cast<qsizetype>(number.pointAt);
    firstFraction = digitValue(number.digits[first]);
    for (qsizetype i = first + 1; i < count; ++i) restNonZero = restNonZero || number.digits[i] != QLatin1Char('0');
  }
  if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || whole % 2 == 1))) ++whole;
  return whole;
}

}  // namespace

std::optional<int64_t> parseBoxNumber(const QString& text, Exponent exponent) {
  const std::optional<TypedDecimal> number = readDecimal(text, exponent);
  if (!number) return std::nullopt;
  const int64_t whole = roundedHalfToEven(*number);
  return number->negative ? -whole : whole;
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
