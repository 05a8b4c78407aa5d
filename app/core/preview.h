#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/curve_points.h"
#include "app/core/defaults.h"
#include "app/core/vocabulary.h"
#include "common/config.h"

namespace quillon::app {

// The hand speeds the graph shows: 0 to 400 mm/s for the trackpad, 0 to
// 800 mm/s for the mouse, the same ranges the helper's preview samples.
constexpr double graphFullRange(Device d) {
  return d == Device::mouse ? 800.0 : 400.0;
}
inline constexpr int kGridSteps = 400;

// 401 hand speeds from 0 to graphFullRange(d), in equal steps.
const std::vector<double>& previewGrid(Device d);

// The helper's `preview` arguments for the device's Windows curve. The app
// never passes --windows: the helper uses its built-in measurements.
std::vector<std::string> windowsPreviewArgs(Device d, const DeviceConfig& c);
// The arguments joined by single spaces: the cache key.
std::string previewKey(const std::vector<std::string>& args);

// The shortest decimal text that reads back as the same double, with a
// fractional part: 5 -> "5.0", 1600 -> "1600.0", 0.05 -> "0.05".
std::string shortestDecimal(double v);

// The custom formula as the app draws it. Without maxBoost the cap is 3
// (the helper's own default differs: 1 + 3 x accel); a maxBoost below 1
// caps at 1.
CurvePoints customCurve(const DeviceConfig& c, Device d);

// The mac curve of the device at macOS's speed `macSpeed`: the measured
// trackpad or mouse curve, or with mouse acceleration off a flat line at
// macSpeed x counts per millimetre.
CurvePoints macCurveFor(Device d, const DeviceConfig& c, double macSpeed, bool mouseMacAccel);

// The colour of a mode's curve.
constexpr NamedColor curveColor(Mode m) {
  switch (m) {
    case Mode::windows:
      return NamedColor::cyan;
    case Mode::custom:
      return NamedColor::orange;
    case Mode::mac:
      break;
  }
  return NamedColor::gray;
}

// The points of a `preview` output line: an object whose "points" is an
// array of arrays of numbers; pairs become points, other lengths are
// skipped. None for anything else.
std::optional<CurvePoints> parsePreviewPoints(std::string_view output);

}  // namespace quillon::app
