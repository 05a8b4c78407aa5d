#include "app/ui/graph/curve_view.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "app/ui/graph/curve_view_accessible.h"
#include "app/ui/graph/graph_scale.h"
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

void strokeCurve(QPainter& p, const CurvePoints& pts, const Mapping& map, CurveMode mode,
                 bool current, const Palette& pal) {
  if (pts.size() < 2) return;
  QPolygonF line;
  line.reserve(static_cast<qsizetype>(pts.size()));
  for (const QPointF& pt : pts) line << map(pt);
  QPen pen;
  if (current) {
    pen.setColor(curveLineColor(mode, pal));
    pen.setWidthF(2.2);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setOpacity(1);
  } else {
    pen.setColor(curveColor(mode, pal));
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

// Whether any curve runs through the rectangle.
bool crosses(const Curves& shown, const Mapping& map, const QRectF& r) {
  for (const auto& [mode, pts] : shown) {
    if (pts.size() < 2) continue;
    for (double px = r.left(); px <= r.right(); px += 1) {
      const double v = map.xMin + (px - map.area.left) / map.area.width * map.xs;
      const auto y = valueAt(pts, v);
      if (y && r.adjusted(0, -1, 0, 1).contains(QPointF(px, map(QPointF(v, *y)).y()))) return true;
    }
  }
  return false;
}

// Faint lines at round values, each labelled just under it at one edge of
// the plot: the left, or the right where curves run through a left label
// and through none on the right. A label that still lies on a curve sits on
// a wash of the background.
void paintGrid(QPainter& p, const Curves& shown, const Mapping& map, const Palette& pal) {
  const PlotArea& area = map.area;
  const QFont font = fonts::caption();
  const QFontMetricsF fm(font);
  const double step = gridStep(map.yTop);
  const QColor wash = withAlpha(graphBackground(pal), 0.85);
  struct Line {
    double y;
    QString label;
    QRectF left, right;
  };
  std::vector<Line> lines;
  bool leftCrossed = false;
  bool rightCrossed = false;
  for (double v : gridValues(map.yTop)) {
    Line l;
    l.y = std::round(map(QPointF(map.xMin, v)).y()) + 0.5;
    l.label = gridLabel(v, step);
    const double w = tabularWidth(font, l.label) + 3;
    const double h = fm.ascent() + fm.descent() - 1;
    l.left = QRectF(area.left, l.y + 1, w, h);
    l.right = QRectF(area.left + area.width - w, l.y + 1, w, h);
    leftCrossed = leftCrossed || crosses(shown, map, l.left);
    rightCrossed = rightCrossed || crosses(shown, map, l.right);
    lines.push_back(l);
  }
  const bool onRight = leftCrossed && !rightCrossed;
  for (const Line& l : lines) {
    p.setPen(QPen(pal.separator, 1));
    p.drawLine(QPointF(area.left, l.y), QPointF(area.left + area.width, l.y));
    const QRectF& box = onRight ? l.right : l.left;
    if (crosses(shown, map, box)) {
      p.setPen(Qt::NoPen);
      p.setBrush(wash);
      p.drawRoundedRect(box, 2, 2);
    }
    p.setPen(pal.secondaryLabel);
    drawTabular(p, QPointF(box.left() + 1, l.y + 1 + fm.ascent() - 0.5), font, l.label);
  }
}

double runsWidth(const std::vector<ReadoutRun>& runs, const QFont& f) {
  double w = 0;
  for (const auto& r : runs) w += tabularWidth(f, r.text);
  return w;
}

void paintReadout(QPainter& p, QSizeF size, const CurveScene& scene, const Curves& shown,
                  const Mapping& map, const Palette& pal) {
  const PlotArea& area = map.area;
  const double f = std::clamp(*scene.hoverFraction, 0.0, 1.0);
  const double x = area.left + f * area.width;
  const double speed = scene.xMin + f * (scene.xMax - scene.xMin);

  p.setPen(QPen(withAlpha(pal.secondaryLabel, 0.7), 1));
  p.drawLine(QPointF(x, area.top), QPointF(x, area.top + area.height));
  std::vector<double> marks;
  for (CurveMode m : kOrder) {
    const auto it = shown.find(m);
    if (it == shown.end() || it->second.size() < 2) continue;
    if (const auto y = valueAt(it->second, speed)) {
      const QPointF at = map(QPointF(speed, *y));
      if (at.y() < area.top - 1) continue;  // above the scale: off the plot
      marks.push_back(at.y());
      p.setPen(QPen(pal.panelBackground, 1.2));
      p.setBrush(m == scene.current ? curveLineColor(m, pal) : curveColor(m, pal));
      p.drawEllipse(at, 2.6, 2.6);
    }
  }

  const QFont font = fonts::caption2();
  auto runs = hoverReadout(shown, speed, scene.current);
  double w = runsWidth(runs, font);
  if (w + 14 > size.width()) {
    runs = hoverReadout(shown, speed, scene.current, false);
    w = runsWidth(runs, font);
  }
  const QFontMetricsF fm(font);
  const double h = fm.height() + 2;
  const double left = std::clamp(x - (w + 10) / 2, 2.0, std::max(2.0, size.width() - 2 - (w + 10)));
  // Anywhere on the plot's background where it hides no curve's mark, and as
  // little as it can of the curves under its width.
  std::vector<double> under;
  for (const auto& [mode, pts] : shown) {
    if (pts.size() < 2) continue;
    for (double px = left; px <= left + w + 10; px += 2) {
      const double v = scene.xMin + (px - area.left) / area.width * map.xs;
      const auto y = valueAt(pts, v);
      if (!y) continue;
      const double at = map(QPointF(v, *y)).y();
      if (at >= area.top - 1.5) under.push_back(at);  // drawn, not cut off above
    }
  }
  const double top = readoutTop(marks, h, PlotArea::kLegendRow + 2, size.height() - 2,
                                /*clearance=*/4, under);
  const QRectF pill(left, top, w + 10, h);
  p.setPen(QPen(pal.separator, 0.5));
  p.setBrush(withAlpha(pal.panelBackground, 0.92));
  p.drawRoundedRect(pill, h / 2, h / 2);
  double tx = pill.left() + 5;
  const double baseline = pill.top() + 1 + fm.ascent();
  for (const auto& r : runs) {
    p.setPen(r.mode ? curveTextColor(*r.mode, pal) : pal.secondaryLabel);
    tx += drawTabular(p, QPointF(tx, baseline), font, r.text);
  }
}

}  // namespace

std::vector<ReadoutRun> hoverReadout(const Curves& shown, double speed, CurveMode current,
                                     bool withUnit) {
  std::vector<ReadoutRun> runs;
  runs.push_back({QStringLiteral("%1 mm/s").arg(std::lround(speed)), std::nullopt});
  // The current curve first, then the others in the order they lie over
  // each other (the later drawn on top).
  std::vector<CurveMode> order{current};
  for (auto it = std::rbegin(kOrder); it != std::rend(kOrder); ++it) {
    if (*it != current) order.push_back(*it);
  }
  for (CurveMode m : order) {
    const auto it = shown.find(m);
    if (it == shown.end() || it->second.size() < 2) continue;
    const auto y = valueAt(it->second, speed);
    if (!y) continue;
    runs.push_back({QStringLiteral(" ") + kDot + QStringLiteral(" "), std::nullopt});
    runs.push_back({modeName(m) + QStringLiteral(" ") + QString::asprintf("%.1f", *y), m});
  }
  if (withUnit) runs.push_back({QStringLiteral(" pt/mm"), std::nullopt});
  return runs;
}

void paintCurves(QPainter& p, QSizeF size, const CurveScene& scene) {
  const Palette& pal = colors();
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  const QRectF plotBox(0, PlotArea::kLegendRow, size.width(), size.height() - PlotArea::kLegendRow);
  p.setPen(Qt::NoPen);
  p.setBrush(withAlpha(pal.secondaryLabel, kGraphTint));
  p.drawRoundedRect(plotBox, 6, 6);

  const Curves shown = shownCurves(scene.curves, scene.xMin, scene.xMax);
  const PlotArea area = PlotArea::of(size);
  const Mapping map{area, scene.xMin, std::max(scene.xMax - scene.xMin, 1.0),
                    drawnScale(verticalScale(shown, scene.xMin, scene.xMax), scene.heldScale)};

  paintGrid(p, shown, map, pal);

  p.save();
  // Curves above the scale (the held scale) are cut at the plot's top; the
  // half line width left above keeps a capped line whole.
  p.setClipRect(QRectF(area.left, area.top - 1.5, area.width, size.height() - area.top + 1.5));
  for (CurveMode m : kOrder) {
    if (m == scene.current) continue;
    if (const auto it = shown.find(m); it != shown.end()) {
      strokeCurve(p, it->second, map, m, false, pal);
    }
  }
  if (const auto it = shown.find(scene.current); it != shown.end()) {
    strokeCurve(p, it->second, map, scene.current, true, pal);
  }
  p.restore();

  // The legend row: the vertical axis' name at the left, the modes at the
  // right.
  const QFont regular = fonts::caption2();
  const QFont bold = fonts::caption2(QFont::DemiBold);
  const double top = 2 + QFontMetricsF(regular).ascent();
  p.setPen(pal.secondaryLabel);
  drawCached(p, QPointF(6, top), regular, QStringLiteral("pointer speed, pt/mm"));
  double right = size.width() - 6;
  for (auto it = std::rbegin(kOrder); it != std::rend(kOrder); ++it) {
    if (scene.curves.find(*it) == scene.curves.end()) continue;
    const QFont& f = *it == scene.current ? bold : regular;
    const QString name = modeName(*it);
    const double w = QFontMetricsF(f).horizontalAdvance(name);
    p.setPen(curveTextColor(*it, pal));
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

  if (scene.hoverFraction) paintReadout(p, size, scene, shown, map, pal);
  p.restore();
}

CurveView::CurveView(QWidget* parent) : QWidget(parent) {
  installCurveViewAccessibility();
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setFixedHeight(kHeight);
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

double CurveView::normalScale() const {
  return verticalScale(shownCurves(scene_.curves, scene_.xMin, scene_.xMax), scene_.xMin,
                       scene_.xMax);
}

void CurveView::holdScale() {
  if (scene_.heldScale) return;
  scene_.heldScale = normalScale();
}

void CurveView::releaseScale() {
  if (!scene_.heldScale) return;
  scene_.heldScale.reset();
  update();
}

void CurveView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  paintCurves(p, size(), scene_);
}

}  // namespace quillon::ui
