#pragma once

#include <array>
#include <optional>
#include <string>

#include "common/config.h"
#include "helper/curve.h"
#include "helper/windows_file.h"

namespace quillon {

// Windows' pointer speed multipliers with Enhance pointer precision off, in
// pixels per count, for the pointer speed settings 1 to 20 (index 0 is 1).
constexpr std::array<double, 20> windowsNoAccelMultiplier = {
    0.03125, 0.0625, 0.125, 0.25, 0.375, 0.5, 0.625, 0.75, 0.875, 1.0,
    1.25,    1.5,    1.75,  2.0,  2.25,  2.5, 2.75,  3.0,  3.25,  3.5};

// The multiplier for a setting rounded half away from zero and clamped to
// 1 ... 20; NaN counts as 1.
double noAccelMultiplierFor(double setting) noexcept;

struct WindowsCurvePick {
  double setting = 0;  // the setting used
  CurvePoints points;  // in the file's units, ascending by speed
};

// The measured curve for `setting`, or a blend of the two measured settings
// around it; none when no kept curve has points. A setting of 0 or less
// means the file's user setting, else its lowest one.
std::optional<WindowsCurvePick> windowsCurve(const WindowsCurveFile& file, double setting);

// The table curve for a decoded measurement file, without the tail that
// makeCurve adds (acceleration off, mouse DPI). Throws CurveError.
Curve windowsTableCurve(const WindowsCurveFile& file, const DeviceConfig& config, Device device);

// The "windows" branch of makeCurve: reads `path`, or the built-in file of
// the device when there is none, decodes it and builds the table curve.
Curve buildWindowsCurve(const DeviceConfig& config, Device device,
                        const std::optional<std::string>& path);

}  // namespace quillon
