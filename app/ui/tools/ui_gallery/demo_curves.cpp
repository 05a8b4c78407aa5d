#include "demo_curves.h"

#include <array>
#include <cmath>

namespace quillon::ui::demo {
namespace {

// macOS's trackpad curve at tracking speed 0.6875.
constexpr std::array<std::array<double, 2>, 10> kMac{{{6.1, 4.822},
                                                      {14.4, 4.822},
                                                      {28.7, 5.305},
                                                      {49.9, 6.582},
                                                      {68.2, 7.658},
                                                      {103.1, 9.62},
                                                      {138.9, 12.019},
                                                      {176.7, 14.277},
                                                      {241.6, 18.073},
                                                      {356.2, 24.256}}};

double lookup(double v) {
  if (v <= kMac.front()[0]) return kMac.front()[1];
  for (size_t i = 1; i < kMac.size(); ++i) {
    if (v <= kMac[i][0]) {
      const double t = (v - kMac[i - 1][0]) / (kMac[i][0] - kMac[i - 1][0]);
      return kMac[i - 1][1] + t * (kMac[i][1] - kMac[i - 1][1]);
    }
  }
  return kMac.back()[1];
}

double custom(const DeviceConfig& c, double v) {
  if (c.accelOff.value_or(false)) return c.speed;
  const double d = std::max(0.0, v - c.threshold.value_or(0.0));
  const double boost = 1 + c.accel * std::pow(d / 100, c.shape.value_or(1.0));
  return c.speed * std::min(boost, std::max(1.0, c.maxBoost.value_or(3.0)));
}

}  // namespace

Curves curves(const DeviceConfig& c, double full, bool withWindows) {
  Curves out;
  CurvePoints mac, windows, mine;
  for (int i = 0; i <= 400; ++i) {
    const double v = full * i / 400.0;
    mac.emplace_back(v, lookup(v));
    windows.emplace_back(v, 3.2 + 9.5 * (1 - std::exp(-v / 70)) + 0.012 * v);
    mine.emplace_back(v, custom(c, v));
  }
  out[CurveMode::mac] = std::move(mac);
  if (withWindows) out[CurveMode::windows] = std::move(windows);
  out[CurveMode::custom] = std::move(mine);
  return out;
}

}  // namespace quillon::ui::demo
