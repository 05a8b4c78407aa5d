// The custom formula, table lookup, makeCurve's summaries and the preview row
// format.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "helper/curve.h"
#include "helper/format.h"

namespace quillon {
namespace {

const DisplayInfo kDisplay{5, 1470, {}};

DeviceConfig custom(double speed, double accel) {
  DeviceConfig c;
  c.mode = "custom";
  c.speed = speed;
  c.accel = accel;
  return c;
}

Curve formula(const DeviceConfig& c) {
  return *makeCurve(c, Device::trackpad, std::nullopt);
}

TEST(CurveSummary, FormulaSummaryAndTail) {
  struct Case {
    DeviceConfig config;
    Device device;
    const char* summary;
  };
  DeviceConfig shaped = custom(30, 0.8);
  shaped.shape = 1.4;
  shaped.threshold = 20;
  shaped.maxBoost = 3;
  shaped.dpi = 800;
  DeviceConfig off = custom(10, 0.6);
  off.accelOff = true;
  const Case cases[] = {
      {custom(10, 0.6), Device::trackpad,
       "trackpad: custom, 10 \u00d7 min(1 + 0.60\u00b7((v \u2212 0)/100)^1.00, 2.8)"},
      {custom(10, 0.6), Device::mouse,
       "mouse: custom, 10 \u00d7 min(1 + 0.60\u00b7((v \u2212 0)/100)^1.00, 2.8), mouse DPI 1600"},
      {shaped, Device::mouse,
       "mouse: custom, 30 \u00d7 min(1 + 0.80\u00b7((v \u2212 20)/100)^1.40, 3.0), mouse DPI 800"},
      {off, Device::trackpad,
       "trackpad: custom, 10 \u00d7 min(1 + 0.60\u00b7((v \u2212 0)/100)^1.00, 2.8), "
       "acceleration off"},
      {off, Device::mouse,
       "mouse: custom, 10 \u00d7 min(1 + 0.60\u00b7((v \u2212 0)/100)^1.00, 2.8), "
       "acceleration off, mouse DPI 1600"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(makeCurve(c.config, c.device, std::nullopt)->summary, c.summary);
  }
  // The exact bytes: the signs are UTF-8, not their Latin-1 look-alikes.
  EXPECT_NE(formula(custom(10, 0.6)).summary.find("\xc3\x97"), std::string::npos);
  EXPECT_NE(formula(custom(10, 0.6)).summary.find("\xc2\xb7"), std::string::npos);
  EXPECT_NE(formula(custom(10, 0.6)).summary.find("\xe2\x88\x92"), std::string::npos);
}

TEST(CurveSummary, OnlyExactModesMakeCurves) {
  for (const char* mode : {"mac", "Custom", "", "windows ", "CUSTOM", "Windows"}) {
    DeviceConfig c = custom(10, 0.6);
    c.mode = mode;
    EXPECT_FALSE(makeCurve(c, Device::trackpad, std::nullopt)) << mode;
    EXPECT_FALSE(makeCurve(c, Device::mouse, std::nullopt)) << mode;
  }
}

TEST(FormulaCurve, DefaultsAndCaps) {
  struct Case {
    double accel;
    std::optional<double> maxBoost;
    double cap;  // the factor far above any threshold
  };
  const Case cases[] = {
      {0.6, std::nullopt, 2.8}, {0, std::nullopt, 1}, {0.6, 0.5, 1}, {0.6, 1, 1}, {0.6, 2, 2},
  };
  for (const Case& c : cases) {
    DeviceConfig config = custom(10, c.accel);
    config.maxBoost = c.maxBoost;
    const Curve curve = formula(config);
    EXPECT_DOUBLE_EQ(curve.ptsPerMM(1e6, kDisplay), 10 * c.cap) << c.accel;
    EXPECT_LE(curve.ptsPerMM(350, kDisplay), 10 * c.cap + 1e-12);
  }
  // The worked row: boost 1 + 0.6 * 0.1 at 10 mm/s.
  EXPECT_EQ(previewRow(10, formula(custom(10, 0.6)).ptsPerMM(10, kDisplay)), "[10.0,10.6000]");
}

TEST(FormulaCurve, ThresholdShapeAndAccelOff) {
  DeviceConfig c = custom(8, 0.5);
  c.threshold = 30;
  c.shape = 2;
  const Curve curve = formula(c);
  for (double v : {0.0, 10.0, 29.99, 30.0}) EXPECT_DOUBLE_EQ(curve.ptsPerMM(v, kDisplay), 8) << v;
  EXPECT_DOUBLE_EQ(curve.ptsPerMM(130, kDisplay), 8 * 1.5);

  // Shape 0: zero to the power zero is one, so the boost is constant.
  c.shape = 0;
  const Curve flat = formula(c);
  for (double v : {0.0, 30.0, 100.0, 400.0}) EXPECT_DOUBLE_EQ(flat.ptsPerMM(v, kDisplay), 12);

  c.shape = 1.3;
  c.accelOff = true;
  const Curve off = formula(c);
  for (double v : {0.0, 55.0, 400.0, 1e9}) EXPECT_DOUBLE_EQ(off.ptsPerMM(v, kDisplay), 8);

  // A negative accel slows the pointer down and is not floored at 1.
  const Curve slower = formula(custom(10, -0.5));
  EXPECT_LT(slower.ptsPerMM(100, kDisplay), 10);
  // No display factor for formula curves.
  EXPECT_EQ(formula(custom(10, 0.6)).ptsPerMM(50, {2, 100, {}}),
            formula(custom(10, 0.6)).ptsPerMM(50, kDisplay));
}

// Shape 1 skips std::pow; the gain is bit for bit what pow gave.
TEST(FormulaCurve, ShapeOneGivesExactlyWhatPowGives) {
  const double kInf = std::numeric_limits<double>::infinity();
  for (const double threshold : {0.0, 20.0, -5.0}) {
    Curve c = formula(custom(7.3, 0.37));
    c.threshold = threshold;
    c.maxBoost = 1e9;  // the cap never hides the power
    ASSERT_EQ(c.shape, 1);
    for (double v : {0.0, 1e-300, 0.1, 1.0, 13.7, 19.999, 20.0, 20.001, 99.9, 333.3, 1e6, 1e300,
                     kInf, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
      const double d = v - threshold > 0 ? v - threshold : 0;
      const double expected = c.speed * std::min(1 + c.accel * std::pow(d / 100, 1.0), c.maxBoost);
      const double gain = c.ptsPerMM(v, kDisplay);
      if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(gain)) << v;
      } else {
        EXPECT_EQ(gain, expected) << v;
      }
    }
  }
}

TEST(FormulaCurve, GainNeverFallsAsSpeedRises) {
  for (double shape : {0.3, 1.0, 2.5}) {
    for (double threshold : {0.0, 40.0}) {
      DeviceConfig c = custom(10, 0.9);
      c.shape = shape;
      c.threshold = threshold;
      const Curve curve = formula(c);
      double last = 0;
      for (double v = 0; v <= 800; v += 0.5) {
        const double g = curve.ptsPerMM(v, kDisplay);
        ASSERT_GE(g, last) << "shape " << shape << " v " << v;
        last = g;
      }
    }
  }
}

Curve table(CurvePoints points) {
  Curve c;
  c.table = std::move(points);
  return c;
}

TEST(TableCurve, LookupIsClampedAndLinear) {
  const Curve c = table({{10, 1}, {20, 3}, {20, 5}, {40, 5}});
  const DisplayInfo unit{1, 1470, {}};
  struct Case {
    double v, gain;
  };
  // Two points at 20: the first one ends the segment from 10, the second
  // starts the next one, and nothing divides by zero.
  const Case cases[] = {{-5, 1}, {0, 1}, {10, 1}, {15, 2}, {20, 3}, {30, 5}, {40, 5}, {1e9, 5}};
  for (const Case& k : cases) EXPECT_DOUBLE_EQ(c.ptsPerMM(k.v, unit), k.gain) << k.v;
  EXPECT_TRUE(std::isfinite(c.ptsPerMM(std::numeric_limits<double>::quiet_NaN(), unit)));
  EXPECT_EQ(lookup({}, 3), 0);
}

TEST(TableCurve, NoJumpAtTablePoints) {
  const Curve c = table({{5, 0.285}, {14, 0.422}, {28, 0.521}, {29, 0.526}, {50, 0.532}});
  for (const auto& [v, g] : c.table) {
    EXPECT_NEAR(c.ptsPerMM(v - 1e-9, kDisplay), c.ptsPerMM(v + 1e-9, kDisplay), 1e-6) << v;
    EXPECT_DOUBLE_EQ(c.ptsPerMM(v, kDisplay), g * kDisplay.ptsPerMM);
  }
}

TEST(TableCurve, DisplayFactorScaleAndAccelOff) {
  Curve c = table({{10, 1}, {20, 3}});
  c.scale = 2;
  const DisplayInfo display{4, 1000, {}};
  EXPECT_DOUBLE_EQ(c.ptsPerMM(15, display), 2 * 4 * 2);  // distance: the display's pts/mm
  c.share = true;
  EXPECT_DOUBLE_EQ(c.ptsPerMM(15, display), 2 * 4 * 2);  // share without a screen size
  c.winScreenMM = 250;
  EXPECT_DOUBLE_EQ(c.ptsPerMM(15, display), 2 * (1000.0 / 250) * 2);
  c.winScreenMM = 500;
  EXPECT_DOUBLE_EQ(c.ptsPerMM(15, display), 2 * (1000.0 / 500) * 2);
  c.accelOff = true;
  EXPECT_DOUBLE_EQ(c.ptsPerMM(15, display), 1 * 2 * 2);  // the first point's gain
}

TEST(PreviewRow, ShortestRoundTripWithFraction) {
  struct Case {
    double v, gain;
    const char* row;
  };
  const Case cases[] = {
      {0, 0, "[0.0,0.0000]"},
      {10, 10.6, "[10.0,10.6000]"},
      {400, 1.23456, "[400.0,1.2346]"},
      {0.1, 2, "[0.1,2.0000]"},
      {12.5, -1, "[12.5,-1.0000]"},
      {1e21, 1, "[1e+21,1.0000]"},
      {5e-324, 1, "[5e-324,1.0000]"},
      {100, std::numeric_limits<double>::infinity(), "[100.0,null]"},
      {100, std::numeric_limits<double>::quiet_NaN(), "[100.0,null]"},
  };
  for (const Case& c : cases) EXPECT_EQ(previewRow(c.v, c.gain), c.row);
  // Every sample of a preview reads back as the double it was.
  for (int i = 0; i <= 40; ++i) {
    const double v = 800.0 * i / 40;
    const std::string text = shortestDecimal(v);
    EXPECT_EQ(std::stod(text), v);
    EXPECT_NE(text.find('.'), std::string::npos);
  }
}

TEST(Format, IgnoresTheProcessLocale) {
  // Only meaningful where a decimal-comma locale is installed.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
    if (std::setlocale(LC_NUMERIC, name)) {
      switched = true;
      break;
    }
  }
  const std::string text = formatC("%.2f", 1.5);
  const std::string row = previewRow(2.5, 1.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(text, "1.50");
  EXPECT_EQ(row, "[2.5,1.5000]");
  if (!switched) GTEST_SKIP() << "no decimal-comma locale installed";
}

TEST(Format, LongOutputIsNotCut) {
  EXPECT_EQ(formatC("%.0f", 1e300).size(), 301u);
  EXPECT_EQ(formatC("%s-%d", std::string(1000, 'x').c_str(), 7), std::string(1000, 'x') + "-7");
}

}  // namespace
}  // namespace quillon
