#include "app/ui/graph/curves.h"

#include <QString>
#include <algorithm>
#include <cmath>

namespace quillon::ui {

Curves shownCurves(const Curves& curves, double xMin, double xMax) {
  Curves out;
  for (const auto& [mode, pts] : curves) {
    CurvePoints& kept = out[mode];
    const auto first =
        std::find_if(pts.begin(), pts.end(), [&](const QPointF& p) { return p.x() >= xMin; });
    if (first == pts.end()) continue;
    // The last point with x <= xMax, searched from the end.
    const auto lastRev =
        std::find_if(pts.rbegin(), pts.rend(), [&](const QPointF& p) { return p.x() <= xMax; });
    const auto from = first == pts.begin() ? first : first - 1;
    auto to = lastRev == pts.rend() ? pts.begin() : lastRev.base();  // one past the last
    if (to != pts.end()) ++to;                                       // and one beyond it
    if (to <= from) continue;
    kept.assign(from, to);
  }
  return out;
}

double verticalScale(const Curves& shown, double xMin, double xMax) {
  double top = -1;
  bool any = false;
  for (const auto& [mode, pts] : shown) {
    for (const QPointF& p : pts) {
      if (p.x() < xMin || p.x() > xMax) continue;
      top = any ? std::max(top, p.y()) : p.y();
      any = true;
    }
  }
  if (!any) top = 1;
  return std::max(top, 0.0001);
}

std::optional<double> valueAt(const CurvePoints& points, double x) {
  if (points.empty() || x < points.front().x() || x > points.back().x()) return std::nullopt;
  const auto after = std::lower_bound(points.begin(), points.end(), x,
                                      [](const QPointF& p, double v) { return p.x() < v; });
  if (after == points.begin()) return after->y();
  const QPointF& b = *after;
  const QPointF& a = *(after - 1);
  if (b.x() == a.x()) return b.y();
  const double t = (x - a.x()) / (b.x() - a.x());
  return a.y() + (b.y() - a.y()) * t;
}

QString axisText(double xMin, double xMax) {
  const auto whole = [](double v) {
    return QString::number(static_cast<long long>(std::trunc(v)));
  };
  return QStringLiteral("hand speed ") + whole(xMin) + QChar(0x2013) + whole(xMax) +
         QStringLiteral(" mm/s ") + QChar(0x2192);
}

}  // namespace quillon::ui
