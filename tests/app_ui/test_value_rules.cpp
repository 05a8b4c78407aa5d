// The controls' arithmetic: snapping, reading typed numbers, the DPI
// stepper's hundreds.
#include <gtest/gtest.h>

#include <optional>

#include "app/ui/kit/value_rules.h"

namespace quillon::ui {
namespace {

TEST(Snap, StepsCountFromTheLowerEndAndStayInRange) {
  struct Case {
    double in, out;
  };
  const ValueRange r{0.25, 3.0};
  for (const Case& c : {Case{0.27, 0.25}, Case{0.28, 0.30}, Case{5, 3}, Case{-1, 0.25},
                        Case{2.99, 3.0}, Case{1.02, 1.00}}) {
    EXPECT_NEAR(snap(c.in, r, 0.05), c.out, 1e-9) << c.in;
  }
  // A step that does not divide the range: the top is reachable, never
  // passed.
  EXPECT_DOUBLE_EQ(snap(9.9, {0, 10}, 3), 9);
  EXPECT_DOUBLE_EQ(snap(11, {0, 10}, 3), 10);
}

TEST(CommittedValue, ParsesClampsAndRounds) {
  struct Case {
    const char* typed;
    ValueRange range;
    int decimals;
    std::optional<double> out;
  };
  const Case cases[] = {
      {"1,5", {0, 3}, 2, 1.5},             // a comma reads as a point
      {"2.346", {0, 3}, 2, 2.35},          // rounded half away from zero
      {"12abc", {0, 300}, 0, 12},          // letters dropped
      {"12abc", {0, 10}, 0, 10},           // then clamped
      {"-5", {0.2, 3}, 2, 0.2},            // below the range: its lower end
      {" 1 600 ", {100, 65000}, 0, 1600},  // spaces dropped
      {"0.25", {0.25, 3}, 2, 0.25},
      {"abc", {0, 3}, 2, std::nullopt},  // nothing left
      {"", {0, 3}, 2, std::nullopt},
      {"1.2.3", {0, 3}, 2, std::nullopt},  // the whole text must read
      {"-", {0, 3}, 2, std::nullopt},
      {"\u2212"
       "2",
       {-5, 5},
       0,
       2},  // a typographic minus is not a minus sign
  };
  for (const Case& c : cases) {
    EXPECT_EQ(committedValue(QString::fromUtf8(c.typed), c.range, c.decimals), c.out) << c.typed;
  }
}

TEST(Hundreds, StepBetweenWholeHundredsWithinRange) {
  struct Case {
    double from, up, down;
  };
  const ValueRange r{100, 65000};
  for (const Case& c :
       {Case{1650, 1700, 1600}, Case{1600, 1700, 1500}, Case{100, 200, 100}, Case{150, 200, 100},
        Case{65000, 65000, 64900}, Case{64950, 65000, 64900}}) {
    EXPECT_DOUBLE_EQ(hundredsUp(c.from, r), c.up) << c.from;
    EXPECT_DOUBLE_EQ(hundredsDown(c.from, r), c.down) << c.from;
  }
}

TEST(FormatValue, PrintfPatternInTheCLocale) {
  EXPECT_EQ(formatValue(QString::fromUtf8("%.2f×"), 1.5), QString::fromUtf8("1.50×"));
  EXPECT_EQ(formatValue(QStringLiteral("%.0f"), 29.5), QStringLiteral("30"));
}

}  // namespace
}  // namespace quillon::ui
