#include "app/ui/style/contrast.h"

#include <algorithm>
#include <cmath>

namespace quillon::ui {
namespace {

double linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

}  // namespace

QColor composite(const QColor& fg, const QColor& bg) {
  const double a = fg.alphaF();
  const auto mix = [a](double f, double b) { return f * a + b * (1 - a); };
  return QColor::fromRgbF(static_cast<float>(mix(fg.redF(), bg.redF())),
                          static_cast<float>(mix(fg.greenF(), bg.greenF())),
                          static_cast<float>(mix(fg.blueF(), bg.blueF())));
}

double relativeLuminance(const QColor& c) {
  return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrastRatio(const QColor& fg, const QColor& bg) {
  const double a = relativeLuminance(composite(fg, bg));
  const double b = relativeLuminance(bg);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

}  // namespace quillon::ui
