// Decimal text of doubles: the C library's versions (what a Mac runs) must
// give exactly what the standard library's give here, in any locale.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "common/decimal_text.h"

namespace quillon {
namespace {

TEST(DecimalText, ShortestTextMatchesToCharsForEveryKindOfDouble) {
  std::vector<double> values = {0.1,
                                1,
                                -1,
                                100000,
                                123456,
                                1e21,
                                1e-5,
                                0.0001,
                                1.5e-7,
                                0.3,
                                2.5,
                                1e22,
                                -0.0,
                                0.0,
                                1e300,
                                5e-324,
                                2.2250738585072014e-308,
                                1.7976931348623157e308,
                                12.5,
                                1234.5,
                                1e15,
                                1e16,
                                123e-20,
                                9.999999999999999e22,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity()};
  std::mt19937_64 random(7);
  for (int i = 0; i < 5000; ++i) {
    const double v = std::bit_cast<double>(random());
    if (std::isfinite(v)) values.push_back(v);
    values.push_back(static_cast<double>(random() % 100000) / 100.0);
  }
  for (double v : values) {
    const std::string expected = shortestText(v);
    EXPECT_EQ(detail::shortestTextC(v), expected) << v;
    if (std::isfinite(v)) {
      EXPECT_EQ(parseDecimal(expected), v) << expected;
    }
  }
}

TEST(DecimalText, ParsingTakesWhatFromCharsTakesAndNothingElse) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"1.5", 1.5},  {"-2", -2},  {".5", 0.5},   {"5.", 5},      {"1e3", 1000},  {"1E-2", 0.01},
      {"1e", {}},    {"", {}},    {"-", {}},     {"+1", {}},     {" 1", {}},     {"1 ", {}},
      {"0x10", {}},  {"1,5", {}}, {"1e999", {}}, {"-1e999", {}}, {"1e-999", {}}, {"abc", {}},
      {"1.2.3", {}}, {"--1", {}}, {"1e+", {}},   {"007", 7},     {"1e+02", 100},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseDecimal(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(detail::parseDecimalC(c.text), c.value) << '"' << c.text << '"';
  }
  for (const char* text : {"inf", "-Infinity", "nan", "NaN"}) {
    ASSERT_TRUE(parseDecimal(text)) << text;
    ASSERT_TRUE(detail::parseDecimalC(text)) << text;
    EXPECT_EQ(std::isnan(*parseDecimal(text)), std::isnan(*detail::parseDecimalC(text)));
  }
}

TEST(DecimalText, FixedTextIsPrintfsInTheCLocale) {
  const std::pair<double, int> cases[] = {{1.5, 2},   {2.675, 2},   {-0.5, 0}, {1e308, 1},
                                          {0.125, 2}, {123.456, 0}, {-1e-9, 3}};
  for (const auto& [v, decimals] : cases) {
    char expected[400];
    std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
    EXPECT_EQ(fixedText(v, decimals), expected);
    EXPECT_EQ(detail::fixedTextC(v, decimals), expected);
  }
}

TEST(DecimalText, ADecimalCommaLocaleChangesNothing) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
    if (std::setlocale(LC_NUMERIC, name)) switched = true;
  const std::string shortest = detail::shortestTextC(2.5);
  const std::string fixed = detail::fixedTextC(2.5, 2);
  const auto parsed = detail::parseDecimalC("2.5");
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(shortest, "2.5");
  EXPECT_EQ(fixed, "2.50");
  EXPECT_EQ(parsed, 2.5);
  if (!switched) GTEST_SKIP() << "no decimal-comma locale installed";
}

}  // namespace
}  // namespace quillon
