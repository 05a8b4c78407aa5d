#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/config.h"
#include "helper/screens.h"

namespace quillon {

// Hand speed (mm/s) -> gain (pointer points per hand millimetre).
// A formula curve has an empty table; a table curve's gains are Windows
// screen millimetres per hand millimetre, turned into points by the display.
struct Curve {
  double speed = 1;
  double accel = 0;
  double shape = 1;
  double threshold = 0;  // mm/s
  double maxBoost = 4;
  std::vector<std::pair<double, double>> table;  // (mm/s, gain), ascending
  double scale = 1;
  bool share = false;
  double winScreenMM = 0;
  bool accelOff = false;
  std::string summary;

  // Pure: no allocation, no lock.
  double ptsPerMM(double v, const DisplayInfo& display) const;
};

// Clamped linear lookup in ascending (speed, gain) points: flat outside them.
double lookup(const std::vector<std::pair<double, double>>& points, double x);

// None for modes other than "custom" and "windows". Throws CurveError (or
// the JSON decoder's error, as CurveError) for a Windows curve that cannot
// be built.
std::optional<Curve> makeCurve(const DeviceConfig& config, Device device,
                               const std::optional<std::string>& windowsPath);

// One preview row: [v,gain] with v in its shortest round-trip form.
std::string previewRow(double v, double gain);

}  // namespace quillon
