#include "app/ui/graph/curve_description.h"

#include <QStringList>
#include <array>
#include <cmath>

namespace quillon::ui {
namespace {

// One decimal below 10, whole numbers from 10 up, as one reads a graph.
QString number(double v) {
  return std::abs(v) < 10 ? QString::number(v, 'f', 1) : QString::number(std::lround(v));
}

QString describeOne(const CurvePoints& points, const QString& title, double xMin, double xMax) {
  QStringList parts;
  const std::array<double, 3> speeds = {xMin, (xMin + xMax) / 2, xMax};
  for (double x : speeds) {
    const std::optional<double> y = valueAt(points, x);
    if (!y) continue;
    const QString speed = QString::number(std::lround(x));
    parts << (parts.isEmpty() ? QStringLiteral("%1 pt/mm at %2 mm/s").arg(number(*y), speed)
                              : QStringLiteral("%1 at %2").arg(number(*y), speed));
  }
  if (parts.isEmpty()) return title + QStringLiteral(": beyond the shown speeds");
  return title + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

}  // namespace

QString describeCurves(const Curves& curves, CurveMode current, double xMin, double xMax) {
  QStringList out;
  if (auto it = curves.find(current); it != curves.end() && !it->second.empty()) {
    out << describeOne(it->second, modeName(current) + QStringLiteral(", current"), xMin, xMax);
  }
  for (CurveMode m : {CurveMode::mac, CurveMode::windows, CurveMode::custom}) {
    if (m == current) continue;
    if (auto it = curves.find(m); it != curves.end() && !it->second.empty()) {
      out << describeOne(it->second, modeName(m), xMin, xMax);
    }
  }
  if (out.isEmpty()) return QStringLiteral("No curve to show");
  return out.join(QStringLiteral(". ")) + QStringLiteral(".");
}

}  // namespace quillon::ui
