// Painting the panel's curve graph: three curves of 401 points, the legend,
// the axis text, into a QImage of the graph's size at Retina resolution.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "app/ui/graph/curve_view.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

CurveScene scene(bool hovered) {
  CurveScene s;
  CurvePoints mac, windows, custom;
  for (int i = 0; i <= 400; ++i) {
    const double v = i;  // the trackpad's grid: every 1 mm/s
    mac.emplace_back(v, 4.8 + 0.055 * v);
    windows.emplace_back(v, 3.2 + 9.5 * (1 - std::exp(-v / 70)) + 0.012 * v);
    custom.emplace_back(v, 10 * std::min(1 + 0.6 * v / 100, 3.0));
  }
  s.curves = {{CurveMode::mac, mac}, {CurveMode::windows, windows}, {CurveMode::custom, custom}};
  s.current = CurveMode::custom;
  s.xMin = 0;
  s.xMax = 200;
  if (hovered) s.hoverFraction = 0.4;
  return s;
}

void paint(benchmark::State& state, bool hovered) {
  const QSizeF size(268, 90);
  QImage img((size * 2).toSize(), QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(2);
  const CurveScene s = scene(hovered);
  for (auto _ : state) {
    img.fill(Qt::transparent);
    QPainter p(&img);
    paintCurves(p, size, s);
    p.end();
    benchmark::DoNotOptimize(img.constBits());
  }
}

void BM_PaintGraph(benchmark::State& state) {
  paint(state, false);
}
void BM_PaintGraphHovered(benchmark::State& state) {
  paint(state, true);
}
BENCHMARK(BM_PaintGraph)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintGraphHovered)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon::ui
