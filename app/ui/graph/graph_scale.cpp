#include "app/ui/graph/graph_scale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillon::ui {

double drawnScale(double normal, std::optional<double> held) {
  return held.value_or(normal);
}

double gridStep(double yTop) {
  if (!(yTop > 0) || !std::isfinite(yTop)) return 1;
  // Start a decade below a quarter of the top and walk up 1, 2, 5, 10, …
  double decade = std::pow(10.0, std::floor(std::log10(yTop / 4)) - 1);
  for (;;) {
    for (double m : {1.0, 2.0, 5.0}) {
      const double step = m * decade;
      // A hair of tolerance so that a top of exactly 4 steps keeps its line.
      if (std::floor(yTop / step + 1e-9) <= 4) return step;
    }
    decade *= 10;
  }
}

std::vector<double> gridValues(double yTop) {
  std::vector<double> out;
  if (!(yTop > 0) || !std::isfinite(yTop)) return out;
  const double step = gridStep(yTop);
  const int n = static_cast<int>(std::floor(yTop / step + 1e-9));
  for (int k = 1; k <= n; ++k) out.push_back(k * step);
  return out;
}

QString gridLabel(double value, double step) {
  const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  return QString::number(value, 'f', decimals);
}

double readoutTop(const std::vector<double>& markYs, double h, double areaTop, double areaBottom,
                  double clearance, const std::vector<double>& curveYs) {
  const double last = std::max(areaTop, areaBottom - h);
  // The distance from the band [top, top + h] to the nearest mark.
  const auto gap = [&](double top) {
    double nearest = std::numeric_limits<double>::infinity();
    for (double y : markYs) {
      const double d = y < top ? top - y : (y > top + h ? y - top - h : 0);
      nearest = std::min(nearest, d);
    }
    return nearest;
  };
  const auto hidden = [&](double top) {
    return std::count_if(curveYs.begin(), curveYs.end(),
                         [&](double y) { return y >= top - 1 && y <= top + h + 1; });
  };
  std::optional<double> clear;
  std::ptrdiff_t clearHides = 0;
  double nearest = areaTop;
  double nearestGap = -1;
  for (double top = areaTop; top <= last + 1e-9; top += 1) {
    const double g = gap(top);
    if (g >= clearance) {
      const std::ptrdiff_t n = hidden(top);
      if (!clear || n < clearHides) {
        clear = top;
        clearHides = n;
      }
    } else if (g > nearestGap) {
      nearestGap = g;
      nearest = top;
    }
  }
  return clear.value_or(nearest);
}

}  // namespace quillon::ui
