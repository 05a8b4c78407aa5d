#include "helper/curve.h"

#include <algorithm>
#include <cmath>

#include "helper/format.h"
#include "helper/windows_curve.h"

namespace quillon {

double lookup(std::span<const std::pair<double, double>> points, double x) noexcept {
  if (points.empty()) return 0;
  if (x <= points.front().first) return points.front().second;
  for (size_t k = 1; k < points.size(); ++k) {
    const auto [v1, g1] = points[k];
    if (x <= v1) {
      // x > v0 here, so equal speeds never divide by zero.
      const auto [v0, g0] = points[k - 1];
      return g0 + (x - v0) * (g1 - g0) / (v1 - v0);
    }
  }
  return points.back().second;
}

double Curve::ptsPerMM(double v, const DisplayInfo& display) const noexcept {
  const double x = accelOff ? 0 : v;
  if (!table.empty()) {
    const double g = lookup(table, x);
    // Share of screen: the hand covers the same fraction of the screen's
    // width as on Windows. Distance: the same millimetres on the screen.
    const double displayFactor =
        share && winScreenMM > 0 ? display.widthPts / winScreenMM : display.ptsPerMM;
    return g * displayFactor * scale;
  }
  const double d = x - threshold > 0 ? x - threshold : 0;
  const double base = d / 100;
  // std::pow(0, 0) is 1, so shape 0 boosts from the first millimetre. With
  // shape 1, the default, the power is the base itself, exactly what pow
  // gives, without the quarter of a motion event that pow costs.
  const double power = shape == 1 ? base : std::pow(base, shape);
  const double boost = 1 + accel * power;
  const double cap = maxBoost > 1 ? maxBoost : 1;
  return speed * std::min(boost, cap);
}

namespace {

Curve formulaCurve(const DeviceConfig& config, Device device) {
  Curve c;
  c.speed = config.speed;
  c.accel = config.accel;
  c.shape = config.shape.value_or(1);
  c.threshold = config.threshold.value_or(0);
  c.maxBoost = config.maxBoost.value_or(1 + 3 * config.accel);
  c.summary = formatC("%s: custom, %.0f \u00d7 min(1 + %.2f\u00b7((v \u2212 %.0f)/100)^%.2f, %.1f)",
                      std::string(deviceKey(device)).c_str(), c.speed, c.accel, c.threshold,
                      c.shape, c.maxBoost);
  return c;
}

}  // namespace

std::optional<Curve> makeCurve(const DeviceConfig& config, Device device,
                               const std::optional<std::string>& windowsPath) {
  std::optional<Curve> curve;
  if (config.mode == "custom") {
    curve = formulaCurve(config, device);
  } else if (config.mode == "windows") {
    curve = buildWindowsCurve(config, device, windowsPath);
  } else {
    return std::nullopt;
  }
  if (config.accelOff.value_or(false)) {
    curve->accelOff = true;
    curve->summary += ", acceleration off";
  }
  if (device == Device::mouse) {
    curve->summary += formatC(", mouse DPI %.0f", config.dpi.value_or(kDefaultMouseDPI));
  }
  return curve;
}

std::string previewRow(double v, double gain) {
  // A gain that overflowed to infinity (or came out NaN) has no JSON number;
  // null keeps the line parseable and lets the reader skip that row.
  std::string row = "[";
  row += shortestDecimal(v);
  row += ',';
  row += std::isfinite(gain) ? formatC("%.4f", gain) : std::string("null");
  row += ']';
  return row;
}

}  // namespace quillon
