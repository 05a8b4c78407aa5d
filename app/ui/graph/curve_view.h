#pragma once

// The curve graph's drawing: every curve cut to the visible hand-speed
// range, the current mode's solid and on top, the others faint and dashed,
// a legend of the modes present, the axis text, and the hover readout (a
// line at the hovered speed with each curve's value there). No state of its
// own: ZoomableCurveView sets the range and the hover.

#include <QWidget>
#include <optional>

#include "app/ui/graph/curves.h"

namespace quillon::ui {

struct CurveScene {
  Curves curves;
  CurveMode current = CurveMode::mac;
  double xMin = 0;
  double xMax = 200;
  std::optional<double> hoverFraction;  // 0…1 across the plot, none: no readout
};

// Plot geometry of a W × H view.
struct PlotArea {
  double left = 6;
  double top = 18;
  double width = 0;   // pw = W − 12
  double height = 0;  // ph = H − 36
  static PlotArea of(QSizeF size) { return {6, 18, size.width() - 12, size.height() - 36}; }
};

// Draws the scene into a W × H rectangle at the painter's origin.
void paintCurves(QPainter& p, QSizeF size, const CurveScene& scene);

// The hover readout's text runs, e.g. "120 mm/s · Mac 9.2 · Custom 14.1
// pt/mm"; names left out when short is set.
struct ReadoutRun {
  QString text;
  std::optional<CurveMode> mode;  // coloured as that curve
};
std::vector<ReadoutRun> hoverReadout(const Curves& shown, double speed, bool short_);

class CurveView : public QWidget {
  Q_OBJECT
 public:
  explicit CurveView(QWidget* parent = nullptr);

  const CurveScene& scene() const { return scene_; }
  void setCurves(Curves curves, CurveMode current);
  void setRange(double xMin, double xMax);
  void setHoverFraction(std::optional<double> f);

  QSize sizeHint() const override { return {268, 90}; }
  QSize minimumSizeHint() const override { return {120, 90}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CurveScene scene_;
};

}  // namespace quillon::ui
