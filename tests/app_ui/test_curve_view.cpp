// What the graph draws: curves cut to the window, the vertical scale, the
// axis text, drawing order, legend, the hover readout and the formula.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "app/ui/graph/curve_view.h"
#include "app/ui/graph/equation_view.h"

namespace quillon::ui {
namespace {

CurvePoints line(double from, double to, double step, double y0, double slope) {
  CurvePoints pts;
  for (double x = from; x <= to; x += step) pts.emplace_back(x, y0 + slope * x);
  return pts;
}

std::vector<double> xs(const CurvePoints& pts) {
  std::vector<double> out;
  for (const auto& p : pts) out.push_back(p.x());
  return out;
}

TEST(ShownCurves, KeepOnePointBeyondEachEnd) {
  const Curves curves{{CurveMode::mac, line(0, 10, 1, 0, 1)}};
  struct Case {
    double lo, hi;
    std::vector<double> kept;
  };
  const Case cases[] = {
      {2.5, 5.5, {2, 3, 4, 5, 6}},
      {3, 5, {2, 3, 4, 5, 6}},
      {-5, 100, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {3.2, 3.7, {3, 4}},  // no point inside: the segment across the window
      {10.5, 20, {}},      // nothing at or beyond the left end
      {-20, -10, {0}},     // everything beyond the right end
  };
  for (const Case& c : cases) {
    const Curves shown = shownCurves(curves, c.lo, c.hi);
    const auto it = shown.find(CurveMode::mac);
    EXPECT_EQ(it == shown.end() ? std::vector<double>{} : xs(it->second), c.kept)
        << c.lo << "–" << c.hi;
  }
}

TEST(VerticalScale, LargestValueInsideTheWindowOnly) {
  const Curves curves{{CurveMode::mac, line(0, 10, 1, 0, 1)},
                      {CurveMode::custom, line(0, 10, 1, 2, 0)}};
  EXPECT_DOUBLE_EQ(verticalScale(shownCurves(curves, 2.5, 5.5), 2.5, 5.5), 5);
  EXPECT_DOUBLE_EQ(verticalScale(shownCurves(curves, 0, 1), 0, 1), 2);
  // No point inside: 1.
  EXPECT_DOUBLE_EQ(verticalScale(shownCurves(curves, 3.2, 3.7), 3.2, 3.7), 1);
  EXPECT_DOUBLE_EQ(verticalScale({}, 0, 200), 1);
  // Flat zero: never below 0.0001.
  const Curves zero{{CurveMode::mac, line(0, 10, 1, 0, 0)}};
  EXPECT_DOUBLE_EQ(verticalScale(zero, 0, 10), 0.0001);
}

TEST(AxisText, WholeNumbersWithTheFractionDropped) {
  EXPECT_EQ(axisText(0, 200), QString::fromUtf8("hand speed 0–200 mm/s →"));
  EXPECT_EQ(axisText(66.67, 266.99), QString::fromUtf8("hand speed 66–266 mm/s →"));
}

TEST(HoverReadout, NamesEveryCurveTheCurrentFirst) {
  Curves curves{{CurveMode::mac, line(0, 400, 1, 0, 0.05)},
                {CurveMode::windows, line(0, 130, 1, 5, 0.1)},
                {CurveMode::custom, line(0, 400, 1, 10, 0.02)}};
  const auto text = [](const std::vector<ReadoutRun>& runs) {
    QString s;
    for (const auto& r : runs) s += r.text;
    return s;
  };
  struct Case {
    CurveMode current;
    double speed;
    const char* text;
  };
  const Case cases[] = {
      {CurveMode::custom, 120, "120 mm/s · Custom 12.4 · Windows 17.0 · Mac 6.0 pt/mm"},
      {CurveMode::mac, 120, "120 mm/s · Mac 6.0 · Custom 12.4 · Windows 17.0 pt/mm"},
      {CurveMode::windows, 120, "120 mm/s · Windows 17.0 · Custom 12.4 · Mac 6.0 pt/mm"},
      // Past the end of the Windows curve: no value, no name.
      {CurveMode::windows, 200, "200 mm/s · Custom 14.0 · Mac 10.0 pt/mm"},
  };
  EXPECT_EQ(text(hoverReadout(curves, 120, CurveMode::custom, false)),
            QString::fromUtf8("120 mm/s · Custom 12.4 · Windows 17.0 · Mac 6.0"));
  for (const Case& c : cases) {
    const auto runs = hoverReadout(curves, c.speed, c.current);
    EXPECT_EQ(text(runs), QString::fromUtf8(c.text));
    // Each name and value in its curve's colour, the rest plain.
    for (const auto& r : runs) {
      const bool named = r.text.contains(QStringLiteral("Mac")) ||
                         r.text.contains(QStringLiteral("Windows")) ||
                         r.text.contains(QStringLiteral("Custom"));
      EXPECT_EQ(r.mode.has_value(), named) << r.text.toStdString();
    }
  }
  // Between two points the value is interpolated.
  EXPECT_DOUBLE_EQ(*valueAt({{0, 0}, {10, 5}}, 4), 2);
  EXPECT_FALSE(valueAt({{0, 0}, {10, 5}}, 11));
}

// Renders a scene; all three curves on the same line.
QImage render(CurveMode current, bool withWindows) {
  CurveScene scene;
  const CurvePoints same = line(0, 400, 1, 1, 0.05);
  scene.curves = {{CurveMode::mac, same}, {CurveMode::custom, same}};
  if (withWindows) scene.curves[CurveMode::windows] = same;
  scene.current = current;
  QImage img(300, CurveView::kHeight, QImage::Format_ARGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  paintCurves(p, img.size(), scene);
  return img;
}

// The colour found on the line at x = 150 (speed 100: y = 6 of 11).
QColor onLine(const QImage& img) {
  const PlotArea a = PlotArea::of(img.size());
  const double y = a.top + a.height - 6.0 * a.height / 11.0;
  return img.pixelColor(150, static_cast<int>(y));  // the row whose centre is nearest
}

TEST(CurveDrawing, TheCurrentModeIsDrawnOnTop) {
  EXPECT_EQ(onLine(render(CurveMode::windows, true)), curveLineColor(CurveMode::windows));
  EXPECT_EQ(onLine(render(CurveMode::mac, true)), curveLineColor(CurveMode::mac));
  EXPECT_EQ(onLine(render(CurveMode::custom, true)), curveLineColor(CurveMode::custom));
}

TEST(CurveDrawing, LinesStayInsideTheirBand) {
  const QImage img = render(CurveMode::custom, false);
  const QColor orange = curveLineColor(CurveMode::custom);
  const PlotArea a = PlotArea::of(img.size());
  for (int y = static_cast<int>(a.top); y < static_cast<int>(a.top + a.height); ++y) {
    for (int x : {0, 1, 2, 3, 4, 298, 299}) {
      EXPECT_NE(img.pixelColor(x, y), orange) << x << "," << y;
    }
  }
}

TEST(EquationText, ReadsTheFormulaWithTheCurrentNumbers) {
  DeviceConfig c;
  c.speed = 10;
  c.accel = 0.6;
  auto lines = equationLines(c);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text(), QString::fromUtf8("pointer = 10 × min(1 + 0.60 · x^1.00, 3.0×)"));
  EXPECT_EQ(lines[1].text(), QString::fromUtf8("x = v / 100,  v = hand speed (mm/s)"));
  EXPECT_TRUE(lines[1].secondary);

  c.threshold = 20;
  c.shape = 1.4;
  c.maxBoost = 4;
  lines = equationLines(c);
  EXPECT_EQ(lines[0].text(), QString::fromUtf8("pointer = 10 × min(1 + 0.60 · x^1.40, 4.0×)"));
  EXPECT_EQ(lines[1].text(), QString::fromUtf8("x = (v − 20) / 100,  v = hand speed (mm/s)"));
  // Each number in its term's colour, the words in the line's own.
  std::map<QString, std::optional<Term>> colours;
  for (const auto& line : lines) {
    for (const auto& run : line.runs) colours[run.text] = run.term;
  }
  EXPECT_EQ(colours[QStringLiteral("10")], Term::speed);
  EXPECT_EQ(colours[QStringLiteral("0.60")], Term::accel);
  EXPECT_EQ(colours[QStringLiteral("1.40")], Term::shape);
  EXPECT_EQ(colours[QString::fromUtf8("4.0×")], Term::boost);
  EXPECT_EQ(colours[QStringLiteral("20")], Term::threshold);
  EXPECT_EQ(colours[QStringLiteral("pointer = ")], std::nullopt);

  c.accelOff = true;
  lines = equationLines(c);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text(), QStringLiteral("pointer = 10  (acceleration off)"));
}

}  // namespace
}  // namespace quillon::ui
