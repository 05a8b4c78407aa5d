#pragma once

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/config.h"
#include "helper/screens.h"

namespace quillon {

// (hand speed in mm/s, gain), ascending by speed.
using CurvePoints = std::vector<std::pair<double, double>>;

// Hand speed (mm/s) -> gain (pointer points per hand millimetre).
// A formula curve has an empty table; a table curve's gains are Windows
// screen millimetres per hand millimetre, turned into points by the display.
struct Curve {
  double speed = 1;
  double accel = 0;
  double shape = 1;
  double threshold = 0;  // mm/s
  double maxBoost = 4;
  CurvePoints table;
  double scale = 1;
  bool share = false;
  double winScreenMM = 0;
  bool accelOff = false;
  std::string summary;

  // Runs on the event tap and contact threads once per movement: no
  // allocation, no lock, no exception.
  double ptsPerMM(double v, const DisplayInfo& display) const noexcept;
};

// Clamped linear lookup in ascending (speed, gain) points: flat below the
// first and above the last point; 0 for no points.
double lookup(std::span<const std::pair<double, double>> points, double x) noexcept;

// None for modes other than "custom" and "windows". Throws CurveError for a
// Windows curve that cannot be built; a measurement file that does not decode
// gives the decoder's description as the CurveError's message.
std::optional<Curve> makeCurve(const DeviceConfig& config, Device device,
                               const std::optional<std::string>& windowsPath);

// One preview row: "[v,gain]", v in its shortest round-trip form with a
// fractional part, gain with four decimals.
std::string previewRow(double v, double gain);

}  // namespace quillon
