// The curves of the graph that the app computes itself, and the helper
// request for the Windows one.
#include <algorithm>
#include <array>
#include <cmath>
#include <nlohmann/json.hpp>

#include "app/core/defaults.h"
#include "app/core/mac_curves.h"
#include "app/core/preview.h"
#include "common/decimal_text.h"

namespace quillon::app {

const std::vector<double>& previewGrid(Device d) {
  static const auto make = [](Device device) {
    std::vector<double> grid;
    grid.reserve(kGridSteps + 1);
    const double step = graphFullRange(device) / kGridSteps;
    for (int i = 0; i <= kGridSteps; ++i) grid.push_back(i * step);
    return grid;
  };
  static const std::vector<double> trackpad = make(Device::trackpad);
  static const std::vector<double> mouse = make(Device::mouse);
  return d == Device::mouse ? mouse : trackpad;
}

std::string shortestDecimal(double v) {
  std::string s = shortestText(v);
  if (s.empty()) return "0.0";
  if (s.find_first_of(".eni") == std::string::npos) s += ".0";
  return s;
}

std::vector<std::string> windowsPreviewArgs(Device d, const DeviceConfig& c) {
  std::vector<std::string> args = {"preview",
                                   "--device",
                                   std::string(deviceKey(d)),
                                   "--mode",
                                   "windows",
                                   "--win-speed",
                                   shortestDecimal(c.winSpeed),
                                   "--scale",
                                   shortestDecimal(c.scale)};
  if (c.accelOff.value_or(false)) {
    args.insert(args.end(), {"--accel-off", "1"});
  }
  if (c.match) args.insert(args.end(), {"--match", *c.match});
  if (d == Device::mouse) {
    args.insert(args.end(), {"--dpi", shortestDecimal(c.dpi.value_or(kDefaultMouseDPI))});
    if (c.winDpi) args.insert(args.end(), {"--win-dpi", shortestDecimal(*c.winDpi)});
  }
  return args;
}

std::string previewKey(const std::vector<std::string>& args) {
  std::string key;
  for (const std::string& a : args) {
    if (!key.empty()) key += ' ';
    key += a;
  }
  return key;
}

CurvePoints customCurve(const DeviceConfig& c, Device d) {
  const std::vector<double>& grid = previewGrid(d);
  CurvePoints out;
  out.reserve(static_cast<qsizetype>(grid.size()));
  if (c.accelOff.value_or(false)) {
    for (double v : grid) out.append({v, c.speed});
    return out;
  }
  const double threshold = c.threshold.value_or(0);
  const double shape = c.shape.value_or(1);
  const double cap = c.maxBoost ? std::max(*c.maxBoost, 1.0) : Defaults::maxBoost;
  for (double v : grid) {
    const double d0 = v - threshold > 0 ? v - threshold : 0;
    const double boost = 1 + c.accel * std::pow(d0 / 100, shape);
    out.append({v, c.speed * std::min(boost, cap)});
  }
  return out;
}

CurvePoints macCurveFor(Device d, const DeviceConfig& c, double macSpeed, bool mouseMacAccel) {
  const std::vector<double>& grid = previewGrid(d);
  if (d == Device::trackpad) return macTrackpadCurve(macSpeed, grid);
  const double dpi = c.dpi.value_or(kDefaultMouseDPI);
  if (mouseMacAccel) return macMouseCurve(macSpeed, dpi, grid);
  const double flat = macSpeed * std::max(50.0, dpi) / kMMPerInch;
  CurvePoints out;
  out.reserve(static_cast<qsizetype>(grid.size()));
  for (double v : grid) out.append({v, flat});
  return out;
}

std::optional<CurvePoints> parsePreviewPoints(std::string_view output) {
  const auto root = nlohmann::json::parse(output, nullptr, false);
  if (!root.is_object()) return std::nullopt;
  auto it = root.find("points");
  if (it == root.end() || !it->is_array()) return std::nullopt;
  CurvePoints points;
  points.reserve(static_cast<qsizetype>(it->size()));
  for (const auto& row : *it) {
    if (!row.is_array()) return std::nullopt;
    for (const auto& n : row) {
      if (!n.is_number()) return std::nullopt;
    }
    if (row.size() != 2) continue;
    const double x = row[0].get<double>(), y = row[1].get<double>();
    if (std::isfinite(x) && std::isfinite(y)) points.append({x, y});  // the graph can't place inf
  }
  return points;
}

}  // namespace quillon::app
