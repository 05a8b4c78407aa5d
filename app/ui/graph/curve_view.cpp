#include "app/ui/graph/curve_view.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "app/ui/graph/curve_view_accessible.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/tabular_text.h"

namespace quillon::ui {
namespace {

constexpr CurveMode kOrder[] = {CurveMode::mac, CurveMode::windows, CurveMode::custom};
const QChar kDot(0x00B7);

struct Mapping {
  PlotArea area;
  double xMin, xs, yTop;
  QPointF operator()(const QPointF& pt) const {
    return {area.left + (pt.x() - xMin) * area.width / xs,
            area.top + area.height - pt.y() * area.height / yTop};
  }
};

void strokeCurve(QPainter& p, const CurvePoints& pts, const Mapping& map, const QColor& colour,
                 bool current) {
  if (pts.size() < 2) return;
  QPolygonF line;
  line.reserve(static_cast<qsizetype>(pts.size()));
  for (const QPointF& pt : pts) line << map(pt);
  QPen pen(colour);
  if (current) {
    pen.setWidthF(2.2);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setOpacity(1);
  } else {
    pen.setWidthF(1.2);
    pen.setCapStyle(Qt::FlatCap);
    // Qt counts dashes in pen widths: 3 points on, 3 off.
    pen.setDashPattern({3 / 1.2, 3 / 1.2});
    p.setOpacity(0.45);
  }
  p.setPen(pen);
  p.drawPolyline(line);
  p.setOpacity(1);
}

double runsWidth(const std::vector<ReadoutRun>& runs, const QFont& f) {
  double w = 0;
  for (const auto& r : runs) w += tabularWidth(f, r.text);
  return w;
}

void paintReadout(QPainter& p, QSizeF size, const CurveScene& scene, const Curves& shown,
                  const Mapping& map) {
  const Palette& pal = colors();
  const PlotArea& area = map.area;
  const double f = std::clamp(*scene.hoverFraction, 0.0, 1.0);
  const double x = area.left + f * area.width;
  const double speed = scene.xMin + f * (scene.xMax - scene.xMin);

  p.setPen(QPen(withAlpha(pal.secondaryLabel, 0.7), 1));
  p.drawLine(QPointF(x, area.top), QPointF(x, area.top + area.height));
  for (CurveMode m : kOrder) {
    const auto it = shown.find(m);
    if (it == shown.end() || it->second.size() < 2) continue;
    if (const auto y = valueAt(it->second, speed)) {
      const QPointF at = map(QPointF(speed, *y));
      if (at.y() < area.top - 1) continue;  // above the scale: off the plot
      p.setPen(QPen(pal.panelBackground, 1.2));
      p.setBrush(curveColor(m));
      p.drawEllipse(at, 2.6, 2.6);
    }
  }

  const QFont font = fonts::caption2();
  auto runs = hoverReadout(shown, speed, false);
  double w = runsWidth(runs, font);
  if (w + 12 > area.width) {
    runs = hoverReadout(shown, speed, true);
    w = runsWidth(runs, font);
  }
  const QFontMetricsF fm(font);
  const double h = fm.height() + 2;
  const double left = std::clamp(x - (w + 10) / 2, 2.0, size.width() - 2 - (w + 10));
  // At the top of the plot unless the curves run there more than along its
  // bottom (a capped curve lies flat along the top).
  const QRectF top(left, area.top + 1, w + 10, h);
  const QRectF bottom(left, area.top + area.height - h - 1, w + 10, h);
  const auto crossings = [&](const QRectF& r) {
    int n = 0;
    const QRectF zone = r.adjusted(-2, -2, 2, 2);
    for (const auto& [mode, pts] : shown) {
      for (const QPointF& pt : pts) n += zone.contains(map(pt)) ? 1 : 0;
    }
    return n;
  };
  const QRectF pill = crossings(bottom) < crossings(top) ? bottom : top;
  p.setPen(QPen(pal.separator, 0.5));
  p.setBrush(withAlpha(pal.panelBackground, 0.92));
  p.drawRoundedRect(pill, h / 2, h / 2);
  double tx = pill.left() + 5;
  const double baseline = pill.top() + 1 + fm.ascent();
  for (const auto& r : runs) {
    p.setPen(r.mode ? curveColor(*r.mode) : pal.secondaryLabel);
    tx += drawTabular(p, QPointF(tx, baseline), font, r.text);
  }
}

}  // namespace

std::vector<ReadoutRun> hoverReadout(const Curves& shown, double speed, bool short_) {
  std::vector<ReadoutRun> runs;
  runs.push_back({QStringLiteral("%1 mm/s").arg(std::lround(speed)), std::nullopt});
  for (CurveMode m : kOrder) {
    const auto it = shown.find(m);
    if (it == shown.end() || it->second.size() < 2) continue;
    const auto y = valueAt(it->second, speed);
    if (!y) continue;
    runs.push_back({QStringLiteral(" ") + kDot + QStringLiteral(" "), std::nullopt});
    const QString value = QString::asprintf("%.1f", *y);
    runs.push_back({short_ ? value : modeName(m) + QStringLiteral(" ") + value, m});
  }
  runs.push_back({QStringLiteral(" pt/mm"), std::nullopt});
  return runs;
}

void paintCurves(QPainter& p, QSizeF size, const CurveScene& scene) {
  const Palette& pal = colors();
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  p.setPen(Qt::NoPen);
  p.setBrush(withAlpha(pal.secondaryLabel, 0.08));
  p.drawRoundedRect(QRectF(QPointF(0, 0), size), 6, 6);

  const Curves shown = shownCurves(scene.curves, scene.xMin, scene.xMax);
  const PlotArea area = PlotArea::of(size);
  const Mapping map{area, scene.xMin, std::max(scene.xMax - scene.xMin, 1.0),
                    verticalScale(shown, scene.xMin, scene.xMax)};

  p.save();
  p.setClipRect(QRectF(area.left, 0, area.width, size.height()));
  for (CurveMode m : kOrder) {
    if (m == scene.current) continue;
    if (const auto it = shown.find(m); it != shown.end()) {
      strokeCurve(p, it->second, map, curveColor(m, pal), false);
    }
  }
  if (const auto it = shown.find(scene.current); it != shown.end()) {
    strokeCurve(p, it->second, map, curveColor(scene.current, pal), true);
  }
  p.restore();

  // Top row: the y axis' name at the left, the legend at the right.
  const QFont regular = fonts::caption2();
  const QFont bold = fonts::caption2(QFont::DemiBold);
  const double top = 3 + QFontMetricsF(regular).ascent();
  p.setPen(pal.secondaryLabel);
  drawCached(p, QPointF(6, top), regular, QStringLiteral("pointer speed"));
  double right = size.width() - 6;
  for (auto it = std::rbegin(kOrder); it != std::rend(kOrder); ++it) {
    if (scene.curves.find(*it) == scene.curves.end()) continue;
    const QFont& f = *it == scene.current ? bold : regular;
    const QString name = modeName(*it);
    const double w = QFontMetricsF(f).horizontalAdvance(name);
    p.setPen(curveColor(*it, pal));
    drawCached(p, QPointF(right - w, top), f, name);
    right -= w + 6;
  }

  // Bottom right: the visible range.
  const QString axis = axisText(scene.xMin, scene.xMax);
  const QFontMetricsF fm(regular);
  p.setPen(pal.secondaryLabel);
  drawTabular(
      p, QPointF(size.width() - 4 - tabularWidth(regular, axis), size.height() - 4 - fm.descent()),
      regular, axis);

  if (scene.hoverFraction) paintReadout(p, size, scene, shown, map);
  p.restore();
}

CurveView::CurveView(QWidget* parent) : QWidget(parent) {
  installCurveViewAccessibility();
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setFixedHeight(90);
}

void CurveView::setCurves(Curves curves, CurveMode current) {
  scene_.curves = std::move(curves);
  scene_.current = current;
  update();
  curveViewDescriptionChanged(this);
}

void CurveView::setRange(double xMin, double xMax) {
  scene_.xMin = xMin;
  scene_.xMax = xMax;
  update();
  curveViewDescriptionChanged(this);
}

void CurveView::setHoverFraction(std::optional<double> f) {
  scene_.hoverFraction = f;
  update();
}

void CurveView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  paintCurves(p, size(), scene_);
}

}  // namespace quillon::ui
