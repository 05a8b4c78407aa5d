#include "app/ui/kit/value_rules.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/decimal_text.h"

namespace quillon::ui {

double snap(double v, ValueRange range, double step) {
  const double l = range.lower;
  double r = l;
  if (step > 0 && std::isfinite(v)) r = l + std::round((v - l) / step) * step;
  if (r <= l) r = l;
  return std::min(range.upper, r);
}

double roundToDecimals(double v, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(v * scale) / scale;
}

std::optional<double> parseTyped(const QString& text) {
  std::string kept;
  for (QChar c : text) {
    if (c == u',') c = u'.';
    if (c.isDigit() && c.unicode() < 128) {
      kept += static_cast<char>(c.unicode());
    } else if (c == u'.' || c == u'-') {
      kept += static_cast<char>(c.unicode());
    }
  }
  if (kept.empty()) return std::nullopt;
  const std::optional<double> v = parseDecimal(kept);
  if (!v || !std::isfinite(*v)) return std::nullopt;
  return v;
}

std::optional<double> committedValue(const QString& text, ValueRange range, int decimals) {
  const auto parsed = parseTyped(text);
  if (!parsed) return std::nullopt;
  double v = *parsed <= range.lower ? range.lower : *parsed;
  v = std::min(v, range.upper);
  return roundToDecimals(v, decimals);
}

double hundredsUp(double v, ValueRange range) {
  return std::min(range.upper, (std::floor(v / 100) + 1) * 100);
}

double hundredsDown(double v, ValueRange range) {
  return std::max(range.lower, (std::ceil(v / 100) - 1) * 100);
}

QString formatValue(const QString& pattern, double v) {
  return QString::asprintf(pattern.toUtf8().constData(), v);
}

}  // namespace quillon::ui
