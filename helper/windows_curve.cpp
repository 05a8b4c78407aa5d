#include "helper/windows_curve.h"

#include <algorithm>
#include <cmath>

#include "common/atomic_file.h"
#include "helper/builtin_curves.h"
#include "helper/errors.h"
#include "helper/format.h"

namespace quillon {

double noAccelMultiplierFor(double setting) noexcept {
  // Compare before converting: a NaN, infinite or huge setting must never
  // reach the integer conversion or the index.
  const double rounded = std::round(setting);
  size_t index = 0;
  if (rounded >= 20) {
    index = 19;
  } else if (rounded > 1) {
    index = static_cast<size_t>(rounded) - 1;
  }
  return windowsNoAccelMultiplier[index];
}

namespace {

struct MeasuredCurve {
  double setting;
  CurvePoints points;
};

bool bySpeed(const std::pair<double, double>& a, const std::pair<double, double>& b) {
  return a.first < b.first;
}

// The kept curves, each in ascending speed, sorted by setting; equal speeds
// and equal settings keep their file order.
std::vector<MeasuredCurve> measuredCurves(const WindowsCurveFile& file) {
  const std::optional<double> pxPerMM = file.pixelsPerMM();
  std::vector<MeasuredCurve> curves;
  for (const auto& c : file.curves) {
    if (!c.enhancePointerPrecision.value_or(true)) continue;
    MeasuredCurve m{c.setting(), {}};
    if (c.pointsCounts && pxPerMM) {
      // Windows pixels per count -> Windows millimetres per count.
      for (const auto& [counts, px] : *c.pointsCounts) m.points.emplace_back(counts, px / *pxPerMM);
    } else if (c.points) {
      m.points = *c.points;
    }
    if (m.points.empty()) continue;
    std::stable_sort(m.points.begin(), m.points.end(), bySpeed);
    curves.push_back(std::move(m));
  }
  std::stable_sort(curves.begin(), curves.end(),
                   [](const auto& a, const auto& b) { return a.setting < b.setting; });
  return curves;
}

}  // namespace

std::optional<WindowsCurvePick> windowsCurve(const WindowsCurveFile& file, double setting) {
  std::vector<MeasuredCurve> curves = measuredCurves(file);
  if (curves.empty()) return std::nullopt;

  double l = curves.front().setting;
  if (setting > 0) {
    l = setting;
  } else if (file.userSetting && file.userSetting->value) {
    l = *file.userSetting->value;
  }

  // Outside the measured range the nearest measured curve stands: no
  // extrapolation between settings.
  if (!(l > curves.front().setting)) return WindowsCurvePick{l, std::move(curves.front().points)};
  if (!(l < curves.back().setting)) return WindowsCurvePick{l, std::move(curves.back().points)};

  const auto hi = std::find_if(curves.begin(), curves.end(),
                               [l](const MeasuredCurve& c) { return c.setting >= l; });
  const auto lo = std::prev(
      std::find_if(hi, curves.end(), [l](const MeasuredCurve& c) { return c.setting > l; }));
  // A measured setting: the last curve of that setting.
  if (lo->setting == l) return WindowsCurvePick{l, std::move(lo->points)};

  // A vertical blend of the two neighbours, sampled wherever either was
  // measured.
  const double t = (l - lo->setting) / (hi->setting - lo->setting);
  std::vector<double> speeds;
  speeds.reserve(lo->points.size() + hi->points.size());
  for (const auto& p : lo->points) speeds.push_back(p.first);
  for (const auto& p : hi->points) speeds.push_back(p.first);
  std::sort(speeds.begin(), speeds.end());
  speeds.erase(std::unique(speeds.begin(), speeds.end()), speeds.end());

  WindowsCurvePick pick{l, {}};
  pick.points.reserve(speeds.size());
  for (const double v : speeds) {
    pick.points.emplace_back(v, lookup(lo->points, v) * (1 - t) + lookup(hi->points, v) * t);
  }
  return pick;
}

Curve windowsTableCurve(const WindowsCurveFile& file, const DeviceConfig& config, Device device) {
  const bool isMouse = device == Device::mouse;
  const bool namesSetting = std::any_of(file.curves.begin(), file.curves.end(), [](const auto& c) {
    const auto s = c.namedSetting();
    return s && *s != 0;
  });
  if (!namesSetting) fail("The Windows file doesn't say which speed setting each curve is for");
  if (isMouse && !std::all_of(file.curves.begin(), file.curves.end(), [](const auto& c) {
        return c.pointsCounts.has_value() || c.pointerSpeedSetting.has_value();
      })) {
    fail("This mouse file is in an unexpected format");
  }

  std::optional<WindowsCurvePick> pick = windowsCurve(file, config.winSpeed);
  if (!pick) fail("The Windows file has no curve points");

  std::string detail = formatC("fine-tune %.2f", config.scale);
  if (isMouse) {
    if (!file.mouse || !file.mouse->dpi || !(*file.mouse->dpi > 0)) {
      fail("The Windows mouse measurement has no DPI");
    }
    double dpi = config.winDpi.value_or(config.dpi.value_or(*file.mouse->dpi));
    if (!(dpi >= 50)) dpi = 50;
    const double countsPerMM = dpi / kMMPerInch;
    // Counts per second -> hand mm/s; Windows mm per count -> per hand mm.
    for (auto& [v, g] : pick->points) {
      v /= countsPerMM;
      g *= countsPerMM;
    }
    detail = formatC("Windows mouse at %.0f DPI", dpi);
    const std::optional<double> pxPerMM = file.pixelsPerMM();
    if (config.accelOff.value_or(false) && pxPerMM) {
      // What Windows gives at this setting with Enhance pointer precision
      // off: a constant number of pixels per count.
      const double gain = countsPerMM * noAccelMultiplierFor(pick->setting) / *pxPerMM;
      pick->points = {{0.0, gain}};
      detail += ", like Enhance pointer precision off";
    }
  }

  const bool share = config.match == "share";
  const std::optional<double> screenMM = file.screen ? file.screen->widthMM : std::nullopt;
  if (share && !(screenMM.value_or(0) > 0)) {
    fail("The Windows file has no screen size, needed for share-of-screen matching");
  }

  Curve c;
  c.table = std::move(pick->points);
  c.scale = isMouse ? 1 : config.scale;
  c.share = share;
  c.winScreenMM = screenMM.value_or(0);
  c.summary =
      formatC("%s: Windows curve, speed %.0f, %s, match %s", std::string(deviceKey(device)).c_str(),
              pick->setting, detail.c_str(), share ? "share of screen" : "distance");
  return c;
}

Curve buildWindowsCurve(const DeviceConfig& config, Device device,
                        const std::optional<std::string>& path) {
  if (!path) {
    const std::string_view builtin =
        device == Device::mouse ? builtinMouseCurve : builtinTrackpadCurve;
    return windowsTableCurve(decodeWindowsFile(builtin), config, device);
  }
  // readFile refuses what is not a regular file (a FIFO would block, a
  // device never ends) and anything too large to be a measurement file.
  const FileRead read = readFile(*path, kMaxWindowsFileBytes);
  if (!read.ok()) fail("Can't read " + *path);
  return windowsTableCurve(decodeWindowsFile(read.content), config, device);
}

}  // namespace quillon
