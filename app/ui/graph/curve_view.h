#pragma once

// The curve graph's drawing: a legend row above the plot, then the plot:
// faint grid lines at round values labelled at its left edge, every curve
// cut to the visible hand-speed range (the current mode's solid and on top,
// the others faint and dashed), the axis text, and the hover readout (a
// line at the hovered speed, a mark on each curve and each curve's name and
// value there). No state of its own beyond the held scale: ZoomableCurveView
// sets the range, the hover and the hold.

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
  std::optional<double> heldScale;      // the held scale; none: the normal scale
};

// Geometry of a W × H view: the legend row on top, the plot's tinted
// background below it, and inside that the plot area, 6 points in from the
// left and right, with room above for the grid's top label and below for
// the axis text.
struct PlotArea {
  static constexpr double kLegendRow = 16;
  static constexpr double kTopRoom = 10;
  static constexpr double kBottomRoom = 18;
  double left = 6;
  double top = kLegendRow + kTopRoom;
  double width = 0;
  double height = 0;
  static PlotArea of(QSizeF size) {
    return {6, kLegendRow + kTopRoom, size.width() - 12,
            size.height() - kLegendRow - kTopRoom - kBottomRoom};
  }
};

// Draws the scene into a W × H rectangle at the painter's origin.
void paintCurves(QPainter& p, QSizeF size, const CurveScene& scene);

// The hover readout's text runs, e.g. "136 mm/s · Custom 93.9 · Windows
// 89.4 · Mac 37.3 pt/mm": every curve that has a value at the speed, named,
// the current one first and the others as they lie over each other. Without
// the unit (the legend row names it) where the graph is too narrow for it.
struct ReadoutRun {
  QString text;
  std::optional<CurveMode> mode;  // coloured as that curve
};
std::vector<ReadoutRun> hoverReadout(const Curves& shown, double speed, CurveMode current,
                                     bool withUnit = true);

class CurveView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kHeight = 106;

  explicit CurveView(QWidget* parent = nullptr);

  const CurveScene& scene() const { return scene_; }
  void setCurves(Curves curves, CurveMode current);
  void setRange(double xMin, double xMax);
  void setHoverFraction(std::optional<double> f);
  // Whether a point lies on the plot (below the legend row).
  bool onPlot(QPointF pos) const { return pos.y() >= PlotArea::kLegendRow; }

  // The normal scale of what is shown now.
  double normalScale() const;
  // Keeps the current vertical scale until releaseScale.
  void holdScale();
  void releaseScale();

  QSize sizeHint() const override { return {268, kHeight}; }
  QSize minimumSizeHint() const override { return {120, kHeight}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CurveScene scene_;
};

}  // namespace quillon::ui
