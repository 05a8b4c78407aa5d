// The graph's scale rules: the normal and the held scale, the grid's round
// values and their labels, and where the hover readout may go.
#include <gtest/gtest.h>

#include <cmath>

#include "app/ui/graph/graph_scale.h"

namespace quillon::ui {
namespace {

TEST(DrawnScale, TheHeldScaleWinsWhileThereIsOne) {
  EXPECT_DOUBLE_EQ(drawnScale(17, std::nullopt), 17);
  EXPECT_DOUBLE_EQ(drawnScale(17, 10.0), 10);
}

TEST(GridValues, TwoToFourRoundValuesUnderTheTop) {
  struct Case {
    double top;
    std::vector<double> values;
  };
  const Case cases[] = {
      {1, {0.5, 1}},         {1.9, {0.5, 1, 1.5}},
      {4, {1, 2, 3, 4}},     {3.99, {1, 2, 3}},
      {4.01, {1, 2, 3, 4}},  {5, {2, 4}},
      {9.9, {2, 4, 6, 8}},   {10.1, {5, 10}},
      {37.3, {10, 20, 30}},  {93.9, {20, 40, 60, 80}},
      {150, {50, 100, 150}}, {0.0001, {0.00005, 0.0001}},
  };
  for (const Case& c : cases) {
    const auto v = gridValues(c.top);
    ASSERT_EQ(v.size(), c.values.size()) << c.top;
    for (size_t i = 0; i < v.size(); ++i) EXPECT_NEAR(v[i], c.values[i], 1e-9) << c.top;
  }
  // Every top from tiny to huge gets two to four lines, each a round value.
  for (double top = 0.003; top < 5000; top *= 1.013) {
    const auto v = gridValues(top);
    EXPECT_GE(v.size(), 2u) << top;
    EXPECT_LE(v.size(), 4u) << top;
    const double step = gridStep(top);
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    EXPECT_TRUE(std::abs(mantissa - 1) < 1e-6 || std::abs(mantissa - 2) < 1e-6 ||
                std::abs(mantissa - 5) < 1e-6)
        << top << " step " << step;
    EXPECT_LE(v.back(), top * (1 + 1e-9));
  }
  EXPECT_TRUE(gridValues(0).empty());
  EXPECT_TRUE(gridValues(-1).empty());
}

TEST(GridLabel, AsManyDecimalsAsTheStepNeeds) {
  EXPECT_EQ(gridLabel(20, 10), QStringLiteral("20"));
  EXPECT_EQ(gridLabel(2, 1), QStringLiteral("2"));
  EXPECT_EQ(gridLabel(1.5, 0.5), QStringLiteral("1.5"));
  EXPECT_EQ(gridLabel(0.4, 0.2), QStringLiteral("0.4"));
  EXPECT_EQ(gridLabel(0.05, 0.05), QStringLiteral("0.05"));
}

TEST(ReadoutTop, KeepsClearOfEveryCurvesMark) {
  // Plot background from 18 to 106, a readout 14 high.
  struct Case {
    std::vector<double> marks;
    double top;
  };
  const Case cases[] = {
      {{}, 18},            // nothing to avoid: at the top
      {{80, 90}, 18},      // curves low: at the top
      {{20, 30}, 34},      // curves high: just under them, clear by 4
      {{20, 50, 90}, 24},  // in the first gap wide enough
      {{20, 40, 60, 80}, 84},
  };
  for (const Case& c : cases) {
    const double top = readoutTop(c.marks, 14, 18, 106, 4);
    EXPECT_DOUBLE_EQ(top, c.top);
  }
}

TEST(ReadoutTop, HidesAsLittleOfTheCurvesAsItCan) {
  // The curves run along the top under the readout's width (a plateau at
  // 20–24); the marks are low: the readout goes between, below the plateau.
  const std::vector<double> under{20, 21, 22, 23, 24, 22, 21};
  EXPECT_DOUBLE_EQ(readoutTop({90}, 14, 18, 106, 4, under), 26);
  // Where every clear band hides the same, the highest wins.
  EXPECT_DOUBLE_EQ(readoutTop({90}, 14, 18, 106, 4, {}), 18);
  // The marks come first: a band hiding no curve but touching a mark loses.
  EXPECT_DOUBLE_EQ(readoutTop({30}, 14, 18, 106, 4, {40, 50, 60, 70, 80, 90, 100}), 18 + 16);
}

TEST(ReadoutTop, NoClearBandGivesTheLeastCovered) {
  // Marks every 20 points: no band of 14 is clear by 4; the best is clear
  // by 3, centred between two marks.
  const std::vector<double> marks{18, 38, 58, 78, 98};
  const double top = readoutTop(marks, 14, 18, 106, 4);
  EXPECT_DOUBLE_EQ(top, 21);
}

}  // namespace
}  // namespace quillon::ui
