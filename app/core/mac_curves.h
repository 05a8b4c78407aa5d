#pragma once

#include <span>
#include <utility>
#include <vector>

#include "app/core/curve_points.h"

namespace quillon::app {

// macOS's own pointer curve at one tracking speed (0 to 3), as measured.
struct MacCurveEntry {
  double speed;
  std::vector<std::pair<double, double>> points;  // ascending x
};
using MacCurveTable = std::vector<MacCurveEntry>;  // ascending speed, five entries

// Trackpad: (hand speed in mm/s, pointer points per hand millimetre).
const MacCurveTable& macTrackpadCurves();
// Mouse: (mouse counts per second, pointer points per count).
const MacCurveTable& macMouseCurves();

// Clamped linear lookup: flat below the first point and above the last.
double lookup(std::span<const std::pair<double, double>> points, double x);

// macOS's curve at tracking speed s, sampled at the hand speeds of `grid`.
// Below the slowest measured speed the slowest curve is scaled down (never
// below 0.05), above the fastest the fastest is scaled up, in between two
// neighbours are blended.
CurvePoints macCurve(const MacCurveTable& table, double s, std::span<const double> grid);
CurvePoints macTrackpadCurve(double s, std::span<const double> grid);
// The mouse's table converted to hand millimetres through its DPI first.
CurvePoints macMouseCurve(double s, double dpi, std::span<const double> grid);

}  // namespace quillon::app
