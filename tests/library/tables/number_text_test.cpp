#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "tables/number_text.h"

using namespace tramsoll;

namespace {

std::string fixed(double value, int decimals) {
  char text[64];
  formatFixed(text, sizeof text, value, decimals);
  return text;
}

std::string printfFixed(double value, int decimals) {
  char text[512];
  std::snprintf(text, sizeof text, decimals == 1 ? "%.1f" : "%.2f", value);
  return text;
}

TEST(FormatFixed, MatchesPrintfInTheCLocaleForFloats) {
  ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  const float special[] = {0.0f,    -0.0f,   0.05f,   0.15f,   0.25f,    0.35f,   0.45f,    1.005f,  2.675f,
                           12.5f,   -12.5f,  -0.04f,  99.95f,  1e30f,    -3e38f,  1e-30f,   0.125f,  0.375f,
                           23.45f,  -26.7f,  1e6f,    16777217.0f, std::numeric_limits<float>::max(),
                           std::numeric_limits<float>::denorm_min()};
  for (float v : special) {
    for (int decimals : {1, 2}) EXPECT_EQ(fixed(v, decimals), printfFixed(v, decimals)) << v;
  }
  std::mt19937 random(12345);
  for (int i = 0; i < 200000; ++i) {
    uint32_t bits = random();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v) || std::fabs(v) > 1e12f) v = static_cast<float>(static_cast<int32_t>(bits)) / 1000.0f;
    int decimals = 1 + (i & 1);
    ASSERT_EQ(fixed(v, decimals), printfFixed(v, decimals)) << v;
  }
  // Halves of the last shown digit, where rounding is decided.
  for (int k = -20000; k <= 20000; ++k) {
    float v = static_cast<float>(k) / 20.0f;
    ASSERT_EQ(fixed(v, 1), printfFixed(v, 1)) << v;
    float w = static_cast<float>(k) / 200.0f;
    ASSERT_EQ(fixed(w, 2), printfFixed(w, 2)) << w;
  }
  // Floats of the sizes units send, for every count of decimals up to 4.
  for (int i = 0; i < 200000; ++i) {
    float v = std::ldexp(static_cast<float>(random() & 0xFFFFFF) - 8388608.0f, static_cast<int>(random() % 48) - 40);
    int decimals = static_cast<int>(random() % 5);
    char expected[512];
    std::snprintf(expected, sizeof expected, "%.*f", decimals, static_cast<double>(v));
    ASSERT_EQ(fixed(v, decimals), expected) << v << " " << decimals;
  }
}

TEST(FormatFixed, NonFiniteValuesAndSmallBuffers) {
  EXPECT_EQ(fixed(std::numeric_limits<double>::infinity(), 1), "inf");
  EXPECT_EQ(fixed(-std::numeric_limits<double>::infinity(), 1), "-inf");
  EXPECT_EQ(fixed(std::nan(""), 1), "nan");
  char text[4];
  EXPECT_EQ(formatFixed(text, sizeof text, 12345.5, 1), 3u);
  EXPECT_STREQ(text, "123");
  EXPECT_EQ(formatFixed(text, 0, 1.0, 1), 0u);
  // A double far beyond the float range still fits the work buffer.
  EXPECT_EQ(fixed(1e300, 1).substr(0, 4), "1000");
}

TEST(TextToDouble, ReadsTheLeadingNumberLikeTheCLibrary) {
  const char* texts[] = {"12.5", "-3",  "+4.5", "1e3", "1E-2", ".5",    "5.",  "12abc", "1e",    "1e+",  "-.5e1",
                         "007",  "0",   "-0",   "",    "abc",  "-",     "+",   ".",     "--1",   "+-1",  "-+1",
                         " 42",  "inf", "-INF", "1e400", "-1e400", "1e-400", "0.0000001e-320"};
  for (const char* text : texts) {
    double expected = std::strtod(text, nullptr);
    double got = textToDouble(text);
    if (std::isnan(expected)) {
      EXPECT_TRUE(std::isnan(got)) << text;
    } else {
      EXPECT_EQ(got, expected) << text;
      EXPECT_EQ(std::signbit(got), std::signbit(expected)) << text;
    }
  }
  EXPECT_TRUE(std::isnan(textToDouble("nan")));
  EXPECT_EQ(textToDouble(nullptr), 0.0);
  // Out of range written without an exponent.
  EXPECT_EQ(textToDouble(("1" + std::string(400, '0')).c_str()), HUGE_VAL);
  EXPECT_EQ(textToDouble(("0." + std::string(400, '0') + "1").c_str()), 0.0);
  EXPECT_EQ(textToDouble(("0." + std::string(400, '0') + "1e800").c_str()), HUGE_VAL);
  EXPECT_EQ(textToDouble(("0." + std::string(400, '0') + "1e500").c_str()), 1e99);
}

TEST(TextToInt, LeadingDecimalIntegerStoppingAtTheRange) {
  EXPECT_EQ(textToInt("42"), 42);
  EXPECT_EQ(textToInt("-7x"), -7);
  EXPECT_EQ(textToInt("+3"), 3);
  EXPECT_EQ(textToInt("abc"), 0);
  EXPECT_EQ(textToInt(""), 0);
  EXPECT_EQ(textToInt("2.9"), 2);
  EXPECT_EQ(textToInt("99999999999999999999"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(textToInt("-99999999999999999999"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(textToInt("-2147483648"), std::numeric_limits<int32_t>::min());
}

TEST(HexTextValue, DigitsUpToTheLimitWithoutWrapping) {
  EXPECT_EQ(hexTextValue("1A[3]", -1), 0x1Au);
  EXPECT_EQ(hexTextValue("fF", -1), 0xFFu);
  EXPECT_EQ(hexTextValue("xyz", -1), 0u);
  EXPECT_EQ(hexTextValue("12345", 2), 0x12u);
  EXPECT_EQ(hexTextValue("FFFFFFFFFFFFFFFF", -1), std::numeric_limits<uint64_t>::max());
  EXPECT_EQ(hexTextValue("100000000000000000", -1), std::numeric_limits<uint64_t>::max());
  EXPECT_EQ(hexTextValue("100000000", -1), 0x100000000u);
}

TEST(FloatToInteger, TruncatesSaturatesAndRefusesNaN) {
  int32_t out = 5;
  EXPECT_TRUE(truncateToInt(-2.7f, out));
  EXPECT_EQ(out, -2);
  EXPECT_TRUE(truncateToInt(26.9f, out));
  EXPECT_EQ(out, 26);
  EXPECT_TRUE(truncateToInt(3e9f, out));
  EXPECT_EQ(out, std::numeric_limits<int32_t>::max());
  EXPECT_TRUE(truncateToInt(-3e9f, out));
  EXPECT_EQ(out, std::numeric_limits<int32_t>::min());
  EXPECT_TRUE(truncateToInt(2147483520.0f, out));  // the largest float below 2^31
  EXPECT_EQ(out, 2147483520);
  EXPECT_TRUE(truncateToInt(-std::numeric_limits<float>::infinity(), out));
  EXPECT_EQ(out, std::numeric_limits<int32_t>::min());
  EXPECT_FALSE(truncateToInt(std::nanf(""), out));
  EXPECT_EQ(toStoredFloat(1e300), std::numeric_limits<float>::infinity());
  EXPECT_EQ(toStoredFloat(-1e300), -std::numeric_limits<float>::infinity());
  EXPECT_EQ(toStoredFloat(0.1), 0.1f);
}

}  // namespace
