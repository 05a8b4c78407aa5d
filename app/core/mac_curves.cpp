#include "app/core/mac_curves.h"

#include <algorithm>

namespace quillon::app {

const MacCurveTable& macTrackpadCurves() {
  static const MacCurveTable table = {
      {0.5,
       {{6.6, 4.176},
        {14.6, 4.404},
        {29.9, 4.719},
        {50.6, 5.445},
        {68.5, 6.342},
        {99.8, 7.633},
        {140.9, 9.231},
        {179.4, 10.354},
        {235.9, 12.598},
        {350.8, 16.142}}},
      {0.6875,
       {{6.1, 4.822},
        {14.4, 4.822},
        {28.7, 5.305},
        {49.9, 6.582},
        {68.2, 7.658},
        {103.1, 9.62},
        {138.9, 12.019},
        {176.7, 14.277},
        {241.6, 18.073},
        {356.2, 24.256}}},
      {1.0,
       {{6, 4.172},
        {15.3, 4.841},
        {28.8, 6.772},
        {48.5, 8.547},
        {71, 11.247},
        {101.7, 14.628},
        {138.9, 18.899},
        {178.3, 23.858},
        {224.7, 29.914}}},
      {2.0,
       {{7.4, 5.309},
        {15.2, 5.465},
        {28.6, 8.26},
        {49.5, 12.026},
        {69.8, 15.639},
        {98.8, 20.809},
        {136.7, 27.415},
        {175.4, 34.919}}},
      {3.0,
       {{6.5, 6.416},
        {14.4, 7.705},
        {27.6, 11.663},
        {50.8, 18.931},
        {69.6, 24.123},
        {94.4, 31.73},
        {131, 44.401},
        {175.7, 57.863}}},
  };
  return table;
}

const MacCurveTable& macMouseCurves() {
  static const MacCurveTable table = {
      {0.5,
       {{326, 0.2188},
        {734, 0.2225},
        {1222, 0.2229},
        {1682, 0.2317},
        {2492, 0.2723},
        {3497, 0.3422},
        {4753, 0.4084},
        {6875, 0.471},
        {9789, 0.5146},
        {14621, 0.5486}}},
      {0.6875,
       {{354, 0.2268},
        {672, 0.2268},
        {1248, 0.2312},
        {1678, 0.2367},
        {2553, 0.2986},
        {3379, 0.3695},
        {5013, 0.4824},
        {7014, 0.5594},
        {9714, 0.6176},
        {13164, 0.6539}}},
      {1.0,
       {{128, 0.2032},
        {292, 0.2032},
        {708, 0.2032},
        {1345, 0.2095},
        {1659, 0.2204},
        {2516, 0.3015},
        {3506, 0.4716},
        {4792, 0.6289},
        {6871, 0.7},
        {9259, 0.7794}}},
      {2.0,
       {{704, 0.3085},
        {1258, 0.3147},
        {1701, 0.3254},
        {2403, 0.4672},
        {3478, 0.7332},
        {4920, 0.9204},
        {7027, 1.0709},
        {8962, 1.1507}}},
      {3.0,
       {{338, 0.4065},
        {734, 0.4076},
        {1261, 0.4189},
        {1735, 0.4415},
        {2489, 0.6143},
        {3457, 0.8968},
        {4759, 1.1691},
        {6667, 1.3784},
        {8662, 1.5144}}},
  };
  return table;
}

double lookup(std::span<const std::pair<double, double>> points, double x) {
  if (points.empty()) return 0;
  if (x <= points.front().first) return points.front().second;
  for (size_t k = 1; k < points.size(); ++k) {
    const auto [x1, y1] = points[k];
    if (x <= x1) {
      const auto [x0, y0] = points[k - 1];
      return y0 + (x - x0) * (y1 - y0) / (x1 - x0);
    }
  }
  return points.back().second;
}

CurvePoints macCurve(const MacCurveTable& table, double s, std::span<const double> grid) {
  CurvePoints out;
  if (table.empty()) return out;
  out.reserve(static_cast<qsizetype>(grid.size()));
  const MacCurveEntry& first = table.front();
  const MacCurveEntry& last = table.back();
  if (first.speed >= s) {
    const double factor = std::max(0.05, s) / first.speed;
    for (double v : grid) out.append({v, lookup(first.points, v) * factor});
    return out;
  }
  if (s >= last.speed) {
    const double factor = s / last.speed;
    for (double v : grid) out.append({v, lookup(last.points, v) * factor});
    return out;
  }
  size_t k = 1;
  while (table[k].speed < s) ++k;  // stops at the last entry at the latest
  const MacCurveEntry& lo = table[k - 1];
  const MacCurveEntry& hi = table[k];
  const double t = (s - lo.speed) / (hi.speed - lo.speed);
  for (double v : grid) {
    out.append({v, lookup(lo.points, v) * (1 - t) + lookup(hi.points, v) * t});
  }
  return out;
}

CurvePoints macTrackpadCurve(double s, std::span<const double> grid) {
  return macCurve(macTrackpadCurves(), s, grid);
}

CurvePoints macMouseCurve(double s, double dpi, std::span<const double> grid) {
  // Counts per second / counts per mm = mm/s; points per count * counts per
  // mm = points per mm.
  const double countsPerMM = std::max(50.0, dpi) / 25.4;
  MacCurveTable converted = macMouseCurves();
  for (MacCurveEntry& entry : converted) {
    for (auto& [x, y] : entry.points) {
      x /= countsPerMM;
      y *= countsPerMM;
    }
  }
  return macCurve(converted, s, grid);
}

}  // namespace quillon::app
